#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/daynight.h"
#include "globe/globeview.h"
#include "maps/frameurls.h"

#include <QLabel>
#include <QPushButton>

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void mapRange_data();
    void mapRange();
    void floatConversions();
    void daysCountFrom1899();
    void utcNowComesFromTheClock();
    void startValues();
    void drawerButtons();
    void showView_data();
    void showView();
    void drawerMode_data();
    void drawerMode();
};

void TestApp::mapRange_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("inLow");
    QTest::addColumn<float>("inHigh");
    QTest::addColumn<float>("outLow");
    QTest::addColumn<float>("outHigh");
    QTest::addColumn<float>("expected");
    QTest::newRow("backwards output") << 5.f << 0.f << 10.f << 100.f << 0.f << 50.f;
    QTest::newRow("sun column at 06:00") << -90.f << -360.f << 0.f << 0.f << 2048.f << 1536.f;
    QTest::newRow("season after solstice") << 200.f << 172.f << 365.f << 4.f << 0.f << 3.4197f;
    QTest::newRow("no clamping") << 400.f << 172.f << 365.f << 4.f << 0.f << -0.7254f;
}

void TestApp::mapRange()
{
    QFETCH(float, value);
    QFETCH(float, inLow);
    QFETCH(float, inHigh);
    QFETCH(float, outLow);
    QFETCH(float, outHigh);
    QFETCH(float, expected);
    QVERIFY(qAbs(map_range(value, inLow, inHigh, outLow, outHigh) - expected) < 1e-4f);
}

void TestApp::floatConversions()
{
    // The stretch's column mapping hits exact halves; they must go to the even side.
    QCOMPARE(round_half_even(0.5f), 0);
    QCOMPARE(round_half_even(1.5f), 2);
    QCOMPARE(round_half_even(2.5f), 2);
    QCOMPARE(round_half_even(-2.5f), -2);
    QCOMPARE(round_half_even(2.51f), 3);
    QCOMPARE(truncate_to_int(-1.7f), -1);
    QCOMPARE(truncate_to_int(1.99f), 1);
    // The order of the steps is part of the result: d3 * (d2 / d1), not (d3 * d2) / d1.
    const float q = (7.f - 0.f) / (3.f - 0.f);
    QCOMPARE(map_range(7, 0, 3, 0, 1112), 0.f + 1112.f * q);
}

void TestApp::daysCountFrom1899()
{
    QCOMPARE(to_days(QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)), 0.0);
    const QDateTime t(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC);
    QCOMPARE(to_days(t), 45191.0 + 14.5 / 24);
    QCOMPARE(from_days(to_days(t)), t);
}

void TestApp::utcNowComesFromTheClock()
{
    // 02:30 local happens twice in Berlin on 29 October 2023; the two UTC instants stay
    // an hour apart because nothing goes through the local offset.
    FixedClock clock(QDateTime(QDate(2023, 10, 29), QTime(0, 30), Qt::UTC));
    const DateTimeDays first = utc_now(clock);
    clock.set(QDateTime(QDate(2023, 10, 29), QTime(1, 30), Qt::UTC));
    QVERIFY(qAbs(utc_now(clock) - first - 1.0 / 24) < 1e-9);
    QCOMPARE(from_days(utc_now(clock)), QDateTime(QDate(2023, 10, 29), QTime(1, 30), Qt::UTC));
}

void TestApp::startValues()
{
    WindowFixture f(false);
    QCOMPARE(f.form->currentView(), View::Temperature);
    QCOMPARE(f.form->shownView(), View::Temperature);
    QCOMPARE(f.form->mapSource(), Source::TodayFrame);
    QVERIFY(f.form->firstActivation());
    QCOMPARE(f.form->dataDir(), f.dir.path() + QLatin1Char('/'));
    QCOMPARE(
        frame_prefixes(QString::fromLatin1(DefaultMapServer)).at(1),
        QStringLiteral("https://climatereanalyzer.org/wx_frames/gfs/world-wt/prcp-tcld-topo/"));
}

