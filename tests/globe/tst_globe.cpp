#include "common/testsupport.h"

#include "globe/globescene.h"
#include "globe/globeview.h"
#include "globe/spheremesh.h"

#include <QLabel>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSignalSpy>
#include <QSurfaceFormat>

class TestGlobe : public QObject
{
    Q_OBJECT

private slots:
    void reduceAngle_data();
    void reduceAngle();
    void meshLayout();
    void meshFacesOutward();
    void cameraFrame();

    void centreFacesColumnOfYRotation_data();
    void centreFacesColumnOfYRotation();
    void wrapMeridianSamplesFineLevel_data();
    void wrapMeridianSamplesFineLevel();
    void upright();
    void darkSideIsAQuarterBright();
    void transparentNightLightsLeaveEarthUnchanged();
    void imageFormatsDrawAlike_data();
    void imageFormatsDrawAlike();
    void replacedTextureIsDrawn_data();
    void replacedTextureIsDrawn();
    void viewClosedAfterDrawing();
    void framebufferIsOpaque_data();
    void framebufferIsOpaque();
    void limbIsRoundAndSmooth();
    void viewHasNoMultisampling();
    void oversizedTextureIsRefused_data();
    void oversizedTextureIsRefused();
    void drawsWithOlderOpenGl_data();
    void drawsWithOlderOpenGl();
    void saysWhyNothingIsDrawn_data();
    void saysWhyNothingIsDrawn();

private:
    // Renders the scene at 200 x 200 and returns the frame.
    QImage render(GlobeScene &scene);
};

void TestGlobe::reduceAngle_data()
{
    QTest::addColumn<float>("angle");
    QTest::addColumn<float>("stored");
    QTest::newRow("-30") << -30.f << 330.f;
    QTest::newRow("365") << 365.f << 5.f;
    QTest::newRow("360") << 360.f << 0.f;
    QTest::newRow("-0.3") << -0.3f << 359.7f;
    QTest::newRow("720.5") << 720.5f << 0.5f;
    QTest::newRow("tiny negative") << -1e-6f << 0.f;
}

void TestGlobe::reduceAngle()
{
    QFETCH(float, angle);
    QFETCH(float, stored);
    SceneNode node;
    node.setRotationY(angle);
    QVERIFY(node.rotationY() >= 0 && node.rotationY() < 360);
    QVERIFY(qAbs(node.rotationY() - stored) < 1e-3f);
}

void TestGlobe::meshLayout()
{
    const SphereMesh mesh;
    QCOMPARE(mesh.vertices().size(), 23 * 33 + 2 * 32);
    QCOMPARE(mesh.triangleCount(), 2 * 32 + 22 * 32 * 2);
    auto find = [&](float u, float v) -> QVector3D {
        for (const auto &vx : mesh.vertices())
            if (qFuzzyCompare(vx.uv.x() + 1, u + 1) && qFuzzyCompare(vx.uv.y() + 1, v + 1))
                return vx.position;
        return QVector3D(9, 9, 9);
    };
    // Row 0 at the -Y pole, seam on +X, u = 0.25 at +Z, 0.75 at -Z (toward the camera).
    QCOMPARE(find(0.5f / 32, 0), QVector3D(0, -0.5f, 0));
    QVERIFY((find(0, 0.5f) - QVector3D(0.5f, 0, 0)).length() < 1e-6f);
    QVERIFY((find(1, 0.5f) - QVector3D(0.5f, 0, 0)).length() < 1e-6f);
    QVERIFY((find(0.25f, 0.5f) - QVector3D(0, 0, 0.5f)).length() < 1e-6f);
    QVERIFY((find(0.75f, 0.5f) - QVector3D(0, 0, -0.5f)).length() < 1e-6f);
}

void TestGlobe::meshFacesOutward()
{
    const SphereMesh mesh;
    const auto &v = mesh.vertices();
    const auto &idx = mesh.indices();
    for (int t = 0; t < mesh.triangleCount(); ++t) {
        const QVector3D a = v[idx[3 * t]].position, b = v[idx[3 * t + 1]].position,
                        c = v[idx[3 * t + 2]].position;
        const QVector3D n = QVector3D::crossProduct(b - a, c - a);
        QVERIFY2(n.length() > 0, "degenerate triangle");
        QVERIFY2(QVector3D::dotProduct(n, a + b + c) > 0, qPrintable(QString::number(t)));
    }
}

