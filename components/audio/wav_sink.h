#pragma once
#include "components/audio/audio_sink.h"
#include "components/audio/format_converter.h"
#include "components/audio/tpdf_dither.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace components {

class OutputFile;

// The most PCM data a WAV file can hold: its RIFF size field is 32 bits.
constexpr std::uint64_t WavMaxDataBytes = 0xFFFFFFFFull - 36 - 1;

// A 16-bit PCM WAV file. The header is written first with sizes of zero and
// finished by finish(); a write that would take the data past maxDataBytes is
// refused whole, so the file stays valid instead of wrapping its sizes.
class WavSink : public AudioSink {
public:
    // Null when the input cannot be converted to the file's format.
    static std::unique_ptr<WavSink> create(OutputFile &out, int rate, int channels, int inRate,
                                           int inChannels,
                                           std::uint64_t maxDataBytes = WavMaxDataBytes);

    bool write(const float *samples, int frames) override;
    bool finish() override;

private:
    WavSink(OutputFile &out, int rate, int channels, int inRate, int inChannels,
            std::unique_ptr<FormatConverter> converter, std::uint64_t maxDataBytes);
    bool fits(std::uint64_t frames) const;
    bool convertAndStore(const float *samples, int frames);
    bool store(const float *samples, int frames);

    OutputFile &out_;
    int rate_;
    int channels_;
    int inRate_;
    int inChannels_;
    std::unique_ptr<FormatConverter> converter_; // null when the formats match
    std::uint64_t maxDataBytes_;
    std::uint64_t dataBytes_ = 0;
    TpdfQuantizer quantizer_;
    std::vector<std::int16_t> pcm_;
};

} // namespace components
