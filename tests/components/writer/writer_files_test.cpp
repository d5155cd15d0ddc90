#include "components/audio/audiowriter.h"
#include "writer_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using components::AudioWriter;
using namespace writertest;

namespace {

struct CreateFailure {
    const char *name;
    QString (*path)(const QTemporaryDir &);
    int waveBits;
};

std::ostream &operator<<(std::ostream &os, const CreateFailure &c)
{
    return os << c.name;
}

class CreateFails : public ::testing::TestWithParam<CreateFailure> {};

TEST_P(CreateFails, ReturnsFalseAndLeavesNothingOpen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.wav"));
    AudioWriter writer;
    writer.setWaveFormat(44100, 2, GetParam().waveBits);
    EXPECT_FALSE(writer.create(GetParam().path(dir)));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(writer.write(sine(44100, {0.1f, 0.1f}, 0, 100)));
    EXPECT_TRUE(QDir(dir.path()).exists("taken.wav")) << "a folder in the way stays";
}

const CreateFailure createFailures[] = {
    {"missing_folder", [](const QTemporaryDir &d) { return d.filePath("none/a.wav"); }, 16},
    {"folder_in_the_way", [](const QTemporaryDir &d) { return d.filePath("taken.wav"); }, 16},
    {"unknown_ending", [](const QTemporaryDir &d) { return d.filePath("a.ogg"); }, 16},
    {"no_ending", [](const QTemporaryDir &d) { return d.filePath("mp3"); }, 16},
    {"wav_bits_other_than_16", [](const QTemporaryDir &d) { return d.filePath("a.wav"); }, 24},
};
INSTANTIATE_TEST_SUITE_P(Writer, CreateFails, ::testing::ValuesIn(createFailures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(WriterFiles, WritesNeedAMatchingInputFormat)
{
    QTemporaryDir dir;
    AudioWriter writer;
    ASSERT_TRUE(writer.create(dir.filePath("a.wav")));
    EXPECT_FALSE(writer.write(sine(44100, {0.1f, 0.1f}, 0, 100))) << "no input format yet";
    EXPECT_FALSE(writer.setInputFormat(44100, 3));
    EXPECT_FALSE(writer.setInputFormat(0, 2));
    ASSERT_TRUE(writer.setInputFormat(44100, 2));
    EXPECT_FALSE(writer.write(sine(44100, {0.1f}, 0, 100))) << "mono block for stereo input";
    EXPECT_TRUE(writer.write(sine(44100, {0.1f, 0.1f}, 0, 100)));
    EXPECT_TRUE(writer.write(components::SampleBlock{})) << "the end marker is written too";
    EXPECT_FALSE(writer.setInputFormat(22050, 2)) << "format changed mid-file";
    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(writer.write(sine(44100, {0.1f, 0.1f}, 0, 100))) << "closed";
    EXPECT_TRUE(writer.close()) << "closing nothing";
}

class EarlyClose : public ::testing::TestWithParam<const char *> {};

// A Stop closes the writer at any point; what was written is a playable file,
// also when nothing was written at all (an MP3 then holds one silent sample).
TEST_P(EarlyClose, LeavesAPlayableFileOfWhatWasWritten)
{
    QTemporaryDir dir;
    const QString written = dir.filePath(QString("part.") + GetParam());
    const QString empty = dir.filePath(QString("empty.") + GetParam());
    AudioWriter writer;
    writer.encoder()->SetEncoderBitrate(128);
    ASSERT_TRUE(writer.create(written));
    ASSERT_TRUE(writer.setInputFormat(44100, 2));
    ASSERT_TRUE(feed(writer, 44100, {0.5f, 0.5f}, 30000));
    ASSERT_TRUE(writer.close());
    ASSERT_TRUE(writer.create(empty));
    ASSERT_TRUE(writer.close());

    const Decoded part = decode(written);
    ASSERT_TRUE(part.ok);
    EXPECT_EQ(part.frames(), 30000);
    const Decoded none = decode(empty);
    ASSERT_TRUE(none.ok);
    EXPECT_LE(none.frames(), 1);
}
INSTANTIATE_TEST_SUITE_P(Writer, EarlyClose, ::testing::Values("wav", "mp3"));

// An output path that holds an older file.
class AtomicOutput : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        path = dir.filePath(QString("song.") + GetParam());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }

    QTemporaryDir dir;
    QString path;
    const QByteArray old = "the old file";
};

// An existing file is replaced only when the new one is complete.
TEST_P(AtomicOutput, ReplacesAnExistingFileOnlyOnClose)
{
    AudioWriter writer;
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(44100, 2));
    ASSERT_TRUE(feed(writer, 44100, {0.5f, 0.5f}, 300000));
    EXPECT_EQ(readAll(path), old);
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(decode(path).frames(), 300000);
}

// A writer killed mid-file (a crash, a power cut's stand-in) leaves the old file.
TEST_P(AtomicOutput, AKilledWriterLeavesTheOldFile)
{
    QProcess child;
    child.start(QStringLiteral(WRITER_KILL_CHILD), {path});
    ASSERT_TRUE(child.waitForReadyRead(20000));
    ASSERT_TRUE(child.readLine().startsWith("writing"));
    QThread::msleep(100);
    child.kill();
    ASSERT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(readAll(path), old);
}
INSTANTIATE_TEST_SUITE_P(Writer, AtomicOutput, ::testing::Values("wav", "mp3"));

} // namespace
