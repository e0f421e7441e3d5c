#pragma once

#include <QList>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// A push button that Enter in a box never presses by accident.
QPushButton *button(const QString &text, const char *objectName, QWidget *parent);
QLineEdit *lineEdit(const char *objectName, QWidget *parent);

// Makes `label` the buddy label of `control` and gives the control the
// label's text as its accessible name, so assistive tools find it.
void labelFor(QLabel *label, QWidget *control);
// For a control without a label: the caption of its group.
void nameFromGroup(QWidget *control, const QString &groupCaption);

// Enter (either key) in `box` runs `action` instead of reaching the box.
void onEnter(QWidget *box, std::function<void()> action);
// Printable keys other than the digits and "." are dropped; control keys pass.
void numbersOnly(QWidget *box);

// Input controls under `root` that carry no accessible name.
QList<QWidget *> unnamedInputs(QWidget *root);

} // namespace ui
