#include "engine/blockpipeline.h"
#include "fakes.h"

#include <gtest/gtest.h>
#include <atomic>

namespace {

const QString Source = QStringLiteral("/music/a.mp3");

std::vector<std::string> numbers(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<std::string> out;
    for (const auto &[value, times] : runs)
        for (int i = 0; i < times; ++i)
            out.push_back(std::to_string(value));
    return out;
}

struct PipelineCase {
    const char *name;
    bool fade;
    int fadeIn, fadeOut;
    SourceScript source;
    bool wma;
    std::vector<std::string> reads;    // frames asked, in order
    std::vector<std::string> fades;    // "elements from to"
    std::vector<std::string> progress; // first, then last
};

std::ostream &operator<<(std::ostream &os, const PipelineCase &c)
{
    return os << c.name;
}

SourceScript source(int length, int duration, int channels = 2)
{
    SourceScript s;
    s.length = length;
    s.duration = duration;
    s.channels = channels;
    s.outChannels = channels;
    return s;
}

SourceScript wmaSource(int outFrequency)
{
    // Length over Duration says 44,100; the reader delivers 22,050.
    SourceScript s = source(22050 * 10, 5000);
    s.outFrequency = outFrequency;
    return s;
}

class PipelineTable : public ::testing::TestWithParam<PipelineCase> {};

TEST_P(PipelineTable, BlockSizesFadesAndProgress)
{
    const PipelineCase &c = GetParam();
    FakeRig rig;
    rig.reader.sources[Source] = c.source;
    rig.reader.OpenFile(Source, 0, 1);
    rig.writer.CreateFile(QStringLiteral("/dev/null"), 0);
    const JobSettings settings{c.fade, c.fadeIn, c.fadeOut, 98};
    BlockPipeline pipeline(rig.context, settings, {[] { return false; }, [] { return false; }});

    EXPECT_EQ(pipeline.run(c.wma), PipelineEnd::Done);

    EXPECT_EQ(rig.log.with("reader read "), c.reads);
    EXPECT_EQ(rig.log.with("fade "), c.fades);
    const auto progress = rig.log.with("progress ");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), c.progress.front());
    EXPECT_EQ(progress.back(), c.progress.back());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end(),
                               [](const std::string &a, const std::string &b) { return std::stoi(a) < std::stoi(b); }));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PipelineTable,
    ::testing::Values(
        PipelineCase{"FadingOffTenSeconds", false, 10, 20, source(441000, 10000), false,
                     numbers({{88200, 5}}), {}, {"0", "100"}},
        PipelineCase{"FadeInTenFadeOutTwentyOverSixtySeconds", true, 10, 20, source(44100 * 60, 60000), false,
                     numbers({{441000, 1}, {88200, 15}, {882000, 1}}),
                     {"882000 0 100", "1764000 100 0"}, {"0", "100"}},
        PipelineCase{"FadeOutOneStretchesButDoesNotFade", true, 10, 1, source(44100 * 61, 61000), false,
                     numbers({{441000, 1}, {88200, 25}, {44100, 1}}), {"882000 0 100"}, {"0", "100"}},
        PipelineCase{"SourceShorterThanFadeIn", true, 10, 20, source(44100 * 3, 3000), false,
                     numbers({{441000, 1}}), {"264600 0 100"}, {"0", "100"}},
        PipelineCase{"LengthZeroReadsNothing", true, 10, 20, source(0, 0), false, {}, {}, {"0", "0"}},
        PipelineCase{"WmaTakesTheReadersRate", false, 10, 20, wmaSource(22050), true,
                     numbers({{44100, 5}}), {}, {"0", "100"}},
        PipelineCase{"NotWmaTakesLengthOverDuration", false, 10, 20, wmaSource(22050), false,
                     numbers({{88200, 3}}), {}, {"0", "100"}},
        PipelineCase{"ThirtyMinutesReachesOneHundred", false, 10, 20, source(79380000, 1800000), false,
                     numbers({{88200, 900}}), {}, {"0", "100"}}),
    [](const auto &info) { return std::string(info.param.name); });

// The fade-out test, on its own arithmetic: only a shortened block passes.
TEST(PipelineArithmetic, TailThresholdAndFadeOut)
{
    const JobSettings fade{true, 10, 20, 98};
    // At 441,000 of 2,646,000 the threshold 926,100 is below the 2,205,000 left.
    EXPECT_EQ(BlockPipeline::nextBlockSize(441000, 441000, 2646000, 44100, fade), 88200);
    EXPECT_EQ(BlockPipeline::nextBlockSize(88200, 1764000, 2646000, 44100, fade), 882000);
    EXPECT_FALSE(BlockPipeline::fadesOut(88200, 441000, 2646000, fade));
    EXPECT_TRUE(BlockPipeline::fadesOut(882000, 1764000, 2646000, fade));
    // First block: fade-in seconds times the block size, in 64 bits.
    EXPECT_EQ(BlockPipeline::nextBlockSize(2000000000, 0, 5, 44100, JobSettings{true, 20, 5, 98}),
              std::int64_t(40000000000));
    // Two seconds are doubled in 32 bits, as the frames-per-second value allows.
    EXPECT_EQ(BlockPipeline::nextBlockSize(0, 1, 5, -1, JobSettings{false, 5, 5, 98}), -2);
}

