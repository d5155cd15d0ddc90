#include "components/skin/skinfile.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace components {
namespace {

QStringView localName(QStringView qualifiedName)
{
    const qsizetype colon = qualifiedName.lastIndexOf(u':');
    return colon < 0 ? qualifiedName : qualifiedName.mid(colon + 1);
}

// Every url(...) in text must point inside the document.
bool urlsAreLocal(QStringView text)
{
    qsizetype at = 0;
    while ((at = text.indexOf(u"url(", at, Qt::CaseInsensitive)) >= 0) {
        at += 4;
        while (at < text.size() && (text[at].isSpace() || text[at] == u'"' || text[at] == u'\''))
            ++at;
        if (at >= text.size() || text[at] != u'#')
            return false;
    }
    return true;
}

bool hrefIsLocal(QStringView element, QStringView href)
{
    href = href.trimmed();
    return href.startsWith(u'#')
           || (element == u"image" && href.startsWith(u"data:", Qt::CaseInsensitive));
}

bool attributesAreLocal(QStringView element, const QXmlStreamAttributes &attributes)
{
    for (const QXmlStreamAttribute &a : attributes) {
        if (localName(a.qualifiedName()) == u"href" && !hrefIsLocal(element, a.value()))
            return false;
        if (!urlsAreLocal(a.value()))
            return false;
    }
    return true;
}

bool stylesheetIsLocal(QStringView css)
{
    return !css.contains(u"@import", Qt::CaseInsensitive) && urlsAreLocal(css);
}

bool hides(QStringView property, QStringView value)
{
    return (property == u"display" && value == u"none")
           || (property == u"visibility" && (value == u"hidden" || value == u"collapse"));
}

bool isVisibilityProperty(QStringView property)
{
    return property == u"display" || property == u"visibility";
}

// A part's attributes without its own display and visibility; reports whether
// they hid it.
QXmlStreamAttributes unhidden(const QXmlStreamAttributes &attributes, bool *hidden)
{
    QXmlStreamAttributes kept;
    for (const QXmlStreamAttribute &a : attributes) {
        const QString name = a.qualifiedName().toString();
        const QString value = a.value().trimmed().toString().toLower();
        if (isVisibilityProperty(name)) {
            *hidden = *hidden || hides(name, value);
            continue;
        }
        if (name != QLatin1String("style")) {
            kept.append(a);
            continue;
        }
        QStringList declarations;
        for (const QString &d : a.value().toString().split(u';', Qt::SkipEmptyParts)) {
            const QString property = d.section(u':', 0, 0).trimmed().toLower();
            if (!isVisibilityProperty(property)) {
                declarations << d;
                continue;
            }
            *hidden = *hidden || hides(property, d.section(u':', 1).trimmed().toLower());
        }
        kept.append(name, declarations.join(u';'));
    }
    return kept;
}

// Copies a document token by token, refusing anything that is not a
// self-contained SVG, and makes the children of the chosen form addressable.
class Transcriber {
public:
    Transcriber(const QString &formName, const QString &idPrefix)
        : m_formName(formName), m_idPrefix(idPrefix), m_writer(&m_out)
    {
    }

    bool run(const QByteArray &svg)
    {
        QXmlStreamReader reader(svg);
        // Prefixes are compared as written, so "a:href" is caught whatever "a" is bound to.
        reader.setNamespaceProcessing(false);
        while (!reader.atEnd()) {
            if (!copy(reader))
                return false;
        }
        return !reader.hasError() && m_sawRoot;
    }

    QByteArray svg() const { return m_out; }
    const std::vector<FormPart> &parts() const { return m_parts; }
    const QSet<QString> &ids() const { return m_ids; }
    bool sawForm() const { return m_formDepth != kNoForm; }

private:
    static constexpr int kNoForm = -1;

