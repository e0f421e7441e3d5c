#include "points/memberlookup.h"

#include "core/sqlquote.h"
#include "core/tdm1.h"

using core::q;
using core::TDM1;

namespace points {

LookupResult lookUpCard(TDM1 &dm, const QString &card, const LookupSteps &steps)
{
    LookupResult r;
    core::Query &row = dm.ADOall;
    if (steps.replacedCheck) {
        TDM1::select(row, QStringLiteral("select 旧卡号 from 挂失记录 where 旧卡号 =") + q(card));
        if (!row.asString(QStringLiteral("旧卡号")).isEmpty()) {
            r.status = LookupStatus::Replaced;
            return r;
        }
    }
    TDM1::select(row, QStringLiteral("select * from 会员卡信息 where 会员卡号 =") + q(card));
    if (row.asString(QStringLiteral("会员卡号")).isEmpty()) {
        r.status = LookupStatus::Unknown;
        return r;
    }
    if (row.asBool(QStringLiteral("口头挂失标志"))) {
        r.status = LookupStatus::Lost;
        return r;
    }
    MemberRecord &m = r.member;
    m.card = row.asString(QStringLiteral("会员卡号"));
    m.category = row.asString(QStringLiteral("卡类别"));
    m.name = row.asString(QStringLiteral("会员姓名"));
    m.sex = row.asString(QStringLiteral("性别"));
    m.postcode = row.asString(QStringLiteral("邮编"));
    m.idNumber = row.asString(QStringLiteral("身份证号"));
    m.birthday = row.asString(QStringLiteral("会员生日"));
    m.address = row.asString(QStringLiteral("地址"));
    m.phone = row.asString(QStringLiteral("固定电话"));
    m.mobile = row.asString(QStringLiteral("手机"));
    m.points = row.asString(QStringLiteral("积分"));
    m.startDate = row.asString(QStringLiteral("起用日期"));
    m.referrerCard = row.asString(QStringLiteral("引荐人卡号"));
    m.referrerName = row.asString(QStringLiteral("引荐人姓名"));
    r.status = LookupStatus::Found;

    if (steps.statistics) {
        TDM1::select(row, QStringLiteral("select count(*) as 次数 from 流水记录 where 会员卡号 =") + q(card)
                              + QStringLiteral(" and 增减原因='购物消费'"));
        r.purchases = row.asString(QStringLiteral("次数"));
        TDM1::select(row, QStringLiteral("select sum(消费金额)as zongjine from 消费记录 where 会员卡号 =") + q(card));
        r.total = row.asString(QStringLiteral("zongjine"));
        if (r.total.isEmpty())
            r.total = QStringLiteral("0");
    }
    if (steps.discount) {
        TDM1::select(row, QStringLiteral("select 折扣 from 卡类别 where 卡类别 =") + q(m.category));
        r.discount = row.asString(QStringLiteral("折扣"));
    }
    return r;
}

} // namespace points
