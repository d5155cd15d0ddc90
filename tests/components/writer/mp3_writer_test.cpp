#include "components/audio/audiowriter.h"
#include "components/audio/mpeg_format.h"
#include "writer_support.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using components::AudioWriter;
using namespace writertest;

namespace {

struct ModeCase {
    const char *name;
    int inRate;
    std::vector<float> inAmps;
    int mode;
    int outChannels;
    int headerMode; // channel mode bits of the frame header; -1: the encoder's choice
    int encoderRate = 0;
};

std::ostream &operator<<(std::ostream &os, const ModeCase &c)
{
    return os << c.name;
}

class Mp3Modes : public ::testing::TestWithParam<ModeCase> {};

// Each mode gives its channel layout; the decoded length is exactly what was
// written (the info tag carries the encoder delay and padding).
TEST_P(Mp3Modes, EncodesTheModeGaplessWithAnInfoTag)
{
    const ModeCase &c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("out.Mp3");
    const int frames = c.inRate + 1234;

    AudioWriter writer;
    writer.encoder()->SetEncoderSampleRate(c.encoderRate);
    writer.encoder()->SetEncoderMode(c.mode);
    writer.encoder()->SetEncoderBitrate(128);
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(c.inRate, int(c.inAmps.size())));
    ASSERT_TRUE(feed(writer, c.inRate, c.inAmps, frames, 5000));
    ASSERT_TRUE(writer.close());

    const auto info = probe(path);
    EXPECT_EQ(info.value("codec_name"), "mp3");
    const int outRate = c.encoderRate ? c.encoderRate : c.inRate;
    EXPECT_EQ(info.value("sample_rate").toInt(), outRate);
    EXPECT_EQ(info.value("channels").toInt(), c.outChannels);
    EXPECT_EQ(info.value("bit_rate").toInt(), 128000);

    const QByteArray bytes = readAll(path);
    ASSERT_GT(bytes.size(), 200);
    EXPECT_EQ(uchar(bytes[0]), 0xFF) << "the file starts with the tag frame";
    EXPECT_TRUE(bytes.left(200).contains("Info")) << "no info tag";
    EXPECT_TRUE(bytes.left(200).contains("LAME")) << "no LAME extension";
    if (c.headerMode >= 0) {
        EXPECT_EQ(uchar(bytes[3]) >> 6, c.headerMode);
    }

    const Decoded d = decode(path);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.frames(), qint64(frames) * outRate / c.inRate);
    if (c.outChannels == 2 && c.inAmps.size() == 1) {
        int worst = 0;
        for (std::size_t i = 0; i < d.samples.size(); i += 2)
            worst = std::max(worst, std::abs(d.samples[i] - d.samples[i + 1]));
        EXPECT_LE(worst, 300) << "a mono input should sound the same on both sides";
        EXPECT_NEAR(d.peak(1), 0.5, 0.05);
    }
}

