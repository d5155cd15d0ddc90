#include "batchhost.h"

#include "engine/globals.h"
#include "platform/console.h"
#include "platform/launch.h"

#include <QTextStream>
#include <algorithm>
#include <iostream>
#include <string>

namespace {

constexpr int BarWidth = 30;

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

BatchHost::BatchHost(std::vector<engine::ListRow> rows, const BatchOptions &options)
    : rows_(std::move(rows)), options_(options), terminal_(platform::stdoutIsTerminal())
{
}

int BatchHost::rowCount()
{
    QMutexLocker guard(&lock_);
    return int(rows_.size());
}

QString BatchHost::rowSourcePath(int row)
{
    QMutexLocker guard(&lock_);
    return rows_.at(size_t(row)).fullPath;
}

void BatchHost::setRowState(int row, const QString &state)
{
    QMutexLocker guard(&lock_);
    engine::ListRow &r = rows_.at(size_t(row));
    r.state = state;
    printLine(stdout, r.fileName + QStringLiteral(": ") + state);
}

void BatchHost::setProgress(int percent)
{
    QMutexLocker guard(&lock_);
    if (percent == 0 || !fileTimer_.isValid())
        fileTimer_.start();
    if (terminal_) {
        // 0 comes between files and at the end: no bar until a block is done.
        if (percent > 0)
            drawBar(percent);
        return;
    }
    // In a script, a line per tenth is enough.
    const int tenth = percent / 10;
    if (percent == 0)
        lastTenth_ = 0;
    if (tenth == lastTenth_)
        return;
    lastTenth_ = tenth;
    const int row = std::clamp(CurrentIndex.load(), 0, int(rows_.size()) - 1);
    printLine(stdout, QStringLiteral("%1: %2%").arg(rows_.at(size_t(row)).fileName).arg(percent));
}

void BatchHost::resetOverlays(const QStringList &, const std::vector<OverlayCall> &)
{
    // No buttons to cover.
}

void BatchHost::showMessage(const QString &text, const QString &title)
{
    QMutexLocker guard(&lock_);
    printLine(stderr, title + QStringLiteral(": ") + text);
}

bool BatchHost::askYesNo(const QString &text, const QString &title)
{
    QMutexLocker guard(&lock_);
    const QString question = title + QStringLiteral(": ") + text;
    switch (options_.answer) {
    case BatchOptions::Answer::Yes:
        printLine(stderr, question + QStringLiteral(" yes"));
        return true;
    case BatchOptions::Answer::No:
        printLine(stderr, question + QStringLiteral(" no"));
        return false;
    case BatchOptions::Answer::Ask:
        break;
    }
    if (!platform::stdinIsTerminal()) {
        printLine(stderr, question + QStringLiteral(" no (no terminal to ask)"));
        return false;
    }
    printLine(stderr, question + QStringLiteral(" [y/N]"));
    guard.unlock(); // a Ctrl-C meanwhile must reach the rows
    return readAnswer();
}

bool BatchHost::readAnswer()
{
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const QString word = QString::fromStdString(answer).trimmed().toLower();
    return word == QLatin1String("y") || word == QLatin1String("yes");
}

void BatchHost::processMessages()
{
}

void BatchHost::launch(const QString &commandLine, int showCode)
{
    if (options_.openFolder)
        platform::launch(commandLine, showCode);
}

bool BatchHost::allFinished() const
{
    QMutexLocker guard(&lock_);
    return std::all_of(rows_.begin(), rows_.end(),
                       [](const engine::ListRow &r) { return r.state == engine::StateFinish; });
}

// Caller holds lock_. A line first takes the place of the bar.
void BatchHost::printLine(std::FILE *stream, const QString &line)
{
    if (barShown_) {
        std::fputs("\r\033[K", stdout);
        std::fflush(stdout);
        barShown_ = false;
    }
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Caller holds lock_.
void BatchHost::drawBar(int percent)
{
    const int row = std::clamp(CurrentIndex.load(), 0, int(rows_.size()) - 1);
    const int filled = percent * BarWidth / 100;
    QString left = QStringLiteral("--:--");
    if (percent > 0) {
        const qint64 elapsed = fileTimer_.elapsed();
        left = clockText(elapsed * (100 - percent) / percent / 1000);
    }
    const QString bar = QStringLiteral("\r\033[K%1 [%2%3] %4% %5 left")
                            .arg(rows_.empty() ? QString() : rows_.at(size_t(row)).fileName,
                                 QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('-')))
                            .arg(percent, 3)
                            .arg(left);
    std::fputs(bar.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    barShown_ = true;
}
