#include "engine/filelist.h"
#include "engine/globals.h"
#include "fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FileList, SizeText)
{
    EXPECT_EQ(engine::sizeText(1048576), "1.00MB");
    EXPECT_EQ(engine::sizeText(3500000), "3.34MB");
    EXPECT_EQ(engine::sizeText(1000000), "0.95MB");
    EXPECT_EQ(engine::sizeText(0), "0.00MB");
    // Five significant digits: from 1000 MB on the second decimal is 0.
    EXPECT_EQ(engine::sizeText(1294538319), "1234.60MB");
    EXPECT_EQ(engine::sizeText(qint64(3) << 30), "3072.00MB");
}

TEST(FileList, InvalidFileMessagePerCommand)
{
    EXPECT_EQ(engine::invalidFileMessage(JobToMp3, QStringLiteral("/x/song.wav")), "song.wav is not a valid WAV file!");
    EXPECT_EQ(engine::invalidFileMessage(JobNormalize, QStringLiteral("/x/a.mp3")), "a.mp3 is not a valid MP3 file!");
    EXPECT_EQ(engine::invalidFileMessage(JobToWav, QStringLiteral("/x/a.ogg")), "a.ogg is not a valid file!");
}

class Examine : public ::testing::Test {
protected:
    QString file(const QString &name, int bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(bytes, 'x'));
        return path;
    }

    QTemporaryDir dir;
    CallLog log;
    FakeAudioFile reader{log, "reader"};
};

TEST_F(Examine, ValidFileGivesItsRowAndClosesTheReader)
{
    const QString path = file(QStringLiteral("b.mp3"), 1048576);
    SourceScript mono;
    mono.frequency = 22050;
    mono.channels = 1;
    reader.sources[path] = mono;
    const auto row = engine::examineFile(reader, path);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->fileName, "b.mp3");
    EXPECT_EQ(row->fullPath, path);
    EXPECT_EQ(row->sizeText, "1.00MB");
    EXPECT_EQ(row->sampleRateText, "22050Hz");
    EXPECT_EQ(row->channelText, "mono");
    EXPECT_EQ(row->state, "unconvert");
    EXPECT_EQ(log.lines().back(), "reader close");
}

TEST_F(Examine, RefusedFileGivesNoRowAndClosesTheReader)
{
    const QString path = file(QStringLiteral("a.txt"), 10);
    EXPECT_FALSE(engine::examineFile(reader, path));
    EXPECT_EQ(log.lines().back(), "reader close");
    EXPECT_THROW(engine::examineFile(reader, dir.filePath(QStringLiteral("missing.mp3"))), engine::FileSizeError);
}

TEST(FileList, RowsSortedByName)
{
    std::vector<engine::ListRow> rows;
    for (const char *path : {"/1/b.mp3", "/2/a.mp3", "/1/a.mp3"}) {
        engine::ListRow row;
        row.fullPath = QLatin1String(path);
        row.fileName = row.fullPath.section(QLatin1Char('/'), -1);
        rows.push_back(row);
    }
    engine::sortRows(rows);
    EXPECT_EQ(rows[0].fullPath, "/2/a.mp3");
    EXPECT_EQ(rows[1].fullPath, "/1/a.mp3");
    EXPECT_EQ(rows[2].fullPath, "/1/b.mp3");
}

} // namespace