TEST(Pipeline, OddElementCountAdvancesByHalfRoundedDown)
{
    FakeRig rig;
    SourceScript s = source(5, 1000);
    s.elementCounts = {3, 8};
    rig.reader.sources[Source] = s;
    rig.reader.OpenFile(Source, 0, 1);
    rig.writer.CreateFile(QStringLiteral("/dev/null"), 0);
    BlockPipeline pipeline(rig.context, JobSettings{false, 0, 0, 98}, {[] { return false; }, [] { return false; }});
    pipeline.run(false);
    EXPECT_EQ(rig.log.with("progress "), (std::vector<std::string>{"0", "20", "100"}));
}

TEST(Pipeline, NormalisesBeforeFadingAndWrites)
{
    FakeRig rig;
    rig.reader.sources[Source] = source(44100, 1000);
    rig.reader.OpenFile(Source, 0, 1);
    rig.writer.CreateFile(QStringLiteral("/dev/null"), 0);
    BlockPipeline pipeline(rig.context, JobSettings{true, 1, 5, 87}, {[] { return false; }, [] { return true; }});
    pipeline.run(false);
    std::vector<std::string> blockCalls;
    for (const std::string &line : rig.log.lines())
        if (line.rfind("normalize", 0) == 0 || line.rfind("fade", 0) == 0 || line.rfind("writer write", 0) == 0)
            blockCalls.push_back(line);
    EXPECT_EQ(blockCalls, (std::vector<std::string>{"normalize 88200 87 -1", "fade 88200 0 100", "writer write 88200"}));
}

struct QuestionCase {
    const char *name;
    bool readFails;
    bool answer;
    PipelineEnd end;
    int writes;
};

std::ostream &operator<<(std::ostream &os, const QuestionCase &c)
{
    return os << c.name;
}

class PipelineQuestions : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(PipelineQuestions, YesGoesOnNoClosesBoth)
{
    const QuestionCase &c = GetParam();
    FakeRig rig;
    SourceScript s = source(441000, 10000);
    if (c.readFails)
        s.readErrors = {1};
    else
        rig.writer.writeErrors = {1};
    rig.reader.sources[Source] = s;
    rig.reader.OpenFile(Source, 0, 1);
    rig.writer.CreateFile(QStringLiteral("/dev/null"), 0);
    rig.host.answers = {c.answer};
    BlockPipeline pipeline(rig.context, JobSettings{false, 0, 0, 98}, {[] { return false; }, [] { return false; }});

    EXPECT_EQ(pipeline.run(false), c.end);
    const std::string question = c.readFails ? "ERROR!|File read error!Continue?" : "ERROR!|File write error!Continue?";
    EXPECT_EQ(rig.log.with("ask "), std::vector<std::string>{question});
    EXPECT_EQ(int(rig.log.with("writer write ").size()), c.writes);
    EXPECT_EQ(rig.reader.closed && rig.writer.closed, !c.answer);
}

INSTANTIATE_TEST_SUITE_P(Answers, PipelineQuestions,
                         ::testing::Values(QuestionCase{"ReadYes", true, true, PipelineEnd::Done, 5},
                                           QuestionCase{"ReadNo", true, false, PipelineEnd::Declined, 1},
                                           QuestionCase{"WriteYes", false, true, PipelineEnd::Done, 5},
                                           QuestionCase{"WriteNo", false, false, PipelineEnd::Declined, 2}),
                         [](const auto &info) { return std::string(info.param.name); });

// A stop while a block is under way: that block's failures ask nothing, the
// block goes on, and the next one is not read.
TEST(Pipeline, NoQuestionOnceStopIsRequested)
{
    FakeRig rig;
    SourceScript s = source(441000, 10000);
    s.readErrors = {1};
    rig.reader.sources[Source] = s;
    rig.reader.OpenFile(Source, 0, 1);
    rig.writer.CreateFile(QStringLiteral("/dev/null"), 0);
    rig.writer.writeErrors = {1};
    const auto stop = [&] { return rig.log.with("reader read ").size() >= 2; };
    BlockPipeline pipeline(rig.context, JobSettings{false, 0, 0, 98}, {stop, [] { return false; }});

    EXPECT_EQ(pipeline.run(false), PipelineEnd::Stopped);
    EXPECT_TRUE(rig.log.with("ask ").empty());
    EXPECT_EQ(rig.log.with("reader read ").size(), 2u);
    EXPECT_EQ(rig.log.with("writer write ").size(), 2u);
    EXPECT_EQ(rig.log.with("progress "), (std::vector<std::string>{"0", "20"}));
}

} // namespace
