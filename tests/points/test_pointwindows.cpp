#include "core/sqlquote.h"
#include "points/linegrid.h"
#include "points/pointwindows.h"
#include "points/receipt.h"
#include "points/salewindow.h"
#include "tests/support/programfixture.h"
#include "widgets/forms.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTableView>
#include <QTest>

using core::q;
using points::ProductLineGrid;
using points::RedemptionGrid;

namespace {

// The three point windows other than the purchase, opened from their entries.
class PointWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=青禾理发店\r\n"));
        ASSERT_TRUE(startAndLogIn());
        exec(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('会员卡','10','90','100')"));
        exec(QStringLiteral("insert into 会员卡信息([会员卡号],[卡类别],[会员姓名],[积分],[身份证号]) values "
                            "('2001','会员卡','李四','100','330102199001011234')"));
        exec(QStringLiteral("insert into 商品档案([所属类别],[商品编号],[商品名称],[单位],[预设单价]) values "
                            "('洗护','P100','护理套装','套','100')"));
        exec(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));
        QApplication::setActiveWindow(mainWindow.get());
        prompts.clear();
    }

    QWidget *open(const char *entry)
    {
        mainWindow->entry(QString::fromLatin1(entry))->trigger();
        QMdiSubWindow *sub = mainWindow->mdiArea()->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    template <typename T = QLineEdit>
    T *find(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void swipe(QWidget *w, const QString &card)
    {
        QLineEdit *e = find(w, "Edit1");
        e->setText(card);
        QTest::keyClick(e, Qt::Key_Return);
    }
    QString one(const QString &sql) { return scalar(sql); }
    QStringList ledger()
    {
        core::TDM1::select(dm->ADOall, QStringLiteral("select 编号,增减积分,增减原因,ifnull([退/换货说明],''),ifnull(兑换礼品,'') "
                                                     "from 流水记录 order by rowid"));
        QStringList rows;
        for (dm->ADOall.first(); !dm->ADOall.eof(); dm->ADOall.next()) {
            QStringList cells;
            for (int c = 0; c < dm->ADOall.columnCount(); ++c)
                cells << core::Query::toText(dm->ADOall.cell(dm->ADOall.recNo(), c));
            rows << cells.join(u'|');
        }
        return rows;
    }
};

} // namespace

TEST_F(PointWindowTest, ReturnOfOneLineTakesThePointsOffWithNegativeRowsAndReceipt)
{
    const QString port = dir.filePath(QStringLiteral("pos.out"));
    writeSettings(QStringLiteral("[程序参数]\r\n店铺名称=青禾理发店\r\n打印小票=1\r\n打印机=0\r\n打印端口=%1\r\n小票尾=\r\n").arg(port));
    QWidget *w = open("N36");
    ASSERT_TRUE(qobject_cast<points::Ttuihuo *>(w));
    EXPECT_TRUE(find<QLabel>(w, "Label22")->isVisible());
    EXPECT_EQ(find<QLabel>(w, "Label22")->text(), QStringLiteral("0000000001"));
    swipe(w, QStringLiteral("2001"));
    EXPECT_EQ(find(w, "Edit7")->text(), QStringLiteral("90"));
    EXPECT_TRUE(find(w, "Edit7")->isVisible());

    QLineEdit *barcode = find(w, "Edit10");
    barcode->setText(QStringLiteral("nothing"));
    QTest::keyClick(barcode, Qt::Key_Return);
    EXPECT_TRUE(barcode->text().isEmpty());
    barcode->setText(QStringLiteral("P100"));
    QTest::keyClick(barcode, Qt::Key_Return);
    EXPECT_TRUE(barcode->text().isEmpty());
    EXPECT_EQ(find(w, "Edit12")->text(), QStringLiteral("100"));
    EXPECT_EQ(find(w, "Edit8")->text(), QStringLiteral("90"));
    EXPECT_EQ(find(w, "Edit13")->text(), QStringLiteral("9"));
    find(w, "Edit9")->setText(QStringLiteral("尺码不合"));
    find<QPushButton>(w, "BitBtn1")->click();

    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("退/换货减少积分成功！")});
    EXPECT_EQ(ledger(), QStringList{QStringLiteral("0000000001|-9|退货|尺码不合|")});
    EXPECT_EQ(one(QStringLiteral("select 数量 || '/' || 消费金额 || '/' || 增减原因 || '/' || [退/换货说明] from 消费记录")),
              QStringLiteral("-1.0/-90.0/退货/尺码不合"));
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='2001'")), QStringLiteral("91"));

    // The receipt, line by line as the printer gets it.
    QFile f(port);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_GE(lines.size(), 13);
    const QStringList expected = {
        QStringLiteral("          欢 迎 光 临"), QStringLiteral("           青禾理发店"),
        QStringLiteral("~~~~~~~退/换货减少积分~~~~~~~~~"), QStringLiteral("会员卡号： 2001"),
        QStringLiteral("会员姓名： 李四"), QStringLiteral("退货商品： 洗护"), QStringLiteral("退货金额： 90"),
        QStringLiteral("减少积分： 9"), QStringLiteral("现有积分： 91"), QString(32, u'~')};
    QByteArray head;
    QStringEncoder gbk("GBK");
    for (const QString &l : expected)
        head += QByteArray(gbk.encode(l)) + "\r\n";
    EXPECT_TRUE(bytes.startsWith(head));
    EXPECT_EQ(lines[11], QByteArray(gbk.encode(QStringLiteral("经手人： 0001\r"))));
    EXPECT_TRUE(bytes.endsWith(QByteArray(32, '~') + "\r\n\x0B\x1B\x4A\x8C\x0A"));
}

