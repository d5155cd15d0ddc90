#include "components/audio/taudioinformation.h"

#include "components/audio/factory.h"
#include "platform/files.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <exception>
#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <utility>

namespace components {

namespace {

// A cover larger than this is not carried: no player shows it, and a hostile
// file must not make us copy hundreds of megabytes.
constexpr int kMaxCoverBytes = 16 * 1024 * 1024;
constexpr int kFrontCover = 3;
constexpr qint64 kCopyChunkBytes = 1 << 20;
constexpr int kLastPictureType = 20;

QString fromTagLib(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true)).trimmed();
}

TagLib::String toTagLib(const QString &text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

TagLib::ByteVector toBytes(const QByteArray &data)
{
    return TagLib::ByteVector(data.constData(), static_cast<unsigned int>(data.size()));
}

bool isAscii(const TagLib::String &text)
{
    for (const wchar_t c : text) {
        if (c > 0x7f)
            return false;
    }
    return true;
}

// The file name in the form the C++ library and TagLib open; non-ASCII names
// must survive.
std::filesystem::path nativePath(const QString &fileName)
{
#ifdef _WIN32
    return std::filesystem::path(fileName.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
#endif
}

// RIFF INFO has no declared encoding: we write UTF-8 (what FFmpeg writes and
// reads) and read UTF-8 where the bytes are valid UTF-8, else Latin-1.
class InfoText : public TagLib::RIFF::Info::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        QByteArray bytes(data.data(), static_cast<int>(data.size()));
        const int end = bytes.indexOf('\0');
        if (end >= 0)
            bytes.truncate(end);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (utf8.hasError())
            return TagLib::String(toBytes(bytes), TagLib::String::Latin1);
        return toTagLib(text);
    }
};

void useInfoText()
{
    static InfoText handler;
    static std::once_flag once;
    std::call_once(once, [] { TagLib::RIFF::Info::Tag::setStringHandler(&handler); });
}

QString sniffMimeType(const QByteArray &data)
{
    if (data.startsWith("\x89PNG"))
        return QStringLiteral("image/png");
    if (data.startsWith("GIF8"))
        return QStringLiteral("image/gif");
    return QStringLiteral("image/jpeg");
}

CoverPicture makeCover(const TagLib::ByteVector &data, const TagLib::String &mimeType,
                       const TagLib::String &description, int type)
{
    CoverPicture cover;
    if (data.isEmpty() || data.size() > static_cast<unsigned int>(kMaxCoverBytes))
        return cover;
    cover.data = QByteArray(data.data(), static_cast<int>(data.size()));
    cover.mimeType = fromTagLib(mimeType);
    if (!cover.mimeType.startsWith(QLatin1String("image/")))
        cover.mimeType = sniffMimeType(cover.data);
    cover.description = fromTagLib(description);
    cover.type = (type >= 0 && type <= kLastPictureType) ? type : kFrontCover;
    return cover;
}

// The front cover when there is one, else the first usable picture.
void offerCover(CoverPicture &best, CoverPicture candidate)
{
    if (candidate.data.isEmpty())
        return;
    if (best.data.isEmpty() || (candidate.type == kFrontCover && best.type != kFrontCover))
        best = std::move(candidate);
}

CoverPicture id3Cover(TagLib::ID3v2::Tag *tag)
{
    CoverPicture best;
    if (!tag)
        return best;
    for (TagLib::ID3v2::Frame *frame : tag->frameList("APIC")) {
        if (auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(frame))
            offerCover(best, makeCover(picture->picture(), picture->mimeType(),
                                       picture->description(), picture->type()));
    }
    return best;
}

CoverPicture asfCover(TagLib::ASF::Tag &tag)
{
    CoverPicture best;
    for (const TagLib::ASF::Attribute &attribute : tag.attribute("WM/Picture")) {
        const TagLib::ASF::Picture picture = attribute.toPicture();
        if (picture.isValid())
            offerCover(best, makeCover(picture.picture(), picture.mimeType(),
                                       picture.description(), picture.type()));
    }
    return best;
}

CoverPicture flacCover(const TagLib::List<TagLib::FLAC::Picture *> &pictures)
{
    CoverPicture best;
    for (const TagLib::FLAC::Picture *picture : pictures)
        offerCover(best, makeCover(picture->data(), picture->mimeType(),
                                   picture->description(), picture->type()));
    return best;
}

