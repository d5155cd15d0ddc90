#include "components/audio/mp3_frame.h"

namespace components::mp3frame {

namespace {
constexpr int Mpeg1Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int Mpeg2Kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int Rates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

class BitReader {
public:
    explicit BitReader(const std::uint8_t *p) : p_(p) {}
    int read(int bits)
    {
        int v = 0;
        for (int i = 0; i < bits; ++i, ++pos_)
            v = (v << 1) | ((p_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1);
        return v;
    }

private:
    const std::uint8_t *p_;
    int pos_ = 0;
};

// One granule of one channel; returns part2_3_length, stores the block type.
int readGranule(BitReader &r, bool mpeg1, int *blockType)
{
    const int part23 = r.read(12);
    r.read(9 + 8 + (mpeg1 ? 4 : 9)); // big_values, global_gain, scalefac_compress
    if (r.read(1)) {                 // window switching
        *blockType = r.read(2);
        r.read(1 + 2 * 5 + 3 * 3);
    } else {
        *blockType = 0;
        r.read(3 * 5 + 4 + 3);
    }
    r.read(mpeg1 ? 3 : 2); // (preflag), scalefac_scale, count1table_select
    return part23;
}
} // namespace

bool parse(const std::uint8_t *p, std::size_t avail, Frame *f)
{
    if (avail < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layer = (p[1] >> 1) & 3;
    const bool noCrc = p[1] & 1;
    const int rateIndex = (p[2] >> 2) & 3;
    const int kbpsIndex = p[2] >> 4;
    if (versionBits == 1 || layer != 1 || !noCrc || rateIndex == 3 || kbpsIndex == 0
        || kbpsIndex == 15)
        return false;
    const bool mpeg1 = versionBits == 3;
    const int rate = Rates[mpeg1 ? 0 : versionBits == 2 ? 1 : 2][rateIndex];
    const int kbps = (mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[kbpsIndex];
    const int padding = (p[2] >> 1) & 1;
    f->channels = (p[3] >> 6) == 3 ? 1 : 2;
    f->bytes = (mpeg1 ? 144000 : 72000) * kbps / rate + padding;
    f->sideInfoOffset = 4;
    f->sideInfoBytes = mpeg1 ? (f->channels == 1 ? 17 : 32) : (f->channels == 1 ? 9 : 17);
    f->maxBack = mpeg1 ? 511 : 255;
    if (std::size_t(f->bytes) > avail || f->payloadBytes() < 0)
        return false;

    BitReader r(p + f->sideInfoOffset);
    f->mainDataBegin = r.read(mpeg1 ? 9 : 8);
    r.read(mpeg1 ? (f->channels == 1 ? 5 : 3) : f->channels); // private bits
    if (mpeg1)
        r.read(4 * f->channels); // scfsi
    f->mainDataBits = 0;
    for (int gr = 0; gr < (mpeg1 ? 2 : 1); ++gr)
        for (int ch = 0; ch < f->channels; ++ch)
            f->mainDataBits += readGranule(r, mpeg1, &f->lastBlockType[ch]);
    return true;
}

void setMainDataBegin(std::uint8_t *p, const Frame &f, int mainDataBegin)
{
    std::uint8_t *side = p + f.sideInfoOffset;
    if (f.maxBack == 511) {
        side[0] = std::uint8_t(mainDataBegin >> 1);
        side[1] = std::uint8_t((side[1] & 0x7F) | ((mainDataBegin & 1) << 7));
    } else {
        side[0] = std::uint8_t(mainDataBegin);
    }
}

std::uint16_t crc16(const std::uint8_t *p, std::size_t n, std::uint16_t crc)
{
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
    }
    return crc;
}

} // namespace components::mp3frame