void TestGlobe::cameraFrame()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    // At rest the globe's centre is straight ahead and the scene's -Y is screen-up.
    QVERIFY((scene.viewMatrix().map(QVector3D()) - QVector3D(0, 0, -22.5f)).length() < 1e-4f);
    QVERIFY(scene.viewMatrix().mapVector(QVector3D(0, -1, 0)).y() > 0.99f);
    QVERIFY(scene.viewMatrix().mapVector(QVector3D(1, 0, 0)).x() > 0.99f);
    // Positive yaw swings the camera toward -X.
    scene.CameraY.setRotationY(30);
    QVERIFY(scene.cameraPosition().x() < -11);
    // A tilted light travels (0, -sin t, cos t).
    scene.Light1.setRotationX(10);
    const QVector3D d = scene.lightDirection();
    QVERIFY(qAbs(d.y() + std::sin(qDegreesToRadians(10.f))) < 1e-5f);
    QVERIFY(qAbs(d.z() - std::cos(qDegreesToRadians(10.f))) < 1e-5f);
}

QImage TestGlobe::render(GlobeScene &scene)
{
    GlobeView view;
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return {};
    return view.grabFramebuffer();
}

static void showClimateOnly(GlobeScene &scene, const QImage &texture)
{
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.ClimateSphere.visible = true;
    scene.EarthSphere.visible = scene.NightSphere.visible = false;
    scene.climateTexture.setImage(texture);
}

void TestGlobe::centreFacesColumnOfYRotation_data()
{
    QTest::addColumn<float>("rotation");
    QTest::newRow("0: 90 E") << 0.f;
    QTest::newRow("45") << 45.f;
    QTest::newRow("-60") << -60.f;
    QTest::newRow("200") << 200.f;
}

void TestGlobe::centreFacesColumnOfYRotation()
{
    QFETCH(float, rotation);
    GlobeScene scene;
    showClimateOnly(scene, uv_gradient_texture(256, 128));
    scene.ClimateSphere.setRotationY(rotation);
    const QImage frame = render(scene);
    QVERIFY(!frame.isNull());
    const float u = std::fmod(0.75f + reduce_angle(rotation) / 360.f, 1.f);
    const QRgb centre = frame.pixel(100, 100);
    QVERIFY2(qAbs(qRed(centre) - u * 256) < 4,
             qPrintable(QStringLiteral("red %1 for u %2").arg(qRed(centre)).arg(u)));
    QVERIFY(qAbs(qGreen(centre) - 128) < 4);
    // East lies to the right: the column grows left to right across the face.
    QVERIFY(qRed(frame.pixel(110, 100)) > qRed(centre) || u > 0.95f);
}

void TestGlobe::wrapMeridianSamplesFineLevel_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<float>("rotation");
    QTest::newRow("200, seam faces") << 200 << 90.f;
    QTest::newRow("200, seam slightly left") << 200 << 87.f;
    QTest::newRow("317, seam faces") << 317 << 90.f;
    QTest::newRow("256, seam slightly right") << 256 << 93.5f;
}

void TestGlobe::wrapMeridianSamplesFineLevel()
{
    QFETCH(int, size);
    QFETCH(float, rotation);
    // Red in the quarters at either edge, blue in the middle half: a pixel that samples
    // a coarse level turns purple.
    QImage texture(256, 128, QImage::Format_RGB32);
    for (int x = 0; x < texture.width(); ++x)
        for (int y = 0; y < texture.height(); ++y)
            texture.setPixel(x, y, x < 64 || x >= 192 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    GlobeScene scene;
    showClimateOnly(scene, texture);
    scene.ClimateSphere.setRotationY(rotation);
    GlobeView view;
    view.setScene(&scene);
    view.resize(size, size);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    QVERIFY(!frame.isNull());
    // The middle of the face lies well inside the disc and within 45 degrees of the seam.
    const int half = frame.width() / 7;
    const int cx = frame.width() / 2;
    const int cy = frame.height() / 2;
    for (int y = cy - half; y <= cy + half; ++y)
        for (int x = cx - half; x <= cx + half; ++x) {
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > half * half)
                continue;
            const QRgb c = frame.pixel(x, y);
            QVERIFY2(qRed(c) > 32 && qBlue(c) * 8 < qRed(c),
                     qPrintable(QStringLiteral("pixel (%1, %2) is %3 %4 %5")
                                    .arg(x)
                                    .arg(y)
                                    .arg(qRed(c))
                                    .arg(qGreen(c))
                                    .arg(qBlue(c))));
        }
}

