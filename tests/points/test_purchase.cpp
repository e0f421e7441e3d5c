#include "core/paths.h"
#include "core/sqlquote.h"
#include "points/linegrid.h"
#include "points/receipt.h"
#include "points/salewindow.h"
#include "tests/support/programfixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using core::q;
using points::ProductLineGrid;
using points::Tzengjiajifen;

class PurchaseTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=青禾理发店\r\n"));
        ASSERT_TRUE(startAndLogIn());
        exec(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('会员卡','10','90','100')"));
        member(QStringLiteral("1001"), QStringLiteral("王小明"), QStringLiteral("会员卡"), 50);
        member(QStringLiteral("1002"), QStringLiteral("O'Brien"), QStringLiteral("积分卡"), 90);
        product(QStringLiteral("P01"), QStringLiteral("洗发水"), QStringLiteral("瓶"), QStringLiteral("45"));
        product(QStringLiteral("P02"), QStringLiteral("护发素"), QStringLiteral("瓶"), QStringLiteral("38.5"));
        product(QStringLiteral("S01"), QStringLiteral("剪发"), QStringLiteral("次"), QStringLiteral("30"));
        prompts.clear();
        mainWindow->entry(QStringLiteral("N35"))->trigger();
        auto subs = mainWindow->mdiArea()->subWindowList();
        ASSERT_EQ(subs.size(), 1);
        w = qobject_cast<Tzengjiajifen *>(subs[0]->widget());
        ASSERT_TRUE(w);
        QApplication::setActiveWindow(mainWindow.get());
    }

    void member(const QString &card, const QString &name, const QString &category, double points)
    {
        exec(QStringLiteral("insert into 会员卡信息([会员卡号],[卡类别],[会员姓名],[性别],[手机],[积分],[起用日期],[口头挂失标志]) "
                            "values (%1,%2,%3,'男','13900000000',%4,'2025-01-02',false)")
                 .arg(q(card), q(category), q(name), core::qNumber(points)));
    }
    void product(const QString &code, const QString &name, const QString &unit, const QString &price)
    {
        exec(QStringLiteral("insert into 商品档案([所属类别],[商品编号],[商品名称],[单位],[预设单价]) values ('洗护',%1,%2,%3,%4)")
                 .arg(q(code), q(name), q(unit), q(price)));
    }
    template <typename T = QLineEdit>
    T *find(const char *name) const
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    QString label(const char *name) const { return find<QLabel>(name)->text(); }
    void swipe(const QString &card)
    {
        QLineEdit *e = find("Edit1");
        e->setFocus();
        e->clear();
        QTest::keyClicks(e, card);
        QTest::keyClick(e, Qt::Key_Return);
    }
    void pickProduct(const QString &text)
    {
        QLineEdit *e = find("Edit2");
        e->setText(text); // QTest types ASCII only
        QTest::keyClick(e, Qt::Key_Return);
        auto *grid = find<QTableView>("DBGridEh2");
        ASSERT_GT(grid->model()->rowCount(), 0) << text.toStdString();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        emit grid->doubleClicked(grid->currentIndex());
    }
    void typeQuantity(int line, const QString &qty)
    {
        auto *grid = w->lines();
        grid->setCurrentCell(line, ProductLineGrid::Quantity);
        grid->item(line, ProductLineGrid::Quantity)->setText(qty); // as an editor commits it
        grid->setCurrentCell(line, ProductLineGrid::Price);
    }
    QString one(const QString &sql) { return scalar(sql); }

    Tzengjiajifen *w = nullptr;
};

