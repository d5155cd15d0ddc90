// sonvera-batch: the conversion jobs without a window.
#include "batchhost.h"
#include "batchoptions.h"

#include "components/audio/factory.h"
#include "engine/filelist.h"
#include "engine/globals.h"
#include "engine/threadmp3normalize.h"
#include "engine/threadmp3towav.h"
#include "engine/threadwavtomp3.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "settings/inifile.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int ExitFinished = 0;
constexpr int ExitIncomplete = 1;
constexpr int ExitUsage = 2;

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onInterrupt(int)
{
    interrupted.store(true);
}

void printError(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

struct Components {
    std::unique_ptr<components::IAudioFile> reader = components::createAudioFile();
    std::unique_ptr<components::IAudioFile> writer = components::createAudioFile();
    std::unique_ptr<components::IAudioTransform> transform = components::createAudioTransform();
    std::unique_ptr<components::IAudioInformation> information = components::createAudioInformation();
};

// The rows as the window's launch commands make them; invalid files reported and left out.
std::vector<engine::ListRow> listFiles(components::IAudioFile &reader, const BatchOptions &options, bool *allValid)
{
    std::vector<engine::ListRow> rows;
    *allValid = true;
    for (const QString &path : options.files) {
        std::optional<engine::ListRow> row;
        try {
            row = engine::examineFile(reader, path);
        } catch (const engine::FileSizeError &) {
        }
        if (row) {
            rows.push_back(*row);
        } else {
            printError(engine::invalidFileMessage(options.jobKind, path));
            *allValid = false;
        }
    }
    engine::sortRows(rows);
    return rows;
}

std::unique_ptr<JobWorker> makeWorker(int jobKind, const JobContext &context)
{
    switch (jobKind) {
    case JobToWav:
        ToWavRunning = true;
        return std::make_unique<TThreadMp3toWav>(context);
    case JobToMp3:
        ToMp3Running = true;
        return std::make_unique<TThreadWavtoMp3>(context);
    default:
        NormalizeRunning = true;
        return std::make_unique<TThreadMP3Normalize>(context);
    }
}

// What the window's Stop does, for Ctrl-C.
void stop(JobWorker &worker, const JobContext &context)
{
    worker.requestStop();
    IsConverting = false;
    if (CurrentIndex.load() < context.host->rowCount()) // past the last row the batch is ending anyway
        context.host->setRowState(CurrentIndex.load(), engine::StateStopped);
    context.reader->CloseFile();
    context.writer->CloseFile();
    context.host->setProgress(0);
    const QString section = worker.kind() == JobToWav ? QStringLiteral("WavOption") : QStringLiteral("Mp3Option");
    const QString directory = settings::TIniFile().ReadString(section, QStringLiteral("Dir"), platform::defaultOutputDirectory());
    context.host->launch(QStringLiteral("explorer ") + directory, platform::ShowMaximized);
}

int runBatch(const BatchOptions &options)
{
    if (!options.settingsFile.isEmpty())
        settings::TIniFile::setDefaultPath(options.settingsFile);
    Components parts;
    parts.reader->SetWmaFormatEnabled(true);
    parts.writer->SetWmaFormatEnabled(true);

    bool allValid = false;
    std::vector<engine::ListRow> rows = listFiles(*parts.reader, options, &allValid);
    if (rows.empty())
        return ExitIncomplete;

    BatchHost host(std::move(rows), options);
    const JobContext context{&host, parts.reader.get(), parts.writer.get(), parts.transform.get(),
                             parts.information.get()};
    JobKind = options.jobKind;
    std::unique_ptr<JobWorker> worker = makeWorker(options.jobKind, context);
    QObject::connect(worker.get(), &QThread::finished, QCoreApplication::instance(), &QCoreApplication::quit);

    QTimer interruptPoll;
    QObject::connect(&interruptPoll, &QTimer::timeout, [&] {
        if (interrupted.exchange(false) && worker->isRunning() && !worker->stopRequested())
            stop(*worker, context);
    });
    interruptPoll.start(50);
    std::signal(SIGINT, onInterrupt);

    worker->start();
    QCoreApplication::exec();
    worker->wait();
    const bool stopped = worker->stopRequested();
    return allValid && !stopped && host.allFinished() ? ExitFinished : ExitIncomplete;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 && (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h"))) {
        std::fputs(batchUsage().toLocal8Bit().constData(), stdout);
        return ExitFinished;
    }
    const std::optional<BatchOptions> options = parseBatchArguments(arguments, &error);
    if (!options) {
        printError(QStringLiteral("sonvera-batch: ") + error);
        std::fputs(batchUsage().toLocal8Bit().constData(), stderr);
        return ExitUsage;
    }
    return runBatch(*options);
}
