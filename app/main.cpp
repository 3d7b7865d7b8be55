#include "app/appicon.h"
#include "app/commandline.h"
#include "app/darkstyle.h"
#include "app/mainform.h"
#include "globe/globerenderer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Read before the GUI starts, so --help and --version need no display.
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

    MainFormSetup setup;
    setup.startView = commandLine.startView;
    // The program keeps its maps and settings in a folder of its own; an installed copy
    // must not fall back to its read-only program folder on a first start.
    const QString dataDir =
        commandLine.dataDir
            ? QFileInfo(*commandLine.dataDir).absoluteFilePath()
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/Brightwell/Skyloom");
    QDir().mkpath(dataDir);
    if (commandLine.dataDir)
        setup.dataDir = dataDir;
    if (commandLine.mapServer)
        setup.mapServer = commandLine.mapServer->toString(QUrl::StripTrailingSlash);
    TMainForm mainForm(setup);
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
