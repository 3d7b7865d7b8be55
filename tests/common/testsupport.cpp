#include "common/testsupport.h"

#include "app/appstate.h"
#include "app/darkstyle.h"

#include <QSurfaceFormat>

int run_test_main(int argc, char **argv, QObject *test)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    reset_app_state();
    return QTest::qExec(test, argc, argv);
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
