#pragma once
#include "engine/jobcontext.h"

class QThread;

// Makes the conversion worker of a job kind, so tests can put their own.
class IJobWorkers {
public:
    virtual ~IJobWorkers() = default;
    // A worker of that kind (JobNormalize, JobToWav, JobToMp3), not yet started.
    virtual QThread *create(int jobKind, const JobContext &context) = 0;
    // Sets the worker's stop request; does not wait.
    virtual void requestStop(QThread *worker) = 0;
};
