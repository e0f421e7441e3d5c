#include "core/formats.h"
#include "core/sqlquote.h"

#include <gtest/gtest.h>

using namespace core;

TEST(Formats, FloatToTextIsShortestWithFifteenDigits)
{
    const struct { double v; const char *text; } cases[] = {
        {12.5, "12.5"}, {100, "100"}, {-3, "-3"}, {0.1 + 0.2, "0.3"}, {-0.0, "0"},
        {1.0 / 3, "0.333333333333333"}, {123456789012345.0, "123456789012345"},
        {1e15, "1e+15"}, {0.0001, "0.0001"}, {2147483647, "2147483647"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(floatToText(c.v), QString::fromLatin1(c.text)) << c.text;
}

TEST(Formats, TextToFloatAcceptsNumbersAndRefusesTheRest)
{
    const struct { const char *text; double v; } good[] = {
        {"12.5", 12.5}, {"-3", -3}, {"+4", 4}, {" 7 ", 7}, {".5", 0.5}, {"5.", 5}, {"1e3", 1000}, {"2E-2", 0.02},
    };
    for (const auto &c : good)
        EXPECT_DOUBLE_EQ(textToFloat(QString::fromLatin1(c.text)), c.v) << c.text;
    for (const char *bad : {"", " ", "abc", "1,5", "12a", "--1", "1e", ".", "0x10", "1 2", "inf", "nan"}) {
        EXPECT_THROW(textToFloat(QString::fromLatin1(bad)), ConversionError) << bad;
        double v;
        EXPECT_FALSE(tryTextToFloat(QString::fromLatin1(bad), &v)) << bad;
    }
}

TEST(Formats, DateTimeAndBirthdayTexts)
{
    EXPECT_EQ(dateToText(QDate(2024, 3, 1)), QStringLiteral("2024-03-01"));
    EXPECT_EQ(timeToText(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
    EXPECT_EQ(birthdayText(QDate(1990, 6, 5)), QStringLiteral("6-5"));
    EXPECT_EQ(birthdayText(QDate(1990, 12, 25)), QStringLiteral("12-25"));
    EXPECT_EQ(textToDate(QStringLiteral("2024-03-01")), QDate(2024, 3, 1));
    EXPECT_EQ(textToDate(QStringLiteral("2024-3-1")), QDate(2024, 3, 1));
    EXPECT_FALSE(textToDate(QStringLiteral("abc")).isValid());
}

TEST(Quoting, DoublesQuotesAndChecksNumbers)
{
    EXPECT_EQ(q(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(q(QStringLiteral("'; drop table 会员卡信息; --")), QStringLiteral("'''; drop table 会员卡信息; --'"));
    EXPECT_EQ(q(QString()), QStringLiteral("''"));
    EXPECT_EQ(qNumber(QStringLiteral("12.50")), QStringLiteral("'12.5'"));
    EXPECT_EQ(qNumber(-2.5), QStringLiteral("'-2.5'"));
    EXPECT_THROW(qNumber(QStringLiteral("abc")), ConversionError);
    EXPECT_THROW(qNumber(QStringLiteral("1' or '1'='1")), ConversionError);
}
