#include "core/database.h"
#include "core/formats.h"
#include "core/querymodel.h"
#include "core/schema.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace core;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("database.mdb"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(DELIVERED_DB), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        dm.connectTo(path);
    }
    QString one(const QString &sql) { return dm.scalar(sql); }
    void run(const QString &sql) { TDM1::execute(dm.ADOall, sql); }

    QTemporaryDir dir;
    QString path;
    TDM1 dm;
};

} // namespace

TEST_F(DatabaseTest, DeliveredContent)
{
    EXPECT_EQ(one(QStringLiteral("select count(*) from sqlite_master where type='table' and name<>'sqlite_sequence'")),
              QStringLiteral("13"));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 操作员"));
    ASSERT_EQ(dm.ADOall.recordCount(), 1);
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("操作员")), QStringLiteral("0001"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("姓名")), QStringLiteral("系统管理员"));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("密码")), QString());
    for (int flag = 1; flag <= 26; ++flag)
        EXPECT_TRUE(dm.ADOall.asBool(QString::number(flag))) << flag;
    EXPECT_EQ(one(QStringLiteral("select 引荐积分 from 引荐积分")), QStringLiteral("0"));
    EXPECT_EQ(one(QStringLiteral("select 自动变卡 from 自动变卡")), QStringLiteral("否"));
    EXPECT_EQ(one(QStringLiteral("select 店铺 || '/' || 票尾 from 小票")), QStringLiteral("恒越达软件/谢谢惠顾！"));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 卡类别"));
    ASSERT_EQ(dm.ADOall.recordCount(), 1);
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("卡类别")), QStringLiteral("积分卡"));
    EXPECT_EQ(dm.ADOall.asFloat(QStringLiteral("积分比例")), 1);
    EXPECT_EQ(dm.ADOall.asFloat(QStringLiteral("折扣")), 100);
    EXPECT_EQ(dm.ADOall.asFloat(QStringLiteral("自动变卡下限")), 0);
    for (const char *t : {"会员卡信息", "流水记录", "消费记录", "挂失记录", "口头挂失记录", "商品档案", "兑换项目", "团队"})
        EXPECT_EQ(one(QStringLiteral("select count(*) from ") + QString::fromUtf8(t)), QStringLiteral("0")) << t;
    // The first ledger number: the largest of nothing.
    EXPECT_EQ(one(QStringLiteral("select max(编号) as 最大编号 from 流水记录")), QString());
}

TEST_F(DatabaseTest, FileCannotBeReadWithoutTheKey)
{
    dm.ADOConnection1.close();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains(QStringLiteral("系统管理员").toUtf8()));
    EXPECT_FALSE(bytes.contains("CREATE TABLE"));

    Database other;
    EXPECT_THROW(other.open(dir.filePath(QStringLiteral("missing.mdb"))), DbError);
    QFile junk(dir.filePath(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    EXPECT_THROW(other.open(junk.fileName()), DbError);
    EXPECT_FALSE(other.isOpen());
}

TEST_F(DatabaseTest, AccessDialectStatementsRunOnTheEngine)
{
    run(QStringLiteral("insert into 会员卡信息([会员卡号],[会员姓名],[积分],[口头挂失标志],[会员生日]) values ('A1','张三','10','0','1990-06-05')"));
    run(QStringLiteral("update 会员卡信息 set 积分=积分+'12.5' where 会员卡号='A1'"));
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='A1'")), QStringLiteral("22.5"));
    run(QStringLiteral("update 会员卡信息 set 口头挂失标志=true where 会员卡号='A1'"));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 会员卡信息 where 口头挂失标志=true"));
    EXPECT_EQ(dm.ADOall.recordCount(), 1);
    EXPECT_TRUE(dm.ADOall.asBool(QStringLiteral("口头挂失标志")));
    run(QStringLiteral("update 会员卡信息 set 会员卡号=+'A2',会员姓名=+'李四' where 会员卡号='A1'"));
    EXPECT_EQ(one(QStringLiteral("select 会员姓名 from 会员卡信息 where 会员卡号='A2'")), QStringLiteral("李四"));

    // Dates and a day-wide range, the three delete forms.
    for (const char *d : {"2024-02-28", "2024-02-29", "2024-03-01", "2024-03-02"})
        run(QStringLiteral("insert into 流水记录([编号],[会员卡号],[增减积分],[日期]) values ('1','A2','1','%1')").arg(QString::fromLatin1(d)));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 流水记录 where 日期 between #2024-03-01# and #2024-03-01#"));
    EXPECT_EQ(dm.ADOall.recordCount(), 1);
    run(QStringLiteral("delete 流水记录 from 流水记录 where 日期<#2024-03-01#"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("2"));
    run(QStringLiteral("delete from 流水记录  where 日期='2024-03-02'"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("1"));
    run(QStringLiteral("delete  from 流水记录 "));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("0"));

    // The operator change: bare digit columns, split over two lines.
    TDM1::executeTwoLine(dm.ADOall,
                         QStringLiteral("update 操作员 set 操作员='0001',姓名='管理',密码='x',1='0',2='-1',"),
                         QStringLiteral("26='0' where 操作员='0001'"));
    EXPECT_TRUE(dm.ADOall.sql().contains(QStringLiteral("\r\n26='0'")));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 操作员"));
    EXPECT_FALSE(dm.ADOall.asBool(QStringLiteral("1")));
    EXPECT_TRUE(dm.ADOall.asBool(QStringLiteral("2")));
    EXPECT_FALSE(dm.ADOall.asBool(QStringLiteral("26")));
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("姓名")), QStringLiteral("管理"));
}

