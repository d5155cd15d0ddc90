#include "batch_support.h"

#include <QFile>
#include <QProcess>

QString BatchResult::lastState(const QString &fileName) const
{
    const QString prefix = fileName + QStringLiteral(": ");
    QString state;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix) && !line.endsWith(QLatin1Char('%')))
            state = line.mid(prefix.size()).trimmed();
    }
    return state;
}

BatchRunner::BatchRunner() = default;

void BatchRunner::writeSettings(const QString &outDir) const
{
    QFile f(settingsFile());
    if (f.open(QIODevice::WriteOnly))
        f.write(QStringLiteral("[WavOption]\nDir=%1\nFade=0\n[Mp3Option]\nDir=%1\nbitrate=128\nFade=0\n").arg(outDir).toUtf8());
}

BatchResult BatchRunner::run(const QString &command, const QStringList &files, const QStringList &options,
                             int timeoutMs, const QString &fileSizeLimitKb) const
{
    QProcess process;
    start(process, command, files, options, fileSizeLimitKb);
    return finish(process, timeoutMs);
}

void BatchRunner::start(QProcess &process, const QString &command, const QStringList &files,
                        const QStringList &options, const QString &fileSizeLimitKb) const
{
    const QString tool = QStringLiteral(SONVERA_BINARY_DIR "/sonvera-batch");
    const QStringList args = QStringList{command, QStringLiteral("--settings"), settingsFile()} + options + files;
    if (fileSizeLimitKb.isEmpty()) {
        process.start(tool, args);
    } else {
        // A full disk's stand-in: writes past the limit fail with EFBIG
        // instead of killing the process.
        const QString script = QStringLiteral("trap '' XFSZ; ulimit -f $((%1 * 2)); exec \"$0\" \"$@\"").arg(fileSizeLimitKb);
        process.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), script, tool} + args);
    }
    process.closeWriteChannel();
}

BatchResult BatchRunner::finish(QProcess &process, int timeoutMs, const QByteArray &seenOut)
{
    BatchResult r;
    r.timedOut = !process.waitForFinished(timeoutMs);
    if (r.timedOut) {
        process.kill();
        process.waitForFinished();
    }
    r.exitedNormally = !r.timedOut && process.exitStatus() == QProcess::NormalExit;
    r.exitCode = process.exitCode();
    r.out = QString::fromUtf8(seenOut + process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QByteArray sha256(const QString &path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        return {};
    return hash.result();
}

QMap<QString, QByteArray> hashes(const QStringList &paths)
{
    QMap<QString, QByteArray> result;
    for (const QString &p : paths)
        result[p] = sha256(p);
    return result;
}

namespace {

bool riffSizeAgrees(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(8);
    if (!head.startsWith("RIFF"))
        return true; // not a RIFF file
    const quint32 riff = quint8(head[4]) | quint8(head[5]) << 8 | quint8(head[6]) << 16 | quint32(quint8(head[7])) << 24;
    return qint64(riff) + 8 == f.size();
}

} // namespace

bool decodesToTheEnd(const QString &path)
{
    if (!riffSizeAgrees(path))
        return false;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-xerror"),
                                            QStringLiteral("-i"), path, QStringLiteral("-f"), QStringLiteral("null"),
                                            QStringLiteral("-")});
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0
           && ffmpeg.readAllStandardError().trimmed().isEmpty();
}
