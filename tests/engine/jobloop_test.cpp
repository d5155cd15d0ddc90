#include "engine/globals.h"
#include "engine/threadmp3normalize.h"
#include "engine/threadmp3towav.h"
#include "engine/threadwavtomp3.h"
#include "fakes.h"
#include "settings/inifile.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Lines = std::vector<std::string>;

const std::string WavIdle = "overlays normalize_disable,towav_click,tomp3_disable,stop_disable :"
                            " towav_click=0 stop_disable=1 normalize_disable=0 tomp3_disable=0";
const std::string Mp3Idle = "overlays normalize_disable,towav_disable,tomp3_click,stop_disable :"
                            " tomp3_click=0 stop_disable=1 towav_disable=0 normalize_disable=0";
const std::string NormalizeIdle = "overlays normalize_click,towav_disable,tomp3_disable,stop_disable :"
                                  " normalize_click=0 stop_disable=1 tomp3_disable=0 towav_disable=0";

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A batch over source files in a temporary folder, converted into out/.
class JobLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        out = config.dir() + QStringLiteral("/out");
        QDir().mkpath(out);
        settings::TIniFile ini;
        ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Dir"), out);
        ini.WriteString(QStringLiteral("Mp3Option"), QStringLiteral("Dir"), out);
        ini.WriteBool(QStringLiteral("WavOption"), QStringLiteral("Fade"), false);
        ini.WriteBool(QStringLiteral("Mp3Option"), QStringLiteral("Fade"), false);
    }

    // A listed source at 44.1 kHz; exists on disk unless told otherwise.
    QString addSource(const QString &name, bool onDisk = true, int seconds = 1)
    {
        const QString path = config.dir() + QLatin1Char('/') + name;
        if (onDisk)
            writeFile(path, "source " + name.toUtf8());
        SourceScript s;
        s.length = 44100 * seconds;
        s.duration = 1000 * seconds;
        rig.reader.sources[path] = s;
        rig.host.addRow(path);
        return path;
    }

    template <class Worker>
    void run(std::atomic<bool> &runningFlag)
    {
        runningFlag = true;
        worker = std::make_unique<Worker>(rig.context);
        worker->start();
        ASSERT_TRUE(worker->wait(20000));
        EXPECT_FALSE(IsConverting.load());
        EXPECT_FALSE(runningFlag.load());
    }

    // Stop as the window does it, when the progress of a file reaches percent.
    void stopAt(int percent)
    {
        rig.host.onProgress = [this, percent](int p) {
            if (p < percent || worker->stopRequested())
                return;
            worker->requestStop();
            IsConverting = false;
            rig.host.states.at(size_t(CurrentIndex.load())) = QStringLiteral("stopped");
            rig.reader.CloseFile();
            rig.writer.CloseFile();
        };
    }

    QString state(int row) const { return rig.host.states.at(size_t(row)); }
    std::string launchLine() const { return "launch explorer " + out.toStdString() + " 3"; }

    TempConfig config;
    QString out;
    FakeRig rig;
    std::unique_ptr<JobWorker> worker;
};

TEST_F(JobLoop, OneFileRunsEveryStepInOrder)
{
    const QString a = addSource(QStringLiteral("a.mp3"));
    run<TThreadMp3toWav>(ToWavRunning);
    const std::string wav = (out + QStringLiteral("/a.wav")).toStdString();
    EXPECT_EQ(rig.log.lines(),
              (Lines{"readtags " + a.toStdString(), "reader open " + a.toStdString(), "reader configure 0 3",
                     "writer waveformat 44100 2 16", "state 0 Converting", "process", "process",
                     "writer create " + wav, "writer inputformat 44100 2", "progress 0", "reader read 88200",
                     "writer write 88200", "progress 100", "reader close", "writer close",
                     "progress 0", "writetags " + wav, "state 0 finish", WavIdle, launchLine()}));
}

TEST_F(JobLoop, EmptyListClearsFlagsResetsOverlaysAndOpensFolder)
{
    run<TThreadWavtoMp3>(ToMp3Running);
    EXPECT_EQ(rig.log.lines(), (Lines{Mp3Idle, "progress 0", launchLine()}));
}

