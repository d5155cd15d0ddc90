#include "platform/muldiv.h"

#include <cstdlib>
#include <limits>

namespace platform {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    // |product| <= 2^62 and |c| >= 1, so magnitudes fit in unsigned 64 bits.
    const std::uint64_t num = product < 0 ? std::uint64_t(-product) : std::uint64_t(product);
    const std::uint64_t den = c < 0 ? std::uint64_t(-std::int64_t(c)) : std::uint64_t(c);
    std::uint64_t q = num / den;
    if ((num % den) * 2 >= den)
        ++q;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int32_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int32_t>::max());
    if (q > limit)
        return -1;
    return negative ? std::int32_t(-std::int64_t(q)) : std::int32_t(q);
}

} // namespace platform
