#pragma once
#include "components/audio/sampleblock.h"

#include <QString>

namespace components {

// The MP3 encoder settings of a writer; they apply to the next MP3 file it creates.
//  sample rate: Hz, 0 = the input's rate (nearest MPEG rate)
//  mode: 0 encoder's choice, 1 mono, 2 stereo, 3 joint stereo
//  bit rate: kbit/s, 0 = the encoder's choice; snapped to a legal rate when set
//  quality: 0 (fastest) .. 9 (highest quality)
//  flag: true writes the stream's ReplayGain into the info tag
class IAudioFileMp3Encoder {
public:
    virtual ~IAudioFileMp3Encoder() = default;
    virtual void SetEncoderQuality(int quality) = 0;
    virtual int GetEncoderQuality() = 0;
    virtual void SetEncoderFlag(bool flag) = 0;
    virtual int GetEncoderSampleRate() = 0;
    virtual void SetEncoderSampleRate(int sampleRate) = 0;
    virtual int GetEncoderMode() = 0;
    virtual void SetEncoderMode(int mode) = 0;
    virtual int GetEncoderBitrate() = 0;
    virtual void SetEncoderBitrate(int bitrate) = 0;
};

// Opens and decodes a source (a reader) or creates and encodes an output (a
// writer). Failures are reported only through ErrorCode(): 0 when the latest
// operation on this instance succeeded, nonzero when it failed. No call throws.
// Each instance serialises its own calls, so CloseFile from another thread
// waits for a block call under way and never overlaps it; after such a close
// the next block call fails with ErrorCode.
class IAudioFile {
public:
    virtual ~IAudioFile() = default;

    // Opens a source for reading from the start. mode and flags are 0 and 1.
    virtual void OpenFile(const QString &fileName, int mode, int flags) = 0;
    // Closes whatever is open (a writer finishes its file); nothing open: no-op.
    virtual void CloseFile() = 0;
    // Creates an output whose kind follows the name's ending: ".wav" or ".mp3".
    virtual void CreateFile(const QString &fileName, int mode) = 0;
    virtual void WriteBlock(SampleBlock &block) = 0;
    // At most `frames` frames in OutFrequency/OutChannels; an empty block at the
    // end. A request for 0 or fewer frames gives a regular block of one second.
    virtual SampleBlock ReadBlock(int frames) = 0;
    virtual int ConfigureReader(int a, int b) = 0;
    // The WAV file's format; the next ".wav" CreateFile uses it.
    virtual int SetWaveFormat(int sampleRate, int channels, int bits) = 0;
    // The format of the blocks the writer will be given.
    virtual void SetInputFormat(int sampleRate, int channels) = 0;
    // Owned by this writer and valid for its lifetime.
    virtual IAudioFileMp3Encoder *GetMp3Encoder() = 0;
    virtual bool IsMp3FormatSupported(int sampleRate, int bitrate, int mode) = 0;

    // Properties of the source just opened.
    virtual int Length() = 0;    // sample frames; never fewer than ReadBlock delivers
    virtual int Frequency() = 0; // Hz of the file
    virtual int Channels() = 0;  // of the file
    virtual int Duration() = 0;  // milliseconds
    virtual int ErrorCode() = 0;
    virtual int OutChannels() = 0;  // of the blocks ReadBlock delivers
    virtual int OutFrequency() = 0; // of the blocks ReadBlock delivers
    virtual bool WmaFormatEnabled() = 0;
    virtual void SetWmaFormatEnabled(bool enabled) = 0;
};

} // namespace components
