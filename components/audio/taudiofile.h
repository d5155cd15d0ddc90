#pragma once
#include "components/audio/audioreader.h"
#include "components/audio/audiowriter.h"
#include "components/audio/iaudiofile.h"

#include <mutex>

namespace components {

// One instance is used as a reader or as a writer. Every call takes the
// instance's lock, so a CloseFile from the window thread waits for a block
// call under way on the worker.
class TAudioFile : public IAudioFile {
public:
    void OpenFile(const QString &fileName, int mode, int flags) override;
    void CloseFile() override;
    void CreateFile(const QString &fileName, int mode) override;
    void WriteBlock(SampleBlock &block) override;
    SampleBlock ReadBlock(int frames) override;
    int ConfigureReader(int a, int b) override;
    int SetWaveFormat(int sampleRate, int channels, int bits) override;
    void SetInputFormat(int sampleRate, int channels) override;
    IAudioFileMp3Encoder *GetMp3Encoder() override;
    bool IsMp3FormatSupported(int sampleRate, int bitrate, int mode) override;

    int Length() override;
    int Frequency() override;
    int Channels() override;
    int Duration() override;
    int ErrorCode() override;
    int OutChannels() override;
    int OutFrequency() override;
    bool WmaFormatEnabled() override;
    void SetWmaFormatEnabled(bool enabled) override;

private:
    std::mutex lock_;
    int error_ = 0;
    bool wmaEnabled_ = false;
    AudioReader reader_;
    AudioWriter writer_;
};

} // namespace components
