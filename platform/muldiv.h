#pragma once
#include <cstdint>

namespace platform {

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away
// from zero; -1 when c is 0 or the result does not fit in 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

} // namespace platform
