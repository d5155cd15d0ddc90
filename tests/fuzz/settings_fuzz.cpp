// Settings text of any shape: parsing never fails, and a value written with
// setValue reads back (on one line, trimmed, as every value is read) while
// every other entry keeps its value.
#include "settings/inidocument.h"
#include "settings/inifile.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

using settings::IniDocument;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// A section or key as the program spells them: a plain word.
bool isPlainName(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (!c.isLetterOrNumber() && c != u'_')
            return false;
    }
    return true;
}

void checkInteger(const QString &text)
{
    int value = 0;
    if (!settings::parseIniInteger(text, &value))
        return;
    int again = 0;
    check(settings::parseIniInteger(QString::number(value), &again) && again == value);
}

void checkRoundTrip(const QString &text, const QString &section, const QString &key, const QString &value)
{
    IniDocument doc = IniDocument::parse(text);
    const QString probes[] = {QStringLiteral("Other"), QStringLiteral("Mp3")};
    std::optional<QString> before[2];
    for (int i = 0; i < 2; ++i)
        before[i] = doc.value(probes[i], QStringLiteral("Key"));
    doc.setValue(section, key, value);
    const auto read = doc.value(section, key);
    QString stored = value;
    stored.replace(u'\r', u' ').replace(u'\n', u' ');
    check(read && *read == stored.trimmed());
    const IniDocument reread = IniDocument::parse(doc.toText());
    check(reread.value(section, key) == read);
    for (int i = 0; i < 2; ++i) {
        const bool written = probes[i].compare(section, Qt::CaseInsensitive) == 0
                             && key.compare(QStringLiteral("Key"), Qt::CaseInsensitive) == 0;
        if (!written)
            check(reread.value(probes[i], QStringLiteral("Key")) == before[i]);
    }
}

} // namespace

// Input: settings text, then after the first NUL "section\nkey\nvalue".
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    checkInteger(text);
    if (nul < 0) {
        IniDocument::parse(text).value(QStringLiteral("Mp3"), QStringLiteral("Key"));
        return 0;
    }
    const QStringList parts = QString::fromUtf8(bytes.mid(nul + 1)).split(u'\n');
    if (parts.size() < 3 || !isPlainName(parts[0]) || !isPlainName(parts[1]))
        return 0;
    checkInteger(parts[2]);
    checkRoundTrip(text, parts[0], parts[1], parts.mid(2).join(u'\n'));
    return 0;
}
