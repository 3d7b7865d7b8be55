#include "common/testsupport.h"

#include "globe/cameracontrol.h"
#include "globe/globescene.h"
#include "legend/legendscale.h"
#include "readout/pointerreadout.h"
#include "readout/readouttext.h"
#include "scalemaps.h"

#include <QRegularExpression>
#include <QtMath>

#include <cmath>

// Maps painted from known fields with the legends' own colours, laid out as the server lays
// them out and stretched as the program stretches them, then read back through the pointer.
namespace {
const QSizeF ViewSize(400, 400);
const QPointF Middle(200, 200);
const QDateTime Noon(QDate(2023, 9, 22), QTime(12, 0), Qt::UTC);

double temperature_field(double lat, double lon)
{
    return 20 - 0.7 * std::abs(lat) + 12 * std::sin(qDegreesToRadians(lon));
}

double change_field(double lat, double lon)
{
    return 0.2 * lat + 7 * std::cos(qDegreesToRadians(lon));
}

double wind_field(double lat, double lon)
{
    return 0.9 * std::abs(lat) + 10 * (1 + std::sin(qDegreesToRadians(lon)));
}

// Doubling every 40 degrees eastward, from 1/16 mm/h at the date line.
double rain_field(double, double lon) { return std::exp2((lon + 180) / 40 - 4); }
// Away from the grid's rows, whose readings would straddle it.
bool snows(double lat) { return lat > 52.5; }
bool cloudy(double lat, double lon) { return lat > -20 && lat < -10 && lon > 0 && lon < 20; }
bool on_coast(double lon) { return std::abs(lon + 60) < 0.8; }

const QList<double> WindCells = {0,  4,  8,  12, 16, 20, 25,  30,  35, 40,
                                 45, 52, 60, 70, 80, 90, 100, 110, 120};
const QList<double> RainCells = {0.1, 0.3, 0.5, 1, 2, 3.5, 5, 10, 15, 20, 25};
const QList<double> SnowCells = {0.1, 0.3, 0.5, 1, 2, 3.5, 5, 7.5, 10, 12.5, 15};
// What is on a map but on no legend.
constexpr QRgb Coast = 0xFF282828;
constexpr QRgb Cloud = 0xFFFFFFFF;
constexpr QRgb DryLand = 0xFFE2DED4;

// Which cell a value falls in; -1 below the first.
int cell_of(const QList<double> &lowerBounds, double value)
{
    int cell = -1;
    while (cell + 1 < lowerBounds.size() && value >= lowerBounds[cell + 1])
        ++cell;
    return cell;
}

QRgb colour_of(ViewKind view, double lat, double lon)
{
    switch (view) {
    case View::Temperature:
        return ramp_colour(temperature_scale().colours,
                           TemperatureRamp.stopOf(temperature_field(lat, lon)));
    case View::ClimateChange:
        return ramp_colour(change_scale().colours, ChangeRamp.stopOf(change_field(lat, lon)));
    case View::Wind:
        return on_coast(lon) ? Coast
                             : cell_colour(wind_scale().colours, WindCells, wind_field(lat, lon));
    case View::RainSnow: {
        if (on_coast(lon))
            return Coast;
        if (cloudy(lat, lon))
            return Cloud;
        const double rate = rain_field(lat, lon);
        if (rate < RainCells.first())
            return DryLand;
        return snows(lat) ? cell_colour(snow_scale().colours, SnowCells, rate)
                          : cell_colour(rain_scale().colours, RainCells, rate);
    }
    default:
        return Coast;
    }
}

// Turns the globe so that a place faces the camera, in the middle of the view.
void aim(GlobeScene &scene, double lat, double lon)
{
    scene.ClimateSphere.setRotationY(float(lon - 90));
    scene.EarthSphere.setRotationY(float(lon - 90));
    scene.CameraX.setRotationX(float(-lat));
}

// The cell a readout text names, as the legend's own colours read; -1 for no value.
int cell_named(ViewKind view, const QString &text)
{
    if (text.isEmpty())
        return -1;
    const QList<QList<QRgb>> scales =
        view == View::Wind ? QList<QList<QRgb>>{wind_scale().colours}
                           : QList<QList<QRgb>>{rain_scale().colours, snow_scale().colours};
    for (const QList<QRgb> &cells : scales)
        for (int i = 0; i < cells.size(); ++i)
            if (map_value_text(view, cells[i], {}) == text)
                return i;
    return -2;
}

void add_grid_rows(ViewKind view, const char *name)
{
    for (int lat = -75; lat <= 75; lat += 15)
        for (int lon = -165; lon < 180; lon += 30)
            QTest::addRow("%s grid %d %d", name, lat, lon) << view << double(lat) << double(lon);
}
} // namespace

