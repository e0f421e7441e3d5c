#include "core/formats.h"

#include <QDateTime>
#include <cmath>

namespace core {

ConversionError::ConversionError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString floatToText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // also turns -0 into 0
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    return QString::number(value, 'g', 15);
}

bool tryTextToFloat(const QString &text, double *value)
{
    const QString t = text.trimmed();
    const int n = t.size();
    int i = 0;
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    int digits = 0;
    while (i < n && t[i] >= u'0' && t[i] <= u'9') {
        ++i;
        ++digits;
    }
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && t[i] >= u'0' && t[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        int expDigits = 0;
        while (i < n && t[i] >= u'0' && t[i] <= u'9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok); // C locale: "." only
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

double textToFloat(const QString &text)
{
    double v = 0;
    if (!tryTextToFloat(text, &v))
        throw ConversionError(QStringLiteral("'%1' 不是有效的数值").arg(text));
    return v;
}

QString dateToText(const QDate &date)
{
    return date.toString(QLatin1String(kShortDateFormat));
}

QString timeToText(const QTime &time)
{
    return time.toString(QLatin1String(kLongTimeFormat));
}

QDate textToDate(const QString &text)
{
    const QString t = text.trimmed();
    QDate d = QDate::fromString(t, QLatin1String(kShortDateFormat));
    if (!d.isValid())
        d = QDate::fromString(t, QStringLiteral("yyyy-M-d"));
    if (!d.isValid())
        d = QDate::fromString(t, QStringLiteral("yyyy/M/d"));
    return d;
}

QString todayText()
{
    return dateToText(QDate::currentDate());
}

QString nowTimeText()
{
    return timeToText(QTime::currentTime());
}

QString birthdayText(const QDate &date)
{
    return QStringLiteral("%1-%2").arg(date.month()).arg(date.day());
}

} // namespace core
