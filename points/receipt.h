#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace points {

// What a POS text receipt of a purchase shows.
struct PurchaseReceipt {
    QString storeName;     // settings "店铺名称"
    QString cardNumber;
    QString memberName;
    QStringList products;  // 商品名称 of each line that has one, in order
    QString amount;        // the amount after discount, as shown
    QString points;        // the posted points, as shown
    QString balance;       // the card's points read after the commit
    QDateTime when;
    QString operatorNumber;
    QString footer;        // settings "小票尾", one line
};

// The exact bytes sent to the POS printer: GBK text lines ended by CR LF,
// closed by the paper feed.
QByteArray purchaseReceiptBytes(const PurchaseReceipt &r);
// A return or exchange: its own title and captions; `products` are the
// returned lines' product groups, `amount` the amount after discount and
// `points` the points taken off.
QByteArray returnReceiptBytes(const PurchaseReceipt &r);

// Helpers shared by every receipt kind.
QByteArray gbk(const QString &text);
// The store line: centred on 32 byte columns by leading blanks.
QByteArray centredStoreLine(const QString &storeName);
// The footer broken into lines of at most `columns` byte columns (a Chinese
// character takes two) without splitting a character.
QList<QByteArray> wrapFooter(const QString &footer, int columns = 31);
// The closing bytes: 0B 1B 4A 8C, then 0A.
QByteArray receiptClosing();

// "lpt1" to "lpt4" (any case) are the parallel ports /dev/lp0 to /dev/lp3;
// any other text is used as a device or file path as it stands.
QString portDevicePath(const QString &port);
// Writes the bytes to the port, replacing a file's content. A port that
// cannot be opened or written loses the receipt silently: returns false.
bool writeToPort(const QString &port, const QByteArray &bytes);

} // namespace points
