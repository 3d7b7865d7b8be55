#pragma once

#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>

// A colour scale, either a smooth ramp through evenly spaced stops or a row of equal cells.
struct LegendScale
{
    enum class Fill { Ramp, Cells };
    Fill fill = Fill::Ramp;
    QList<QRgb> colours;
    bool framed = false;
};

LegendScale temperature_scale();
LegendScale rain_scale();
LegendScale snow_scale();
LegendScale wind_scale();
LegendScale change_scale();
LegendScale pressure_scale();

// What a ramp's stops stand for: the first stop's value and the step to the next, in °C
// (temperature, change) or hPa (pressure), as the labels under them say.
struct RampValues
{
    double first = 0;
    double step = 1;
    double at(double stop) const { return first + step * stop; }
    double stopOf(double value) const { return (value - first) / step; }
};
constexpr RampValues TemperatureRamp{-60, 10};
constexpr RampValues ChangeRamp{-30, 10};
constexpr RampValues PressureRamp{970, 10};

// The colour a ramp shows `stop` stops along its first one, each channel mixed linearly and
// rounded, as the legend draws it; clamped to the ends.
QRgb ramp_colour(const QList<QRgb> &stops, double stop);

// The label texts of the rain and snow bars; they stand on every second cell.
const QStringList &rain_label_texts(bool inchesPerHour);
const QStringList &snow_label_texts(bool inchesPerHour);
// The knots the wind bar's labels name, one on every second cell.
const QList<int> &wind_label_knots();

// Whole miles per hour, the fraction cut off.
int knots_to_mph(int knots);

// The unit words of the legends.
QString temperature_unit(bool fahrenheit);
QString wind_unit(bool mph);
QString rain_unit(bool inchesPerHour);
