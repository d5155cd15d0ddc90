#include "components/audio/mp3_sink.h"

#include "components/audio/mpeg_format.h"
#include "components/audio/output_file.h"

#include <lame/lame.h>

#include <algorithm>

namespace components {

namespace {
constexpr int ChunkFrames = 8192;
// LAME's rule for the worst case output of one call, in bytes.
constexpr int FlushBytes = 7200;

bool configure(lame_t lame, const Mp3Settings &s, int inRate, int inChannels)
{
    const int outRate = s.sampleRate ? s.sampleRate : mpeg::nearestRate(inRate);
    // A mono input asked for in stereo is fed to both sides: LAME alone would
    // quietly fall back to mono. A stereo input asked for in mono LAME mixes.
    const int lameChannels = s.mode == 2 || s.mode == 3 ? 2 : inChannels;
    bool ok = lame_set_num_channels(lame, lameChannels) == 0
              && lame_set_in_samplerate(lame, inRate) == 0
              && lame_set_out_samplerate(lame, outRate) == 0
              && lame_set_quality(lame, mpeg::lameQuality(s.quality)) == 0
              && lame_set_findReplayGain(lame, s.replayGain ? 1 : 0) == 0
              && lame_set_bWriteVbrTag(lame, 1) == 0;
    if (ok && s.mode != 0) {
        const MPEG_mode modes[] = {MONO, STEREO, JOINT_STEREO};
        ok = lame_set_mode(lame, modes[s.mode - 1]) == 0;
    }
    if (ok && s.bitrate != 0)
        ok = lame_set_VBR(lame, vbr_off) == 0
             && lame_set_brate(lame, mpeg::snapBitrate(s.bitrate, outRate)) == 0;
    lame_set_write_id3tag_automatic(lame, 0); // tags are written by TagLib
    return ok && lame_init_params(lame) >= 0;
}
} // namespace

bool Mp3Settings::supported() const
{
    return (sampleRate == 0 || mpeg::isMpegRate(sampleRate))
           && (bitrate == 0 || mpeg::isLegalBitrate(bitrate, sampleRate)) && mode >= 0
           && mode <= 3;
}

void Mp3Encoder::SetEncoderQuality(int quality)
{
    settings_.quality = std::clamp(quality, 0, 9);
}

int Mp3Encoder::GetEncoderQuality()
{
    return settings_.quality;
}

void Mp3Encoder::SetEncoderFlag(bool flag)
{
    settings_.replayGain = flag;
}

int Mp3Encoder::GetEncoderSampleRate()
{
    return settings_.sampleRate;
}

void Mp3Encoder::SetEncoderSampleRate(int sampleRate)
{
    settings_.sampleRate = sampleRate;
}

int Mp3Encoder::GetEncoderMode()
{
    return settings_.mode;
}

void Mp3Encoder::SetEncoderMode(int mode)
{
    settings_.mode = mode;
}

// The rate as asked is kept, so that a later sample rate snaps it afresh.
int Mp3Encoder::GetEncoderBitrate()
{
    return mpeg::snapBitrate(settings_.bitrate, settings_.sampleRate);
}

void Mp3Encoder::SetEncoderBitrate(int bitrate)
{
    settings_.bitrate = bitrate;
}

Mp3Settings Mp3Encoder::settings()
{
    Mp3Settings s = settings_;
    s.bitrate = GetEncoderBitrate();
    return s;
}

std::unique_ptr<Mp3Sink> Mp3Sink::create(OutputFile &out, const Mp3Settings &settings, int inRate,
                                         int inChannels)
{
    if (!settings.supported())
        return nullptr;
    lame_t lame = lame_init();
    if (!lame)
        return nullptr;
    if (!configure(lame, settings, inRate, inChannels)) {
        lame_close(lame);
        return nullptr;
    }
    const int outRate = lame_get_out_samplerate(lame);
    const int ratio = std::max(1, (outRate + inRate - 1) / inRate);
    return std::unique_ptr<Mp3Sink>(new Mp3Sink(out, lame, inChannels, ratio));
}

Mp3Sink::Mp3Sink(OutputFile &out, lame_global_struct *lame, int inChannels, int rateRatio)
    : out_(out), lame_(lame), inChannels_(inChannels),
      mp3_(std::size_t(ChunkFrames) * std::size_t(rateRatio) * 5 / 4 + FlushBytes)
{
}

Mp3Sink::~Mp3Sink()
{
    lame_close(lame_);
}

bool Mp3Sink::write(const float *samples, int frames)
{
    for (int done = 0; done < frames; done += ChunkFrames) {
        const int n = std::min(ChunkFrames, frames - done);
        if (!encodeChunk(samples + std::size_t(done) * std::size_t(inChannels_), n))
            return false;
    }
    return true;
}

bool Mp3Sink::encodeChunk(const float *samples, int frames)
{
    const int size = int(mp3_.size());
    // Mono goes through the non-interleaved call; the interleaved one expects two channels.
    const int bytes = inChannels_ == 1
                          ? lame_encode_buffer_ieee_float(lame_, samples, samples, frames,
                                                          mp3_.data(), size)
                          : lame_encode_buffer_interleaved_ieee_float(lame_, samples, frames,
                                                                      mp3_.data(), size);
    encoded_ = encoded_ || frames > 0;
    return bytes >= 0 && out_.append(mp3_.data(), std::size_t(bytes));
}

bool Mp3Sink::finish()
{
    // A stream without one audio frame is refused by decoders: an empty file
    // gets a single silent sample.
    const float silence[2] = {0.0f, 0.0f};
    if (!encoded_ && !encodeChunk(silence, 1))
        return false;
    const int bytes = lame_encode_flush(lame_, mp3_.data(), int(mp3_.size()));
    if (bytes < 0 || !out_.append(mp3_.data(), std::size_t(bytes)))
        return false;
    const std::size_t tagBytes = lame_get_lametag_frame(lame_, mp3_.data(), mp3_.size());
    // No info tag at all: LAME leaves it out when a frame is too small to hold
    // it (low bit rates); the stream is complete without it.
    if (tagBytes == 0)
        return true;
    return tagBytes <= mp3_.size() && out_.overwrite(0, mp3_.data(), tagBytes);
}

} // namespace components
