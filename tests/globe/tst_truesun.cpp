#include "common/testsupport.h"

#include "app/resources.h"
#include "globe/daynight.h"
#include "globe/globescene.h"
#include "globe/globeview.h"
#include "globe/solarposition.h"

#include <QSurfaceFormat>
#include <QtMath>

class TestTrueSun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void placesMatchTheTexture_data();
    void placesMatchTheTexture();
    void litByDayLightsByNight_data();
    void litByDayLightsByNight();
    void everyDialectDraws_data();
    void everyDialectDraws();
    void switchingBackRestoresTheBand_data();
    void switchingBackRestoresTheBand();

private:
    QImage m_lights;
};

namespace {
// Turns the camera rig so that the place is at the centre of the view.
void look_at(GlobeScene &scene, double latitude, double longitude)
{
    const QVector3D p =
        scene.EarthSphere.worldMatrix().mapVector(globe_direction(latitude, longitude));
    scene.CameraX.setRotationX(qRadiansToDegrees(std::asin(p.y())));
    scene.CameraY.setRotationY(qRadiansToDegrees(std::atan2(-p.x(), -p.z())));
}

QRgb centre_of(GlobeView &view)
{
    const QImage frame = view.grabFramebuffer();
    return frame.pixel(frame.width() / 2, frame.height() / 2);
}

// A grey earth (128) under white lights everywhere, so the sun alone decides what shows.
void set_up_true_sun(GlobeScene &scene, const QDateTime &when)
{
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.ClimateSphere.visible = false;
    QImage grey(256, 128, QImage::Format_RGBA8888);
    grey.fill(QColor(128, 128, 128));
    scene.earthTexture.setImage(grey);
    QImage lights(256, 128, QImage::Format_RGBA8888_Premultiplied);
    lights.fill(Qt::white);
    scene.nightTexture.setImage(lights);
    update_day_night(scene, lights, when, Terminator::TrueSun);
}

struct Reading
{
    int earth = 0;     // grey of the earth alone at the centre
    double lights = 0; // of the lights' full strength there
};

Reading read_centre(GlobeView &view, GlobeScene &scene)
{
    scene.NightSphere.visible = false;
    const int earth = qGray(centre_of(view));
    scene.NightSphere.visible = true;
    const int both = qGray(centre_of(view));
    // Drawn at 0.8 over the earth, the lights at full strength add 0.8 of what the earth
    // lacks of white.
    return {earth, (both - earth) / (0.8 * (255 - earth))};
}
} // namespace

void TestTrueSun::initTestCase()
{
    init_skyloom_resources();
    m_lights = QImage(QStringLiteral(":/textures/nightlights.png"))
                   .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

void TestTrueSun::placesMatchTheTexture_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("0, 0") << 0.0 << 0.0;
    QTest::newRow("40 N, 100 W") << 40.0 << -100.0;
    QTest::newRow("35 S, 140 E") << -35.0 << 140.0;
}

// The sun is placed by globe_direction: the place it names is where the texture shows it.
void TestTrueSun::placesMatchTheTexture()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.EarthSphere.visible = scene.NightSphere.visible = false;
    scene.climateTexture.setImage(uv_gradient_texture(256, 128));
    scene.EarthSphere.setRotationY(35);
    scene.ClimateSphere.setRotationY(35);
    look_at(scene, latitude, longitude);
    GlobeView view;
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QRgb centre = centre_of(view);
    const double u = (longitude + 180) / 360, v = (90 - latitude) / 180;
    QVERIFY2(qAbs(qRed(centre) - u * 256) < 4, qPrintable(QString::number(qRed(centre))));
    QVERIFY2(qAbs(qGreen(centre) - v * 256) < 4, qPrintable(QString::number(qGreen(centre))));
}

void TestTrueSun::litByDayLightsByNight_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("hoursFromNoon"); // apparent solar time at the place, less 12
    // The earth's grey (128) as drawn: a quarter of it where no light reaches.
    QTest::addColumn<int>("darkest");
    QTest::addColumn<int>("brightest");
    QTest::addColumn<double>("fewestLights"); // of the lights' full strength
    QTest::addColumn<double>("mostLights");
    const QDateTime equinox(QDate(2024, 3, 20), QTime(12, 0), Qt::UTC);
    const QDateTime june(QDate(2024, 6, 20), QTime(20, 51), Qt::UTC);
    const QDateTime december(QDate(2024, 12, 21), QTime(9, 21), Qt::UTC);
    QTest::newRow("under the noon sun") << equinox << 0.0 << 0.0 << 125 << 131 << 0.0 << 0.02;
    QTest::newRow("local midnight on the equator")
        << equinox << 0.0 << 12.0 << 29 << 35 << 0.98 << 1.0;
    // The sun 5.4 degrees up: low light, well above the night side's.
    QTest::newRow("midnight sun at 72 N") << june << 72.0 << 12.0 << 50 << 80 << 0.0 << 0.02;
    QTest::newRow("polar night at 80 N, noon")
        << december << 80.0 << 0.0 << 29 << 35 << 0.98 << 1.0;
    // Three degrees below the horizon: halfway through the twilight, a glow and half the
    // lights.
    QTest::newRow("dusk on the equator") << equinox << 0.0 << 6.2 << 36 << 48 << 0.3 << 0.7;
    QTest::newRow("dawn on the equator") << equinox << 0.0 << -6.2 << 36 << 48 << 0.3 << 0.7;
}

