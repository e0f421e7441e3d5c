#include "points/receipt.h"
#include "points/receipttemplate.h"

#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "tests/support/qtprint.h"
#include "tests/support/scriptedprompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace points;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

// The receipt split at CR LF, decoded, for a readable failure message.
QStringList receiptLines(const QByteArray &bytes)
{
    QStringList out;
    for (const QByteArray &line : bytes.split('\n'))
        out << fromGbk(line);
    return out;
}

QString repeated(const char *utf8, int times)
{
    return QString::fromUtf8(utf8).repeated(times);
}

} // namespace

// ---------------------------------------------------------------------------
// POS text receipt

// The golden file was written with iconv from hand-made lines and checked
// with xxd. It covers: the 11 blanks before a 10-byte store name, the
// full-width colons each followed by one ASCII blank, a quote kept as it is
// in a name, one line per product in order, the 24-hour time with three
// blanks after the date, the GBK-extension character 焗 (9F 68), a footer
// wrapped at 30 bytes because 欢 would straddle column 31, CR LF after every
// text line and the closing 0B 1B 4A 8C 0A with no CR LF in between.
TEST(PurchaseReceipt, BytesMatchGolden)
{
    PurchaseReceipt r;
    r.storeName = QStringLiteral("青禾理发店");
    r.cardNumber = QStringLiteral("80012345");
    r.memberName = QStringLiteral("O'Brien 陈");
    r.products = {QStringLiteral("洗剪吹"), QStringLiteral("焗油护理")};
    r.amount = QStringLiteral("88.5");
    r.points = QStringLiteral("88");
    r.balance = QStringLiteral("1288");
    r.when = QDateTime(QDate(2024, 3, 5), QTime(21, 7, 2));
    r.operatorNumber = QStringLiteral("0001");
    r.footer = QStringLiteral("谢谢惠顾！Tel: 0571-86001234，欢迎再来 Welcome back");

    const QByteArray golden = readFile(QStringLiteral(GOLDEN_DIR "/purchase_receipt.bin"));
    ASSERT_FALSE(golden.isEmpty()) << GOLDEN_DIR;
    const QByteArray bytes = purchaseReceiptBytes(r);
    EXPECT_EQ(receiptLines(bytes), receiptLines(golden));
    EXPECT_EQ(bytes.toHex(' ').toStdString(), golden.toHex(' ').toStdString());
}

