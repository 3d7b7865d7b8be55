#include "app/appicon.h"
#include "app/appstate.h"
#include "app/commandline.h"
#include "app/darkstyle.h"
#include "app/mainform.h"
#include "help/helpform.h"
#include "settings/settingsform.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Read before the GUI starts, so --help and --version need no display. The start view,
    // data folder and map server it may hold are not used yet.
    const CommandLine commandLine = parse_command_line(command_line_arguments(argc, argv));
    if (commandLine.exitNow)
        return report_command_line_exit(commandLine);
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyloom"));
    QApplication::setOrganizationName(QStringLiteral("Brightwell"));
    QApplication::setApplicationVersion(QStringLiteral(SKYLOOM_VERSION));
    // The launcher's desktop entry, which window managers match the window to.
    QGuiApplication::setDesktopFileName(QStringLiteral(SKYLOOM_APP_ID));
    QApplication::setWindowIcon(application_icon());
    apply_dark_style(application);

    // The help and settings windows read what the main window's creation loaded.
    TMainForm mainForm;
    THelpForm helpForm;
    TSettingsForm settingsForm;
    mainForm.show();
    // Without a window manager (a bare X server) nobody else gives the window focus.
    QTimer::singleShot(0, &mainForm, [&mainForm] { mainForm.activateWindow(); });
    // A window manager that keeps the focus from a new window must not keep the first map
    // from loading: start it unfocused after a moment.
    QTimer::singleShot(1000, &mainForm, [&mainForm] {
        if (app().FirstActivation)
            mainForm.FormActivate();
    });
    return application.exec();
}
