#include "components/audio/tpdf_dither.h"

#include <cmath>

namespace components {

void TpdfQuantizer::convert(const float *in, std::size_t count, std::int16_t *out)
{
    constexpr float Unit = 1.0f / 16777216.0f; // 24 random bits to [0, 1)
    std::uint64_t s = state_;
    for (std::size_t i = 0; i < count; ++i) {
        // xorshift64*: two 24-bit uniforms per step; their difference is TPDF.
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        const std::uint64_t r = s * 0x2545F4914F6CDD1Dull;
        const float dither = float(r >> 40) * Unit - float((r >> 8) & 0xFFFFFF) * Unit;
        const float x = in[i] == in[i] ? in[i] : 0.0f; // NaN is silence
        const float v = std::fmin(std::fmax(x * 32768.0f + dither, -32768.0f), 32767.0f);
        // Rounds to nearest by truncating a value made positive.
        out[i] = std::int16_t(int(v + 32768.5f) - 32768);
    }
    state_ = s;
}

} // namespace components
