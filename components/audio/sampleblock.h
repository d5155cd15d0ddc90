#pragma once
#include <vector>

namespace components {

// Interleaved samples as floats at full scale +-1.0. ReadBlock makes it; the
// caller owns it until it is dropped. An empty block marks the end of the data.
struct SampleBlock {
    std::vector<float> samples;
    int channels = 0; // of the samples; what the transform works per frame with

    // Element count (upper bound + 1), as the pipeline counts it.
    int elementCount() const { return int(samples.size()); }
    bool empty() const { return samples.empty(); }
};

} // namespace components
