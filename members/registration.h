#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace core { class TDM1; }

namespace members {

// A member's particulars as the registration and editing windows hold them.
struct MemberEntry {
    QString card;
    QString name;
    QString sex;
    QString postcode; // 邮编; often holds the identity number
    QDate birthday;
    QString address;
    QString phone;
    QString mobile;
    QDate startDate;
    QString referrerCard;
    QString referrerName;
    QString remark;
};

// Why a number cannot be given to a new member.
enum class CardState { Free, Retired, Taken };

// Retired (an old number of a replaced card) is checked before Taken.
// An empty number is Free here; the save refuses it on its own.
CardState newCardState(core::TDM1 &dm, const QString &card);

// The name of the member holding `card`, or nullopt when nobody does.
std::optional<QString> memberName(core::TDM1 &dm, const QString &card);

// The birthday inside an 18- or 15-character identity number (the 15-character
// form has a two-digit year of the 1900s). nullopt for any other length;
// ConversionError when the digits make no date.
std::optional<QDate> birthdayFromIdNumber(const QString &text);

// A stored date text as a date; ConversionError when it is none.
QDate storedDate(const QString &text);

enum class RegistrationOutcome { Registered, UnknownReferrer };

// The statements of a registration, inside a write transaction: the referrer
// check (before anything is written), the member row, and for a referrer the
// referral points and their ledger row (without a ledger number).
RegistrationOutcome registrationSteps(core::TDM1 &dm, const MemberEntry &m, const QString &operatorNumber,
                                      const QDateTime &when);
// The same in a transaction of its own: all or nothing. Throws on error.
RegistrationOutcome registerMember(core::TDM1 &dm, const MemberEntry &m, const QString &operatorNumber,
                                   const QDateTime &when);

// A member row as stored, every column as text.
struct StoredMember {
    QString name, sex, postcode, birthday, address, phone, mobile, startDate, referrerCard, referrerName, remark;
};

enum class LoadStatus { Found, Replaced, Unknown, Lost };

struct MemberLoad {
    LoadStatus status = LoadStatus::Unknown;
    StoredMember member;
};

// The statements of loading a member for editing: the replaced-card check,
// the member row, the verbal loss flag.
MemberLoad loadMember(core::TDM1 &dm, const QString &card);

// The member row and its team row, inside a write transaction. The card
// category and the points are left as they are.
void updateSteps(core::TDM1 &dm, const MemberEntry &m);
// The same in a transaction of its own. Throws on error.
void updateMember(core::TDM1 &dm, const MemberEntry &m);

// Removes the member row only: ledger and other rows of the card stay.
void deleteMember(core::TDM1 &dm, const QString &card);

} // namespace members
