#include "common/testsupport.h"

#include "app/resources.h"
#include "core/globetypes.h"
#include "globe/daynight.h"
#include "globe/globescene.h"
#include "globe/globeview.h"

#include <QtMath>

#include <algorithm>

class TestDayNight : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void terminator_data();
    void terminator();
    void secondsAreIgnoredAndCutsNeverAccumulate();
    void season_data();
    void season();
    void renderedAtSix();
    void summerHemisphereIsLit_data();
    void summerHemisphereIsLit();
    void onlyMovedColumnsChange_data();
    void onlyMovedColumnsChange();
    void columnUploadsDrawAsAWholeUpload();

private:
    QImage m_lights;
};

void TestDayNight::initTestCase()
{
    init_skyloom_resources();
    m_lights = QImage(QStringLiteral(":/textures/nightlights.png"))
                   .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QCOMPARE(m_lights.size(), QSize(2048, 1024));
}

void TestDayNight::terminator_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QList<int>>("cleared"); // inclusive column ranges
    QTest::addColumn<float>("rotation");
    QTest::newRow("00:00") << QTime(0, 0) << QList<int>{0, 374, 1672, 2047} << 90.f;
    QTest::newRow("03:00") << QTime(3, 0) << QList<int>{0, 118, 1416, 2047} << 45.f;
    QTest::newRow("06:00") << QTime(6, 0) << QList<int>{1160, 1910} << 0.f;
    QTest::newRow("09:30") << QTime(9, 30) << QList<int>{861, 1611} << 307.5f;
    QTest::newRow("12:00") << QTime(12, 0) << QList<int>{648, 1398} << 270.f;
    QTest::newRow("18:00") << QTime(18, 0) << QList<int>{136, 886} << 180.f;
    QTest::newRow("21:00") << QTime(21, 0) << QList<int>{0, 630, 1928, 2047} << 135.f;
    QTest::newRow("23:00") << QTime(23, 0) << QList<int>{0, 459, 1757, 2047} << 105.f;
    QTest::newRow("23:59") << QTime(23, 59) << QList<int>{0, 375, 1673, 2047} << 90.25f;
}

void TestDayNight::terminator()
{
    QFETCH(QTime, time);
    QFETCH(QList<int>, cleared);
    QFETCH(float, rotation);
    GlobeScene scene;
    scene.nightTexture.setImage(m_lights.copy());
    update_day_night(scene, m_lights, QDateTime(QDate(2023, 9, 22), time, Qt::UTC));

    QList<bool> isCleared(2048, false);
    for (int i = 0; i < cleared.size(); i += 2)
        for (int x = cleared[i]; x <= cleared[i + 1]; ++x)
            isCleared[x] = true;
    const QImage &out = scene.nightTexture.image();
    for (int y = 0; y < out.height(); ++y) {
        const auto *got = reinterpret_cast<const quint32 *>(out.constScanLine(y));
        const auto *orig = reinterpret_cast<const quint32 *>(m_lights.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (got[x] != (isCleared[x] ? 0u : orig[x]))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
        }
    }
    QVERIFY(qAbs(scene.EarthSphere.rotationY() - rotation) < 1e-3f);
    QCOMPARE(scene.NightSphere.rotationY(), scene.EarthSphere.rotationY());
}

void TestDayNight::secondsAreIgnoredAndCutsNeverAccumulate()
{
    GlobeScene scene;
    scene.nightTexture.setImage(m_lights.copy());
    update_day_night(scene, m_lights, QDateTime(QDate(2023, 9, 22), QTime(12, 0, 0), Qt::UTC));
    const QImage first = scene.nightTexture.image().copy();
    const quint64 generation = scene.nightTexture.generation();
    update_day_night(scene, m_lights, QDateTime(QDate(2023, 9, 22), QTime(12, 0, 59), Qt::UTC));
    QCOMPARE(scene.nightTexture.image(), first);
    QVERIFY(scene.nightTexture.generation() > generation); // uploaded again
    // A run at another time first restores what the earlier cut removed.
    update_day_night(scene, m_lights, QDateTime(QDate(2023, 9, 22), QTime(0, 0), Qt::UTC));
    update_day_night(scene, m_lights, QDateTime(QDate(2023, 9, 22), QTime(12, 0, 30), Qt::UTC));
    QCOMPARE(scene.nightTexture.image(), first);
}

