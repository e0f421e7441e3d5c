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

PostingRefused::PostingRefused(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {

QString reasonOf(const PointPosting &p)
{
    switch (p.kind) {
    case PostingKind::Purchase: return QStringLiteral("购物消费");
    case PostingKind::Return: return QStringLiteral("退货");
    case PostingKind::Exchange: return QStringLiteral("换货");
    case PostingKind::Redemption: return QStringLiteral("积分兑换");
    case PostingKind::OtherCredit: return p.reason;
    }
    return QString();
}

} // namespace

PostingResult postingSteps(TDM1 &dm, const PointPosting &p)
{
    const bool debit = p.kind == PostingKind::Return || p.kind == PostingKind::Exchange
        || p.kind == PostingKind::Redemption;
    const bool returned = p.kind == PostingKind::Return || p.kind == PostingKind::Exchange;
    const double points = core::textToFloat(p.points);
    const QString date = core::q(core::dateToText(p.when.date()));
    const QString time = core::q(core::timeToText(p.when.time()));
    const QString discountText = p.discount.trimmed();
    const double discount = discountText.isEmpty() ? 100.0 : core::textToFloat(discountText);
    const QString reason = q(reasonOf(p));

    // The member may have been deleted or replaced on another counter since it was loaded.
    TDM1::select(dm.ADOall, QStringLiteral("select 会员卡号,积分 from 会员卡信息 where 会员卡号=") + q(p.card));
    if (dm.ADOall.asString(QStringLiteral("会员卡号")).isEmpty())
        throw core::DbError(QStringLiteral("此卡号不存在！"));
    // The balance on another counter's screen may be out of date: check the stored one.
    if (p.kind == PostingKind::Redemption && dm.ADOall.asFloat(QStringLiteral("积分")) < points)
        throw PostingRefused(QStringLiteral("兑换积分大于现有积分，不能保存！"));

    PostingResult r;
    r.ledgerNumber = nextLedgerNumber(dm);
    const QString number = q(r.ledgerNumber);

    TDM1::execute(dm.ADOall, (debit ? QStringLiteral("update 会员卡信息 set 积分=积分-")
                                    : QStringLiteral("update 会员卡信息 set 积分=积分+"))
                                 + qNumber(points) + QStringLiteral(" where 会员卡号=") + q(p.card));
    if (p.kind == PostingKind::Purchase && !p.referrerPoints.isEmpty())
        TDM1::execute(dm.ADOall, QStringLiteral("update 会员卡信息 set 积分=积分+") + qNumber(p.referrerPoints.trimmed())
                                     + QStringLiteral(" where 会员卡号=") + q(p.referrerCard));

    const QString ledgerValues = number + u',' + q(p.card) + u',' + q(p.name) + u','
        + qNumber(debit ? -points : points) + u',' + reason + u',' + date + u',' + time + u',' + q(p.operatorNumber);
    const QString ledgerColumns = QStringLiteral("[编号],[会员卡号],[会员姓名],[增减积分],[增减原因],[日期],[时间],[经手人]");
    if (returned)
        TDM1::execute(dm.ADOall, QStringLiteral("insert into 流水记录([退/换货说明],") + ledgerColumns
                                     + QStringLiteral(") values (") + q(p.note) + u',' + ledgerValues + u')');
    else if (p.kind == PostingKind::Redemption)
        TDM1::execute(dm.ADOall, QStringLiteral("insert into 流水记录([兑换礼品],") + ledgerColumns
                                     + QStringLiteral(") values (") + q(p.gifts) + u',' + ledgerValues + u')');
    else
        TDM1::execute(dm.ADOall, QStringLiteral("insert into 流水记录(") + ledgerColumns + QStringLiteral(") values (")
                                     + ledgerValues + u')');

    if (p.kind == PostingKind::Purchase || returned) {
        const double sign = returned ? -1.0 : 1.0;
        for (const SaleLine &line : p.lines) {
            const double amount = discount / 100.0 * (sign * core::textToFloat(line.amount));
            // A purchase keeps the quantity as typed; a return stores it negated.
            const QString quantity = returned ? qNumber(-core::textToFloat(line.quantity)) : qNumber(line.quantity);
            QString values = number + u',' + q(p.card) + u',' + q(p.name) + u',' + q(line.product) + u','
                + q(line.unit) + u',' + quantity + u',' + qNumber(amount) + u',' + reason + u',' + date + u','
                + time + u',' + q(p.operatorNumber);
            const QString columns = QStringLiteral(
                "[编号],[会员卡号],[会员姓名],[商品],[单位],[数量],[消费金额],[增减原因],[日期],[时间],[经手人]");
            if (returned)
                TDM1::execute(dm.ADOall, QStringLiteral("insert into 消费记录([退/换货说明],") + columns
                                             + QStringLiteral(") values (") + q(p.note) + u',' + values + u')');
            else
                TDM1::execute(dm.ADOall, QStringLiteral("insert into 消费记录(") + columns
                                             + QStringLiteral(") values (") + values + u')');
        }
    }
    // The card change starts from the stored balance, not the one on screen.
    r.balance = storedPoints(dm, p.card);
    autoCardChange(dm, p.card, r.balance);
    return r;
}

PostingResult postPoints(TDM1 &dm, const PointPosting &p)
{
    core::Transaction tx(dm.ADOConnection1);
    PostingResult r = postingSteps(dm, p);
    tx.commit();
    return r;
}

} // namespace points
