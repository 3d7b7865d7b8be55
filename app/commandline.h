#pragma once

#include "core/globetypes.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// What the command line asks for. QtCore only: it is read before any window exists, so
// --help and --version work without a display.
struct CommandLine
{
    // --help, --version or a refused command line: print message and exit with exitStatus.
    bool exitNow = false;
    int exitStatus = 0;
    // Goes to standard output when exitStatus is 0, to standard error otherwise.
    QString message;

    std::optional<ViewKind> startView;
    std::optional<QString> dataDir;
    std::optional<QUrl> mapServer; // always https
};

// arguments as in argv, the program first. Qt's own options (-platform, -style, ...) are
// passed over and left for QApplication. Writes nothing.
CommandLine parse_command_line(const QStringList &arguments);

// argv as the parser takes it, before QApplication has taken its own options out.
QStringList command_line_arguments(int argc, char *argv[]);

// Prints message on the stream its status calls for; returns the status.
int report_command_line_exit(const CommandLine &commandLine);
