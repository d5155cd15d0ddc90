#pragma once
#include "batchoptions.h"
#include "engine/filelist.h"
#include "engine/ijobhost.h"

#include <QElapsedTimer>
#include <QMutex>
#include <cstdio>
#include <vector>

// The worker's host on a terminal or in a script: row states and messages as
// lines, a progress bar on a terminal, questions answered by flag, on the
// terminal, or No.
class BatchHost : public IJobHost {
public:
    BatchHost(std::vector<engine::ListRow> rows, const BatchOptions &options);

    int rowCount() override;
    QString rowSourcePath(int row) override;
    void setRowState(int row, const QString &state) override;
    void setProgress(int percent) override;
    void resetOverlays(const QStringList &findButNames, const std::vector<OverlayCall> &calls) override;
    void showMessage(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;
    void processMessages() override;
    void launch(const QString &commandLine, int showCode) override;

    // True when every row ended "finish".
    bool allFinished() const;

private:
    void printLine(std::FILE *stream, const QString &line);
    void drawBar(int percent);
    bool readAnswer();

    mutable QMutex lock_;
    std::vector<engine::ListRow> rows_;
    const BatchOptions &options_;
    const bool terminal_;
    bool barShown_ = false;
    int lastTenth_ = -1;
    QElapsedTimer fileTimer_;
};
