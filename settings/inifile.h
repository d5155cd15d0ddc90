#pragma once
#include <QString>
#include <stdexcept>

namespace settings {

// The one settings file, opened everywhere by this bare name.
inline const QString SettingsFileName = QStringLiteral("ro3zeduro.ini");

// Raised when a write cannot be stored; the message names the file as opened.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString &fileName);
};

// A settings file read and written key by key. Every call goes to the file
// itself (nothing is cached), so a value saved anywhere is seen by the next
// read anywhere. Each write replaces the file atomically, under a lock that
// every thread of the process shares.
class TIniFile {
public:
    // A bare name lives in the Windows directory stand-in; a path is used as is.
    explicit TIniFile(const QString &fileName = SettingsFileName);

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    QString fileName() const { return name_; }
    QString path() const { return path_; }

    // Longest text a read returns.
    static constexpr int MaxTextLength = 2047;

    // Where a bare-named settings file is opened; a tool may point it at a file of its own.
    static void setDefaultPath(const QString &path);

private:
    QString name_;
    QString path_;
};

// Integer text as the settings file stores it: decimal, or "0x" + hex digits.
bool parseIniInteger(const QString &text, int *value);

} // namespace settings
