#include "core/session.h"
#include "core/sqlquote.h"
#include "core/paths.h"
#include "shell/tloginform.h"
#include "tests/support/programfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

const QString kWrong = QStringLiteral("密码错误，请重新输入！");
const QString kTooMany = QStringLiteral("密码错误超过五次，软件将被关闭！");
const QString kNoUser = QStringLiteral("不存在的用户！");

// An operator row with the given flags set.
QString operatorInsert(const QString &op, const QString &name, const QString &password, const QList<int> &flags)
{
    QString cols = QStringLiteral("[操作员],[姓名],[密码]");
    QString vals = QStringLiteral("%1,%2,%3").arg(core::q(op), core::q(name), core::q(password));
    for (int f = 1; f <= 26; ++f) {
        cols += QStringLiteral(",[%1]").arg(f);
        vals += flags.contains(f) ? QStringLiteral(",'-1'") : QStringLiteral(",'0'");
    }
    return QStringLiteral("insert into 操作员(%1) values (%2)").arg(cols, vals);
}

} // namespace

class LoginTest : public ProgramTest {
protected:
    void addOperator(const QString &op, const QString &name, const QString &password, const QList<int> &flags)
    {
        core::TDM1 setup;
        setup.connectTo(core::databasePath());
        core::TDM1::execute(setup.ADOall, operatorInsert(op, name, password, flags));
    }
};

