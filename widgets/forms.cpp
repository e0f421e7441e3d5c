#include "widgets/forms.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QAbstractItemView>

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

void labelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    control->setAccessibleName(plain(label->text()));
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
        if (part)
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
