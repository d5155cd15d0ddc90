// Decodes a file through the reader in blocks of two seconds, as the block
// pipeline does, and prints the frames read and the seconds it took.
#include "components/audio/factory.h"

#include <chrono>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: reader_bench FILE\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    auto reader = components::createAudioFile();
    reader->SetWmaFormatEnabled(true);
    reader->OpenFile(QString::fromLocal8Bit(argv[1]), 0, 1);
    if (reader->ErrorCode() != 0) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const int blockFrames = 2 * reader->OutFrequency();
    long long frames = 0;
    for (;;) {
        const components::SampleBlock block = reader->ReadBlock(blockFrames);
        if (block.empty())
            break;
        frames += block.elementCount() / reader->OutChannels();
    }
    const int length = reader->Length();
    reader->CloseFile();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("frames %lld length %d seconds %.3f\n", frames, length, elapsed.count());
    return 0;
}
