#include "core/database.h"
#include "core/formats.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/ledger.h"
#include "points/pointmath.h"
#include "points/posting.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

using namespace points;
using core::q;
using core::TDM1;

TEST(PointMath, TwoPlaceRoundingDecidesOnTheFractionText)
{
    const struct { double value; const char *text; } cases[] = {
        {12.5, "12.5"},  {12, "12"},       {12.345, "12.35"}, {2.675, "2.68"}, {12.995, "12.99"},
        {0.005, "0.01"}, {0.994, "0.99"},  {0.995, "1"},      {3.095, "3.1"},  {1.005, "1"},
        {0.125, "0.13"}, {10.0 / 3, "3.33"}, {0.05, "0.05"},  {9.999, "10"},   {1e-7, "0"},
        {0, "0"},        {19.99, "19.99"}, {0.095, "0.1"},    {123456.785, "123456.79"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(core::floatToText(roundTwoPlaces(c.value)), QString::fromLatin1(c.text)) << c.value;
}

TEST(PointMath, LedgerNumbers)
{
    const struct { const char *largest; const char *next; } cases[] = {
        {"", "0000000001"},           {" ", "0000000001"},           {"0000000009", "0000000010"},
        {"0000000099", "0000000100"}, {"2147483646", "2147483647"},  {"00000000123", "0000000013"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ledgerNumberAfter(QString::fromLatin1(c.largest)), QString::fromLatin1(c.next)) << c.largest;
    EXPECT_THROW(ledgerNumberAfter(QStringLiteral("2147483647")), LedgerFull);
    EXPECT_THROW(ledgerNumberAfter(QStringLiteral("9999999999")), LedgerFull);
    EXPECT_THROW(ledgerNumberAfter(QStringLiteral("abc")), core::ConversionError);
}

namespace {

class PostingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("database.mdb"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(DELIVERED_DB), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        dm.connectTo(path);
        run(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('银卡','1','95','100')"));
        run(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('金卡','1','90','500')"));
        addMember(QStringLiteral("A1"), QStringLiteral("O'Brien"), 90, QStringLiteral("R1"));
        addMember(QStringLiteral("R1"), QStringLiteral("引荐人"), 0, QString());
    }
    void run(const QString &sql) { TDM1::execute(dm.ADOall, sql); }
    QString one(const QString &sql) { return dm.scalar(sql); }
    void addMember(const QString &card, const QString &name, double points, const QString &referrer)
    {
        run(QStringLiteral("insert into 会员卡信息([会员卡号],[卡类别],[会员姓名],[积分],[引荐人卡号]) values (%1,'积分卡',%2,%3,%4)")
                .arg(q(card), q(name), core::qNumber(points), q(referrer)));
    }
    PointPosting sale(const QString &points)
    {
        PointPosting p;
        p.card = QStringLiteral("A1");
        p.name = QStringLiteral("O'Brien");
        p.points = points;
        p.referrerCard = QStringLiteral("R1");
        p.discount = QStringLiteral("90");
        p.lines = {{QStringLiteral("洗发水"), QStringLiteral("瓶"), QStringLiteral("2"), QStringLiteral("50")},
                   {QStringLiteral("剪发"), QStringLiteral("次"), QStringLiteral("1"), QStringLiteral("30.5")}};
        p.operatorNumber = QStringLiteral("0001");
        p.when = QDateTime(QDate(2026, 12, 11), QTime(9, 30, 5));
        return p;
    }
    QString category(const QString &card)
    {
        return one(QStringLiteral("select 卡类别 from 会员卡信息 where 会员卡号=") + q(card));
    }

    QTemporaryDir dir;
    QString path;
    TDM1 dm;
};

} // namespace

TEST_F(PostingTest, PurchaseWritesLedgerAndConsumptionRowsInOneGo)
{
    PointPosting p = sale(QStringLiteral("7.25"));
    p.referrerPoints = QStringLiteral("5");
    const PostingResult r = postPoints(dm, p);
    EXPECT_EQ(r.ledgerNumber, QStringLiteral("0000000001"));
    EXPECT_DOUBLE_EQ(r.balance, 97.25);
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='R1'")), QStringLiteral("5"));

    TDM1::select(dm.ADOall, QStringLiteral("select * from 流水记录"));
    ASSERT_EQ(dm.ADOall.recordCount(), 1); // none for the referrer
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("编号")), QStringLiteral("0000000001"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("会员姓名")), QStringLiteral("O'Brien"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("增减积分")), QStringLiteral("7.25"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("增减原因")), QStringLiteral("购物消费"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("日期")), QStringLiteral("2026-12-11"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("时间")), QStringLiteral("09:30:05"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("经手人")), QStringLiteral("0001"));

    TDM1::select(dm.ADOall, QStringLiteral("select 编号,商品,单位,数量,消费金额,增减原因 from 消费记录 order by rowid"));
    ASSERT_EQ(dm.ADOall.recordCount(), 2);
    QStringList rows;
    for (dm.ADOall.first(); !dm.ADOall.eof(); dm.ADOall.next()) {
        QStringList cells;
        for (const QString &c : dm.ADOall.columns())
            cells << dm.ADOall.asString(c);
        rows << cells.join(u'|');
    }
    EXPECT_EQ(rows, (QStringList{QStringLiteral("0000000001|洗发水|瓶|2|45|购物消费"),
                                 QStringLiteral("0000000001|剪发|次|1|27.45|购物消费")}));

    EXPECT_EQ(postPoints(dm, sale(QStringLiteral("1"))).ledgerNumber, QStringLiteral("0000000002"));
}

TEST_F(PostingTest, AFailingStatementLeavesNothingWritten)
{
    const struct { const char *what; std::function<void(PointPosting &)> spoil; } cases[] = {
        {"bad referrer points", [](PointPosting &p) { p.referrerPoints = QStringLiteral("abc"); }},
        {"bad quantity", [](PointPosting &p) { p.lines[1].quantity = QStringLiteral("1.2.3"); }},
        {"bad points", [](PointPosting &p) { p.points = QStringLiteral("x"); }},
        {"member gone", [](PointPosting &p) { p.card = QStringLiteral("nobody"); }},
    };
    for (const auto &c : cases) {
        PointPosting p = sale(QStringLiteral("10"));
        c.spoil(p);
        EXPECT_ANY_THROW(postPoints(dm, p)) << c.what;
        EXPECT_FALSE(dm.ADOConnection1.inTransaction());
        EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("0")) << c.what;
        EXPECT_EQ(one(QStringLiteral("select count(*) from 消费记录")), QStringLiteral("0")) << c.what;
        EXPECT_EQ(one(QStringLiteral("select sum(积分) from 会员卡信息")), QStringLiteral("90")) << c.what;
    }
    // Past the last ledger number: refused, nothing written.
    run(QStringLiteral("insert into 流水记录([编号],[会员卡号],[增减积分]) values ('2147483647','X','0')"));
    EXPECT_THROW(postPoints(dm, sale(QStringLiteral("10"))), LedgerFull);
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("1"));
    EXPECT_EQ(one(QStringLiteral("select sum(积分) from 会员卡信息")), QStringLiteral("90"));
}

