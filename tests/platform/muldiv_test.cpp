#include "platform/muldiv.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct MulDivCase {
    int a, b, c, expected;
};

std::ostream &operator<<(std::ostream &os, const MulDivCase &c)
{
    return os << c.a << "*" << c.b << "/" << c.c;
}

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsToNearestAndFailsWithMinusOne)
{
    const auto &p = GetParam();
    EXPECT_EQ(platform::MulDiv(p.a, p.b, p.c), p.expected) << p.a << "*" << p.b << "/" << p.c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    ::testing::Values(
        MulDivCase{441000, 1000, 10000, 44100},     // frames per second of a 10 s file
        MulDivCase{5, 1, 2, 3},                     // half rounds away from zero
        MulDivCase{-5, 1, 2, -3},
        MulDivCase{5, -1, 2, -3},
        MulDivCase{-5, -1, 2, 3},
        MulDivCase{5, 1, -2, -3},
        MulDivCase{7, 1, 3, 2},                     // below the half rounds down
        MulDivCase{8, 1, 3, 3},                     // above the half rounds up
        MulDivCase{-7, 1, 3, -2},
        MulDivCase{1, 1, 0, -1},                    // division by zero
        MulDivCase{0, 5, 0, -1},
        MulDivCase{79380000, 1000, 1800000, 44100}, // 30 minutes at 44.1 kHz
        MulDivCase{INT_MAX, 1000, 1, -1},           // overflows 32 bits
        MulDivCase{INT_MAX, 2, 2, INT_MAX},         // 64-bit intermediate
        MulDivCase{INT_MIN, 1, 1, INT_MIN},
        MulDivCase{INT_MIN, -1, 1, -1},             // 2^31 does not fit
        MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX}));

} // namespace
