#include "common/testsupport.h"

#include "legend/legendbars.h"
#include "legend/legendimage.h"

#include <QLabel>
#include <QPixmap>

#include <memory>

namespace {
enum class Set { Temperature, Rain, Snow, Wind, Pressure, Change };

QList<QLabel *> labels_of(const LegendBars &s, Set set)
{
    switch (set) {
    case Set::Temperature:
        return s.TemperatureLabels;
    case Set::Rain:
        return s.RainLabels;
    case Set::Snow:
        return s.SnowLabels;
    case Set::Wind:
        return s.WindLabels;
    case Set::Pressure:
        return s.PressureLabels;
    case Set::Change:
        return s.ChangeLabels;
    }
    return {};
}

QStringList texts_of(const LegendBars &bars, Set set)
{
    QStringList texts;
    for (const QLabel *label : labels_of(bars, set))
        texts << label->text();
    return texts;
}

QWidget *strip_of(const LegendBars &b, Set set)
{
    switch (set) {
    case Set::Temperature:
        return b.LegLayout;
    case Set::Rain:
        return b.Layout2;
    case Set::Snow:
        return b.Layout3;
    case Set::Wind:
        return b.Layout5;
    case Set::Pressure:
        return b.Layout10;
    case Set::Change:
        return b.Layout7;
    }
    return nullptr;
}

// A label's left edge in the coordinates of a strip, whichever widget draws it.
int x_in_strip(const QLabel *label, const QWidget *strip)
{
    return label->mapTo(label->window(), QPoint()).x() -
           strip->mapTo(strip->window(), QPoint()).x();
}

bool close_colour(QRgb actual, QRgb expected, int tolerance)
{
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance &&
           qAbs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

QString colour_text(QRgb c) { return QString::number(c, 16).toUpper(); }
} // namespace

Q_DECLARE_METATYPE(Set)
Q_DECLARE_METATYPE(LegendScale)

class TestLegend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void labelsIgnoreTheWindowStyle();
    void docking_data();
    void docking();
    void texts_data();
    void texts();
    void labelPositions_data();
    void labelPositions();
    void fontSize_data();
    void fontSize();
    void crowdedLabelEmptiesAndReturns_data();
    void crowdedLabelEmptiesAndReturns();
    void crowdingRuleHolds_data();
    void crowdingRuleHolds();
    void lastLabels_data();
    void lastLabels();
    void visibility_data();
    void visibility();
    void rainSnowSplit_data();
    void rainSnowSplit();
    void knotsToMph_data();
    void knotsToMph();
    void rampColours_data();
    void rampColours();
    void cellColours_data();
    void cellColours();

private:
    void makeView(int width, int height = 600);

    std::unique_ptr<QWidget> view;
    LegendBars bars;
    UnitFlags units;
};

void TestLegend::initTestCase()
{
    // The app's own sheet gives every widget a grey text colour; the size rule is there to
    // prove the legend keeps its own sizes too.
    qApp->setStyleSheet(QStringLiteral("QWidget { color: #F0F0F0; } QLabel { font-size: 30px; }"));
}

void TestLegend::init() { units = {}; }

void TestLegend::cleanup()
{
    view.reset();
    bars = {};
}

void TestLegend::makeView(int width, int height)
{
    view = std::make_unique<QWidget>();
    view->resize(width, height);
    bars = create_legend_bars(view.get());
    create_legend_labels(bars);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
}

