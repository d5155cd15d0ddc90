#include "components/audio/audiowriter.h"
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

constexpr int SmallChunk = 98; // frames: 2.6 s at 44.1 kHz, so a 20 s signal has several joins
constexpr int DecoderDelay = 576 + 529;

struct Signal {
    int rate = 44100;
    int channels = 2;
    std::vector<float> samples; // interleaved
    int frames() const { return int(samples.size()) / channels; }
};

Signal sweep(double seconds, int rate, int channels)
{
    Signal s{rate, channels, std::vector<float>(std::size_t(seconds * rate) * std::size_t(channels))};
    const double f0 = 30.0, f1 = rate * 0.36, k = std::log(f1 / f0) / seconds;
    for (int i = 0; i < s.frames(); ++i) {
        const double t = double(i) / rate;
        const double phase = 2 * M_PI * f0 * (std::exp(k * t) - 1) / k;
        for (int c = 0; c < channels; ++c)
            s.samples[std::size_t(i * channels + c)] = float((0.5 - 0.1 * c) * std::sin(phase + c));
    }
    return s;
}

Signal noise(double seconds, int rate, int channels)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> u(-0.3f, 0.3f);
    Signal s{rate, channels, std::vector<float>(std::size_t(seconds * rate) * std::size_t(channels))};
    for (float &v : s.samples)
        v = u(gen);
    return s;
}

// Noise bursts of 20 ms, four a second: transients make the encoder switch
// to short windows, also around the joins.
Signal bursts(double seconds, int rate, int channels)
{
    Signal s = noise(seconds, rate, channels);
    for (int i = 0; i < s.frames(); ++i)
        if (i % (rate / 4) > rate / 50)
            for (int c = 0; c < channels; ++c)
                s.samples[std::size_t(i * channels + c)] =
                    0.02f * float(std::sin(2 * M_PI * 300.0 * i / rate));
    return s;
}

Signal silence(double seconds, int rate, int channels)
{
    return {rate, channels, std::vector<float>(std::size_t(seconds * rate) * std::size_t(channels))};
}

struct Encoded {
    QByteArray bytes;
    Decoded decoded;
    std::vector<long long> joins;
    int serialJoins = 0;
    int frameSamples = 0;
};

// chunkFrames 0: the single encoder.
Encoded encode(const QString &path, const Signal &s, int bitrate, int quality, int chunkFrames,
               bool replayGain = false)
{
    Mp3Settings settings;
    settings.bitrate = bitrate;
    settings.replayGain = replayGain;
    settings.quality = quality;
    Encoded e;
    OutputFile out(path);
    if (!out.open())
        return e;
    std::unique_ptr<AudioSink> sink;
    Mp3ParallelSink *parallel = nullptr;
    if (chunkFrames) {
        auto p = Mp3ParallelSink::create(out, settings, s.rate, s.channels, 2, chunkFrames);
        parallel = p.get();
        sink = std::move(p);
    } else {
        sink = Mp3Sink::create(out, settings, s.rate, s.channels);
    }
    if (!sink)
        return e;
    for (int at = 0; at < s.frames(); at += 10000)
        if (!sink->write(s.samples.data() + std::size_t(at * s.channels),
                         std::min(10000, s.frames() - at)))
            return e;
    if (!sink->finish() || !out.commit())
        return e;
    if (parallel) {
        e.joins = parallel->joins();
        e.serialJoins = parallel->serialJoins();
        e.frameSamples = parallel->frameSamples();
    }
    e.bytes = readAll(path);
    e.decoded = decode(path);
    return e;
}

double snr(const Signal &s, const Decoded &d, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    to = std::min({to, s.samples.size(), d.samples.size()});
    double sig = 0, err = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double x = s.samples[i], y = d.samples[i] / 32768.0;
        sig += x * x;
        err += (x - y) * (x - y);
    }
    return 10 * std::log10(sig / std::max(err, 1e-12));
}

