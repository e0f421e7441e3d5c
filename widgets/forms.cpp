#include "widgets/forms.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QKeyEvent>

namespace ui {

namespace {
QString plain(QString text)
{
    text.remove(u'&');
    while (text.endsWith(u':') || text.endsWith(u'：'))
        text.chop(1);
    return text.trimmed();
}
} // namespace

QPushButton *button(const QString &text, const char *objectName, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

QLineEdit *lineEdit(const char *objectName, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    return e;
}

void labelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    control->setAccessibleName(plain(label->text()));
}

namespace {

class KeyFilter : public QObject {
public:
    KeyFilter(QWidget *box, std::function<void()> enter, bool numbers)
        : QObject(box), m_enter(std::move(enter)), m_numbers(numbers)
    {
        box->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (m_enter && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
                m_enter();
                return true;
            }
            if (m_numbers && k->text().size() == 1) {
                const char16_t c = k->text()[0].unicode();
                if (c >= 32 && c != 127 && !((c >= u'0' && c <= u'9') || c == u'.'))
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_enter;
    bool m_numbers;
};

} // namespace

void onEnter(QWidget *box, std::function<void()> action)
{
    new KeyFilter(box, std::move(action), false);
}

void numbersOnly(QWidget *box)
{
    new KeyFilter(box, nullptr, true);
}

void nameFromGroup(QWidget *control, const QString &groupCaption)
{
    control->setAccessibleName(plain(groupCaption));
}

QList<QWidget *> unnamedInputs(QWidget *root)
{
    QList<QWidget *> out;
    const auto all = root->findChildren<QWidget *>();
    for (QWidget *w : all) {
        // A combo box's or spin box's own parts are named through it.
        bool part = false;
        for (QWidget *p = w->parentWidget(); p && p != root && !part; p = p->parentWidget())
            part = qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p);
        // A table's headers are named through the table.
        if (part || qobject_cast<QHeaderView *>(w))
            continue;
        const bool input = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QTextEdit *>(w)
            || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QAbstractItemView *>(w);
        if (!input)
            continue;
        if (w->accessibleName().trimmed().isEmpty())
            out << w;
    }
    return out;
}

} // namespace ui
