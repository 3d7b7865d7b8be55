#pragma once

#include "core/globetypes.h"
#include "core/unitflags.h"
#include "legend/legendscale.h"

#include <QList>
#include <QRgb>
#include <QString>

class QLabel;
class QWidget;
class LegendImage;

// The five legend bars docked at the bottom of the globe view, with their label strips.
struct LegendBars
{
    QWidget *RectangleTemps = nullptr;
    QWidget *RectangleRain = nullptr;
    QWidget *RectangleWind = nullptr;
    QWidget *RectangleChange = nullptr;
    QWidget *RectanglePressure = nullptr;
    // Label strips
    QWidget *LegLayout = nullptr;
    QWidget *Layout2 = nullptr;
    QWidget *Layout3 = nullptr;
    QWidget *Layout5 = nullptr;
    QWidget *Layout7 = nullptr;
    QWidget *Layout10 = nullptr;
    // Rain and snow halves of the rain/snow bar
    QWidget *LeftLayout = nullptr;
    QWidget *RightLayout = nullptr;
    QLabel *RainCaption = nullptr;
    QLabel *SnowCaption = nullptr;
    // Colour images
    LegendImage *TempsImage = nullptr;
    LegendImage *RainImage = nullptr;
    LegendImage *SnowImage = nullptr;
    LegendImage *WindImage = nullptr;
    LegendImage *ChangeImage = nullptr;
    LegendImage *PressureImage = nullptr;
    // Labels of each bar, made once by create_legend_labels
    QList<QLabel *> TemperatureLabels;
    QList<QLabel *> RainLabels;
    QList<QLabel *> SnowLabels;
    QList<QLabel *> WindLabels;
    QList<QLabel *> PressureLabels;
    QList<QLabel *> ChangeLabels;
    float LegendBaseFontSize = 0;
};

namespace Legend {
constexpr int BarHeight = 50;
constexpr int ImageHeight = 27;
constexpr int StripHeight = 23;
constexpr int ImageInset = 2;
// The label font size of the desktop platform, in pixels.
constexpr int DefaultFontSize = 12;
constexpr int CaptionFontSize = 20;
} // namespace Legend

// Creates the five bars as children of `view`, docked at its bottom and kept docked and full
// width when the view resizes. At creation only the rain/snow bar is visible.
LegendBars create_legend_bars(QWidget *view);

// Puts every bar, image, strip and caption where the view's current size asks.
void dock_legend_bars(const LegendBars &bars);

// The width of each rain/snow half for a bar W wide: W / 2 - W / 40.
float rain_half_width(float barWidth);

// Creates the six label sets of the bars and takes LegendBaseFontSize.
void create_legend_labels(LegendBars &bars);

// Makes the view's bar the only visible one and places, sizes and fills its labels in the
// given units. 5 hides every bar; kinds other than 0..5 change nothing.
void layout_legend(LegendBars &bars, ViewKind kind, const UnitFlags &units);

// What a layout carries from one label to the next.
struct LegendRun
{
    ViewKind kind = View::Temperature;
    UnitFlags units;
    float spacing = 0;
    int value = 0;
    QString unit;
    // The strip whose coordinates the label positions are in.
    const QWidget *strip = nullptr;
};

// Places label `index` at index x spacing and, for the temperature, wind, pressure and
// change bars, sets its text and moves the running value on.
void legend_label_text(int index, QLabel *label, LegendRun &run);

// The font size for a strip w wide: the base size, shrunk to w / divisor when that is smaller.
float legend_font_size(float baseSize, float stripWidth, int divisor);

// Sets a legend label's colour and pixel font size in a way the window style cannot override.
void set_legend_text_style(QLabel *label, QRgb colour, int pixelSize);
