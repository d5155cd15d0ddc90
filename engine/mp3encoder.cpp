#include "engine/mp3encoder.h"

#include "settings/inifile.h"

namespace {

constexpr int HighQuality = 9;
constexpr int LowQuality = 0;

bool quickModeIs(const settings::TIniFile &ini, const QString &words)
{
    return ini.ReadString(QStringLiteral("Mp3Option"), QStringLiteral("QuickMode"), QStringLiteral("high quality"))
               .compare(words, Qt::CaseInsensitive)
        == 0;
}

} // namespace

void configureMp3Encoder(components::IAudioFile &writer, const settings::TIniFile &ini, int modeDefault,
                         bool setFlag)
{
    const QString section = QStringLiteral("Mp3Option");
    writer.GetMp3Encoder()->SetEncoderSampleRate(ini.ReadInteger(section, QStringLiteral("SampleRate"), 44100));
    writer.GetMp3Encoder()->SetEncoderMode(ini.ReadInteger(section, QStringLiteral("mode"), modeDefault) + 1);
    writer.GetMp3Encoder()->SetEncoderBitrate(ini.ReadInteger(section, QStringLiteral("bitrate"), 8));
    if (setFlag)
        writer.GetMp3Encoder()->SetEncoderFlag(true);
    if (quickModeIs(ini, QStringLiteral("high quality")))
        writer.GetMp3Encoder()->SetEncoderQuality(HighQuality);
    if (quickModeIs(ini, QStringLiteral("low quality")))
        writer.GetMp3Encoder()->SetEncoderQuality(LowQuality);
}
