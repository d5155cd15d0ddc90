#include "components/audio/factory.h"
#include "components/audio/taudioinformation.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <taglib/asffile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>

#include <gtest/gtest.h>

#include <tuple>

using components::CarriedTags;
using components::TAudioInformation;

namespace {

const QString kTitle = QStringLiteral("Sinüs Ωmega – Tëst");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray coverPng()
{
    return readAll(testMedia("cover.png"));
}

// What the media script put into every tagged fixture.
void expectFixtureFields(const CarriedTags &tags)
{
    EXPECT_EQ(tags.title, kTitle);
    EXPECT_EQ(tags.artist, "Sonvera");
    EXPECT_EQ(tags.album, "Test Tones");
    EXPECT_EQ(tags.genre, "Electronic");
    EXPECT_EQ(tags.comment, "made by make_media.sh");
    EXPECT_EQ(tags.year, 2024u);
    EXPECT_EQ(tags.track, 3u);
}

void expectSameTags(const CarriedTags &actual, const CarriedTags &expected)
{
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.artist, expected.artist);
    EXPECT_EQ(actual.album, expected.album);
    EXPECT_EQ(actual.genre, expected.genre);
    EXPECT_EQ(actual.comment, expected.comment);
    EXPECT_EQ(actual.year, expected.year);
    EXPECT_EQ(actual.track, expected.track);
    EXPECT_EQ(actual.cover.data, expected.cover.data);
    EXPECT_EQ(actual.cover.mimeType, expected.cover.mimeType);
    EXPECT_EQ(actual.cover.type, expected.cover.type);
}

CarriedTags tagsOf(const QString &path)
{
    TAudioInformation info;
    info.ReadTags(path);
    return info.tags();
}

// FFmpeg's view of a file, as an independent reader.
QJsonObject probe(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-show_format", "-show_streams", "-of", "json", path});
    if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
}

QJsonObject probeTags(const QJsonObject &probed)
{
    return probed["format"].toObject()["tags"].toObject();
}

double probeDuration(const QJsonObject &probed)
{
    return probed["format"].toObject()["duration"].toString().toDouble();
}

bool probeHasCover(const QJsonObject &probed)
{
    for (const QJsonValue stream : probed["streams"].toArray()) {
        if (stream["disposition"].toObject()["attached_pic"].toInt() == 1)
            return true;
    }
    return false;
}

TagLib::String::Type frameEncoding(TagLib::ID3v2::Tag &tag, const char *id)
{
    const TagLib::ID3v2::FrameList frames = tag.frameList(id);
    auto *text = frames.isEmpty() ? nullptr
                                  : dynamic_cast<TagLib::ID3v2::TextIdentificationFrame *>(frames.front());
    return text ? text->textEncoding() : TagLib::String::UTF8;
}

// One tag of a written file, read on its own by TagLib.
void expectTagFields(TagLib::Tag &tag, const CarriedTags &expected)
{
    EXPECT_EQ(QString::fromStdString(tag.title().to8Bit(true)), expected.title);
    EXPECT_EQ(QString::fromStdString(tag.artist().to8Bit(true)), expected.artist);
    EXPECT_EQ(QString::fromStdString(tag.album().to8Bit(true)), expected.album);
    EXPECT_EQ(QString::fromStdString(tag.genre().to8Bit(true)), expected.genre);
    EXPECT_EQ(QString::fromStdString(tag.comment().to8Bit(true)), expected.comment);
    EXPECT_EQ(tag.year(), expected.year);
    EXPECT_EQ(tag.track(), expected.track);
}

// ID3v2.3, non-ASCII text as UTF-16 and plain text as Latin-1, no encoder frames.
void expectId3v23(TagLib::ID3v2::Tag &tag, const CarriedTags &expected)
{
    expectTagFields(tag, expected);
    EXPECT_EQ(tag.header()->majorVersion(), 3u);
    EXPECT_EQ(frameEncoding(tag, "TIT2"), TagLib::String::UTF16);
    EXPECT_EQ(frameEncoding(tag, "TPE1"), TagLib::String::Latin1);
    EXPECT_TRUE(tag.frameList("TSSE").isEmpty());
    EXPECT_TRUE(tag.frameList("TENC").isEmpty());
    EXPECT_EQ(tag.frameList("APIC").size(), expected.cover.data.isEmpty() ? 0u : 1u);
}

