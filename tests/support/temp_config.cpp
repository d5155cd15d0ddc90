#include "support/temp_config.h"

#include "platform/paths.h"
#include "settings/inifile.h"

#include <QFile>

TempConfig::TempConfig()
{
    platform::setWindowsDirectory(dir_.path());
}

TempConfig::~TempConfig()
{
    platform::setWindowsDirectory(QString());
}

QString TempConfig::settingsPath() const
{
    return dir_.filePath(settings::SettingsFileName);
}

void TempConfig::writeSettings(const QByteArray &text) const
{
    QFile f(settingsPath());
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
}

QByteArray TempConfig::readSettings() const
{
    QFile f(settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
