#include "components/audio/factory.h"
#include "components/audio/taudiotransform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using components::SampleBlock;
using components::TAudioTransform;

namespace {

SampleBlock constantBlock(float value, int frames, int channels = 2)
{
    SampleBlock block;
    block.channels = channels;
    block.samples.assign(size_t(frames * channels), value);
    return block;
}

float peak(const SampleBlock &block)
{
    float p = 0;
    for (float s : block.samples)
        p = std::max(p, std::fabs(s));
    return p;
}

struct Fade {
    float from, to;
};

class Fades : public testing::TestWithParam<Fade> {};

TEST_P(Fades, RunLinearlyFromFirstToLastFrameOnEveryChannel)
{
    const Fade f = GetParam();
    auto transform = components::createAudioTransform();
    SampleBlock block = constantBlock(1.0f, 1001);
    transform->FadeBlock(block, f.from, f.to);
    const auto &s = block.samples;
    EXPECT_FLOAT_EQ(s.front(), f.from / 100);
    EXPECT_FLOAT_EQ(s[1], f.from / 100);
    EXPECT_FLOAT_EQ(s[s.size() - 2], f.to / 100);
    EXPECT_FLOAT_EQ(s.back(), f.to / 100);
    EXPECT_NEAR(s[1000], (f.from + f.to) / 200, 1e-5); // frame 500 of 0..1000
}

INSTANTIATE_TEST_SUITE_P(InAndOut, Fades, testing::Values(Fade{0, 100}, Fade{100, 0}, Fade{50, 25}));

TEST(Normalize, PeakReachesThePercentage)
{
    for (float level : {0.25f, 1.0f}) {
        auto transform = components::createAudioTransform();
        SampleBlock block = constantBlock(0, 1000);
        for (size_t i = 0; i < block.samples.size(); ++i)
            block.samples[i] = level * std::sin(float(i) * 0.01f);
        const float before = peak(block);
        transform->NormalizeBlock(block, 98, -1);
        EXPECT_NEAR(peak(block), 0.98f, 1e-6) << level;
        EXPECT_NEAR(block.samples[100] / (level * std::sin(1.0f)), 0.98f / before, 1e-4);
    }
}

TEST(Normalize, SilenceStaysSilentAndQuietBlocksAreCapped)
{
    auto transform = components::createAudioTransform();
    SampleBlock silence = constantBlock(0, 1000);
    transform->NormalizeBlock(silence, 98, -1);
    EXPECT_EQ(peak(silence), 0.0f);

    SampleBlock quiet = constantBlock(0.001f, 1000);
    transform->NormalizeBlock(quiet, 98, -1);
    EXPECT_NEAR(peak(quiet), 0.001f * TAudioTransform::MaxGain, 1e-6);
    EXPECT_NEAR(20 * std::log10(TAudioTransform::MaxGain), 24.0, 1e-4);
}

struct Join {
    float first;      // level of the block before the join
    float rampLevel;  // level of the second block's first ramp frames
    float restLevel;  // and of the rest of it
};

class Joins : public testing::TestWithParam<Join> {};

TEST_P(Joins, GainMovesWithoutAStepAndNeverAboveTheTarget)
{
    const Join j = GetParam();
    auto transform = components::createAudioTransform();
    SampleBlock first = constantBlock(j.first, 4000);
    transform->NormalizeBlock(first, 98, -1);
    const float firstGain = first.samples.back() / j.first;

    const int ramp = TAudioTransform::RampFrames;
    SampleBlock second = constantBlock(j.restLevel, 4000);
    std::fill(second.samples.begin(), second.samples.begin() + 2 * ramp, j.rampLevel);
    const SampleBlock input = second;
    transform->NormalizeBlock(second, 98, -1);

    const float secondGain = 0.98f / std::max(j.rampLevel, j.restLevel);
    const float allowedStart = std::min(firstGain, 0.98f / j.rampLevel);
    EXPECT_NEAR(second.samples[0] / input.samples[0], allowedStart, 1e-4);
    EXPECT_NEAR(second.samples.back() / input.samples.back(), secondGain, 1e-4);
    EXPECT_LE(peak(second), 0.98f + 1e-6);
    float largestStep = 0;
    for (size_t i = 2; i < second.samples.size(); i += 2) {
        const float step = second.samples[i] / input.samples[i] - second.samples[i - 2] / input.samples[i - 2];
        largestStep = std::max(largestStep, std::fabs(step));
    }
    EXPECT_LT(largestStep, std::fabs(secondGain - allowedStart) / (ramp / 2));
}

INSTANTIATE_TEST_SUITE_P(RisingAndFalling, Joins,
                         testing::Values(Join{0.9f, 0.1f, 0.1f},    // gain rises at the join
                                         Join{0.1f, 0.05f, 0.5f})); // falls, quiet at first

} // namespace