void TestGlobe::upright()
{
    GlobeScene scene;
    showClimateOnly(scene, uv_gradient_texture(256, 128));
    const QImage frame = render(scene);
    // Green grows with the image row: row 0 (north) sits at the top of the globe.
    QVERIFY(qGreen(frame.pixel(100, 80)) < qGreen(frame.pixel(100, 100)));
    QVERIFY(qGreen(frame.pixel(100, 100)) < qGreen(frame.pixel(100, 120)));
    QVERIFY(qRed(frame.pixel(80, 100)) < qRed(frame.pixel(120, 100)));
    QCOMPARE(frame.pixel(2, 2), qRgb(0, 0, 0));
}

void TestGlobe::darkSideIsAQuarterBright()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.ClimateSphere.visible = scene.NightSphere.visible = false;
    QImage grey(64, 32, QImage::Format_ARGB32);
    grey.fill(qRgb(200, 200, 200));
    scene.earthTexture.setImage(grey);

    const QImage lit = render(scene);
    scene.Light1.setRotationX(180); // now shines from behind the globe
    const QImage dark = render(scene);
    // Ambient 0x2B plus emissive 0x15 of 0xFF: 200 * 64 / 255 = 50.
    QVERIFY2(qAbs(qRed(dark.pixel(100, 100)) - 50) <= 3,
             qPrintable(QString::number(qRed(dark.pixel(100, 100)))));
    QVERIFY(qRed(lit.pixel(100, 100)) >= 199);
}

void TestGlobe::transparentNightLightsLeaveEarthUnchanged()
{
    GlobeScene scene;
    scene.Camera1.position = QVector3D(0, 0, -22.5f);
    scene.ClimateSphere.visible = false;
    scene.earthTexture.setImage(uv_gradient_texture(256, 128));
    QImage lights(256, 128, QImage::Format_ARGB32);
    lights.fill(0);
    // One opaque white patch left of the centre; the rest transparent black.
    for (int y = 56; y < 72; ++y)
        for (int x = 160; x < 176; ++x)
            lights.setPixel(x, y, qRgba(255, 255, 255, 255));
    scene.nightTexture.setImage(lights);

    scene.NightSphere.visible = false;
    const QImage earthOnly = render(scene);
    scene.NightSphere.visible = true;
    const QImage withNight = render(scene);
    QCOMPARE(withNight.pixel(100, 100), earthOnly.pixel(100, 100));
    QCOMPARE(withNight.pixel(130, 80), earthOnly.pixel(130, 80));
    // The patch at u = 0.66 covers with alpha 0.8: brighter than the earth alone.
    const int patchX = 100 - 28;
    QVERIFY2(qBlue(withNight.pixel(patchX, 100)) > qBlue(earthOnly.pixel(patchX, 100)) + 100,
             qPrintable(QStringLiteral("%1 vs %2")
                            .arg(qBlue(withNight.pixel(patchX, 100)))
                            .arg(qBlue(earthOnly.pixel(patchX, 100)))));
}

void TestGlobe::imageFormatsDrawAlike_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("translucent");
    QTest::newRow("32-bit ARGB, opaque") << QImage::Format_ARGB32 << false;
    QTest::newRow("32-bit ARGB, partly translucent") << QImage::Format_ARGB32 << true;
    QTest::newRow("premultiplied 32-bit ARGB") << QImage::Format_ARGB32_Premultiplied << true;
    QTest::newRow("32-bit RGB") << QImage::Format_RGB32 << false;
    QTest::newRow("24-bit RGB") << QImage::Format_RGB888 << false;
    QTest::newRow("RGBA, not premultiplied") << QImage::Format_RGBA8888 << true;
}

