#include "settings/inidocument.h"

namespace settings {

namespace {

std::optional<QString> headerName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

} // namespace

IniDocument IniDocument::parse(const QString &text)
{
    IniDocument doc;
    if (text.isEmpty())
        return doc;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    doc.lines_ = normalized.split(QLatin1Char('\n'));
    if (doc.lines_.last().isEmpty())
        doc.lines_.removeLast();
    return doc;
}

QString IniDocument::toText() const
{
    QString text;
    for (const QString &line : lines_)
        text += line + QLatin1Char('\n');
    return text;
}

int IniDocument::sectionLine(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i) {
        const auto name = headerName(lines_[i]);
        if (name && name->compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniDocument::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < lines_.size() && !headerName(lines_[i]))
        ++i;
    return i;
}

std::optional<IniDocument::Entry> IniDocument::find(const QString &section, const QString &key) const
{
    const int header = sectionLine(section);
    if (header < 0)
        return std::nullopt;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString &line = lines_[i];
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || isComment(line))
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return Entry{i, line.mid(eq + 1).trimmed()};
    }
    return std::nullopt;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const auto entry = find(section, key);
    if (!entry)
        return std::nullopt;
    return entry->value;
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &rawValue)
{
    // A value stays on its own line, so no text (a folder name, say) can add
    // lines or sections to the file.
    QString value = rawValue;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (const auto entry = find(section, key)) {
        QString &line = lines_[entry->line];
        line = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
        return;
    }
    const QString newLine = key + QLatin1Char('=') + value;
    const int header = sectionLine(section);
    if (header < 0) {
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << newLine;
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    int at = sectionEnd(header);
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, newLine);
}

} // namespace settings
