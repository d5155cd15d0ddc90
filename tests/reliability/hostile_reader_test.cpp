// Every hostile input through the reader and the tag component: refused with
// an error or read to its end, within a time bound, never a crash.
#include "components/audio/factory.h"
#include "support/temp_config.h"

#include <QFile>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

enum class Expect { Refused, Readable };

struct Hostile {
    const char *file;
    Expect expect;
    int minMs; // for readable files: at least this much audio
};

void PrintTo(const Hostile &h, std::ostream *os) { *os << h.file; }

QString hostile(const char *name)
{
    return testMedia(QStringLiteral("hostile files/") + QString::fromUtf8(name));
}

// Runs fn, ending the whole test program when it outlives the bound: a hang
// must fail the run, not stall it.
template <typename Fn>
void within(std::chrono::seconds bound, const char *what, Fn fn)
{
    std::packaged_task<void()> task(fn);
    auto done = task.get_future();
    std::thread(std::move(task)).detach();
    if (done.wait_for(bound) != std::future_status::ready) {
        std::fprintf(stderr, "%s: still running after %llds\n", what, static_cast<long long>(bound.count()));
        std::_Exit(3);
    }
    done.get();
}

struct ReadResult {
    int openError = 0;
    int length = 0;
    int frequency = 0;
    qint64 frames = 0;
};

ReadResult readToEnd(const QString &path)
{
    ReadResult r;
    auto reader = components::createAudioFile();
    reader->SetWmaFormatEnabled(true);
    reader->OpenFile(path, 0, 1);
    r.openError = reader->ErrorCode();
    r.length = reader->Length();
    r.frequency = reader->Frequency();
    if (r.openError != 0)
        return r;
    for (;;) {
        const components::SampleBlock block = reader->ReadBlock(8192);
        if (block.empty())
            break;
        r.frames += block.elementCount() / reader->OutChannels();
    }
    reader->CloseFile();
    return r;
}

class HostileInput : public testing::TestWithParam<Hostile> {};

TEST_P(HostileInput, RefusedOrReadToTheEnd)
{
    const Hostile h = GetParam();
    const QString path = hostile(h.file);
    ASSERT_TRUE(QFile::exists(path));
    ReadResult r;
    within(std::chrono::seconds(10), h.file, [&] {
        r = readToEnd(path);
        // Tags are read from every source a job converts; nothing there may fail either.
        components::createAudioInformation()->ReadTags(path);
    });
    if (h.expect == Expect::Refused) {
        EXPECT_NE(r.openError, 0);
        EXPECT_EQ(r.frames, 0);
        return;
    }
    ASSERT_EQ(r.openError, 0);
    EXPECT_LE(r.frames, r.length);
    EXPECT_GE(r.frames * 1000, qint64(h.minMs) * r.frequency);
}

const Hostile kHostile[] = {
    {"zero.mp3", Expect::Refused, 0},
    {"random.mp3", Expect::Refused, 0},
    {"random.ogg", Expect::Refused, 0},
    {"random.wma", Expect::Refused, 0},
    {"random.wav", Expect::Refused, 0},
    {"text.wav", Expect::Refused, 0},
    {"cut30.mp3", Expect::Readable, 800},
    {"bigtag.mp3", Expect::Readable, 2900},
    {"mp3data.ogg", Expect::Readable, 2900},
    {"riff_huge.wav", Expect::Readable, 2900},
    {"riff_zero.wav", Expect::Readable, 2900},
    {"data_huge.wav", Expect::Readable, 2900},
    {"data_zero.wav", Expect::Readable, 2900},
    {"midsample.wav", Expect::Readable, 2900},
    {"pcm8.wav", Expect::Readable, 1000},
    {"pcm24.wav", Expect::Readable, 1000},
    {"float32.wav", Expect::Readable, 1000},
    {"ch6.wav", Expect::Readable, 1000},
    {"hz96k.wav", Expect::Readable, 1000},
    {"short.wav", Expect::Readable, 100},
    {"short.mp3", Expect::Readable, 50},
    {"short.ogg", Expect::Readable, 900},
    {"short.wma", Expect::Readable, 900},
    {"silent.wav", Expect::Readable, 2000},
    {"silent.mp3", Expect::Readable, 2000},
    {"with space.mp3", Expect::Readable, 3000},
    {"ünïcødé Ωμέγα.wav", Expect::Readable, 3000},
    {"quote's \"double\".mp3", Expect::Readable, 3000},
    {"dollar $HOME.wav", Expect::Readable, 3000},
    {"semi;colon.mp3", Expect::Readable, 3000},
    {"amp & sand.wav", Expect::Readable, 3000},
    {"-leading dash.mp3", Expect::Readable, 3000},
    {"two..dots.wav", Expect::Readable, 3000},
    {"...mp3", Expect::Readable, 3000},
};

INSTANTIATE_TEST_SUITE_P(Files, HostileInput, testing::ValuesIn(kHostile),
                         [](const testing::TestParamInfo<Hostile> &info) {
                             std::string name = std::to_string(info.index) + "_";
                             for (const char c : std::string(info.param.file))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
