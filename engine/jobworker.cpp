#include "engine/jobworker.h"

#include "engine/blockpipeline.h"
#include "engine/filelist.h"
#include "engine/globals.h"
#include "engine/overlays.h"
#include "platform/files.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "settings/inifile.h"

#include <QFileInfo>
#include <optional>

namespace {

// How a row ended; anything but Next also ends the batch.
enum class RowEnd { Next, Stopped, SourceMoved, Unsupported };

// The source's name without its last extension, then the job's ending.
QString outputName(const QString &sourcePath, const char *ending)
{
    QString name = platform::fileNameOf(sourcePath);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QLatin1String(ending);
}

// Writing the output would truncate the source while it is read.
bool sameFile(const QString &source, const QString &output)
{
    const QString canonical = QFileInfo(output).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(source).canonicalFilePath();
}

// Decided per row from the row's own name; only the lower-case ending counts.
bool isWmaSource(const QString &sourcePath)
{
    return platform::fileNameOf(sourcePath).endsWith(QLatin1String(".wma"), Qt::CaseSensitive);
}

} // namespace

// One batch: the settings object, the job settings and the row loop.
class JobWorker::Batch {
public:
    explicit Batch(JobWorker &worker) : w_(worker), host_(*worker.context_.host) {}

    void run();

private:
    void loadSettings();
    RowEnd rowLoop();
    RowEnd convertRow(int row);
    RowEnd convertFile(int row, const QString &source, const QString &outputPath);
    std::optional<RowEnd> refuseOutput(int row, const QString &source, const QString &outputPath);
    RowEnd finishFile(int row, const QString &outputPath, PipelineEnd end, bool stored);
    QString outputDirectory(bool createAlways);
    void endBatch();
    // False when the writer could not finish and store the output.
    bool closeBoth();
    // Row states stay Stop's once it was requested.
    void setRowState(int row, const QString &state);

    JobWorker &w_;
    IJobHost &host_;
    const Traits &t_ = w_.traits_;
    components::IAudioFile &reader_ = *w_.context_.reader;
    components::IAudioFile &writer_ = *w_.context_.writer;
    settings::TIniFile ini_;
    JobSettings settings_;
    int rows_ = 0;
    RowEnd end_ = RowEnd::Next;
};

void JobWorker::Batch::run()
{
    IsConverting.store(true);
    try {
        loadSettings();
        end_ = rowLoop();
    } catch (...) {
        // A component that fails by throwing ends the batch like any other end.
        if (CurrentIndex.load() < rows_)
            setRowState(CurrentIndex.load(), engine::StateFailed);
        try {
            closeBoth();
        } catch (...) {
        }
    }
    endBatch();
}

void JobWorker::Batch::loadSettings()
{
    const QString section = QLatin1String(t_.section);
    settings_.fadeEnabled = ini_.ReadBool(section, QStringLiteral("Fade"), true);
    settings_.normalizeSize = ini_.ReadInteger(section, QStringLiteral("normalizesize"), 98);
    settings_.fadeInSeconds = ini_.ReadInteger(section, QStringLiteral("fade in"), t_.fadeInDefault);
    settings_.fadeOutSeconds = ini_.ReadInteger(section, QStringLiteral("fade out"), t_.fadeOutDefault);
    w_.loadJobSettings(ini_);
}

// Next when every row was worked on.
RowEnd JobWorker::Batch::rowLoop()
{
    rows_ = host_.rowCount();
    for (CurrentIndex.store(0); CurrentIndex.load() < rows_; ++CurrentIndex) {
        if (w_.stopRequested())
            return RowEnd::Stopped;
        const RowEnd end = convertRow(CurrentIndex.load());
        if (end != RowEnd::Next)
            return end;
    }
    return RowEnd::Next;
}

RowEnd JobWorker::Batch::convertRow(int row)
{
    const QString source = host_.rowSourcePath(row);
    QString directory;
    if (t_.directoryBeforeSourceTest)
        directory = outputDirectory(false);
    if (!platform::fileExists(source)) {
        if (w_.stopRequested())
            return RowEnd::Stopped;
        host_.showMessage(platform::fileNameOf(source) + QStringLiteral(" has been moved"), QStringLiteral("Velmora"));
        return RowEnd::SourceMoved;
    }
    w_.context_.information->ReadTags(source);
    reader_.OpenFile(source, 0, 1);
    reader_.ConfigureReader(0, 3);
    if (reader_.ErrorCode() != 0) {
        reader_.CloseFile();
        if (w_.stopRequested())
            return RowEnd::Stopped;
        host_.showMessage(QStringLiteral("Failed to open file ") + source, QStringLiteral("ERROR!"));
        setRowState(row, engine::StateFailed);
        return RowEnd::Next;
    }
    w_.formatStep(ini_);
    if (!t_.directoryBeforeSourceTest)
        directory = outputDirectory(true);
    const QString outputPath = directory + platform::separator() + outputName(source, t_.outputEnding);
    return convertFile(row, source, outputPath);
}

