#include "legend/legendbars.h"

#include <QColor>
#include <QLabel>

#include <cstdint>

namespace {
constexpr QRgb LabelColour = 0xFFFFFFFF;
constexpr int LabelTop = 2;

void add_labels(QList<QLabel *> &set, int count, QWidget *owner, QWidget *drawnIn)
{
    for (int i = 0; i < count; ++i) {
        auto *label = new QLabel(owner);
        set.append(label);
        // A widget's parent is also where it is drawn, so that widget becomes the owner too;
        // it lives exactly as long as the view, as the first owner does.
        label->setParent(drawnIn);
        label->setWordWrap(false);
        set_legend_text_style(label, LabelColour, Legend::DefaultFontSize);
        label->show();
    }
}

bool labels_ready(const LegendBars &s)
{
    return s.TemperatureLabels.size() == 12 && s.RainLabels.size() == 6 &&
           s.SnowLabels.size() == 6 && s.WindLabels.size() == 21 && s.PressureLabels.size() == 8 &&
           s.ChangeLabels.size() == 7 && s.LegendBaseFontSize > 0;
}

int font_pixels(float size) { return qMax(1, qRound(size)); }

// Labels are placed in strip coordinates, whichever widget they are drawn in.
void place_in_strip(QLabel *label, const QWidget *strip, int x)
{
    QWidget *drawnIn = label->parentWidget();
    const QPoint origin = strip && strip != drawnIn ? strip->mapTo(drawnIn, QPoint()) : QPoint();
    label->move(origin + QPoint(x, LabelTop));
}

struct EndRules
{
    int overlapIndex = -1; // empties when it crowds the last label
    int rightIndex = -1;   // ends at the strip's right edge
};

void lay_out_set(const QList<QLabel *> &labels, int count, LegendRun run, float w, float f,
                 int step, EndRules rules)
{
    const int pixels = font_pixels(f);
    for (int i = 0; i < count; i += step) {
        QLabel *label = labels[i];
        legend_label_text(i, label, run);
        set_legend_text_style(label, LabelColour, pixels);
        if (i == rules.overlapIndex) {
            const float x = float(i) * run.spacing;
            const float lw = float(label->width());
            if (x + lw > w - lw) {
                label->setText(QString());
                label->adjustSize();
            }
        }
        if (i == rules.rightIndex)
            place_in_strip(label, run.strip, qRound(w - float(label->width())));
    }
}

void lay_out_temperature(LegendBars &b, const UnitFlags &units)
{
    const float w = float(b.LegLayout->width());
    const QString unit = temperature_unit(units.fahrenheit);
    lay_out_set(b.TemperatureLabels, 12,
                {View::Temperature, units, w / 11.0f, -70, unit, b.LegLayout}, w,
                legend_font_size(b.LegendBaseFontSize, w, 30), 1, {10, 11});
}

void lay_out_wind(LegendBars &b, const UnitFlags &units)
{
    const float w = float(b.Layout5->width());
    const QString unit = QLatin1Char('(') + wind_unit(units.mph) + QLatin1Char(')');
    // Labels 0, 2, ..., 18 only; 20 would sit past the end of the scale.
    lay_out_set(b.WindLabels, 19, {View::Wind, units, w / 19.0f, 0, unit, b.Layout5}, w,
                legend_font_size(b.LegendBaseFontSize, w, 25), 2, {});
}

void lay_out_pressure(LegendBars &b, const UnitFlags &units)
{
    const float w = float(b.Layout10->width());
    lay_out_set(b.PressureLabels, 8,
                {View::Pressure, units, w / 7.0f, 960, QStringLiteral("(hPa)"), b.Layout10}, w,
                legend_font_size(b.LegendBaseFontSize, w, 25), 1, {6, 7});
}

void lay_out_change(LegendBars &b, const UnitFlags &units)
{
    const float w = float(b.Layout7->width());
    const QString unit = temperature_unit(units.fahrenheit);
    lay_out_set(b.ChangeLabels, 7, {View::ClimateChange, units, w / 6.0f, -40, unit, b.Layout7}, w,
                legend_font_size(b.LegendBaseFontSize, w, 20), 1, {-1, 6});
}

void lay_out_rain_snow(LegendBars &b, const UnitFlags &units)
{
    // The halves already have their widths from the dock; one font size serves both.
    const float f = legend_font_size(b.LegendBaseFontSize, float(b.LeftLayout->width()), 20);

    const QStringList &rain = rain_label_texts(units.inchesPerHour);
    for (int i = 0; i < 6; ++i)
        b.RainLabels[i]->setText(rain[i]);
    const float rainWidth = float(b.Layout2->width());
    lay_out_set(b.RainLabels, 6, {View::RainSnow, units, rainWidth / 6.0f, 0, {}, b.Layout2},
                rainWidth, f, 1, {});

    const QStringList &snow = snow_label_texts(units.inchesPerHour);
    for (int i = 0; i < 6; ++i)
        b.SnowLabels[i]->setText(snow[i]);
    const float snowWidth = float(b.Layout3->width());
    lay_out_set(b.SnowLabels, 6, {View::RainSnow, units, snowWidth / 6.0f, 0, {}, b.Layout3},
                snowWidth, f, 1, {-1, 5});
}
} // namespace

