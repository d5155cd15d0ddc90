#include "engine/filelist.h"

#include "engine/globals.h"
#include "platform/files.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr int SignificantDigits = 5;
constexpr int Decimals = 2;

QString suffixFor(int jobKind)
{
    switch (jobKind) {
    case JobNormalize:
        return QStringLiteral(" is not a valid MP3 file!");
    case JobToMp3:
        return QStringLiteral(" is not a valid WAV file!");
    default:
        return QStringLiteral(" is not a valid file!");
    }
}

} // namespace

FileSizeError::FileSizeError(const QString &path)
    : std::runtime_error(("Cannot open file " + path).toStdString())
{
}

QString sizeText(qint64 bytes)
{
    const double megabytes = double(bytes) / 1024 / 1024;
    // Five significant digits, of which at most two after the point.
    const int integerDigits = megabytes >= 1 ? int(std::floor(std::log10(megabytes))) + 1 : 1;
    const int kept = std::clamp(SignificantDigits - integerDigits, 0, Decimals);
    const double scale = std::pow(10.0, kept);
    const double rounded = std::round(megabytes * scale) / scale;
    return QString::number(rounded, 'f', Decimals) + QStringLiteral("MB");
}

QString sampleRateText(int frequency)
{
    return QString::number(frequency) + QStringLiteral("Hz");
}

QString channelText(int channels)
{
    switch (channels) {
    case 1:
        return QStringLiteral("mono");
    case 2:
        return QStringLiteral("stereo");
    default:
        return QString::number(channels) + QStringLiteral(" channels");
    }
}

QString invalidFileMessage(int jobKind, const QString &path)
{
    return platform::fileNameOf(path) + suffixFor(jobKind);
}

std::optional<ListRow> examineFile(components::IAudioFile &reader, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileSizeError(path);
    const qint64 bytes = file.size();
    file.close();

    reader.OpenFile(path, 0, 1);
    if (reader.ErrorCode() != 0) {
        reader.CloseFile();
        return std::nullopt;
    }
    ListRow row{platform::fileNameOf(path), path, sizeText(bytes), sampleRateText(reader.Frequency()),
                channelText(reader.Channels()), StateUnconvert};
    reader.CloseFile();
    return row;
}

void sortRows(std::vector<ListRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ListRow &a, const ListRow &b) {
        return QString::localeAwareCompare(a.fileName, b.fileName) < 0;
    });
}

} // namespace engine
