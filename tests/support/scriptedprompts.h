#pragma once

#include "widgets/prompts.h"

#include <QDialog>

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

// Answers the program's boxes and dialogs from a script and records them.
class ScriptedPrompts : public ui::Prompts {
public:
    struct Shown {
        QString kind; // "message", "save", "open", "dialog", "preview"
        ui::Icon icon = ui::Icon::None;
        QString caption;
        QString text;
        int buttons = 0;
        int answer = 0;
    };
    using DialogScript = std::function<int(QDialog *)>;

    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // Next answers, in order. Without one, a message gets OK (or Yes) and a
    // dialog is rejected unshown, a file dialog is cancelled.
    void answer(int button) { m_answers.push_back(button); }
    void file(const QString &name) { m_files.push_back(name); }
    void dialog(DialogScript script) { m_dialogs.push_back(std::move(script)); }

    QList<Shown> shown;
    QList<QUrl> documents;
    QStringList messageTexts() const;
    void clear() { shown.clear(); }

    int message(QWidget *, ui::Icon icon, const QString &caption, const QString &text, int buttons) override;
    QString saveFileName(QWidget *, const QString &caption, const QString &defaultName, const QString &filter) override;
    QString openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override;
    int exec(QDialog *dialog) override;
    void openDocument(const QUrl &url) override { documents << url; }
    // Records the preview and keeps its painter; renderPreview() draws it to a PDF file.
    void printPreview(QWidget *, const QString &caption, const PaintPages &paint) override;
    bool renderPreview(int index, const QString &pdfPath) const;
    QList<PaintPages> previews;

private:
    ui::Prompts *m_previous;
    std::deque<int> m_answers;
    std::deque<QString> m_files;
    std::deque<DialogScript> m_dialogs;
};
