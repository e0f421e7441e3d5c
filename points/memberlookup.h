#pragma once

#include <QString>

namespace core { class TDM1; }

namespace points {

// A member row as the card panel shows it.
struct MemberRecord {
    QString card, category, name, sex, postcode, idNumber, birthday, address, phone, mobile, points, startDate,
        referrerCard, referrerName;
};

enum class LookupStatus { Found, Replaced, Unknown, Lost };

struct LookupResult {
    LookupStatus status = LookupStatus::Unknown;
    MemberRecord member;
    QString purchases; // purchase postings of the card
    QString total;     // consumption amount of the card, "0" for none
    QString discount;  // the category's discount in percent
};

struct LookupSteps {
    bool replacedCheck = true; // refuse a number retired by a card replacement
    bool statistics = true;    // purchases and total
    bool discount = true;      // the category's discount
};

// The statements of a card lookup, on ADOall: the replaced-card check, the
// member row, the verbal loss flag, the statistics and the discount.
LookupResult lookUpCard(core::TDM1 &dm, const QString &card, const LookupSteps &steps);

} // namespace points
