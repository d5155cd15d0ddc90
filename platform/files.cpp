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
    const auto perms = QFile::permissions(path);
    return QFile::setPermissions(path, perms | QFileDevice::WriteOwner | QFileDevice::WriteUser);
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