CoverPicture coverOf(TagLib::File *file, TagLib::Tag *tag)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file))
        return id3Cover(mpeg->hasID3v2Tag() ? mpeg->ID3v2Tag() : nullptr);
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file))
        return id3Cover(wav->hasID3v2Tag() ? wav->ID3v2Tag() : nullptr);
    if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(file))
        return flacCover(flac->pictureList());
    if (auto *asf = dynamic_cast<TagLib::ASF::Tag *>(tag))
        return asfCover(*asf);
    if (auto *xiph = dynamic_cast<TagLib::Ogg::XiphComment *>(tag))
        return flacCover(xiph->pictureList());
    return {};
}

// The file's fields under TagLib's common names. Some writers (FFmpeg among
// them) put WMA fields under plain attribute names such as "date", which
// TagLib leaves out; those are added under their own names.
TagLib::PropertyMap fieldsOf(TagLib::File &file, TagLib::Tag *tag)
{
    TagLib::PropertyMap fields = file.properties();
    if (auto *asf = dynamic_cast<TagLib::ASF::Tag *>(tag)) {
        for (const auto &attribute : asf->attributeListMap()) {
            const TagLib::String key = attribute.first.upper();
            if (!fields.contains(key) && !attribute.second.isEmpty())
                fields.insert(key, attribute.second.front().toString());
        }
    }
    return fields;
}

// The first of the tag's own value and the named fields that is set.
QString pickText(const TagLib::String &own, const TagLib::PropertyMap &fields,
                 std::initializer_list<const char *> keys)
{
    QString text = fromTagLib(own);
    for (auto key = keys.begin(); text.isEmpty() && key != keys.end(); ++key) {
        if (fields.contains(*key))
            text = fromTagLib(fields[*key].toString(" / "));
    }
    return text;
}

// A number that leads a field, as in "2024-05-01" or "3/12".
unsigned pickNumber(unsigned own, const TagLib::PropertyMap &fields, const char *key)
{
    if (own != 0 || !fields.contains(key))
        return own;
    const QString text = fromTagLib(fields[key].front());
    int digits = 0;
    while (digits < text.size() && digits < 9 && text[digits].isDigit())
        ++digits;
    return text.left(digits).toUInt();
}

CarriedTags readTags(const QString &fileName)
{
    CarriedTags tags;
    const std::filesystem::path path = nativePath(fileName);
    TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull() || !ref.file()->isValid() || !ref.tag())
        return tags;
    TagLib::Tag *tag = ref.tag();
    const TagLib::PropertyMap fields = fieldsOf(*ref.file(), tag);
    tags.title = pickText(tag->title(), fields, {"TITLE"});
    tags.artist = pickText(tag->artist(), fields, {"ARTIST", "AUTHOR"});
    tags.album = pickText(tag->album(), fields, {"ALBUM"});
    tags.genre = pickText(tag->genre(), fields, {"GENRE"});
    tags.comment = pickText(tag->comment(), fields, {"COMMENT", "DESCRIPTION"});
    tags.year = pickNumber(tag->year(), fields, "DATE");
    tags.track = pickNumber(tag->track(), fields, "TRACKNUMBER");
    tags.cover = coverOf(ref.file(), tag);
    return tags;
}

void fillCommon(TagLib::Tag &tag, const CarriedTags &tags)
{
    tag.setTitle(toTagLib(tags.title));
    tag.setArtist(toTagLib(tags.artist));
    tag.setAlbum(toTagLib(tags.album));
    tag.setGenre(toTagLib(tags.genre));
    tag.setComment(toTagLib(tags.comment));
    tag.setYear(tags.year);
    tag.setTrack(tags.track);
}

TagLib::String::Type encodingFor(const TagLib::StringList &texts)
{
    for (const TagLib::String &text : texts) {
        if (!isAscii(text))
            return TagLib::String::UTF16;
    }
    return TagLib::String::Latin1;
}

// ID3v2.3 knows Latin-1 and UTF-16 only, and many car and phone players read
// Latin-1 in their own code page: anything beyond ASCII goes out as UTF-16.
void chooseEncodings(TagLib::ID3v2::Tag &tag)
{
    for (TagLib::ID3v2::Frame *frame : tag.frameList()) {
        if (auto *text = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame *>(frame)) {
            text->setTextEncoding(encodingFor(text->fieldList()));
        } else if (auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame)) {
            TagLib::StringList texts(comment->description());
            comment->setTextEncoding(encodingFor(texts.append(comment->text())));
            if (comment->language().size() != 3)
                comment->setLanguage("eng");
        }
    }
}