void expectMp3Layout(const QString &path, const CarriedTags &expected)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    ASSERT_TRUE(file.isValid());
    EXPECT_FALSE(file.hasID3v1Tag());
    ASSERT_TRUE(file.hasID3v2Tag());
    expectId3v23(*file.ID3v2Tag(), expected);
}

// Both an INFO list and an ID3 chunk, each complete.
void expectWavLayout(const QString &path, const CarriedTags &expected)
{
    {
        TagLib::RIFF::WAV::File file(QFile::encodeName(path).constData(), false);
        ASSERT_TRUE(file.isValid());
        ASSERT_TRUE(file.hasInfoTag());
        ASSERT_TRUE(file.hasID3v2Tag());
        expectTagFields(*file.InfoTag(), expected);
        EXPECT_FALSE(file.InfoTag()->fieldListMap().contains("ISFT"));
        expectId3v23(*file.ID3v2Tag(), expected);
    }
    // The INFO list holds the title as UTF-8.
    EXPECT_TRUE(readAll(path).contains(kTitle.toUtf8()));
}

class TagsTest : public ::testing::Test {
protected:
    // A writable copy of a fixture in the test's own folder.
    QString copy(const QString &media, const QString &as)
    {
        const QString path = dir_.filePath(as);
        EXPECT_TRUE(writeAll(path, readAll(testMedia(media)))) << as.toStdString();
        return path;
    }

    // A fixture, or a source this test makes: a WMA with a WM/Picture cover
    // (FFmpeg cannot write one) and a WAV that carries an ID3 chunk.
    QString source(const QString &name)
    {
        if (name == "cover.wma")
            return wmaWithCover();
        if (name == "id3.wav") {
            const QString path = copy("stereo44.wav", name);
            TAudioInformation info;
            info.ReadTags(testMedia("cbr.mp3"));
            info.WriteTags(path);
            return path;
        }
        return testMedia(name);
    }

    QTemporaryDir dir_;

private:
    QString wmaWithCover()
    {
        const QString path = copy("sine.wma", "cover.wma");
        TagLib::ASF::File file(QFile::encodeName(path).constData(), false);
        TagLib::ASF::Picture picture;
        picture.setMimeType("image/png");
        picture.setType(TagLib::ASF::Picture::FrontCover);
        picture.setDescription("Album cover");
        const QByteArray png = coverPng();
        picture.setPicture(TagLib::ByteVector(png.constData(), static_cast<unsigned int>(png.size())));
        file.tag()->setAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
        EXPECT_TRUE(file.save());
        return path;
    }
};

// ---------------------------------------------------------------------------
// Every source kind into a WAV and an MP3, read back by TagLib and FFmpeg.

struct SourceKind {
    const char *name;
    bool cover;
};

void PrintTo(const SourceKind &kind, std::ostream *out)
{
    *out << kind.name;
}

using CarryCase = std::tuple<SourceKind, const char * /*target*/>;

class CarryTest : public TagsTest, public ::testing::WithParamInterface<CarryCase> {};

