#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool directoryExists(const QString &path)
{
    return QFileInfo(path).isDir();
}

bool isReadOnly(const QString &path)
{
    return fileExists(path) && !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

bool clearReadOnly(const QString &path)
{
    // The User flags tell what the caller may do (root may execute whatever
    // anyone may), not the file's mode: writing them back would add bits.
    const auto mode = QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    return QFile::setPermissions(path, mode | QFileDevice::WriteOwner);
}

bool createDirectory(const QString &path)
{
    return QDir().mkdir(path);
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace platform