void TestLegend::startState()
{
    makeView(800);
    QVERIFY(bars.RectangleRain->isVisible());
    for (QWidget *bar :
         {bars.RectangleTemps, bars.RectangleWind, bars.RectangleChange, bars.RectanglePressure})
        QVERIFY2(!bar->isVisible(), qPrintable(bar->objectName()));

    const LegendBars &s = bars;
    QCOMPARE(s.LegendBaseFontSize, 12.0f);
    QCOMPARE(s.TemperatureLabels.size(), 12);
    QCOMPARE(s.RainLabels.size(), 6);
    QCOMPARE(s.SnowLabels.size(), 6);
    QCOMPARE(s.WindLabels.size(), 21);
    QCOMPARE(s.PressureLabels.size(), 8);
    QCOMPARE(s.ChangeLabels.size(), 7);
    create_legend_labels(bars);
    QCOMPARE(s.TemperatureLabels.size(), 12);
    QCOMPARE(s.WindLabels.size(), 21);

    const QList<std::pair<Set, QWidget *>> drawnIn = {
        {Set::Temperature, bars.LegLayout}, {Set::Rain, bars.RectangleRain},
        {Set::Snow, bars.Layout3},          {Set::Wind, bars.Layout5},
        {Set::Pressure, bars.Layout10},     {Set::Change, bars.Layout7}};
    for (const auto &[set, parent] : drawnIn) {
        for (QLabel *label : labels_of(bars, set)) {
            QCOMPARE(label->parentWidget(), parent);
            QVERIFY(label->text().isEmpty());
            QVERIFY(!label->wordWrap());
            QVERIFY(!label->isHidden());
        }
    }
}

void TestLegend::labelsIgnoreTheWindowStyle()
{
    makeView(800);
    layout_legend(bars, View::Temperature, units);
    QLabel *label = bars.TemperatureLabels[6];
    QCOMPARE(label->text(), QStringLiteral("0°C"));
    QCOMPARE(label->font().pixelSize(), 12);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));

    // The glyphs really are drawn white, not in the sheet's grey.
    const QImage image = label->grab().toImage();
    int brightest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            brightest = qMax(brightest, qRed(image.pixel(x, y)));
    QCOMPARE(brightest, 255);

    for (auto [caption, colour, text] :
         {std::tuple{bars.RainCaption, QColor(0x00, 0x00, 0xFF), QStringLiteral("Rain")},
          std::tuple{bars.SnowCaption, QColor(0x48, 0xD1, 0xCC), QStringLiteral("Snow")}}) {
        QCOMPARE(caption->text(), text);
        QCOMPARE(caption->font().pixelSize(), 20);
        QCOMPARE(caption->palette().color(QPalette::WindowText), colour);
        QVERIFY(!caption->wordWrap());
    }
}

void TestLegend::docking_data()
{
    QTest::addColumn<QSize>("first");
    QTest::addColumn<QSize>("second");
    QTest::newRow("grow") << QSize(640, 480) << QSize(1000, 700);
    QTest::newRow("shrink") << QSize(900, 600) << QSize(420, 300);
}

void TestLegend::docking()
{
    QFETCH(QSize, first);
    QFETCH(QSize, second);
    makeView(first.width(), first.height());
    for (const QSize size : {first, second}) {
        view->resize(size);
        QTRY_COMPARE(view->size(), size);
        const int w = size.width();
        for (QWidget *bar : {bars.RectangleTemps, bars.RectangleRain, bars.RectangleWind,
                             bars.RectangleChange, bars.RectanglePressure})
            QCOMPARE(bar->geometry(), QRect(0, size.height() - 50, w, 50));
        for (auto [image, strip] :
             {std::pair<QWidget *, QWidget *>{bars.TempsImage, bars.LegLayout},
              {bars.WindImage, bars.Layout5},
              {bars.ChangeImage, bars.Layout7},
              {bars.PressureImage, bars.Layout10}}) {
            QCOMPARE(image->geometry(), QRect(2, 0, w - 4, 27));
            QCOMPARE(strip->geometry(), QRect(2, 27, w - 4, 23));
        }
        const int half = bars.LeftLayout->width();
        QCOMPARE(bars.RainImage->geometry(), QRect(0, 0, half, 27));
        QCOMPARE(bars.Layout2->geometry(), QRect(0, 27, half, 23));
        QCOMPARE(bars.SnowImage->geometry(), QRect(0, 0, half, 27));
        QCOMPARE(bars.Layout3->geometry(), QRect(0, 27, half, 23));
    }
}

