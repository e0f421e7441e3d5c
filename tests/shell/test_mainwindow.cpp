#include "tests/support/programfixture.h"
#include "widgets/forms.h"
#include "shell/tloginform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=测试店\r\n"));
        ASSERT_TRUE(startAndLogIn());
        prompts.clear();
    }
    QList<QMdiSubWindow *> children() const { return mainWindow->mdiArea()->subWindowList(); }
};

TEST_F(MainWindowTest, MenusHoldEveryEntryWithCaptionAndVisibility)
{
    const struct { const char *menu; QStringList entries; } expected[] = {
        {"系统设置", {"N2 操作人员及权限设置", "N11 修改密码", "N7 店铺名称及小票打印设置", "N3 数据备份", "N12 数据恢复",
                      "N5 积分手动清零", "N6 历史数据清除", "N4 数据初始化", "N8 退出系统"}},
        {"基本信息设置", {"N46 商品档案预录入", "N17 兑换项目设置"}},
        {"会员卡管理", {"N44 引荐人增加积分设置", "N29 新增修改会员信息", "N30 会员查询",
                        "N31 全部会员信息", "N32 会员卡挂失及取消", "N33 会员卡更换"}},
        {"基本业务", {"N35 购买积分", "-", "N37 积分兑换", "-"}},
        {"查询报表", {"N39 会员积分增减历史记录", "N43 会员消费记录", "N40 会员卡挂失记录", "N41 会员卡更换历史记录",
                      "N42 会员生日提醒"}},
        {"系统帮助", {"N27 帮助", "N28 关于"}},
    };
    const QList<QAction *> menus = mainWindow->menuBar()->actions();
    ASSERT_EQ(menus.size(), int(std::size(expected)));
    for (int i = 0; i < menus.size(); ++i) {
        EXPECT_EQ(menus[i]->text(), QString::fromUtf8(expected[i].menu));
        QStringList got;
        for (QAction *a : menus[i]->menu()->actions())
            got << (a->isSeparator() ? QStringLiteral("-")
                                     : a->objectName() + u' ' + a->text() + (a->isVisible() ? QString() : QStringLiteral(" hidden")));
        EXPECT_EQ(got, expected[i].entries);
    }
    // Entries that exist with their flags but are never shown, and work when invoked.
    const struct { const char *name; const char *caption; } hidden[] = {
        {"N10", "会员卡类别设置"}, {"N13", "其他途径获取积分"}, {"N36", "退/换货减积分"}, {"N16", "消费积分"}};
    for (const auto &h : hidden) {
        QAction *a = mainWindow->entry(QString::fromLatin1(h.name));
        ASSERT_TRUE(a) << h.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(h.caption));
        EXPECT_TRUE(a->associatedObjects().contains(mainWindow.get()));
        for (QAction *m : mainWindow->menuBar()->actions())
            EXPECT_FALSE(m->menu()->actions().contains(a)) << h.name;
        int made = 0;
        mainWindow->registerWindow(a->objectName(), a->text(), [&made](TMAIN *) { ++made; return new QWidget; });
        a->trigger();
        EXPECT_EQ(made, 1) << h.name;
    }
}

TEST_F(MainWindowTest, ToolbarButtonsInOrder)
{
    auto *bar = mainWindow->findChild<QToolBar *>(QStringLiteral("RzToolbar1"));
    QStringList got;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator()) {
            got << QStringLiteral("|");
            continue;
        }
        auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        got << b->objectName() + u' ' + b->text() + (a->isVisible() ? QString() : QStringLiteral(" hidden"));
    }
    EXPECT_EQ(got, (QStringList{"RzToolButton9 购买积分", "RzToolButton11 退/换货减积分 hidden", "RzToolButton10 积分兑换", "|",
                                "RzToolButton4 会员管理", "RzToolButton12 会员查询", "|", "RzToolButton7 会员卡挂失及取消",
                                "RzToolButton8 会员卡更换", "|", "RzToolButton13 生日提醒", "|", "RzToolButton14 系统帮助", "|",
                                "RzToolButton5 暂时离开", "RzToolButton6 退出"}));
}

