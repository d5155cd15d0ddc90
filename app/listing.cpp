#include "app/listing.h"

#include "platform/files.h"

#include <QFile>
#include <algorithm>
#include <cmath>

QString sizeText(qint64 bytes)
{
    const double megabytes = double(bytes) / 1024.0 / 1024.0;
    const int wholeDigits = megabytes >= 1.0 ? int(std::floor(std::log10(megabytes))) + 1 : 1;
    const int decimals = std::clamp(5 - wholeDigits, 0, 2);
    const double rounded = QString::number(megabytes, 'f', decimals).toDouble();
    return QString::number(rounded, 'f', 2) + QStringLiteral("MB");
}

QString channelText(int channels)
{
    switch (channels) {
    case 1: return QStringLiteral("mono");
    case 2: return QStringLiteral("stereo");
    default: return QStringLiteral("%1 channels").arg(channels);
    }
}

namespace {

// -1 when the file cannot be opened to read.
qint64 readableSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.size();
}

} // namespace

std::vector<ListRow> examineChosenFiles(components::IAudioFile &reader, const QStringList &files,
                                        const std::function<void(const QString &fileName)> &invalid)
{
    std::vector<ListRow> rows;
    for (const QString &path : files) {
        const QString name = platform::fileNameOf(path);
        const qint64 bytes = readableSize(path);
        if (bytes < 0) {
            invalid(name);
            continue;
        }
        reader.OpenFile(path, 0, 1);
        if (reader.ErrorCode() != 0) {
            invalid(name);
        } else {
            rows.push_back({name, path, sizeText(bytes), QString::number(reader.Frequency()) + QStringLiteral("Hz"),
                            channelText(reader.Channels()), StateUnconvert});
        }
        reader.CloseFile();
    }
    return rows;
}

void sortByCaption(std::vector<ListRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ListRow &a, const ListRow &b) {
        return QString::localeAwareCompare(a.caption, b.caption) < 0;
    });
}
