#include "engine/blockpipeline.h"

#include "platform/muldiv.h"

#include <algorithm>

namespace {

constexpr float FullVolume = 100.0f;
constexpr std::int32_t MillisecondsPerSecond = 1000;

// Doubled in 32 bits as the block arithmetic has it, wrapping instead of
// overflowing, then widened.
std::int64_t twice32(std::int32_t value)
{
    return std::int32_t(std::uint32_t(value) * 2u);
}

// ((FadeOutSeconds + 1) * BlockSize) div 2 > Length - ReadPosition, in 64 bits.
bool beyondTailThreshold(std::int64_t blockSize, std::int32_t readPosition, std::int32_t length,
                         const JobSettings &settings)
{
    const std::int64_t remaining = std::int64_t(length) - readPosition;
    const std::int64_t threshold = (std::int64_t(settings.fadeOutSeconds) + 1) * blockSize / 2;
    return threshold > remaining;
}

} // namespace

BlockPipeline::BlockPipeline(const JobContext &context, const JobSettings &settings, Hooks hooks)
    : context_(context), settings_(settings), hooks_(std::move(hooks))
{
}

std::int64_t BlockPipeline::nextBlockSize(std::int64_t blockSize, std::int32_t readPosition,
                                          std::int32_t length, std::int32_t framesPerSecond,
                                          const JobSettings &settings)
{
    if (readPosition == 0 && settings.fadeEnabled)
        return std::int64_t(settings.fadeInSeconds) * blockSize;
    blockSize = twice32(framesPerSecond);
    if (settings.fadeEnabled && readPosition != 0
        && beyondTailThreshold(blockSize, readPosition, length, settings))
        blockSize = std::int64_t(length) - readPosition;
    return blockSize;
}

bool BlockPipeline::fadesOut(std::int64_t blockSize, std::int32_t readPosition, std::int32_t length,
                             const JobSettings &settings)
{
    return settings.fadeEnabled && readPosition != 0
        && beyondTailThreshold(blockSize, readPosition, length, settings);
}

PipelineEnd BlockPipeline::run(bool wmaSource)
{
    components::IAudioFile &reader = *context_.reader;
    components::IAudioFile &writer = *context_.writer;
    components::IAudioTransform &transform = *context_.transform;

    // Taken once: a Stop on the window thread may close the reader under us.
    const std::int32_t length = reader.Length();
    const std::int32_t channels = reader.Channels() > 0 ? reader.Channels() : 1;
    const std::int32_t framesPerSecond = wmaSource
        ? reader.OutFrequency()
        : platform::MulDiv(length, MillisecondsPerSecond, reader.Duration());

    std::int64_t blockSize = framesPerSecond;
    std::int32_t readPosition = 0;
    progress(0);
    while (readPosition < length) {
        if (hooks_.stopRequested())
            return PipelineEnd::Stopped;
        blockSize = nextBlockSize(blockSize, readPosition, length, framesPerSecond, settings_);

        components::SampleBlock block = reader.ReadBlock(std::int32_t(blockSize));
        if (!carryOn(reader.ErrorCode() != 0, "File read error!Continue?"))
            return PipelineEnd::Declined;
        if (hooks_.normalizeThisBlock())
            transform.NormalizeBlock(block, float(settings_.normalizeSize), -1);
        if (readPosition == 0 && settings_.fadeEnabled)
            transform.FadeBlock(block, 0.0f, FullVolume);
        if (fadesOut(blockSize, readPosition, length, settings_))
            transform.FadeBlock(block, FullVolume, 0.0f);
        writer.WriteBlock(block);
        if (!carryOn(writer.ErrorCode() != 0, "File write error!Continue?"))
            return PipelineEnd::Declined;

        const int elements = block.elementCount();
        readPosition = std::int32_t(std::min<std::int64_t>(std::int64_t(readPosition) + elements / channels, length));
        progress(int(std::int64_t(readPosition) * 100 / length));
        if (elements == 0) {
            progress(100);
            closeBoth();
            break;
        }
    }
    return hooks_.stopRequested() ? PipelineEnd::Stopped : PipelineEnd::Done;
}

// No question once a stop is requested: the block goes on as if answered Yes.
bool BlockPipeline::carryOn(bool failed, const char *question)
{
    if (!failed || hooks_.stopRequested())
        return true;
    if (context_.host->askYesNo(QString::fromLatin1(question), QStringLiteral("ERROR!")))
        return true;
    closeBoth();
    return false;
}

// A stopped file's bar belongs to Stop, which has zeroed it.
void BlockPipeline::progress(int percent)
{
    if (!hooks_.stopRequested())
        context_.host->setProgress(percent);
}

void BlockPipeline::closeBoth()
{
    context_.reader->CloseFile();
    context_.writer->CloseFile();
    outputLost_ = context_.writer->ErrorCode() != 0;
}