TEST_F(JobLoop, MovedSourceEndsTheBatch)
{
    addSource(QStringLiteral("a.mp3"));
    addSource(QStringLiteral("b.mp3"), false);
    addSource(QStringLiteral("c.mp3"));
    run<TThreadMP3Normalize>(NormalizeRunning);
    EXPECT_EQ(state(0), "finish");
    EXPECT_EQ(state(1), "unconvert");
    EXPECT_EQ(state(2), "unconvert");
    EXPECT_EQ(rig.log.with("message "), Lines{"Velmora|b.mp3 has been moved"});
    EXPECT_EQ(rig.log.with("reader open ").size(), 1u);
    EXPECT_TRUE(rig.log.contains(NormalizeIdle));
    EXPECT_TRUE(rig.log.contains(launchLine()));
}

TEST_F(JobLoop, OverwriteNoKeepsRowAndFile)
{
    addSource(QStringLiteral("a.mp3"));
    addSource(QStringLiteral("b.mp3"));
    const QString existing = out + QStringLiteral("/a.wav");
    writeFile(existing, "old");
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("ask "), Lines{"ERROR|" + existing.toStdString() + " is already exist.Overwrite?"});
    EXPECT_EQ(readAll(existing), "old");
    EXPECT_EQ(state(0), "unconvert");
    EXPECT_EQ(state(1), "finish");
}

TEST_F(JobLoop, OverwriteYesClearsOnlyTheReadOnlyAttribute)
{
    addSource(QStringLiteral("a.mp3"));
    const QString existing = out + QStringLiteral("/a.mp3");
    writeFile(existing, "old");
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther;
    QFile::setPermissions(existing, readOnly);
    const auto modeBits = [&] { return QFile::permissions(existing) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser); };
    rig.host.answers = {true};
    run<TThreadWavtoMp3>(ToMp3Running);
    EXPECT_EQ(readAll(existing), "new output");
    EXPECT_EQ(modeBits(), readOnly | QFileDevice::WriteOwner);
    EXPECT_EQ(state(0), "finish");
}

TEST_F(JobLoop, SourceThatCannotBeOpenedFails)
{
    const QString a = addSource(QStringLiteral("a.mp3"));
    addSource(QStringLiteral("b.mp3"));
    rig.reader.sources[a].openFails = true;
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("message "), Lines{"ERROR!|Failed to open file " + a.toStdString()});
    EXPECT_EQ(state(0), "failed");
    EXPECT_EQ(state(1), "finish");
}

struct NameCase {
    const char *name;
    int kind;
    const char *output;
};

std::ostream &operator<<(std::ostream &os, const NameCase &c)
{
    return os << c.name;
}

class OutputNames : public JobLoop, public ::testing::WithParamInterface<NameCase> {};

TEST_P(OutputNames, LastExtensionReplacedByTheJobsEnding)
{
    addSource(QStringLiteral("take.1.mp3"));
    addSource(QStringLiteral("noext"));
    switch (GetParam().kind) {
    case JobToWav: run<TThreadMp3toWav>(ToWavRunning); break;
    case JobToMp3: run<TThreadWavtoMp3>(ToMp3Running); break;
    default: run<TThreadMP3Normalize>(NormalizeRunning); break;
    }
    const std::string ending = GetParam().output;
    EXPECT_EQ(rig.log.with("writer create "),
              (Lines{out.toStdString() + "/take.1" + ending, out.toStdString() + "/noext" + ending}));
}

INSTANTIATE_TEST_SUITE_P(Jobs, OutputNames,
                         ::testing::Values(NameCase{"ToWav", JobToWav, ".wav"}, NameCase{"ToMp3", JobToMp3, ".mp3"},
                                           NameCase{"Normalize", JobNormalize, "_NOM.mp3"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(JobLoop, UnsupportedFormatEndsTheBatchAndFailsTheRow)
{
    addSource(QStringLiteral("a.wav"));
    addSource(QStringLiteral("b.wav"));
    addSource(QStringLiteral("c.wav"));
    rig.writer.formatSupported = false;
    run<TThreadWavtoMp3>(ToMp3Running);
    EXPECT_EQ(rig.log.with("message "), Lines{"ERROR|Not support this MP3 format"});
    EXPECT_EQ(state(0), "failed");
    EXPECT_EQ(state(1), "unconvert");
    EXPECT_EQ(state(2), "unconvert");
    EXPECT_TRUE(rig.log.with("writer create ").empty());
    EXPECT_TRUE(rig.log.with("launch ").empty());
    const Lines lines = rig.log.lines();
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{Mp3Idle, "progress 0"}));
}

TEST_F(JobLoop, StopDuringAFileLeavesTheRowStopped)
{
    addSource(QStringLiteral("a.mp3"), true, 10);
    addSource(QStringLiteral("b.mp3"), true, 10);
    stopAt(40);
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(state(0), "stopped");
    EXPECT_EQ(state(1), "unconvert");
    EXPECT_TRUE(rig.log.with("writetags ").empty());
    EXPECT_TRUE(rig.log.with("launch ").empty());
    EXPECT_EQ(rig.log.with("reader read ").size(), 2u);
    EXPECT_EQ(rig.log.lines().back(), WavIdle);
}

TEST_F(JobLoop, SourceAndOutputTheSameFileIsNotTouched)
{
    settings::TIniFile().WriteString(QStringLiteral("WavOption"), QStringLiteral("Dir"), config.dir());
    const QString a = addSource(QStringLiteral("a.wav"));
    addSource(QStringLiteral("b.mp3"));
    const QByteArray before = readAll(a);
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("message "), Lines{"ERROR!|Failed to create Wavfile " + a.toStdString()});
    EXPECT_EQ(rig.log.with("writer create ").size(), 1u);
    EXPECT_TRUE(rig.log.with("ask ").empty());
    EXPECT_EQ(readAll(a), before);
    EXPECT_EQ(state(0), "failed");
    EXPECT_EQ(state(1), "finish");
}

