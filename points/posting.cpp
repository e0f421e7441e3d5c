#include "points/posting.h"

#include "core/database.h"
#include "core/formats.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/ledger.h"

using core::q;
using core::qNumber;
using core::TDM1;

namespace points {

void autoCardChange(TDM1 &dm, const QString &card, double points)
{
    TDM1::select(dm.ADOall, QStringLiteral("select 自动变卡 from 自动变卡"));
    if (dm.ADOall.asString(QStringLiteral("自动变卡")) != QStringLiteral("是"))
        return;
    TDM1::select(dm.ADOall, QStringLiteral("select * from 卡类别 order by 自动变卡下限 asc"));
    QString target;
    bool found = false;
    for (dm.ADOall.first(); !dm.ADOall.eof(); dm.ADOall.next()) {
        if (!(dm.ADOall.asFloat(QStringLiteral("自动变卡下限")) > points)) {
            target = dm.ADOall.asString(QStringLiteral("卡类别"));
            found = true;
        }
    }
    // Writing every qualifying category in turn ends in the last one: write that one.
    if (found)
        TDM1::execute(dm.ADO123, QStringLiteral("update 会员卡信息 set 卡类别=") + q(target)
                                     + QStringLiteral(" where 会员卡号=") + q(card));
}

double storedPoints(TDM1 &dm, const QString &card)
{
    TDM1::select(dm.ADOall, QStringLiteral("select 积分 from 会员卡信息 where 会员卡号=") + q(card));
    return dm.ADOall.asFloat(QStringLiteral("积分"));
}

PostingResult purchaseSteps(TDM1 &dm, const PurchasePosting &p)
{
    const QString points = p.points.trimmed();
    const QString date = core::dateToText(p.when.date());
    const QString time = core::timeToText(p.when.time());
    const QString discountText = p.discount.trimmed();
    const double discount = discountText.isEmpty() ? 100.0 : core::textToFloat(discountText);

    // The member may have been deleted or replaced on another counter since it was loaded.
    TDM1::select(dm.ADOall, QStringLiteral("select 会员卡号 from 会员卡信息 where 会员卡号=") + q(p.card));
    if (dm.ADOall.asString(QStringLiteral("会员卡号")).isEmpty())
        throw core::DbError(QStringLiteral("此卡号不存在！"));

    PostingResult r;
    r.ledgerNumber = nextLedgerNumber(dm);

    TDM1::execute(dm.ADOall, QStringLiteral("update 会员卡信息 set 积分=积分+") + qNumber(points)
                                 + QStringLiteral(" where 会员卡号=") + q(p.card));
    if (!p.referrerPoints.isEmpty())
        TDM1::execute(dm.ADOall, QStringLiteral("update 会员卡信息 set 积分=积分+") + qNumber(p.referrerPoints.trimmed())
                                     + QStringLiteral(" where 会员卡号=") + q(p.referrerCard));
    TDM1::execute(dm.ADOall,
                  QStringLiteral("insert into 流水记录([编号],[会员卡号],[会员姓名],[增减积分],[增减原因],[日期],[时间],[经手人]) values (")
                      + q(r.ledgerNumber) + u',' + q(p.card) + u',' + q(p.name) + u',' + qNumber(points)
                      + QStringLiteral(",'购物消费',") + q(date) + u',' + q(time) + u',' + q(p.operatorNumber)
                      + u')');
    for (const SaleLine &line : p.lines) {
        const double amount = discount / 100.0 * core::textToFloat(line.amount);
        TDM1::execute(dm.ADOall,
                      QStringLiteral("insert into 消费记录([编号],[会员卡号],[会员姓名],[商品],[单位],[数量],[消费金额],[增减原因],[日期],[时间],[经手人]) values (")
                          + q(r.ledgerNumber) + u',' + q(p.card) + u',' + q(p.name) + u',' + q(line.product) + u','
                          + q(line.unit) + u',' + qNumber(line.quantity) + u',' + qNumber(amount)
                          + QStringLiteral(",'购物消费',") + q(date) + u',' + q(time) + u',' + q(p.operatorNumber)
                          + u')');
    }
    // The card change starts from the stored balance, not the one on screen.
    r.balance = storedPoints(dm, p.card);
    autoCardChange(dm, p.card, r.balance);
    return r;
}

PostingResult postPurchase(TDM1 &dm, const PurchasePosting &p)
{
    core::Transaction tx(dm.ADOConnection1);
    PostingResult r = purchaseSteps(dm, p);
    tx.commit();
    return r;
}

} // namespace points