void TestLegend::texts_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<bool>("mph");
    QTest::addColumn<bool>("inches");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("temperature °C")
        << View::Temperature << Set::Temperature << false << false << false
        << QStringList{"-60", "-50", "-40", "-30", "-20", "-10",
                       "0°C", "10",  "20",  "30",  "40",  "50"};
    QTest::newRow("temperature °F")
        << View::Temperature << Set::Temperature << true << false << false
        << QStringList{"-76",  "-58", "-40", "-22", "-4",  "14",
                       "32°F", "50",  "68",  "86",  "104", "122"};
    QTest::newRow("wind knots") << View::Wind << Set::Wind << false << false << false
                                << QStringList{"0(kt)", "",   "8",   "",   "16",  "",   "25",
                                               "",      "35", "",    "45", "",    "60", "",
                                               "80",    "",   "100", "",   "120", "",   ""};
    QTest::newRow("wind mph") << View::Wind << Set::Wind << false << true << false
                              << QStringList{"0(mph)", "",   "9",   "",   "18",  "",   "28",
                                             "",       "40", "",    "51", "",    "69", "",
                                             "92",     "",   "115", "",   "138", "",   ""};
    QTest::newRow("pressure") << View::Pressure << Set::Pressure << false << false << false
                              << QStringList{"970(hPa)", "980",  "990",  "1000",
                                             "1010",     "1020", "1030", "1040"};
    QTest::newRow("pressure ignores every unit flag")
        << View::Pressure << Set::Pressure << true << true << true
        << QStringList{"970(hPa)", "980", "990", "1000", "1010", "1020", "1030", "1040"};
    QTest::newRow("change °C") << View::ClimateChange << Set::Change << false << false << false
                               << QStringList{"-30", "-20", "-10", "0°C", "10", "20", "30"};
    QTest::newRow("change °F") << View::ClimateChange << Set::Change << true << false << false
                               << QStringList{"-54", "-36", "-18", "0°F", "18", "36", "54"};
    QTest::newRow("rain mm/h") << View::RainSnow << Set::Rain << false << false << false
                               << QStringList{"0.1", "0.5", "2", "5", "15", "25 (mm/h)"};
    QTest::newRow("rain in/h") << View::RainSnow << Set::Rain << false << false << true
                               << QStringList{" ", ".02", ".07", ".2", ".6", "1 (in/h)"};
    QTest::newRow("snow mm/h") << View::RainSnow << Set::Snow << false << false << false
                               << QStringList{"0.1", "0.5", "2", "5", "10", "15(mm/h)"};
    QTest::newRow("snow in/h") << View::RainSnow << Set::Snow << false << false << true
                               << QStringList{" ", ".02", ".07", ".2", ".4", ".6 (in/h)"};
}

void TestLegend::texts()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(bool, fahrenheit);
    QFETCH(bool, mph);
    QFETCH(bool, inches);
    QFETCH(QStringList, expected);
    makeView(1000);
    UnitFlags &s = units;
    s.fahrenheit = fahrenheit;
    s.mph = mph;
    s.inchesPerHour = inches;
    layout_legend(bars, kind, units);
    QCOMPARE(texts_of(bars, set), expected);

    // A unit change shows at the next layout, with no texts left over from the last one.
    s.fahrenheit = !fahrenheit;
    s.mph = !mph;
    s.inchesPerHour = !inches;
    layout_legend(bars, kind, units);
    s.fahrenheit = fahrenheit;
    s.mph = mph;
    s.inchesPerHour = inches;
    layout_legend(bars, kind, units);
    QCOMPARE(texts_of(bars, set), expected);
}

