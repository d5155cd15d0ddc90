#pragma once
#include "components/audio/audio_sink.h"
#include "components/audio/mp3_reservoir.h"
#include "components/audio/mp3_sink.h"

#include <deque>
#include <memory>
#include <vector>

namespace components {

class OutputFile;

// The MP3 sink for a file: the parallel encoder when more than one core is
// there and the stream can be split (no resampling inside LAME, no ReplayGain),
// else the single encoder. Null when LAME refuses the settings.
std::unique_ptr<AudioSink> createMp3Sink(OutputFile &out, const Mp3Settings &settings, int inRate,
                                         int inChannels);

// Encodes one stream on several cores. The input is cut into chunks that start
// on frame boundaries (and on the CBR padding period, so every frame keeps the
// size a single encode gives it); each chunk gets its own LAME instance, fed
// some warm-up frames before its start so its psychoacoustic state and bit
// reservoir have settled. The frames are joined in order where both encoders
// chose the same window, and their main data re-laid into one bit reservoir.
// A join the reservoir cannot hold re-encodes that stretch with one encoder.
// ReplayGain, when asked for, comes from one more LAME instance that sees the
// whole stream at its cheapest settings (LAME offers its analysis no other way).
class Mp3ParallelSink : public AudioSink {
public:
    // Null when the stream cannot be split this way or LAME refuses the settings.
    // chunkFrames 0: about 24 s per chunk.
    static std::unique_ptr<Mp3ParallelSink> create(OutputFile &out, const Mp3Settings &settings,
                                                   int inRate, int inChannels, int threads,
                                                   int chunkFrames = 0);
    ~Mp3ParallelSink() override;

    bool write(const float *samples, int frames) override;
    bool finish() override;

    // Where the joins of the last finished file fell (frame numbers), and
    // how many were re-encoded serially.
    const std::vector<long long> &joins() const { return joins_; }
    int serialJoins() const { return serialJoins_; }
    int frameSamples() const { return geometry_.frameSamples; }

private:
    struct Geometry {
        int frameSamples = 1152;
        int chunkFrames = 0;
        int warmup = 0;  // frames encoded before a chunk's start, a multiple of the padding period
        int overlap = 8; // frames past a chunk's end where the next one may take over
        int margin = 3;  // frames of input past the overlap, so those frames see real audio
    };
    struct Chunk;
    struct GainAnalysis;

    Mp3ParallelSink(OutputFile &out, const Mp3Settings &settings, int inRate, int inChannels,
                    int threads, Geometry geometry);
    long long chunkFirst(long long k) const;
    long long inputEnd(long long k) const;
    void launch(bool last);
    bool joinFront();
    bool place(const Chunk &chunk, long long to);
    bool patchTag();

    OutputFile &out_;
    Mp3Settings settings_;
    int rate_;
    int channels_;
    int maxChunks_;
    Geometry geometry_;

    std::vector<float> pending_;  // input from sample pendingFirst_ on
    long long pendingFirst_ = 0;
    long long received_ = 0;
    long long nextChunk_ = 0;
    std::deque<std::unique_ptr<Chunk>> chunks_;
    std::unique_ptr<GainAnalysis> gain_; // ReplayGain of the whole stream, when asked for

    ReservoirWriter writer_;
    long long cursor_ = 0; // next frame to write
    std::vector<std::uint8_t> tag_;
    bool tagReserved_ = false;
    bool failed_ = false;
    std::vector<long long> joins_;
    int serialJoins_ = 0;
};

} // namespace components
