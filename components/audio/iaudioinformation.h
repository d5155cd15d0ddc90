#pragma once
#include <QString>

namespace components {

// Carries the tags of one file to another. ReadTags keeps a file's tags until
// the next ReadTags; WriteTags puts them into a closed file. Both return
// normally for files without tags and for files that are no audio.
class IAudioInformation {
public:
    virtual ~IAudioInformation() = default;
    virtual void ReadTags(const QString &fileName) = 0;
    virtual void WriteTags(const QString &fileName) = 0;
};

} // namespace components