// Some formats reach the GL as they are and others converted; a blended sphere shows
// whether translucent texels were premultiplied either way.
void TestGlobe::imageFormatsDrawAlike()
{
    QFETCH(QImage::Format, format);
    QFETCH(bool, translucent);
    QImage lights = uv_gradient_texture(256, 128).convertToFormat(QImage::Format_ARGB32);
    if (translucent)
        for (int y = 40; y < 90; ++y)
            for (int x = 100; x < 220; ++x)
                lights.setPixel(x, y, qRgba(250, 180, 40, 96));
    auto frameWith = [this](const QImage &night) {
        GlobeScene scene;
        scene.Camera1.position = QVector3D(0, 0, -22.5f);
        scene.ClimateSphere.visible = false;
        QImage earth(256, 128, QImage::Format_RGBA8888_Premultiplied);
        earth.fill(qRgb(0, 60, 0));
        scene.earthTexture.setImage(earth);
        scene.nightTexture.setImage(night);
        return render(scene);
    };
    const QImage expected =
        frameWith(lights.convertToFormat(QImage::Format_RGBA8888_Premultiplied));
    const QImage actual = frameWith(lights.convertToFormat(format));
    QVERIFY(!expected.isNull());
    QCOMPARE(actual, expected);
}

enum class Replacement { EditedInPlace, SameSize, NewSize };
Q_DECLARE_METATYPE(Replacement)

void TestGlobe::replacedTextureIsDrawn_data()
{
    QTest::addColumn<Replacement>("replacement");
    QTest::newRow("edited in place, as the terminator update does") << Replacement::EditedInPlace;
    QTest::newRow("new image of the same size") << Replacement::SameSize;
    QTest::newRow("new image of another size") << Replacement::NewSize;
}

// One view, so the second frame reuses the texture the first one uploaded.
void TestGlobe::replacedTextureIsDrawn()
{
    QFETCH(Replacement, replacement);
    GlobeScene scene;
    QImage red(64, 32, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    showClimateOnly(scene, red);
    GlobeView view;
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.grabFramebuffer().pixel(100, 100), qRgb(255, 0, 0));

    const QRgb blue = qRgb(0, 0, 255);
    if (replacement == Replacement::EditedInPlace) {
        scene.climateTexture.edit().fill(blue);
        scene.climateTexture.markChanged();
    } else {
        QImage image(replacement == Replacement::SameSize ? QSize(64, 32) : QSize(128, 48),
                     QImage::Format_ARGB32);
        image.fill(blue);
        scene.climateTexture.setImage(image);
    }
    const QImage frame = view.grabFramebuffer();
    QCOMPARE(frame.pixel(100, 100), blue);
    QCOMPARE(frame.pixel(85, 110), blue);
}