void TestApp::drawerButtons()
{
    WindowFixture f(false);
    TMainForm &form = *f.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Skyloom"));
    QCOMPARE(form.size(), QSize(640, 480));
    QCOMPARE(form.statusLabel()->text(), QStringLiteral("---"));
    QCOMPARE(form.statusLabel()->font().pixelSize(), 16);
    QCOMPARE(form.utcStamp(), to_days(f.clock.nowUtc()));
    QCOMPARE(form.scene().Camera1.position, QVector3D(0, 0, -22.5f));

    const QList<QPushButton *> buttons =
        form.findChild<QWidget *>("Rectangle2")->findChildren<QPushButton *>();
    QStringList texts;
    QList<int> tags;
    for (QPushButton *b : buttons) {
        texts << b->text();
        tags << (b->property("tag").isValid() ? b->property("tag").toInt() : -1);
    }
    QCOMPARE(texts, (QStringList{"Temperature", "Rain/Snow", "Wind/Pressure", "Pressure",
                                 "Climate Change", "Day/Night", "Help", "Settings"}));
    QCOMPARE(tags, (QList<int>{0, 1, 2, 4, 3, 5, -1, -1}));
    QVERIFY(buttons.at(3)->isHidden());
    QVERIFY(form.buttonForView(View::Pressure)->isHidden());
}

void TestApp::showView_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("climate");
    QTest::addColumn<bool>("earthAndNight");
    QTest::addColumn<int>("after");
    for (int k = 0; k <= 4; ++k)
        QTest::addRow("map %d", k) << 5 << k << true << false << k;
    QTest::newRow("day/night") << 0 << 5 << false << true << 5;
    QTest::newRow("refresh of wind") << 2 << 10 << true << false << 2;
    QTest::newRow("refresh of day/night") << 5 << 10 << false << true << 5;
    QTest::newRow("unknown 7") << 3 << 7 << false << false << 3;
    QTest::newRow("negative") << 1 << -1 << false << false << 1;
}

void TestApp::showView()
{
    QFETCH(int, before);
    QFETCH(int, kind);
    QFETCH(bool, climate);
    QFETCH(bool, earthAndNight);
    QFETCH(int, after);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    GlobeScene &scene = form.scene();
    const QImage pristine = scene.nightTexture.image().copy();
    form.ShowView(before);
    scene.EarthSphere.setRotationY(33);
    scene.NightSphere.setRotationY(33);
    form.ShowView(kind);
    QCOMPARE(scene.ClimateSphere.visible, climate);
    QCOMPARE(scene.EarthSphere.visible, earthAndNight);
    QCOMPARE(scene.NightSphere.visible, earthAndNight);
    QCOMPARE(form.shownView(), after);
    QVERIFY(!form.firstActivation());
    if (earthAndNight) {
        // The terminator was worked out for the clock's 14:30 UTC: the earth turned to the
        // sun, and the lights cut where it is day.
        const DayNightPlan plan = plan_day_night(f.clock.nowUtc(), pristine.width());
        QCOMPARE(scene.EarthSphere.rotationY(), reduce_angle(plan.yRotation));
        QCOMPARE(scene.NightSphere.rotationY(), reduce_angle(plan.yRotation));
        QCOMPARE(scene.ClimateSphere.rotationY(), scene.EarthSphere.rotationY());
        QVERIFY(scene.nightTexture.image() != pristine);
        const int noon = int(plan.centre);
        for (int y : {0, pristine.height() / 2, pristine.height() - 1})
            QCOMPARE(scene.nightTexture.image().pixel(noon, y), 0u);
    } else {
        QCOMPARE(scene.EarthSphere.rotationY(), 33.f);
    }
}

void TestApp::drawerMode_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("panel");
    QTest::newRow("640 x 480") << QSize(640, 480) << true;
    QTest::newRow("exactly 1.25") << QSize(600, 480) << false;
    QTest::newRow("just above 1.25") << QSize(601, 480) << true;
    QTest::newRow("portrait") << QSize(480, 640) << false;
}

void TestApp::drawerMode()
{
    QFETCH(QSize, size);
    QFETCH(bool, panel);
    WindowFixture f(false); // a map view is chosen below
    TMainForm &form = *f.form;
    form.resize(size);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.drawer()->mode(), panel ? TDrawer::Mode::Panel : TDrawer::Mode::Drawer);
    QCOMPARE(form.drawer()->swipeStrip()->isVisible(), !panel);
    if (!panel) {
        QCOMPARE(form.drawer()->swipeStrip()->width(), TDrawer::SwipeWidth);
        QVERIFY(!form.drawer()->isDrawerShown());
        form.DrawerButtonClick();
        QVERIFY(form.drawer()->isDrawerShown());
        form.TempsButtonClick(form.buttonForView(View::RainSnow));
        QVERIFY(!form.drawer()->isDrawerShown());
    }
    // The status line keeps its right margin as the window widens.
    QCOMPARE(form.statusLabel()->geometry().right() + 1, size.width() - 13);
}

SKYLOOM_TEST_MAIN(TestApp)
#include "tst_app.moc"
