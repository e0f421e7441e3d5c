// A day at the counter on a fresh database, through the windows as an
// operator uses them: two registrations with a referral, a purchase, a
// return, a redemption and another credit.
#include "tests/support/programfixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace {

class CounterDay : public ProgramTest {
protected:
    QWidget *open(const char *entry)
    {
        mainWindow->entry(QString::fromLatin1(entry))->trigger();
        QMdiSubWindow *sub = mainWindow->mdiArea()->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    static QLineEdit *box(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    static QPushButton *button(QWidget *w, const char *name)
    {
        return w->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static void swipe(QWidget *w, const char *card)
    {
        QLineEdit *e = box(w, "Edit1");
        e->setFocus();
        e->setText(QString::fromLatin1(card));
        QTest::keyClick(e, Qt::Key_Return);
    }
    void registerMember(QWidget *w, const char *card, const QString &name, const char *referrer)
    {
        box(w, "Edit1")->setFocus();
        box(w, "Edit1")->setText(QString::fromLatin1(card));
        box(w, "Edit2")->setFocus();
        box(w, "Edit2")->setText(name);
        box(w, "Edit7")->setText(QString::fromLatin1(referrer));
        prompts.clear();
        button(w, "BitBtn1")->click();
        EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("新增会员成功！")}) << card;
    }
    QString one(const QString &sql) { return scalar(sql); }
    QString points(const char *card)
    {
        return one(QStringLiteral("select 积分 from 会员卡信息 where 会员卡号='%1'").arg(QString::fromLatin1(card)));
    }
};

} // namespace

TEST_F(CounterDay, RegistrationsAndEveryKindOfPosting)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=青禾理发店\r\n"));
    ASSERT_TRUE(startAndLogIn());
    QApplication::setActiveWindow(mainWindow.get());
    exec(QStringLiteral("insert into 商品档案([所属类别],[商品编号],[商品名称],[单位],[预设单价]) values ('洗护','P100','护理套装','套','100')"));
    exec(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('毛巾','30')"));

    QWidget *reg = open("N29");
    ASSERT_TRUE(reg);
    registerMember(reg, "A001", QStringLiteral("张三"), "");
    exec(QStringLiteral("update 引荐积分 set 引荐积分='5'"));
    registerMember(reg, "B001", QStringLiteral("O'Brien"), "A001");
    EXPECT_EQ(points("A001"), QStringLiteral("5"));
    EXPECT_EQ(one(QStringLiteral("select ifnull(编号,'null') || '/' || 会员卡号 || '/' || 增减积分 || '/' || 增减原因 from 流水记录")),
              QStringLiteral("null/A001/5.0/引荐会员"));

    // A purchase of 100 at discount 100 and ratio 1.
    QWidget *sale = open("N35");
    swipe(sale, "B001");
    box(sale, "Edit12")->setText(QStringLiteral("100"));
    button(sale, "BitBtn1")->click();
    EXPECT_EQ(points("B001"), QStringLiteral("100"));

    // The category now gives 90 % and one point per 10.
    exec(QStringLiteral("update 卡类别 set 折扣='90',积分比例='10' where 卡类别='积分卡'"));
    QWidget *back = open("N36");
    swipe(back, "B001");
    box(back, "Edit10")->setText(QStringLiteral("P100"));
    QTest::keyClick(box(back, "Edit10"), Qt::Key_Return);
    EXPECT_EQ(box(back, "Edit13")->text(), QStringLiteral("9"));
    button(back, "BitBtn1")->click();
    EXPECT_EQ(one(QStringLiteral("select 数量 || '/' || 消费金额 from 消费记录 where 增减原因='退货'")), QStringLiteral("-1.0/-90.0"));

    QWidget *spend = open("N37");
    swipe(spend, "B001");
    button(spend, "BitBtn9")->click();
    auto *items = spend->findChild<QTableView *>(QStringLiteral("DBGridEh2"));
    emit items->doubleClicked(items->model()->index(0, 0));
    auto *grid = spend->findChild<QTableWidget *>(QStringLiteral("AdvStringGrid1"));
    grid->setCurrentCell(0, 3);
    grid->item(0, 3)->setText(QStringLiteral("3"));
    button(spend, "BitBtn1")->click();

    QWidget *other = open("N13");
    swipe(other, "B001");
    box(other, "Edit2")->setText(QStringLiteral("2.5"));
    box(other, "Edit7")->setText(QStringLiteral("活动奖励"));
    button(other, "BitBtn1")->click();

    core::TDM1::select(dm->ADOall, QStringLiteral("select 编号,增减积分,增减原因,ifnull(兑换礼品,'') as 礼品 from 流水记录 "
                                                 "where 会员卡号='B001' order by 编号"));
    QStringList rows;
    for (dm->ADOall.first(); !dm->ADOall.eof(); dm->ADOall.next())
        rows << QStringList{dm->ADOall.asString(QStringLiteral("编号")), dm->ADOall.asString(QStringLiteral("增减积分")),
                            dm->ADOall.asString(QStringLiteral("增减原因")), dm->ADOall.asString(QStringLiteral("礼品"))}
                    .join(u'|');
    EXPECT_EQ(rows, (QStringList{QStringLiteral("0000000001|100|购物消费|"), QStringLiteral("0000000002|-9|退货|"),
                                 QStringLiteral("0000000003|-90|积分兑换|毛巾(3)"),
                                 QStringLiteral("0000000004|2.5|活动奖励|")}));
    EXPECT_EQ(points("B001"), QStringLiteral("3.5"));
    EXPECT_EQ(points("A001"), QStringLiteral("5"));
}
