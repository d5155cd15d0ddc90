#pragma once
#include "components/audio/iaudiofile.h"
#include "components/audio/sampleblock.h"

#include <QString>
#include <memory>

namespace components {

// Writes 16-bit WAV or MP3 (LAME) files. Output goes to a temporary file in
// the same folder that close() renames over the output path.
class AudioWriter {
public:
    AudioWriter();
    ~AudioWriter();

    void setWaveFormat(int sampleRate, int channels, int bits);
    bool create(const QString &fileName);
    bool setInputFormat(int sampleRate, int channels);
    bool write(const SampleBlock &block);
    // Finishes the file; true when it was stored. Nothing open: true.
    bool close();
    bool isOpen() const;

    IAudioFileMp3Encoder *encoder();
    bool isMp3FormatSupported(int sampleRate, int bitrate, int mode) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace components
