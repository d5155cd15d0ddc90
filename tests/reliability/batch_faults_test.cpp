// Faults around a batch, through sonvera-batch: an unusable output folder, a
// full disk, a source gone before its turn, Stop at any moment. Every source
// is byte for byte as before.
#include "batch_support.h"
#include "engine/mediacheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#endif

namespace {

struct Job {
    const char *command;
    const char *sources[2];
    const char *createFailure;
};

void PrintTo(const Job &j, std::ostream *os) { *os << j.command; }

const Job kJobs[] = {
    {"towav", {"cbr.mp3", "sine.ogg"}, "Failed to create Wavfile "},
    {"tomp3", {"stereo44.wav", "mono22.wav"}, "Failed to open file"},
    {"normalize", {"cbr.mp3", "vbr.mp3"}, "Failed to create Wavfile "},
};

QStringList sourcesOf(const Job &job)
{
    return {testMedia(QLatin1String(job.sources[0])), testMedia(QLatin1String(job.sources[1]))};
}

std::string jobName(const testing::TestParamInfo<Job> &info)
{
    return info.param.command;
}

class OutputFolderUnusable : public testing::TestWithParam<Job> {};

// A file where the folder should be, or where its parent should be: each row
// fails with the job's message and the batch goes on to the next.
TEST_P(OutputFolderUnusable, EveryRowFailsAndTheBatchGoesOn)
{
    const Job job = GetParam();
    const QStringList sources = sourcesOf(job);
    const auto before = hashes(sources);
    BatchRunner batch;
    const QString blocker = batch.dir() + QStringLiteral("/blocker");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a folder");
    f.close();
    for (const QString &out : {blocker, blocker + QStringLiteral("/sub")}) {
        batch.writeSettings(out);
        const BatchResult r = batch.run(QLatin1String(job.command), sources, {QStringLiteral("--yes")}, 20000);
        ASSERT_TRUE(r.exitedNormally) << r.err.toStdString();
        EXPECT_EQ(r.exitCode, 1);
        for (const char *name : job.sources)
            EXPECT_EQ(r.lastState(QLatin1String(name)), QStringLiteral("failed")) << name << " in " << out.toStdString() << "\n" << r.out.toStdString();
        EXPECT_EQ(r.err.count(QLatin1String(job.createFailure)), 2) << r.err.toStdString();
    }
    EXPECT_EQ(QFile(blocker).size(), 12);
    EXPECT_EQ(hashes(sources), before);
}

INSTANTIATE_TEST_SUITE_P(Jobs, OutputFolderUnusable, testing::ValuesIn(kJobs), jobName);

#ifndef _WIN32
class DiskFull : public testing::TestWithParam<Job> {};

// The disk fills mid-file (past what the writer buffers): the question is asked,
// No ends the row failed.
TEST_P(DiskFull, WriteErrorAskedNoFailsTheRow)
{
    const Job job = GetParam();
    BatchRunner batch;
    batch.writeSettings(batch.dir() + QStringLiteral("/out"));
    const QString wav = batch.dir() + QStringLiteral("/long.wav");
    const QString mp3 = batch.dir() + QStringLiteral("/long.mp3");
    // Longer than what the parallel MP3 encoder holds in flight (three 24-s
    // chunks), so the limit is met by a write during the file.
    ASSERT_TRUE(makeSine(wav, 240));
    QProcess lame;
    lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"), wav, mp3});
    ASSERT_TRUE(lame.waitForFinished(60000) && lame.exitCode() == 0);
    const bool fromWav = QLatin1String(job.command) == QLatin1String("tomp3");
    const QStringList sources{fromWav ? wav : mp3};
    const auto before = hashes(sources);
    // Under an output's size, over the settings file's.
    const BatchResult r = batch.run(QLatin1String(job.command), sources, {QStringLiteral("--no")}, 30000,
                                    QStringLiteral("24"));
    ASSERT_TRUE(r.exitedNormally) << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("File write error!Continue? no"))) << r.err.toStdString();
    EXPECT_EQ(r.lastState(fromWav ? QStringLiteral("long.wav") : QStringLiteral("long.mp3")), QStringLiteral("failed"))
        << r.out.toStdString();
    EXPECT_TRUE(QDir(batch.dir() + QStringLiteral("/out")).isEmpty());
    EXPECT_EQ(hashes(sources), before);
}

INSTANTIATE_TEST_SUITE_P(Jobs, DiskFull, testing::ValuesIn(kJobs), jobName);