TEST_F(JobLoop, DeclinedReadErrorFailsTheRowWithoutTags)
{
    const QString a = addSource(QStringLiteral("a.mp3"));
    rig.reader.sources[a].readErrors = {0};
    run<TThreadMP3Normalize>(NormalizeRunning);
    EXPECT_EQ(rig.log.with("ask "), Lines{"ERROR!|File read error!Continue?"});
    EXPECT_EQ(state(0), "failed");
    EXPECT_TRUE(rig.log.with("writetags ").empty());
}

// The writer cannot finish the file: no output, so no "finish" and no tags.
TEST_F(JobLoop, OutputThatCannotBeFinishedFails)
{
    addSource(QStringLiteral("a.mp3"));
    rig.writer.closeFails = true;
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("message "), Lines{"ERROR!|Failed to create Wavfile " + out.toStdString() + "/a.wav"});
    EXPECT_EQ(state(0), "failed");
    EXPECT_TRUE(rig.log.with("writetags ").empty());
}

TEST_F(JobLoop, ThrowingComponentFailsTheRowAndEndsIdle)
{
    const QString a = addSource(QStringLiteral("a.mp3"));
    addSource(QStringLiteral("b.mp3"));
    rig.reader.sources[a].throwOnRead = 0;
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(state(0), "failed");
    EXPECT_EQ(state(1), "unconvert");
    EXPECT_TRUE(rig.reader.closed);
    EXPECT_TRUE(rig.log.contains(WavIdle));
}

// Frames per second of a WMA source come from the reader, decided per row by
// the row's own lower-case ending.
TEST_F(JobLoop, WmaBlocksDecidedPerRow)
{
    for (const char *name : {"a.WMA", "b.wma"}) {
        SourceScript &s = rig.reader.sources[addSource(QLatin1String(name))];
        s.outFrequency = 22050;
        s.length = 88200;
        s.duration = 2000;
    }
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("reader read "), (Lines{"88200", "44100", "44100"}));
}

struct EncoderCase {
    const char *name;
    int kind;
    const char *settings;
    Lines calls; // encoder calls and the format test, in order
};

std::ostream &operator<<(std::ostream &os, const EncoderCase &c)
{
    return os << c.name;
}

class EncoderSettings : public JobLoop, public ::testing::WithParamInterface<EncoderCase> {};