TEST_F(PointWindowTest, ExchangeWithATypedPriceDifferenceAndNoLines)
{
    exec(QStringLiteral("update 自动变卡 set 自动变卡='是'"));
    QWidget *w = open("N36");
    swipe(w, QStringLiteral("2001"));
    w->findChildren<QRadioButton *>().at(1)->setChecked(true); // 换货
    QLineEdit *difference = find(w, "Edit8");
    difference->clear();
    QTest::keyClicks(difference, QStringLiteral("3x5.5")); // the x is dropped
    EXPECT_EQ(difference->text(), QStringLiteral("35.5"));
    EXPECT_EQ(find(w, "Edit13")->text(), QStringLiteral("3.55"));
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(ledger(), QStringList{QStringLiteral("0000000001|-3.55|换货||")});
    EXPECT_EQ(one(QStringLiteral("select count(*) from 消费记录")), QStringLiteral("0"));
    // 96.45 points: below the category's threshold of 100, down to 积分卡.
    EXPECT_EQ(one(QStringLiteral("select 卡类别 from 会员卡信息 where 会员卡号='2001'")), QStringLiteral("积分卡"));
    // The choice stays for the next customer.
    EXPECT_TRUE(w->findChildren<QRadioButton *>().at(1)->isChecked());
}

TEST_F(PointWindowTest, RedemptionNamesTheItemsAndChecksTheStoredBalance)
{
    QWidget *w = open("N37");
    ASSERT_TRUE(qobject_cast<points::Txiaofeijifen *>(w));
    swipe(w, QStringLiteral("2001"));
    EXPECT_TRUE(find(w, "Edit7")->hasFocus());
    find(w, "Edit7")->setText(QStringLiteral("毛"));
    QTest::keyClick(find(w, "Edit7"), Qt::Key_Return); // Enter does not search
    EXPECT_EQ(dm->ADOQuery19.recordCount(), 0);
    find<QPushButton>(w, "BitBtn9")->click();
    auto *items = find<QTableView>(w, "DBGridEh2");
    ASSERT_EQ(items->model()->rowCount(), 1);
    emit items->doubleClicked(items->model()->index(0, 0));
    auto *grid = w->findChild<RedemptionGrid *>();
    grid->setCurrentCell(0, RedemptionGrid::Quantity);
    grid->item(0, RedemptionGrid::Quantity)->setText(QStringLiteral("3"));
    EXPECT_EQ(find(w, "Edit2")->text(), QStringLiteral("90"));

    // Another counter spends 20 meanwhile: the screen still shows 100.
    exec(QStringLiteral("update 会员卡信息 set 积分=积分-20 where 会员卡号='2001'"));
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("兑换积分大于现有积分，不能保存！")});
    EXPECT_EQ(prompts.shown.last().icon, ui::Icon::Error);
    EXPECT_TRUE(ledger().isEmpty());
    EXPECT_EQ(grid->text(0, RedemptionGrid::Item), QStringLiteral("毛巾")); // kept for another try

    grid->item(0, RedemptionGrid::Quantity)->setText(QStringLiteral("2"));
    prompts.clear();
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("兑换积分成功！该会员剩余积分为：20！")});
    EXPECT_EQ(ledger(), QStringList{QStringLiteral("0000000001|-60|积分兑换||毛巾(2)")});
    EXPECT_FALSE(find<QPushButton>(w, "BitBtn1")->isEnabled());
    EXPECT_TRUE(grid->text(0, RedemptionGrid::Item).isEmpty());
}

