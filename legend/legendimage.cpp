#include "legend/legendimage.h"

#include <QImage>
#include <QPainter>

// One row of a ramp, one pixel per device column. Computed here rather than left to a
// gradient brush, whose colour table puts the stops a few pixels off at legend widths.
QImage ramp_row(const QList<QRgb> &stops, int columns)
{
    QImage row(qMax(columns, 1), 1, QImage::Format_RGB32);
    const int last = int(stops.size()) - 1;
    for (int c = 0; c < row.width(); ++c)
        row.setPixel(c, 0, ramp_colour(stops, last > 0 ? (c + 0.5) / row.width() * last : 0.0));
    return row;
}

LegendImage::LegendImage(LegendScale scale, QWidget *parent)
    : QWidget(parent)
    , m_scale(std::move(scale))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LegendImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    const auto &colours = m_scale.colours;
    const qsizetype n = colours.size();
    if (n == 0 || w <= 0 || h <= 0)
        return;

    if (m_scale.fill == LegendScale::Fill::Ramp) {
        const int columns = qRound(w * devicePixelRatioF());
        if (m_ramp.width() != columns)
            m_ramp = ramp_row(colours, columns);
        painter.drawImage(rect(), m_ramp);
        return;
    }

    // Cell edges are computed from the full width each time, so the cells tile without seams.
    for (qsizetype i = 0; i < n; ++i) {
        const qreal left = w * qreal(i) / qreal(n);
        const qreal right = w * qreal(i + 1) / qreal(n);
        painter.fillRect(QRectF(left, 0, right - left, h), QColor::fromRgba(colours[i]));
    }
    if (m_scale.framed) {
        const QColor grey(0x80, 0x80, 0x80);
        painter.fillRect(QRectF(0, 0, w, 1), grey);
        painter.fillRect(QRectF(0, h - 1, w, 1), grey);
        painter.fillRect(QRectF(0, 0, 1, h), grey);
        painter.fillRect(QRectF(w - 1, 0, 1, h), grey);
    }
}

void LegendBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}
