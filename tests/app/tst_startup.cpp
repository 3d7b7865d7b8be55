#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/daynight.h"
#include "globe/globeview.h"

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstFrameHasTheStartMap_data();
    void firstFrameHasTheStartMap();
    void lightsThatCameLateAreCut();
    void earthAndNightWaitForDayNight();
    void activationBeforeTheStartMapCame();
};

void TestStartup::firstFrameHasTheStartMap_data()
{
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("replacedBeforeActivation");
    QTest::newRow("fresh file") << 60 << false;
    QTest::newRow("file replaced before the activation") << 60 << true;
    QTest::newRow("file one minute short of stale") << 359 * 60 << false;
    QTest::newRow("stale file") << 360 * 60 << false;
}

// A fresh cached map of the start view is decoded while the window comes up and shown
// before the first activation, turned as that activation turns it; the activation then
// shows the same map without decoding the file again, unless the file was replaced.
void TestStartup::firstFrameHasTheStartMap()
{
    QFETCH(int, ageSeconds);
    QFETCH(bool, replacedBeforeActivation);
    constexpr QRgb First = 0xFF2060A0, Second = 0xFFA06020;
    WindowFixture f(false);
    f.putCache(View::Temperature, First, ageSeconds);
    f.start();
    GlobeScene &scene = f.form->scene();
    const bool fresh = ageSeconds < 360 * 60;
    if (!fresh) {
        QVERIFY(f.texture().isNull());
        return;
    }
    QTRY_VERIFY(!f.texture().isNull());
    QCOMPARE(f.texture().pixel(0, 0), First);
    QVERIFY(scene.ClimateSphere.visible);
    QVERIFY(!scene.EarthSphere.visible);
    QVERIFY(!scene.NightSphere.visible);
    QVERIFY(f.form->firstActivation());
    const qint64 prefetched = f.texture().cacheKey();
    const float turned = scene.ClimateSphere.rotationY();

    if (replacedBeforeActivation) {
        QImage map(1112, 667, QImage::Format_ARGB32);
        map.fill(Second);
        QVERIFY(map.save(f.cacheFile(View::Temperature)));
        set_file_time(f.cacheFile(View::Temperature), f.clock.nowUtc().addSecs(-30));
    }
    f.form->FormActivate();
    QCOMPARE(f.form->shownView(), View::Temperature);
    QCOMPARE(f.form->mapSource(), Source::Cache);
    QCOMPARE(scene.ClimateSphere.rotationY(), turned);
    if (replacedBeforeActivation) {
        QCOMPARE(f.texture().pixel(0, 0), Second);
    } else {
        QCOMPARE(f.texture().cacheKey(), prefetched);
        QCOMPARE(f.texture().pixel(0, 0), First);
    }
}

// Day/Night shown before the night lights were decoded: they are cut when they come.
void TestStartup::lightsThatCameLateAreCut()
{
    WindowFixture f(false);
    f.start(false);
    QVERIFY(f.form->loadingImages());
    f.form->ShowView(View::DayNight);
    QTRY_VERIFY_WITH_TIMEOUT(!f.form->loadingImages(), 20000);
    const QImage lights = f.form->scene().nightTexture.image();
    const DayNightPlan plan = plan_day_night(f.clock.nowUtc(), lights.width());
    const int noon = int(plan.centre);
    const int midnight = (noon + lights.width() / 2) % lights.width();
    bool lightsAtMidnight = false;
    for (int y = 0; y < lights.height(); ++y) {
        QCOMPARE(lights.pixel(noon, y), 0u);
        lightsAtMidnight = lightsAtMidnight || lights.pixel(midnight, y) != 0u;
    }
    QVERIFY(lightsAtMidnight);
}

// With a fresh start map on the globe the earth and night images are not decoded, and
// take no memory, until Day/Night is first shown; then the lights come cut.
void TestStartup::earthAndNightWaitForDayNight()
{
    WindowFixture f(false);
    f.putCache(View::Temperature, 0xFF2060A0, 60);
    f.start();
    GlobeScene &scene = f.form->scene();
    QVERIFY(!f.texture().isNull());
    QVERIFY(scene.earthTexture.image().isNull());
    QVERIFY(scene.nightTexture.image().isNull());
    f.form->FormActivate();
    QVERIFY(!f.form->loadingImages());
    QVERIFY(scene.earthTexture.image().isNull());

    f.choose(View::DayNight);
    QVERIFY(f.form->loadingImages());
    QTRY_VERIFY_WITH_TIMEOUT(!f.form->loadingImages(), 20000);
    QVERIFY(!scene.earthTexture.image().isNull());
    const QImage lights = scene.nightTexture.image();
    const DayNightPlan plan = plan_day_night(f.clock.nowUtc(), lights.width());
    QCOMPARE(lights.pixel(int(plan.centre), lights.height() / 2), 0u);
    QVERIFY(scene.NightSphere.visible);
}

// An activation that comes before the start map was decoded loads the file itself; the
// decoded map that comes later changes nothing, and the earth is still not needed.
void TestStartup::activationBeforeTheStartMapCame()
{
    WindowFixture f(false);
    f.putCache(View::Temperature, 0xFF2060A0, 60);
    f.start(false);
    QVERIFY(f.form->loadingImages());
    f.form->FormActivate();
    const QImage shown = f.texture();
    QCOMPARE(shown.pixel(0, 0), 0xFF2060A0u);
    QTRY_VERIFY_WITH_TIMEOUT(!f.form->loadingImages(), 20000);
    QCOMPARE(f.texture().cacheKey(), shown.cacheKey());
    QVERIFY(f.form->scene().earthTexture.image().isNull());
    QVERIFY(!f.form->loadingImages());
}

SKYLOOM_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