TEST_F(MainWindowTest, ChildWindowsOpenOncePerCaption)
{
    int made = 0;
    auto factory = [&made](TMAIN *) { ++made; return new QWidget; };
    mainWindow->registerWindow(QStringLiteral("N30"), QStringLiteral("会员查询"), factory);
    mainWindow->registerWindow(QStringLiteral("N37"), QStringLiteral("积分兑换"), factory);
    mainWindow->registerWindow(QStringLiteral("N16"), QStringLiteral("消费积分"), factory);

    QAction *query = mainWindow->entry(QStringLiteral("N30"));
    query->trigger();
    ASSERT_EQ(children().size(), 1);
    children()[0]->showMinimized();
    mainWindow->toolButton(QStringLiteral("RzToolButton12"))->click(); // toolbar invokes the entry
    ASSERT_EQ(children().size(), 1);
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(children()[0]->isMinimized());
    EXPECT_EQ(mainWindow->mdiArea()->activeSubWindow(), children()[0]);
    EXPECT_EQ(children()[0]->windowTitle(), QStringLiteral("会员查询"));

    // One class under two captions: both open side by side.
    mainWindow->entry(QStringLiteral("N37"))->trigger();
    mainWindow->entry(QStringLiteral("N16"))->trigger();
    EXPECT_EQ(children().size(), 3);

    // Closed, then chosen again: a fresh window.
    QPointer<QMdiSubWindow> first = children()[0];
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    query->trigger();
    EXPECT_EQ(made, 4);
    EXPECT_EQ(children().size(), 3);

    // A disabled entry does nothing, whichever way it is invoked.
    query->setEnabled(false);
    mainWindow->toolButton(QStringLiteral("RzToolButton12"))->setEnabled(false);
    for (QMdiSubWindow *s : children())
        s->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    query->trigger();
    QTest::mouseClick(mainWindow->toolButton(QStringLiteral("RzToolButton12")), Qt::LeftButton);
    EXPECT_TRUE(children().isEmpty());
}

TEST_F(MainWindowTest, TitleLabelsStayCentred)
{
    auto *l1 = mainWindow->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *l2 = mainWindow->findChild<QLabel *>(QStringLiteral("Label2"));
    EXPECT_EQ(l1->text(), QStringLiteral("测试店"));
    EXPECT_EQ(l2->text(), QStringLiteral("会 员 及 积 分 管 理 系 统"));
    for (const QSize size : {QSize(1024, 700), QSize(1400, 900)}) {
        mainWindow->showNormal();
        mainWindow->resize(size);
        QCoreApplication::processEvents();
        const int w = mainWindow->frameGeometry().width(), h = mainWindow->frameGeometry().height();
        EXPECT_EQ(l1->x(), (w - l1->width()) / 2);
        EXPECT_EQ(l2->x(), (w - l2->width()) / 2);
        EXPECT_EQ(l1->y(), (h - 4 * l1->height()) / 2);
        EXPECT_EQ(l2->y(), (h - l2->height()) / 2);
    }
}

TEST_F(MainWindowTest, HelpOpensTheFileWhenThereIsOne)
{
    mainWindow->toolButton(QStringLiteral("RzToolButton14"))->click();
    EXPECT_TRUE(prompts.documents.isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());
    QFile f(folder() + QStringLiteral("help.chm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    mainWindow->entry(QStringLiteral("N27"))->trigger();
    ASSERT_EQ(prompts.documents.size(), 1);
    EXPECT_EQ(prompts.documents[0].toLocalFile(), folder() + QStringLiteral("help.chm"));
}

TEST_F(MainWindowTest, AboutBoxClosesOnAClick)
{
    prompts.dialog([](QDialog *dlg) {
        dlg->show();
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("关于本系统"));
        QStringList texts;
        for (QLabel *l : dlg->findChildren<QLabel *>())
            texts << l->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("青禾voduradodazoza")));
        EXPECT_TRUE(texts.contains(QStringLiteral("程序版本：5.0.0.0")));
        QTest::mouseClick(dlg, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(dlg->isVisible());
        return dlg->result();
    });
    mainWindow->entry(QStringLiteral("N28"))->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("dialog"));
}

TEST_F(MainWindowTest, ControlsHaveAccessibleNamesAndQtSpeaksChinese)
{
    EXPECT_TRUE(ui::unnamedInputs(mainWindow.get()).isEmpty());
    Tloginform login(mainWindow.get());
    const auto unnamed = ui::unnamedInputs(&login);
    QStringList names;
    for (QWidget *w : unnamed)
        names << w->objectName();
    for (QWidget *w : unnamed)
        names << QString::fromLatin1(w->metaObject()->className()) + u'/' + w->parentWidget()->objectName();
    EXPECT_TRUE(unnamed.isEmpty()) << names.join(u',').toStdString();
    EXPECT_EQ(login.findChild<QWidget *>(QStringLiteral("edtpassword"))->accessibleName(), QStringLiteral("操作员密码"));

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(u'&'), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("取消"));
}
