#pragma once

#include <QDialog>

// The small about box; a click anywhere closes it.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *) override;
};
