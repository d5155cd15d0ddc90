// Writes the named file without end, until it is killed.
#include "components/audio/audiowriter.h"
#include "writer_support.h"

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    components::AudioWriter writer;
    if (!writer.create(QString::fromLocal8Bit(argv[1])) || !writer.setInputFormat(44100, 2))
        return 1;
    for (int block = 0;; ++block) {
        if (!writer.write(writertest::sine(44100, {0.5f, 0.5f}, block * 4410, 4410)))
            return 1;
        if (block == 20) {
            std::puts("writing");
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