void putCover(TagLib::ID3v2::Tag &tag, const CoverPicture &cover)
{
    tag.removeFrames("APIC");
    if (cover.data.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
    const TagLib::String description = toTagLib(cover.description);
    frame->setTextEncoding(encodingFor(TagLib::StringList(description)));
    frame->setDescription(description);
    frame->setMimeType(toTagLib(cover.mimeType));
    frame->setType(static_cast<TagLib::ID3v2::AttachedPictureFrame::Type>(cover.type));
    frame->setPicture(toBytes(cover.data));
    tag.addFrame(frame);
}

// The output's tags become exactly the carried ones: whatever the output had
// (an encoder's signature, say) would describe a different file.
void clearId3(TagLib::ID3v2::Tag &tag)
{
    // No copy of the tag's own list: it owns its frames, and a copy would too.
    while (!tag.frameList().isEmpty())
        tag.removeFrame(tag.frameList().front());
}

void clearInfo(TagLib::RIFF::Info::Tag &tag)
{
    const TagLib::RIFF::Info::FieldListMap fields = tag.fieldListMap();
    for (const auto &field : fields)
        tag.removeField(field.first);
}

void fillId3(TagLib::ID3v2::Tag &tag, const CarriedTags &tags)
{
    clearId3(tag);
    fillCommon(tag, tags);
    chooseEncodings(tag);
    putCover(tag, tags.cover);
}

bool saveMp3(const std::filesystem::path &path, const CarriedTags &tags)
{
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid())
        return false;
    fillId3(*file.ID3v2Tag(true), tags);
    // Only the ID3v2 tag: an ID3v1 tag beside it could only disagree.
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v3);
}

bool saveWav(const std::filesystem::path &path, const CarriedTags &tags)
{
    TagLib::RIFF::WAV::File file(path.c_str(), false);
    if (!file.isValid())
        return false;
    fillId3(*file.ID3v2Tag(), tags);
    clearInfo(*file.InfoTag());
    fillCommon(*file.InfoTag(), tags);
    return file.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripOthers, TagLib::ID3v2::v3);
}

enum class Kind { Other, Mp3, Wav };

Kind kindOf(const std::filesystem::path &path)
{
    TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull() || !ref.file()->isValid())
        return Kind::Other;
    if (dynamic_cast<TagLib::MPEG::File *>(ref.file()))
        return Kind::Mp3;
    if (dynamic_cast<TagLib::RIFF::WAV::File *>(ref.file()))
        return Kind::Wav;
    return Kind::Other;
}

bool copyInto(const QString &fileName, QFile &copy)
{
    QFile source(fileName);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    for (QByteArray chunk = source.read(kCopyChunkBytes); !chunk.isEmpty();
         chunk = source.read(kCopyChunkBytes)) {
        if (copy.write(chunk) != chunk.size())
            return false;
    }
    return source.error() == QFileDevice::NoError && copy.flush();
}

// The tags go into a copy beside the file that then replaces it: a crash or a
// full disk halfway leaves the untagged file, never a torn one.
void writeTags(const QString &fileName, const CarriedTags &tags)
{
    if (tags.isEmpty() || !platform::fileExists(fileName) || platform::isReadOnly(fileName))
        return;
    const Kind kind = kindOf(nativePath(fileName));
    if (kind == Kind::Other)
        return;
    QTemporaryFile copy(fileName + QStringLiteral(".XXXXXX"));
    if (!copy.open() || !copyInto(fileName, copy))
        return;
    copy.close();
    const std::filesystem::path copyPath = nativePath(copy.fileName());
    const bool saved = kind == Kind::Mp3 ? saveMp3(copyPath, tags) : saveWav(copyPath, tags);
    if (!saved || !copy.setPermissions(QFile::permissions(fileName)))
        return;
    std::error_code error;
    std::filesystem::rename(copyPath, nativePath(fileName), error);
    if (!error)
        copy.setAutoRemove(false);
}

} // namespace

bool CarriedTags::isEmpty() const
{
    return title.isEmpty() && artist.isEmpty() && album.isEmpty() && genre.isEmpty()
           && comment.isEmpty() && year == 0 && track == 0 && cover.data.isEmpty();
}

TAudioInformation::TAudioInformation()
{
    useInfoText();
}

void TAudioInformation::ReadTags(const QString &fileName)
{
    std::lock_guard<std::mutex> guard(lock_);
    tags_ = {};
    try {
        tags_ = readTags(fileName);
    } catch (const std::exception &) {
        // A file that exhausts memory while being parsed simply has no tags.
        tags_ = {};
    }
}

void TAudioInformation::WriteTags(const QString &fileName)
{
    std::lock_guard<std::mutex> guard(lock_);
    try {
        writeTags(fileName, tags_);
    } catch (const std::exception &) {
        // Tags are a courtesy: the converted audio stands without them.
    }
}

CarriedTags TAudioInformation::tags() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return tags_;
}

std::unique_ptr<IAudioInformation> createAudioInformation()
{
    return std::make_unique<TAudioInformation>();
}

} // namespace components
