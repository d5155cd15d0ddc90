#include "components/audio/taudiofile.h"

#include "components/audio/factory.h"

namespace components {

namespace {
constexpr int Failed = 1;
}

void TAudioFile::OpenFile(const QString &fileName, int, int)
{
    std::lock_guard<std::mutex> lock(lock_);
    reader_.close();
    error_ = reader_.open(fileName, wmaEnabled_) ? 0 : Failed;
}

void TAudioFile::CloseFile()
{
    std::lock_guard<std::mutex> lock(lock_);
    reader_.close();
    const bool stored = writer_.close();
    error_ = stored ? 0 : Failed;
}

void TAudioFile::CreateFile(const QString &fileName, int)
{
    std::lock_guard<std::mutex> lock(lock_);
    writer_.close();
    error_ = writer_.create(fileName) ? 0 : Failed;
}

void TAudioFile::WriteBlock(SampleBlock &block)
{
    std::lock_guard<std::mutex> lock(lock_);
    error_ = writer_.isOpen() && writer_.write(block) ? 0 : Failed;
}

SampleBlock TAudioFile::ReadBlock(int frames)
{
    std::lock_guard<std::mutex> lock(lock_);
    if (!reader_.isOpen()) {
        error_ = Failed;
        return {};
    }
    bool damaged = false;
    SampleBlock block = reader_.read(frames, &damaged);
    error_ = damaged ? Failed : 0;
    return block;
}

int TAudioFile::ConfigureReader(int, int)
{
    std::lock_guard<std::mutex> lock(lock_);
    return 0;
}

int TAudioFile::SetWaveFormat(int sampleRate, int channels, int bits)
{
    std::lock_guard<std::mutex> lock(lock_);
    writer_.setWaveFormat(sampleRate, channels, bits);
    return 0;
}

void TAudioFile::SetInputFormat(int sampleRate, int channels)
{
    std::lock_guard<std::mutex> lock(lock_);
    error_ = writer_.setInputFormat(sampleRate, channels) ? 0 : Failed;
}

IAudioFileMp3Encoder *TAudioFile::GetMp3Encoder()
{
    std::lock_guard<std::mutex> lock(lock_);
    return writer_.encoder();
}

bool TAudioFile::IsMp3FormatSupported(int sampleRate, int bitrate, int mode)
{
    std::lock_guard<std::mutex> lock(lock_);
    return writer_.isMp3FormatSupported(sampleRate, bitrate, mode);
}

#define SONVERA_READER_PROPERTY(Name, getter)          \
    int TAudioFile::Name()                             \
    {                                                  \
        std::lock_guard<std::mutex> lock(lock_);       \
        return reader_.getter();                       \
    }
SONVERA_READER_PROPERTY(Length, length)
SONVERA_READER_PROPERTY(Frequency, frequency)
SONVERA_READER_PROPERTY(Channels, channels)
SONVERA_READER_PROPERTY(Duration, durationMs)
SONVERA_READER_PROPERTY(OutChannels, outChannels)
SONVERA_READER_PROPERTY(OutFrequency, outFrequency)
#undef SONVERA_READER_PROPERTY

int TAudioFile::ErrorCode()
{
    std::lock_guard<std::mutex> lock(lock_);
    return error_;
}

bool TAudioFile::WmaFormatEnabled()
{
    std::lock_guard<std::mutex> lock(lock_);
    return wmaEnabled_;
}

void TAudioFile::SetWmaFormatEnabled(bool enabled)
{
    std::lock_guard<std::mutex> lock(lock_);
    wmaEnabled_ = enabled;
}

std::unique_ptr<IAudioFile> createAudioFile()
{
    return std::make_unique<TAudioFile>();
}

} // namespace components