// Frame header channel modes: 0 stereo, 1 joint stereo, 3 mono.
const ModeCase modeCases[] = {
    {"mono_encoders_choice", 22050, {0.5f}, 0, 1, 3},
    {"mono_mono", 22050, {0.5f}, 1, 1, 3},
    {"mono_stereo", 22050, {0.5f}, 2, 2, 0},
    {"mono_joint", 22050, {0.5f}, 3, 2, 1},
    {"stereo_encoders_choice", 44100, {0.5f, 0.3f}, 0, 2, -1},
    {"stereo_mono", 44100, {0.5f, 0.3f}, 1, 1, 3},
    {"stereo_stereo", 44100, {0.5f, 0.3f}, 2, 2, 0},
    {"stereo_joint", 44100, {0.5f, 0.3f}, 3, 2, 1},
    {"mono22k_resampled_to_44k_joint", 22050, {0.5f}, 3, 2, 1, 44100},
};
INSTANTIATE_TEST_SUITE_P(Writer, Mp3Modes, ::testing::ValuesIn(modeCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct FormatCase {
    int rate, bitrate, mode;
    int readBack;
    bool supported;
};

std::ostream &operator<<(std::ostream &os, const FormatCase &c)
{
    return os << c.rate << " Hz, " << c.bitrate << " kbit/s, mode " << c.mode;
}

class Mp3Formats : public ::testing::TestWithParam<FormatCase> {};

// The bit rate reads back as what LAME will use; the support test is made
// with the values read back, as the jobs do, and create agrees with it.
TEST_P(Mp3Formats, SnapsTheBitrateAndTellsSupport)
{
    const FormatCase &c = GetParam();
    AudioWriter writer;
    auto *encoder = writer.encoder();
    encoder->SetEncoderSampleRate(c.rate);
    encoder->SetEncoderMode(c.mode);
    encoder->SetEncoderBitrate(c.bitrate);
    EXPECT_EQ(encoder->GetEncoderBitrate(), c.readBack);
    EXPECT_EQ(writer.isMp3FormatSupported(encoder->GetEncoderSampleRate(),
                                          encoder->GetEncoderBitrate(), encoder->GetEncoderMode()),
              c.supported);
    QTemporaryDir dir;
    EXPECT_EQ(writer.create(dir.filePath("a.mp3")), c.supported);
}

const FormatCase formatCases[] = {
    {44100, 8, 2, 32, true},    {6000, 64, 2, 64, false},  {0, 0, 0, 0, true},
    {22050, 320, 3, 160, true}, {8000, 320, 1, 160, true}, {48000, 130, 2, 128, true},
    {32000, 0, 4, 0, false},    {44100, 128, -1, 128, false}, {0, 300, 2, 320, true},
};
INSTANTIATE_TEST_SUITE_P(Writer, Mp3Formats, ::testing::ValuesIn(formatCases));

TEST(Mp3Writer, UnsupportedSettingsFailCreate)
{
    QTemporaryDir dir;
    AudioWriter writer;
    writer.encoder()->SetEncoderSampleRate(6000);
    EXPECT_FALSE(writer.create(dir.filePath("a.mp3")));
    EXPECT_FALSE(writer.isOpen());
}

// 9 is the best quality yet never below LAME's -q 4 (its -q 0..3 harm CBR
// stereo); 0 is the fast -q 7.
TEST(Mp3Writer, QualityMapsOntoLameFourToSeven)
{
    using components::mpeg::lameQuality;
    EXPECT_EQ(lameQuality(9), 4);
    EXPECT_EQ(lameQuality(0), 7);
    EXPECT_EQ(lameQuality(12), 4);
    EXPECT_EQ(lameQuality(-1), 7);
    for (int q = 1; q <= 9; ++q)
        EXPECT_LE(lameQuality(q), lameQuality(q - 1));
}

// The flag stores the stream's ReplayGain in the info tag; without it none.
TEST(Mp3Writer, FlagWritesReplayGain)
{
    QTemporaryDir dir;
    for (bool flag : {false, true}) {
        const QString path = dir.filePath(flag ? "gain.mp3" : "plain.mp3");
        AudioWriter writer;
        writer.encoder()->SetEncoderFlag(flag);
        ASSERT_TRUE(writer.create(path));
        ASSERT_TRUE(writer.setInputFormat(44100, 2));
        ASSERT_TRUE(feed(writer, 44100, {0.5f, 0.5f}, 44100));
        ASSERT_TRUE(writer.close());
        const QByteArray bytes = readAll(path);
        const int lame = bytes.indexOf("LAME");
        ASSERT_GT(lame, 0);
        // LAME tag: peak (4 bytes) at +11, radio gain (2 bytes) at +15.
        const int radioGain = (uchar(bytes[lame + 15]) << 8) | uchar(bytes[lame + 16]);
        EXPECT_EQ(radioGain != 0, flag) << "flag " << flag;
    }
}

} // namespace

namespace {

// At the lowest bit rates a frame cannot hold the info tag; LAME leaves it
// out and the file must still be stored (the jobs' default bit rate is 8).
TEST(Mp3Writer, LowBitrateWithoutRoomForTheInfoTagIsStored)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("low.mp3");
    AudioWriter writer;
    writer.encoder()->SetEncoderSampleRate(44100);
    writer.encoder()->SetEncoderMode(2);
    writer.encoder()->SetEncoderBitrate(8);
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(44100, 2));
    ASSERT_TRUE(feed(writer, 44100, {0.5f, 0.5f}, 44100));
    ASSERT_TRUE(writer.close());
    const auto info = probe(path);
    EXPECT_EQ(info.value("codec_name"), "mp3");
    EXPECT_EQ(info.value("bit_rate").toInt(), 32000);
}

} // namespace
