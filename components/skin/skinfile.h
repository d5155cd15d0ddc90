#pragma once
#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace components {

// One child element of a form, in stacking order. Named parts are skin
// objects; unnamed ones are decoration that is drawn but never clicked.
struct FormPart {
    QString renderId; // the id the renderer knows the part by
    QString name;     // the object's name, empty for decoration
    bool visible = true;
};

// A form ready to render: the document with every part addressable by id and
// none of them hidden by the document itself (the engine hides them).
struct FormDocument {
    QByteArray svg;
    std::vector<FormPart> parts;
};

// The contents of a skin file, accepted only as a well-formed, self-contained
// SVG document: no DTD, no processing instructions, no reference to anything
// outside the file (href other than "#…" or an embedded data: image, url()
// other than "url(#…)", @import).
class SkinFile {
public:
    // Larger files are refused unread.
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    // Deeper element nesting is refused: drawing recurses once per level.
    static constexpr int kMaxDepth = 256;

    static std::optional<SkinFile> load(const QString &fileName);
    static std::optional<SkinFile> fromBytes(const QByteArray &svg);

    // The <g> element whose id is formName, or none.
    std::optional<FormDocument> form(const QString &formName) const;

private:
    QByteArray m_svg;
    QSet<QString> m_ids;
};

} // namespace components
