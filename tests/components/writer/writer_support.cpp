#include "writer_support.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace writertest {

using components::SampleBlock;

SampleBlock sine(int rate, const std::vector<float> &amps, int firstFrame, int frames,
                 double frequency)
{
    SampleBlock block;
    block.channels = int(amps.size());
    block.samples.reserve(std::size_t(frames) * amps.size());
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2 * M_PI * frequency * (firstFrame + i) / rate);
        for (float a : amps)
            block.samples.push_back(float(a * s));
    }
    return block;
}

bool feed(components::AudioWriter &writer, int rate, const std::vector<float> &amps, int frames,
          int blockFrames)
{
    for (int done = 0; done < frames; done += blockFrames) {
        if (!writer.write(sine(rate, amps, done, std::min(blockFrames, frames - done))))
            return false;
    }
    return true;
}

namespace {
bool run(const QString &program, const QStringList &args, QByteArray *out)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return false;
    *out = p.readAllStandardOutput();
    return true;
}
} // namespace

QMap<QString, QString> probe(const QString &path)
{
    QByteArray out;
    run("ffprobe",
        {"-v", "error", "-select_streams", "a:0", "-show_entries",
         "stream=codec_name,sample_rate,channels,bits_per_sample,bit_rate", "-of",
         "default=noprint_wrappers=1", path},
        &out);
    QMap<QString, QString> values;
    for (const QByteArray &line : out.split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return values;
}

double Decoded::peak(int channel) const
{
    int peak = 0;
    for (std::size_t i = std::size_t(channel); i < samples.size(); i += std::size_t(channels))
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32768.0;
}

Decoded decode(const QString &path)
{
    Decoded d;
    d.channels = probe(path).value("channels").toInt();
    QByteArray raw;
    if (d.channels == 0 || !run("ffmpeg", {"-v", "error", "-i", path, "-f", "s16le", "-"}, &raw))
        return d;
    d.samples.resize(std::size_t(raw.size()) / 2);
    std::copy_n(raw.constData(), d.samples.size() * 2, reinterpret_cast<char *>(d.samples.data()));
    d.ok = true;
    return d;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace writertest
