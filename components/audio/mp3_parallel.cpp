#include "components/audio/mp3_parallel.h"

#include "components/audio/mpeg_format.h"
#include "components/audio/output_file.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <numeric>
#include <system_error>
#include <thread>

namespace components {

namespace {
constexpr int ChunkSeconds = 24;
constexpr int MinWarmupFrames = 16;
constexpr int FastestLame = 9;
// More would only hold more chunks in memory for little gain: the writer
// thread and the joins are serial.
constexpr int MaxThreads = 4;

struct Lame {
    lame_t p = lame_init();
    ~Lame()
    {
        if (p)
            lame_close(p);
    }
};

long long roundUp(long long n, long long step)
{
    return (n + step - 1) / step * step;
}

// Frames after which LAME's CBR padding repeats: frames must start on this
// period for a chunk's frame sizes to match a single encode.
int paddingPeriod(int rate, int kbps)
{
    const long long perSlot = rate >= 32000 ? 144000 : 72000;
    const int frac = int(perSlot * kbps % rate);
    return frac == 0 ? 1 : rate / std::gcd(frac, rate);
}

void putBig(std::uint8_t *p, std::uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        p[i] = std::uint8_t(v);
}
} // namespace

// LAME run at its fastest on the whole stream only for its ReplayGain analysis
// (which it makes of the input, whatever the bit rate and quality).
struct Mp3ParallelSink::GainAnalysis {
    Lame lame;
    std::vector<unsigned char> sink =
        std::vector<unsigned char>(std::size_t(Mp3BlockFrames) * 5 / 4 + Mp3FlushBytes);

    bool start(Mp3Settings settings, int rate, int channels)
    {
        settings.bitrate = mpeg::snapBitrate(1, rate);
        return lame.p && configureLame(lame.p, settings, rate, channels, false, FastestLame);
    }
    bool add(const float *samples, long long frames, int channels)
    {
        for (long long done = 0; done < frames; done += Mp3BlockFrames) {
            const int n = int(std::min<long long>(Mp3BlockFrames, frames - done));
            if (encodeLame(lame.p, samples + done * channels, n, channels, sink.data(),
                           int(sink.size()))
                < 0)
                return false;
        }
        return true;
    }
    // The radio gain field of the info tag (name code radio, set automatically).
    bool field(std::uint16_t *value)
    {
        if (lame_encode_flush(lame.p, sink.data(), int(sink.size())) < 0)
            return false;
        const int gain = lame_get_RadioGain(lame.p);
        *value = std::uint16_t(0x2C00 | (gain < 0 ? 0x200 | -gain : gain));
        return true;
    }
};

struct Mp3ParallelSink::Chunk {
    long long first = 0;    // frame number of the encoder's first frame
    long long boundary = 0; // first frame of the next chunk
    bool last = false;
    bool tagged = false;    // the stream's first chunk: its encoder reserves the info tag
    std::vector<float> input;

    bool ok = false;
    EncodedRun run;
    std::vector<std::uint8_t> tag;
    std::future<void> done;

