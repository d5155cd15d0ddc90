#include "components/audio/tpdf_dither.h"

namespace components {

void TpdfQuantizer::convert(const float *in, std::size_t count, std::int16_t *out)
{
    constexpr float Unit = 1.0f / 65536.0f; // 16 random bits to [0, 1)
    std::uint32_t s = state_;
    for (std::size_t i = 0; i < count; ++i) {
        // xorshift32; the difference of its two 16-bit halves is TPDF.
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        const float dither = float(int(s >> 16) - int(s & 0xFFFF)) * Unit;
        const float x = in[i] == in[i] ? in[i] : 0.0f; // NaN is silence
        float v = x * 32768.0f + dither;
        v = v < -32768.0f ? -32768.0f : v;
        v = v > 32767.0f ? 32767.0f : v;
        // Rounds to nearest by truncating a value made positive.
        out[i] = std::int16_t(int(v + 32768.5f) - 32768);
    }
    state_ = s;
}

} // namespace components
