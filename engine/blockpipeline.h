#pragma once
#include "engine/jobcontext.h"
#include "engine/jobsettings.h"

#include <cstdint>
#include <functional>

// How one file's blocks ended.
enum class PipelineEnd {
    Done,     // every frame moved, or the reader gave an empty block
    Declined, // the user answered No to a read or write question; both files closed
    Stopped,  // the stop request was seen
};

// Moves one opened source into one created output, block by block: the fade-in
// block first, then two-second blocks, the rest of the file as one last block
// once about the fade-out length is left; normalises and fades each block
// where asked and reports the progress.
class BlockPipeline {
public:
    struct Hooks {
        std::function<bool()> stopRequested;
        std::function<bool()> normalizeThisBlock; // asked anew for every block
    };

    BlockPipeline(const JobContext &context, const JobSettings &settings, Hooks hooks);

    // wmaSource: the source counts as WMA; its frames per second are then the
    // reader's OutFrequency instead of Length over Duration.
    PipelineEnd run(bool wmaSource);
    // The writer could not finish the output when the pipeline closed it.
    bool outputLost() const { return outputLost_; }

    // The size of the next block (the arithmetic, exposed for its own tests).
    static std::int64_t nextBlockSize(std::int64_t blockSize, std::int32_t readPosition,
                                      std::int32_t length, std::int32_t framesPerSecond,
                                      const JobSettings &settings);
    // True when the block of that size at that position is faded out.
    static bool fadesOut(std::int64_t blockSize, std::int32_t readPosition, std::int32_t length,
                         const JobSettings &settings);

private:
    bool carryOn(bool failed, const char *question);
    void progress(int percent);
    void closeBoth();

    JobContext context_;
    JobSettings settings_;
    Hooks hooks_;
    bool outputLost_ = false;
};
