#pragma once
#include <memory>
#include <vector>

struct SwrContext;

namespace components {

// Interleaved float frames from one rate and channel count (1 or 2) to
// another with libswresample. Mono to stereo copies the channel to both
// sides; stereo to mono takes the mean of the two.
class FormatConverter {
public:
    // Null when libswresample refuses the formats.
    static std::unique_ptr<FormatConverter> create(int inRate, int inChannels, int outRate,
                                                   int outChannels);
    ~FormatConverter();

    // Converts frames; returns the frame count now in output(), -1 on failure.
    int convert(const float *in, int frames);
    // The frames the resampler still holds, at the end of the stream.
    int drain() { return convert(nullptr, 0); }
    const float *output() const { return out_.data(); }

private:
    FormatConverter(SwrContext *swr, int outChannels);

    SwrContext *swr_;
    int outChannels_;
    std::vector<float> out_;
};

} // namespace components
