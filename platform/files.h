#pragma once
#include <QString>

namespace platform {

bool fileExists(const QString &path);
bool directoryExists(const QString &path);
bool isReadOnly(const QString &path);
// Gives the owner write permission back and leaves every other permission bit.
bool clearReadOnly(const QString &path);
// Creates the last level of path only; missing parents are not created.
bool createDirectory(const QString &path);
// The path's file name without its directory.
QString fileNameOf(const QString &path);

} // namespace platform
