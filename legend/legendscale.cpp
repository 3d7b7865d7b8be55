#include "legend/legendscale.h"

#include <QtMath>

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

QRgb ramp_colour(const QList<QRgb> &stops, double stop)
{
    if (stops.isEmpty())
        return 0;
    const int last = int(stops.size()) - 1;
    const double t = qBound(0.0, stop, double(last));
    const int k = qBound(0, int(t), qMax(last - 1, 0));
    const double f = last > 0 ? t - k : 0.0;
    const QRgb a = stops[k];
    const QRgb b = stops[qMin(k + 1, last)];
    const auto mix = [f](int from, int to) { return qRound(from + (to - from) * f); };
    return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

const QStringList &rain_label_texts(bool inchesPerHour)
{
    static const QStringList millimetres = {QStringLiteral("0.1"), QStringLiteral("0.5"),
                                            QStringLiteral("2"),   QStringLiteral("5"),
                                            QStringLiteral("15"),  QStringLiteral("25 (mm/h)")};
    static const QStringList inches = {QStringLiteral(" "),   QStringLiteral(".02"),
                                       QStringLiteral(".07"), QStringLiteral(".2"),
                                       QStringLiteral(".6"),  QStringLiteral("1 (in/h)")};
    return inchesPerHour ? inches : millimetres;
}

const QStringList &snow_label_texts(bool inchesPerHour)
{
    static const QStringList millimetres = {QStringLiteral("0.1"), QStringLiteral("0.5"),
                                            QStringLiteral("2"),   QStringLiteral("5"),
                                            QStringLiteral("10"),  QStringLiteral("15(mm/h)")};
    static const QStringList inches = {QStringLiteral(" "),   QStringLiteral(".02"),
                                       QStringLiteral(".07"), QStringLiteral(".2"),
                                       QStringLiteral(".4"),  QStringLiteral(".6 (in/h)")};
    return inchesPerHour ? inches : millimetres;
}

const QList<int> &wind_label_knots()
{
    static const QList<int> knots = {0, 8, 16, 25, 35, 45, 60, 80, 100, 120};
    return knots;
}

int knots_to_mph(int knots) { return static_cast<int>(knots * 1.1507); }

QString temperature_unit(bool fahrenheit)
{
    return fahrenheit ? QStringLiteral("°F") : QStringLiteral("°C");
}

QString wind_unit(bool mph) { return mph ? QStringLiteral("mph") : QStringLiteral("kt"); }

QString rain_unit(bool inchesPerHour)
{
    return inchesPerHour ? QStringLiteral("in/h") : QStringLiteral("mm/h");
}