void TestLegend::labelPositions_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<QList<int>>("indices"); // labels that stay at index x spacing

    QTest::newRow("temperature") << View::Temperature << Set::Temperature << 11
                                 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("wind, every second cell")
        << View::Wind << Set::Wind << 19 << QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18};
    QTest::newRow("pressure") << View::Pressure << Set::Pressure << 7
                              << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("change") << View::ClimateChange << Set::Change << 6
                            << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("rain, last one too")
        << View::RainSnow << Set::Rain << 6 << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("snow") << View::RainSnow << Set::Snow << 6 << QList<int>{0, 1, 2, 3, 4};
}

void TestLegend::labelPositions()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(int, divisions);
    QFETCH(QList<int>, indices);
    for (int width : {1100, 700}) {
        makeView(width);
        layout_legend(bars, kind, units);
        const QWidget *strip = strip_of(bars, set);
        const float spacing = float(strip->width()) / float(divisions);
        const QList<QLabel *> labels = labels_of(bars, set);
        for (int i : indices) {
            QCOMPARE(x_in_strip(labels[i], strip), qRound(float(i) * spacing));
            QCOMPARE(labels[i]->y() - strip->mapTo(labels[i]->parentWidget(), QPoint()).y(), 2);
        }
    }
}

void TestLegend::fontSize_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("viewWidth");
    QTest::addColumn<int>("pixels");

    // Strips are 4 narrower than the view; the rain/snow font follows the half's width.
    QTest::newRow("temperature, wide") << View::Temperature << Set::Temperature << 800 << 12;
    QTest::newRow("temperature, strip 360 = 12 x 30")
        << View::Temperature << Set::Temperature << 364 << 12;
    QTest::newRow("temperature, strip 330") << View::Temperature << Set::Temperature << 334 << 11;
    QTest::newRow("temperature, strip 196") << View::Temperature << Set::Temperature << 200 << 7;
    QTest::newRow("wind, strip 300 = 12 x 25") << View::Wind << Set::Wind << 304 << 12;
    QTest::newRow("wind, strip 250") << View::Wind << Set::Wind << 254 << 10;
    QTest::newRow("pressure, strip 200") << View::Pressure << Set::Pressure << 204 << 8;
    QTest::newRow("change, strip 240 = 12 x 20") << View::ClimateChange << Set::Change << 244 << 12;
    QTest::newRow("change, strip 180") << View::ClimateChange << Set::Change << 184 << 9;
    QTest::newRow("rain, half 380") << View::RainSnow << Set::Rain << 800 << 12;
    QTest::newRow("rain, half 228") << View::RainSnow << Set::Rain << 480 << 11;
    QTest::newRow("snow, half 190") << View::RainSnow << Set::Snow << 400 << 10;
}

void TestLegend::fontSize()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(int, viewWidth);
    QFETCH(int, pixels);
    makeView(viewWidth);
    layout_legend(bars, kind, units);
    const QList<QLabel *> labels = labels_of(bars, set);
    const int step = set == Set::Wind ? 2 : 1;
    const int count = set == Set::Wind ? 19 : int(labels.size());
    for (int i = 0; i < count; i += step)
        QCOMPARE(labels[i]->font().pixelSize(), pixels);
}

void TestLegend::crowdedLabelEmptiesAndReturns_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<QString>("text");
    QTest::newRow("temperature 104")
        << View::Temperature << Set::Temperature << 10 << true << QStringLiteral("104");
    QTest::newRow("pressure 1030")
        << View::Pressure << Set::Pressure << 6 << false << QStringLiteral("1030");
}

void TestLegend::crowdedLabelEmptiesAndReturns()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(int, index);
    QFETCH(bool, fahrenheit);
    QFETCH(QString, text);
    makeView(1000);
    units.fahrenheit = fahrenheit;
    layout_legend(bars, kind, units);
    QLabel *label = labels_of(bars, set)[index];
    QCOMPARE(label->text(), text);
    const QPoint place = label->pos();

    view->resize(300, 600);
    layout_legend(bars, kind, units);
    QCOMPARE(label->text(), QString());
    const float w = float(strip_of(bars, set)->width());
    QCOMPARE(label->x(), qRound(float(index) * w / float(set == Set::Temperature ? 11 : 7)));

    view->resize(1000, 600);
    layout_legend(bars, kind, units);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), place);
}