TEST_P(CarryTest, FieldsAndCoverReachTheOutput)
{
    const auto [kind, targetName] = GetParam();
    const bool hasCover = kind.cover;
    TAudioInformation info;
    info.ReadTags(source(kind.name));
    const CarriedTags carried = info.tags();
    expectFixtureFields(carried);
    if (hasCover) {
        EXPECT_EQ(carried.cover.data, coverPng());
        EXPECT_EQ(carried.cover.mimeType, "image/png");
        EXPECT_EQ(carried.cover.type, 3);
    } else {
        EXPECT_TRUE(carried.cover.data.isEmpty());
    }

    // A non-ASCII output name must be opened as such.
    const QString suffix = QString(targetName).section('.', -1);
    const QString target = copy(targetName, QStringLiteral("Ziel Ωü.") + suffix);
    const double durationBefore = probeDuration(probe(target));
    info.WriteTags(target);

    expectSameTags(tagsOf(target), carried);
    if (suffix == "mp3")
        expectMp3Layout(target, carried);
    else
        expectWavLayout(target, carried);

    const QJsonObject probed = probe(target);
    const QJsonObject tags = probeTags(probed);
    EXPECT_EQ(tags["title"].toString(), kTitle);
    EXPECT_EQ(tags["artist"].toString(), "Sonvera");
    EXPECT_EQ(tags["album"].toString(), "Test Tones");
    EXPECT_EQ(tags["genre"].toString(), "Electronic");
    EXPECT_EQ(tags["comment"].toString(), "made by make_media.sh");
    EXPECT_EQ(tags["date"].toString(), "2024");
    EXPECT_EQ(tags["track"].toString(), "3");
    // Encoder fields of the source (and of whatever made the target) are gone.
    EXPECT_FALSE(tags.contains("encoder"));
    EXPECT_FALSE(tags.contains("encoded_by"));
    EXPECT_EQ(probeHasCover(probed), hasCover);
    EXPECT_GT(durationBefore, 4.9);
    EXPECT_NEAR(probeDuration(probed), durationBefore, 0.001);
}

INSTANTIATE_TEST_SUITE_P(
    SourceKinds, CarryTest,
    ::testing::Combine(::testing::Values(SourceKind{"cbr.mp3", true}, SourceKind{"mono22.mp3", true},
                                         SourceKind{"sine.ogg", false}, SourceKind{"sine_cover.ogg", true},
                                         SourceKind{"sine.wma", false}, SourceKind{"cover.wma", true},
                                         SourceKind{"tagged.wav", false}, SourceKind{"id3.wav", true}),
                       ::testing::Values("stereo44.wav", "cbr_tagless.mp3")),
    [](const ::testing::TestParamInfo<CarryCase> &info) {
        std::string name = std::string(std::get<0>(info.param).name) + "_to_" + std::get<1>(info.param);
        for (char &c : name) {
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

// ---------------------------------------------------------------------------
// Sources without tags, and what is no audio at all, clear the carried tags;
// writing nothing then leaves the output as it was.

class NoTagsTest : public TagsTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(NoTagsTest, ClearsCarriedTagsAndLeavesOutputAlone)
{
    TAudioInformation info;
    info.ReadTags(testMedia("cbr.mp3"));
    ASSERT_FALSE(info.tags().isEmpty());

    info.ReadTags(testMedia(GetParam()));
    EXPECT_TRUE(info.tags().isEmpty());

    const QString target = copy("stereo44.wav", "out.wav");
    info.WriteTags(target);
    EXPECT_EQ(readAll(target), readAll(testMedia("stereo44.wav")));
}

INSTANTIATE_TEST_SUITE_P(Sources, NoTagsTest,
                         ::testing::Values("cbr_tagless.mp3", "stereo44.wav", "random.mp3", "empty.mp3",
                                           "no such file.mp3"));

// ---------------------------------------------------------------------------

TEST_F(TagsTest, WritingIntoOtherKindsOrMissingFilesChangesNothing)
{
    TAudioInformation info;
    info.ReadTags(testMedia("cbr.mp3"));

    const QString ogg = copy("sine.ogg", "out.ogg");
    info.WriteTags(ogg);
    EXPECT_EQ(readAll(ogg), readAll(testMedia("sine.ogg")));

    const QString missing = dir_.filePath("missing.mp3");
    info.WriteTags(missing);
    EXPECT_FALSE(QFile::exists(missing));
}

// Tagging replaces the file whole: no leftovers, the same permissions, and a
// read-only file is respected.
TEST_F(TagsTest, TaggedFileReplacesTheOutputCleanly)
{
    TAudioInformation info;
    info.ReadTags(testMedia("cbr.mp3"));

    const QString output = copy("cbr_tagless.mp3", "out.mp3");
    const auto permissions = QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(QFile::setPermissions(output, permissions));
    const auto before = QFile::permissions(output);
    info.WriteTags(output);
    expectFixtureFields(tagsOf(output));
    EXPECT_EQ(QFile::permissions(output), before);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.mp3"});

    const QString locked = copy("stereo44.wav", "locked.wav");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner));
    info.WriteTags(locked);
    EXPECT_EQ(readAll(locked), readAll(testMedia("stereo44.wav")));
}

// Old MP3s carry an ID3v1 tag only (Latin-1, genre as a number).
TEST_F(TagsTest, Id3v1OnlySourceIsCarried)
{
    const QString source = copy("cbr_tagless.mp3", "v1.mp3");
    {
        TagLib::MPEG::File file(QFile::encodeName(source).constData(), false);
        TagLib::Tag *v1 = file.ID3v1Tag(true);
        v1->setTitle(TagLib::String("Sin\xfcs", TagLib::String::Latin1));
        v1->setArtist("Sonvera");
        v1->setGenre("Electronic");
        v1->setYear(1999);
        v1->setTrack(7);
        ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers));
    }
    TAudioInformation info;
    info.ReadTags(source);
    EXPECT_EQ(info.tags().title, QStringLiteral("Sinüs"));
    EXPECT_EQ(info.tags().genre, "Electronic");
    EXPECT_EQ(info.tags().year, 1999u);
    EXPECT_EQ(info.tags().track, 7u);

    const QString target = copy("stereo44.wav", "out.wav");
    info.WriteTags(target);
    const QJsonObject tags = probeTags(probe(target));
    EXPECT_EQ(tags["title"].toString(), QStringLiteral("Sinüs"));
    EXPECT_EQ(tags["artist"].toString(), "Sonvera");
    EXPECT_EQ(tags["genre"].toString(), "Electronic");
}

