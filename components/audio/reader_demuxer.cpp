#include "components/audio/reader_demuxer.h"

extern "C" {
#include <libavutil/intreadwrite.h>
}

#include <QFile>
#include <QFileInfo>
#include <mutex>

namespace components::reader {

namespace {

void quietLibraries()
{
    // Damage is reported through ErrorCode; the libraries' console chatter
    // would only reach a terminal nobody reads.
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// "file:" keeps a name such as "concat:a|b" or "http:x" a plain file name,
// and the whitelist keeps a playlist-like container from opening others.
FormatPtr openInput(const QString &fileName)
{
    const QByteArray url = "file:" + QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext *raw = nullptr;
    const int rc = avformat_open_input(&raw, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (rc < 0)
        return nullptr;
    FormatPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return nullptr;
    return format;
}

bool usable(const AVCodecParameters *p)
{
    return p->sample_rate > 0 && p->ch_layout.nb_channels > 0 && avcodec_find_decoder(p->codec_id);
}

} // namespace

int Demuxer::readPacket(AVPacket *packet) const
{
    for (;;) {
        const int rc = av_read_frame(format.get(), packet);
        if (rc < 0 || packet->stream_index == stream->index)
            return rc;
        av_packet_unref(packet);
    }
}

Demuxer openDemuxer(const QString &fileName)
{
    quietLibraries();
    Demuxer demuxer;
    demuxer.format = openInput(fileName);
    if (!demuxer.format)
        return {};
    AVFormatContext *format = demuxer.format.get();
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0 || !usable(format->streams[index]->codecpar))
        return {};
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    demuxer.stream = format->streams[index];
    return demuxer;
}

bool isWma(const Demuxer &demuxer)
{
    switch (demuxer.stream->codecpar->codec_id) {
    case AV_CODEC_ID_WMAV1:
    case AV_CODEC_ID_WMAV2:
    case AV_CODEC_ID_WMAPRO:
    case AV_CODEC_ID_WMALOSSLESS:
    case AV_CODEC_ID_WMAVOICE:
        return true;
    default:
        return qstrcmp(demuxer.format->iformat->name, "asf") == 0;
    }
}

int64_t declaredFrames(const Demuxer &demuxer)
{
    const AVStream *s = demuxer.stream;
    if (demuxer.format->duration_estimation_method != AVFMT_DURATION_FROM_STREAM
        || s->duration == AV_NOPTS_VALUE)
        return -1;
    return av_rescale_q(s->duration, s->time_base, AVRational{1, demuxer.sampleRate()});
}

PacketCount countPackets(const QString &fileName)
{
    const Demuxer demuxer = openDemuxer(fileName);
    PacketPtr packet(av_packet_alloc());
    if (!demuxer.isOpen() || !packet)
        return {-1, -1};
    int64_t ticks = 0;
    int64_t trimmed = 0;
    while (demuxer.readPacket(packet.get()) >= 0) {
        if (packet->duration <= 0)
            return {-1, -1};
        ticks += packet->duration;
        size_t size = 0;
        const uint8_t *skip = av_packet_get_side_data(packet.get(), AV_PKT_DATA_SKIP_SAMPLES, &size);
        if (skip && size >= 8)
            trimmed += int64_t(AV_RL32(skip)) + AV_RL32(skip + 4);
        av_packet_unref(packet.get());
    }
    const int64_t raw = av_rescale_q(ticks, demuxer.stream->time_base, AVRational{1, demuxer.sampleRate()});
    return {std::max<int64_t>(0, raw - trimmed), raw};
}

} // namespace components::reader
