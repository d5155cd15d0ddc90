#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

namespace platform {

namespace {
QMutex overrideLock;
QString overrideDir;
} // namespace

QString windowsDirectory()
{
    {
        QMutexLocker lock(&overrideLock);
        if (!overrideDir.isEmpty())
            return overrideDir;
    }
#ifdef _WIN32
    return QString::fromLocal8Bit(qgetenv("WINDIR"));
#else
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(xdg)))
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
#endif
}

void setWindowsDirectory(const QString &dir)
{
    QMutexLocker lock(&overrideLock);
    overrideDir = dir;
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString programPath()
{
    return QCoreApplication::applicationFilePath();
}

QString defaultOutputDirectory()
{
#ifdef _WIN32
    return QStringLiteral("c:\\mp3");
#else
    return QDir::homePath() + QStringLiteral("/mp3");
#endif
}

QString separator()
{
    return QString(QDir::separator());
}

} // namespace platform
