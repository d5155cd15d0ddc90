#include "components/audio/wav_sink.h"

#include "components/audio/output_file.h"

#include <algorithm>
#include <array>

namespace components {

namespace {
constexpr int ChunkFrames = 32768;
constexpr std::size_t HeaderBytes = 44;

void put16(std::uint8_t *p, unsigned v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void put32(std::uint8_t *p, std::uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

std::array<std::uint8_t, HeaderBytes> header(int rate, int channels, std::uint32_t dataBytes)
{
    std::array<std::uint8_t, HeaderBytes> h{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                            'f', 'm', 't', ' ', 16, 0, 0, 0};
    put32(&h[4], std::uint32_t(HeaderBytes - 8) + dataBytes);
    put16(&h[20], 1); // PCM
    put16(&h[22], unsigned(channels));
    put32(&h[24], std::uint32_t(rate));
    put32(&h[28], std::uint32_t(rate * channels * 2));
    put16(&h[32], unsigned(channels * 2));
    put16(&h[34], 16);
    std::copy_n("data", 4, &h[36]);
    put32(&h[40], dataBytes);
    return h;
}

bool isLittleEndian()
{
    const std::uint16_t one = 1;
    return *reinterpret_cast<const std::uint8_t *>(&one) == 1;
}
} // namespace

std::unique_ptr<WavSink> WavSink::create(OutputFile &out, int rate, int channels, int inRate,
                                         int inChannels, std::uint64_t maxDataBytes)
{
    std::unique_ptr<FormatConverter> converter;
    if (rate != inRate || channels != inChannels) {
        converter = FormatConverter::create(inRate, inChannels, rate, channels);
        if (!converter)
            return nullptr;
    }
    const auto h = header(rate, channels, 0);
    if (!isLittleEndian() || !out.append(h.data(), h.size()))
        return nullptr;
    return std::unique_ptr<WavSink>(
        new WavSink(out, rate, channels, inRate, inChannels, std::move(converter), maxDataBytes));
}

WavSink::WavSink(OutputFile &out, int rate, int channels, int inRate, int inChannels,
                 std::unique_ptr<FormatConverter> converter, std::uint64_t maxDataBytes)
    : out_(out), rate_(rate), channels_(channels), inRate_(inRate), inChannels_(inChannels),
      converter_(std::move(converter)), maxDataBytes_(maxDataBytes)
{
}

bool WavSink::fits(std::uint64_t frames) const
{
    return dataBytes_ + frames * std::uint64_t(channels_) * 2 <= maxDataBytes_;
}

bool WavSink::write(const float *samples, int frames)
{
    if (frames == 0)
        return true;
    // Refused before any of it is written; the resampler may give a few
    // frames more than the rate ratio.
    const std::uint64_t expected =
        std::uint64_t(frames) * std::uint64_t(rate_) / std::uint64_t(inRate_) + 64;
    if (!fits(expected))
        return false;
    for (int done = 0; done < frames; done += ChunkFrames) {
        const int n = std::min(ChunkFrames, frames - done);
        if (!convertAndStore(samples + std::size_t(done) * std::size_t(inChannels_), n))
            return false;
    }
    return true;
}

bool WavSink::convertAndStore(const float *samples, int frames)
{
    if (!converter_)
        return store(samples, frames);
    const int converted = converter_->convert(samples, frames);
    return converted >= 0 && store(converter_->output(), converted);
}

bool WavSink::store(const float *samples, int frames)
{
    if (!fits(std::uint64_t(frames)))
        return false;
    const std::size_t count = std::size_t(frames) * std::size_t(channels_);
    pcm_.resize(count);
    quantizer_.convert(samples, count, pcm_.data());
    if (!out_.append(pcm_.data(), count * sizeof(std::int16_t)))
        return false;
    dataBytes_ += count * sizeof(std::int16_t);
    return true;
}

bool WavSink::finish()
{
    if (converter_) {
        const int tail = converter_->drain();
        if (tail < 0 || (fits(std::uint64_t(tail)) && !store(converter_->output(), tail)))
            return false;
    }
    const auto h = header(rate_, channels_, std::uint32_t(dataBytes_));
    return out_.overwrite(0, h.data(), h.size());
}

} // namespace components
