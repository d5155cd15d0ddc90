#pragma once
#include "engine/jobworker.h"

// Re-encodes MP3 files into normalised "_NOM.mp3" files beside the MP3 output.
class TThreadMP3Normalize : public JobWorker {
    Q_OBJECT
public:
    explicit TThreadMP3Normalize(const JobContext &context, QObject *parent = nullptr);

protected:
    OutputStep outputStep(settings::TIniFile &ini, const QString &outputPath) override;
    bool normalizeThisBlock(settings::TIniFile &ini) override;
};