TEST_F(PointWindowTest, RedemptionRefusals)
{
    QWidget *w = open("N16");
    ASSERT_TRUE(qobject_cast<points::Txiaofeijifen *>(w));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("消费积分"));
    swipe(w, QStringLiteral("2001"));
    auto *grid = w->findChild<RedemptionGrid *>();
    const struct { const char *points; const char *message; } cases[] = {
        {"", "兑换积分小于或等于零，不能保存！"},
        {"0", "兑换积分小于或等于零，不能保存！"},
        {"100.5", "兑换积分大于现有积分，不能保存！"},
    };
    for (const auto &c : cases) {
        prompts.clear();
        find(w, "Edit2")->setText(QString::fromLatin1(c.points));
        find<QPushButton>(w, "BitBtn1")->click();
        EXPECT_EQ(prompts.messageTexts(), QStringList{QString::fromUtf8(c.message)}) << c.points;
    }
    // A line with an item but no points per item is incomplete.
    grid->setText(2, RedemptionGrid::Item, QStringLiteral("雨伞"));
    prompts.clear();
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("请将兑换项目表格填写完整！")});
    EXPECT_EQ(grid->currentRow(), 2);
    grid->setText(2, RedemptionGrid::Item, QString());
    // Exactly all the points may go.
    find(w, "Edit2")->setText(QStringLiteral("100"));
    prompts.clear();
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("兑换积分成功！该会员剩余积分为：0！")});
    EXPECT_TRUE(ledger().size() == 1);
}

TEST_F(PointWindowTest, OtherCreditsKeepTheMemberAndShowTheNewBalance)
{
    exec(QStringLiteral("update 自动变卡 set 自动变卡='是'"));
    exec(QStringLiteral("update 卡类别 set 自动变卡下限='102' where 卡类别='会员卡'"));
    exec(QStringLiteral("update 会员卡信息 set 卡类别='积分卡' where 会员卡号='2001'"));
    QWidget *w = open("N13");
    ASSERT_TRUE(qobject_cast<points::Thuodejifen *>(w));
    swipe(w, QStringLiteral("2001"));
    EXPECT_TRUE(find(w, "Edit2")->hasFocus());
    prompts.clear();
    find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("积分增加小于或等于零，不能保存！")});

    find(w, "Edit2")->setText(QStringLiteral("2.5"));
    find(w, "Edit7")->setText(QStringLiteral("生日赠送 "));
    for (int i = 0; i < 2; ++i)
        find<QPushButton>(w, "BitBtn1")->click();
    EXPECT_EQ(ledger(), (QStringList{QStringLiteral("0000000001|2.5|生日赠送 ||"),
                                     QStringLiteral("0000000002|2.5|生日赠送 ||")}));
    EXPECT_EQ(find<QLabel>(w, "Label26")->text(), QStringLiteral("105"));
    EXPECT_EQ(find<QLabel>(w, "Label22")->text(), QStringLiteral("0000000003"));
    EXPECT_EQ(find(w, "Edit3")->text(), QStringLiteral("李四"));
    // The second posting's card change starts from 105, not the 100 shown at the lookup.
    EXPECT_EQ(one(QStringLiteral("select 卡类别 from 会员卡信息 where 会员卡号='2001'")), QStringLiteral("会员卡"));
}

TEST_F(PointWindowTest, EveryInputControlHasAnAccessibleName)
{
    for (const char *entry : {"N35", "N36", "N37", "N13"}) {
        QWidget *w = open(entry);
        ASSERT_TRUE(w) << entry;
        QStringList unnamed;
        for (QWidget *c : ui::unnamedInputs(w))
            unnamed << QString::fromLatin1(c->metaObject()->className()) + u'/' + c->parentWidget()->objectName();
        EXPECT_TRUE(unnamed.isEmpty()) << entry << ": " << unnamed.join(u',').toStdString();
    }
}
