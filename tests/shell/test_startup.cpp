#include "core/paths.h"
#include "core/tdm1.h"
#include "tests/support/programfixture.h"
#include "tests/support/wait.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>

using ui::Icon;

namespace {
const QString kConnectFail = QStringLiteral("无法连接到指定的数据库！请重试！");
const QString kExitQuestion = QStringLiteral("确实要退出本系统吗？");
const QString kStorePrompt = QStringLiteral("请设置您的店铺名称！");

} // namespace

TEST_F(ProgramTest, MissingOrUnreadableDatabaseEndsWithTheConnectionMessage)
{
    for (const bool missing : {true, false}) {
        const QString db = core::databasePath();
        QFile::remove(db);
        if (!missing) {
            QFile f(db);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, '\x5a'));
        }
        prompts.clear();
        EXPECT_FALSE(start(logIn(QStringLiteral("0001"), {})));
        ASSERT_EQ(prompts.shown.size(), 1) << "no login window after a failed connection";
        EXPECT_EQ(prompts.shown[0].text, kConnectFail);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("错误"));
        EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
        mainWindow.reset();
        dm.reset();
    }
}

TEST_F(ProgramTest, NoSettingsFileGivesTheDefaultsAndTheStorePrompt)
{
    ASSERT_TRUE(startAndLogIn());
    EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("青禾国医养生馆rodevarodV5.0.0.0"));
    EXPECT_EQ(mainWindow->titleLabel()->text(), QStringLiteral("青禾国医养生馆"));
    EXPECT_EQ(mainWindow->backgroundPath(), folder() + QStringLiteral("image/001.bmp"));
    EXPECT_TRUE(mainWindow->findChild<QLabel *>(QStringLiteral("Image1"))->isVisible());
    EXPECT_TRUE(mainWindow->reminderFlag());
    EXPECT_EQ(mainWindow->backupDefaultName(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));

    QSignalSpy birthdays(mainWindow->entry(QStringLiteral("N42")), &QAction::triggered);
    QSignalSpy store(mainWindow->entry(QStringLiteral("N7")), &QAction::triggered);
    ASSERT_TRUE(processUntil([&] { return store.count() == 1 && birthdays.count() == 1; }));
    EXPECT_EQ(prompts.messageTexts(), QStringList{kStorePrompt});
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.shown.last().icon, Icon::Error);
}

TEST_F(ProgramTest, SettingsDecideCaptionSloganBackgroundAndReminder)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=王记理发\r\n广告语=欢迎光临\r\n背景图片=\r\n"));
    ASSERT_TRUE(startAndLogIn());
    EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("王记理发rodevarodV5.0.0.0"));
    EXPECT_EQ(mainWindow->titleLabel()->text(), QStringLiteral("王记理发"));
    EXPECT_EQ(mainWindow->backgroundPath(), folder() + QStringLiteral("image/001.bmp"));
    EXPECT_FALSE(mainWindow->reminderFlag());
    QSignalSpy birthdays(mainWindow->entry(QStringLiteral("N42")), &QAction::triggered);
    processUntil([] { return false; }, 400); // both start-up timers have fired by now
    EXPECT_EQ(birthdays.count(), 0);
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}

TEST_F(ProgramTest, BadBackgroundPictureIsHiddenSilently)
{
    writeSettings(QStringLiteral("[程序参数]\r\n店铺名称=店\r\n背景图片=/no/such/picture.bmp\r\n提醒=abc\r\n"));
    ASSERT_TRUE(startAndLogIn());
    EXPECT_FALSE(mainWindow->findChild<QLabel *>(QStringLiteral("Image1"))->isVisible());
    EXPECT_TRUE(mainWindow->reminderFlag()); // abc counts as missing
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}

TEST_F(ProgramTest, StartUpCommandsFollowTheOperatorsFlags)
{
    ASSERT_TRUE(start(nullptr) == false); // no login answered: the program ends
    mainWindow.reset();
    dm.reset();
    // An operator without flags 2 and 19: the prompt, but no window opens.
    core::TDM1 setup;
    setup.connectTo(core::databasePath());
    core::TDM1::execute(setup.ADOall, QStringLiteral("insert into 操作员([操作员],[姓名]) values ('0002','无权限')"));
    setup.ADOConnection1.close();
    prompts.clear();
    ASSERT_TRUE(startAndLogIn(QStringLiteral("0002")));
    QSignalSpy birthdays(mainWindow->entry(QStringLiteral("N42")), &QAction::triggered);
    QSignalSpy store(mainWindow->entry(QStringLiteral("N7")), &QAction::triggered);
    ASSERT_TRUE(processUntil([&] { return prompts.messageTexts().contains(kStorePrompt); }));
    processUntil([] { return false; }, 200);
    EXPECT_EQ(birthdays.count(), 0);
    EXPECT_EQ(store.count(), 0);
}

