#pragma once
#include <QString>

namespace platform {

// Where a bare-named settings file lives: $XDG_CONFIG_HOME, else ~/.config
// (the Windows directory on Windows). Overridable for tests and tools.
QString windowsDirectory();
void setWindowsDirectory(const QString &dir);

// The folder holding the running executable (skins/ and help/ lie beside it).
QString programFolder();
QString programPath();

// "c:\mp3" on Windows, ~/mp3 elsewhere.
QString defaultOutputDirectory();

// The native separator, for joining a directory and a name as they stand.
QString separator();

} // namespace platform
