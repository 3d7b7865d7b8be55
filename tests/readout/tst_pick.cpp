#include "common/testsupport.h"

#include "globe/cameracontrol.h"
#include "globe/globepick.h"
#include "globe/globescene.h"

#include <QtMath>

#include <cmath>
#include <optional>

namespace {
constexpr double HalfViewAngle = 22.5; // the scene's 45 degrees, vertically
constexpr double GlobeRadius = 5;      // the climate sphere's size 10

// The angle at the globe's centre between the point facing the camera and the point a ray
// meets `ndc` (normalised device units along one axis, aspect already applied) away from the
// view's middle, for a camera `distance` from the centre; nothing when the ray misses.
std::optional<double> arc_from_middle(double ndc, double distance)
{
    const double ray = std::atan(ndc * std::tan(qDegreesToRadians(HalfViewAngle)));
    const double sine = distance * std::sin(ray) / GlobeRadius;
    if (std::abs(sine) > 1)
        return std::nullopt;
    // The far solution of the sine rule is the hidden side; the near one is what shows.
    return qRadiansToDegrees(std::asin(sine) - ray);
}
} // namespace

class TestPick : public QObject
{
    Q_OBJECT

private slots:
    void pointUnderPointer_data();
    void pointUnderPointer();
    void texelUnderPoint_data();
    void texelUnderPoint();
};

void TestPick::pointUnderPointer_data()
{
    QTest::addColumn<QSizeF>("view");
    QTest::addColumn<float>("sphereTurn");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("distance");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<bool>("onGlobe");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    const QSizeF square(400, 400);
    const QSizeF wide(640, 400);
    const QPointF middle(200, 200);
    // At rest the sphere shows 90° E to the camera: its seam, the map's left edge, is on +X.
    QTest::newRow("at rest: the middle is 90° E on the equator")
        << square << 0.f << 0.f << 0.f << 22.5f << middle << true << 0.0 << 90.0;
    QTest::newRow("sphere turned by -90: Greenwich faces the camera")
        << square << 270.f << 0.f << 0.f << 22.5f << middle << true << 0.0 << 0.0;
    QTest::newRow("sphere turned by 90: the date line faces the camera")
        << square << 90.f << 0.f << 0.f << 22.5f << middle << true << 0.0 << -180.0;
    QTest::newRow("camera yawed 30: 60° E")
        << square << 0.f << 30.f << 0.f << 22.5f << middle << true << 0.0 << 60.0;
    QTest::newRow("camera pitched 30 down the screen: 30° S")
        << square << 270.f << 0.f << 30.f << 22.5f << middle << true << -30.0 << 0.0;
    QTest::newRow("camera pitched 40 up the screen: 40° N")
        << square << 270.f << 0.f << 320.f << 22.5f << middle << true << 40.0 << 0.0;

    const double distance = 22.5;
    const double up = *arc_from_middle(60 / 200.0, distance);
    QTest::newRow("60 px above the middle: north")
        << square << 270.f << 0.f << 0.f << 22.5f << QPointF(200, 140) << true << up << 0.0;
    QTest::newRow("60 px below the middle: south")
        << square << 270.f << 0.f << 0.f << 22.5f << QPointF(200, 260) << true << -up << 0.0;
    const double right = *arc_from_middle(80 / 320.0 * (640.0 / 400.0), distance);
    QTest::newRow("80 px right in a wide view: east")
        << wide << 270.f << 0.f << 0.f << 22.5f << QPointF(400, 200) << true << 0.0 << right;
    QTest::newRow("80 px left in a wide view: west")
        << wide << 270.f << 0.f << 0.f << 22.5f << QPointF(240, 200) << true << 0.0 << -right;
    const double zoomed = *arc_from_middle(60 / 200.0, 12);
    QTest::newRow("zoomed in to 12: 60 px above reaches further north")
        << square << 270.f << 0.f << 0.f << 12.f << QPointF(200, 140) << true << zoomed << 0.0;

    // The limb lies where the ray grazes the sphere: tan(asin(r / d)) / tan(22.5°) of the
    // half height from the middle, 110.05 px in a view 400 px high.
    const double limb = 200 * std::tan(std::asin(GlobeRadius / distance)) /
                        std::tan(qDegreesToRadians(HalfViewAngle));
    QTest::newRow("a pixel inside the limb")
        << square << 270.f << 0.f << 0.f << 22.5f << QPointF(200, 200 - (limb - 1)) << true
        << *arc_from_middle((limb - 1) / 200, distance) << 0.0;
    QTest::newRow("a pixel outside the limb")
        << square << 270.f << 0.f << 0.f << 22.5f << QPointF(200, 200 - (limb + 1)) << false << 0.0
        << 0.0;
    QTest::newRow("the view's corner")
        << square << 270.f << 0.f << 0.f << 22.5f << QPointF(0, 0) << false << 0.0 << 0.0;
    QTest::newRow("an empty view")
        << QSizeF(0, 0) << 270.f << 0.f << 0.f << 22.5f << QPointF() << false << 0.0 << 0.0;
}

void TestPick::pointUnderPointer()
{
    QFETCH(QSizeF, view);
    QFETCH(float, sphereTurn);
    QFETCH(float, yaw);
    QFETCH(float, pitch);
    QFETCH(float, distance);
    QFETCH(QPointF, pointer);
    QFETCH(bool, onGlobe);
    QFETCH(double, latitude);
    QFETCH(double, longitude);

    GlobeScene scene;
    CameraHandlerState camera;
    camera_home(scene, camera);
    scene.Camera1.position = QVector3D(0, 0, -distance);
    scene.ClimateSphere.setRotationY(sphereTurn);
    scene.CameraY.setRotationY(yaw);
    scene.CameraX.setRotationX(pitch);

    const std::optional<GlobePoint> point = pick_globe(scene, scene.ClimateSphere, view, pointer);
    QCOMPARE(point.has_value(), onGlobe);
    if (!onGlobe)
        return;
    QVERIFY2(std::abs(point->latitude - latitude) < 0.01,
             qPrintable(QString::number(point->latitude)));
    // The date line may come out at either end.
    const double lonError = std::remainder(point->longitude - longitude, 360.0);
    QVERIFY2(std::abs(lonError) < 0.01, qPrintable(QString::number(point->longitude)));
    QVERIFY(point->longitude >= -180 && point->longitude < 180);
    // Where the texture is read agrees with the place: v from the north pole, u from 180° W.
    QCOMPARE_LE(std::abs(point->v - (90 - point->latitude) / 180), 1e-9);
    QCOMPARE_LE(std::abs(point->u - (point->longitude + 180) / 360), 1e-9);
}

void TestPick::texelUnderPoint_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("v");
    QTest::addColumn<QPoint>("texel");
    QTest::newRow("top left corner") << 0.0 << 0.0 << QPoint(0, 0);
    QTest::newRow("just short of the second column") << 0.999 / 1112 << 0.0 << QPoint(0, 0);
    QTest::newRow("the second column") << 1.0 / 1112 << 0.0 << QPoint(1, 0);
    QTest::newRow("the middle") << 0.5 << 0.5 << QPoint(556, 333);
    QTest::newRow("the bottom right edge stays inside") << 1.0 << 1.0 << QPoint(1111, 666);
}

void TestPick::texelUnderPoint()
{
    QFETCH(double, u);
    QFETCH(double, v);
    QFETCH(QPoint, texel);
    GlobePoint point;
    point.u = u;
    point.v = v;
    QCOMPARE(texel_at(QSize(1112, 667), point), texel);
}

SKYLOOM_TEST_MAIN(TestPick)
#include "tst_pick.moc"
