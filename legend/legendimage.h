#pragma once

#include "legend/legendscale.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QWidget>

// One row of a ramp through evenly spaced stops, sampled at the centre of each column.
QImage ramp_row(const QList<QRgb> &stops, int columns);

// Draws a colour scale stretched over the whole widget, at the widget's device resolution,
// so it stays sharp at any size and device pixel ratio.
class LegendImage : public QWidget
{
public:
    LegendImage(LegendScale scale, QWidget *parent);

    const LegendScale &scale() const { return m_scale; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LegendScale m_scale;
    QImage m_ramp;
};

// The black band behind a legend.
class LegendBar : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
