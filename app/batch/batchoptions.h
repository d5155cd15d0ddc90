#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// The command line of sonvera-batch.
struct BatchOptions {
    enum class Answer { Ask, Yes, No };

    int jobKind = 0;      // JobNormalize, JobToWav or JobToMp3
    QString settingsFile; // empty: the user's settings file
    Answer answer = Answer::Ask;
    bool openFolder = false;
    QStringList files;
};

// Empty with *error set on a usage error.
std::optional<BatchOptions> parseBatchArguments(const QStringList &arguments, QString *error);
QString batchUsage();
