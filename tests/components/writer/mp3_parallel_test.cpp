#include "components/audio/mp3_frame.h"
#include "components/audio/mp3_parallel.h"
#include "components/audio/mp3_reservoir.h"
#include "components/audio/mp3_sink.h"
#include "components/audio/output_file.h"
#include "writer_support.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace components;
using namespace writertest;

namespace {

constexpr int Rate = 44100;
constexpr int SmallChunk = 98; // frames: 2.6 s, so a 20 s signal has several joins
constexpr int DecoderDelay = 576 + 529;

using Signal = std::vector<float>; // interleaved stereo

Signal sweep(double seconds)
{
    const int n = int(seconds * Rate);
    Signal s(std::size_t(n) * 2);
    const double f0 = 30.0, f1 = 16000.0, k = std::log(f1 / f0) / seconds;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / Rate;
        const double phase = 2 * M_PI * f0 * (std::exp(k * t) - 1) / k;
        s[2 * std::size_t(i)] = float(0.5 * std::sin(phase));
        s[2 * std::size_t(i) + 1] = float(0.4 * std::sin(phase + 1.0));
    }
    return s;
}

Signal noise(double seconds)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> u(-0.3f, 0.3f);
    Signal s(std::size_t(seconds * Rate) * 2);
    for (float &v : s)
        v = u(gen);
    return s;
}

// Noise bursts of 20 ms, four a second: transients make the encoder switch
// to short windows, also around the joins.
Signal bursts(double seconds)
{
    Signal s = noise(seconds);
    for (std::size_t i = 0; i < s.size() / 2; ++i)
        if (i % (Rate / 4) > Rate / 50)
            s[2 * i] = s[2 * i + 1] = 0.02f * float(std::sin(2 * M_PI * 300.0 * double(i) / Rate));
    return s;
}

Signal silence(double seconds)
{
    return Signal(std::size_t(seconds * Rate) * 2, 0.0f);
}

struct Encoded {
    QByteArray bytes;
    Decoded decoded;
    std::vector<long long> joins;
    int serialJoins = 0;
};

// chunkFrames 0: the single encoder.
Encoded encode(const QString &path, const Signal &s, int quality, int chunkFrames)
{
    Mp3Settings settings;
    settings.bitrate = 128;
    settings.quality = quality;
    Encoded e;
    OutputFile out(path);
    if (!out.open())
        return e;
    std::unique_ptr<AudioSink> sink;
    Mp3ParallelSink *parallel = nullptr;
    if (chunkFrames) {
        auto p = Mp3ParallelSink::create(out, settings, Rate, 2, 2, chunkFrames);
        parallel = p.get();
        sink = std::move(p);
    } else {
        sink = Mp3Sink::create(out, settings, Rate, 2);
    }
    if (!sink)
        return e;
    const int frames = int(s.size() / 2);
    for (int at = 0; at < frames; at += 10000)
        if (!sink->write(s.data() + 2 * std::size_t(at), std::min(10000, frames - at)))
            return e;
    if (!sink->finish() || !out.commit())
        return e;
    if (parallel) {
        e.joins = parallel->joins();
        e.serialJoins = parallel->serialJoins();
    }
    e.bytes = readAll(path);
    e.decoded = decode(path);
    return e;
}

double snr(const Signal &s, const Decoded &d, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    to = std::min({to, s.size(), d.samples.size()});
    double sig = 0, err = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double x = s[i], y = d.samples[i] / 32768.0;
        sig += x * x;
        err += (x - y) * (x - y);
    }
    return 10 * std::log10(sig / std::max(err, 1e-12));
}

int maxJump(const Decoded &d, std::size_t from, std::size_t to)
{
    int worst = 0;
    to = std::min(to, d.samples.size());
    for (std::size_t i = std::max<std::size_t>(from, 2); i < to; ++i)
        worst = std::max(worst, std::abs(d.samples[i] - d.samples[i - 2]));
    return worst;
}

std::uint32_t big(const QByteArray &b, int at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | uchar(b[at + i]);
    return v;
}

struct SignalCase {
    const char *name;
    Signal (*make)(double);
    double seconds;
};

std::ostream &operator<<(std::ostream &os, const SignalCase &c)
{
    return os << c.name;
}

