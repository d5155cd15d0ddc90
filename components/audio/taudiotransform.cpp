#include "components/audio/taudiotransform.h"

#include "components/audio/factory.h"

#include <algorithm>
#include <cmath>

namespace components {

namespace {

size_t channelsOf(const SampleBlock &block)
{
    return size_t(std::max(block.channels, 1));
}

// Scales `count` frames from `first` on by a gain moving linearly from g0 at
// the first of them to g1 at the last.
void applyRamp(SampleBlock &block, size_t first, size_t count, float g0, float g1)
{
    const size_t channels = channelsOf(block);
    const float step = count > 1 ? (g1 - g0) / float(count - 1) : 0.0f;
    float *s = block.samples.data() + first * channels;
    for (size_t i = 0; i < count; ++i) {
        const float gain = g0 + step * float(i);
        for (size_t c = 0; c < channels; ++c)
            *s++ *= gain;
    }
}

float peakOf(const float *begin, const float *end)
{
    float peak = 0;
    for (const float *s = begin; s != end; ++s)
        peak = std::max(peak, std::fabs(*s));
    return peak;
}

} // namespace

void TAudioTransform::FadeBlock(SampleBlock &block, float fromPercent, float toPercent)
{
    std::lock_guard<std::mutex> lock(lock_);
    const size_t frames = block.samples.size() / channelsOf(block);
    applyRamp(block, 0, frames, fromPercent / 100.0f, toPercent / 100.0f);
}

void TAudioTransform::NormalizeBlock(SampleBlock &block, float percent, int)
{
    std::lock_guard<std::mutex> lock(lock_);
    const size_t channels = channelsOf(block);
    const size_t frames = block.samples.size() / channels;
    const float *samples = block.samples.data();
    const float peak = peakOf(samples, samples + frames * channels);
    if (peak == 0.0f)
        return;
    const float target = std::clamp(percent, 0.0f, 100.0f) / 100.0f;
    const float gain = std::min(target / peak, MaxGain);
    size_t ramp = 0;
    float start = gain;
    if (lastGain_ > 0 && lastGain_ != gain) {
        // The ramp starts no higher than the ramp's own loudest sample allows.
        ramp = std::min(frames, size_t(RampFrames));
        const float rampPeak = peakOf(samples, samples + ramp * channels);
        start = rampPeak > 0 ? std::min(lastGain_, target / rampPeak) : lastGain_;
    }
    applyRamp(block, 0, ramp, start, gain);
    applyRamp(block, ramp, frames - ramp, gain, gain);
    lastGain_ = gain;
}

std::unique_ptr<IAudioTransform> createAudioTransform()
{
    return std::make_unique<TAudioTransform>();
}

} // namespace components
