#pragma once
#include "engine/jobworker.h"

// Decodes MP3, OGG and WMA files to 16-bit WAV files.
class TThreadMp3toWav : public JobWorker {
    Q_OBJECT
public:
    explicit TThreadMp3toWav(const JobContext &context, QObject *parent = nullptr);

protected:
    void formatStep(settings::TIniFile &ini) override;
    OutputStep outputStep(settings::TIniFile &ini, const QString &outputPath) override;
    bool normalizeThisBlock(settings::TIniFile &ini) override;
};
