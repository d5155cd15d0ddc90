// Engine benchmark driver; bench/engine.sh runs it.
//   engine_bench overhead SOURCE OUTDIR RUNS  job time over the components' own time
//   engine_bench job SOURCE OUTDIR            one to-WAV job (the script measures its memory)
//   engine_bench stop SOURCE OUTDIR           time from a stop to the worker's end, in blocks
#include "components/audio/factory.h"
#include "engine/globals.h"
#include "engine/threadmp3towav.h"
#include "settings/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

// Counts blocks; asks nothing.
class QuietHost : public IJobHost {
public:
    explicit QuietHost(QString source) : source_(std::move(source)) {}
    int rowCount() override { return 1; }
    QString rowSourcePath(int) override { return source_; }
    void setRowState(int, const QString &) override {}
    void setProgress(int percent) override
    {
        progress = percent;
        ++calls;
    }
    // The first of the worker's end-of-batch steps.
    void resetOverlays(const QStringList &, const std::vector<OverlayCall> &) override { ended = clock.nsecsElapsed(); }
    void showMessage(const QString &text, const QString &) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool askYesNo(const QString &, const QString &) override { return false; }
    void processMessages() override {}
    void launch(const QString &, int) override {}

    std::atomic<int> progress{0};
    std::atomic<int> calls{0};
    QElapsedTimer clock;
    std::atomic<qint64> ended{0};

private:
    QString source_;
};

struct Parts {
    std::unique_ptr<components::IAudioFile> reader = components::createAudioFile();
    std::unique_ptr<components::IAudioFile> writer = components::createAudioFile();
    std::unique_ptr<components::IAudioTransform> transform = components::createAudioTransform();
    std::unique_ptr<components::IAudioInformation> information = components::createAudioInformation();
};

void useSettings(const QString &outDir)
{
    const QString ini = outDir + QStringLiteral("/engine_bench.ini");
    settings::TIniFile::setDefaultPath(ini);
    settings::TIniFile file;
    file.WriteString(QStringLiteral("WavOption"), QStringLiteral("Dir"), outDir);
    file.WriteBool(QStringLiteral("WavOption"), QStringLiteral("Fade"), false);
    file.WriteString(QStringLiteral("WavOption"), QStringLiteral("Format"), QStringLiteral("CD quality"));
}

QString outputOf(const QString &source, const QString &outDir)
{
    return outDir + QLatin1Char('/') + QFileInfo(source).completeBaseName() + QStringLiteral(".wav");
}

double runJob(const QString &source, const QString &outDir)
{
    QFile::remove(outputOf(source, outDir));
    Parts parts;
    QuietHost host(source);
    TThreadMp3toWav worker({&host, parts.reader.get(), parts.writer.get(), parts.transform.get(), parts.information.get()});
    QElapsedTimer timer;
    timer.start();
    worker.start();
    worker.wait();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The same component calls the job makes for one file, without the job.
double runComponents(const QString &source, const QString &outDir)
{
    const QString output = outputOf(source, outDir);
    QFile::remove(output);
    Parts parts;
    QElapsedTimer timer;
    timer.start();
    parts.information->ReadTags(source);
    parts.reader->OpenFile(source, 0, 1);
    parts.reader->ConfigureReader(0, 3);
    parts.writer->SetWaveFormat(44100, 2, 16);
    parts.writer->CreateFile(output, 0);
    parts.writer->SetInputFormat(parts.reader->OutFrequency(), parts.reader->OutChannels());
    const int block = 2 * parts.reader->OutFrequency();
    for (;;) {
        components::SampleBlock samples = parts.reader->ReadBlock(block);
        if (samples.empty())
            break;
        parts.transform->NormalizeBlock(samples, 98.0f, -1);
        parts.writer->WriteBlock(samples);
    }
    parts.reader->CloseFile();
    parts.writer->CloseFile();
    parts.information->WriteTags(output);
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int overhead(const QString &source, const QString &outDir, int runs)
{
    std::vector<double> jobs, own, ratios;
    runComponents(source, outDir); // warm the file cache
    for (int i = 0; i < runs; ++i) {
        own.push_back(runComponents(source, outDir));
        jobs.push_back(runJob(source, outDir));
        ratios.push_back(jobs.back() / own.back());
    }
    // Each job is paired with the components' run just before it; the median
    // of the pairs keeps a busy moment of the machine out of the figure.
    std::printf("overhead: job %.0f ms, components %.0f ms (medians of %d), median paired ratio %.3f\n",
                median(jobs), median(own), runs, median(ratios));
    return 0;
}

// Stop as the window does it once a third is done; the latency in blocks of work.
int stopLatency(const QString &source, const QString &outDir)
{
    QFile::remove(outputOf(source, outDir));
    Parts parts;
    QuietHost host(source);
    TThreadMp3toWav worker({&host, parts.reader.get(), parts.writer.get(), parts.transform.get(), parts.information.get()});
    host.clock.start();
    worker.start();
    while (host.progress.load() < 30)
        QThread::usleep(200);
    const qint64 stopAt = host.clock.nsecsElapsed();
    const int blocks = host.calls.load() - 1; // the first call is the 0 before any block
    worker.requestStop();
    parts.reader->CloseFile();
    parts.writer->CloseFile(); // finishes the partial output
    const qint64 closed = host.clock.nsecsElapsed();
    worker.wait();
    const double blockMs = double(stopAt) / 1e6 / blocks;
    const double endMs = double(host.ended.load() - stopAt) / 1e6;
    const double closeMs = double(closed - stopAt) / 1e6;
    // The closing finishes the partial output (the writer syncs it to disk);
    // the block call under way waits for it, then fails, and the worker ends.
    const double ownMs = std::max(0.0, endMs - closeMs);
    std::printf("stop latency: worker ended %.1f ms after the stop; Stop's closing of both files %.1f ms;"
                " the worker's own part %.2f ms = %.2f blocks (one block %.1f ms)\n",
                endMs, closeMs, ownMs, ownMs / blockMs, blockMs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: engine_bench overhead|job|stop SOURCE OUTDIR [RUNS]\n");
        return 2;
    }
    const QString mode = args[1], source = args[2], outDir = args[3];
    QDir().mkpath(outDir);
    useSettings(outDir);
    if (mode == QLatin1String("overhead"))
        return overhead(source, outDir, args.size() > 4 ? args[4].toInt() : 5);
    if (mode == QLatin1String("stop"))
        return stopLatency(source, outDir);
    std::printf("job: %.0f ms\n", runJob(source, outDir));
    return 0;
}
