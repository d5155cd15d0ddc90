#pragma once
#include "engine/jobcontext.h"
#include "engine/jobsettings.h"

#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

namespace settings {
class TIniFile;
}

// A job's worker: the row loop and the block pipeline shared by the three jobs.
// Each job adds its output name, its settings defaults, its format and output
// steps and its "normalise this block?" decision (the TThread* classes).
//
// A worker never deletes itself. Its owner keeps it in a QPointer and deletes it
// through finished -> deleteLater; the batch tool waits for it and lets it go
// out of scope.
class JobWorker : public QThread {
    Q_OBJECT
public:
    ~JobWorker() override;

    // Any thread. The worker sees it at the top of each row and block and asks
    // nothing more, writes no further row state and no progress.
    void requestStop() { stop_.store(true); }
    bool stopRequested() const { return stop_.load(); }

    // The job's kind (JobNormalize, JobToWav, JobToMp3).
    int kind() const;

    // Fixed per job; each TThread* class supplies one.
    struct Traits {
        int kind;
        const char *section;   // the job's settings section
        const char *dirSection; // the section of the output directory
        int fadeInDefault;
        int fadeOutDefault;
        const char *outputEnding;
        const char *createFailure; // message before the output path when the output cannot be created
        bool directoryBeforeSourceTest; // the decode job makes the folder before testing the source
        bool progressZeroPerFile;      // else once at the end of the batch
        std::atomic<bool> *runningFlag;
    };

protected:
    // The result of a job's output step.
    enum class OutputStep { Created, Failed, EndBatch };

    JobWorker(const JobContext &context, const Traits &traits, QObject *parent);

    // Before the output path is tested; the reader is open without error.
    virtual void formatStep(settings::TIniFile &ini);
    // Creates the output (the row reads "Converting"). On failure it has shown
    // its message and closed what it opened; the loop marks the row.
    virtual OutputStep outputStep(settings::TIniFile &ini, const QString &outputPath) = 0;
    // Asked anew for every block.
    virtual bool normalizeThisBlock(settings::TIniFile &ini) = 0;
    // Job-start settings beyond the shared four (the encode job's switch).
    virtual void loadJobSettings(settings::TIniFile &ini);

    const JobContext &context() const { return context_; }
    // CreateFile on the writer; on failure the job's message, both files closed.
    OutputStep createOutput(const QString &outputPath);

    void run() override;

private:
    class Batch;
    // The create-failure message of this job, shown with the output path.
    void reportCreateFailure(const QString &outputPath);

    JobContext context_;
    const Traits &traits_;
    std::atomic<bool> stop_{false};
};
