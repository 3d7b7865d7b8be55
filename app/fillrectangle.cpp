#include "app/fillrectangle.h"

#include <QPixmap>

#include <QMouseEvent>
#include <QPainter>

TFillRectangle::TFillRectangle(QWidget *parent)
    : QWidget(parent)
{}

void TFillRectangle::setFill(QRgb fill)
{
    if (fill == m_fill)
        return;
    m_fill = fill;
    update();
}

void TFillRectangle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(m_fill));
}

void TFillRectangle::enterEvent(QEnterEvent *) { emit mouseEntered(); }

void TFillRectangle::leaveEvent(QEvent *) { emit mouseLeft(); }

void TFillRectangle::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->setAccepted(m_pressed);
}

void TFillRectangle::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

QIcon back_arrow_icon(qreal dpr)
{
    QPixmap pixmap(QSize(20, 20) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 10), QPointF(17, 10));
    p.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(3, 10), QPointF(9, 16)}));
    return QIcon(pixmap);
}
