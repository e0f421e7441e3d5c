#pragma once

#include <QTimer>
#include <QWidget>

namespace ui {

// A line of text scrolling from right to left, over and over.
class Marquee : public QWidget {
    Q_OBJECT
public:
    explicit Marquee(QWidget *parent = nullptr);
    void setText(const QString &text);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;
    void hideEvent(QHideEvent *) override;

private:
    QString m_text;
    int m_offset = 0;
    QTimer m_timer;
};

} // namespace ui