TEST(PurchaseReceipt, NoProductNoFooterEmptyStore)
{
    PurchaseReceipt r;
    r.cardNumber = QStringLiteral("1");
    r.memberName = QStringLiteral("王");
    r.amount = QStringLiteral("0");
    r.points = QStringLiteral("0");
    r.balance = QStringLiteral("5");
    r.when = QDateTime(QDate(2023, 12, 31), QTime(0, 0, 9));
    r.operatorNumber = QStringLiteral("0002");
    r.footer = QStringLiteral("\r\n");

    const QByteArray bytes = purchaseReceiptBytes(r);
    ASSERT_TRUE(bytes.endsWith(QByteArray(32, '~') + "\r\n" + receiptClosing()));
    const QStringList lines = fromGbk(bytes.chopped(receiptClosing().size())).split(QStringLiteral("\r\n"));
    const QStringList expected{
        QStringLiteral("          欢 迎 光 临"),
        QString(16, u' '),
        QStringLiteral("~~~~~~~~~~~增加积分~~~~~~~~~~~~~"),
        QStringLiteral("会员卡号： 1"),
        QStringLiteral("会员姓名： 王"),
        QStringLiteral("消费金额： 0"),
        QStringLiteral("增加积分： 0"),
        QStringLiteral("现有积分： 5"),
        QString(32, u'~'),
        QStringLiteral("2023-12-31   00:00:09"),
        QStringLiteral("经手人： 0002"),
        QString(32, u'~'),
        QString(), // after the last CR LF
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(receiptClosing(), QByteArray::fromHex("0b1b4a8c0a"));
}

TEST(PurchaseReceipt, StoreLineCentring)
{
    const struct {
        QString name;
        int bytes;
        int blanks;
    } cases[] = {
        {QString(), 0, 16},
        {QStringLiteral("青禾理发"), 8, 12},
        {QStringLiteral("Hair Shop"), 9, 11}, // 23 / 2 truncated
        {QStringLiteral("青禾理发店"), 10, 11},
        {QStringLiteral("A") + repeated("店", 15), 31, 0},
        {repeated("店", 16), 32, 0},
        {repeated("店", 20), 40, 0},
    };
    for (const auto &c : cases) {
        const QByteArray line = centredStoreLine(c.name);
        EXPECT_EQ(line, QByteArray(c.blanks, ' ') + gbk(c.name)) << c.bytes;
        EXPECT_EQ(line.size(), c.blanks + c.bytes) << c.bytes;
    }
}

TEST(PurchaseReceipt, FooterWrapping)
{
    const QString x30(30, u'x');
    const struct {
        const char *what;
        QString footer;
        QStringList lines;
    } cases[] = {
        {"empty", QString(), {}},
        {"31 ASCII fit", QString(31, u'a'), {QString(31, u'a')}},
        {"32 ASCII", QString(32, u'a'), {QString(31, u'a'), QStringLiteral("a")}},
        {"15 Chinese then one ASCII fit", repeated("谢", 15) + u'x', {repeated("谢", 15) + u'x'}},
        {"16th Chinese after one ASCII starts a line", QStringLiteral("x") + repeated("谢", 16),
         {QStringLiteral("x") + repeated("谢", 15), QStringLiteral("谢")}},
        {"Chinese straddling column 31", QStringLiteral("xy") + repeated("谢", 15),
         {QStringLiteral("xy") + repeated("谢", 14), QStringLiteral("谢")}},
        {"all Chinese", repeated("惠", 40), {repeated("惠", 15), repeated("惠", 15), repeated("惠", 10)}},
        {"line breaks dropped", QStringLiteral("谢谢\r\n惠顾\n!"), {QStringLiteral("谢谢惠顾!")}},
        // A character outside GBK, even a surrogate pair, prints as one "?".
        {"outside GBK", x30 + QStringLiteral("😀y㐀"), {x30 + u'?', QStringLiteral("y?")}},
    };
    for (const auto &c : cases) {
        const QList<QByteArray> lines = wrapFooter(c.footer, 31);
        QStringList decoded;
        for (const QByteArray &line : lines) {
            EXPECT_LE(line.size(), 31) << c.what;
            decoded << fromGbk(line);
        }
        EXPECT_EQ(decoded, c.lines) << c.what;
    }
}

TEST(ReceiptPort, DevicePath)
{
    const struct {
        const char *port;
        const char *path;
    } cases[] = {
        {"lpt1", "/dev/lp0"},      {"LPT4", "/dev/lp3"},     {" Lpt2 ", "/dev/lp1"},
        {"lpt3", "/dev/lp2"},      {"lpt0", "lpt0"},         {"lpt5", "lpt5"},
        {"lpt12", "lpt12"},        {"lpt", "lpt"},           {"/dev/usb/lp0", "/dev/usb/lp0"},
        {"/tmp/receipt.txt", "/tmp/receipt.txt"},            {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(portDevicePath(QString::fromUtf8(c.port)), QString::fromUtf8(c.path)) << c.port;
}

TEST(ReceiptPort, WriteReplacesFileContent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("printer.out"));
    const QByteArray first = gbk(QStringLiteral("第一张\r\n")) + receiptClosing();
    ASSERT_TRUE(writeToPort(path, first));
    EXPECT_EQ(readFile(path), first);

    const QByteArray second("x\x8c", 2);
    ASSERT_TRUE(writeToPort(path, second));
    EXPECT_EQ(readFile(path), second);
}

TEST(ReceiptPort, FailuresAreSilent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString inMissingFolder = dir.filePath(QStringLiteral("missing/printer.out"));
    const QString missingDevice = QStringLiteral("/dev/no-such-receipt-printer");
    bool written = true;
    EXPECT_NO_THROW(written = writeToPort(inMissingFolder, "abc"));
    EXPECT_FALSE(written);
    EXPECT_FALSE(writeToPort(QString(), "abc"));
    EXPECT_FALSE(writeToPort(missingDevice, "abc"));
    // A missing printer must not leave a regular file in /dev.
    EXPECT_FALSE(QFile::exists(missingDevice));
}

// ---------------------------------------------------------------------------
// Receipt template

namespace {

class ReceiptTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("database.mdb"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(DELIVERED_DB), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        dm.connectTo(path);

        run(QStringLiteral("update 小票 set 店铺='王记',票尾='谢谢惠顾！\r\n欢迎再来'"));
        // The card number holds a quote: every value must go through q().
        run(QStringLiteral("insert into 会员卡信息 (会员卡号,会员姓名,积分) values (%1,'周敏',260)").arg(core::q(card)));
        run(QStringLiteral("insert into 会员卡信息 (会员卡号,会员姓名,积分) values ('B02','赵',999)"));
        run(QStringLiteral("insert into 流水记录 (编号,会员卡号,会员姓名,增减积分,经手人) values "
                           "('0000000007',%1,'周<b>敏',30,'0002')").arg(core::q(card)));
        run(QStringLiteral("insert into 流水记录 (编号,会员卡号,会员姓名,增减积分,经手人) values "
                           "('0000000008','B02','赵',100,'0009')"));
        run(QStringLiteral("insert into 消费记录 (编号,会员卡号,商品,数量,消费金额) values "
                           "('0000000007',%1,'洗&护',1,30.1)").arg(core::q(card)));
        run(QStringLiteral("insert into 消费记录 (编号,会员卡号,商品,数量,消费金额) values "
                           "('0000000008','B02','烫发',1,100)"));
        run(QStringLiteral("insert into 消费记录 (编号,会员卡号,商品,数量,消费金额) values "
                           "('0000000007',%1,'染发',2.5,0.2)").arg(core::q(card)));
    }
    void run(const QString &sql) { core::TDM1::execute(dm.ADOall, sql); }

    // The document's text with every line trimmed and empty lines dropped.
    static QStringList plainLines(const QString &html)
    {
        QTextDocument doc;
        doc.setHtml(html);
        QString text = doc.toPlainText();
        text.replace(QChar::LineSeparator, u'\n');
        QStringList out;
        for (const QString &line : text.split(u'\n')) {
            if (!line.trimmed().isEmpty())
                out << line.trimmed();
        }
        return out;
    }

    const QString card = QStringLiteral("A'01");
    QTemporaryDir dir;
    core::TDM1 dm;
};

} // namespace

TEST_F(ReceiptTemplateTest, QueriesOpenThePostingsRows)
{
    openReceiptQueries(dm, card, QStringLiteral("0000000007"));
    const struct {
        core::Query &query;
        QString sql;
        int rows;
    } cases[] = {
        {dm.ADOQuery14, QStringLiteral("select * from 小票 "), 1},
        {dm.ADOQuery15, QStringLiteral("select 积分 from 会员卡信息 where 会员卡号 ='A''01'"), 1},
        {dm.ADOQuery16, QStringLiteral("select * from 流水记录 where 编号 ='0000000007'"), 1},
        {dm.ADOQuery17, QStringLiteral("select * from 消费记录 where 编号 ='0000000007'"), 2},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.query.sql(), c.sql + QStringLiteral("\r\n"));
        EXPECT_TRUE(c.query.isOpen()) << c.sql.toStdString();
        EXPECT_EQ(c.query.recordCount(), c.rows) << c.sql.toStdString();
    }
}

