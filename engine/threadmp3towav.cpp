#include "engine/threadmp3towav.h"

#include "engine/globals.h"
#include "settings/inifile.h"

namespace {

const QString CdQuality = QStringLiteral("CD quality");

const JobWorker::Traits &toWavTraits()
{
    static const JobWorker::Traits traits{
        JobToWav, "WavOption", "WavOption", 5, 5, ".wav", "Failed to create Wavfile ",
        true, true, &ToWavRunning};
    return traits;
}

} // namespace

TThreadMp3toWav::TThreadMp3toWav(const JobContext &context, QObject *parent)
    : JobWorker(context, toWavTraits(), parent)
{
}

void TThreadMp3toWav::formatStep(settings::TIniFile &ini)
{
    components::IAudioFile &reader = *context().reader;
    if (ini.ReadString(QStringLiteral("WavOption"), QStringLiteral("Format"), CdQuality) == CdQuality)
        context().writer->SetWaveFormat(44100, 2, 16);
    else
        context().writer->SetWaveFormat(reader.OutFrequency(), reader.OutChannels(), 16);
}

JobWorker::OutputStep TThreadMp3toWav::outputStep(settings::TIniFile &, const QString &outputPath)
{
    return createOutput(outputPath);
}

// Read for every block, so a setting saved mid-file applies from the next block.
bool TThreadMp3toWav::normalizeThisBlock(settings::TIniFile &ini)
{
    const QString section = QStringLiteral("WavOption");
    return ini.ReadString(section, QStringLiteral("Normalize"), QString()) == QLatin1String("yes")
        || ini.ReadString(section, QStringLiteral("Format"), QString()) == CdQuality;
}
