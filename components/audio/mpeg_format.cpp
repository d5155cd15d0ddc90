#include "components/audio/mpeg_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace components::mpeg {

namespace {
constexpr int Rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr int Mpeg1Bitrates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
// MPEG-2 and MPEG-2.5 share one table.
constexpr int LowRateBitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int AnyBitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160,
                               192, 224, 256, 320};

struct Table {
    const int *begin;
    const int *end;
};

Table bitratesFor(int rate)
{
    if (rate == 0)
        return {std::begin(AnyBitrates), std::end(AnyBitrates)};
    if (rate >= 32000)
        return {std::begin(Mpeg1Bitrates), std::end(Mpeg1Bitrates)};
    return {std::begin(LowRateBitrates), std::end(LowRateBitrates)};
}

// The first entry nearest to value: the lower one on a tie.
int nearest(const int *begin, const int *end, int value)
{
    return *std::min_element(begin, end, [value](int a, int b) {
        return std::abs(a - value) < std::abs(b - value);
    });
}
} // namespace

bool isMpegRate(int hz)
{
    return std::find(std::begin(Rates), std::end(Rates), hz) != std::end(Rates);
}

int nearestRate(int hz)
{
    return nearest(std::begin(Rates), std::end(Rates), hz);
}

bool isLegalBitrate(int kbps, int rate)
{
    const Table t = bitratesFor(rate);
    return std::find(t.begin, t.end, kbps) != t.end;
}

int snapBitrate(int kbps, int rate)
{
    if (kbps == 0)
        return 0;
    const Table t = bitratesFor(rate);
    return nearest(t.begin, t.end, kbps);
}

int lameQuality(int quality)
{
    const int q = std::clamp(quality, 0, 9);
    return int(std::lround(7.0 - q / 3.0));
}

} // namespace components::mpeg
