#include "settings/inifile.h"

#include "platform/paths.h"
#include "settings/inidocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>

#include <limits>

namespace settings {

namespace {

QMutex &fileLock()
{
    static QMutex lock;
    return lock;
}

QMutex defaultPathLock;
QString defaultPathOverride;

// Caller holds fileLock().
IniDocument load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return IniDocument::parse(QString::fromUtf8(file.readAll()));
}

bool store(const QString &path, const IniDocument &doc)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = doc.toText().toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString &fileName)
    : std::runtime_error(("Unable to write to " + fileName).toStdString())
{
}

void TIniFile::setDefaultPath(const QString &path)
{
    QMutexLocker lock(&defaultPathLock);
    defaultPathOverride = path;
}

TIniFile::TIniFile(const QString &fileName) : name_(fileName)
{
    QMutexLocker lock(&defaultPathLock);
    if (fileName == SettingsFileName && !defaultPathOverride.isEmpty())
        path_ = defaultPathOverride;
    else if (QFileInfo(fileName).fileName() == fileName)
        path_ = QDir(platform::windowsDirectory()).filePath(fileName);
    else
        path_ = fileName;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QMutexLocker lock(&fileLock());
    const auto value = load(path_).value(section, key);
    return value ? value->left(MaxTextLength) : def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int value = 0;
    return parseIniInteger(ReadString(section, key, QString()), &value) ? value : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QMutexLocker lock(&fileLock());
    IniDocument doc = load(path_);
    doc.setValue(section, key, value);
    if (!store(path_, doc))
        throw SettingsWriteError(name_);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool parseIniInteger(const QString &text, int *value)
{
    bool ok = false;
    qlonglong n = 0;
    QString digits = text;
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative || digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const QString hex = digits.mid(2);
        if (hex.isEmpty() || hex.size() > 8)
            return false;
        n = qlonglong(hex.toULongLong(&ok, 16));
        // Hex text spells the 32 bits, so 0xFFFFFFFF is -1.
        if (ok)
            n = qint32(quint32(n));
    } else {
        if (digits.isEmpty() || !digits.front().isDigit())
            return false;
        n = digits.toLongLong(&ok, 10);
    }
    if (!ok)
        return false;
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return false;
    *value = int(n);
    return true;
}

} // namespace settings