    bool copy(QXmlStreamReader &reader)
    {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            m_writer.writeStartDocument();
            return true;
        case QXmlStreamReader::EndDocument:
            m_writer.writeEndDocument();
            return true;
        case QXmlStreamReader::StartElement:
            return startElement(reader);
        case QXmlStreamReader::EndElement:
            endElement();
            return true;
        case QXmlStreamReader::Characters:
            return characters(reader);
        case QXmlStreamReader::Comment:
            return true;
        default: // DTD, entity references, processing instructions, errors
            return false;
        }
    }

    bool startElement(const QXmlStreamReader &reader)
    {
        const QStringView element = localName(reader.qualifiedName());
        if (m_depth == 0) {
            if (element != u"svg")
                return false;
            m_sawRoot = true;
        }
        const QXmlStreamAttributes &attributes = reader.attributes();
        if (m_depth == SkinFile::kMaxDepth || !attributesAreLocal(element, attributes))
            return false;
        ++m_depth;
        m_elements.push_back(element.toString());
        const QString id = attributes.value(QLatin1String("id")).toString();
        if (!id.isEmpty())
            m_ids.insert(id);
        m_writer.writeStartElement(reader.qualifiedName().toString());
        if (m_formDepth != kNoForm && !m_formDone && m_depth == m_formDepth + 1)
            writePart(id, attributes);
        else
            m_writer.writeAttributes(attributes);
        if (m_formDepth == kNoForm && element == u"g" && !m_formName.isEmpty() && id == m_formName)
            m_formDepth = m_depth;
        return true;
    }

    void writePart(const QString &id, const QXmlStreamAttributes &attributes)
    {
        bool hidden = false;
        QXmlStreamAttributes kept = unhidden(attributes, &hidden);
        FormPart part{id, id, !hidden};
        if (id.isEmpty()) {
            part.renderId = m_idPrefix + QString::number(m_parts.size());
            kept.append(QStringLiteral("id"), part.renderId);
        }
        m_writer.writeAttributes(kept);
        m_parts.push_back(part);
    }

    void endElement()
    {
        if (m_depth == m_formDepth)
            m_formDone = true;
        --m_depth;
        m_elements.pop_back();
        m_writer.writeEndElement();
    }

    bool characters(const QXmlStreamReader &reader)
    {
        if (!m_elements.empty() && m_elements.back() == QLatin1String("style")
            && !stylesheetIsLocal(reader.text()))
            return false;
        if (reader.isCDATA())
            m_writer.writeCDATA(reader.text().toString());
        else
            m_writer.writeCharacters(reader.text().toString());
        return true;
    }

    const QString m_formName;
    const QString m_idPrefix;
    QByteArray m_out;
    QXmlStreamWriter m_writer;
    std::vector<QString> m_elements;
    std::vector<FormPart> m_parts;
    QSet<QString> m_ids;
    int m_depth = 0;
    int m_formDepth = kNoForm;
    bool m_formDone = false;
    bool m_sawRoot = false;
};

// A prefix for made-up ids that no id of the document starts with.
QString freshIdPrefix(const QSet<QString> &ids)
{
    QString prefix = QStringLiteral("_part");
    for (const QString &id : ids) {
        while (id.startsWith(prefix))
            prefix += u'_';
    }
    return prefix;
}

} // namespace

std::optional<SkinFile> SkinFile::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBytes)
        return std::nullopt;
    // Devices report no size; the read cap catches them.
    const QByteArray svg = file.read(kMaxBytes + 1);
    if (svg.size() > kMaxBytes)
        return std::nullopt;
    return fromBytes(svg);
}

std::optional<SkinFile> SkinFile::fromBytes(const QByteArray &svg)
{
    Transcriber check({}, {});
    if (!check.run(svg))
        return std::nullopt;
    SkinFile skin;
    skin.m_svg = svg;
    skin.m_ids = check.ids();
    return skin;
}

std::optional<FormDocument> SkinFile::form(const QString &formName) const
{
    if (formName.isEmpty())
        return std::nullopt;
    Transcriber transcriber(formName, freshIdPrefix(m_ids));
    if (!transcriber.run(m_svg) || !transcriber.sawForm())
        return std::nullopt;
    return FormDocument{transcriber.svg(), transcriber.parts()};
}

} // namespace components
