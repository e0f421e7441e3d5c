#include "tests/support/programfixture.h"

#include "app/windows.h"
#include "core/paths.h"
#include "core/session.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void ProgramTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    QDir d(dir.path());
    ASSERT_TRUE(d.mkpath(QStringLiteral("database")));
    ASSERT_TRUE(d.mkpath(QStringLiteral("backup")));
    ASSERT_TRUE(d.mkpath(QStringLiteral("image")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DELIVERED_DB), d.filePath(QStringLiteral("database/database.mdb"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DELIVERED_BMP), d.filePath(QStringLiteral("image/001.bmp"))));
    QFile::setPermissions(d.filePath(QStringLiteral("database/database.mdb")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    core::setProgramFolder(dir.path());
    core::loggedInOperator().clear();
    core::loginPassword().clear();
}

void ProgramTest::TearDown()
{
    if (mainWindow) {
        mainWindow->quitWithoutQuestion();
        mainWindow.reset();
    }
    dm.reset();
}

QString ProgramTest::folder() const
{
    return core::programFolder();
}

void ProgramTest::writeSettings(const QString &text)
{
    QFile f(folder() + QStringLiteral("myini.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

bool ProgramTest::start(ScriptedPrompts::DialogScript login)
{
    dm = std::make_unique<core::TDM1>();
    mainWindow = std::make_unique<TMAIN>();
    registerWindows(*mainWindow);
    if (login)
        prompts.dialog(std::move(login));
    return mainWindow->startUp();
}

bool ProgramTest::startAndLogIn(const QString &op, const QString &password)
{
    return start(logIn(op, password));
}

ScriptedPrompts::DialogScript ProgramTest::logIn(const QString &op, const QString &password, int attempts)
{
    return [op, password, attempts](QDialog *dlg) {
        dlg->show();
        QApplication::setActiveWindow(dlg);
        auto *box = dlg->findChild<QComboBox *>(QStringLiteral("cbusername"));
        auto *pw = dlg->findChild<QLineEdit *>(QStringLiteral("edtpassword"));
        auto *enter = dlg->findChild<QPushButton *>(QStringLiteral("button1"));
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), op);
        for (int i = 0; i < attempts && dlg->isVisible(); ++i) {
            pw->setFocus();
            pw->clear();
            QTest::keyClicks(pw, password);
            QTest::mouseClick(enter, Qt::LeftButton);
        }
        return dlg->result();
    };
}

void ProgramTest::exec(const QString &sql)
{
    core::TDM1::execute(dm->ADOall, sql);
}

QString ProgramTest::scalar(const QString &sql)
{
    return dm->scalar(sql);
}