TEST_F(PostingTest, AutomaticCardChangeFollowsTheStoredBalance)
{
    // Off: never changes.
    postPoints(dm, sale(QStringLiteral("20")));
    EXPECT_EQ(category(QStringLiteral("A1")), QStringLiteral("积分卡"));

    run(QStringLiteral("update 自动变卡 set 自动变卡='是'"));
    run(QStringLiteral("update 会员卡信息 set 积分='90' where 会员卡号='A1'"));
    postPoints(dm, sale(QStringLiteral("20"))); // 90 + 20 = 110: threshold 100
    EXPECT_EQ(category(QStringLiteral("A1")), QStringLiteral("银卡"));

    // The balance on screen may be stale: another counter credited 400 meanwhile.
    run(QStringLiteral("update 会员卡信息 set 积分=积分+400 where 会员卡号='A1'"));
    postPoints(dm, sale(QStringLiteral("0")));
    EXPECT_EQ(category(QStringLiteral("A1")), QStringLiteral("金卡"));

    // Down again below the present threshold.
    run(QStringLiteral("update 会员卡信息 set 积分='50' where 会员卡号='A1'"));
    autoCardChange(dm, QStringLiteral("A1"), 50);
    EXPECT_EQ(category(QStringLiteral("A1")), QStringLiteral("积分卡"));

    // Equal thresholds: the one the database returns last.
    run(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('铜卡','1','98','100')"));
    autoCardChange(dm, QStringLiteral("A1"), 150);
    EXPECT_EQ(category(QStringLiteral("A1")), QStringLiteral("铜卡"));
}

TEST_F(PostingTest, TwoCountersNeverWriteTheSameLedgerNumber)
{
    TDM1 other;
    other.connectTo(path);
    PostingResult first, second;
    {
        core::Transaction tx(dm.ADOConnection1);
        first = postingSteps(dm, sale(QStringLiteral("1")));
        // The other counter posts now; it waits for this posting's write lock.
        std::thread counter([&] { second = postPoints(other, sale(QStringLiteral("2"))); });
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        tx.commit();
        counter.join();
    }
    EXPECT_EQ(first.ledgerNumber, QStringLiteral("0000000001"));
    EXPECT_EQ(second.ledgerNumber, QStringLiteral("0000000002"));
    EXPECT_DOUBLE_EQ(second.balance, 93);
}