// Closing a view lets its GL resources go once, while the view is still whole; a later view
// of the same scene starts afresh.
void TestGlobe::viewClosedAfterDrawing()
{
    GlobeScene scene;
    QImage red(64, 32, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    showClimateOnly(scene, red);
    for (int i = 0; i < 2; ++i) {
        auto view = std::make_unique<GlobeView>();
        view->setScene(&scene);
        view->resize(200, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->grabFramebuffer().pixel(100, 100), qRgb(255, 0, 0));
        view.reset();
        QCoreApplication::processEvents();
    }
}

// Each row of the disc covers as many pixels as the sphere's outline there, to a fraction
// of a pixel: the edge is neither faceted nor stepped.
void TestGlobe::limbIsRoundAndSmooth()
{
    GlobeScene scene;
    QImage white(64, 32, QImage::Format_ARGB32);
    white.fill(qRgb(255, 255, 255));
    showClimateOnly(scene, white);
    scene.Camera1.position = QVector3D(0, 0, -15);
    GlobeView view;
    view.setScene(&scene);
    view.resize(600, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    const double radius = 300 * std::tan(std::asin(5.0 / 15.0)) / std::tan(qDegreesToRadians(22.5));
    int partial = 0;
    for (int y = 0; y < 600; ++y) {
        const double dy = y + 0.5 - 300;
        if (qAbs(dy) > 0.8 * radius)
            continue;
        double covered = 0;
        for (int x = 0; x < 600; ++x) {
            const int grey = qGray(frame.pixel(x, y));
            covered += grey / 255.0;
            partial += grey > 8 && grey < 247;
        }
        const double chord = 2 * std::sqrt(radius * radius - dy * dy);
        QVERIFY2(
            qAbs(covered - chord) < 0.5,
            qPrintable(QStringLiteral("row %1: %2 pixels for %3").arg(y).arg(covered).arg(chord)));
    }
    // The edge fades over about a pixel on both sides of every row.
    QVERIFY2(partial > 400, qPrintable(QString::number(partial)));
}

// The limb is smoothed by the shader (limbIsRoundAndSmooth): samples would only multiply
// the cost of every pixel, most of all on a software rasteriser.
void TestGlobe::viewHasNoMultisampling()
{
    GlobeScene scene;
    GlobeView view;
    view.setScene(&scene);
    view.resize(100, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.isValid());
    QCOMPARE(qMax(0, view.format().samples()), 0);
    QCOMPARE(qMax(0, view.context()->format().samples()), 0);
}

void TestGlobe::oversizedTextureIsRefused_data()
{
    QTest::addColumn<int>("extraWidth");
    QTest::addColumn<int>("extraHeight");
    QTest::newRow("one column too wide") << 1 << 0;
    QTest::newRow("one row too high") << 0 << 1;
    QTest::newRow("exactly the limit") << 0 << 0;
}

// A sphere keeps its texture when the next image is larger than the GL takes, and the
// view says so; the limit is known once the view has been shown.
void TestGlobe::oversizedTextureIsRefused()
{
    QFETCH(int, extraWidth);
    QFETCH(int, extraHeight);
    GlobeScene scene;
    QImage red(64, 32, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    showClimateOnly(scene, red);
    GlobeView view;
    QCOMPARE(view.maxTextureSize(), 0);
    QSignalSpy refused(&view, &GlobeView::textureRefused);
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.grabFramebuffer().pixel(100, 100), qRgb(255, 0, 0));
    const int limit = view.maxTextureSize();
    QVERIFY(limit >= 1024);
    QVERIFY(GlobeRenderer::knownMaxTextureSize() > 0);
    QVERIFY(GlobeRenderer::knownMaxTextureSize() <= limit);

    // Long thin images, so the test needs little memory whatever the limit.
    const bool wide = extraHeight == 0;
    const QSize size = wide ? QSize(limit + extraWidth, 2) : QSize(2, limit + extraHeight);
    QImage blue(size, QImage::Format_RGBA8888_Premultiplied);
    blue.fill(QColor(0, 0, 255));
    const bool fits = extraWidth == 0 && extraHeight == 0;
    QCOMPARE(GlobeRenderer::fitsKnownMaxTextureSize(size), fits);
    scene.climateTexture.setImage(blue);
    const QImage frame = view.grabFramebuffer();
    QCOMPARE(frame.pixel(100, 100), fits ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    QCoreApplication::processEvents();
    QCOMPARE(refused.size(), fits ? 0 : 1);
    if (!fits) {
        QCOMPARE(refused.first().at(0).toSize(), size);
        QCOMPARE(refused.first().at(1).toInt(), limit);
    }
    // Reported once; the next frames draw the kept texture without asking again.
    view.grabFramebuffer();
    QCoreApplication::processEvents();
    QCOMPARE(refused.size(), fits ? 0 : 1);
}

enum class Shown { Climate, Earth, DayNight };
Q_DECLARE_METATYPE(Shown)

void TestGlobe::framebufferIsOpaque_data()
{
    QTest::addColumn<Shown>("shown");
    QTest::newRow("climate map, unlit") << Shown::Climate;
    QTest::newRow("earth, lit") << Shown::Earth;
    QTest::newRow("day and night, translucent lights over the earth") << Shown::DayNight;
}

// Maps are transparent beyond the rows they cover: the opaque spheres show those as black.
void TestGlobe::framebufferIsOpaque()
{
    QFETCH(Shown, shown);
    QImage map = uv_gradient_texture(256, 128).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 128; ++y)
        if (y < 40 || y >= 100)
            std::fill_n(reinterpret_cast<QRgb *>(map.scanLine(y)), 256, qRgba(0, 0, 0, 0));
    QImage lights(256, 128, QImage::Format_ARGB32);
    lights.fill(qRgba(0, 0, 0, 0));
    GlobeScene scene;
    showClimateOnly(scene, map);
    if (shown != Shown::Climate) {
        scene.earthTexture.setImage(map);
        scene.nightTexture.setImage(lights);
        scene.ClimateSphere.visible = false;
        scene.EarthSphere.visible = true;
        scene.NightSphere.visible = shown == Shown::DayNight;
    }
    // With an alpha channel in the context the grab keeps the framebuffer's alpha, which
    // the window composes and screenshots show.
    GlobeView view;
    QSurfaceFormat format = globe_surface_format();
    format.setAlphaBufferSize(8);
    view.setFormat(format);
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    QVERIFY(frame.hasAlphaChannel());
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (qAlpha(frame.pixel(x, y)) != 255)
                QFAIL(qPrintable(QStringLiteral("alpha %1 at %2, %3")
                                     .arg(qAlpha(frame.pixel(x, y)))
                                     .arg(x)
                                     .arg(y)));
    // 50 degrees north lies in the map's transparent rows: black.
    QCOMPARE(frame.pixel(100, 52), qRgb(0, 0, 0));
    QVERIFY(qGreen(frame.pixel(100, 100)) > 60);
}

Q_DECLARE_METATYPE(GlobeRenderer::Dialect)
Q_DECLARE_METATYPE(QSurfaceFormat)

void TestGlobe::drawsWithOlderOpenGl_data()
{
    QTest::addColumn<QSurfaceFormat>("format");
    QTest::addColumn<GlobeRenderer::Dialect>("limit");
    // The driver may give a newer compatibility context; the limit keeps the GLSL 1.20
    // shaders in use, as on a driver that has only OpenGL 2.1.
    QTest::newRow("OpenGL 2.1, GLSL 1.20") << gl21_format() << GlobeRenderer::Dialect::Legacy;
    QTest::newRow("OpenGL ES, GLSL ES 1.00") << gles2_format() << GlobeRenderer::Dialect::Modern;
}

void TestGlobe::drawsWithOlderOpenGl()
{
    QFETCH(QSurfaceFormat, format);
    QFETCH(GlobeRenderer::Dialect, limit);
    GlobeScene scene;
    showClimateOnly(scene, uv_gradient_texture(256, 128));
    scene.ClimateSphere.setRotationY(45);
    GlobeView view;
    view.setFormat(format);
    view.renderer().setDialectLimit(limit);
    view.setScene(&scene);
    view.resize(200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    QCOMPARE(view.renderer().dialect(), GlobeRenderer::Dialect::Legacy);
    QCOMPARE(view.problem(), QString());
    // As centreFacesColumnOfYRotation finds it with the newest shaders.
    const QRgb centre = frame.pixel(100, 100);
    QVERIFY2(qAbs(qRed(centre) - 0.875 * 256) < 4, qPrintable(QString::number(qRed(centre))));
    QVERIFY(qAbs(qGreen(centre) - 128) < 4);
    QVERIFY(qGreen(frame.pixel(100, 80)) < qGreen(centre));
    QCOMPARE(frame.pixel(2, 2), qRgb(0, 0, 0));
}

enum class Failure { NoUsableOpenGl, ShaderDoesNotCompile };
Q_DECLARE_METATYPE(Failure)

void TestGlobe::saysWhyNothingIsDrawn_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("logFollows");
    QTest::newRow("no usable OpenGL")
        << Failure::NoUsableOpenGl
        << QStringLiteral("This display offers no OpenGL 3.3; the globe cannot be drawn.") << false;
    QTest::newRow("shader does not compile")
        << Failure::ShaderDoesNotCompile << QStringLiteral("The globe cannot be drawn: ") << true;
}

void TestGlobe::saysWhyNothingIsDrawn()
{
    QFETCH(Failure, failure);
    QFETCH(QString, text);
    QFETCH(bool, logFollows);
    GlobeScene scene;
    showClimateOnly(scene, uv_gradient_texture(256, 128));
    GlobeView view;
    if (failure == Failure::NoUsableOpenGl)
        view.renderer().setDialectLimit(GlobeRenderer::Dialect::None);
    else
        view.renderer().setSourceFilter(
            [](QByteArray &, QByteArray &fragment) { fragment += "\nnot a statement;\n"; });
    view.setScene(&scene);
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage frame = view.grabFramebuffer();
    QCOMPARE(view.renderer().dialect(), GlobeRenderer::Dialect::None);
    QVERIFY2(view.problem().startsWith(text), qPrintable(view.problem()));
    // The shader compiler's first line follows, and nothing more.
    QCOMPARE(view.problem().size() > text.size(), logFollows);
    QVERIFY(!view.problem().contains(QLatin1Char('\n')));
    const auto *label = view.findChild<QLabel *>();
    QVERIFY(label && label->isVisible());
    QVERIFY(view.rect().contains(label->geometry()));
    // The globe area stays black, and the message is drawn over it.
    QCOMPARE(frame.pixel(200, 100), qRgb(0, 0, 0));
    const QImage shown = view.grab().toImage();
    int bright = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            bright += qGray(shown.pixel(x, y)) > 128;
    QVERIFY2(bright > 20, "no text");
}

SKYLOOM_TEST_MAIN(TestGlobe)
#include "tst_globe.moc"