// Waits until the batch printed text on its standard output; returns what it printed.
QByteArray waitForOutput(QProcess &process, const QByteArray &text)
{
    QByteArray seen;
    while (!seen.contains(text) && process.waitForReadyRead(20000))
        seen += process.readAllStandardOutput();
    return seen;
}

TEST(SourceGone, RemovedAfterListingIsReportedMoved)
{
    BatchRunner batch;
    batch.writeSettings(batch.dir() + QStringLiteral("/out"));
    const QString first = batch.dir() + QStringLiteral("/a_long.wav");
    const QString gone = batch.dir() + QStringLiteral("/b_gone.wav");
    ASSERT_TRUE(makeSine(first, 60));
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("mono22.wav")), gone));
    const auto before = hashes({first});
    QProcess process;
    batch.start(process, QStringLiteral("tomp3"), {first, gone}, {QStringLiteral("--yes")});
    const QByteArray seen = waitForOutput(process, "a_long.wav: 10%");
    ASSERT_TRUE(seen.contains("a_long.wav: 10%"));
    ASSERT_TRUE(QFile::remove(gone));
    const BatchResult r = BatchRunner::finish(process, 20000, seen);
    ASSERT_TRUE(r.exitedNormally) << r.err.toStdString();
    EXPECT_EQ(r.lastState(QStringLiteral("a_long.wav")), QStringLiteral("finish"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("b_gone.wav has been moved"))) << r.err.toStdString();
    EXPECT_NE(r.lastState(QStringLiteral("b_gone.wav")), QStringLiteral("Converting"));
    EXPECT_EQ(hashes({first}), before);
}

// Stop (Ctrl-C) at random moments of a batch, from its start to about its
// end: the tool always ends, a stopped row's partial output is a
// whole file, and the source is untouched.
TEST(StopAnyMoment, EndsCleanlyWithAWholePartialFile)
{
    BatchRunner batch;
    const QString out = batch.dir() + QStringLiteral("/out");
    batch.writeSettings(out);
    const QString wav = batch.dir() + QStringLiteral("/tone.wav");
    ASSERT_TRUE(makeSine(wav, 8));
    const QString mp3 = out + QStringLiteral("/tone.mp3");
    // A whole run of each job sets the span the moments are drawn from.
    QElapsedTimer whole;
    whole.start();
    ASSERT_EQ(batch.run(QStringLiteral("tomp3"), {wav}, {}, 20000).exitCode, 0);
    const QString mp3Source = batch.dir() + QStringLiteral("/tone.mp3");
    ASSERT_TRUE(QFile::rename(mp3, mp3Source));
    ASSERT_EQ(batch.run(QStringLiteral("towav"), {mp3Source}, {}, 20000).exitCode, 0);
    const qint64 spanUs = whole.nsecsElapsed() / 2000;
    const auto before = hashes({wav, mp3Source});

    int stopped = 0;
    for (int round = 0; round < 100; ++round) {
        const bool toMp3 = round % 2 == 0;
        QDir(out).removeRecursively();
        QProcess process;
        batch.start(process, toMp3 ? QStringLiteral("tomp3") : QStringLiteral("towav"), {toMp3 ? wav : mp3Source},
                    {QStringLiteral("--yes")});
        ASSERT_TRUE(process.waitForStarted());
        QThread::usleep(QRandomGenerator::global()->bounded(quint64(spanUs)));
        ::kill(pid_t(process.processId()), SIGINT);
        const BatchResult r = BatchRunner::finish(process, 10000);
        ASSERT_FALSE(r.timedOut) << "round " << round << " hung";
        if (!r.exitedNormally) {
            // Ctrl-C before the tool took it over ends it as it ends any
            // program: before it started a row.
            EXPECT_EQ(r.exitCode, SIGINT) << "round " << round << " crashed\n" << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty()) << "round " << round << "\n" << r.out.toStdString();
            continue;
        }
        const QString name = toMp3 ? QStringLiteral("tone.wav") : QStringLiteral("tone.mp3");
        const QString state = r.lastState(name);
        EXPECT_NE(state, QStringLiteral("Converting")) << "round " << round;
        if (state != QStringLiteral("stopped"))
            continue;
        ++stopped;
        const QString output = out + (toMp3 ? QStringLiteral("/tone.mp3") : QStringLiteral("/tone.wav"));
        if (QFile::exists(output)) {
            EXPECT_TRUE(decodesToTheEnd(output)) << "round " << round << " " << output.toStdString();
        }
    }
    EXPECT_GT(stopped, 10);
    EXPECT_EQ(hashes({wav, mp3Source}), before);
}
#endif

} // namespace
