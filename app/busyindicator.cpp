#include "app/busyindicator.h"

#include <QEvent>
#include <QPainter>

TBusyIndicator::TBusyIndicator(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(33);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 12) % 360;
        update();
    });
}

void TBusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 12;
    const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    QPen pen(palette().color(QPalette::Highlight), 3, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawArc(box, -m_angle * 16, 270 * 16);
}

void TBusyIndicator::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        updateTimer();
    QWidget::changeEvent(event);
}

void TBusyIndicator::showEvent(QShowEvent *event)
{
    updateTimer();
    QWidget::showEvent(event);
}

void TBusyIndicator::hideEvent(QHideEvent *event)
{
    updateTimer();
    QWidget::hideEvent(event);
}

void TBusyIndicator::updateTimer()
{
    if (isEnabled() && isVisible())
        m_timer.start();
    else
        m_timer.stop();
}
