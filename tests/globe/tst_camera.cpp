#include "common/testsupport.h"

#include "globe/cameracontrol.h"
#include "globe/globescene.h"
#include "globe/globeview.h"
#include "globe/touchadapters.h"

#include <QPointingDevice>
#include <QSignalSpy>

class TestCamera : public QObject
{
    Q_OBJECT

private slots:
    void drag_data();
    void drag();
    void moveWithoutLeftButton();
    void wheelSequence();
    void wheelFarBound();
    void pinch();
    void pinchStartsWithoutJump();
    void touchSequence();
    void swipeTurnsTheView();
};

void TestCamera::drag_data()
{
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<float>("dx");
    QTest::addColumn<float>("dy");
    QTest::addColumn<float>("newPitch");
    QTest::addColumn<float>("newYaw");
    QTest::newRow("59, 10 up: caught at 60") << 59.f << 0.f << 0.f << -10.f << 60.f << 0.f;
    QTest::newRow("301, 10 down: caught at 300") << 301.f << 0.f << 0.f << 10.f << 300.f << 0.f;
    QTest::newRow("0, 1 down: 359.7") << 0.f << 0.f << 0.f << 1.f << 359.7f << 0.f;
    QTest::newRow("yaw 359.9, 1 right: 0.2") << 0.f << 359.9f << 1.f << 0.f << 0.f << 0.2f;
    QTest::newRow("60, 100 up: held at 60") << 60.f << 0.f << 0.f << -100.f << 60.f << 0.f;
    // The bands' bounds are exclusive: a value landing on the far edge of a band is not caught.
    QTest::newRow("band edges pass: 90") << 87.f << 0.f << 0.f << -10.f << 90.f << 0.f;
    QTest::newRow("band edges pass: 270") << 273.f << 0.f << 0.f << 10.f << 270.f << 0.f;
    QTest::newRow("yaw left") << 0.f << 10.f << -20.f << 0.f << 0.f << 4.f;
    // One fast step never carries the camera past 60 degrees either way, nor over a pole.
    QTest::newRow("0, 250 down (75): held at 300") << 0.f << 0.f << 0.f << 250.f << 300.f << 0.f;
    QTest::newRow("0, 400 up (120): held at 60") << 0.f << 0.f << 0.f << -400.f << 60.f << 0.f;
    QTest::newRow("10, 300 down (90): held at 300") << 10.f << 0.f << 0.f << 300.f << 300.f << 0.f;
    QTest::newRow("350, 300 up (90): held at 60") << 350.f << 0.f << 0.f << -300.f << 60.f << 0.f;
    QTest::newRow("59, 200 up (60): held at 60") << 59.f << 0.f << 0.f << -200.f << 60.f << 0.f;
    QTest::newRow("301, 200 down (60): held at 300")
        << 301.f << 0.f << 0.f << 200.f << 300.f << 0.f;
    QTest::newRow("60, 1 up: held at 60") << 60.f << 0.f << 0.f << -1.f << 60.f << 0.f;
    QTest::newRow("300, 1 down: held at 300") << 300.f << 0.f << 0.f << 1.f << 300.f << 0.f;
    QTest::newRow("0, 700 up (210): held at 60") << 0.f << 0.f << 0.f << -700.f << 60.f << 0.f;
    QTest::newRow("0, 700 down (210): held at 300") << 0.f << 0.f << 0.f << 700.f << 300.f << 0.f;
    QTest::newRow("300, 1000 up (300): held at 60")
        << 300.f << 0.f << 0.f << -1000.f << 60.f << 0.f;
    QTest::newRow("60, 1000 down (300): held at 300")
        << 60.f << 0.f << 0.f << 1000.f << 300.f << 0.f;
    QTest::newRow("0, 1300 up (390): held at 60") << 0.f << 0.f << 0.f << -1300.f << 60.f << 0.f;
    QTest::newRow("0, 1300 down (390): held at 300") << 0.f << 0.f << 0.f << 1300.f << 300.f << 0.f;
    // Fast steps that stay inside the range go the whole way.
    QTest::newRow("310, 300 up (90): 40") << 310.f << 0.f << 0.f << -300.f << 40.f << 0.f;
    QTest::newRow("50, 300 down (90): 320") << 50.f << 0.f << 0.f << 300.f << 320.f << 0.f;
    QTest::newRow("300, 400 up (120): lands on 60") << 300.f << 0.f << 0.f << -400.f << 60.f << 0.f;
}

void TestCamera::drag()
{
    QFETCH(float, pitch);
    QFETCH(float, yaw);
    QFETCH(float, dx);
    QFETCH(float, dy);
    QFETCH(float, newPitch);
    QFETCH(float, newYaw);
    GlobeScene scene;
    CameraHandlerState state;
    scene.CameraX.setRotationX(pitch);
    scene.CameraY.setRotationY(yaw);
    camera_mouse_down(state, 100, 100);
    camera_mouse_move(scene, state, true, 100 + dx, 100 + dy);
    QVERIFY(qAbs(scene.CameraX.rotationX() - newPitch) < 1e-3f);
    QVERIFY(qAbs(scene.CameraY.rotationY() - newYaw) < 1e-3f);
    QCOMPARE(state.FXCameraAngle, scene.CameraX.rotationX());
    QCOMPARE(state.FYCameraAngle, scene.CameraY.rotationY());
    QCOMPARE(state.down.X, 100 + dx);
    QCOMPARE(state.down.Y, 100 + dy);
}

