#include "mediacheck.h"

#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

std::map<QString, QString> probe(const QString &path)
{
    const QByteArray out = runTool(
        QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"), QStringLiteral("a:0"),
         QStringLiteral("-show_entries"),
         QStringLiteral("stream=codec_name,sample_rate,channels,bits_per_sample:format=duration:format_tags=title"),
         QStringLiteral("-of"), QStringLiteral("default=noprint_wrappers=1"), path});
    std::map<QString, QString> fields;
    for (const QString &line : QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fields[line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1);
    return fields;
}

double probedSeconds(const QString &path)
{
    const auto fields = probe(path);
    const auto it = fields.find(QStringLiteral("duration"));
    return it == fields.end() ? -1.0 : it->second.toDouble();
}

std::vector<short> decodeChannel(const QString &path, int channel)
{
    const QByteArray raw = runTool(QStringLiteral("ffmpeg"),
                                   {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                                    QStringLiteral("-af"), QStringLiteral("pan=mono|c0=c%1").arg(channel), QStringLiteral("-f"),
                                    QStringLiteral("s16le"), QStringLiteral("-")});
    std::vector<short> samples(size_t(raw.size()) / sizeof(short));
    std::memcpy(samples.data(), raw.constData(), samples.size() * sizeof(short));
    return samples;
}

double peak(const std::vector<short> &samples, size_t from, size_t count)
{
    int highest = 0;
    for (size_t i = from; i < std::min(samples.size(), from + count); ++i)
        highest = std::max(highest, std::abs(int(samples[i])));
    return highest / 32768.0;
}

bool makeSine(const QString &path, int seconds, int rate)
{
    QProcess process;
    process.start(QStringLiteral("ffmpeg"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(seconds),
                   QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), path});
    return process.waitForFinished(120000) && process.exitCode() == 0;
}
