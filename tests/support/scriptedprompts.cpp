#include "tests/support/scriptedprompts.h"

#include <QDialog>
#include <QPrinter>

ScriptedPrompts::ScriptedPrompts()
    : m_previous(ui::Prompts::install(this))
{
}

ScriptedPrompts::~ScriptedPrompts()
{
    ui::Prompts::install(m_previous);
}

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList out;
    for (const Shown &s : shown)
        if (s.kind == QLatin1String("message"))
            out << s.text;
    return out;
}

int ScriptedPrompts::message(QWidget *, ui::Icon icon, const QString &caption, const QString &text, int buttons)
{
    int a;
    if (!m_answers.empty()) {
        a = m_answers.front();
        m_answers.pop_front();
    } else {
        a = (buttons & ui::Ok) ? ui::Ok : (buttons & ui::Yes) ? ui::Yes : ui::Ok;
    }
    shown << Shown{QStringLiteral("message"), icon, caption, text, buttons, a};
    return a;
}

QString ScriptedPrompts::saveFileName(QWidget *, const QString &caption, const QString &defaultName, const QString &filter)
{
    QString f;
    if (!m_files.empty()) {
        f = m_files.front();
        m_files.pop_front();
    }
    shown << Shown{QStringLiteral("save"), ui::Icon::None, caption, defaultName + u'|' + filter, 0, 0};
    return f;
}

QString ScriptedPrompts::openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter)
{
    QString f;
    if (!m_files.empty()) {
        f = m_files.front();
        m_files.pop_front();
    }
    shown << Shown{QStringLiteral("open"), ui::Icon::None, caption, dir + u'|' + filter, 0, 0};
    return f;
}

int ScriptedPrompts::exec(QDialog *dialog)
{
    shown << Shown{QStringLiteral("dialog"), ui::Icon::None, dialog->windowTitle(), dialog->objectName(), 0, 0};
    if (m_dialogs.empty())
        return QDialog::Rejected;
    DialogScript script = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    const int r = script(dialog);
    dialog->hide();
    return r;
}

void ScriptedPrompts::printPreview(QWidget *, const QString &caption, const PaintPages &paint)
{
    shown << Shown{QStringLiteral("preview"), ui::Icon::None, caption, QString(), 0, 0};
    previews << paint;
}

bool ScriptedPrompts::renderPreview(int index, const QString &pdfPath) const
{
    if (index < 0 || index >= previews.size())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    previews[index](&printer);
    return true;
}