void TestCamera::moveWithoutLeftButton()
{
    GlobeScene scene;
    CameraHandlerState state;
    camera_mouse_down(state, 10, 20);
    camera_mouse_move(scene, state, false, 50, 90);
    QCOMPARE(scene.CameraX.rotationX(), 0.f);
    QCOMPARE(scene.CameraY.rotationY(), 0.f);
    QCOMPARE(state.down.X, 10.f);
    QCOMPARE(state.down.Y, 20.f);
}

void TestCamera::wheelSequence()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    QList<float> seen;
    for (int i = 0; i < 12; ++i) {
        camera_mouse_wheel(scene, 120);
        seen << scene.Camera1.position.z();
    }
    QVERIFY(qAbs(seen.at(0) + 21.3f) < 1e-4f);
    QVERIFY(qAbs(seen.at(9) + 10.5f) < 1e-4f);
    QCOMPARE(seen.at(10), -9.999f); // -9.3 is set back
    QCOMPARE(seen.at(11), -9.999f); // and stays
    camera_mouse_wheel(scene, -120);
    QVERIFY(qAbs(scene.Camera1.position.z() + 11.199f) < 1e-4f);
}

void TestCamera::wheelFarBound()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -24.6f);
    camera_mouse_wheel(scene, -120);
    QCOMPARE(scene.Camera1.position.z(), -25.001f);
    camera_mouse_wheel(scene, -120);
    QCOMPARE(scene.Camera1.position.z(), -25.001f);
    // From a pinch at -30 one notch in still lands on the far rest.
    scene.Camera1.position = QVector3D(0, 0, -30);
    camera_mouse_wheel(scene, 120);
    QCOMPARE(scene.Camera1.position.z(), -25.001f);
}

void TestCamera::pinch()
{
    GlobeScene scene;
    CameraHandlerState state;
    scene.Camera1.position = QVector3D(0, 0, -12);
    bool handled = false;
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, GestureInfo::Begin, 100}, handled);
    QVERIFY(handled);
    QCOMPARE(scene.Camera1.position.z(), -12.f);
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, 0, 130}, handled);
    QCOMPARE(scene.Camera1.position.z(), -10.f);
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, 0, -300}, handled);
    QCOMPARE(scene.Camera1.position.z(), -30.f);
    // Other gestures (pan) are handled and change nothing.
    handled = false;
    camera_gesture(scene, state, {260, 0, 999}, handled);
    QVERIFY(handled);
    QCOMPARE(state.FLastDistance, -300);
    QCOMPARE(scene.Camera1.position.z(), -30.f);
}

void TestCamera::pinchStartsWithoutJump()
{
    GlobeScene scene;
    CameraHandlerState state;
    scene.Camera1.position = QVector3D(0, 0, -20);
    bool handled = false;
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, GestureInfo::End, 80}, handled);
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, GestureInfo::Begin, 200}, handled);
    QCOMPARE(scene.Camera1.position.z(), -20.f);
    camera_gesture(scene, state, {GestureInfo::ZoomGesture, 0, 210}, handled);
    QVERIFY(qAbs(scene.Camera1.position.z() + 19.f) < 1e-5f);
}

void TestCamera::touchSequence()
{
    // The fingers down after each event, and what each adapter makes of it.
    using Step = SwipeAdapter::Step;
    constexpr int NoGesture = -1;
    struct Touch
    {
        QEvent::Type type;
        QList<QPointF> points;
        Step swipe;
        int pinchFlags;
        qint32 distance;
    };
    const Touch sequence[] = {
        {QEvent::TouchBegin, {{0, 0}}, Step::Press, NoGesture, 0},
        {QEvent::TouchUpdate, {{5, 0}}, Step::Move, NoGesture, 0},
        {QEvent::TouchUpdate, {{5, 0}, {35, 40}}, Step::None, GestureInfo::Begin, 50},
        {QEvent::TouchUpdate, {{0, 0}, {60, 80}}, Step::None, 0, 100},
        // One finger lifted: the pinch ends and the other finger starts a new drag.
        {QEvent::TouchUpdate, {{0, 0}}, Step::Press, GestureInfo::End, 100},
        {QEvent::TouchUpdate, {{3, 0}}, Step::Move, NoGesture, 0},
        {QEvent::TouchEnd, {}, Step::None, NoGesture, 0},
    };
    PinchAdapter pinch;
    SwipeAdapter swipe;
    for (const Touch &t : sequence) {
        const auto info = pinch.touch(t.type, t.points);
        QCOMPARE(info ? info->flags : NoGesture, t.pinchFlags);
        if (info)
            QCOMPARE(info->distance, t.distance);
        QCOMPARE(swipe.touch(t.type, t.points), t.swipe);
    }
}

void TestCamera::swipeTurnsTheView()
{
    GlobeView view;
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy pressed(&view, &GlobeView::mousePressed);
    QSignalSpy moved(&view, &GlobeView::mouseMoved);
    // Registered with the application for good, as a real touch screen would be.
    static QPointingDevice *const screen = QTest::createTouchDevice();
    QTest::touchEvent(&view, screen).press(0, QPoint(50, 60));
    QTest::touchEvent(&view, screen).move(0, QPoint(70, 60));
    QTest::touchEvent(&view, screen).release(0, QPoint(70, 60));
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(pressed.at(0).at(2).toPointF(), QPointF(50, 60));
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.at(0).at(0).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::LeftButton));
    QCOMPARE(moved.at(0).at(2).toPointF(), QPointF(70, 60));
}

SKYLOOM_TEST_MAIN(TestCamera)
#include "tst_camera.moc"
