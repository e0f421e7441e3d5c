#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace ui {

enum class Icon { None, Information, Warning, Error, Question };

enum Button : int {
    NoButton = 0,
    Ok = 1,
    Cancel = 2,
    Yes = 4,
    No = 8,
};

// Every box, question, file dialog, modal dialog and shell call of the
// program goes through here. The program shows the real thing; a test
// installs a script that answers in advance and records what was shown.
class Prompts {
public:
    virtual ~Prompts() = default;

    // Returns the button pressed (one of `buttons`).
    virtual int message(QWidget *parent, Icon icon, const QString &caption, const QString &text, int buttons) = 0;
    // Empty text when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &defaultName,
                                 const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // Shows a dialog modally; returns its result code.
    virtual int exec(QDialog *dialog) = 0;
    // Opens a document with the desktop's viewer; nothing is reported.
    virtual void openDocument(const QUrl &url) = 0;
    // A print preview of pages drawn by `paint`, from which the operator
    // prints or saves a PDF.
    using PaintPages = std::function<void(QPrinter *)>;
    virtual void printPreview(QWidget *parent, const QString &caption, const PaintPages &paint) = 0;

    static Prompts &current();
    // Installs `p` (not owned) and returns the previous one; nullptr restores the real dialogs.
    static Prompts *install(Prompts *p);
};

inline Prompts &prompts() { return Prompts::current(); }

// Shortcuts for the usual boxes.
void information(QWidget *parent, const QString &caption, const QString &text);
void error(QWidget *parent, const QString &caption, const QString &text);
bool askOkCancel(QWidget *parent, const QString &caption, const QString &text); // question icon

// Runs a command; any error (database, conversion or other) stops it and is
// shown in the default error box: application title, error icon, OK.
// Returns false when the command failed.
bool guard(QWidget *parent, const std::function<void()> &command);

// Filter text in the form "说明|*.ext|说明|*.*" turned into Qt's form.
QString qtFilter(const QString &pipeFilter);

} // namespace ui

namespace core { class Database; }

namespace ui {

// The transaction frame of a user action: begin (taking the write lock),
// the steps, commit. Any error rolls back and shows its text in a plain box
// captioned with the application title. Returns true after the commit; a
// success message belongs after this returns, never inside the steps.
bool runTransaction(QWidget *parent, core::Database &db, const std::function<void()> &steps);

} // namespace ui
