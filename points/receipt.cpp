#include "points/receipt.h"

#include <QFile>
#include <QStringEncoder>

namespace points {

namespace {

constexpr int kPaperColumns = 32;

const QByteArray kLineEnd("\r\n");

QString withoutLineBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

} // namespace

QByteArray gbk(const QString &text)
{
    // The ICU codec writes "?" for whatever GBK lacks, which is what the
    // printer should get rather than a dropped character.
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QByteArray centredStoreLine(const QString &storeName)
{
    const QByteArray name = gbk(storeName);
    const int blanks = name.size() < kPaperColumns ? (kPaperColumns - int(name.size())) / 2 : 0;
    return QByteArray(blanks, ' ') + name;
}

QList<QByteArray> wrapFooter(const QString &footer, int columns)
{
    const QString text = withoutLineBreaks(footer);
    QList<QByteArray> lines;
    QByteArray line;
    QStringEncoder encoder("GBK");
    for (int i = 0; i < text.size();) {
        // One code point at a time so a surrogate pair stays whole.
        const int n = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const QByteArray bytes = encoder.encode(QStringView(text).mid(i, n));
        i += n;
        if (!line.isEmpty() && line.size() + bytes.size() > columns) {
            lines << line;
            line.clear();
        }
        line += bytes;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QByteArray receiptClosing()
{
    return QByteArray("\x0B\x1B\x4A\x8C\x0A", 5);
}

namespace {

// The lines every receipt shares; only the title and three captions differ.
QByteArray receiptBytes(const PurchaseReceipt &r, const QString &title, const QString &productCaption,
                        const QString &amountCaption, const QString &pointsCaption)
{
    QByteArray out;
    const auto line = [&out](const QByteArray &bytes) { out += bytes + kLineEnd; };
    const auto text = [&line](const QString &s) { line(gbk(s)); };
    const QString tildes(kPaperColumns, u'~');

    text(QStringLiteral("          欢 迎 光 临"));
    line(centredStoreLine(r.storeName));
    text(title);
    text(QStringLiteral("会员卡号： ") + r.cardNumber);
    text(QStringLiteral("会员姓名： ") + r.memberName);
    for (const QString &product : r.products)
        text(productCaption + product);
    text(amountCaption + r.amount);
    text(pointsCaption + r.points);
    text(QStringLiteral("现有积分： ") + r.balance);
    text(tildes);
    text(r.when.toString(QStringLiteral("yyyy-MM-dd   HH:mm:ss")));
    text(QStringLiteral("经手人： ") + r.operatorNumber);
    text(tildes);
    for (const QByteArray &footerLine : wrapFooter(r.footer, 31))
        line(footerLine);
    out += receiptClosing();
    return out;
}

} // namespace

QByteArray purchaseReceiptBytes(const PurchaseReceipt &r)
{
    return receiptBytes(r, QStringLiteral("~~~~~~~~~~~增加积分~~~~~~~~~~~~~"), QStringLiteral("所购商品： "),
                        QStringLiteral("消费金额： "), QStringLiteral("增加积分： "));
}

QByteArray returnReceiptBytes(const PurchaseReceipt &r)
{
    return receiptBytes(r, QStringLiteral("~~~~~~~退/换货减少积分~~~~~~~~~"), QStringLiteral("退货商品： "),
                        QStringLiteral("退货金额： "), QStringLiteral("减少积分： "));
}

QString portDevicePath(const QString &port)
{
    const QString name = port.trimmed().toLower();
    if (name.size() == 4 && name.startsWith(QLatin1String("lpt")) && name[3] >= u'1' && name[3] <= u'4')
        return QStringLiteral("/dev/lp%1").arg(name[3].unicode() - u'1');
    return port;
}

bool writeToPort(const QString &port, const QByteArray &bytes)
{
    const QString path = portDevicePath(port);
    if (path.isEmpty())
        return false;
    QFile device(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
    // A printer that is not there must not turn into a regular file under /dev.
    if (path.startsWith(QLatin1String("/dev/")))
        mode |= QIODevice::ExistingOnly;
    if (!device.open(mode))
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    device.close();
    return device.error() == QFileDevice::NoError;
}

} // namespace points