    void encode(const Mp3Settings &settings, int rate, int channels);
};

void Mp3ParallelSink::Chunk::encode(const Mp3Settings &settings, int rate, int channels)
{
    Lame lame;
    if (!lame.p || !configureLame(lame.p, settings, rate, channels, tagged))
        return;
    std::vector<unsigned char> out;
    std::vector<unsigned char> buffer(std::size_t(Mp3BlockFrames) * 5 / 4 + Mp3FlushBytes);
    const long long frames = (long long)input.size() / channels;
    for (long long done = 0; done < frames; done += Mp3BlockFrames) {
        const int n = int(std::min<long long>(Mp3BlockFrames, frames - done));
        const int bytes = encodeLame(lame.p, input.data() + done * channels, n, channels,
                                     buffer.data(), int(buffer.size()));
        if (bytes < 0)
            return;
        out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    const int bytes = lame_encode_flush(lame.p, buffer.data(), int(buffer.size()));
    if (bytes < 0)
        return;
    out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    // The info tag's frame leads the output, unless LAME left the tag out
    // (a frame too small to hold it).
    const std::size_t skip = tagged ? lame_get_lametag_frame(lame.p, nullptr, 0) : 0;
    tag.resize(skip);
    if (skip > out.size() || (skip && lame_get_lametag_frame(lame.p, tag.data(), skip) != skip))
        return;
    run.first = first;
    ok = run.split(out.data() + skip, out.size() - skip);
}

std::unique_ptr<AudioSink> createMp3Sink(OutputFile &out, const Mp3Settings &settings, int inRate,
                                         int inChannels)
{
    const int threads = int(std::thread::hardware_concurrency());
    if (threads >= 2) {
        if (auto sink = Mp3ParallelSink::create(out, settings, inRate, inChannels, threads))
            return sink;
    }
    return Mp3Sink::create(out, settings, inRate, inChannels);
}

std::unique_ptr<Mp3ParallelSink> Mp3ParallelSink::create(OutputFile &out,
                                                         const Mp3Settings &settings, int inRate,
                                                         int inChannels, int threads,
                                                         int chunkFrames)
{
    if (!settings.supported() || threads < 2)
        return nullptr;
    Lame probe;
    if (!probe.p || !configureLame(probe.p, settings, inRate, inChannels, true)
        || lame_get_out_samplerate(probe.p) != inRate || lame_get_VBR(probe.p) != vbr_off)
        return nullptr;
    Geometry g;
    g.frameSamples = lame_get_framesize(probe.p);
    const int period = paddingPeriod(inRate, lame_get_brate(probe.p));
    g.warmup = int(roundUp(MinWarmupFrames, period));
    const long long wanted = chunkFrames > 0 ? chunkFrames
                                             : (long long)ChunkSeconds * inRate / g.frameSamples;
    g.chunkFrames = int(roundUp(std::max<long long>(wanted, g.warmup + g.overlap), period));
    std::unique_ptr<Mp3ParallelSink> sink(
        new Mp3ParallelSink(out, settings, inRate, inChannels, threads, g));
    if (settings.replayGain) {
        sink->gain_ = std::make_unique<GainAnalysis>();
        if (!sink->gain_->start(settings, inRate, inChannels))
            return nullptr;
        sink->settings_.replayGain = false; // the chunks' encoders need not analyse
    }
    return sink;
}

Mp3ParallelSink::Mp3ParallelSink(OutputFile &out, const Mp3Settings &settings, int inRate,
                                 int inChannels, int threads, Geometry geometry)
    : out_(out), settings_(settings), rate_(inRate), channels_(inChannels),
      maxChunks_(std::min(threads, MaxThreads) + 1), geometry_(geometry), writer_(out)
{
}

Mp3ParallelSink::~Mp3ParallelSink() = default;

long long Mp3ParallelSink::chunkFirst(long long k) const
{
    return k == 0 ? 0 : k * geometry_.chunkFrames - geometry_.warmup;
}

long long Mp3ParallelSink::inputEnd(long long k) const
{
    return ((k + 1) * geometry_.chunkFrames + geometry_.overlap + geometry_.margin)
           * geometry_.frameSamples;
}

bool Mp3ParallelSink::write(const float *samples, int frames)
{
    if (failed_)
        return false;
    if (gain_ && !gain_->add(samples, frames, channels_)) {
        failed_ = true;
        return false;
    }
    pending_.insert(pending_.end(), samples, samples + std::size_t(frames) * std::size_t(channels_));
    received_ += frames;
    while (!failed_ && received_ >= inputEnd(nextChunk_)) {
        while (!failed_ && (int)chunks_.size() >= maxChunks_)
            failed_ = !joinFront();
        launch(false);
    }
    return !failed_;
}

void Mp3ParallelSink::launch(bool last)
{
    auto chunk = std::make_unique<Chunk>();
    const long long k = nextChunk_++;
    chunk->first = chunkFirst(k);
    chunk->boundary = (k + 1) * geometry_.chunkFrames;
    chunk->last = last;
    chunk->tagged = k == 0;
    const long long from = (chunk->first * geometry_.frameSamples - pendingFirst_) * channels_;
    const long long to = last ? (long long)pending_.size()
                              : (inputEnd(k) - pendingFirst_) * channels_;
    chunk->input.assign(pending_.begin() + from, pending_.begin() + to);
    if (!last) {
        // The next chunk starts with its warm-up, before this one's end.
        const long long keep = chunkFirst(k + 1) * geometry_.frameSamples;
        pending_.erase(pending_.begin(), pending_.begin() + (keep - pendingFirst_) * channels_);
        pendingFirst_ = keep;
    }
    Chunk *c = chunk.get();
    try {
        c->done = std::async(std::launch::async,
                             [c, this] { c->encode(settings_, rate_, channels_); });
    } catch (const std::system_error &) {
        c->encode(settings_, rate_, channels_); // no thread to be had: encode here
    }
    chunks_.push_back(std::move(chunk));
}

// Writes the front chunk's frames up to where the next chunk takes over.
bool Mp3ParallelSink::joinFront()
{
    Chunk &left = *chunks_[0];
    Chunk &right = *chunks_[1];
    for (Chunk *c : {&left, &right})
        if (c->done.valid())
            c->done.wait();
    if (!left.ok || !right.ok)
        return false;
    const int room = advanceRoom(left.run, cursor_, left.boundary, writer_.room());
    const long long join = room < 0 ? -1
                                    : chooseJoin(left.run, right.run, left.boundary,
                                                 left.boundary + geometry_.overlap, room,
                                                 right.last);
    if (join < 0) {
        // No join holds: one encoder runs on through both chunks. Its frames
        // up to here are the left encoder's, bit for bit.
        const long long leftEnd =
            left.first * geometry_.frameSamples + (long long)left.input.size() / channels_;
        const long long skip = (leftEnd - right.first * geometry_.frameSamples) * channels_;
        left.input.insert(left.input.end(), right.input.begin() + skip, right.input.end());
        right.input = std::move(left.input);
        right.first = left.first;
        right.tagged = left.tagged;
        right.run = EncodedRun();
        right.encode(settings_, rate_, channels_);
        ++serialJoins_;
        if (!right.ok)
            return false;
    } else {
        joins_.push_back(join);
        if (!place(left, join))
            return false;
    }
    chunks_.pop_front();
    return true;
}

bool Mp3ParallelSink::place(const Chunk &chunk, long long to)
{
    if (!tagReserved_) {
        // The info tag goes over this space once the stream is complete.
        tagReserved_ = true;
        tag_ = chunk.tag;
        const std::vector<std::uint8_t> zeros(tag_.size(), 0);
        if (!out_.append(zeros.data(), zeros.size()))
            return false;
    }
    for (; cursor_ < to; ++cursor_)
        if (!writer_.add(chunk.run, cursor_))
            return false;
    return true;
}

bool Mp3ParallelSink::finish()
{
    if (failed_)
        return false;
    if (received_ == 0) {
        // A stream without one audio frame is refused by decoders.
        const float silence[2] = {0.0f, 0.0f};
        if (gain_ && !gain_->add(silence, 1, channels_))
            return false;
        pending_.assign(silence, silence + channels_);
        received_ = 1;
    }
    launch(true);
    while (chunks_.size() > 1)
        if (!joinFront())
            return false;
    Chunk &last = *chunks_[0];
    if (last.done.valid())
        last.done.wait();
    const bool ok = last.ok && place(last, last.run.end()) && writer_.finish() && patchTag();
    chunks_.clear();
    return ok;
}

// The tag of the first chunk's encoder, made true for the whole stream.
bool Mp3ParallelSink::patchTag()
{
    if (tag_.empty())
        return true;
    std::uint8_t *t = tag_.data();
    const std::size_t n = tag_.size();
    std::size_t x = 0;
    while (x + 4 <= n && std::memcmp(t + x, "Info", 4) != 0 && std::memcmp(t + x, "Xing", 4) != 0)
        ++x;
    const std::size_t lame = x + 120; // after the flags, counts, seek table and quality
    if (lame + 36 > n || t[x + 7] != 0x0F)
        return false;
    const long long frames = writer_.frames();
    const long long fileBytes = out_.size();
    const int delay = (t[lame + 21] << 4) | (t[lame + 22] >> 4);
    const long long padding = frames * geometry_.frameSamples - delay - received_;
    if (padding < 0 || padding > 0xFFF)
        return false;
    putBig(t + x + 8, std::uint32_t(frames), 4);
    putBig(t + x + 12, std::uint32_t(fileBytes), 4);
    for (int i = 0; i < 100; ++i)
        t[x + 16 + i] = std::uint8_t(std::min(255, i * 256 / 100));
    std::uint16_t radioGain = 0;
    if (gain_ && !gain_->field(&radioGain))
        return false;
    if (gain_)
        putBig(t + lame + 15, radioGain, 2);
    putBig(t + lame + 21, std::uint32_t((delay << 12) | padding), 3);
    putBig(t + lame + 28, std::uint32_t(fileBytes), 4);
    putBig(t + lame + 32, writer_.crc(), 2);
    putBig(t + lame + 34, mp3frame::crc16(t, lame + 34), 2);
    return out_.overwrite(0, t, n);
}

} // namespace components