TEST_F(PurchaseTest, ASaleOfThreeLinesPostsWithDiscountPointsAndReceipt)
{
    const QString port = dir.filePath(QStringLiteral("pos.out"));
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=青禾理发店\r\n打印小票=1\r\n打印机=0\r\n打印端口=%1\r\n小票尾=谢谢惠顾\r\n").arg(port));
    EXPECT_FALSE(find<QPushButton>("BitBtn1")->isEnabled());

    swipe(QStringLiteral("1001"));
    EXPECT_EQ(find("Edit3")->text(), QStringLiteral("王小明"));
    EXPECT_EQ(label("Label16"), QStringLiteral("会员卡"));
    EXPECT_EQ(label("Label26"), QStringLiteral("50"));
    EXPECT_EQ(label("Label30"), QStringLiteral("0"));
    EXPECT_EQ(label("Label20"), QStringLiteral("0"));
    EXPECT_EQ(find("Edit7")->text(), QStringLiteral("90"));
    EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_TRUE(find("Edit12")->isEnabled());
    EXPECT_TRUE(find("Edit2")->hasFocus());

    pickProduct(QStringLiteral("洗发"));
    pickProduct(QStringLiteral("P02"));
    pickProduct(QStringLiteral("剪"));
    typeQuantity(1, QStringLiteral("2"));
    // 45 + 2 x 38.5 + 30 = 152; 90 % = 136.8; ratio 10 -> 13.68 points.
    EXPECT_EQ(find("Edit12")->text(), QStringLiteral("152"));
    EXPECT_EQ(find("Edit8")->text(), QStringLiteral("136.8"));
    EXPECT_EQ(find("Edit13")->text(), QStringLiteral("13.68"));

    find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("增加积分成功！")});
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='1001'")), QStringLiteral("63.68"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录 where 编号='0000000001' and 增减积分=13.68 and 会员姓名='王小明'")),
              QStringLiteral("1"));
    EXPECT_EQ(one(QStringLiteral("select group_concat(商品 || ':' || 数量 || ':' || 消费金额, ',') from 消费记录 where 编号='0000000001'")),
              QStringLiteral("洗发水:1.0:40.5,护发素:2.0:69.3,剪发:1.0:27.0"));

    // The receipt as bytes on the configured port.
    QFile f(port);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    points::PurchaseReceipt r;
    r.storeName = QStringLiteral("青禾理发店");
    r.cardNumber = QStringLiteral("1001");
    r.memberName = QStringLiteral("王小明");
    r.products = {QStringLiteral("洗发水"), QStringLiteral("护发素"), QStringLiteral("剪发")};
    r.amount = QStringLiteral("136.8");
    r.points = QStringLiteral("13.68");
    r.balance = QStringLiteral("63.68");
    r.operatorNumber = QStringLiteral("0001");
    r.footer = QStringLiteral("谢谢惠顾");
    const QList<QByteArray> got = bytes.split('\n');
    // Same bytes apart from the clock line.
    const int clockLine = 12; // after 3 products
    const QByteArray when = got.value(clockLine);
    ASSERT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d   \\d\\d:\\d\\d:\\d\\d\r$")).match(QString::fromLatin1(when)).hasMatch())
        << when.toStdString();
    r.when = QDateTime::fromString(QString::fromLatin1(when.trimmed()), QStringLiteral("yyyy-MM-dd   HH:mm:ss"));
    EXPECT_EQ(bytes, points::purchaseReceiptBytes(r));

    // Reset for the next card.
    EXPECT_TRUE(find("Edit1")->text().isEmpty());
    EXPECT_TRUE(find("Edit3")->text().isEmpty());
    EXPECT_FALSE(find<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_TRUE(w->lines()->text(0, ProductLineGrid::Name).isEmpty());
    EXPECT_EQ(w->shownLedgerNumber(), QStringLiteral("0000000002"));
    EXPECT_EQ(w->lines()->rowCount(), 20);
}

