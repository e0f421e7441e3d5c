#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace core { class TDM1; }

namespace points {

// One product line of a sale as the grid holds it.
struct SaleLine {
    QString product;  // 商品名称
    QString unit;     // 单位
    QString quantity; // 数量, as typed
    QString amount;   // 金额 before the member's discount
};

// Everything a purchase posting writes, taken from the member as loaded
// (not from boxes typed into since) and the sale as entered.
struct PurchasePosting {
    QString card;           // the card number of the loaded member
    QString name;           // that member's name as loaded
    QString points;         // points earned, as shown
    QString referrerCard;   // the loaded member's referrer
    QString referrerPoints; // points for the referrer, empty for none
    QString discount;       // category discount in percent; empty counts as 100
    QList<SaleLine> lines;  // lines that hold an amount, in order
    QString operatorNumber;
    QDateTime when;
};

struct PostingResult {
    QString ledgerNumber; // the number written
    double balance = 0;   // the member's stored points after the posting
};

// With the switch 自动变卡 on, moves the card into the category with the
// highest threshold not above `points` (the last such category the database
// returns); a card can move down this way. Walks on ADOall, writes on ADO123.
void autoCardChange(core::TDM1 &dm, const QString &card, double points);

// The member's stored points.
double storedPoints(core::TDM1 &dm, const QString &card);

// The statements of a purchase posting, to be run inside a write
// transaction: points, referrer credit, ledger row, consumption rows, card
// change. The ledger number is taken inside that transaction.
PostingResult purchaseSteps(core::TDM1 &dm, const PurchasePosting &p);

// purchaseSteps in a transaction of its own: all or nothing. Throws on error.
PostingResult postPurchase(core::TDM1 &dm, const PurchasePosting &p);

} // namespace points
