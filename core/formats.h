#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <stdexcept>

namespace core {

// A text that should have been a number. Reported like a database error.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &message);
    QString text() const { return QString::fromUtf8(what()); }
};

// Shortest text with up to 15 significant digits, "." as separator, no
// thousands separator, no trailing zeros: 12.5, 100, -3.
QString floatToText(double value);

// Optional sign, digits, ".", optional exponent; surrounding blanks allowed.
// Anything else throws ConversionError.
double textToFloat(const QString &text);
// Same rules; returns false instead of throwing.
bool tryTextToFloat(const QString &text, double *value);

// This program's short date, long time and birthday texts.
inline constexpr const char *kShortDateFormat = "yyyy-MM-dd";
inline constexpr const char *kLongTimeFormat = "HH:mm:ss";
QString dateToText(const QDate &date);
QString timeToText(const QTime &time);
QDate textToDate(const QString &text); // invalid QDate when the text is no date
QString todayText();
QString nowTimeText();
// Month and day without leading zeros: "6-5" for 5 June.
QString birthdayText(const QDate &date);

} // namespace core
