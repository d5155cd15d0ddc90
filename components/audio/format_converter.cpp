#include "components/audio/format_converter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace components {

namespace {
AVChannelLayout layoutOf(int channels)
{
    AVChannelLayout layout;
    av_channel_layout_default(&layout, channels);
    return layout;
}

// libswresample's own mix of mono to stereo is 3 dB down; we keep the level.
bool setMatrix(SwrContext *swr, int inChannels, int outChannels)
{
    if (inChannels == outChannels)
        return true;
    const double up[] = {1.0, 1.0};
    const double down[] = {0.5, 0.5};
    return outChannels == 2 ? swr_set_matrix(swr, up, 1) == 0 : swr_set_matrix(swr, down, 2) == 0;
}
} // namespace

std::unique_ptr<FormatConverter> FormatConverter::create(int inRate, int inChannels, int outRate,
                                                         int outChannels)
{
    AVChannelLayout in = layoutOf(inChannels);
    AVChannelLayout out = layoutOf(outChannels);
    SwrContext *swr = nullptr;
    if (swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_FLT, outRate, &in, AV_SAMPLE_FMT_FLT,
                            inRate, 0, nullptr)
        < 0)
        return nullptr;
    if (!setMatrix(swr, inChannels, outChannels) || swr_init(swr) < 0) {
        swr_free(&swr);
        return nullptr;
    }
    return std::unique_ptr<FormatConverter>(new FormatConverter(swr, outChannels));
}

FormatConverter::FormatConverter(SwrContext *swr, int outChannels)
    : swr_(swr), outChannels_(outChannels)
{
}

FormatConverter::~FormatConverter()
{
    swr_free(&swr_);
}

int FormatConverter::convert(const float *in, int frames)
{
    const int capacity = swr_get_out_samples(swr_, frames);
    if (capacity < 0)
        return -1;
    out_.resize(std::size_t(capacity) * std::size_t(outChannels_));
    auto *dst = reinterpret_cast<uint8_t *>(out_.data());
    const auto *src = reinterpret_cast<const uint8_t *>(in);
    return swr_convert(swr_, &dst, capacity, in ? &src : nullptr, frames);
}

} // namespace components
