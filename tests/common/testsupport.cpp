#include "common/testsupport.h"

#include "globe/globerenderer.h"

#ifdef SKYLOOM_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
using TestApplication = QGuiApplication;
#endif

#include <QSurfaceFormat>
#include <QTemporaryDir>

#include <cctype>
#include <vector>

namespace {
using Factory = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<const char *, Factory>> &registry()
{
    static std::vector<std::pair<const char *, Factory>> classes;
    return classes;
}
} // namespace

bool register_test_class(const char *name, Factory make)
{
    registry().emplace_back(name, std::move(make));
    return true;
}

int main(int argc, char **argv)
{
    // Nothing a test does may reach the real home folder.
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/share").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    // Fixed zone and locale, so date texts are the same on every machine.
    qputenv("TZ", "America/New_York");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    TestApplication application(argc, argv);
    // "tst_x TestClass [qtest options]" runs one class only.
    QByteArray only;
    if (argc > 1 && argv[1][0] != '-' && std::isupper(static_cast<unsigned char>(argv[1][0]))) {
        only = argv[1];
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    int failures = 0;
    for (auto &[name, make] : registry()) {
        if (!only.isEmpty() && only != name)
            continue;
        std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

QImage uv_gradient_texture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgba(x * 256 / width, y * 256 / height, 0, 255);
    }
    return image;
}

QSurfaceFormat gl21_format()
{
    QSurfaceFormat format = globe_surface_format();
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    return format;
}

QSurfaceFormat gles2_format()
{
    QSurfaceFormat format = globe_surface_format();
    format.setRenderableType(QSurfaceFormat::OpenGLES);
    format.setVersion(2, 0);
    format.setProfile(QSurfaceFormat::NoProfile);
    return format;
}
