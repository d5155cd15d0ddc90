#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QString>
#include <cstdint>
#include <memory>

namespace components::reader {

struct FormatCloser {
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct PacketFree {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

// A container opened for reading with its best audio stream; every other
// stream (cover art, video) is discarded by the demuxer.
struct Demuxer {
    FormatPtr format;
    AVStream *stream = nullptr;

    bool isOpen() const { return stream != nullptr; }
    int sampleRate() const { return stream->codecpar->sample_rate; }
    // The next packet of the audio stream: 0, AVERROR_EOF or another error.
    int readPacket(AVPacket *packet) const;
};

// Not open when the file is missing, unreadable or holds no usable audio stream.
Demuxer openDemuxer(const QString &fileName);

// Windows Media audio by its codec or its ASF container, whatever the name.
bool isWma(const Demuxer &demuxer);

// The stream's sample frames as its header states them; -1 when unknown.
int64_t declaredFrames(const Demuxer &demuxer);

struct PacketCount {
    int64_t frames = 0;    // after gapless trimming: what a decoder delivers
    int64_t rawFrames = 0; // the packets' own durations
};

// Counts a stream's frames from its packets without decoding them, for
// containers whose header does not know the exact length. -1 frames when a
// packet lacks a duration.
PacketCount countPackets(const QString &fileName);

} // namespace components::reader
