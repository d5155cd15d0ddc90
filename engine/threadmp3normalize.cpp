#include "engine/threadmp3normalize.h"

#include "engine/globals.h"
#include "engine/mp3encoder.h"

namespace {

const JobWorker::Traits &normalizeTraits()
{
    static const JobWorker::Traits traits{
        JobNormalize, "mp3Option", "Mp3Option", 10, 20, "_NOM.mp3", "Failed to create Wavfile ",
        false, false, &NormalizeRunning};
    return traits;
}

} // namespace

TThreadMP3Normalize::TThreadMP3Normalize(const JobContext &context, QObject *parent)
    : JobWorker(context, normalizeTraits(), parent)
{
}

JobWorker::OutputStep TThreadMP3Normalize::outputStep(settings::TIniFile &ini, const QString &outputPath)
{
    configureMp3Encoder(*context().writer, ini, 2, true);
    return createOutput(outputPath);
}

bool TThreadMP3Normalize::normalizeThisBlock(settings::TIniFile &)
{
    return true;
}
