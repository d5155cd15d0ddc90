#include "components/audio/audiowriter.h"
#include "components/audio/output_file.h"
#include "components/audio/wav_sink.h"
#include "writer_support.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

using components::AudioWriter;
using namespace writertest;

namespace {

struct WavCase {
    const char *name;
    int inRate;
    std::vector<float> inAmps; // one per input channel
    int outRate, outChannels;
    std::vector<double> outPeaks;
};

std::ostream &operator<<(std::ostream &os, const WavCase &c)
{
    return os << c.name;
}

class WavFormats : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavFormats, WritesTheAskedFormatAtTheRightLengthAndLevel)
{
    const WavCase &c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("out.WAV");
    const int frames = c.inRate * 3 / 2 + 77;

    AudioWriter writer;
    writer.setWaveFormat(c.outRate, c.outChannels, 16);
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(c.inRate, int(c.inAmps.size())));
    ASSERT_TRUE(feed(writer, c.inRate, c.inAmps, frames, 7000));
    ASSERT_TRUE(writer.close());

    const auto info = probe(path);
    EXPECT_EQ(info.value("codec_name"), "pcm_s16le");
    EXPECT_EQ(info.value("sample_rate").toInt(), c.outRate);
    EXPECT_EQ(info.value("channels").toInt(), c.outChannels);
    EXPECT_EQ(info.value("bits_per_sample").toInt(), 16);

    const Decoded d = decode(path);
    ASSERT_TRUE(d.ok);
    EXPECT_NEAR(d.frames(), double(frames) * c.outRate / c.inRate, 1.0);
    for (int ch = 0; ch < c.outChannels; ++ch)
        EXPECT_NEAR(d.peak(ch), c.outPeaks[std::size_t(ch)], 0.01) << "channel " << ch;
}

const WavCase wavCases[] = {
    {"mono22k_to_cd_quality", 22050, {0.5f}, 44100, 2, {0.5, 0.5}},
    {"mono22k_as_is", 22050, {0.5f}, 22050, 1, {0.5}},
    {"stereo_mixed_to_mono", 44100, {0.6f, 0.2f}, 44100, 1, {0.4}},
    {"stereo48k_to_44k", 48000, {0.6f, 0.2f}, 44100, 2, {0.6, 0.2}},
    {"full_scale_clips_safely", 44100, {1.5f, -1.0f}, 44100, 2, {1.0, 1.0}},
};
INSTANTIATE_TEST_SUITE_P(Writer, WavFormats, ::testing::ValuesIn(wavCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Unchanged format: every sample is the input's within the dither's +-1 LSB
// plus rounding, and the two sides of a duplicated mono stay together.
TEST(WavWriter, SamplesMatchTheInputWithinDither)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("same.wav");
    const int rate = 22050, frames = 30000;
    AudioWriter writer;
    writer.setWaveFormat(rate, 2, 16);
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(rate, 2));
    const auto block = sine(rate, {0.7f, -0.3f}, 0, frames);
    ASSERT_TRUE(writer.write(block));
    ASSERT_TRUE(writer.close());

    const Decoded d = decode(path);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.samples.size(), block.samples.size());
    int worst = 0;
    long long sum = 0;
    for (std::size_t i = 0; i < d.samples.size(); ++i) {
        const int err = d.samples[i] - int(std::lround(block.samples[i] * 32768.0));
        worst = std::max(worst, std::abs(err));
        sum += err;
    }
    EXPECT_LE(worst, 2);
    EXPECT_LT(std::abs(double(sum) / double(d.samples.size())), 0.05) << "dither is biased";
}

// A file must not pass 4 GiB: the write that would take it over the limit is
// refused and the file keeps what came before, with true sizes.
TEST(WavWriter, RefusesWritesPastTheSizeLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("limit.wav");
    components::OutputFile out(path);
    ASSERT_TRUE(out.open());
    const std::uint64_t limit = 4 * 1000;
    auto sink = components::WavSink::create(out, 8000, 1, 8000, 1, limit);
    ASSERT_TRUE(sink);
    const auto first = sine(8000, {0.5f}, 0, 1000);
    ASSERT_TRUE(sink->write(first.samples.data(), 1000));
    const auto second = sine(8000, {0.5f}, 1000, 1000);
    EXPECT_FALSE(sink->write(second.samples.data(), 1000));
    ASSERT_TRUE(sink->finish());
    ASSERT_TRUE(out.commit());

    EXPECT_EQ(decode(path).frames(), 1000);
    EXPECT_EQ(readAll(path).size(), 44 + 2000);
}

} // namespace
