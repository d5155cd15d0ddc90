#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace settings {

// The lines of an INI file, kept as they are so that lines the program does
// not know (other sections, comments, blank lines) survive every write.
// Section and key names match without regard to case; the first match wins.
class IniDocument {
public:
    static IniDocument parse(const QString &text);
    QString toText() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    // Replaces an existing entry's value in place, keeping its spelling;
    // a new key goes to the end of its section, a new section to the end.
    // Line breaks in the value are stored as spaces.
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    struct Entry {
        int line;
        QString value;
    };
    int sectionLine(const QString &section) const;
    int sectionEnd(int headerLine) const;
    std::optional<Entry> find(const QString &section, const QString &key) const;

    QStringList lines_;
};

} // namespace settings
