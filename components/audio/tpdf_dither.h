#pragma once
#include <cstddef>
#include <cstdint>

namespace components {

// Float samples (full scale +-1.0) to 16 bits with triangular (TPDF) dither of
// +-1 LSB, clipped to the 16-bit range.
class TpdfQuantizer {
public:
    void convert(const float *in, std::size_t count, std::int16_t *out);

private:
    std::uint32_t state_ = 0x9E3779B9u;
};

} // namespace components