void TestDayNight::season_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<float>("tilt");
    // Negative in the northern summer: the light leans toward the top of the screen.
    const QList<std::pair<int, float>> rows{
        {1, 9.884f},    {32, 6.301f},   {60, 3.064f},    {91, -0.520f},  {121, -3.988f},
        {152, -7.572f}, {171, -9.769f}, {172, -10.000f}, {173, -9.896f}, {244, -2.539f},
        {305, 3.782f},  {355, 8.964f},  {365, 10.000f}};
    for (const auto &[day, tilt] : rows)
        QTest::addRow("day %d", day) << QDate(2023, 1, 1).addDays(day - 1) << tilt;
    QTest::newRow("day 366") << QDate(2024, 12, 31) << 10.104f;
}

void TestDayNight::season()
{
    QFETCH(QDate, date);
    QFETCH(float, tilt);
    const DayNightPlan plan = plan_day_night(QDateTime(date, QTime(8, 0), Qt::UTC), 2048);
    QVERIFY2(qAbs(plan.tilt - tilt) < 0.0015f, qPrintable(QString::number(plan.tilt, 'f', 4)));
    GlobeScene scene;
    scene.nightTexture.setImage(m_lights.copy());
    update_day_night(scene, m_lights, QDateTime(date, QTime(8, 0), Qt::UTC));
    QVERIFY(qAbs(scene.Light1.rotationX() - reduce_angle(tilt)) < 0.0015f);
}

void TestDayNight::renderedAtSix()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    const QImage earth =
        QImage(QStringLiteral(":/textures/earth.png")).convertToFormat(QImage::Format_RGBA8888);
    scene.earthTexture.setImage(earth);
    // Lights everywhere, so what is left after the cut shows on screen wherever it lies.
    QImage lights(2048, 1024, QImage::Format_RGBA8888_Premultiplied);
    lights.fill(QColor(255, 255, 255, 255));
    scene.nightTexture.setImage(lights.copy());
    scene.ClimateSphere.visible = false;
    update_day_night(scene, lights, QDateTime(QDate(2023, 3, 21), QTime(6, 0), Qt::UTC));
    QCOMPARE(scene.EarthSphere.rotationY(), 0.f);

    GlobeView view;
    view.setScene(&scene);
    view.resize(600, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    scene.NightSphere.visible = false;
    const QImage plain = view.grabFramebuffer();
    scene.NightSphere.visible = true;
    const QImage withLights = view.grabFramebuffer();

    // Column 1536 (90 E) on the equator is at the centre, lit like the texel itself.
    const QColor texel = earth.pixelColor(1536, 512);
    const QColor centre = plain.pixelColor(300, 300);
    QVERIFY2(qAbs(centre.red() - texel.red()) < 24 && qAbs(centre.green() - texel.green()) < 24,
             qPrintable(QStringLiteral("%1 vs %2").arg(centre.name(), texel.name())));

    // Along the equator a point t from the centre shows at r sin t / (d - r cos t) in
    // view-tangent units; the disc's edge is the cap acos(r / d).
    const double ratio = 22.5 / 5.0, cap = std::acos(1 / ratio);
    const double radius = 300 * std::tan(std::asin(1 / ratio)) / std::tan(qDegreesToRadians(22.5));
    auto fraction = [ratio](double t) { return std::sin(t) / (ratio - std::cos(t)); };
    auto angleAt = [&](double f) {
        double lo = 0, hi = cap;
        for (int i = 0; i < 40; ++i)
            (fraction((lo + hi) / 2) / fraction(cap) < f ? lo : hi) = (lo + hi) / 2;
        return qRadiansToDegrees(lo);
    };
    const int left = int(std::ceil(300 - radius));
    int litLeft = 0, litRight = 0;
    for (int x = left; x < 600 - left; ++x) {
        const double angle = angleAt(qAbs(x - 300) / radius);
        const QRgb a = plain.pixel(x, 300), b = withLights.pixel(x, 300);
        const bool light = qGray(b) - qGray(a) > 12;
        if (angle < 63)
            QVERIFY2(
                !light,
                qPrintable(QStringLiteral("city light %1 degrees from the centre").arg(angle)));
        if (angle > 66 && light)
            ++(x < 300 ? litLeft : litRight);
    }
    // Both limbs keep their lights beyond 66 degrees: the last few pixels of the disc,
    // where the sphere turns away.
    QVERIFY(litLeft > 0);
    QVERIFY(litRight > 0);
}

