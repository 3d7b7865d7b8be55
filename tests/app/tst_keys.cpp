#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/daynight.h"
#include "globe/globeview.h"
#include "help/helpform.h"
#include "settings/settingsform.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>

namespace {
// Shown and active: window keys reach only the active window. No window manager gives the
// focus, so the window takes it itself.
bool show_active(TMainForm &form)
{
    form.show();
    form.activateWindow();
    return QTest::qWaitFor([&form] { return form.isActiveWindow(); }, 20000);
}

QList<QPushButton *> drawer_buttons(TMainForm &form)
{
    QList<QPushButton *> shown;
    for (QPushButton *b : form.findChild<QWidget *>("Rectangle2")->findChildren<QPushButton *>())
        if (!b->isHidden())
            shown << b;
    return shown;
}
} // namespace

class TestKeys : public QObject
{
    Q_OBJECT

private slots:
    void turnKeys_data();
    void turnKeys();
    void zoomKeys_data();
    void zoomKeys();
    void homeResetsTheCamera();
    void windowKeys_data();
    void windowKeys();
    void tabReachesEveryDrawerButton();
    void drawerButtonKeys_data();
    void drawerButtonKeys();
    void focusMarkShows();
};

void TestKeys::turnKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<float>("startPitch");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<float>("pitch");
    QTest::newRow("left") << int(Qt::Key_Left) << 0.f << 355.f << 0.f;
    QTest::newRow("right") << int(Qt::Key_Right) << 0.f << 5.f << 0.f;
    QTest::newRow("up") << int(Qt::Key_Up) << 0.f << 0.f << 5.f;
    QTest::newRow("down") << int(Qt::Key_Down) << 0.f << 0.f << 355.f;
    QTest::newRow("up caught at 60") << int(Qt::Key_Up) << 58.f << 0.f << 60.f;
    QTest::newRow("up held at 60") << int(Qt::Key_Up) << 60.f << 0.f << 60.f;
    QTest::newRow("down caught at 300") << int(Qt::Key_Down) << 302.f << 0.f << 300.f;
}

void TestKeys::turnKeys()
{
    QFETCH(int, key);
    QFETCH(float, startPitch);
    QFETCH(float, yaw);
    QFETCH(float, pitch);
    WindowFixture f(false);
    QVERIFY(show_active(*f.form));
    GlobeScene &scene = f.form->scene();
    scene.CameraX.setRotationX(startPitch);
    QTest::keyClick(f.form.get(), Qt::Key(key));
    QVERIFY(qAbs(scene.CameraY.rotationY() - yaw) < 1e-3f);
    QVERIFY(qAbs(scene.CameraX.rotationX() - pitch) < 1e-3f);
    QCOMPARE(f.form->cameraState().FXCameraAngle, scene.CameraX.rotationX());
    QCOMPARE(f.form->cameraState().FYCameraAngle, scene.CameraY.rotationY());
}

void TestKeys::zoomKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<float>("startZ");
    QTest::addColumn<float>("z");
    QTest::newRow("+ nearer") << int(Qt::Key_Plus) << -22.5f << -21.3f;
    QTest::newRow("= as +") << int(Qt::Key_Equal) << -22.5f << -21.3f;
    QTest::newRow("- farther") << int(Qt::Key_Minus) << -22.5f << -23.7f;
    QTest::newRow("+ stops near -10") << int(Qt::Key_Plus) << -10.5f << -9.999f;
    QTest::newRow("- stops near -25") << int(Qt::Key_Minus) << -24.6f << -25.001f;
}

void TestKeys::zoomKeys()
{
    QFETCH(int, key);
    QFETCH(float, startZ);
    QFETCH(float, z);
    WindowFixture f(false);
    QVERIFY(show_active(*f.form));
    GlobeScene &scene = f.form->scene();
    scene.Camera1.position = QVector3D(0, 0, startZ);
    QTest::keyClick(f.form.get(), Qt::Key(key));
    QVERIFY2(qAbs(scene.Camera1.position.z() - z) < 1e-4f,
             qPrintable(QString::number(scene.Camera1.position.z())));
}

void TestKeys::homeResetsTheCamera()
{
    WindowFixture f(false);
    QVERIFY(show_active(*f.form));
    GlobeScene &scene = f.form->scene();
    const float sun = reduce_angle(plan_day_night(f.clock.nowUtc(), 2048).yRotation);
    scene.CameraX.setRotationX(40);
    scene.CameraY.setRotationY(123);
    scene.Camera1.position = QVector3D(0, 0, -12);
    scene.ClimateSphere.setRotationY(sun + 77);
    QTest::keyClick(f.form.get(), Qt::Key_Home);
    QCOMPARE(scene.CameraX.rotationX(), 0.f);
    QCOMPARE(scene.CameraY.rotationY(), 0.f);
    QCOMPARE(scene.Camera1.position, QVector3D(0, 0, -22.5f));
    QCOMPARE(scene.ClimateSphere.rotationY(), sun);
    QCOMPARE(scene.EarthSphere.rotationY(), sun);
    QCOMPARE(f.form->cameraState().FXCameraAngle, 0.f);
    QCOMPARE(f.form->cameraState().FYCameraAngle, 0.f);
}

