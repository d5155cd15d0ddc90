#include "app/application.h"

#include <QKeyEvent>
#include <QThread>

SonveraApplication::SonveraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Sonvera"));
    setApplicationDisplayName(QStringLiteral("Sonvera"));
}

void SonveraApplication::setErrorHandler(std::function<void()> handler)
{
    errorHandler_ = std::move(handler);
}

bool SonveraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError();
        return false;
    }
}

void SonveraApplication::reportError()
{
    if (!errorHandler_)
        return;
    // The handler asks the user, so it always runs on the window thread.
    if (QThread::currentThread() == thread())
        errorHandler_();
    else
        QMetaObject::invokeMethod(this, errorHandler_, Qt::QueuedConnection);
}

KeyHook::KeyHook(std::function<void(int key)> handler, QObject *parent)
    : QObject(parent), handler_(std::move(handler))
{
}

bool KeyHook::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches the window first, then travels through its widgets;
    // looking only at the window sees each press once.
    if (event->type() == QEvent::KeyPress && watched->isWindowType())
        handler_(static_cast<QKeyEvent *>(event)->key());
    return false;
}
