#include "components/audio/factory.h"
#include "support/temp_config.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

using components::IAudioFile;
using components::SampleBlock;

namespace {

std::unique_ptr<IAudioFile> openReader(const QString &name, bool wma = true)
{
    auto reader = components::createAudioFile();
    reader->SetWmaFormatEnabled(wma);
    reader->OpenFile(testMedia(name), 0, 1);
    return reader;
}

// Interleaved float samples as the ffmpeg command-line tool decodes them.
std::vector<float> referenceDecode(const QString &name)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", testMedia(name), "-f", "f32le", "-c:a", "pcm_f32le", "-"});
    ffmpeg.waitForFinished(60000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    std::vector<float> samples(size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

struct Kind {
    const char *file;
    int frequency;
    int channels;
    bool exactLength;
    int sourceFrames; // the encoded signal's frames where the file is gapless, else 0
};

void PrintTo(const Kind &k, std::ostream *os) { *os << k.file; }

class ReaderKinds : public testing::TestWithParam<Kind> {};

TEST_P(ReaderKinds, DeliversTheIndependentDecodeWithinItsLength)
{
    const Kind k = GetParam();
    auto reader = openReader(k.file);
    ASSERT_EQ(reader->ErrorCode(), 0);
    EXPECT_EQ(reader->Frequency(), k.frequency);
    EXPECT_EQ(reader->Channels(), k.channels);
    EXPECT_EQ(reader->OutFrequency(), k.frequency);
    EXPECT_EQ(reader->OutChannels(), k.channels);
    const int length = reader->Length();
    EXPECT_EQ(reader->Duration(), std::lround(length * 1000.0 / k.frequency));

    // Odd block sizes cross codec frame boundaries everywhere.
    std::vector<float> decoded;
    for (int size = 1000;; size = size * 3 % 90001 + 1) {
        SampleBlock block = reader->ReadBlock(size);
        ASSERT_EQ(reader->ErrorCode(), 0);
        ASSERT_LE(block.elementCount(), size * k.channels);
        ASSERT_EQ(block.channels, k.channels);
        if (block.empty())
            break;
        decoded.insert(decoded.end(), block.samples.begin(), block.samples.end());
    }
    const int frames = int(decoded.size()) / k.channels;
    EXPECT_GE(length, frames);
    EXPECT_LE(length - frames, k.exactLength ? 0 : 2048) << "more than one codec frame over";
    if (k.sourceFrames) {
        EXPECT_EQ(frames, k.sourceFrames) << "encoder delay or padding left in";
    }

    const std::vector<float> reference = referenceDecode(k.file);
    ASSERT_EQ(decoded.size(), reference.size());
    for (size_t i = 0; i < reference.size(); ++i)
        ASSERT_NEAR(decoded[i], reference[i], 1e-6) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReaderKinds,
                         testing::Values(Kind{"cbr.mp3", 44100, 2, true, 220500},
                                         Kind{"cbr_noheader.mp3", 44100, 2, true, 0},
                                         Kind{"vbr.mp3", 44100, 2, true, 220500},
                                         Kind{"vbr_noheader.mp3", 44100, 2, true, 0},
                                         Kind{"mono22.mp3", 22050, 1, true, 88200},
                                         Kind{"sine.ogg", 44100, 2, true, 220500},
                                         Kind{"sine.wma", 44100, 2, false, 0},
                                         Kind{"tagged.wav", 44100, 2, true, 220500},
                                         Kind{"mono22.wav", 22050, 1, true, 88200},
                                         Kind{"mp3_named.wma", 44100, 2, true, 220500}));

TEST(Reader, RequestForNoFramesGivesOneSecond)
{
    for (const char *file : {"cbr.mp3", "mono22.wav"}) {
        auto reader = openReader(file);
        for (int frames : {0, -1, -88200}) {
            const SampleBlock block = reader->ReadBlock(frames);
            EXPECT_EQ(block.elementCount(), reader->Frequency() * reader->Channels()) << file << " " << frames;
        }
    }
}

class Refused : public testing::TestWithParam<const char *> {};

TEST_P(Refused, OpenFails)
{
    auto reader = openReader(GetParam(), false);
    EXPECT_NE(reader->ErrorCode(), 0);
    EXPECT_EQ(reader->Length(), 0);
    EXPECT_TRUE(reader->ReadBlock(1000).empty());
    EXPECT_NE(reader->ErrorCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(NotReadable, Refused,
                         testing::Values("missing.mp3", "random.mp3", "empty.mp3", "cover.png", "sine.wma",
                                         "wma_named.mp3"));

TEST(Reader, WmaIsKnownByContentNotByName)
{
    EXPECT_EQ(openReader("wma_named.mp3", true)->ErrorCode(), 0);
    EXPECT_EQ(openReader("mp3_named.wma", false)->ErrorCode(), 0);
}

// Reads to the end in blocks; returns the indexes of the blocks that set ErrorCode.
std::vector<int> damagedBlocks(IAudioFile &reader, int blockFrames, int *frames)
{
    std::vector<int> damaged;
    *frames = 0;
    for (int i = 0;; ++i) {
        const SampleBlock block = reader.ReadBlock(blockFrames);
        if (reader.ErrorCode() != 0)
            damaged.push_back(i);
        if (block.empty())
            return damaged;
        *frames += block.elementCount() / reader.Channels();
    }
}

TEST(Reader, TruncatedFileReportsWhereItEndsEarly)
{
    auto reader = openReader("truncated.mp3");
    ASSERT_EQ(reader->ErrorCode(), 0);
    const int blockFrames = 22050;
    int frames = 0;
    const std::vector<int> damaged = damagedBlocks(*reader, blockFrames, &frames);
    // The block that runs into the cut carries the error and the samples before it.
    ASSERT_EQ(damaged, std::vector<int>{frames / blockFrames});
    EXPECT_GT(frames % blockFrames, 0);
    EXPECT_LE(frames, reader->Length());
}

TEST(Reader, DamagedStretchIsReportedOnceAndSkipped)
{
    auto reader = openReader("hole.mp3");
    ASSERT_EQ(reader->ErrorCode(), 0);
    const int blockFrames = 22050;
    int frames = 0;
    const std::vector<int> damaged = damagedBlocks(*reader, blockFrames, &frames);
    ASSERT_EQ(damaged.size(), 1u);
    // The hole lies in the middle of the five seconds.
    EXPECT_GE(damaged[0], 4);
    EXPECT_LE(damaged[0], 6);
    EXPECT_GT(frames, 200000);
    EXPECT_LE(frames, reader->Length());
}

TEST(Reader, CloseFromAnotherThreadEndsTheReadingCleanly)
{
    int closedEarly = 0;
    for (int round = 0; round < 20; ++round) {
        auto reader = openReader("stereo44.wav");
        ASSERT_EQ(reader->ErrorCode(), 0);
        const int length = reader->Length();
        std::atomic<int> frames{0};
        bool torn = false;
        int lastError = 0;
        std::thread worker([&] {
            for (;;) {
                const SampleBlock block = reader->ReadBlock(3);
                lastError = reader->ErrorCode();
                torn = torn || block.elementCount() % 2 != 0 || block.elementCount() > 6;
                if (block.empty())
                    return;
                frames += block.elementCount() / 2;
            }
        });
        while (frames < 1000 * (round + 1))
            std::this_thread::yield();
        reader->CloseFile();
        worker.join();
        EXPECT_FALSE(torn);
        // Either the close cut the reading short and the next read failed, or
        // the worker was faster and reached the end untroubled.
        if (frames < length)
            EXPECT_NE(lastError, 0) << "round " << round;
        else
            EXPECT_EQ(lastError, 0) << "round " << round;
        closedEarly += frames < length;
    }
    EXPECT_GT(closedEarly, 0);
}

} // namespace
