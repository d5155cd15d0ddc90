#pragma once
#include "engine/jobworker.h"

// Encodes WAV files to MP3 files.
class TThreadWavtoMp3 : public JobWorker {
    Q_OBJECT
public:
    explicit TThreadWavtoMp3(const JobContext &context, QObject *parent = nullptr);

protected:
    void loadJobSettings(settings::TIniFile &ini) override;
    OutputStep outputStep(settings::TIniFile &ini, const QString &outputPath) override;
    bool normalizeThisBlock(settings::TIniFile &ini) override;

private:
    bool normalize_ = true; // read once per batch
};