int maxJump(const Decoded &d, std::size_t from, std::size_t to)
{
    int worst = 0;
    to = std::min(to, d.samples.size());
    for (std::size_t i = std::max(from, std::size_t(d.channels)); i < to; ++i)
        worst = std::max(worst, std::abs(d.samples[i] - d.samples[i - std::size_t(d.channels)]));
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
    Signal (*make)(double, int, int);
    double seconds;
    int rate = 44100;
    int channels = 2;
    int bitrate = 128;
    bool replayGain = false;
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
    const Signal s = c.make(c.seconds, c.rate, c.channels);
    QTemporaryDir dir;
    const Encoded single = encode(dir.filePath("single.mp3"), s, c.bitrate, 9, 0, c.replayGain);
    const Encoded neighbour = encode(dir.filePath("neighbour.mp3"), s, c.bitrate, 6, 0);
    const Encoded par =
        encode(dir.filePath("parallel.mp3"), s, c.bitrate, 9, SmallChunk, c.replayGain);
    ASSERT_TRUE(single.decoded.ok && neighbour.decoded.ok && par.decoded.ok);

    const bool tagged = single.bytes.left(200).contains("Info");
    // Without the tag the decoder cannot know the delay: then as long as the single encode.
    EXPECT_EQ(par.decoded.frames(), tagged ? s.frames() : single.decoded.frames())
        << "gapless, exact length";
    EXPECT_EQ(par.bytes.size(), single.bytes.size()) << "every frame the size of a single encode";
    const int chunks = int(std::ceil(double(s.frames()) / (SmallChunk * par.frameSamples)));
    EXPECT_EQ(int(par.joins.size()) + par.serialJoins, chunks - 1);

    // Info tag: counts, delay and padding as the single encoder writes them;
    // music CRC over the audio frames, tag CRC over the tag.
    const int x = par.bytes.indexOf("Info");
    ASSERT_EQ(x, single.bytes.indexOf("Info"));
    if (x < 0)
        return; // frames too small for the tag: LAME writes none
    const int lame = x + 120;
    EXPECT_EQ(big(par.bytes, x + 8, 4), big(single.bytes, x + 8, 4)) << "frames";
    EXPECT_EQ(big(par.bytes, x + 12, 4), std::uint32_t(par.bytes.size())) << "bytes";
    // Encoder, ReplayGain, flags, delay and padding, preset: as the single encoder wrote them.
    EXPECT_EQ(par.bytes.mid(lame, 28).toHex(), single.bytes.mid(lame, 28).toHex());
    EXPECT_EQ(big(par.bytes, lame + 28, 4), std::uint32_t(par.bytes.size())) << "music length";
    const auto *raw = reinterpret_cast<const std::uint8_t *>(par.bytes.constData());
    mp3frame::Frame tagFrame;
    ASSERT_TRUE(mp3frame::parse(raw, std::size_t(par.bytes.size()), &tagFrame));
    const int tagBytes = tagFrame.bytes;
    EXPECT_EQ(big(par.bytes, lame + 32, 2),
              mp3frame::crc16(raw + tagBytes, std::size_t(par.bytes.size() - tagBytes)))
        << "music CRC";
    EXPECT_EQ(big(par.bytes, lame + 34, 2), mp3frame::crc16(raw, std::size_t(lame + 34)));

    if (c.make == silence) {
        EXPECT_LE(maxJump(par.decoded, 0, SIZE_MAX), 2) << "silence stays silent";
        return;
    }
    // Overall, and in one second around each join.
    const double bound = std::abs(snr(s, single.decoded) - snr(s, neighbour.decoded)) + 0.1;
    EXPECT_GE(snr(s, par.decoded), snr(s, single.decoded) - bound);
    const std::size_t ch = std::size_t(s.channels);
    for (long long join : par.joins) {
        const std::size_t at = std::size_t(join * par.frameSamples - DecoderDelay) * ch;
        const std::size_t from = at - std::size_t(s.rate) * ch, to = at + std::size_t(s.rate) * ch;
        const double window = std::abs(snr(s, single.decoded, from, to)
                                       - snr(s, neighbour.decoded, from, to))
                              + 0.5;
        EXPECT_GE(snr(s, par.decoded, from, to), snr(s, single.decoded, from, to) - window)
            << "around the join at frame " << join;
        // A click: a step larger than the single encode has there.
        const std::size_t near = 4 * std::size_t(par.frameSamples) * ch;
        const int own = maxJump(single.decoded, at - near, at + near);
        EXPECT_LE(maxJump(par.decoded, at - near, at + near), own + std::max(16, own / 10))
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
    {"mono_22050", sweep, 12.0, 22050, 1},
    {"no_room_for_the_tag", sweep, 8.0, 44100, 2, 32},
    {"replaygain_of_the_whole_stream", bursts, 12.0, 44100, 2, 128, true},
};
INSTANTIATE_TEST_SUITE_P(Signals, ParallelMp3, ::testing::ValuesIn(signalCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A writer closed early (Stop) on the default path, past a chunk join:
// a valid file of exactly what was written.
TEST(ParallelMp3Writer, EarlyCloseLeavesAValidShorterFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("stopped.mp3");
    AudioWriter writer;
    writer.encoder()->SetEncoderBitrate(128);
    ASSERT_TRUE(writer.create(path));
    ASSERT_TRUE(writer.setInputFormat(44100, 2));
    const int written = 30 * 44100 + 777; // of a minute
    ASSERT_TRUE(feed(writer, 44100, {0.5f, 0.3f}, written, 4410));
    ASSERT_TRUE(writer.close());

    EXPECT_TRUE(readAll(path).left(200).contains("Info"));
    const Decoded d = decode(path);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.frames(), written);
    EXPECT_NEAR(d.peak(0), 0.5, 0.05);
}

mp3frame::Frame frame(int mainDataBegin, int mainDataBytes, int blockType = 0)
{
    mp3frame::Frame f;
    f.bytes = 417;
    f.sideInfoOffset = 4;
    f.sideInfoBytes = 32; // payload 381 bytes
    f.maxBack = 511;
    f.channels = 2;
    f.mainDataBegin = mainDataBegin;
    f.mainDataBits = mainDataBytes * 8;
    f.lastBlockType[0] = f.lastBlockType[1] = blockType;
    return f;
}

EncodedRun run(long long first, const std::vector<mp3frame::Frame> &frames)
{
    EncodedRun r;
    r.first = first;
    r.frames = frames;
    return r;
}

// Where the next encoder may take over, from frame 10 on, with `room` bytes
// of reservoir behind frame 10; -1 sends the stretch to one encoder.
TEST(ParallelMp3Join, TakesOverWhereWindowsAgreeAndTheReservoirHolds)
{
    const std::vector<mp3frame::Frame> plain(20, frame(0, 381));
    struct Case {
        const char *name;
        std::vector<mp3frame::Frame> right; // frames 5..24
        int room;
        bool rightIsLast;
        long long expected;
    } cases[] = {
        {"room_enough", plain, 100, false, 10},
        {"windows_differ_before_10", [&] {
             auto r = plain;
             r[4] = frame(0, 381, 2); // frame 9 short in right, long in left
             return r;
         }(), 100, false, 11},
        {"reservoir_too_small", std::vector<mp3frame::Frame>(20, frame(300, 681)), 100, false, -1},
        {"never_as_roomy_not_last", std::vector<mp3frame::Frame>(20, frame(200, 381)), 100, false,
         -1},
        {"never_as_roomy_but_all_fit_to_the_end",
         std::vector<mp3frame::Frame>(20, frame(200, 381)), 100, true, 10},
    };
    const EncodedRun left = run(0, plain);
    for (const Case &c : cases)
        EXPECT_EQ(chooseJoin(left, run(5, c.right), 10, 18, c.room, c.rightIsLast), c.expected)
            << c.name;
}

} // namespace