void TestDayNight::summerHemisphereIsLit_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("northLit");
    QTest::newRow("21 June: the north") << QDate(2023, 6, 21) << true;
    QTest::newRow("21 December: the south") << QDate(2023, 12, 21) << false;
}

// The Day/Night scene as the app shows it, North Pole at the top of the screen.
void TestDayNight::summerHemisphereIsLit()
{
    QFETCH(QDate, date);
    QFETCH(bool, northLit);
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    // One grey all over and no city lights, so only the light makes a half brighter.
    QImage grey(2048, 1024, QImage::Format_RGBA8888);
    grey.fill(QColor(128, 128, 128));
    scene.earthTexture.setImage(grey);
    QImage lights(2048, 1024, QImage::Format_RGBA8888_Premultiplied);
    lights.fill(Qt::transparent);
    scene.nightTexture.setImage(lights.copy());
    scene.ClimateSphere.visible = false;
    update_day_night(scene, lights, QDateTime(date, QTime(12, 0), Qt::UTC));

    GlobeView view;
    view.setScene(&scene);
    view.resize(600, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    qint64 upper = 0, lower = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            (y < 300 ? upper : lower) += qGray(frame.pixel(x, y));
    const qint64 lit = northLit ? upper : lower, unlit = northLit ? lower : upper;
    QVERIFY2(lit > unlit,
             qPrintable(QStringLiteral("upper half %1, lower half %2").arg(upper).arg(lower)));
    // Near the limb, past the fully lit cap, the summer pole's side is clearly the brighter.
    const int north = qGray(frame.pixel(300, 299 - 140)),
              south = qGray(frame.pixel(300, 300 + 140));
    QVERIFY2((northLit ? north - south : south - north) > 12,
             qPrintable(QStringLiteral("north %1, south %2").arg(north).arg(south)));
}

void TestDayNight::onlyMovedColumnsChange_data()
{
    QTest::addColumn<QTime>("from");
    QTest::addColumn<QTime>("to");
    QTest::addColumn<int>("mostColumns");
    QTest::newRow("a minute") << QTime(12, 0) << QTime(12, 1) << 4;
    QTest::newRow("an hour") << QTime(9, 30) << QTime(10, 30) << 2 * 86;
    QTest::newRow("across the image edge") << QTime(23, 0) << QTime(1, 0) << 2 * 171;
    QTest::newRow("the same minute") << QTime(6, 0) << QTime(6, 0, 40) << 0;
}

// The second update touches only the columns whose cut state moved, says which, and leaves
// the image as a cut made from scratch.
void TestDayNight::onlyMovedColumnsChange()
{
    QFETCH(QTime, from);
    QFETCH(QTime, to);
    QFETCH(int, mostColumns);
    const QDate day(2023, 9, 22);
    GlobeScene scene;
    scene.nightTexture.setImage(m_lights.copy());
    update_day_night(scene, m_lights, QDateTime(day, from, Qt::UTC));
    const quint64 generation = scene.nightTexture.generation();
    update_day_night(scene, m_lights, QDateTime(day, to, Qt::UTC));
    QVERIFY(scene.nightTexture.generation() > generation);
    const auto columns = scene.nightTexture.columnsChangedSince(generation);
    QVERIFY(columns.has_value());
    int count = 0;
    for (const ColumnSpan &span : *columns)
        count += span.end - span.begin;
    QVERIFY2(count <= mostColumns, qPrintable(QString::number(count)));
    QVERIFY(count > 0 || mostColumns == 0);

    GlobeScene fresh;
    fresh.nightTexture.setImage(m_lights.copy());
    update_day_night(fresh, m_lights, QDateTime(day, to, Qt::UTC));
    QCOMPARE(scene.nightTexture.image(), fresh.nightTexture.image());
    // Columns outside the changed ones are as they were before the second update.
    GlobeScene before;
    before.nightTexture.setImage(m_lights.copy());
    update_day_night(before, m_lights, QDateTime(day, from, Qt::UTC));
    QList<bool> changed(2048, false);
    for (const ColumnSpan &span : *columns)
        for (int x = span.begin; x < span.end; ++x)
            changed[x] = true;
    const QImage &a = before.nightTexture.image(), &b = scene.nightTexture.image();
    for (int x = 0; x < 2048; ++x)
        if (!changed[x] && a.copy(x, 0, 1, 1024) != b.copy(x, 0, 1, 1024))
            QFAIL(qPrintable(QStringLiteral("column %1 changed unannounced").arg(x)));
}

// A view that follows the terminator by column uploads draws what a view uploading the
// whole texture draws, to a unit of rounding in the mipmaps' means.
void TestDayNight::columnUploadsDrawAsAWholeUpload()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.earthTexture.setImage(
        QImage(QStringLiteral(":/textures/earth.png")).convertToFormat(QImage::Format_RGBA8888));
    scene.nightTexture.setImage(m_lights.copy());
    scene.ClimateSphere.visible = false;
    const QDateTime start(QDate(2023, 3, 21), QTime(4, 0), Qt::UTC);
    update_day_night(scene, m_lights, start);
    GlobeView following;
    following.setScene(&scene);
    following.resize(300, 300);
    following.show();
    QVERIFY(QTest::qWaitForWindowExposed(&following));
    following.grabFramebuffer();
    // Minute by minute, then a jump of hours, as the clock and the Day/Night button do.
    for (int minute = 1; minute <= 5; ++minute) {
        update_day_night(scene, m_lights, start.addSecs(60 * minute));
        following.grabFramebuffer();
    }
    update_day_night(scene, m_lights, start.addSecs(3 * 3600));
    const QImage followed = following.grabFramebuffer();

    GlobeScene same;
    same.Camera1.position = scene.Camera1.position;
    same.earthTexture.setImage(scene.earthTexture.image());
    same.nightTexture.setImage(scene.nightTexture.image().copy());
    same.EarthSphere.setRotationY(scene.EarthSphere.rotationY());
    same.NightSphere.setRotationY(scene.NightSphere.rotationY());
    same.Light1.setRotationX(scene.Light1.rotationX());
    same.ClimateSphere.visible = false;
    GlobeView whole;
    whole.setScene(&same);
    whole.resize(300, 300);
    whole.show();
    QVERIFY(QTest::qWaitForWindowExposed(&whole));
    const QImage reference = whole.grabFramebuffer();
    int worst = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const QRgb p = followed.pixel(x, y), q = reference.pixel(x, y);
            worst = std::max({worst, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                              qAbs(qBlue(p) - qBlue(q))});
        }
    QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
}

SKYLOOM_TEST_MAIN(TestDayNight)
#include "tst_daynight.moc"
