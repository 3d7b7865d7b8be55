#include "legend/legendimage.h"

#include <QImage>
#include <QPainter>

LegendScale temperature_scale()
{
    // Colours at -60, -50, ..., 50 °C, where the labels sit.
    return {LegendScale::Fill::Ramp,
            {0xFFFFFFFF, 0xFFAF8DAE, 0xFF4F004B, 0xFFF300EE, 0xFF1F208C, 0xFF6BABF3, 0xFF9AE9D4,
             0xFF7CC142, 0xFFFBAE2A, 0xFFFD0100, 0xFF690000, 0xFFFEFFFF},
            false};
}

LegendScale rain_scale()
{
    return {LegendScale::Fill::Cells,
            {0xFFC9F0C9, 0xFF00E100, 0xFF00C900, 0xFF00B200, 0xFF009900, 0xFF008100, 0xFFFFFF00,
             0xFFFFC100, 0xFFFF8100, 0xFFFF0000, 0xFF810000},
            true};
}

LegendScale snow_scale()
{
    return {LegendScale::Fill::Cells,
            {0xFFD9FFFF, 0xFFA1E1F6, 0xFF81C1E9, 0xFF3E91D9, 0xFF1A60C9, 0xFF0000A1, 0xFFFFFF00,
             0xFFFFC100, 0xFFFF8100, 0xFFFF0000, 0xFF810000},
            true};
}

LegendScale wind_scale()
{
    return {LegendScale::Fill::Cells,
            {0xFFFFFFFF, 0xFFF0F0F0, 0xFFBEE6FC, 0xFF78AFEC, 0xFF3278DC, 0xFF00A010, 0xFF40D038,
             0xFF80FF60, 0xFFFFFCAC, 0xFFFFE280, 0xFFFFC850, 0xFFFF9000, 0xFFFF0000, 0xFFCD0000,
             0xFFA00000, 0xFFC86868, 0xFFD4948E, 0xFFE0C0B4, 0xFFFEECE0},
            false};
}

LegendScale change_scale()
{
    // Colours at -30, -20, ..., 30 °C of deviation; no deviation is white.
    return {LegendScale::Fill::Ramp,
            {0xFFFFFFFF, 0xFFDCB6FE, 0xFF132297, 0xFFFFFFFF, 0xFF740000, 0xFFFA0000, 0xFFFFB2B1},
            false};
}

LegendScale pressure_scale()
{
    // Colours at 970, 980, ..., 1040 hPa.
    return {LegendScale::Fill::Ramp,
            {0xFF4E1253, 0xFFB100B1, 0xFFEF00F1, 0xFF21175A, 0xFFC6DAF4, 0xFFEB8921, 0xFFFE0402,
             0xFF6B0A09},
            false};
}

// One row of a ramp, one pixel per device column. Computed here rather than left to a
// gradient brush, whose colour table puts the stops a few pixels off at legend widths.
QImage ramp_row(const QList<QRgb> &stops, int columns)
{
    QImage row(qMax(columns, 1), 1, QImage::Format_RGB32);
    const int last = int(stops.size()) - 1;
    for (int c = 0; c < row.width(); ++c) {
        const double t = last > 0 ? (c + 0.5) / row.width() * last : 0.0;
        const int k = qBound(0, int(t), qMax(last - 1, 0));
        const double f = last > 0 ? t - k : 0.0;
        const QRgb a = stops[k];
        const QRgb b = stops[qMin(k + 1, last)];
        const auto mix = [f](int from, int to) { return qRound(from + (to - from) * f); };
        row.setPixel(
            c, 0, qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b))));
    }
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
