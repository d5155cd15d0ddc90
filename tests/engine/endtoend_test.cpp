// The three jobs with the real components on generated media, checked with
// ffprobe and ffmpeg rather than with the components themselves.
#include "components/audio/factory.h"
#include "engine/globals.h"
#include "engine/threadmp3normalize.h"
#include "engine/threadmp3towav.h"
#include "engine/threadwavtomp3.h"
#include "fakes.h"
#include "mediacheck.h"
#include "settings/inifile.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString TestTitle = QStringLiteral("Sinüs Ωmega – Tëst");

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        out = config.dir() + QStringLiteral("/out");
        QDir().mkpath(out);
        reader->SetWmaFormatEnabled(true);
        writer->SetWmaFormatEnabled(true);
        write("WavOption", "Dir", out);
        write("Mp3Option", "Dir", out);
        write("Mp3Option", "bitrate", QStringLiteral("128"));
        write("WavOption", "Fade", QStringLiteral("0"));
        write("Mp3Option", "Fade", QStringLiteral("0"));
    }

    static void write(const char *section, const char *key, const QString &value)
    {
        settings::TIniFile().WriteString(QLatin1String(section), QLatin1String(key), value);
    }

    template <class Worker>
    void run(std::atomic<bool> &runningFlag, const QStringList &sources)
    {
        for (const QString &source : sources)
            host.addRow(source);
        runningFlag = true;
        worker = std::make_unique<Worker>(context);
        worker->start();
        ASSERT_TRUE(worker->wait(120000));
    }

    QString output(const QString &name) const { return out + QLatin1Char('/') + name; }

    TempConfig config;
    QString out;
    CallLog log;
    RecordingHost host{log};
    std::unique_ptr<components::IAudioFile> reader = components::createAudioFile();
    std::unique_ptr<components::IAudioFile> writer = components::createAudioFile();
    std::unique_ptr<components::IAudioTransform> transform = components::createAudioTransform();
    std::unique_ptr<components::IAudioInformation> information = components::createAudioInformation();
    JobContext context{&host, reader.get(), writer.get(), transform.get(), information.get()};
    std::unique_ptr<JobWorker> worker;
};

TEST_F(EndToEnd, DecodesEachKindToCdQualityWav)
{
    // sine.ogg and sine.wma would both give sine.wav.
    const QString wma = config.dir() + QStringLiteral("/wsine.wma");
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("sine.wma")), wma));
    const QStringList names{"cbr.mp3", "mono22.mp3", "sine.ogg", "wsine.wma", "vbr.mp3"};
    QStringList sources;
    for (const QString &name : names)
        sources << (name == QLatin1String("wsine.wma") ? wma : testMedia(name));
    run<TThreadMp3toWav>(ToWavRunning, sources);
    for (int row = 0; row < names.size(); ++row) {
        SCOPED_TRACE(names[row].toStdString());
        EXPECT_EQ(host.states.at(size_t(row)), "finish");
        const QString wav = output(names[row].section(QLatin1Char('.'), 0, 0) + QStringLiteral(".wav"));
        const auto fields = probe(wav);
        EXPECT_EQ(fields.at("codec_name"), "pcm_s16le");
        EXPECT_EQ(fields.at("sample_rate"), "44100");
        EXPECT_EQ(fields.at("channels"), "2");
        EXPECT_NEAR(probedSeconds(wav), probedSeconds(sources[row]), 0.1);
    }
    EXPECT_EQ(probe(output(QStringLiteral("cbr.wav")))[QStringLiteral("TAG:title")], TestTitle);
    EXPECT_EQ(log.with("message ").size(), 0u);
}

// Fade-in 1 s, fade-out 2 s over a 5 s source: blocks of 1, 2 and 2 seconds,
// each normalised (CD quality), the first rising, the last falling.
TEST_F(EndToEnd, FadesAndNormalisationShowInTheSamples)
{
    write("WavOption", "Fade", QStringLiteral("1"));
    write("WavOption", "Fade In", QStringLiteral("1"));
    write("WavOption", "Fade Out", QStringLiteral("2"));
    write("WavOption", "Normalizesize", QStringLiteral("90"));
    write("WavOption", "Format", QStringLiteral("CD quality"));
    run<TThreadMp3toWav>(ToWavRunning, {testMedia(QStringLiteral("cbr.mp3"))});
    const std::vector<short> samples = decodeChannel(output(QStringLiteral("cbr.wav")));
    ASSERT_GT(samples.size(), 44100u * 4);
    const size_t end = samples.size();
    EXPECT_LT(peak(samples, 0, 441), 0.05);
    EXPECT_LT(peak(samples, 4410, 4410), peak(samples, 35280, 4410));
    EXPECT_NEAR(peak(samples, 44100 * 2, 44100), 0.90, 0.02);
    EXPECT_LT(peak(samples, end - 441, 441), 0.05);
    EXPECT_GT(peak(samples, end - 44100 * 2 + 4410, 4410), peak(samples, end - 8820, 4410));
}

