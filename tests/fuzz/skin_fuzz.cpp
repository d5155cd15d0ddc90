// Skin files of any shape: reading and cutting out forms never fails, and a
// cut-out form is itself a skin the reader accepts.
#include "components/skin/skinfile.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

namespace {

// Form names to try: the ids of the first few groups the input spells.
QStringList formNames(const QByteArray &svg)
{
    static const QRegularExpression id(QStringLiteral("<g\\b[^>]*\\bid\\s*=\\s*[\"']([^\"']{1,40})[\"']"));
    QStringList names;
    auto it = id.globalMatch(QString::fromUtf8(svg));
    while (it.hasNext() && names.size() < 4)
        names << it.next().captured(1);
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray svg(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto skin = components::SkinFile::fromBytes(svg);
    if (!skin)
        return 0;
    for (const QString &name : formNames(svg)) {
        const auto form = skin->form(name);
        if (form && !components::SkinFile::fromBytes(form->svg))
            std::abort();
    }
    return 0;
}
