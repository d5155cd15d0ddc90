#pragma once
#include "components/audio/iaudiofile.h"
#include "components/audio/iaudioinformation.h"
#include "components/audio/iaudiotransform.h"

#include <memory>

namespace components {

// The real components (FFmpeg, LAME, TagLib), without their headers.
std::unique_ptr<IAudioFile> createAudioFile();
std::unique_ptr<IAudioTransform> createAudioTransform();
std::unique_ptr<IAudioInformation> createAudioInformation();

} // namespace components
