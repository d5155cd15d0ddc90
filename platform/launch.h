#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// Show codes of the command lines the program starts.
constexpr int ShowMaximized = 3;
constexpr int ShowNormal = 5;

// Starts a command line; the result is ignored, as callers expect. Never runs
// a shell: "explorer X" opens X (a folder or an address) with the desktop,
// "hh FILE" opens the help document, anything else starts that program.
void launch(const QString &commandLine, int showCode);

// What launch() would start: a program and its arguments.
struct LaunchCommand {
    QString program;
    QStringList arguments;
};
LaunchCommand interpretCommandLine(const QString &commandLine);

// Tests put a recorder here; an empty function restores the real launcher.
using Launcher = std::function<void(const QString &commandLine, int showCode)>;
void setLauncher(Launcher launcher);

} // namespace platform