void TestLegend::crowdingRuleHolds_data()
{
    QTest::addColumn<int>("viewWidth");
    for (int w = 200; w <= 1200; w += 50)
        QTest::addRow("%d wide", w) << w;
}

void TestLegend::crowdingRuleHolds()
{
    // At any width a shown label 10 keeps at least its own width clear of the strip's end,
    // and an empty one would not have done so.
    QFETCH(int, viewWidth);
    makeView(viewWidth);
    units.fahrenheit = true;
    layout_legend(bars, View::Temperature, units);
    const float w = float(bars.LegLayout->width());
    const float x = 10.0f * (w / 11.0f);
    QLabel *label = bars.TemperatureLabels[10];
    if (!label->text().isEmpty()) {
        QVERIFY(x + 2 * label->width() <= w);
        return;
    }
    QLabel probe(QStringLiteral("104"), bars.LegLayout);
    set_legend_text_style(&probe, 0xFFFFFFFF, bars.TemperatureLabels[0]->font().pixelSize());
    QVERIFY(x + 2 * probe.width() > w);
}

void TestLegend::lastLabels_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("units"); // the non-default unit choice
    QTest::newRow("temperature 50") << View::Temperature << Set::Temperature << 11 << false;
    QTest::newRow("temperature 122") << View::Temperature << Set::Temperature << 11 << true;
    QTest::newRow("pressure 1040") << View::Pressure << Set::Pressure << 7 << false;
    QTest::newRow("change 30") << View::ClimateChange << Set::Change << 6 << false;
    QTest::newRow("change 54") << View::ClimateChange << Set::Change << 6 << true;
    QTest::newRow("snow 15(mm/h)") << View::RainSnow << Set::Snow << 5 << false;
    QTest::newRow("snow .6 (in/h)") << View::RainSnow << Set::Snow << 5 << true;
}

void TestLegend::lastLabels()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(int, index);
    QFETCH(bool, units);
    this->units.fahrenheit = units;
    this->units.inchesPerHour = units;
    for (int width : {1200, 330}) {
        makeView(width);
        layout_legend(bars, kind, this->units);
        const QWidget *strip = strip_of(bars, set);
        QLabel *label = labels_of(bars, set)[index];
        QVERIFY(!label->text().isEmpty());
        QCOMPARE(x_in_strip(label, strip) + label->width(), strip->width());
    }
}

void TestLegend::visibility_data()
{
    QTest::addColumn<QList<ViewKind>>("kinds");
    QTest::addColumn<QString>("visible"); // object name of the one bar shown, or empty
    QTest::newRow("temperature") << QList<ViewKind>{0} << QStringLiteral("RectangleTemps");
    QTest::newRow("rain/snow") << QList<ViewKind>{1} << QStringLiteral("RectangleRain");
    QTest::newRow("wind") << QList<ViewKind>{2} << QStringLiteral("RectangleWind");
    QTest::newRow("change") << QList<ViewKind>{3} << QStringLiteral("RectangleChange");
    QTest::newRow("pressure") << QList<ViewKind>{4} << QStringLiteral("RectanglePressure");
    QTest::newRow("day/night") << QList<ViewKind>{2, 5} << QString();
    QTest::newRow("temperature, rain/snow, temperature")
        << QList<ViewKind>{0, 1, 0} << QStringLiteral("RectangleTemps");
    QTest::newRow("7 leaves wind") << QList<ViewKind>{2, 7} << QStringLiteral("RectangleWind");
    QTest::newRow("refresh leaves change")
        << QList<ViewKind>{3, View::Refresh} << QStringLiteral("RectangleChange");
    QTest::newRow("negative leaves pressure")
        << QList<ViewKind>{4, -1} << QStringLiteral("RectanglePressure");
    QTest::newRow("7 after day/night leaves none") << QList<ViewKind>{5, 7} << QString();
}

