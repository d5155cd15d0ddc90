#pragma once
#include "components/audio/iaudiofile.h"

#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

// The batch list as the launch commands make it, shared by the window and the
// batch tool so that both list exactly the same files with the same texts.
namespace engine {

// One row: the caption and the five sub-items.
struct ListRow {
    QString fileName;       // caption: the name without directory
    QString fullPath;       // as chosen
    QString sizeText;       // "3.34MB"
    QString sampleRateText; // "44100Hz"
    QString channelText;    // "mono", "stereo"
    QString state;          // "unconvert" when listed
};

// The state words of the State column.
inline const QString StateUnconvert = QStringLiteral("unconvert");
inline const QString StateConverting = QStringLiteral("Converting");
inline const QString StateFinish = QStringLiteral("finish");
inline const QString StateFailed = QStringLiteral("failed");
inline const QString StateStopped = QStringLiteral("stopped");

// The chosen file itself could not be opened to take its size.
class FileSizeError : public std::runtime_error {
public:
    explicit FileSizeError(const QString &path);
};

// Size in MB with two decimals and at most five significant digits, then "MB".
QString sizeText(qint64 bytes);
QString sampleRateText(int frequency);
QString channelText(int channels);

// The message for a file the reader refuses, for a job kind (JobNormalize,
// JobToWav, JobToMp3): "song.wav is not a valid WAV file!".
QString invalidFileMessage(int jobKind, const QString &path);

// Tests one chosen file with the reader (OpenFile, ErrorCode, Frequency,
// Channels, CloseFile). Empty when the reader refuses it; the caller shows
// invalidFileMessage(). Throws FileSizeError when the file cannot be opened.
std::optional<ListRow> examineFile(components::IAudioFile &reader, const QString &path);

// By caption, locale-aware, ascending; equal captions keep their order.
void sortRows(std::vector<ListRow> &rows);

} // namespace engine