void TestKeys::windowKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("effect");
    QTest::addColumn<int>("view");
    const int none = Qt::NoModifier;
    QTest::newRow("1 Temperature") << int(Qt::Key_1) << none << "view" << View::Temperature;
    QTest::newRow("2 Rain/Snow") << int(Qt::Key_2) << none << "view" << View::RainSnow;
    QTest::newRow("3 Wind/Pressure") << int(Qt::Key_3) << none << "view" << View::Wind;
    QTest::newRow("4 Climate Change") << int(Qt::Key_4) << none << "view" << View::ClimateChange;
    QTest::newRow("5 Day/Night") << int(Qt::Key_5) << none << "view" << View::DayNight;
    QTest::newRow("F1 help") << int(Qt::Key_F1) << none << "help" << -1;
    QTest::newRow("Ctrl+, settings")
        << int(Qt::Key_Comma) << int(Qt::ControlModifier) << "settings" << -1;
    QTest::newRow("F11 full screen") << int(Qt::Key_F11) << none << "full screen" << -1;
    QTest::newRow("Ctrl+Q quits") << int(Qt::Key_Q) << int(Qt::ControlModifier) << "quit" << -1;
}

void TestKeys::windowKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, effect);
    QFETCH(int, view);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    QVERIFY(show_active(form));
    // Another view first, so that every view key has something to change.
    f.choose(view == View::Wind ? View::RainSnow : View::Wind);
    QTest::keyClick(&form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (effect == "view") {
        QCOMPARE(form.currentView(), view);
        if (view == View::DayNight)
            QCOMPARE(form.shownView(), View::DayNight);
        else
            QCOMPARE(form.downloader().isRunning(view), true);
    } else if (effect == "help") {
        QVERIFY(form.helpForm()->isVisible());
        form.helpForm()->close();
    } else if (effect == "settings") {
        QVERIFY(form.settingsForm()->isVisible());
        form.settingsForm()->close();
    } else if (effect == "full screen") {
        QVERIFY(form.windowState().testFlag(Qt::WindowFullScreen));
        QTest::keyClick(&form, Qt::Key(key));
        QVERIFY(!form.windowState().testFlag(Qt::WindowFullScreen));
    } else if (effect == "quit") {
        QVERIFY(!form.isVisible());
        QFile ini(f.dir.filePath(QStringLiteral("Skyloom.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("LastSphere=2\n"));
    }
    f.waitIdle();
}

void TestKeys::tabReachesEveryDrawerButton()
{
    WindowFixture f(false);
    TMainForm &form = *f.form;
    QVERIFY(show_active(form));
    const QList<QPushButton *> buttons = drawer_buttons(form);
    QCOMPARE(buttons.size(), 7);
    // Nothing shows a focus mark at start: the globe has the focus.
    QCOMPARE(QApplication::focusWidget(), form.viewport());
    QSet<QWidget *> reached;
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(&form, Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    for (QPushButton *b : buttons)
        QVERIFY2(reached.contains(b), qPrintable(b->text()));
    // A click with the mouse takes no focus, so no mark is left behind.
    for (QPushButton *b : buttons)
        QCOMPARE(b->focusPolicy(), Qt::TabFocus);
}

void TestKeys::drawerButtonKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("enter") << int(Qt::Key_Enter);
    QTest::newRow("return") << int(Qt::Key_Return);
}

void TestKeys::drawerButtonKeys()
{
    QFETCH(int, key);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    QVERIFY(show_active(form));
    QPushButton *rain = form.buttonForView(View::RainSnow);
    rain->setFocus(Qt::TabFocusReason);
    QVERIFY(rain->hasFocus());
    QTest::keyClick(rain, Qt::Key(key));
    QCOMPARE(form.currentView(), View::RainSnow);
    QPushButton *dayNight = form.buttonForView(View::DayNight);
    dayNight->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dayNight, Qt::Key(key));
    QCOMPARE(form.shownView(), View::DayNight);
    f.waitIdle();
}

void TestKeys::focusMarkShows()
{
    WindowFixture f(false);
    TMainForm &form = *f.form;
    QFile sheet(QStringLiteral(":/style/dark.qss"));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    form.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    QVERIFY(show_active(form));
    QPushButton *wind = form.buttonForView(View::Wind);
    const QPoint edge(0, wind->height() / 2);
    const QRgb mark = qRgb(0x6C, 0xB4, 0xFF);
    QVERIFY(wind->grab().toImage().pixel(edge) != mark);
    wind->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(wind->grab().toImage().pixel(edge), mark);
}

SKYLOOM_TEST_MAIN(TestKeys)
#include "tst_keys.moc"
