#include "help/fillrectangle.h"

#include <QMouseEvent>
#include <QPainter>

TFillRectangle::TFillRectangle(QWidget *parent)
    : QWidget(parent) {}

void TFillRectangle::setFill(const QColor &color) {
    if (color == m_fill) return;
    m_fill = color;
    update();
}

void TFillRectangle::paintEvent(QPaintEvent *) {
    QPainter(this).fillRect(rect(), m_fill);
}

void TFillRectangle::mousePressEvent(QMouseEvent *event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TFillRectangle::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) emit clicked();
}

void TFillRectangle::enterEvent(QEnterEvent *event) {
    QWidget::enterEvent(event);
    emit mouseEntered();
}

void TFillRectangle::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}
