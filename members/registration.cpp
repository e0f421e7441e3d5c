#include "members/registration.h"

#include "core/database.h"
#include "core/formats.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"

using core::q;
using core::TDM1;

namespace members {

namespace {

QDate dateOrFail(const QString &text)
{
    const QDate d = core::textToDate(text);
    if (!d.isValid())
        throw core::ConversionError(QStringLiteral("'%1' 不是有效的日期").arg(text));
    return d;
}

} // namespace

CardState newCardState(TDM1 &dm, const QString &card)
{
    TDM1::select(dm.ADOall, QStringLiteral("select 旧卡号 from 挂失记录 where 旧卡号 =") + q(card));
    if (dm.ADOall.recordCount() > 0)
        return CardState::Retired;
    TDM1::select(dm.ADOall, QStringLiteral("select * from 会员卡信息 where 会员卡号 =") + q(card));
    if (dm.ADOall.recordCount() > 0)
        return CardState::Taken;
    return CardState::Free;
}

std::optional<QString> memberName(TDM1 &dm, const QString &card)
{
    TDM1::select(dm.ADOall, QStringLiteral("select * from 会员卡信息 where 会员卡号=") + q(card));
    if (dm.ADOall.recordCount() == 0)
        return std::nullopt;
    return dm.ADOall.asString(QStringLiteral("会员姓名"));
}

std::optional<QDate> birthdayFromIdNumber(const QString &text)
{
    QString year, month, day;
    if (text.size() == 18) {
        year = text.mid(6, 4);
        month = text.mid(10, 2);
        day = text.mid(12, 2);
    } else if (text.size() == 15) {
        year = QStringLiteral("19") + text.mid(6, 2);
        month = text.mid(8, 2);
        day = text.mid(10, 2);
    } else {
        return std::nullopt;
    }
    return dateOrFail(year + u'-' + month + u'-' + day);
}

QDate storedDate(const QString &text)
{
    return dateOrFail(text);
}

RegistrationOutcome registrationSteps(TDM1 &dm, const MemberEntry &m, const QString &operatorNumber,
                                      const QDateTime &when)
{
    const bool referred = !m.referrerCard.isEmpty();
    // Checked inside the transaction, before any write, so a referrer removed
    // meanwhile cannot leave a member pointing at nobody.
    if (referred && !memberName(dm, m.referrerCard))
        return RegistrationOutcome::UnknownReferrer;

    TDM1::execute(dm.ADOall,
                  QStringLiteral("insert into 会员卡信息([备注],[生日],[会员卡号],[卡类别],[会员姓名],[性别],[邮编],[会员生日],"
                                 "[地址],[固定电话],[手机],[引荐人卡号],[引荐人姓名],[起用日期]) values (")
                      + q(m.remark) + u',' + q(core::birthdayText(m.birthday)) + u',' + q(m.card) + u','
                      + q(QStringLiteral("积分卡")) + u',' + q(m.name) + u',' + q(m.sex) + u',' + q(m.postcode) + u','
                      + q(core::dateToText(m.birthday)) + u',' + q(m.address) + u',' + q(m.phone) + u','
                      + q(m.mobile) + u',' + q(m.referrerCard) + u',' + q(m.referrerName) + u','
                      + q(core::dateToText(m.startDate)) + u')');
    if (!referred)
        return RegistrationOutcome::Registered;

    TDM1::select(dm.ADOall, QStringLiteral("select * from 引荐积分"));
    const QString points = dm.ADOall.asString(QStringLiteral("引荐积分"));
    TDM1::execute(dm.ADOall, QStringLiteral("update 会员卡信息 set 积分=积分+") + core::qNumber(points)
                                 + QStringLiteral(" where 会员卡号=") + q(m.referrerCard));
    TDM1::execute(dm.ADOall,
                  QStringLiteral("insert into 流水记录([会员卡号],[会员姓名],[增减积分],[增减原因],[日期],[时间],[经手人]) values (")
                      + q(m.referrerCard) + u',' + q(m.referrerName) + u',' + core::qNumber(points) + u','
                      + q(QStringLiteral("引荐会员")) + u',' + q(core::dateToText(when.date())) + u','
                      + q(core::timeToText(when.time())) + u',' + q(operatorNumber) + u')');
    return RegistrationOutcome::Registered;
}

RegistrationOutcome registerMember(TDM1 &dm, const MemberEntry &m, const QString &operatorNumber,
                                   const QDateTime &when)
{
    core::Transaction tx(dm.ADOConnection1);
    const RegistrationOutcome r = registrationSteps(dm, m, operatorNumber, when);
    if (r == RegistrationOutcome::Registered)
        tx.commit();
    return r;
}

MemberLoad loadMember(TDM1 &dm, const QString &card)
{
    MemberLoad r;
    core::Query &row = dm.ADOall;
    TDM1::select(row, QStringLiteral("select 旧卡号 from 挂失记录 where 旧卡号 =") + q(card));
    if (row.recordCount() > 0) {
        r.status = LoadStatus::Replaced;
        return r;
    }
    TDM1::select(row, QStringLiteral("select * from 会员卡信息 where 会员卡号 =") + q(card));
    if (row.recordCount() == 0) {
        r.status = LoadStatus::Unknown;
        return r;
    }
    if (row.asBool(QStringLiteral("口头挂失标志"))) {
        r.status = LoadStatus::Lost;
        return r;
    }
    StoredMember &m = r.member;
    m.name = row.asString(QStringLiteral("会员姓名"));
    m.sex = row.asString(QStringLiteral("性别"));
    m.postcode = row.asString(QStringLiteral("邮编"));
    m.birthday = row.asString(QStringLiteral("会员生日"));
    m.address = row.asString(QStringLiteral("地址"));
    m.phone = row.asString(QStringLiteral("固定电话"));
    m.mobile = row.asString(QStringLiteral("手机"));
    m.startDate = row.asString(QStringLiteral("起用日期"));
    m.referrerCard = row.asString(QStringLiteral("引荐人卡号"));
    m.referrerName = row.asString(QStringLiteral("引荐人姓名"));
    m.remark = row.asString(QStringLiteral("备注"));
    r.status = LoadStatus::Found;
    return r;
}

void updateSteps(TDM1 &dm, const MemberEntry &m)
{
    TDM1::execute(dm.ADOall,
                  QStringLiteral("update 会员卡信息 set 会员卡号=+") + q(m.card) + QStringLiteral(",会员姓名=+") + q(m.name)
                      + QStringLiteral(",性别=+") + q(m.sex) + QStringLiteral(",\r\n邮编=") + q(m.postcode)
                      + QStringLiteral(",会员生日=") + q(core::dateToText(m.birthday)) + QStringLiteral(",地址=")
                      + q(m.address) + QStringLiteral(",固定电话=") + q(m.phone) + QStringLiteral(",\r\n手机=")
                      + q(m.mobile) + QStringLiteral(",引荐人卡号=") + q(m.referrerCard) + QStringLiteral(",引荐人姓名=")
                      + q(m.referrerName) + QStringLiteral(",起用日期=") + q(core::dateToText(m.startDate))
                      + QStringLiteral(",生日=") + q(core::birthdayText(m.birthday)) + QStringLiteral(",备注=")
                      + q(m.remark) + QStringLiteral(" where 会员卡号=") + q(m.card));
    TDM1::execute(dm.ADOall, QStringLiteral("update 团队 set 团队成员姓名=+") + q(m.name) + QStringLiteral(",\r\n卡号=")
                                 + q(m.referrerCard) + QStringLiteral(",姓名=") + q(m.referrerName)
                                 + QStringLiteral(" where 团队成员卡号=") + q(m.card));
}

void updateMember(TDM1 &dm, const MemberEntry &m)
{
    core::Transaction tx(dm.ADOConnection1);
    updateSteps(dm, m);
    tx.commit();
}

void deleteMember(TDM1 &dm, const QString &card)
{
    TDM1::execute(dm.ADOall, QStringLiteral("delete  from 会员卡信息 where 会员卡号=") + q(card) + u' ');
}

} // namespace members
