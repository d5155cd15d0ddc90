// sonvera-batch as a user runs it, on generated media.
#include "mediacheck.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#endif

namespace {

struct Result {
    int exitCode = -1;
    QString out, err;
};

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        out = config.dir() + QStringLiteral("/out");
        QDir().mkpath(out);
        settingsFile = config.dir() + QStringLiteral("/batch.ini");
        QFile f(settingsFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[WavOption]\nDir=%1\nFade=0\n[Mp3Option]\nDir=%1\nbitrate=128\nFade=0\n").arg(out).toUtf8());
    }

    QStringList arguments(const QString &command, const QStringList &rest) const
    {
        return QStringList{command, QStringLiteral("--settings"), settingsFile} + rest;
    }

    void start(QProcess &process, const QStringList &args) const
    {
        process.start(QStringLiteral(SONVERA_BINARY_DIR "/sonvera-batch"), args);
        process.closeWriteChannel();
    }

    Result run(const QStringList &args) const
    {
        QProcess process;
        start(process, args);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QString output(const QString &name) const { return out + QLatin1Char('/') + name; }

    TempConfig config;
    QString out;
    QString settingsFile;
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct JobCase {
    const char *command;
    const char *source;
    const char *output;
    const char *codec;
};

std::ostream &operator<<(std::ostream &os, const JobCase &c)
{
    return os << c.command;
}

class BatchJobs : public Batch, public ::testing::WithParamInterface<JobCase> {};

TEST_P(BatchJobs, ConvertsAndExitsZero)
{
    const Result r = run(arguments(QLatin1String(GetParam().command), {testMedia(QLatin1String(GetParam().source))}));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String(GetParam().source) + QStringLiteral(": finish")));
    EXPECT_EQ(probe(output(QLatin1String(GetParam().output)))[QStringLiteral("codec_name")], GetParam().codec);
}

INSTANTIATE_TEST_SUITE_P(Commands, BatchJobs,
                         ::testing::Values(JobCase{"towav", "sine.ogg", "sine.wav", "pcm_s16le"},
                                           JobCase{"tomp3", "stereo44.wav", "stereo44.mp3", "mp3"},
                                           JobCase{"normalize", "cbr.mp3", "cbr_NOM.mp3", "mp3"}),
                         [](const auto &info) { return std::string(info.param.command); });

TEST_F(Batch, UsageErrorsExitTwo)
{
    const QStringList media{testMedia(QStringLiteral("cbr.mp3"))};
    for (const QStringList &args : {QStringList{}, QStringList{QStringLiteral("tomp4")} + media,
                                    QStringList{QStringLiteral("towav")},
                                    QStringList{QStringLiteral("towav"), QStringLiteral("--yes"), QStringLiteral("--no")} + media,
                                    QStringList{QStringLiteral("towav"), QStringLiteral("--bogus")} + media,
                                    QStringList{QStringLiteral("towav"), QStringLiteral("--settings")}}) {
        const Result r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: sonvera-batch")));
    }
}

TEST_F(Batch, InvalidFileReportedAndSkipped)
{
    const Result r = run(arguments(QStringLiteral("towav"), {testMedia(QStringLiteral("random.mp3")), testMedia(QStringLiteral("cbr.mp3"))}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("random.mp3 is not a valid file!")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("cbr.mp3: finish")));
    EXPECT_FALSE(QFile::exists(output(QStringLiteral("random.wav"))));
}

TEST_F(Batch, NoKeepsAnExistingOutputYesReplacesIt)
{
    const QString existing = output(QStringLiteral("cbr.wav"));
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    const QStringList files{testMedia(QStringLiteral("cbr.mp3"))};

    const Result no = run(arguments(QStringLiteral("towav"), QStringList{QStringLiteral("--no")} + files));
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(no.err.contains(QStringLiteral("is already exist.Overwrite? no")));
    EXPECT_EQ(contents(existing), "keep me");

    // Without a terminal and without a flag the answer is No too.
    EXPECT_EQ(run(arguments(QStringLiteral("towav"), files)).exitCode, 1);
    EXPECT_EQ(contents(existing), "keep me");

    const Result yes = run(arguments(QStringLiteral("towav"), QStringList{QStringLiteral("--yes")} + files));
    EXPECT_EQ(yes.exitCode, 0);
    EXPECT_EQ(probe(existing)[QStringLiteral("codec_name")], "pcm_s16le");
}

#ifndef _WIN32
TEST_F(Batch, InterruptStopsWithAValidShorterFile)
{
    const QString source = config.dir() + QStringLiteral("/long.wav");
    ASSERT_TRUE(makeSine(source, 120));
    QProcess process;
    start(process, arguments(QStringLiteral("tomp3"), {source}));
    QByteArray seen;
    while (!seen.contains("long.wav: 10%") && process.waitForReadyRead(60000))
        seen += process.readAllStandardOutput();
    ASSERT_TRUE(seen.contains("long.wav: 10%"));
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    seen += process.readAllStandardOutput();

    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(seen.contains("long.wav: stopped"));
    const QString mp3 = output(QStringLiteral("long.mp3"));
    EXPECT_EQ(probe(mp3)[QStringLiteral("codec_name")], "mp3");
    EXPECT_GT(probedSeconds(mp3), 5.0);
    EXPECT_LT(probedSeconds(mp3), 110.0);
}
#endif

} // namespace
