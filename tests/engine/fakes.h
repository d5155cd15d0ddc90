#pragma once
// Test doubles behind the host and component interfaces. Every call lands in
// one shared log as a line of text, so a test can check calls and their order.
#include "engine/ijobhost.h"
#include "engine/jobcontext.h"

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

struct CallLog {
    void add(const QString &line);
    std::vector<std::string> lines() const;
    // Lines starting with prefix, with the prefix removed.
    std::vector<std::string> with(const std::string &prefix) const;
    bool contains(const std::string &line) const;

    mutable std::mutex lock;
    std::vector<std::string> entries;
};

// The window as the worker sees it: rows, state words, progress, messages.
class RecordingHost : public IJobHost {
public:
    explicit RecordingHost(CallLog &log) : log_(log) {}

    std::vector<QString> paths;
    std::vector<QString> states;
    std::deque<bool> answers;      // answers to questions in order; No when used up
    std::function<void(int)> onProgress; // called with each progress value
    std::function<void(int, const QString &)> onState;

    void addRow(const QString &path);

    int rowCount() override { return int(paths.size()); }
    QString rowSourcePath(int row) override { return paths.at(size_t(row)); }
    void setRowState(int row, const QString &state) override;
    void setProgress(int percent) override;
    void resetOverlays(const QStringList &names, const std::vector<OverlayCall> &calls) override;
    void showMessage(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;
    void processMessages() override;
    void launch(const QString &commandLine, int showCode) override;

private:
    CallLog &log_;
};

// What a scripted source delivers.
struct SourceScript {
    int length = 0;
    int duration = 0;
    int channels = 2;
    int frequency = 44100;
    int outFrequency = 44100;
    int outChannels = 2;
    bool openFails = false;
    std::set<int> readErrors;      // block indexes whose read sets ErrorCode
    std::vector<int> elementCounts; // explicit element counts per block, else frames asked
    int throwOnRead = -1;          // block index whose read throws
};

class FakeEncoder : public components::IAudioFileMp3Encoder {
public:
    explicit FakeEncoder(CallLog &log) : log_(log) {}
    void SetEncoderQuality(int q) override;
    int GetEncoderQuality() override { return quality; }
    void SetEncoderFlag(bool flag) override;
    int GetEncoderSampleRate() override { return sampleRate; }
    void SetEncoderSampleRate(int v) override;
    int GetEncoderMode() override { return mode; }
    void SetEncoderMode(int v) override;
    int GetEncoderBitrate() override { return bitrate; }
    void SetEncoderBitrate(int v) override;

    int quality = 5, sampleRate = 0, mode = 0, bitrate = 0;

private:
    CallLog &log_;
};

// A reader (scripted per source path) or a writer (touches the file it creates).
class FakeAudioFile : public components::IAudioFile {
public:
    FakeAudioFile(CallLog &log, const char *role) : log_(log), role_(role), encoder_(log) {}

    std::map<QString, SourceScript> sources;
    bool createFails = false;
    bool closeFails = false; // the output cannot be finished
    std::set<int> writeErrors;
    bool formatSupported = true;
    bool closed = true;

    void OpenFile(const QString &fileName, int mode, int flags) override;
    void CloseFile() override;
    void CreateFile(const QString &fileName, int mode) override;
    void WriteBlock(components::SampleBlock &block) override;
    components::SampleBlock ReadBlock(int frames) override;
    int ConfigureReader(int a, int b) override;
    int SetWaveFormat(int sampleRate, int channels, int bits) override;
    void SetInputFormat(int sampleRate, int channels) override;
    components::IAudioFileMp3Encoder *GetMp3Encoder() override { return &encoder_; }
    bool IsMp3FormatSupported(int sampleRate, int bitrate, int mode) override;

    int Length() override { return current_.length; }
    int Frequency() override { return current_.frequency; }
    int Channels() override { return current_.channels; }
    int Duration() override { return current_.duration; }
    int ErrorCode() override { return error_; }
    int OutChannels() override { return current_.outChannels; }
    int OutFrequency() override { return current_.outFrequency; }
    bool WmaFormatEnabled() override { return true; }
    void SetWmaFormatEnabled(bool) override {}

    FakeEncoder &encoder() { return encoder_; }

private:
    CallLog &log_;
    QString role_;
    FakeEncoder encoder_;
    SourceScript current_;
    int error_ = 0;
    int blockIndex_ = 0;
    int delivered_ = 0;
    int written_ = 0;
};

class RecordingTransform : public components::IAudioTransform {
public:
    explicit RecordingTransform(CallLog &log) : log_(log) {}
    void FadeBlock(components::SampleBlock &block, float from, float to) override;
    void NormalizeBlock(components::SampleBlock &block, float percent, int mode) override;

private:
    CallLog &log_;
};

class RecordingInformation : public components::IAudioInformation {
public:
    explicit RecordingInformation(CallLog &log) : log_(log) {}
    void ReadTags(const QString &fileName) override;
    void WriteTags(const QString &fileName) override;

private:
    CallLog &log_;
};

// The four components and the host, wired into one context.
struct FakeRig {
    CallLog log;
    RecordingHost host{log};
    FakeAudioFile reader{log, "reader"};
    FakeAudioFile writer{log, "writer"};
    RecordingTransform transform{log};
    RecordingInformation information{log};
    JobContext context{&host, &reader, &writer, &transform, &information};
};
