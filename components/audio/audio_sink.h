#pragma once

namespace components {

// Encodes interleaved float frames of one fixed input format into a file.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    virtual bool write(const float *samples, int frames) = 0;
    // Writes what is still held back and completes the file's headers.
    virtual bool finish() = 0;
};

} // namespace components