// Empty when the output may be written; else how the row ends (reader closed).
std::optional<RowEnd> JobWorker::Batch::refuseOutput(int row, const QString &source, const QString &outputPath)
{
    if (sameFile(source, outputPath)) {
        w_.reportCreateFailure(outputPath);
        reader_.CloseFile();
        setRowState(row, engine::StateFailed);
        return RowEnd::Next;
    }
    if (platform::fileExists(outputPath)) {
        if (w_.stopRequested()) {
            reader_.CloseFile();
            return RowEnd::Stopped;
        }
        if (!host_.askYesNo(outputPath + QStringLiteral(" is already exist.Overwrite?"), QStringLiteral("ERROR"))) {
            reader_.CloseFile();
            return RowEnd::Next;
        }
        if (platform::isReadOnly(outputPath))
            platform::clearReadOnly(outputPath);
    }
    if (w_.stopRequested()) {
        reader_.CloseFile();
        return RowEnd::Stopped;
    }
    return std::nullopt;
}

RowEnd JobWorker::Batch::convertFile(int row, const QString &source, const QString &outputPath)
{
    if (const auto refused = refuseOutput(row, source, outputPath))
        return *refused;
    setRowState(row, engine::StateConverting);
    host_.processMessages();
    host_.processMessages();

    switch (w_.outputStep(ini_, outputPath)) {
    case OutputStep::Created:
        break;
    case OutputStep::Failed:
        setRowState(row, engine::StateFailed);
        return RowEnd::Next;
    case OutputStep::EndBatch:
        setRowState(row, engine::StateFailed);
        return RowEnd::Unsupported;
    }
    writer_.SetInputFormat(reader_.OutFrequency(), reader_.OutChannels());

    BlockPipeline pipeline(w_.context_, settings_,
                           {[this] { return w_.stopRequested(); }, [this] { return w_.normalizeThisBlock(ini_); }});
    const PipelineEnd end = pipeline.run(isWmaSource(source));
    const bool stored = closeBoth() && !pipeline.outputLost();
    return finishFile(row, outputPath, end, stored);
}

// After both files are closed: tags and "finish" only for a complete, stored output.
RowEnd JobWorker::Batch::finishFile(int row, const QString &outputPath, PipelineEnd end, bool stored)
{
    if (w_.stopRequested())
        return RowEnd::Stopped;
    if (t_.progressZeroPerFile)
        host_.setProgress(0);
    if (end == PipelineEnd::Declined) {
        // The output is incomplete: no tags, and the row says so.
        setRowState(row, engine::StateFailed);
        return RowEnd::Next;
    }
    if (!stored) {
        // The writer could not finish the file: there is no output to call done.
        w_.reportCreateFailure(outputPath);
        setRowState(row, engine::StateFailed);
        return RowEnd::Next;
    }
    w_.context_.information->WriteTags(outputPath);
    setRowState(row, engine::StateFinish);
    return RowEnd::Next;
}

// The job's output directory, read anew; made (one level) when missing.
QString JobWorker::Batch::outputDirectory(bool createAlways)
{
    const QString directory = ini_.ReadString(QLatin1String(t_.dirSection), QStringLiteral("Dir"),
                                              platform::defaultOutputDirectory());
    if (createAlways || !platform::directoryExists(directory))
        platform::createDirectory(directory);
    return directory;
}

void JobWorker::Batch::endBatch()
{
    const OverlayState idle = jobEndOverlays(t_.kind);
    host_.resetOverlays(idle.names, idle.calls);

    IsConverting.store(false);
    t_.runningFlag->store(false);
    if (!t_.progressZeroPerFile)
        host_.setProgress(0);
    const QString directory = ini_.ReadString(QLatin1String(t_.dirSection), QStringLiteral("Dir"),
                                              platform::defaultOutputDirectory());
    // After a stop, Stop opens the folder itself; an unsupported format opens none.
    if (!w_.stopRequested() && end_ != RowEnd::Unsupported)
        host_.launch(QStringLiteral("explorer ") + directory, platform::ShowMaximized);
}

bool JobWorker::Batch::closeBoth()
{
    reader_.CloseFile();
    writer_.CloseFile();
    return writer_.ErrorCode() == 0;
}

void JobWorker::Batch::setRowState(int row, const QString &state)
{
    if (!w_.stopRequested())
        host_.setRowState(row, state);
}

JobWorker::JobWorker(const JobContext &context, const Traits &traits, QObject *parent)
    : QThread(parent), context_(context), traits_(traits)
{
}

JobWorker::~JobWorker() = default;

int JobWorker::kind() const
{
    return traits_.kind;
}

void JobWorker::formatStep(settings::TIniFile &)
{
}

void JobWorker::loadJobSettings(settings::TIniFile &)
{
}

void JobWorker::reportCreateFailure(const QString &outputPath)
{
    context_.host->showMessage(QLatin1String(traits_.createFailure) + outputPath, QStringLiteral("ERROR!"));
}

JobWorker::OutputStep JobWorker::createOutput(const QString &outputPath)
{
    context_.writer->CreateFile(outputPath, 0);
    if (context_.writer->ErrorCode() == 0)
        return OutputStep::Created;
    reportCreateFailure(outputPath);
    context_.reader->CloseFile();
    context_.writer->CloseFile();
    return OutputStep::Failed;
}

void JobWorker::run()
{
    Batch(*this).run();
}