TEST_F(ReceiptTemplateTest, PurchaseBandsInOrder)
{
    openReceiptQueries(dm, card, QStringLiteral("0000000007"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString html = purchaseTemplateHtml(dm, QStringLiteral("增加积分"));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QStringList lines = plainLines(html);
    const QString joined = lines.join(u'\n');

    // Title, header rows, detail lines, summary rows and footer, each a cell.
    const QStringList expected{
        QStringLiteral("欢迎光临"), QStringLiteral("王记"),
        QStringLiteral("增加积分"), QStringLiteral("经手人：0002"),
        QStringLiteral("卡号：A'01"), QStringLiteral("姓名：周<b>敏"),
        QStringLiteral("序号"), QStringLiteral("商品名"), QStringLiteral("数量"), QStringLiteral("消费金额"),
        QStringLiteral("1"), QStringLiteral("洗&护"), QStringLiteral("1"), QStringLiteral("30.1"),
        QStringLiteral("2"), QStringLiteral("染发"), QStringLiteral("2.5"), QStringLiteral("0.2"),
        QStringLiteral("合计金额：30.3"), QStringLiteral("增加积分：30"),
        QStringLiteral("现有积分：260"),
    };
    ASSERT_GE(lines.size(), expected.size() + 3) << joined.toStdString();
    EXPECT_EQ(lines.mid(0, expected.size()), expected) << joined.toStdString();

    const QString date = lines.value(expected.size());
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^日期：(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)$")).match(date);
    ASSERT_TRUE(m.hasMatch()) << date.toStdString();
    const QDateTime printed = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_TRUE(printed >= before && printed <= after) << date.toStdString();

    // The footer keeps its two lines and ends the document.
    EXPECT_EQ(lines.mid(expected.size() + 1),
              (QStringList{QStringLiteral("谢谢惠顾！"), QStringLiteral("欢迎再来")}));
    EXPECT_FALSE(joined.contains(QStringLiteral("烫发")));
    EXPECT_FALSE(joined.contains(QStringLiteral("999")));
    EXPECT_FALSE(html.contains(u'\r'));
}

TEST_F(ReceiptTemplateTest, PreviewRendersAPdf)
{
    ScriptedPrompts prompts;
    previewPurchaseReceipt(nullptr, dm, card, QStringLiteral("0000000007"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("preview"));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("打印预览"));

    // The page is built once; drawing it later must not go back to the queries.
    dm.ADOQuery17.close();
    const QString pdf = dir.filePath(QStringLiteral("receipt.pdf"));
    ASSERT_TRUE(prompts.renderPreview(0, pdf));
    const QByteArray bytes = readFile(pdf);
    EXPECT_GT(bytes.size(), 1000);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << bytes.left(16).toStdString();
}