TEST(Login, PasswordComparisonFoldsOnlyAtoZ)
{
    const struct { const char *typed; const char *stored; bool match; } cases[] = {
        {"", "", true},         {"abc", "ABC", true},    {"AbC9", "aBc9", true}, {"abc", "abcd", false},
        {"abc ", "abc", false}, {"äbc", "Äbc", false},   {"ａ", "Ａ", false},     {"密码A", "密码a", true},
        {"a", "b", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Tloginform::passwordMatches(QString::fromUtf8(c.typed), QString::fromUtf8(c.stored)), c.match)
            << c.typed << " / " << c.stored;
}

TEST_F(LoginTest, AdministratorWithoutPasswordLogsInWithAllCommands)
{
    ASSERT_TRUE(startAndLogIn(QStringLiteral("0001"), {}));
    EXPECT_EQ(core::loggedInOperator(), QStringLiteral("0001"));
    EXPECT_EQ(core::loginPassword(), QString());
    EXPECT_EQ(mainWindow->findChild<QLabel *>(QStringLiteral("RzStatusPane1"))->text(), QStringLiteral("当前用户为:0001"));
    for (const auto &[flag, name] : TMAIN::flagEntries())
        EXPECT_TRUE(mainWindow->entry(name)->isEnabled()) << name.toStdString();
    for (const auto &[flag, name] : TMAIN::flagButtons())
        EXPECT_TRUE(mainWindow->toolButton(name)->isEnabled()) << name.toStdString();
}

TEST_F(LoginTest, FlagsEnableExactlyTheirCommands)
{
    addOperator(QStringLiteral("0002"), QStringLiteral("收银"), QStringLiteral("pw"), {9, 13, 20});
    ASSERT_TRUE(startAndLogIn(QStringLiteral("0002"), QStringLiteral("PW")));
    EXPECT_EQ(core::loginPassword(), QStringLiteral("PW")); // as typed, for the lock window
    for (const auto &[flag, name] : TMAIN::flagEntries())
        EXPECT_EQ(mainWindow->entry(name)->isEnabled(), flag == 9 || flag == 13 || flag == 20) << name.toStdString();
    for (const auto &[flag, name] : TMAIN::flagButtons())
        EXPECT_EQ(mainWindow->toolButton(name)->isEnabled(), flag == 9 || flag == 13) << name.toStdString();
    for (const char *always : {"N11", "N8", "N27", "N28"})
        EXPECT_TRUE(mainWindow->entry(QString::fromLatin1(always))->isEnabled()) << always;
    for (const char *always : {"RzToolButton14", "RzToolButton5", "RzToolButton6"})
        EXPECT_TRUE(mainWindow->toolButton(QString::fromLatin1(always))->isEnabled()) << always;
}

TEST_F(LoginTest, WrongPasswordsCountAcrossAttempts)
{
    addOperator(QStringLiteral("0002"), QStringLiteral("收银"), QStringLiteral("secret"), {13});
    // Four wrong, then right.
    prompts.dialog([](QDialog *dlg) {
        const int r = ProgramTest::logIn(QStringLiteral("0002"), QStringLiteral("wrong"), 4)(dlg);
        EXPECT_EQ(r, QDialog::Rejected);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(dlg->findChild<QLineEdit *>(QStringLiteral("edtpassword"))->text().isEmpty());
        return ProgramTest::logIn(QStringLiteral("0002"), QStringLiteral("SECRET"))(dlg);
    });
    ASSERT_TRUE(start(nullptr));
    EXPECT_EQ(prompts.messageTexts(), QStringList(4, kWrong));
    EXPECT_EQ(prompts.shown[1].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.shown[1].icon, ui::Icon::Error);
}

TEST_F(LoginTest, FifthWrongPasswordEndsTheProgram)
{
    EXPECT_FALSE(start(logIn(QStringLiteral("0001"), QStringLiteral("x"), 5)));
    EXPECT_EQ(prompts.messageTexts(), QStringList(4, kWrong) << kTooMany);
    EXPECT_TRUE(core::loggedInOperator().isEmpty());
}

TEST_F(LoginTest, UnknownOperatorsAreRefused)
{
    // Leaving the box for the password, then 进入: refused both times.
    EXPECT_FALSE(start(logIn(QStringLiteral("9999"), {}, 1)));
    EXPECT_EQ(prompts.messageTexts(), QStringList(2, kNoUser));

    // An empty operator table.
    mainWindow.reset();
    dm.reset();
    {
        core::TDM1 setup;
        setup.connectTo(core::databasePath());
        core::TDM1::execute(setup.ADOall, QStringLiteral("delete  from 操作员 "));
    }
    prompts.clear();
    prompts.dialog([](QDialog *dlg) {
        dlg->show();
        auto *box = dlg->findChild<QComboBox *>(QStringLiteral("cbusername"));
        EXPECT_EQ(box->count(), 0);
        QTest::mouseClick(dlg->findChild<QPushButton *>(QStringLiteral("button1")), Qt::LeftButton);
        return dlg->result();
    });
    EXPECT_FALSE(start(nullptr));
    EXPECT_EQ(prompts.messageTexts(), QStringList{kNoUser});
}

TEST_F(LoginTest, LeavingTheOperatorBoxMatchesIgnoringCase)
{
    addOperator(QStringLiteral("AB"), QStringLiteral("O'Neil"), QString(), {});
    prompts.dialog([this](QDialog *dlg) {
        dlg->show();
        QApplication::setActiveWindow(dlg);
        auto *box = dlg->findChild<QComboBox *>(QStringLiteral("cbusername"));
        auto *name = dlg->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        auto *pw = dlg->findChild<QLineEdit *>(QStringLiteral("edtpassword"));
        EXPECT_EQ(box->currentText(), QStringLiteral("0001"));
        EXPECT_EQ(name->text(), QStringLiteral("系统管理员"));
        // Unknown text, focus to the password box: refused, focus back.
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("zz"));
        EXPECT_EQ(name->text(), QString());
        pw->setFocus();
        EXPECT_EQ(prompts.messageTexts(), QStringList{kNoUser});
        EXPECT_TRUE(box->hasFocus() || box->lineEdit()->hasFocus());
        // Other case: the list entry is taken.
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("ab"));
        pw->setFocus();
        EXPECT_EQ(box->currentText(), QStringLiteral("AB"));
        EXPECT_EQ(name->text(), QStringLiteral("O'Neil"));
        EXPECT_EQ(prompts.messageTexts().size(), 1);
        QTest::keyClick(pw, Qt::Key_Return); // Enter logs in
        return dlg->result();
    });
    ASSERT_TRUE(start(nullptr));
    EXPECT_EQ(core::loggedInOperator(), QStringLiteral("AB"));
}

TEST_F(LoginTest, ExitButtonEndsTheProgram)
{
    prompts.dialog([](QDialog *dlg) {
        dlg->show();
        QTest::mouseClick(dlg->findChild<QPushButton *>(QStringLiteral("button2")), Qt::LeftButton);
        return dlg->result();
    });
    EXPECT_FALSE(start(nullptr));
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}
