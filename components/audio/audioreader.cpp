#include "components/audio/audioreader.h"

#include "components/audio/reader_demuxer.h"

extern "C" {
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <climits>
#include <cstring>

namespace components {

using namespace reader;

namespace {

struct CodecFree {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct SwrFree {
    void operator()(SwrContext *s) const { swr_free(&s); }
};

// A stream that keeps failing without delivering anything is given up on
// rather than spun on.
constexpr int MaxErrorsInRow = 1000;

AVChannelLayout orderedLayout(const AVChannelLayout &layout)
{
    AVChannelLayout result{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&result, &layout) < 0)
        av_channel_layout_default(&result, layout.nb_channels);
    return result;
}

std::unique_ptr<AVCodecContext, CodecFree> openDecoder(const AVStream *stream)
{
    const AVCodec *decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecFree> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return nullptr;
    codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return nullptr;
    return codec;
}

bool needsPacketCount(const Demuxer &demuxer)
{
    // MPEG audio headers count frames before the encoder's delay and padding
    // are trimmed, and a file without such a header only has an estimate.
    switch (demuxer.stream->codecpar->codec_id) {
    case AV_CODEC_ID_MP1:
    case AV_CODEC_ID_MP2:
    case AV_CODEC_ID_MP3:
        return true;
    default:
        return declaredFrames(demuxer) < 0;
    }
}

int64_t estimatedFrames(const Demuxer &demuxer)
{
    const AVStream *s = demuxer.stream;
    if (s->duration != AV_NOPTS_VALUE)
        return av_rescale_q(s->duration, s->time_base, AVRational{1, demuxer.sampleRate()});
    const int64_t us = demuxer.format->duration;
    return us == AV_NOPTS_VALUE ? 0 : av_rescale(us, demuxer.sampleRate(), AV_TIME_BASE);
}

int clampToInt(int64_t v)
{
    return int(std::clamp<int64_t>(v, 0, INT_MAX));
}

} // namespace

struct AudioReader::Impl {
    Demuxer demuxer;
    std::unique_ptr<AVCodecContext, CodecFree> codec;
    PacketPtr packet{av_packet_alloc()};
    std::unique_ptr<AVFrame, FrameFree> frame{av_frame_alloc()};

    std::unique_ptr<SwrContext, SwrFree> swr;
    int swrFormat = -1;
    int swrRate = 0;
    AVChannelLayout swrLayout{};
    AVChannelLayout outLayout{};

    // Converted samples of the latest frame not yet handed out.
    std::vector<float> pending;
    size_t pendingPos = 0;

    QString fileName;
    bool measured = false;
    int64_t length = 0; // valid once measured
    int frequency = 0;
    int channels = 0;
    int64_t delivered = 0;
    // Frames a frame-based codec may fall short of the header; none for PCM.
    bool frameBased = true;
    int64_t tolerance = 0;
    bool endsEarly = false; // the header promised more than the packets hold
    bool demuxEnded = false;
    bool decodeEnded = false;
    bool endChecked = false;
    bool damaged = false; // since the latest read
    bool damageReported = false;
    int errorsInRow = 0;

    ~Impl()
    {
        av_channel_layout_uninit(&swrLayout);
        av_channel_layout_uninit(&outLayout);
    }

    bool open(const QString &fileName, bool wmaEnabled);
    void measure();
    bool decodeNext();
    void feedDecoder();
    bool convert();
    bool prepareConverter();
    size_t take(float *out, size_t frames);
    void checkEnd();
};

bool AudioReader::Impl::open(const QString &fileName, bool wmaEnabled)
{
    demuxer = openDemuxer(fileName);
    if (!demuxer.isOpen() || (isWma(demuxer) && !wmaEnabled) || !packet || !frame)
        return false;
    codec = openDecoder(demuxer.stream);
    if (!codec)
        return false;
    frequency = demuxer.sampleRate();
    channels = demuxer.stream->codecpar->ch_layout.nb_channels;
    outLayout = orderedLayout(demuxer.stream->codecpar->ch_layout);
    frameBased = av_get_bits_per_sample(codec->codec_id) == 0;
    tolerance = frameBased ? codec->frame_size : 0;
    this->fileName = fileName;
    // Decoding the first frame now refuses a file that merely looks like audio.
    return decodeNext() || (decodeEnded && !damaged);
}

// Deferred until the length is asked for: listing a file needs only its
// format, and counting the packets of a long MP3 takes a while.
void AudioReader::Impl::measure()
{
    if (measured || !codec)
        return;
    measured = true;
    const int64_t declared = declaredFrames(demuxer);
    length = declared;
    if (!needsPacketCount(demuxer))
        return;
    const PacketCount count = countPackets(fileName);
    if (count.frames < 0) {
        length = estimatedFrames(demuxer);
        return;
    }
    length = count.frames;
    endsEarly = declared >= 0 && count.rawFrames + tolerance < declared;
}

bool AudioReader::Impl::decodeNext()
{
    while (!decodeEnded && errorsInRow < MaxErrorsInRow) {
        const int rc = avcodec_receive_frame(codec.get(), frame.get());
        if (rc == 0) {
            const bool corrupt = frame->decode_error_flags || (frame->flags & AV_FRAME_FLAG_CORRUPT);
            damaged = damaged || corrupt;
            const bool got = convert();
            av_frame_unref(frame.get());
            if (got) {
                errorsInRow = 0;
                return true;
            }
        } else if (rc == AVERROR_EOF || (rc == AVERROR(EAGAIN) && demuxEnded)) {
            decodeEnded = true;
        } else if (rc == AVERROR(EAGAIN)) {
            feedDecoder();
        } else {
            damaged = true;
            ++errorsInRow;
        }
    }
    decodeEnded = true;
    return false;
}

void AudioReader::Impl::feedDecoder()
{
    const int rc = demuxer.readPacket(packet.get());
    if (rc < 0) {
        // A read error other than the end is a source cut short.
        damaged = damaged || rc != AVERROR_EOF;
        demuxEnded = true;
        avcodec_send_packet(codec.get(), nullptr);
        return;
    }
    if (avcodec_send_packet(codec.get(), packet.get()) < 0) {
        damaged = true;
        ++errorsInRow;
    }
    av_packet_unref(packet.get());
}

bool AudioReader::Impl::prepareConverter()
{
    AVChannelLayout in = orderedLayout(frame->ch_layout);
    const bool same = swr && frame->format == swrFormat && frame->sample_rate == swrRate
        && av_channel_layout_compare(&in, &swrLayout) == 0;
    if (same) {
        av_channel_layout_uninit(&in);
        return true;
    }
    SwrContext *raw = nullptr;
    const AVSampleFormat format = AVSampleFormat(frame->format);
    const bool made = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_FLT, frequency, &in, format,
                                          frame->sample_rate, 0, nullptr) >= 0;
    swr.reset(raw);
    av_channel_layout_uninit(&swrLayout);
    swrLayout = in;
    swrFormat = frame->format;
    swrRate = frame->sample_rate;
    if (made && swr_init(swr.get()) >= 0)
        return true;
    swr.reset();
    return false;
}

bool AudioReader::Impl::convert()
{
    if (frame->nb_samples <= 0 || !prepareConverter()) {
        damaged = damaged || frame->nb_samples < 0;
        return false;
    }
    const int room = swr_get_out_samples(swr.get(), frame->nb_samples);
    pending.resize(size_t(std::max(room, 0)) * size_t(channels));
    auto *out = reinterpret_cast<uint8_t *>(pending.data());
    const int got = swr_convert(swr.get(), &out, room, const_cast<const uint8_t **>(frame->extended_data),
                                frame->nb_samples);
    pending.resize(size_t(std::max(got, 0)) * size_t(channels));
    pendingPos = 0;
    damaged = damaged || got < 0;
    if (frameBased)
        tolerance = std::max<int64_t>(tolerance, got);
    return got > 0;
}

size_t AudioReader::Impl::take(float *out, size_t frames)
{
    const size_t n = std::min(frames * channels, pending.size() - pendingPos);
    std::memcpy(out, pending.data() + pendingPos, n * sizeof(float));
    pendingPos += n;
    return n / channels;
}

void AudioReader::Impl::checkEnd()
{
    if (endChecked)
        return;
    endChecked = true;
    measure();
    // Frames lost to damage already reported also leave the end short.
    const bool endsShort = endsEarly || delivered + tolerance < length;
    damaged = damaged || (endsShort && !damageReported);
}

AudioReader::AudioReader() : d(std::make_unique<Impl>()) {}

AudioReader::~AudioReader() = default;

bool AudioReader::open(const QString &fileName, bool wmaEnabled)
{
    close();
    if (d->open(fileName, wmaEnabled))
        return true;
    close();
    return false;
}

void AudioReader::close()
{
    if (d->codec || d->demuxer.isOpen())
        d = std::make_unique<Impl>();
}

bool AudioReader::isOpen() const
{
    return d->codec != nullptr;
}

SampleBlock AudioReader::read(int frames, bool *damaged)
{
    *damaged = !isOpen();
    if (!isOpen())
        return {};
    const size_t want = size_t(frames > 0 ? frames : d->frequency);
    d->measure();
    const int64_t expected = std::max<int64_t>(d->length - d->delivered, 0);
    SampleBlock block;
    block.channels = d->channels;
    block.samples.resize(std::min<size_t>(want, size_t(expected) + 1) * size_t(d->channels));
    size_t got = 0;
    while (got < want) {
        if (d->pendingPos == d->pending.size() && !d->decodeNext())
            break;
        if ((got + 1) * size_t(d->channels) > block.samples.size())
            block.samples.resize(std::min(want, 2 * got + 1) * size_t(d->channels));
        const size_t room = block.samples.size() / size_t(d->channels) - got;
        got += d->take(block.samples.data() + got * size_t(d->channels), room);
    }
    block.samples.resize(got * size_t(d->channels));
    d->delivered += int64_t(got);
    // A header that undercounts must not make the pipeline stop short.
    d->length = std::max(d->length, d->delivered);
    if (got < want)
        d->checkEnd();
    *damaged = d->damaged;
    d->damageReported = d->damageReported || d->damaged;
    d->damaged = false;
    return block;
}

int AudioReader::length() const
{
    d->measure();
    return clampToInt(d->length);
}

int AudioReader::frequency() const
{
    return d->frequency;
}

int AudioReader::channels() const
{
    return d->channels;
}

// Of the Length reported, so that Length / Duration stays the sample rate.
int AudioReader::durationMs() const
{
    d->measure();
    return d->frequency > 0 ? clampToInt(av_rescale(clampToInt(d->length), 1000, d->frequency)) : 0;
}

int AudioReader::outChannels() const
{
    return d->channels;
}

int AudioReader::outFrequency() const
{
    return d->frequency;
}

} // namespace components