// With the true sun, a place with the sun up is lit and shows no city lights; a place
// with the sun well down is dark with the lights at full strength; twilight is between.
void TestTrueSun::litByDayLightsByNight()
{
    QFETCH(QDateTime, when);
    QFETCH(double, latitude);
    QFETCH(double, hoursFromNoon);
    QFETCH(int, darkest);
    QFETCH(int, brightest);
    QFETCH(double, fewestLights);
    QFETCH(double, mostLights);
    GlobeScene scene;
    set_up_true_sun(scene, when);
    const SolarPosition sun = solar_position(when);
    look_at(scene, latitude, sun.subsolarLongitude + hoursFromNoon * 15);

    GlobeView view;
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const Reading at = read_centre(view, scene);
    QVERIFY2(at.earth >= darkest && at.earth <= brightest, qPrintable(QString::number(at.earth)));
    QVERIFY2(at.lights >= fewestLights - 0.02 && at.lights <= mostLights + 0.02,
             qPrintable(QString::number(at.lights)));
}

void TestTrueSun::everyDialectDraws_data()
{
    QTest::addColumn<QSurfaceFormat>("format");
    QTest::addColumn<GlobeRenderer::Dialect>("limit");
    QTest::newRow("GLSL 3.30") << globe_surface_format() << GlobeRenderer::Dialect::Modern;
    QTest::newRow("GLSL 1.20") << gl21_format() << GlobeRenderer::Dialect::Legacy;
    QTest::newRow("GLSL ES 1.00") << gles2_format() << GlobeRenderer::Dialect::Modern;
}

// The noon side lit without lights, the midnight side dark with them, in every dialect.
void TestTrueSun::everyDialectDraws()
{
    QFETCH(QSurfaceFormat, format);
    QFETCH(GlobeRenderer::Dialect, limit);
    const QDateTime when(QDate(2024, 3, 20), QTime(12, 0), Qt::UTC);
    GlobeScene scene;
    set_up_true_sun(scene, when);
    const SolarPosition sun = solar_position(when);
    GlobeView view;
    view.setFormat(format);
    view.renderer().setDialectLimit(limit);
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    look_at(scene, 0, sun.subsolarLongitude);
    const Reading noon = read_centre(view, scene);
    QCOMPARE(view.problem(), QString());
    look_at(scene, 0, sun.subsolarLongitude + 180);
    const Reading midnight = read_centre(view, scene);
    QVERIFY2(noon.earth >= 125 && noon.lights < 0.03, qPrintable(QString::number(noon.earth)));
    QVERIFY2(midnight.earth <= 35 && midnight.lights > 0.97,
             qPrintable(QString::number(midnight.lights)));
}

void TestTrueSun::switchingBackRestoresTheBand_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("band within the image") << QTime(12, 0);
    QTest::newRow("band across the image edge") << QTime(23, 0);
}

// The true sun shows the lights as loaded; going back gives the band and turn a first
// update would give, and the renderer is told which columns to upload again.
void TestTrueSun::switchingBackRestoresTheBand()
{
    QFETCH(QTime, time);
    const QDateTime when(QDate(2023, 9, 22), time, Qt::UTC);
    GlobeScene band;
    band.nightTexture.setImage(m_lights.copy());
    update_day_night(band, m_lights, when);
    QVERIFY(!band.sunDirection);

    GlobeScene scene;
    scene.nightTexture.setImage(m_lights.copy());
    update_day_night(scene, m_lights, when);
    quint64 generation = scene.nightTexture.generation();
    update_day_night(scene, m_lights, when, Terminator::TrueSun);
    QCOMPARE(scene.nightTexture.image(), m_lights);
    QVERIFY(scene.sunDirection);
    QVERIFY(scene.nightTexture.columnsChangedSince(generation).has_value());
    QCOMPARE(scene.EarthSphere.rotationY(), band.EarthSphere.rotationY());
    QCOMPARE(scene.Light1.rotationX(), band.Light1.rotationX());

    generation = scene.nightTexture.generation();
    update_day_night(scene, m_lights, when);
    QCOMPARE(scene.nightTexture.image(), band.nightTexture.image());
    QVERIFY(!scene.sunDirection);
    QVERIFY(scene.nightTexture.columnsChangedSince(generation).has_value());
    QCOMPARE(scene.EarthSphere.rotationY(), band.EarthSphere.rotationY());
    QCOMPARE(scene.NightSphere.rotationY(), band.NightSphere.rotationY());
    QCOMPARE(scene.Light1.rotationX(), band.Light1.rotationX());
}

SKYLOOM_TEST_MAIN(TestTrueSun)
#include "tst_truesun.moc"
