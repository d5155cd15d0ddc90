#pragma once

// Settings a job reads once when it starts and keeps for its batch.
struct JobSettings {
    bool fadeEnabled = true;
    int fadeInSeconds = 0;
    int fadeOutSeconds = 0;
    int normalizeSize = 98;
};
