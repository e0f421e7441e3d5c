#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <stdexcept>

namespace core { class TDM1; }

namespace points {

// One product line of a sale as the grid holds it.
struct SaleLine {
    QString product;  // 商品名称
    QString unit;     // 单位
    QString quantity; // 数量, as typed
    QString amount;   // 金额 before the member's discount
};

enum class PostingKind { Purchase, Return, Exchange, Redemption, OtherCredit };

// Everything a posting writes, taken from the member as loaded (not from
// boxes typed into since) and from what was entered.
struct PointPosting {
    PostingKind kind = PostingKind::Purchase;
    QString card;           // the card number of the loaded member
    QString name;           // that member's name as loaded
    QString points;         // points as shown, never negative: the kind gives the sign
    QString reason;         // other credits: the typed reason, as typed
    QString note;           // returns and exchanges: 退/换货说明
    QString gifts;          // redemptions: 兑换礼品, e.g. "毛巾(2) 雨伞(1)"
    QString referrerCard;   // purchases: the loaded member's referrer
    QString referrerPoints; // purchases: points for the referrer, empty for none
    QString discount;       // category discount in percent; empty counts as 100
    QList<SaleLine> lines;  // purchases and returns: lines that hold an amount
    QString operatorNumber;
    QDateTime when;
};

// A posting refused by a check made inside its transaction; shown like the
// window's other refusals (caption "提示", error icon).
class PostingRefused : public std::runtime_error {
public:
    explicit PostingRefused(const QString &message);
    QString text() const { return QString::fromUtf8(what()); }
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

// The statements of a posting, to be run inside a write transaction: the
// member's points, the referrer credit, the ledger row, the consumption rows
// and the card change. The ledger number is taken inside that transaction; a
// redemption is checked against the stored balance there.
PostingResult postingSteps(core::TDM1 &dm, const PointPosting &p);

// postingSteps in a transaction of its own: all or nothing. Throws on error.
PostingResult postPoints(core::TDM1 &dm, const PointPosting &p);

} // namespace points