TEST_P(EncoderSettings, AppliedInOrder)
{
    settings::TIniFile ini;
    const QStringList pairs = QString::fromLatin1(GetParam().settings).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &pair : pairs)
        ini.WriteString(QStringLiteral("mp3option"), pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    addSource(QStringLiteral("a.wav"));
    if (GetParam().kind == JobToMp3)
        run<TThreadWavtoMp3>(ToMp3Running);
    else
        run<TThreadMP3Normalize>(NormalizeRunning);
    Lines calls;
    for (const std::string &line : rig.log.lines())
        if (line.rfind("encoder ", 0) == 0 || line.rfind("writer supported ", 0) == 0)
            calls.push_back(line);
    EXPECT_EQ(calls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EncoderSettings,
    ::testing::Values(
        EncoderCase{"EncodeDefaults", JobToMp3, "",
                    {"encoder samplerate 44100", "encoder mode 2", "encoder bitrate 8", "encoder quality 9",
                     "writer supported 44100 8 2"}},
        EncoderCase{"NormalizeDefaults", JobNormalize, "",
                    {"encoder samplerate 44100", "encoder mode 3", "encoder bitrate 8", "encoder flag 1",
                     "encoder quality 9"}},
        EncoderCase{"LowQualityMono", JobToMp3, "QUICKMODE=Low quality;mode=0;samplerate=22050;bitrate=128",
                    {"encoder samplerate 22050", "encoder mode 1", "encoder bitrate 128", "encoder quality 0",
                     "writer supported 22050 128 1"}},
        EncoderCase{"CustomerMakesNoQualityCall", JobNormalize, "QuickMode=Customer;mode=1",
                    {"encoder samplerate 44100", "encoder mode 2", "encoder bitrate 8", "encoder flag 1"}}),
    [](const auto &info) { return std::string(info.param.name); });

struct WavCase {
    const char *name;
    const char *format;    // nullptr: no key
    const char *normalize; // nullptr: no key
    std::string waveFormat;
    bool normalised;
};

std::ostream &operator<<(std::ostream &os, const WavCase &c)
{
    return os << c.name;
}

class WavFormat : public JobLoop, public ::testing::WithParamInterface<WavCase> {};

TEST_P(WavFormat, FormatAndNormalisation)
{
    settings::TIniFile ini;
    if (GetParam().format)
        ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Format"), QLatin1String(GetParam().format));
    if (GetParam().normalize)
        ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Normalize"), QLatin1String(GetParam().normalize));
    SourceScript &s = rig.reader.sources[addSource(QStringLiteral("a.ogg"))];
    s.outFrequency = 22050;
    s.outChannels = 1;
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("writer waveformat "), Lines{GetParam().waveFormat});
    EXPECT_EQ(!rig.log.with("normalize ").empty(), GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(Keys, WavFormat,
                         ::testing::Values(WavCase{"CdQualityNormalisesAnyway", "CD quality", "no", "44100 2 16", true},
                                           WavCase{"SuitedKeepsTheReadersFormat", "suited", "no", "22050 1 16", false},
                                           WavCase{"SuitedWithNormalize", "suited", "yes", "22050 1 16", true},
                                           WavCase{"NoKeys", nullptr, nullptr, "44100 2 16", false},
                                           WavCase{"OtherCaseIsSuited", "cd quality", "Yes", "22050 1 16", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(JobLoop, EncodeNormalizeSwitchOffStillFades)
{
    settings::TIniFile ini;
    ini.WriteBool(QStringLiteral("mp3option"), QStringLiteral("normalize"), false);
    ini.WriteBool(QStringLiteral("mp3option"), QStringLiteral("fade"), true);
    addSource(QStringLiteral("a.wav"));
    run<TThreadWavtoMp3>(ToMp3Running);
    EXPECT_TRUE(rig.log.with("normalize ").empty());
    EXPECT_FALSE(rig.log.with("fade ").empty());
}

// Read for every block: a setting saved while a file converts applies from the next block.
TEST_F(JobLoop, NormalizeSavedMidFileAppliesFromTheNextBlock)
{
    settings::TIniFile ini;
    ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Format"), QStringLiteral("suited"));
    ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Normalize"), QStringLiteral("no"));
    addSource(QStringLiteral("a.mp3"), true, 10);
    rig.host.onProgress = [&](int percent) {
        if (percent == 40)
            settings::TIniFile().WriteString(QStringLiteral("wavoption"), QStringLiteral("normalize"), QStringLiteral("yes"));
    };
    run<TThreadMp3toWav>(ToWavRunning);
    EXPECT_EQ(rig.log.with("normalize ").size(), 3u);
}

// The MP3 jobs attempt the folder but not its parents: every row fails.
TEST_F(JobLoop, MissingOutputParentFailsEachRow)
{
    const QString dir = config.dir() + QStringLiteral("/none/a");
    settings::TIniFile().WriteString(QStringLiteral("Mp3Option"), QStringLiteral("Dir"), dir);
    addSource(QStringLiteral("song.wav"));
    addSource(QStringLiteral("tune.wav"));
    run<TThreadWavtoMp3>(ToMp3Running);
    EXPECT_EQ(rig.log.with("message "), (Lines{"ERROR!|Failed to open file" + dir.toStdString() + "/song.mp3",
                                               "ERROR!|Failed to open file" + dir.toStdString() + "/tune.mp3"}));
    EXPECT_EQ(state(0), "failed");
    EXPECT_EQ(state(1), "failed");
}

} // namespace
