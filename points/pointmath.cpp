#include "points/pointmath.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace points {

namespace {

// The fraction (0 <= f < 1) as "0.d1d2d3..." rounded to 15 significant
// digits, positional, without trailing zeros; "0" for no fraction and "1"
// when the rounding reaches one.
QString fractionText(double f)
{
    if (f <= 0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", f); // d.dddddddddddddde-XX
    const QString s = QString::fromLatin1(buf);
    const int e = s.indexOf(u'e');
    const int exponent = s.mid(e + 1).toInt();
    if (exponent >= 0)
        return QStringLiteral("1");
    QString digits = s.left(e);
    digits.remove(u'.');
    QString text = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

double roundTwoPlaces(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return value;
    if (value < 0)
        return -roundTwoPlaces(-value);
    double integer = std::trunc(value);
    const QString f = fractionText(value - integer);
    if (f == QLatin1String("1"))
        return integer + 1;
    QString decimals;
    if (f.size() < 5) {
        decimals = f.mid(2);
    } else {
        const int d1 = f[2].digitValue(), d2 = f[3].digitValue(), d3 = f[4].digitValue();
        if (d3 < 5) {
            decimals = f.mid(2, 2);
        } else if (d2 == 9 && d1 == 9) {
            integer += 1;
        } else if (d2 == 9) {
            decimals = QString::number(d1 + 1);
        } else {
            const int n = d1 * 10 + d2 + 1;
            decimals = (d1 == 0 ? QStringLiteral("0") : QString()) + QString::number(n);
        }
    }
    if (decimals.isEmpty())
        return integer;
    // Read back from the text, as the decimal text would be.
    return (QString::number(integer, 'f', 0) + u'.' + decimals).toDouble();
}

} // namespace points
