#include "app/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {
struct ViewName
{
    const char *name;
    ViewKind view;
};
constexpr ViewName ViewNames[] = {{"temperature", View::Temperature},
                                  {"rain", View::RainSnow},
                                  {"wind", View::Wind},
                                  {"change", View::ClimateChange},
                                  {"daynight", View::DayNight}};

// Options QGuiApplication, QApplication and the xcb platform take out of argv themselves;
// each may also be written with two dashes.
const QStringList QtOptionsWithValue{"-platform",
                                     "-platformpluginpath",
                                     "-platformtheme",
                                     "-plugin",
                                     "-qwindowgeometry",
                                     "-qwindowicon",
                                     "-qwindowtitle",
                                     "-session",
                                     "-display",
                                     "-geometry",
                                     "-title",
                                     "-icon",
                                     "-name",
                                     "-style",
                                     "-stylesheet"};
const QStringList QtFlags{"-reverse", "-widgetcount", "-sync", "-nograb", "-dograb"};
const QStringList QtOptionsWithEquals{
    "-style=", "-stylesheet=", "-qmljsdebugger=", "-dialogs=", "-fontengine="};

QStringList without_qt_options(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0) {
            kept << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            kept << arguments.mid(i);
            break;
        }
        const QString single =
            argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
        if (QtOptionsWithValue.contains(single)) {
            ++i;
            continue;
        }
        const bool withEquals =
            std::any_of(QtOptionsWithEquals.begin(), QtOptionsWithEquals.end(),
                        [&single](const QString &prefix) { return single.startsWith(prefix); });
        if (QtFlags.contains(single) || withEquals)
            continue;
        kept << argument;
    }
    return kept;
}

QString view_names_text()
{
    QStringList names;
    for (const ViewName &entry : ViewNames)
        names << QLatin1String(entry.name);
    return names.join(QLatin1String(", "));
}

CommandLine refuse(const QString &problem, const QString &usage)
{
    CommandLine result;
    result.exitNow = true;
    result.exitStatus = 2;
    result.message = QStringLiteral("skyloom: ") + problem + QLatin1Char('\n');
    if (!usage.isEmpty())
        result.message += QLatin1Char('\n') + usage;
    return result;
}

CommandLine finish(const QString &message)
{
    CommandLine result;
    result.exitNow = true;
    result.message = message;
    return result;
}
} // namespace

CommandLine parse_command_line(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the Earth as a 3D globe draped with the day's weather maps."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    const QCommandLineOption view(
        QStringLiteral("view"),
        QStringLiteral("Starts with the view NAME: %1.").arg(view_names_text()),
        QStringLiteral("NAME"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keeps settings and maps in DIR."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption mapServer(QStringLiteral("map-server"),
                                       QStringLiteral("Fetches the maps from URL (https only)."),
                                       QStringLiteral("URL"));
    parser.addOptions({help, version, view, dataDir, mapServer});

    // The help text names the program by its argv[0] only when a QCoreApplication exists,
    // and none does yet: name it here.
    const QString program = arguments.isEmpty() || arguments.first().isEmpty()
                                ? QStringLiteral("skyloom")
                                : QFileInfo(arguments.first()).fileName();
    QString usage = parser.helpText();
    usage = QStringLiteral("Usage: %1 [options]").arg(program) +
            usage.mid(usage.indexOf(QLatin1Char('\n')));

    if (!parser.parse(without_qt_options(arguments)))
        return refuse(parser.errorText(), usage);
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()),
            usage);
    if (parser.isSet(help))
        return finish(usage);
    if (parser.isSet(version))
        return finish(QStringLiteral("Skyloom " SKYLOOM_VERSION "\n"));

    CommandLine result;
    if (parser.isSet(view)) {
        const QString name = parser.value(view);
        for (const ViewName &entry : ViewNames)
            if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
                result.startView = entry.view;
        if (!result.startView)
            return refuse(
                QStringLiteral("unknown view '%1': choose one of %2.").arg(name, view_names_text()),
                usage);
    }
    if (parser.isSet(dataDir)) {
        if (parser.value(dataDir).isEmpty())
            return refuse(QStringLiteral("--data-dir needs a folder."), usage);
        result.dataDir = parser.value(dataDir);
    }
    if (parser.isSet(mapServer)) {
        const QString text = parser.value(mapServer);
        const QUrl url(text, QUrl::StrictMode);
        // Maps come over TLS only; anything else is refused rather than quietly used.
        if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty())
            return refuse(
                QStringLiteral("--map-server needs an https:// URL with a host name, not '%1'.")
                    .arg(text),
                QString());
        result.mapServer = url;
    }
    return result;
}

QStringList command_line_arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int report_command_line_exit(const CommandLine &commandLine)
{
    std::FILE *stream = commandLine.exitStatus == 0 ? stdout : stderr;
    std::fputs(commandLine.message.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return commandLine.exitStatus;
}
