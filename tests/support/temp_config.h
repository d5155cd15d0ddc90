#pragma once
#include <QString>
#include <QTemporaryDir>

// A private configuration folder per test, so that no test sees another's
// settings file.
class TempConfig {
public:
    TempConfig();
    ~TempConfig();
    QString dir() const { return dir_.path(); }
    QString settingsPath() const;
    void writeSettings(const QByteArray &text) const;
    QByteArray readSettings() const;

private:
    QTemporaryDir dir_;
};

// A file of the generated test media (tests/media/make_media.sh).
inline QString testMedia(const QString &name)
{
    return QStringLiteral(SONVERA_TEST_MEDIA) + QLatin1Char('/') + name;
}