class TestMapReadout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rampValues_data();
    void rampValues();
    void cellClasses_data();
    void cellClasses();
    void cellGrid_data();
    void cellGrid();
    void positionOnly_data();
    void positionOnly();
    void noMapToRead_data();
    void noMapToRead();
    void dayNightSolarTime();

private:
    PointerReadout readAt(ViewKind view, double lat, double lon, QPointF pointer = Middle);

    std::map<ViewKind, QImage> m_textures;
    GlobeScene m_scene;
};

void TestMapReadout::initTestCase()
{
    for (const ViewKind view : {View::Temperature, View::ClimateChange, View::Wind, View::RainSnow})
        m_textures[view] = globe_texture(
            paint_server_map([view](double lat, double lon) { return colour_of(view, lat, lon); }));
    CameraHandlerState camera;
    camera_home(m_scene, camera);
}

PointerReadout TestMapReadout::readAt(ViewKind view, double lat, double lon, QPointF pointer)
{
    apply_view_visibility(m_scene, view);
    if (View::isMap(view) &&
        m_scene.climateTexture.image().cacheKey() != m_textures[view].cacheKey())
        m_scene.climateTexture.setImage(m_textures[view]);
    aim(m_scene, lat, lon);
    return read_pointer(m_scene, view, ViewSize, pointer, UnitFlags(), Noon,
                        QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestMapReadout::rampValues_data()
{
    QTest::addColumn<ViewKind>("view");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("temperature at Rome") << View::Temperature << 41.9 << 12.5;
    QTest::newRow("temperature at Cape Town") << View::Temperature << -33.9 << 18.4;
    QTest::newRow("temperature at Honolulu") << View::Temperature << 21.3 << -157.9;
    QTest::newRow("temperature near the right edge") << View::Temperature << 5.0 << 177.0;
    QTest::newRow("change at Rome") << View::ClimateChange << 41.9 << 12.5;
    QTest::newRow("change at Lima") << View::ClimateChange << -12.0 << -77.0;
    add_grid_rows(View::Temperature, "temperature");
    add_grid_rows(View::ClimateChange, "change");
}

void TestMapReadout::rampValues()
{
    QFETCH(ViewKind, view);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const PointerReadout readout = readAt(view, latitude, longitude);
    QVERIFY(readout.point);
    QCOMPARE(readout.position, position_text(latitude, longitude));
    const QRegularExpressionMatch number =
        QRegularExpression(QStringLiteral("^≈ ([-+]?\\d+) °C$")).match(readout.detail);
    QVERIFY2(number.hasMatch(), qPrintable(readout.detail));
    const double expected = view == View::Temperature ? temperature_field(latitude, longitude)
                                                      : change_field(latitude, longitude);
    // Within one step of the readout's whole degrees.
    QVERIFY2(std::abs(number.captured(1).toInt() - expected) <= 1,
             qPrintable(QStringLiteral("%1 for %2").arg(readout.detail).arg(expected)));
}

void TestMapReadout::cellClasses_data()
{
    QTest::addColumn<ViewKind>("view");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("detail");
    QTest::newRow("calm: 0 kt") << View::Wind << 0.0 << -90.0 << "0–4 kt";
    QTest::newRow("14 kt") << View::Wind << -10.0 << -30.0 << "12–16 kt";
    QTest::newRow("28 kt") << View::Wind << 20.0 << 0.0 << "25–30 kt";
    QTest::newRow("65 kt") << View::Wind << 50.0 << 90.0 << "60–70 kt";
    QTest::newRow("78 kt, far south") << View::Wind << -70.0 << 30.0 << "70–80 kt";
    QTest::newRow("rain 0.59 mm/h") << View::RainSnow << 0.0 << -50.0 << "Rain 0.5–1 mm/h";
    QTest::newRow("rain 1.7 mm/h") << View::RainSnow << 10.0 << 10.0 << "Rain 1–2 mm/h";
    QTest::newRow("rain 8 mm/h, a colour snow shares")
        << View::RainSnow << -30.0 << 100.0 << "Rain 5–10 or snow 5–7.5 mm/h";
    QTest::newRow("snow 1.7 mm/h") << View::RainSnow << 60.0 << 10.0 << "Snow 1–2 mm/h";
    QTest::newRow("snow 0.35 mm/h") << View::RainSnow << 70.0 << -80.0 << "Snow 0.3–0.5 mm/h";
}

void TestMapReadout::cellClasses()
{
    QFETCH(ViewKind, view);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, detail);
    const PointerReadout readout = readAt(view, latitude, longitude);
    QVERIFY(readout.point);
    QCOMPARE(readout.detail, detail);
}

void TestMapReadout::cellGrid_data()
{
    QTest::addColumn<ViewKind>("view");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    add_grid_rows(View::Wind, "wind");
    add_grid_rows(View::RainSnow, "rain/snow");
}

void TestMapReadout::cellGrid()
{
    QFETCH(ViewKind, view);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const PointerReadout readout = readAt(view, latitude, longitude);
    QVERIFY(readout.point);
    const bool offScale = on_coast(longitude) ||
                          (view == View::RainSnow &&
                           (cloudy(latitude, longitude) || rain_field(latitude, longitude) < 0.1));
    int expected = -1;
    if (!offScale)
        expected = view == View::Wind ? cell_of(WindCells, wind_field(latitude, longitude))
                   : snows(latitude)  ? cell_of(SnowCells, rain_field(latitude, longitude))
                                      : cell_of(RainCells, rain_field(latitude, longitude));
    const int read = cell_named(view, readout.detail);
    QVERIFY2(read != -2, qPrintable(readout.detail));
    if (expected < 0)
        QCOMPARE(read, -1);
    else
        QVERIFY2(std::abs(read - expected) <= 1,
                 qPrintable(QStringLiteral("%1, cell %2").arg(readout.detail).arg(expected)));
}

void TestMapReadout::positionOnly_data()
{
    QTest::addColumn<ViewKind>("view");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("a coast line on the wind map") << View::Wind << 30.0 << -60.0;
    QTest::newRow("a coast line on the rain map") << View::RainSnow << 30.0 << -60.0;
    QTest::newRow("a cloud") << View::RainSnow << -15.0 << 10.0;
    QTest::newRow("dry land") << View::RainSnow << 0.0 << -170.0;
}

void TestMapReadout::positionOnly()
{
    QFETCH(ViewKind, view);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const PointerReadout readout = readAt(view, latitude, longitude);
    QVERIFY(readout.point);
    QCOMPARE(readout.position, position_text(latitude, longitude));
    QCOMPARE(readout.detail, QString());
    QCOMPARE(readout.text(), readout.position);
}

void TestMapReadout::noMapToRead_data()
{
    QTest::addColumn<QImage>("texture");
    QTest::newRow("no map yet: the bare earth") << QImage();
    QImage empty(1112, 667, QImage::Format_RGBA8888_Premultiplied);
    empty.fill(Qt::transparent);
    QTest::newRow("rows the server's map left empty") << empty;
}

void TestMapReadout::noMapToRead()
{
    QFETCH(QImage, texture);
    GlobeScene scene;
    CameraHandlerState camera;
    camera_home(scene, camera);
    apply_view_visibility(scene, View::Temperature);
    scene.climateTexture.setImage(texture);
    aim(scene, 41.9, 12.5);
    const PointerReadout readout =
        read_pointer(scene, View::Temperature, ViewSize, Middle, UnitFlags(), Noon, QLocale());
    QVERIFY(readout.point);
    QCOMPARE(readout.text(), QStringLiteral("41.9° N 12.5° E"));
}

void TestMapReadout::dayNightSolarTime()
{
    const PointerReadout readout = readAt(View::DayNight, 10, 90);
    QVERIFY(readout.point);
    QCOMPARE(readout.text(), QStringLiteral("10.0° N 90.0° E\n6:00 PM solar time"));
    // Off the globe there is nothing to say.
    QVERIFY(!readAt(View::DayNight, 10, 90, QPointF(2, 2)).point);
    QVERIFY(!readAt(View::Temperature, 10, 90, QPointF(2, 2)).point);
}

SKYLOOM_TEST_MAIN(TestMapReadout)
#include "tst_mapreadout.moc"
