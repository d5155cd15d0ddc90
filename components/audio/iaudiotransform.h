#pragma once
#include "components/audio/sampleblock.h"

namespace components {

// Works on blocks in place.
class IAudioTransform {
public:
    virtual ~IAudioTransform() = default;
    // Gain moving linearly from fromPercent at the block's first frame to
    // toPercent at its last, all channels alike. Fade-in is (0, 100).
    virtual void FadeBlock(SampleBlock &block, float fromPercent, float toPercent) = 0;
    // Scales the block so that its peak reaches percent of full scale. mode is -1.
    virtual void NormalizeBlock(SampleBlock &block, float percent, int mode) = 0;
};

} // namespace components
