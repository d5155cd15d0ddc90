#pragma once
#include "components/audio/iaudiotransform.h"

#include <mutex>

namespace components {

// Fades and peak-normalises blocks in place. Normalising raises a block by at
// most MaxGain (+24 dB), so a near-silent block is not pulled up into loud
// noise. Where the gain changes from one block to the next it moves there
// over the first RampFrames frames instead of jumping, never above the level
// asked for.
class TAudioTransform : public IAudioTransform {
public:
    static constexpr float MaxGain = 15.848932f;
    static constexpr int RampFrames = 441;

    void FadeBlock(SampleBlock &block, float fromPercent, float toPercent) override;
    void NormalizeBlock(SampleBlock &block, float percent, int mode) override;

private:
    std::mutex lock_;
    float lastGain_ = 0; // of the latest normalised block; 0 before the first
};

} // namespace components
