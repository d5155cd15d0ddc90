#pragma once
#include "components/audio/iaudiofile.h"

namespace settings {
class TIniFile;
}

// Gives the writer's MP3 encoder the "Mp3Option" settings, in their order. The
// encoder is fetched anew for each call; what is not set keeps its value.
void configureMp3Encoder(components::IAudioFile &writer, const settings::TIniFile &ini, int modeDefault,
                         bool setFlag);
