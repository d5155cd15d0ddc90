#pragma once
#include "settings/inifile.h"
#include "support/temp_config.h"

#include <QTimer>
#include <QWidget>
#include <functional>

// A settings value as stored, or "<missing>".
inline QString stored(const QString &section, const QString &key)
{
    return settings::TIniFile().ReadString(section, key, QStringLiteral("<missing>"));
}

// Runs step once the modal loop that the next call opens is running.
inline void whenModal(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

// Points the settings file at a path that cannot be written (its folder is a
// plain file), so the first write fails even for root.
class UnwritableSettings {
public:
    explicit UnwritableSettings(const TempConfig &config)
    {
        const QString blocker = config.dir() + QStringLiteral("/blocker");
        QFile file(blocker);
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
        settings::TIniFile::setDefaultPath(blocker + QStringLiteral("/ro3zeduro.ini"));
    }
    ~UnwritableSettings() { settings::TIniFile::setDefaultPath(QString()); }
};