TEST_F(TagsTest, FactoryMakesAWorkingInstance)
{
    const auto info = components::createAudioInformation();
    info->ReadTags(testMedia("cbr.mp3"));
    const QString target = copy("stereo44.wav", "out.wav");
    info->WriteTags(target);
    expectFixtureFields(tagsOf(target));
}

// Damaged headers and tags: reading must not crash, and tags carried from a
// damaged file never harm the output's audio.
TEST_F(TagsTest, DamagedSourcesNeverHarmTheOutput)
{
    const QString wav = copy("stereo44.wav", "out.wav");
    const QString mp3 = copy("cbr_tagless.mp3", "out.mp3");
    const double wavDuration = probeDuration(probe(wav));
    const double mp3Duration = probeDuration(probe(mp3));

    quint32 seed = 12345;
    for (const char *name : {"cbr.mp3", "sine_cover.ogg", "sine.wma", "tagged.wav"}) {
        const QByteArray original = readAll(source(name));
        for (int round = 0; round < 25; ++round) {
            QByteArray damaged = original;
            // Scramble a stretch of the first 4 KiB, where the headers and tags are.
            seed = seed * 1664525u + 1013904223u;
            const int start = 4 + static_cast<int>(seed % 4000);
            for (int i = start; i < start + 64 && i < damaged.size(); ++i) {
                seed = seed * 1664525u + 1013904223u;
                damaged[i] = static_cast<char>(seed >> 24);
            }
            const QString path = dir_.filePath(QStringLiteral("damaged.") + QString(name).section('.', -1));
            ASSERT_TRUE(writeAll(path, damaged));
            TAudioInformation info;
            info.ReadTags(path);
            info.WriteTags(wav);
            info.WriteTags(mp3);
        }
    }
    EXPECT_NEAR(probeDuration(probe(wav)), wavDuration, 0.001);
    EXPECT_NEAR(probeDuration(probe(mp3)), mp3Duration, 0.001);
}

} // namespace
