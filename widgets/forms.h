#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace ui {

// Makes `label` the buddy label of `control` and gives the control the
// label's text as its accessible name, so assistive tools find it.
void labelFor(QLabel *label, QWidget *control);
// For a control without a label: the caption of its group.
void nameFromGroup(QWidget *control, const QString &groupCaption);

// Input controls under `root` that carry no accessible name.
QList<QWidget *> unnamedInputs(QWidget *root);

} // namespace ui