TEST_F(DatabaseTest, QuotedValuesAreStoredAsTypedAndNumberColumnsRefuseText)
{
    const QString name = QStringLiteral("O'Brien'); delete from 操作员; --");
    run(QStringLiteral("insert into 会员卡信息([会员卡号],[会员姓名]) values ('B1',") + q(name) + QStringLiteral(")"));
    EXPECT_EQ(one(QStringLiteral("select 会员姓名 from 会员卡信息 where 会员卡号='B1'")), name);
    EXPECT_EQ(one(QStringLiteral("select count(*) from 操作员")), QStringLiteral("1"));

    // What Jet refused, the engine refuses too.
    EXPECT_THROW(run(QStringLiteral("update 会员卡信息 set 积分='abc' where 会员卡号='B1'")), DbError);
    EXPECT_THROW(run(QStringLiteral("insert into 卡类别([卡类别],[折扣]) values ('x','')")), DbError);
    EXPECT_THROW(run(QStringLiteral("insert into 会员卡信息([会员卡号]) values ('B1')")), DbError); // unique card
    EXPECT_THROW(run(QStringLiteral("insert into 操作员([操作员]) values ('0001')")), DbError);      // unique operator
    // Arithmetic with text is stopped before it reaches the engine.
    EXPECT_THROW(run(QStringLiteral("update 会员卡信息 set 积分=积分+") + qNumber(QStringLiteral("abc"))), ConversionError);
    EXPECT_EQ(one(QStringLiteral("select typeof(积分) from 会员卡信息 where 会员卡号='B1'")), QStringLiteral("real"));
    // Two statements in one text are refused.
    EXPECT_THROW(run(QStringLiteral("delete from 团队; delete from 操作员")), DbError);
}

TEST_F(DatabaseTest, EmptyResultsAndUnknownColumns)
{
    TDM1::select(dm.ADOall, QStringLiteral("select * from 会员卡信息 where 会员卡号='none'"));
    EXPECT_EQ(dm.ADOall.recordCount(), 0);
    EXPECT_TRUE(dm.ADOall.eof());
    EXPECT_EQ(dm.ADOall.asString(QStringLiteral("会员姓名")), QString());
    EXPECT_EQ(dm.ADOall.asFloat(QStringLiteral("积分")), 0);
    EXPECT_FALSE(dm.ADOall.asBool(QStringLiteral("口头挂失标志")));
    EXPECT_THROW(dm.ADOall.asString(QStringLiteral("没有这列")), DbError);
    // A contains-search with empty text matches every row.
    run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));
    run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('水杯','20')"));
    TDM1::select(dm.ADOall, QStringLiteral("select * from 兑换项目 where 兑换项目 like '%%'"));
    EXPECT_EQ(dm.ADOall.recordCount(), 2);
    // Walking.
    QStringList names;
    for (dm.ADOall.first(); !dm.ADOall.eof(); dm.ADOall.next())
        names << dm.ADOall.asString(QStringLiteral("兑换项目"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("毛巾"), QStringLiteral("水杯")}));
}

TEST_F(DatabaseTest, TransactionRollsBackWhenNotCommitted)
{
    try {
        Transaction tx(dm.ADOConnection1);
        run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));
        run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('坏','x')"));
        tx.commit();
        FAIL() << "the second insert should fail";
    } catch (const DbError &) {
    }
    EXPECT_FALSE(dm.ADOConnection1.inTransaction());
    EXPECT_EQ(one(QStringLiteral("select count(*) from 兑换项目")), QStringLiteral("0"));
    {
        Transaction tx(dm.ADOConnection1);
        run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));
        tx.commit();
    }
    EXPECT_EQ(one(QStringLiteral("select count(*) from 兑换项目")), QStringLiteral("1"));
}

TEST_F(DatabaseTest, BackupIsAConsistentKeyedCopy)
{
    run(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));
    const QString target = dir.filePath(QStringLiteral("copy.bak"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup");
    old.close();
    dm.ADOConnection1.backupTo(target);
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("-wal")));

    TDM1 other;
    other.connectTo(target);
    EXPECT_EQ(other.scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name<>'sqlite_sequence'")),
              QStringLiteral("13"));
    EXPECT_EQ(other.scalar(QStringLiteral("select 兑换项目 from 兑换项目")), QStringLiteral("毛巾"));

    // A target that cannot be written leaves an error, not a half file.
    EXPECT_THROW(dm.ADOConnection1.backupTo(dir.filePath(QStringLiteral("no/such/dir/x.bak"))), DbError);
}

TEST_F(DatabaseTest, ModelFollowsItsQuery)
{
    QueryModel model(&dm.ADOQuery4);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    dm.ADOQuery4.open(); // its initial text
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("卡类别"));
    run(QStringLiteral("insert into 卡类别([卡类别],[折扣]) values ('金卡','90')"));
    TDM1::select(dm.ADOQuery4, QStringLiteral("select * from 卡类别 order by 折扣"));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("金卡"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("90"));
    dm.ADOQuery4.close();
    EXPECT_EQ(model.rowCount(), 0);
}