TEST_F(EndToEnd, EncodesWavToMp3WithTags)
{
    run<TThreadWavtoMp3>(ToMp3Running, {testMedia(QStringLiteral("mono22.wav")), testMedia(QStringLiteral("tagged.wav"))});
    for (const char *name : {"mono22", "tagged"}) {
        SCOPED_TRACE(name);
        const QString mp3 = output(QLatin1String(name) + QStringLiteral(".mp3"));
        const auto fields = probe(mp3);
        EXPECT_EQ(fields.at("codec_name"), "mp3");
        EXPECT_EQ(fields.at("sample_rate"), "44100");
        EXPECT_EQ(fields.at("channels"), "2");
        EXPECT_NEAR(probedSeconds(mp3), probedSeconds(testMedia(QLatin1String(name) + QStringLiteral(".wav"))), 0.15);
    }
    EXPECT_EQ(probe(output(QStringLiteral("tagged.mp3")))[QStringLiteral("TAG:title")], TestTitle);
    EXPECT_EQ(host.states, (std::vector<QString>{"finish", "finish"}));
}

TEST_F(EndToEnd, NormalizesMp3IntoNomFileWithTags)
{
    write("Mp3Option", "normalizesize", QStringLiteral("80"));
    run<TThreadMP3Normalize>(NormalizeRunning, {testMedia(QStringLiteral("cbr.mp3"))});
    const QString nom = output(QStringLiteral("cbr_NOM.mp3"));
    EXPECT_EQ(host.states.at(0), "finish");
    EXPECT_EQ(probe(nom)[QStringLiteral("TAG:title")], TestTitle);
    // The level is the block's peak over both channels.
    const auto blockPeak = [](const QString &path) {
        return std::max(peak(decodeChannel(path, 0), 44100, 44100), peak(decodeChannel(path, 1), 44100, 44100));
    };
    const double sourcePeak = blockPeak(testMedia(QStringLiteral("cbr.mp3")));
    const double nomPeak = blockPeak(nom);
    EXPECT_LT(sourcePeak, 0.1);
    EXPECT_NEAR(nomPeak, 0.80, 0.05); // MP3 coding moves the peak a little
}

// Format is read per file: a value saved between two files decides the second.
TEST_F(EndToEnd, SettingsSavedBetweenFilesTakeEffect)
{
    write("WavOption", "Format", QStringLiteral("CD quality"));
    host.onState = [](int row, const QString &state) {
        if (row == 0 && state == QLatin1String("finish"))
            write("wavoption", "format", QStringLiteral("suited"));
    };
    run<TThreadMp3toWav>(ToWavRunning, {testMedia(QStringLiteral("cbr.mp3")), testMedia(QStringLiteral("mono22.mp3"))});
    const auto first = probe(output(QStringLiteral("cbr.wav")));
    const auto second = probe(output(QStringLiteral("mono22.wav")));
    EXPECT_EQ(first.at("sample_rate"), "44100");
    EXPECT_EQ(first.at("channels"), "2");
    EXPECT_EQ(second.at("sample_rate"), "22050");
    EXPECT_EQ(second.at("channels"), "1");
}

// Stop as the window does it: the partial output is a valid, shorter file.
TEST_F(EndToEnd, StopLeavesAValidShorterFile)
{
    const QString source = config.dir() + QStringLiteral("/long.wav");
    ASSERT_TRUE(makeSine(source, 30));
    host.onProgress = [this](int percent) {
        if (percent < 30 || worker->stopRequested())
            return;
        worker->requestStop();
        host.states.at(0) = QStringLiteral("stopped");
        reader->CloseFile();
        writer->CloseFile();
    };
    run<TThreadWavtoMp3>(ToMp3Running, {source});
    const QString mp3 = output(QStringLiteral("long.mp3"));
    EXPECT_EQ(host.states.at(0), "stopped");
    EXPECT_EQ(probe(mp3)[QStringLiteral("codec_name")], "mp3");
    EXPECT_GT(probedSeconds(mp3), 5.0);
    EXPECT_LT(probedSeconds(mp3), 25.0);
    EXPECT_TRUE(log.with("writetags ").empty());
}

} // namespace
