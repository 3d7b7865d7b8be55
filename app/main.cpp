#include "app/darkstyle.h"
#include "app/mainform.h"
#include "globe/globerenderer.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QTimer>

int main(int argc, char *argv[])
{
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyloom"));
    QApplication::setOrganizationName(QStringLiteral("Brightwell Software"));
    apply_dark_style(application);

    TMainForm mainForm;
    mainForm.show();
    // Without a window manager (a bare X server) nobody else gives the window focus.
    QTimer::singleShot(0, &mainForm, [&mainForm] { mainForm.activateWindow(); });
    // A window manager that keeps the focus from a new window must not keep the first map
    // from loading: start it unfocused after a moment.
    QTimer::singleShot(1000, &mainForm, [&mainForm] {
        if (mainForm.firstActivation())
            mainForm.FormActivate();
    });
    return application.exec();
}
