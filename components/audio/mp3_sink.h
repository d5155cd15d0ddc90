#pragma once
#include "components/audio/audio_sink.h"
#include "components/audio/iaudiofile.h"

#include <cstdint>
#include <memory>
#include <vector>

struct lame_global_struct;

namespace components {

class OutputFile;

// What the next MP3 file is made with; see IAudioFileMp3Encoder for the scales.
struct Mp3Settings {
    int sampleRate = 0;
    int mode = 0;
    int bitrate = 0;
    int quality = 9;
    bool replayGain = false;

    // True when LAME can write exactly this.
    bool supported() const;
};

// Input frames handed to LAME in one call, and LAME's worst case output of a
// flush; one call's output fits in Mp3BlockFrames * 5 / 4 + Mp3FlushBytes.
constexpr int Mp3BlockFrames = 8192;
constexpr int Mp3FlushBytes = 7200;

// Sets up a fresh LAME instance for these settings and this input; infoTag
// reserves the first frame for the info tag; lameQuality >= 0 overrides the
// quality with LAME's own -q value.
bool configureLame(lame_global_struct *lame, const Mp3Settings &settings, int inRate,
                   int inChannels, bool infoTag, int lameQuality = -1);
// One call into LAME with interleaved float frames; LAME's byte count or error.
int encodeLame(lame_global_struct *lame, const float *samples, int frames, int channels,
               unsigned char *out, int size);

// The writer's encoder object: holds the settings for the next MP3 file.
class Mp3Encoder : public IAudioFileMp3Encoder {
public:
    void SetEncoderQuality(int quality) override;
    int GetEncoderQuality() override;
    void SetEncoderFlag(bool flag) override;
    int GetEncoderSampleRate() override;
    void SetEncoderSampleRate(int sampleRate) override;
    int GetEncoderMode() override;
    void SetEncoderMode(int mode) override;
    int GetEncoderBitrate() override;
    void SetEncoderBitrate(int bitrate) override;

    // With the bit rate as it reads back.
    Mp3Settings settings();

private:
    Mp3Settings settings_;
};

// An MP3 file from LAME. finish() flushes the encoder and writes the LAME info
// tag over the first frame, so decoders know the exact (gapless) length.
class Mp3Sink : public AudioSink {
public:
    // Null when LAME refuses the settings for this input.
    static std::unique_ptr<Mp3Sink> create(OutputFile &out, const Mp3Settings &settings,
                                           int inRate, int inChannels);
    ~Mp3Sink() override;

    bool write(const float *samples, int frames) override;
    bool finish() override;

private:
    Mp3Sink(OutputFile &out, lame_global_struct *lame, int inChannels, int rateRatio);
    bool encodeChunk(const float *samples, int frames);

    OutputFile &out_;
    lame_global_struct *lame_;
    int inChannels_;
    bool encoded_ = false;
    std::vector<unsigned char> mp3_;
};

} // namespace components
