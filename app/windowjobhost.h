#pragma once
#include "engine/ijobhost.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>

class Tfm_main;

// The window's side of a running job. Called on the worker's thread; every
// change is queued to the window thread in the order made, and questions
// block the worker until answered. The rows are a copy taken at launch, so
// the worker never waits on the window for them.
class WindowJobHost : public QObject, public IJobHost {
    Q_OBJECT
public:
    WindowJobHost(Tfm_main &window, QStringList sourcePaths);

    int rowCount() override;
    QString rowSourcePath(int row) override;
    void setRowState(int row, const QString &state) override;
    void setProgress(int percent) override;
    void resetOverlays(const QStringList &findButNames, const std::vector<OverlayCall> &calls) override;
    void showMessage(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;
    void processMessages() override;
    void launch(const QString &commandLine, int showCode) override;

    // Window thread, after Stop marked the row: updates still on their way
    // must not overwrite that row's "stopped" or move the emptied bar.
    void markStopped(int row);
    // The window is going away: questions get No and nothing more is shown.
    void detach();

private:
    void post(std::function<void()> change);
    void callAndWait(const std::function<void()> &call);

    Tfm_main &window_;
    const QStringList sourcePaths_;
    std::atomic<bool> detached_{false};
    int stoppedRow_ = -1; // window thread only
};
