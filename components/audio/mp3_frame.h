#pragma once
#include <cstddef>
#include <cstdint>

// What the stream joiner needs to know about one MPEG audio layer III frame:
// where its side information and payload lie, where its main data starts
// (main_data_begin bytes back into earlier payloads), how long that main data
// is, and which window the last granule of each channel used.
namespace components::mp3frame {

struct Frame {
    int bytes = 0;          // whole frame, header included
    int sideInfoOffset = 0; // from the frame's start
    int sideInfoBytes = 0;
    int mainDataBegin = 0;  // bytes back from the payload's start
    int mainDataBits = 0;   // part2_3_length of all granules and channels
    int maxBack = 0;        // largest main_data_begin the version can encode
    int lastBlockType[2] = {0, 0};
    int channels = 0;

    int payloadOffset() const { return sideInfoOffset + sideInfoBytes; }
    int payloadBytes() const { return bytes - payloadOffset(); }
    int mainDataBytes() const { return (mainDataBits + 7) / 8; }
};

// Parses the frame at p (avail bytes readable). False when it is no layer III
// frame, carries a CRC, uses a free bit rate, or is cut short.
bool parse(const std::uint8_t *p, std::size_t avail, Frame *frame);

// Rewrites main_data_begin in the side information of the frame at p.
void setMainDataBegin(std::uint8_t *p, const Frame &frame, int mainDataBegin);

// CRC-16 (polynomial 0x8005, reflected, initial value 0) as the LAME info tag uses it.
std::uint16_t crc16(const std::uint8_t *p, std::size_t n, std::uint16_t crc = 0);

} // namespace components::mp3frame