void TestLegend::visibility()
{
    QFETCH(QList<ViewKind>, kinds);
    QFETCH(QString, visible);
    makeView(800);
    for (ViewKind kind : kinds) {
        layout_legend(bars, kind, units);
        int shown = 0;
        for (QWidget *bar : {bars.RectangleTemps, bars.RectangleRain, bars.RectangleWind,
                             bars.RectangleChange, bars.RectanglePressure})
            shown += bar->isVisible() ? 1 : 0;
        QVERIFY(shown <= 1);
    }
    for (QWidget *bar : {bars.RectangleTemps, bars.RectangleRain, bars.RectangleWind,
                         bars.RectangleChange, bars.RectanglePressure})
        QCOMPARE(bar->isVisible(), bar->objectName() == visible);
}

void TestLegend::rainSnowSplit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<float>("half");
    QTest::newRow("800") << 800 << 380.0f;
    QTest::newRow("500") << 500 << 237.5f;
    QTest::newRow("1001") << 1001 << 475.475f;
}

void TestLegend::rainSnowSplit()
{
    QFETCH(int, width);
    QFETCH(float, half);
    QCOMPARE(rain_half_width(float(width)), half);
    makeView(width);
    layout_legend(bars, View::RainSnow, units);
    QCOMPARE(bars.RectangleRain->width(), width);
    for (QWidget *side : {bars.LeftLayout, bars.RightLayout}) {
        QVERIFY2(qAbs(float(side->width()) - half) <= 0.5f, qPrintable(side->objectName()));
        QCOMPARE(side->height(), 50);
    }
    QCOMPARE(bars.LeftLayout->x(), 0);
    QCOMPARE(bars.RightLayout->geometry().right(), width - 1);
    for (auto [caption, image] : {std::pair<QLabel *, QWidget *>{bars.RainCaption, bars.RainImage},
                                  {bars.SnowCaption, bars.SnowImage}}) {
        QCOMPARE(caption->parentWidget(), image);
        const QPointF centre = QRectF(caption->geometry()).center();
        QVERIFY(qAbs(centre.x() - image->width() / 2.0) <= 1.0);
        QVERIFY(qAbs(centre.y() - image->height() / 2.0) <= 1.0);
    }
}

void TestLegend::knotsToMph_data()
{
    QTest::addColumn<int>("knots");
    QTest::addColumn<int>("mph");
    QTest::newRow("25 cut to 28") << 25 << 28;
    QTest::newRow("45 cut to 51") << 45 << 51;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("8") << 8 << 9;
    QTest::newRow("60") << 60 << 69;
    QTest::newRow("120") << 120 << 138;
    QTest::newRow("negative cut toward zero") << -25 << -28;
}

void TestLegend::knotsToMph()
{
    QFETCH(int, knots);
    QFETCH(int, mph);
    QCOMPARE(knots_to_mph(knots), mph);
}

void TestLegend::rampColours_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Set>("set");
    QTest::addColumn<QList<QRgb>>("colours"); // at labels 0, 1, ...; the last at its right end
    QTest::newRow("temperature") << View::Temperature << Set::Temperature
                                 << QList<QRgb>{0xFFFFFFFF, 0xFFAF8DAE, 0xFF4F004B, 0xFFF300EE,
                                                0xFF1F208C, 0xFF6BABF3, 0xFF9AE9D4, 0xFF7CC142,
                                                0xFFFBAE2A, 0xFFFD0100, 0xFF690000, 0xFFFEFFFF};
    QTest::newRow("change") << View::ClimateChange << Set::Change
                            << QList<QRgb>{0xFFFFFFFF, 0xFFDCB6FE, 0xFF132297, 0xFFFFFFFF,
                                           0xFF740000, 0xFFFA0000, 0xFFFFB2B1};
    QTest::newRow("pressure") << View::Pressure << Set::Pressure
                              << QList<QRgb>{0xFF4E1253, 0xFFB100B1, 0xFFEF00F1, 0xFF21175A,
                                             0xFFC6DAF4, 0xFFEB8921, 0xFFFE0402, 0xFF6B0A09};
}

