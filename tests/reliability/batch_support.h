#pragma once
// sonvera-batch run as a user runs it, with the checks every reliability test
// makes: it ended by itself, in time, and left the sources as they were.
#include "support/temp_config.h"

#include <QCryptographicHash>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

struct BatchResult {
    bool exitedNormally = false;
    bool timedOut = false;
    int exitCode = -1;
    QString out, err;
    // The last state word printed for a row ("finish", "failed", "stopped", ...).
    QString lastState(const QString &fileName) const;
};

class BatchRunner {
public:
    BatchRunner();

    // A settings file sending both jobs' outputs to outDir, without fades.
    void writeSettings(const QString &outDir) const;
    BatchResult run(const QString &command, const QStringList &files, const QStringList &options,
                    int timeoutMs, const QString &fileSizeLimitKb = {}) const;
    // The same in two steps, for a test that acts while the batch runs.
    void start(QProcess &process, const QString &command, const QStringList &files, const QStringList &options,
               const QString &fileSizeLimitKb = {}) const;
    static BatchResult finish(QProcess &process, int timeoutMs, const QByteArray &seenOut = {});

    QString dir() const { return config_.dir(); }
    QString settingsFile() const { return dir() + QStringLiteral("/batch.ini"); }

private:
    TempConfig config_;
};

QByteArray sha256(const QString &path);
QMap<QString, QByteArray> hashes(const QStringList &paths);
// ffmpeg decodes the whole file without one error; a WAV file's RIFF size
// also agrees with its length.
bool decodesToTheEnd(const QString &path);
