#pragma once
#include "components/audio/iaudioinformation.h"

#include <QByteArray>
#include <QString>

#include <mutex>

namespace components {

// The picture carried with the tags; type uses the ID3v2 picture numbering
// (3 = front cover), which Vorbis comments and ASF share.
struct CoverPicture {
    QByteArray data;
    QString mimeType;
    QString description;
    int type = 3;
};

// The fields carried from a source to its output. Encoder fields of the
// source are deliberately not among them: the output has its own encoder.
struct CarriedTags {
    QString title;
    QString artist;
    QString album;
    QString genre;
    QString comment;
    unsigned year = 0;
    unsigned track = 0;
    CoverPicture cover;

    bool isEmpty() const;
};

// Tags on TagLib: read from MP3, OGG, WMA and WAV (and whatever else TagLib
// knows), written into MP3 and WAV. The window and the worker may both reach
// one instance, so every call takes its lock.
class TAudioInformation : public IAudioInformation {
public:
    TAudioInformation();
    void ReadTags(const QString &fileName) override;
    void WriteTags(const QString &fileName) override;

    // What the latest ReadTags found.
    CarriedTags tags() const;

private:
    mutable std::mutex lock_;
    CarriedTags tags_;
};

} // namespace components