TEST_F(ProgramTest, ExitAsksBacksUpAndOffersAManualCopy)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=店\r\n"));
    ASSERT_TRUE(startAndLogIn());
    const QString backup = core::exitBackupPath(QDate::currentDate());

    // Cancel keeps everything running.
    prompts.answer(ui::Cancel);
    EXPECT_FALSE(mainWindow->close());
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_FALSE(QFile::exists(backup));

    // Twice on one day: one file holding the state of the second exit.
    for (const char *item : {"毛巾", "水杯"}) {
        if (!mainWindow->isVisible()) { // the second run of the day
            mainWindow.reset();
            dm.reset();
            ASSERT_TRUE(startAndLogIn());
        }
        exec(QStringLiteral("insert into 兑换项目([兑换项目],[兑换积分]) values ('%1','5')").arg(QString::fromUtf8(item)));
        prompts.clear();
        prompts.answer(ui::Ok);
        prompts.answer(ui::Cancel);
        EXPECT_TRUE(mainWindow->close());
        ASSERT_EQ(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].text, kExitQuestion);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("系统提示"));
        EXPECT_EQ(prompts.shown[0].icon, Icon::Question);
        EXPECT_TRUE(prompts.shown[1].text.startsWith(QStringLiteral("退出系统前软件已经自动进行数据备份！")));
        EXPECT_EQ(prompts.shown[1].buttons, ui::Ok | ui::Cancel);
    }
    EXPECT_EQ(QDir(folder() + QStringLiteral("backup")).entryList(QDir::Files), QStringList{QFileInfo(backup).fileName()});
    core::TDM1 copy;
    copy.connectTo(backup);
    EXPECT_EQ(copy.scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name<>'sqlite_sequence'")),
              QStringLiteral("13"));
    EXPECT_EQ(copy.scalar(QStringLiteral("select count(*) from 兑换项目")), QStringLiteral("2"));
}

TEST_F(ProgramTest, ExitWithOkToTheManualBackupRunsTheBackupCommand)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=店\r\n"));
    ASSERT_TRUE(startAndLogIn());
    prompts.clear();
    const QString named = dir.filePath(QStringLiteral("副本"));
    prompts.answer(ui::Ok);
    prompts.answer(ui::Ok);
    prompts.file(named);
    EXPECT_TRUE(mainWindow->close());
    EXPECT_TRUE(QFile::exists(named + QStringLiteral(".bak")));
    EXPECT_EQ(prompts.messageTexts().last(), QStringLiteral("备份数据成功！"));
    EXPECT_EQ(prompts.shown[2].kind, QStringLiteral("save"));
    EXPECT_TRUE(prompts.shown[2].text.startsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
}

TEST_F(ProgramTest, ExitWithoutBackupFolderReportsAndStillEnds)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=店\r\n"));
    ASSERT_TRUE(startAndLogIn());
    ASSERT_TRUE(QDir(folder() + QStringLiteral("backup")).removeRecursively());
    prompts.clear();
    prompts.answer(ui::Ok);
    EXPECT_TRUE(mainWindow->close());
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kExitQuestion, QStringLiteral("备份数据失败，请重试！")}));
    EXPECT_EQ(prompts.shown[1].caption, QStringLiteral("错误"));
    EXPECT_EQ(prompts.shown[1].icon, Icon::Error);
}

TEST_F(ProgramTest, ManualBackupAppendsBakAlwaysAndNeedsFlag3)
{
    writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n店铺名称=店\r\n"));
    ASSERT_TRUE(startAndLogIn());
    QAction *n3 = mainWindow->entry(QStringLiteral("N3"));
    prompts.file(dir.filePath(QStringLiteral("abc.bak")));
    n3->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("abc.bak.bak"))));
    // Cancelled dialog: nothing further.
    prompts.clear();
    n3->trigger();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
    // A folder that does not exist.
    prompts.clear();
    prompts.file(dir.filePath(QStringLiteral("no/such/x")));
    n3->trigger();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("备份数据失败，请重试！!")});
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("错误！"));
    // Disabled entry: the exit's offer does nothing.
    n3->setEnabled(false);
    prompts.clear();
    prompts.answer(ui::Ok);
    prompts.answer(ui::Ok);
    EXPECT_TRUE(mainWindow->close());
    EXPECT_EQ(prompts.shown.size(), 2);
}
