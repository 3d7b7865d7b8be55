#include "app/fillrectangle.h"

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
