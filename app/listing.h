#pragma once
#include "components/audio/iaudiofile.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One row of the batch list: caption and its five sub-items.
struct ListRow {
    QString caption;    // file name without directory
    QString path;       // full path as chosen
    QString size;       // size text
    QString sampleRate; // "44100Hz"
    QString channel;    // "mono", "stereo", ...
    QString state;      // state word
};

inline const QString StateUnconvert = QStringLiteral("unconvert");
inline const QString StateStopped = QStringLiteral("stopped");

// Bytes / 1024 / 1024, at most five significant digits (more only where the
// whole megabytes need them), two decimals, "MB".
QString sizeText(qint64 bytes);
QString channelText(int channels);

// Opens every chosen file once with the reader and makes a row for each valid
// one, in the order chosen. A file the reader rejects, or whose size cannot be
// taken, is passed to invalid() by its file name and left out.
std::vector<ListRow> examineChosenFiles(components::IAudioFile &reader, const QStringList &files,
                                        const std::function<void(const QString &fileName)> &invalid);

// Ascending by caption in the locale's text order.
void sortByCaption(std::vector<ListRow> &rows);
