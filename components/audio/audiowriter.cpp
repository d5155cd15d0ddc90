#include "components/audio/audiowriter.h"

#include "components/audio/mp3_parallel.h"
#include "components/audio/mp3_sink.h"
#include "components/audio/output_file.h"
#include "components/audio/wav_sink.h"

namespace components {

namespace {
enum class Kind { Wav, Mp3 };

struct Format {
    int rate = 0;
    int channels = 0;

    bool valid() const { return rate >= 1000 && rate <= 768000 && channels >= 1 && channels <= 2; }
    bool operator!=(const Format &o) const { return rate != o.rate || channels != o.channels; }
};

bool kindOf(const QString &fileName, Kind *kind)
{
    if (fileName.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        *kind = Kind::Wav;
    else if (fileName.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive))
        *kind = Kind::Mp3;
    else
        return false;
    return true;
}
} // namespace

struct AudioWriter::Impl {
    Mp3Encoder encoder;
    Format wave{44100, 2};
    int waveBits = 16;
    Format input;

    // The file being written and what it was created with.
    Kind kind = Kind::Wav;
    Format fileWave;
    Mp3Settings fileMp3;
    std::unique_ptr<OutputFile> out;
    std::unique_ptr<AudioSink> sink; // made by the first write, once the input is known

    bool settingsUsable(Kind kind);
    bool ensureSink();
};

bool AudioWriter::Impl::settingsUsable(Kind kind)
{
    if (kind == Kind::Mp3)
        return encoder.settings().supported();
    return wave.valid() && waveBits == 16;
}

bool AudioWriter::Impl::ensureSink()
{
    if (sink)
        return true;
    // Closed before any input format came: an empty file of the asked-for format.
    const Format in = input.valid() ? input : kind == Kind::Wav ? fileWave : Format{44100, 2};
    if (kind == Kind::Wav)
        sink = WavSink::create(*out, fileWave.rate, fileWave.channels, in.rate, in.channels);
    else
        sink = createMp3Sink(*out, fileMp3, in.rate, in.channels);
    return sink != nullptr;
}

AudioWriter::AudioWriter() : d(std::make_unique<Impl>()) {}

AudioWriter::~AudioWriter() = default;

void AudioWriter::setWaveFormat(int sampleRate, int channels, int bits)
{
    d->wave = {sampleRate, channels};
    d->waveBits = bits;
}

bool AudioWriter::create(const QString &fileName)
{
    close();
    Kind kind;
    if (!kindOf(fileName, &kind) || !d->settingsUsable(kind))
        return false;
    auto out = std::make_unique<OutputFile>(fileName);
    if (!out->open())
        return false;
    d->kind = kind;
    d->fileWave = d->wave;
    d->fileMp3 = d->encoder.settings();
    d->out = std::move(out);
    return true;
}

bool AudioWriter::setInputFormat(int sampleRate, int channels)
{
    const Format format{sampleRate, channels};
    if (!format.valid() || (d->sink && format != d->input))
        return false;
    d->input = format;
    return true;
}

bool AudioWriter::write(const SampleBlock &block)
{
    if (!d->out || !d->input.valid())
        return false;
    if (block.channels != 0 && block.channels != d->input.channels)
        return false;
    if (!d->ensureSink())
        return false;
    const int frames = block.elementCount() / d->input.channels;
    return d->sink->write(block.samples.data(), frames);
}

bool AudioWriter::close()
{
    if (!d->out)
        return true;
    const bool finished = d->ensureSink() && d->sink->finish();
    d->sink.reset();
    // Unfinished, the file is dropped and whatever was at the path stays.
    const bool stored = finished && d->out->commit();
    d->out.reset();
    return stored;
}

bool AudioWriter::isOpen() const
{
    return d->out != nullptr;
}

IAudioFileMp3Encoder *AudioWriter::encoder()
{
    return &d->encoder;
}

bool AudioWriter::isMp3FormatSupported(int sampleRate, int bitrate, int mode) const
{
    Mp3Settings s;
    s.sampleRate = sampleRate;
    s.bitrate = bitrate;
    s.mode = mode;
    return s.supported();
}

} // namespace components
