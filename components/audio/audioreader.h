#pragma once
#include "components/audio/sampleblock.h"

#include <QString>
#include <memory>

namespace components {

// Decodes a source with FFmpeg into interleaved float blocks.
class AudioReader {
public:
    AudioReader();
    ~AudioReader();

    // False when the file is missing, no audio, has no audio stream, or is WMA
    // while WMA is not enabled.
    bool open(const QString &fileName, bool wmaEnabled);
    void close();
    bool isOpen() const;
    // At most `frames` frames; empty at the end. *damaged is set when the
    // source ends early or a damaged stretch was skipped in this block.
    SampleBlock read(int frames, bool *damaged);

    int length() const;
    int frequency() const;
    int channels() const;
    int durationMs() const;
    int outChannels() const;
    int outFrequency() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace components
