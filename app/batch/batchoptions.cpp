#include "batchoptions.h"

#include "engine/globals.h"

namespace {

int jobKindOf(const QString &command)
{
    if (command == QLatin1String("towav"))
        return JobToWav;
    if (command == QLatin1String("tomp3"))
        return JobToMp3;
    if (command == QLatin1String("normalize"))
        return JobNormalize;
    return JobNone;
}

bool setAnswer(BatchOptions &options, BatchOptions::Answer answer, QString *error)
{
    if (options.answer != BatchOptions::Answer::Ask && options.answer != answer) {
        *error = QStringLiteral("--yes and --no exclude each other");
        return false;
    }
    options.answer = answer;
    return true;
}

} // namespace

QString batchUsage()
{
    return QStringLiteral(
        "usage: sonvera-batch towav|tomp3|normalize [--settings FILE] [--yes|--no] [--open] FILE...\n"
        "  towav      MP3, OGG or WMA files to 16-bit WAV files\n"
        "  tomp3      WAV files to MP3 files\n"
        "  normalize  MP3 files to normalised _NOM.mp3 files\n"
        "  --settings FILE  read the settings from FILE instead of the user's settings file\n"
        "  --yes, --no      answer every question so (default: ask on a terminal, else No)\n"
        "  --open           open the output folder at the end\n"
        "exit status: 0 every file finished, 1 a file failed, was skipped or stopped, 2 usage error\n");
}

std::optional<BatchOptions> parseBatchArguments(const QStringList &arguments, QString *error)
{
    BatchOptions options;
    if (arguments.isEmpty()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    options.jobKind = jobKindOf(arguments.first());
    if (options.jobKind == JobNone) {
        *error = QStringLiteral("unknown command: ") + arguments.first();
        return std::nullopt;
    }
    bool filesOnly = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (filesOnly || !arg.startsWith(QLatin1String("--"))) {
            options.files << arg;
        } else if (arg == QLatin1String("--")) {
            filesOnly = true;
        } else if (arg == QLatin1String("--settings")) {
            if (++i == arguments.size()) {
                *error = QStringLiteral("--settings needs a file");
                return std::nullopt;
            }
            options.settingsFile = arguments.at(i);
        } else if (arg == QLatin1String("--yes") || arg == QLatin1String("--no")) {
            if (!setAnswer(options, arg == QLatin1String("--yes") ? BatchOptions::Answer::Yes : BatchOptions::Answer::No, error))
                return std::nullopt;
        } else if (arg == QLatin1String("--open")) {
            options.openFolder = true;
        } else {
            *error = QStringLiteral("unknown option: ") + arg;
            return std::nullopt;
        }
    }
    if (options.files.isEmpty()) {
        *error = QStringLiteral("no files given");
        return std::nullopt;
    }
    return options;
}