void TestLegend::rampColours()
{
    QFETCH(ViewKind, kind);
    QFETCH(Set, set);
    QFETCH(QList<QRgb>, colours);
    makeView(1100);
    layout_legend(bars, kind, units);
    QWidget *bar = strip_of(bars, set)->parentWidget();
    const QImage image = bar->grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    const QWidget *strip = strip_of(bars, set);
    const QList<QLabel *> labels = labels_of(bars, set);
    for (int i = 0; i < colours.size(); ++i) {
        // The last label is right-aligned: its value sits under its right edge.
        const int inStrip = i + 1 == colours.size()
                                ? x_in_strip(labels[i], strip) + labels[i]->width() - 1
                                : x_in_strip(labels[i], strip);
        const int x = strip->x() + inStrip;
        const QRgb actual = image.pixel(int(x * dpr), int(13 * dpr));
        QVERIFY2(close_colour(actual, colours[i], 4),
                 qPrintable(QStringLiteral("label %1: %2, expected %3")
                                .arg(i)
                                .arg(colour_text(actual), colour_text(colours[i]))));
    }
    // Outside the image's inset the bar is black.
    QCOMPARE(image.pixel(0, int(13 * dpr)) & 0xFFFFFF, 0u);
    QCOMPARE(image.pixel(image.width() - 1, int(13 * dpr)) & 0xFFFFFF, 0u);
}

void TestLegend::cellColours_data()
{
    QTest::addColumn<LegendScale>("scale");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::newRow("rain") << rain_scale()
                          << QList<QRgb>{0xFFC9F0C9, 0xFF00E100, 0xFF00C900, 0xFF00B200,
                                         0xFF009900, 0xFF008100, 0xFFFFFF00, 0xFFFFC100,
                                         0xFFFF8100, 0xFFFF0000, 0xFF810000};
    QTest::newRow("snow") << snow_scale()
                          << QList<QRgb>{0xFFD9FFFF, 0xFFA1E1F6, 0xFF81C1E9, 0xFF3E91D9,
                                         0xFF1A60C9, 0xFF0000A1, 0xFFFFFF00, 0xFFFFC100,
                                         0xFFFF8100, 0xFFFF0000, 0xFF810000};
    QTest::newRow("wind") << wind_scale()
                          << QList<QRgb>{0xFFFFFFFF, 0xFFF0F0F0, 0xFFBEE6FC, 0xFF78AFEC, 0xFF3278DC,
                                         0xFF00A010, 0xFF40D038, 0xFF80FF60, 0xFFFFFCAC, 0xFFFFE280,
                                         0xFFFFC850, 0xFFFF9000, 0xFFFF0000, 0xFFCD0000, 0xFFA00000,
                                         0xFFC86868, 0xFFD4948E, 0xFFE0C0B4, 0xFFFEECE0};
}

void TestLegend::cellColours()
{
    QFETCH(LegendScale, scale);
    QFETCH(QList<QRgb>, colours);
    LegendImage image(scale, nullptr);
    image.resize(colours.size() * 20 + 7, 27);
    const QImage picture = image.grab().toImage();
    const qreal dpr = picture.devicePixelRatio();
    const qreal cell = qreal(image.width()) / qreal(colours.size());
    for (int i = 0; i < colours.size(); ++i) {
        const int x = int((i + 0.5) * cell * dpr);
        QCOMPARE(colour_text(picture.pixel(x, int(13 * dpr))), colour_text(colours[i]));
    }
    const QRgb corner = picture.pixel(0, 0);
    if (scale.framed)
        QCOMPARE(qGray(corner), 0x80);
    else
        QCOMPARE(colour_text(corner), colour_text(colours.first()));
}

SKYLOOM_TEST_MAIN(TestLegend)
#include "tst_legend.moc"
