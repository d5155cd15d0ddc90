#include "platform/launch.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

namespace {

QMutex launcherLock;
Launcher currentLauncher;

// The help document: the compiled manual where it exists (Windows), else the
// HTML manual beside it.
QString helpDocument(const QString &name)
{
    QString path = QDir::fromNativeSeparators(name);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(path) && !QFileInfo::exists(path))
        path = programFolder() + QLatin1Char('/') + path;
    if (QFileInfo::exists(path))
        return path;
    const QString html = QFileInfo(path).dir().filePath(QStringLiteral("index.html"));
    return QFileInfo::exists(html) ? html : path;
}

// Splits "program args..." the way Windows does for a plain command line:
// a leading quoted program name may hold spaces; the rest is one argument
// string split on blanks outside quotes.
QStringList splitCommandLine(const QString &line)
{
    QStringList parts;
    QString current;
    bool quoted = false, any = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any || !current.isEmpty())
                parts << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        parts << current;
    return parts;
}

// An address stays as it is; a path is made absolute, so that a name with a
// leading dash can never be taken for an option of the opener.
QString openTarget(const QString &target)
{
    if (target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:")))
        return target;
    return QFileInfo(target).absoluteFilePath();
}

QString desktopOpener()
{
#ifdef __APPLE__
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}

void realLaunch(const QString &commandLine, int showCode)
{
#ifdef _WIN32
    std::wstring line = commandLine.toStdWString();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = WORD(showCode);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
#else
    Q_UNUSED(showCode);
    const LaunchCommand cmd = interpretCommandLine(commandLine);
    if (!cmd.program.isEmpty())
        QProcess::startDetached(cmd.program, cmd.arguments);
#endif
}

} // namespace

LaunchCommand interpretCommandLine(const QString &commandLine)
{
    static const QString explorer = QStringLiteral("explorer ");
    static const QString hh = QStringLiteral("hh ");
    // The rest of the line after these two is one path as it stands: it may
    // hold blanks, quotes or a leading dash.
    if (commandLine.startsWith(explorer, Qt::CaseInsensitive))
        return {desktopOpener(), {openTarget(commandLine.mid(explorer.size()))}};
    if (commandLine.startsWith(hh, Qt::CaseInsensitive))
        return {desktopOpener(), {openTarget(helpDocument(commandLine.mid(hh.size())))}};
    if (QFileInfo(commandLine).isExecutable() && QFileInfo(commandLine).isFile())
        return {commandLine, {}};
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty())
        return {};
    const QString program = parts.takeFirst();
    return {program, parts};
}

void launch(const QString &commandLine, int showCode)
{
    Launcher launcher;
    {
        QMutexLocker lock(&launcherLock);
        launcher = currentLauncher;
    }
    if (launcher)
        launcher(commandLine, showCode);
    else
        realLaunch(commandLine, showCode);
}

void setLauncher(Launcher launcher)
{
    QMutexLocker lock(&launcherLock);
    currentLauncher = std::move(launcher);
}

} // namespace platform
