#include "app/windowjobhost.h"

#include "app/mainform.h"
#include "app/messageboxes.h"
#include "platform/launch.h"

#include <QThread>

WindowJobHost::WindowJobHost(Tfm_main &window, QStringList sourcePaths)
    : window_(window), sourcePaths_(std::move(sourcePaths))
{
}

int WindowJobHost::rowCount()
{
    return int(sourcePaths_.size());
}

QString WindowJobHost::rowSourcePath(int row)
{
    return row >= 0 && row < sourcePaths_.size() ? sourcePaths_[row] : QString();
}

void WindowJobHost::setRowState(int row, const QString &state)
{
    post([this, row, state] {
        if (row != stoppedRow_)
            window_.setRowState(row, state);
    });
}

void WindowJobHost::setProgress(int percent)
{
    post([this, percent] {
        if (stoppedRow_ < 0)
            window_.setProgress(percent);
    });
}

void WindowJobHost::resetOverlays(const QStringList &findButNames, const std::vector<OverlayCall> &calls)
{
    post([this, state = OverlayState{findButNames, calls}] { window_.showOverlays(state); });
}

void WindowJobHost::showMessage(const QString &text, const QString &title)
{
    callAndWait([&] { window_.messageBoxes().message(text, title, IMessageBoxes::Icon::None); });
}

bool WindowJobHost::askYesNo(const QString &text, const QString &title)
{
    bool yes = false;
    callAndWait([&] { yes = window_.messageBoxes().question(text, title, IMessageBoxes::Icon::None); });
    return yes;
}

void WindowJobHost::processMessages()
{
    // The window thread never waits on the worker, so it needs no nudge.
}

void WindowJobHost::launch(const QString &commandLine, int showCode)
{
    post([commandLine, showCode] { platform::launch(commandLine, showCode); });
}

void WindowJobHost::markStopped(int row)
{
    stoppedRow_ = row;
}

void WindowJobHost::detach()
{
    detached_ = true;
}

void WindowJobHost::post(std::function<void()> change)
{
    if (detached_)
        return;
    QMetaObject::invokeMethod(this, [this, change = std::move(change)] {
        if (!detached_)
            change();
    }, Qt::QueuedConnection);
}

void WindowJobHost::callAndWait(const std::function<void()> &call)
{
    if (detached_)
        return;
    const auto guarded = [this, &call] {
        if (!detached_)
            call();
    };
    if (QThread::currentThread() == thread())
        guarded();
    else
        QMetaObject::invokeMethod(this, guarded, Qt::BlockingQueuedConnection);
}
