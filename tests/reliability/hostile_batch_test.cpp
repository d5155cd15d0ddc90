// Every hostile input through every job that takes its kind, by sonvera-batch:
// refused at listing with the job's message or listed, and a listed file
// converts or fails, never a crash, a hang or a row left converting. Sources
// stay byte for byte as they were.
#include "batch_support.h"
#include "engine/mediacheck.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct JobCase {
    const char *command;
    QStringList patterns;   // the kinds the job takes
    const char *refusal;    // the listing's message after the file name
    const char *ending;     // output name = base name + ending
};

void PrintTo(const JobCase &c, std::ostream *os) { *os << c.command; }

// Files that are no audio at all; every other hostile file holds readable audio.
const QStringList kNotAudio{QStringLiteral("zero.mp3"), QStringLiteral("random.mp3"), QStringLiteral("random.ogg"),
                            QStringLiteral("random.wma"), QStringLiteral("random.wav"), QStringLiteral("text.wav")};

class HostileBatch : public testing::TestWithParam<JobCase> {};

TEST_P(HostileBatch, RefusedOrConvertedNeverLost)
{
    const JobCase job = GetParam();
    const QDir hostile(testMedia(QStringLiteral("hostile files")));
    QStringList files;
    for (const QFileInfo &fi : hostile.entryInfoList(job.patterns, QDir::Files, QDir::Name))
        files << fi.absoluteFilePath();
    ASSERT_GT(files.size(), 10);
    BatchRunner batch;
    const QString out = batch.dir() + QStringLiteral("/out dir");
    batch.writeSettings(out);
    const auto before = hashes(files);

    const BatchResult r = batch.run(QLatin1String(job.command), files, {QStringLiteral("--yes")},
                                    10000 * int(files.size()));
    ASSERT_TRUE(r.exitedNormally) << (r.timedOut ? "hung" : "crashed") << "\n" << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString(); // the refused files
    for (const QString &path : files) {
        const QFileInfo fi(path);
        const QString name = fi.fileName();
        const bool refused = r.err.contains(name + QLatin1String(job.refusal));
        if (kNotAudio.contains(name)) {
            EXPECT_TRUE(refused) << name.toStdString();
            continue;
        }
        EXPECT_FALSE(refused) << name.toStdString();
        EXPECT_EQ(r.lastState(name), QStringLiteral("finish")) << name.toStdString() << "\n" << r.err.toStdString();
        const QString output = out + QLatin1Char('/') + fi.completeBaseName() + QLatin1String(job.ending);
        EXPECT_TRUE(decodesToTheEnd(output)) << output.toStdString();
        // Normalising silence must not blow up a zero peak.
        if (name.startsWith(QLatin1String("silent"))) {
            const std::vector<short> samples = decodeChannel(output);
            EXPECT_LT(peak(samples, 0, samples.size()), 0.001) << output.toStdString();
        }
    }
    EXPECT_EQ(hashes(files), before);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, HostileBatch,
    testing::Values(JobCase{"towav", {"*.mp3", "*.ogg", "*.wma"}, " is not a valid file!", ".wav"},
                    JobCase{"tomp3", {"*.wav"}, " is not a valid WAV file!", ".mp3"},
                    JobCase{"normalize", {"*.mp3"}, " is not a valid MP3 file!", "_NOM.mp3"}),
    [](const testing::TestParamInfo<JobCase> &info) { return std::string(info.param.command); });

} // namespace
