#include "widgets/marquee.h"

#include <QPainter>

namespace ui {

Marquee::Marquee(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setInterval(40);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const int textWidth = fontMetrics().horizontalAdvance(m_text);
        if (--m_offset < -textWidth)
            m_offset = width();
        update();
    });
}

void Marquee::setText(const QString &text)
{
    m_text = text;
    m_offset = width();
    setAccessibleDescription(text);
    if (isVisible() && !text.isEmpty())
        m_timer.start();
    update();
}

QSize Marquee::sizeHint() const
{
    return {384, fontMetrics().height() + 4};
}

void Marquee::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(Qt::red);
    p.drawText(QRect(m_offset, 0, fontMetrics().horizontalAdvance(m_text) + 4, height()),
               Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

void Marquee::showEvent(QShowEvent *)
{
    if (!m_text.isEmpty())
        m_timer.start();
}

void Marquee::hideEvent(QHideEvent *)
{
    m_timer.stop();
}

} // namespace ui
