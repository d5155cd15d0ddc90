// Feeds raw interleaved float samples (f32le) to the writer in blocks of two
// seconds, as the conversion pipeline does.
// Usage: writer_bench OUT(.wav|.mp3) RATE CHANNELS INPUT|- [QUALITY]
//   .wav is written in CD quality (44.1 kHz stereo 16 bit);
//   .mp3 at 128 kbit/s, the input's rate, the encoder's mode, QUALITY 0..9.
#include "components/audio/audiowriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: writer_bench OUT RATE CHANNELS INPUT|- [QUALITY]\n");
        return 2;
    }
    const int rate = std::atoi(argv[2]);
    const int channels = std::atoi(argv[3]);
    std::FILE *in = std::strcmp(argv[4], "-") == 0 ? stdin : std::fopen(argv[4], "rb");
    if (!in || channels < 1) {
        std::fprintf(stderr, "cannot read %s\n", argv[4]);
        return 1;
    }
    components::AudioWriter writer;
    writer.setWaveFormat(44100, 2, 16);
    writer.encoder()->SetEncoderBitrate(128);
    if (argc > 5)
        writer.encoder()->SetEncoderQuality(std::atoi(argv[5]));
    if (!writer.create(QString::fromLocal8Bit(argv[1])) || !writer.setInputFormat(rate, channels)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    components::SampleBlock block;
    block.channels = channels;
    block.samples.resize(std::size_t(rate) * 2 * std::size_t(channels));
    for (;;) {
        const std::size_t got = std::fread(block.samples.data(), sizeof(float),
                                           block.samples.size(), in);
        if (got == 0)
            break;
        block.samples.resize(got);
        if (!writer.write(block)) {
            std::fprintf(stderr, "write failed\n");
            return 1;
        }
    }
    if (!writer.close()) {
        std::fprintf(stderr, "close failed\n");
        return 1;
    }
    return 0;
}
