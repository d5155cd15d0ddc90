#include "engine/threadwavtomp3.h"

#include "engine/globals.h"
#include "engine/mp3encoder.h"
#include "settings/inifile.h"

namespace {

const JobWorker::Traits &toMp3Traits()
{
    static const JobWorker::Traits traits{
        JobToMp3, "mp3Option", "Mp3Option", 10, 20, ".mp3", "Failed to open file",
        false, false, &ToMp3Running};
    return traits;
}

} // namespace

TThreadWavtoMp3::TThreadWavtoMp3(const JobContext &context, QObject *parent)
    : JobWorker(context, toMp3Traits(), parent)
{
}

void TThreadWavtoMp3::loadJobSettings(settings::TIniFile &ini)
{
    normalize_ = ini.ReadBool(QStringLiteral("mp3option"), QStringLiteral("normalize"), true);
}

JobWorker::OutputStep TThreadWavtoMp3::outputStep(settings::TIniFile &ini, const QString &outputPath)
{
    components::IAudioFile &writer = *context().writer;
    configureMp3Encoder(writer, ini, 1, false);
    // The encoder's own values, not the settings file's.
    const int mode = writer.GetMp3Encoder()->GetEncoderMode();
    const int bitrate = writer.GetMp3Encoder()->GetEncoderBitrate();
    const int sampleRate = writer.GetMp3Encoder()->GetEncoderSampleRate();
    if (!writer.IsMp3FormatSupported(sampleRate, bitrate, mode)) {
        context().host->showMessage(QStringLiteral("Not support this MP3 format"), QStringLiteral("ERROR"));
        context().reader->CloseFile();
        return OutputStep::EndBatch;
    }
    return createOutput(outputPath);
}

bool TThreadWavtoMp3::normalizeThisBlock(settings::TIniFile &)
{
    return normalize_;
}
