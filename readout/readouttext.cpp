#include "readout/readouttext.h"

#include "legend/legendscale.h"
#include "readout/scalematch.h"

#include <QRegularExpression>
#include <QTime>

#include <functional>

#include <cmath>

namespace {
const QString Dash = QStringLiteral("–");

// The cells between two labels have no label of their own; these are their lower bounds,
// halfway-ish steps written as the labels are.
const QStringList &rain_between(bool inches)
{
    static const QStringList millimetres = {QStringLiteral("0.3"), QStringLiteral("1"),
                                            QStringLiteral("3.5"), QStringLiteral("10"),
                                            QStringLiteral("20")};
    static const QStringList inch = {QStringLiteral(".01"), QStringLiteral(".04"),
                                     QStringLiteral(".14"), QStringLiteral(".4"),
                                     QStringLiteral(".8")};
    return inches ? inch : millimetres;
}

const QStringList &snow_between(bool inches)
{
    static const QStringList millimetres = {QStringLiteral("0.3"), QStringLiteral("1"),
                                            QStringLiteral("3.5"), QStringLiteral("7.5"),
                                            QStringLiteral("12.5")};
    static const QStringList inch = {QStringLiteral(".01"), QStringLiteral(".04"),
                                     QStringLiteral(".14"), QStringLiteral(".3"),
                                     QStringLiteral(".5")};
    return inches ? inch : millimetres;
}

const QList<int> WindBetweenKnots = {4, 12, 20, 30, 40, 52, 70, 90, 110};

// A label's number without its unit: "25 (mm/h)" and "15(mm/h)" give the number, the blank
// first inch label nothing.
QString label_number(const QString &label)
{
    return label.section(QLatin1Char('('), 0, 0).trimmed();
}

// "lower–upper", "up to upper" without a lower bound, "over lower" for the last cell.
QString cell_class(const QStringList &bounds, int cell)
{
    const QString lower = bounds.value(cell);
    if (cell + 1 >= bounds.size())
        return QStringLiteral("over ") + lower;
    const QString upper = bounds.at(cell + 1);
    return lower.isEmpty() ? QStringLiteral("up to ") + upper : lower + Dash + upper;
}

// Each cell's lower bound: the labels on every second cell, the in-between values elsewhere.
QStringList cell_bounds(const QStringList &labels, const QStringList &between)
{
    QStringList bounds;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        bounds << label_number(labels[i]);
        if (i < between.size())
            bounds << between[i];
    }
    return bounds;
}

QString approximately(int value, const QString &unit, bool signedValue = false)
{
    const QString number =
        signedValue && value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
    return QStringLiteral("≈ %1 %2").arg(number, unit);
}

QString ramp_text(const LegendScale &scale, RampValues values, double neutral, QRgb colour,
                  const std::function<QString(double)> &text)
{
    const ScaleMatch match = match_ramp(scale.colours, colour, values.stopOf(neutral));
    return match.distance <= MaxScaleDistance ? text(values.at(match.stop)) : QString();
}

QString rain_snow_text(QRgb colour, bool inches)
{
    const LegendScale rain = rain_scale();
    const LegendScale snow = snow_scale();
    const ScaleMatch r = match_cells(rain.colours, colour);
    const ScaleMatch s = match_cells(snow.colours, colour);
    if (qMin(r.distance, s.distance) > MaxScaleDistance)
        return {};
    const QString unit = rain_unit(inches);
    const QStringList rainBounds = cell_bounds(rain_label_texts(inches), rain_between(inches));
    const QStringList snowBounds = cell_bounds(snow_label_texts(inches), snow_between(inches));
    // The heaviest cells have one colour in both halves of the legend.
    if (r.cell == s.cell && rain.colours[r.cell] == snow.colours[s.cell])
        return QStringLiteral("Rain %1 or snow %2 %3")
            .arg(cell_class(rainBounds, r.cell), cell_class(snowBounds, s.cell), unit);
    if (r.distance <= s.distance)
        return QStringLiteral("Rain %1 %2").arg(cell_class(rainBounds, r.cell), unit);
    return QStringLiteral("Snow %1 %2").arg(cell_class(snowBounds, s.cell), unit);
}

QString wind_text(QRgb colour, bool mph)
{
    const ScaleMatch match = match_cells(wind_scale().colours, colour);
    if (match.distance > MaxScaleDistance)
        return {};
    QStringList bounds;
    const QList<int> &labels = wind_label_knots();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        for (const int knots :
             {labels[i], int(i) < WindBetweenKnots.size() ? WindBetweenKnots[i] : -1})
            if (knots >= 0)
                bounds << QString::number(mph ? knots_to_mph(knots) : knots);
    }
    return cell_class(bounds, match.cell) + QLatin1Char(' ') + wind_unit(mph);
}
} // namespace

QString position_text(double latitude, double longitude)
{
    // Rounded first, so a point just south of the equator reads 0.0° N rather than 0.0° S.
    const double lat = std::round(latitude * 10) / 10;
    const double lon = std::round(longitude * 10) / 10;
    return QStringLiteral("%1° %2 %3° %4")
        .arg(std::abs(lat), 0, 'f', 1)
        .arg(lat < 0 ? QLatin1Char('S') : QLatin1Char('N'))
        .arg(std::abs(lon), 0, 'f', 1)
        .arg(lon < 0 ? QLatin1Char('W') : QLatin1Char('E'));
}

QString solar_time_text(double longitude, const QDateTime &utc, const QLocale &locale)
{
    const QTime now = utc.toUTC().time();
    constexpr int Day = 24 * 60 * 60;
    int seconds = int(std::lround(now.msecsSinceStartOfDay() / 1000.0 + longitude * 240));
    seconds = ((seconds % Day) + Day) % Day;
    // Minutes are as precise as a place under a pointer; some locales' short times have
    // seconds too.
    static const QRegularExpression secondsField(QStringLiteral("[:.]?s+"));
    const QString format = locale.timeFormat(QLocale::ShortFormat).remove(secondsField);
    return locale.toString(QTime(0, 0).addSecs(seconds), format) + QStringLiteral(" solar time");
}

QString map_value_text(ViewKind kind, QRgb colour, const UnitFlags &units)
{
    switch (kind) {
    case View::Temperature:
        return ramp_text(temperature_scale(), TemperatureRamp, 0, colour, [&](double celsius) {
            const double shown = units.fahrenheit ? celsius * 1.8 + 32 : celsius;
            return approximately(qRound(shown), temperature_unit(units.fahrenheit));
        });
    case View::ClimateChange:
        return ramp_text(change_scale(), ChangeRamp, 0, colour, [&](double celsius) {
            const double shown = units.fahrenheit ? celsius * 1.8 : celsius;
            return approximately(qRound(shown), temperature_unit(units.fahrenheit), true);
        });
    case View::Pressure:
        return ramp_text(pressure_scale(), PressureRamp, 1013, colour, [](double hpa) {
            return approximately(qRound(hpa), QStringLiteral("hPa"));
        });
    case View::Wind:
        return wind_text(colour, units.mph);
    case View::RainSnow:
        return rain_snow_text(colour, units.inchesPerHour);
    default:
        return {};
    }
}
