#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/globeview.h"

#include <QPoint>
#include <QPointingDevice>

namespace {
bool pitch_allowed(float pitch) { return (pitch >= 0 && pitch <= 60) || pitch >= 300; }

// Each reading 30 ms after the last: a drag as fast or as slow as the machine runs the test
// looks the same to the window, and a spin lasts a fixed number of frames.
void step_motion_clock(TMainForm &form)
{
    form.setMotionClock([t = qint64(0)]() mutable { return t += 30; });
}

// A left-button drag on the globe view through its moves, then released.
void drag(GlobeView *view, const QList<QPoint> &moves)
{
    QPoint at(200, 200);
    QTest::mousePress(view, Qt::LeftButton, {}, at);
    for (const QPoint &step : moves) {
        at += step;
        QTest::mouseMove(view, at);
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
}
} // namespace

class TestSpin : public QObject
{
    Q_OBJECT

private slots:
    void releaseWhileMoving_data();
    void releaseWhileMoving();
    void pressStopsTheSpin();
    void touchSwipe_data();
    void touchSwipe();
};

void TestSpin::releaseWhileMoving_data()
{
    QTest::addColumn<float>("startPitch");
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<bool>("spins");
    QTest::newRow("to the right") << 0.f << QList<QPoint>{{10, 0}, {10, 0}} << true;
    QTest::newRow("to the left and down") << 10.f << QList<QPoint>{{-10, 5}, {-10, 5}} << true;
    QTest::newRow("up into the pitch limit") << 50.f << QList<QPoint>{{5, -20}, {5, -20}} << true;
    QTest::newRow("down into the pitch limit") << 310.f << QList<QPoint>{{0, 20}, {0, 20}} << true;
    QTest::newRow("no movement") << 0.f << QList<QPoint>{} << false;
}

void TestSpin::releaseWhileMoving()
{
    QFETCH(float, startPitch);
    QFETCH(QList<QPoint>, moves);
    QFETCH(bool, spins);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    step_motion_clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    GlobeScene &scene = form.scene();
    scene.CameraX.setRotationX(startPitch);
    // Every change that reaches the screen keeps the pitch within the drag's limits.
    QList<float> pitches;
    const auto draw = scene.changed;
    scene.changed = [&] {
        pitches << scene.CameraX.rotationX();
        draw();
    };
    drag(form.viewport(), moves);
    const float yawAtRelease = scene.CameraY.rotationY();
    const float pitchAtRelease = scene.CameraX.rotationX();
    QCOMPARE(form.spinTimer().isActive(), spins);
    if (spins) {
        QTRY_VERIFY(scene.CameraY.rotationY() != yawAtRelease ||
                    scene.CameraX.rotationX() != pitchAtRelease || !form.spinTimer().isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!form.spinTimer().isActive(), 20000);
    }
    const float yawAtRest = scene.CameraY.rotationY();
    QCoreApplication::processEvents();
    QCOMPARE(scene.CameraY.rotationY(), yawAtRest);
    QVERIFY(!form.spinTimer().isActive());
    for (float p : pitches)
        QVERIFY2(pitch_allowed(p), qPrintable(QString::number(p)));
    if (moves.size() && moves.first().x() != 0)
        QVERIFY(yawAtRest != yawAtRelease); // the yaw kept turning after the release
    scene.changed = draw;
}

void TestSpin::pressStopsTheSpin()
{
    WindowFixture f(false);
    TMainForm &form = *f.form;
    step_motion_clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    GlobeScene &scene = form.scene();
    drag(form.viewport(), {{15, 0}, {15, 0}});
    QVERIFY(form.spinTimer().isActive());
    QTRY_VERIFY(scene.CameraY.rotationY() != 9.f);
    QTest::mousePress(form.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(!form.spinTimer().isActive());
    const float caught = scene.CameraY.rotationY();
    QCoreApplication::processEvents();
    QCOMPARE(scene.CameraY.rotationY(), caught);
    // Let go without moving: it stays still.
    QTest::mouseRelease(form.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(!form.spinTimer().isActive());
}

void TestSpin::touchSwipe_data()
{
    QTest::addColumn<bool>("pinch");
    QTest::addColumn<bool>("spins");
    QTest::newRow("one finger") << false << true;
    QTest::newRow("a second finger makes a pinch") << true << false;
}

void TestSpin::touchSwipe()
{
    QFETCH(bool, pinch);
    QFETCH(bool, spins);
    // Registered with the application for good, as a real touch screen would be.
    static QPointingDevice *const screen = QTest::createTouchDevice();
    WindowFixture f(false);
    TMainForm &form = *f.form;
    step_motion_clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    GlobeView *view = form.viewport();
    QTest::touchEvent(view, screen).press(0, QPoint(100, 100));
    QTest::touchEvent(view, screen).move(0, QPoint(115, 100));
    QTest::touchEvent(view, screen).move(0, QPoint(130, 100));
    QVERIFY(form.scene().CameraY.rotationY() > 0);
    if (pinch) {
        QTest::touchEvent(view, screen).move(0, QPoint(130, 100)).press(1, QPoint(200, 200));
        QTest::touchEvent(view, screen).move(0, QPoint(130, 100)).move(1, QPoint(230, 230));
        QTest::touchEvent(view, screen).release(0, QPoint(130, 100)).release(1, QPoint(230, 230));
    } else {
        QTest::touchEvent(view, screen).release(0, QPoint(130, 100));
    }
    QCOMPARE(form.spinTimer().isActive(), spins);
    QTRY_VERIFY_WITH_TIMEOUT(!form.spinTimer().isActive(), 20000);
}

SKYLOOM_TEST_MAIN(TestSpin)
#include "tst_spin.moc"