TEST_F(PurchaseTest, RefusedCardsLoadNothingAndWriteNothing)
{
    member(QStringLiteral("1003"), QStringLiteral("挂失者"), QStringLiteral("积分卡"), 5);
    exec(QStringLiteral("update 会员卡信息 set 口头挂失标志=true where 会员卡号='1003'"));
    exec(QStringLiteral("insert into 挂失记录([旧卡号],[新卡号],[会员姓名]) values ('1002','2002','O''Brien')"));
    exec(QStringLiteral("insert into 口头挂失记录([会员卡号],[会员姓名]) values ('1003','挂失者')"));

    swipe(QStringLiteral("1001"));
    const struct { const char *card; const char *text; const char *caption; ui::Icon icon; int answer; } cases[] = {
        {"1002", "此卡已经更换，不能使用,需要打开换卡记录吗？", "系统提示", ui::Icon::Question, ui::Ok},
        {"1003", "此卡已经挂失，不能使用,需要打开挂失记录吗？", "系统提示", ui::Icon::Question, ui::Ok},
        {"9999", "此卡号不存在！", "提示", ui::Icon::Error, ui::Ok},
        {"1002", "此卡已经更换，不能使用,需要打开换卡记录吗？", "系统提示", ui::Icon::Question, ui::Cancel},
    };
    for (const auto &c : cases) {
        prompts.clear();
        prompts.answer(c.answer);
        swipe(QString::fromLatin1(c.card));
        ASSERT_EQ(prompts.shown.size(), 1) << c.card;
        EXPECT_EQ(prompts.shown[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(prompts.shown[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(prompts.shown[0].icon, c.icon);
        // The earlier member stays on screen and unlocked.
        EXPECT_EQ(find("Edit3")->text(), QStringLiteral("王小明")) << c.card;
        EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());
    }
    // OK filled the history queries for the card.
    EXPECT_EQ(dm->ADOQuery9.recordCount(), 1);
    EXPECT_EQ(dm->ADOQuery9.asString(QStringLiteral("新卡号")), QStringLiteral("2002"));
    EXPECT_EQ(dm->ADOQuery10.asString(QStringLiteral("会员卡号")), QStringLiteral("1003"));

    // A posting now still addresses the member on screen, not the number typed last.
    find("Edit12")->setText(QStringLiteral("20"));
    prompts.clear();
    find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(one(QStringLiteral("select 会员卡号 || '/' || 增减积分 from 流水记录")), QStringLiteral("1001/1.8"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录 where 会员卡号<>'1001'")), QStringLiteral("0"));
}

TEST_F(PurchaseTest, NameSearchPicksTheMemberAndASearchLocksPosting)
{
    swipe(QStringLiteral("1001"));
    EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());
    QLineEdit *name = find("Edit3");
    name->setFocus();
    name->setText(QStringLiteral("Bri"));
    QTest::keyClick(name, Qt::Key_Return);
    auto *list = find<QGroupBox>("GroupBoxMembers");
    auto *grid = find<QTableView>("DBGridEh1");
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("手机"));
    // The panel is empty and nothing can be posted until a member is picked.
    EXPECT_TRUE(find("Edit1")->text().isEmpty());
    EXPECT_TRUE(label("Label16").isEmpty());
    EXPECT_FALSE(find<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_FALSE(find("Edit12")->isEnabled());

    grid->setCurrentIndex(grid->model()->index(0, 0));
    emit grid->doubleClicked(grid->currentIndex());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(find("Edit1")->text(), QStringLiteral("1002"));
    EXPECT_EQ(find("Edit3")->text(), QStringLiteral("O'Brien"));
    EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());

    // A total typed by hand, no lines: one ledger row, no consumption rows.
    find("Edit12")->setText(QStringLiteral("12.345"));
    EXPECT_EQ(find("Edit13")->text(), QStringLiteral("12.35"));
    prompts.clear();
    find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("增加积分成功！")});
    EXPECT_EQ(one(QStringLiteral("select 会员姓名 || '/' || 增减积分 from 流水记录")), QStringLiteral("O'Brien/12.35"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 消费记录")), QStringLiteral("0"));
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='1002'")), QStringLiteral("102.35"));
}

TEST_F(PurchaseTest, AutomaticCardChangeAtThreshold)
{
    exec(QStringLiteral("update 自动变卡 set 自动变卡='是'"));
    exec(QStringLiteral("insert into 卡类别([卡类别],[积分比例],[折扣],[自动变卡下限]) values ('金卡','1','80','500')"));
    exec(QStringLiteral("update 卡类别 set 自动变卡下限='100' where 卡类别='会员卡'"));
    swipe(QStringLiteral("1002")); // 90 points, 积分卡: ratio 1, discount 100
    find("Edit12")->setText(QStringLiteral("20"));
    EXPECT_EQ(find("Edit13")->text(), QStringLiteral("20"));
    find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(one(QStringLiteral("select 卡类别 from 会员卡信息 where 会员卡号='1002'")), QStringLiteral("会员卡"));
}

TEST_F(PurchaseTest, AFailedPostingShowsItsErrorOnlyAndKeepsTheWindow)
{
    swipe(QStringLiteral("1001"));
    pickProduct(QStringLiteral("P01"));
    find("Edit10")->setText(QStringLiteral("abc")); // referrer points that are no number
    prompts.clear();
    find<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].icon, ui::Icon::None);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("voduradodazoza"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("abc")));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("0"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from 消费记录")), QStringLiteral("0"));
    EXPECT_EQ(one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='1001'")), QStringLiteral("50"));
    EXPECT_EQ(find("Edit3")->text(), QStringLiteral("王小明"));
    EXPECT_EQ(w->lines()->text(0, ProductLineGrid::Name), QStringLiteral("洗发水"));
}

TEST_F(PurchaseTest, LineGridRules)
{
    swipe(QStringLiteral("1001"));
    ProductLineGrid *grid = w->lines();
    // All lines taken: the pick does nothing; five more lines make room.
    for (int i = 0; i < grid->rowCount(); ++i)
        grid->setText(i, ProductLineGrid::Code, QStringLiteral("x"));
    pickProduct(QStringLiteral("P01"));
    EXPECT_TRUE(find<QGroupBox>("GroupBoxProducts")->isVisible());
    find<QPushButton>("BitBtn12")->click();
    EXPECT_EQ(grid->rowCount(), 25);
    EXPECT_EQ(grid->text(24, ProductLineGrid::No), QStringLiteral("25"));
    for (int i = 0; i < 20; ++i)
        grid->setText(i, ProductLineGrid::Code, QString());
    grid->clearLines();

    // The same product twice fills two lines.
    pickProduct(QStringLiteral("P01"));
    pickProduct(QStringLiteral("P01"));
    EXPECT_EQ(grid->text(1, ProductLineGrid::Name), QStringLiteral("洗发水"));
    EXPECT_EQ(find("Edit12")->text(), QStringLiteral("90"));

    // Delete asks first; Cancel keeps the line.
    grid->setCurrentCell(0, ProductLineGrid::Name);
    prompts.clear();
    prompts.answer(ui::Cancel);
    find<QPushButton>("BitBtn11")->click();
    EXPECT_EQ(grid->rowCount(), 25);
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("确实删除该行？")});
    find<QPushButton>("BitBtn11")->click();
    EXPECT_EQ(grid->rowCount(), 24);
    EXPECT_EQ(grid->text(0, ProductLineGrid::No), QStringLiteral("1"));
    EXPECT_EQ(find("Edit12")->text(), QStringLiteral("45"));
    // Deleting the only priced line leaves the total as it was.
    find<QPushButton>("BitBtn11")->click();
    EXPECT_EQ(find("Edit12")->text(), QStringLiteral("45"));

    // A half line is refused at posting and becomes current.
    grid->setText(3, ProductLineGrid::Group, QStringLiteral("洗护"));
    prompts.clear();
    find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("请将商品表格填写完整！")});
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_EQ(one(QStringLiteral("select count(*) from 流水记录")), QStringLiteral("0"));
}

TEST_F(PurchaseTest, ReceiptTemplateWhenThePrinterKeyIsMissing)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=青禾理发店\r\n打印小票=1\r\n"));
    swipe(QStringLiteral("1001"));
    pickProduct(QStringLiteral("S01"));
    prompts.clear();
    find<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].kind, QStringLiteral("preview"));
    EXPECT_EQ(dm->ADOQuery17.recordCount(), 1);
    EXPECT_EQ(dm->ADOQuery16.asString(QStringLiteral("编号")), QStringLiteral("0000000001"));
    const QString pdf = dir.filePath(QStringLiteral("receipt.pdf"));
    ASSERT_TRUE(prompts.renderPreview(0, pdf));
    EXPECT_GT(QFileInfo(pdf).size(), 500);
}
