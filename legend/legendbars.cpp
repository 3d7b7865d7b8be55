#include "legend/legendbars.h"

#include "legend/legendimage.h"

#include <QEvent>
#include <QLabel>

namespace {
// Keeps the bars on the view's bottom edge as the view changes size.
class LegendDock : public QObject
{
public:
    LegendDock(const LegendBars &bars, QWidget *view)
        : QObject(view)
        , m_bars(bars)
    {
        view->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && watched == parent())
            dock_legend_bars(m_bars);
        return false;
    }

private:
    LegendBars m_bars;
};

QWidget *make_bar(QWidget *view, const QString &name)
{
    auto *bar = new LegendBar(view);
    bar->setObjectName(name);
    return bar;
}

QWidget *make_widget(QWidget *parent, const QString &name)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(name);
    return widget;
}

LegendImage *make_image(QWidget *parent, LegendScale scale, const QString &name)
{
    auto *image = new LegendImage(std::move(scale), parent);
    image->setObjectName(name);
    return image;
}

QLabel *make_caption(QWidget *image, const QString &text, QRgb colour, const QString &name)
{
    auto *caption = new QLabel(text, image);
    caption->setObjectName(name);
    caption->setWordWrap(false);
    set_legend_text_style(caption, colour, Legend::CaptionFontSize);
    return caption;
}

// A bar whose image and strip run the full width less the inset on each side.
void dock_inset(QWidget *bar, QWidget *image, QWidget *strip)
{
    const int w = qMax(0, bar->width() - 2 * Legend::ImageInset);
    image->setGeometry(Legend::ImageInset, 0, w, Legend::ImageHeight);
    strip->setGeometry(Legend::ImageInset, Legend::ImageHeight, w, Legend::StripHeight);
}

void dock_half(QWidget *half, QWidget *image, QLabel *caption, QWidget *strip)
{
    image->setGeometry(0, 0, half->width(), Legend::ImageHeight);
    strip->setGeometry(0, Legend::ImageHeight, half->width(), Legend::StripHeight);
    caption->move((image->width() - caption->width()) / 2,
                  (image->height() - caption->height()) / 2);
}
} // namespace

float rain_half_width(float barWidth) { return barWidth / 2.0f - barWidth / 40.0f; }

LegendBars create_legend_bars(QWidget *view)
{
    LegendBars b;
    b.RectangleTemps = make_bar(view, QStringLiteral("RectangleTemps"));
    b.TempsImage = make_image(b.RectangleTemps, temperature_scale(), QStringLiteral("TempsImage"));
    b.LegLayout = make_widget(b.RectangleTemps, QStringLiteral("LegLayout"));

    b.RectangleRain = make_bar(view, QStringLiteral("RectangleRain"));
    b.LeftLayout = make_widget(b.RectangleRain, QStringLiteral("LeftLayout"));
    b.RainImage = make_image(b.LeftLayout, rain_scale(), QStringLiteral("RainImage"));
    b.RainCaption = make_caption(b.RainImage, QStringLiteral("Rain"), 0xFF0000FF,
                                 QStringLiteral("RainCaption"));
    b.Layout2 = make_widget(b.LeftLayout, QStringLiteral("Layout2"));
    b.RightLayout = make_widget(b.RectangleRain, QStringLiteral("RightLayout"));
    b.SnowImage = make_image(b.RightLayout, snow_scale(), QStringLiteral("SnowImage"));
    b.SnowCaption = make_caption(b.SnowImage, QStringLiteral("Snow"), 0xFF48D1CC,
                                 QStringLiteral("SnowCaption"));
    b.Layout3 = make_widget(b.RightLayout, QStringLiteral("Layout3"));

    b.RectangleWind = make_bar(view, QStringLiteral("RectangleWind"));
    b.WindImage = make_image(b.RectangleWind, wind_scale(), QStringLiteral("WindImage"));
    b.Layout5 = make_widget(b.RectangleWind, QStringLiteral("Layout5"));

    b.RectangleChange = make_bar(view, QStringLiteral("RectangleChange"));
    b.ChangeImage = make_image(b.RectangleChange, change_scale(), QStringLiteral("ChangeImage"));
    b.Layout7 = make_widget(b.RectangleChange, QStringLiteral("Layout7"));

    b.RectanglePressure = make_bar(view, QStringLiteral("RectanglePressure"));
    b.PressureImage =
        make_image(b.RectanglePressure, pressure_scale(), QStringLiteral("PressureImage"));
    b.Layout10 = make_widget(b.RectanglePressure, QStringLiteral("Layout10"));

    for (QWidget *bar : {b.RectangleTemps, b.RectangleWind, b.RectangleChange, b.RectanglePressure})
        bar->hide();
    b.RectangleRain->show();

    new LegendDock(b, view);
    dock_legend_bars(b);
    return b;
}

void dock_legend_bars(const LegendBars &b)
{
    if (!b.RectangleTemps)
        return;
    const QWidget *view = b.RectangleTemps->parentWidget();
    const int w = view->width();
    const int y = view->height() - Legend::BarHeight;
    for (QWidget *bar : {b.RectangleTemps, b.RectangleRain, b.RectangleWind, b.RectangleChange,
                         b.RectanglePressure})
        bar->setGeometry(0, y, w, Legend::BarHeight);

    dock_inset(b.RectangleTemps, b.TempsImage, b.LegLayout);
    dock_inset(b.RectangleWind, b.WindImage, b.Layout5);
    dock_inset(b.RectangleChange, b.ChangeImage, b.Layout7);
    dock_inset(b.RectanglePressure, b.PressureImage, b.Layout10);

    // Widgets take whole pixels; the nearest one to the exact half width.
    const int half = qRound(rain_half_width(float(w)));
    b.LeftLayout->setGeometry(0, 0, half, Legend::BarHeight);
    b.RightLayout->setGeometry(w - half, 0, half, Legend::BarHeight);
    dock_half(b.LeftLayout, b.RainImage, b.RainCaption, b.Layout2);
    dock_half(b.RightLayout, b.SnowImage, b.SnowCaption, b.Layout3);
}
