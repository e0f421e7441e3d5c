#include "widgets/prompts.h"

#include "core/session.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStringList>

namespace ui {

namespace {

class DesktopPrompts : public Prompts {
public:
    int message(QWidget *parent, Icon icon, const QString &caption, const QString &text, int buttons) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        switch (icon) {
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Error: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        }
        QMessageBox::StandardButtons sb;
        if (buttons & Ok) sb |= QMessageBox::Ok;
        if (buttons & Cancel) sb |= QMessageBox::Cancel;
        if (buttons & Yes) sb |= QMessageBox::Yes;
        if (buttons & No) sb |= QMessageBox::No;
        if (!sb)
            sb = QMessageBox::Ok;
        box.setStandardButtons(sb);
        switch (box.exec()) {
        case QMessageBox::Ok: return Ok;
        case QMessageBox::Cancel: return Cancel;
        case QMessageBox::Yes: return Yes;
        case QMessageBox::No: return No;
        default: return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
        }
    }

    QString saveFileName(QWidget *parent, const QString &caption, const QString &defaultName,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, defaultName, qtFilter(filter));
    }

    QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, qtFilter(filter));
    }

    int exec(QDialog *dialog) override { return dialog->exec(); }

    void openDocument(const QUrl &url) override { QDesktopServices::openUrl(url); }

    void printPreview(QWidget *parent, const QString &caption, const PaintPages &paint) override
    {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(caption);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&paint](QPrinter *p) { paint(p); });
        preview.exec();
    }
};

DesktopPrompts g_desktop;
Prompts *g_current = &g_desktop;

} // namespace

Prompts &Prompts::current()
{
    return *g_current;
}

Prompts *Prompts::install(Prompts *p)
{
    Prompts *old = g_current;
    g_current = p ? p : &g_desktop;
    return old;
}

void information(QWidget *parent, const QString &caption, const QString &text)
{
    prompts().message(parent, Icon::Information, caption, text, Ok);
}

void error(QWidget *parent, const QString &caption, const QString &text)
{
    prompts().message(parent, Icon::Error, caption, text, Ok);
}

bool askOkCancel(QWidget *parent, const QString &caption, const QString &text)
{
    return prompts().message(parent, Icon::Question, caption, text, Ok | Cancel) == Ok;
}

bool guard(QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const std::exception &e) {
        error(parent, core::kAppTitle, QString::fromUtf8(e.what()));
    } catch (...) {
        error(parent, core::kAppTitle, QStringLiteral("未知错误"));
    }
    return false;
}

QString qtFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace ui

#include "core/database.h"

namespace ui {

bool runTransaction(QWidget *parent, core::Database &db, const std::function<void()> &steps)
{
    QString failure;
    try {
        core::Transaction tx(db);
        steps();
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what()); // the transaction has rolled back here
    } catch (...) {
        failure = QStringLiteral("未知错误");
    }
    prompts().message(parent, Icon::None, core::kAppTitle, failure, Ok);
    return false;
}

} // namespace ui