class ParallelMp3 : public ::testing::TestWithParam<SignalCase> {};

// The parallel stream against the single encoder's: same length to the
// sample, same frame sizes, an info tag for the whole stream, and quality
// at least as close to the single encode as a neighbouring quality setting.
TEST_P(ParallelMp3, MatchesTheSingleEncoder)
{
    const SignalCase &c = GetParam();
    const Signal s = c.make(c.seconds);
    QTemporaryDir dir;
    const Encoded single = encode(dir.filePath("single.mp3"), s, 9, 0);
    const Encoded neighbour = encode(dir.filePath("neighbour.mp3"), s, 6, 0);
    const Encoded par = encode(dir.filePath("parallel.mp3"), s, 9, SmallChunk);
    ASSERT_TRUE(single.decoded.ok && neighbour.decoded.ok && par.decoded.ok);

    EXPECT_EQ(par.decoded.frames(), int(s.size() / 2)) << "gapless, exact length";
    EXPECT_EQ(par.bytes.size(), single.bytes.size()) << "every frame the size of a single encode";
    const int expectedJoins = int(s.size() / 2 / (SmallChunk * 1152.0) - 0.01);
    EXPECT_EQ(int(par.joins.size()) + par.serialJoins, std::max(0, expectedJoins));

    // Info tag: counts, delay and padding as the single encoder writes them;
    // music CRC over the audio frames, tag CRC over the tag.
    const int x = par.bytes.indexOf("Info");
    ASSERT_EQ(x, single.bytes.indexOf("Info"));
    const int lame = x + 120;
    EXPECT_EQ(big(par.bytes, x + 8, 4), big(single.bytes, x + 8, 4)) << "frames";
    EXPECT_EQ(big(par.bytes, x + 12, 4), std::uint32_t(par.bytes.size())) << "bytes";
    EXPECT_EQ(big(par.bytes, lame + 21, 3), big(single.bytes, lame + 21, 3)) << "delay, padding";
    EXPECT_EQ(big(par.bytes, lame + 28, 4), std::uint32_t(par.bytes.size())) << "music length";
    const auto *raw = reinterpret_cast<const std::uint8_t *>(par.bytes.constData());
    mp3frame::Frame tagFrame;
    ASSERT_TRUE(mp3frame::parse(raw, std::size_t(par.bytes.size()), &tagFrame));
    const int tagBytes = tagFrame.bytes;
    EXPECT_EQ(big(par.bytes, lame + 32, 2),
              mp3frame::crc16(raw + tagBytes, std::size_t(par.bytes.size() - tagBytes)))
        << "music CRC";
    EXPECT_EQ(big(par.bytes, lame + 34, 2), mp3frame::crc16(raw, std::size_t(lame + 34)));

    const int singleJump = maxJump(single.decoded, 0, SIZE_MAX);
    if (c.make == silence) {
        EXPECT_LE(maxJump(par.decoded, 0, SIZE_MAX), 2) << "silence stays silent";
        return;
    }
    // Overall, and in one second around each join.
    const double bound = std::abs(snr(s, single.decoded) - snr(s, neighbour.decoded)) + 0.1;
    EXPECT_GE(snr(s, par.decoded), snr(s, single.decoded) - bound);
    for (long long join : par.joins) {
        const std::size_t at = std::size_t(join * 1152 - DecoderDelay) * 2;
        const std::size_t from = at - Rate, to = at + Rate;
        const double window = std::abs(snr(s, single.decoded, from, to)
                                       - snr(s, neighbour.decoded, from, to))
                              + 0.5;
        EXPECT_GE(snr(s, par.decoded, from, to), snr(s, single.decoded, from, to) - window)
            << "around the join at frame " << join;
        EXPECT_LE(maxJump(par.decoded, at - 4 * 1152, at + 4 * 1152), singleJump)
            << "click at the join at frame " << join;
    }
}

const SignalCase signalCases[] = {
    {"sweep", sweep, 20.0},
    {"noise", noise, 12.0},
    {"bursts", bursts, 12.0},
    {"silence", silence, 8.0},
    {"tenth_of_a_second", sweep, 0.1},
    {"shorter_than_a_chunk", noise, 2.0},
};
INSTANTIATE_TEST_SUITE_P(Signals, ParallelMp3, ::testing::ValuesIn(signalCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
