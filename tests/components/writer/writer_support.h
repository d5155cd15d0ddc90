#pragma once
#include "components/audio/audiowriter.h"
#include "components/audio/sampleblock.h"

#include <QMap>
#include <QString>
#include <cstdint>
#include <vector>

namespace writertest {

// A sine of `frequency` Hz; channel c has amplitude amps[c].
components::SampleBlock sine(int rate, const std::vector<float> &amps, int firstFrame, int frames,
                             double frequency = 440.0);

// Feeds `frames` frames of sine() in blocks of `blockFrames`; false on the
// first failed write.
bool feed(components::AudioWriter &writer, int rate, const std::vector<float> &amps, int frames,
          int blockFrames = 20000);

// ffprobe's view of the first audio stream: sample_rate, channels,
// bits_per_sample, codec_name, bit_rate, ...; empty when it cannot be read.
QMap<QString, QString> probe(const QString &path);

// The file decoded by ffmpeg to interleaved 16-bit samples.
struct Decoded {
    bool ok = false;
    int channels = 0;
    std::vector<std::int16_t> samples;
    int frames() const { return channels ? int(samples.size()) / channels : 0; }
    // Largest magnitude of one channel, as a fraction of full scale.
    double peak(int channel) const;
};
Decoded decode(const QString &path);

QByteArray readAll(const QString &path);

} // namespace writertest
