#pragma once
#include "components/audio/iaudiofile.h"
#include "components/audio/iaudioinformation.h"
#include "components/audio/iaudiotransform.h"
#include "engine/ijobhost.h"

// What a worker works with: the host and the four audio component instances
// (owned by the window, or by the batch tool).
struct JobContext {
    IJobHost *host = nullptr;
    components::IAudioFile *reader = nullptr;      // AudioFileRead
    components::IAudioFile *writer = nullptr;      // AudioFileWrite
    components::IAudioTransform *transform = nullptr;   // AudioTransform
    components::IAudioInformation *information = nullptr; // AudioInformation1
};
