#pragma once
#include "engine/ijobhost.h"

#include <QStringList>
#include <vector>

// The button-state overlays of one situation: the four names looked up by
// findBut (normalize, to-WAV, to-MP3, stop) and the visibility calls that
// follow, in their order.
struct OverlayState {
    QStringList names;
    std::vector<IJobHost::OverlayCall> calls;
};

// kind is JobNormalize, JobToWav or JobToMp3.
OverlayState jobStartOverlays(int kind);
OverlayState jobEndOverlays(int kind);
// After another skin was loaded while the job runs.
OverlayState skinRestoreOverlays(int kind);