void set_legend_text_style(QLabel *label, QRgb colour, int pixelSize)
{
    // The label's own style sheet outranks the application's, which would otherwise hand
    // every label its own text colour and size; only the family still comes from outside.
    const QString sheet = QStringLiteral("color: %1; font-size: %2px;")
                              .arg(QColor::fromRgba(colour).name(QColor::HexRgb))
                              .arg(pixelSize);
    if (label->styleSheet() != sheet) {
        QFont font = label->font();
        font.setPixelSize(pixelSize);
        label->setFont(font);
        label->setStyleSheet(sheet);
    }
    label->adjustSize();
}

float legend_font_size(float base, float stripWidth, int divisor)
{
    if (base <= 0)
        return base;
    float f = base * (stripWidth / (base * float(divisor)));
    if (f > base)
        f = base;
    return f;
}

void legend_label_text(int index, QLabel *label, LegendRun &run)
{
    place_in_strip(label, run.strip, qRound(float(index) * run.spacing));
    const UnitFlags &units = run.units;
    QString text;
    switch (run.kind) {
    case View::Temperature: {
        run.value += 10;
        const int shown = units.fahrenheit ? static_cast<int>(run.value * 1.8 + 32.0) : run.value;
        text = QString::number(shown);
        if (shown == 0 || shown == 32)
            text += run.unit;
        break;
    }
    case View::Wind: {
        const int step = run.value / 10;
        const QList<int> &labelKnots = wind_label_knots();
        const int knots = step >= 0 && step < labelKnots.size() ? labelKnots[step] : 0;
        const int number = units.mph ? knots_to_mph(knots) : knots;
        text = QString::number(number);
        if (number == 0)
            text += run.unit;
        run.value += 10;
        break;
    }
    case View::ClimateChange: {
        run.value += 10;
        const int shown = units.fahrenheit ? static_cast<int>(run.value * 1.8) : run.value;
        text = QString::number(shown);
        if (run.value == 0)
            text += run.unit;
        break;
    }
    case View::Pressure:
        run.value += 10;
        text = QString::number(run.value);
        if (run.value == 970)
            text += run.unit;
        break;
    default:
        return; // rain and snow texts are set by the layout itself
    }
    label->setText(text);
    label->adjustSize();
}

void create_legend_labels(LegendBars &b)
{
    // A second call would leave the lists longer than any layout expects.
    if (!b.TemperatureLabels.isEmpty())
        return;
    add_labels(b.TemperatureLabels, 12, b.LegLayout, b.LegLayout);
    // The rain half's last label may run past its strip into the gap between the halves,
    // so these are drawn in the bar itself, where the half would not clip them.
    add_labels(b.RainLabels, 6, b.LegLayout, b.RectangleRain);
    add_labels(b.SnowLabels, 6, b.LegLayout, b.Layout3);
    add_labels(b.WindLabels, 21, b.LegLayout, b.Layout5);
    add_labels(b.PressureLabels, 8, b.LegLayout, b.Layout10);
    add_labels(b.ChangeLabels, 7, b.LegLayout, b.Layout7);
    b.LegendBaseFontSize = float(b.TemperatureLabels.first()->font().pixelSize());
}

void layout_legend(LegendBars &b, ViewKind kind, const UnitFlags &units)
{
    // Compared unsigned, so negative kinds count as large and change nothing.
    if (static_cast<std::uint32_t>(kind) > static_cast<std::uint32_t>(View::DayNight))
        return;
    QWidget *const bars[] = {b.RectangleTemps, b.RectangleRain, b.RectangleWind, b.RectangleChange,
                             b.RectanglePressure};
    QWidget *shown = kind == View::DayNight ? nullptr : bars[kind];
    for (QWidget *bar : bars)
        if (bar != shown)
            bar->hide();
    if (!shown)
        return;
    shown->show();
    // The view may not have had its resize event yet (it is sent late to hidden widgets).
    dock_legend_bars(b);

    if (!labels_ready(b))
        return;
    switch (kind) {
    case View::Temperature:
        lay_out_temperature(b, units);
        break;
    case View::RainSnow:
        lay_out_rain_snow(b, units);
        break;
    case View::Wind:
        lay_out_wind(b, units);
        break;
    case View::ClimateChange:
        lay_out_change(b, units);
        break;
    case View::Pressure:
        lay_out_pressure(b, units);
        break;
    }
}
