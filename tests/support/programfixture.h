#pragma once

#include "core/tdm1.h"
#include "shell/tmain.h"
#include "tests/support/qtprint.h"
#include "tests/support/scriptedprompts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A program folder with a fresh database in a temporary directory, the
// data module, the main window, and scripted answers to every box.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString folder() const; // with trailing separator
    void writeSettings(const QString &text); // raw content of myini.ini

    // Runs the start-up up to and including the login. The login is
    // answered by `login` (see logIn()); returns what startUp() returned.
    bool start(ScriptedPrompts::DialogScript login);
    bool startAndLogIn(const QString &op = QStringLiteral("0001"), const QString &password = {});

    // A login script: types the operator number and password, presses 进入
    // `attempts` times (with the same password) and returns the dialog's result.
    static ScriptedPrompts::DialogScript logIn(const QString &op, const QString &password, int attempts = 1);

    // Runs a statement on the test's own database through the data module.
    void exec(const QString &sql);
    QString scalar(const QString &sql);

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<core::TDM1> dm;
    std::unique_ptr<TMAIN> mainWindow;
};
