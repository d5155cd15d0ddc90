#pragma once
#include "components/audio/mp3_frame.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace components {

class OutputFile;

// Frames of one encoder, numbered from `first` in the whole stream, with the
// main data of each frame cut out of its own bit reservoir.
struct EncodedRun {
    long long first = 0;
    std::vector<mp3frame::Frame> frames;
    std::vector<std::size_t> offsets; // of each frame in bytes
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> mainOffsets; // of each frame's main data in mainData
    std::vector<std::uint8_t> mainData;

    long long end() const { return first + (long long)frames.size(); }
    const mp3frame::Frame &frame(long long index) const { return frames[std::size_t(index - first)]; }
    // Splits raw encoder output into frames; false on anything but layer III
    // frames whose main data lies inside the run.
    bool split(const std::uint8_t *p, std::size_t n);
};

// The reservoir room behind the next frame after placing frames from..to-1
// of run greedily, starting with `back` bytes of room; -1 when one does not fit.
int advanceRoom(const EncodedRun &run, long long from, long long to, int back);

// The first frame J in [from, to) at which `right` can take over from `left`:
// both encoders chose the same window for the last granule before J, and
// right's frames from J on fit the reservoir left there until they need no
// more room than in right's own stream (or all fit, when right is the last
// run). `back` is the room behind frame `from` once left's frames before it
// are placed. -1 when there is none.
long long chooseJoin(const EncodedRun &left, const EncodedRun &right, long long from, long long to,
                     int back, bool rightIsLast);

// Lays frames out into one bit reservoir: each frame's main data as early as
// the room behind it allows, main_data_begin rewritten, and each frame
// written as soon as its payload is complete.
class ReservoirWriter {
public:
    explicit ReservoirWriter(OutputFile &out) : out_(out) {}

    int room() const { return int(nextPayload_ - mainEnd_); }
    // False when the frame's main data does not fit or the write failed.
    bool add(const EncodedRun &run, long long index);
    // Writes the frames still waiting for payload, zero filled.
    bool finish();

    long long frames() const { return frames_; }
    std::uint16_t crc() const { return crc_; }

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        long long payloadStart;
        int payloadOffset;
    };
    void place(const std::uint8_t *data, int n, long long at);
    bool writeReady(bool all);

    OutputFile &out_;
    std::deque<Pending> pending_;
    long long nextPayload_ = 0;
    long long mainEnd_ = 0;
    long long frames_ = 0;
    std::uint16_t crc_ = 0;
};

} // namespace components
