#pragma once
#include <atomic>
#include <cstdint>

// Process-wide values shared by the window thread and the one running worker.
// Atomic, since both read and write them without a lock.

// A conversion worker is running.
inline std::atomic<bool> IsConverting{false};
// Index of the list row being converted (the launch commands also count with it).
inline std::atomic<std::int32_t> CurrentIndex{0};

// Kind of the last started job.
enum JobKinds : int { JobNone = 0, JobNormalize = 1, JobToWav = 2, JobToMp3 = 3 };
inline std::atomic<int> JobKind{JobNone};

// The job of that kind was started and its worker has not yet ended.
inline std::atomic<bool> NormalizeRunning{false};
inline std::atomic<bool> ToWavRunning{false};
inline std::atomic<bool> ToMp3Running{false};
