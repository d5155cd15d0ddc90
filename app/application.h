#pragma once
#include <QApplication>
#include <functional>

// The application object: an error that would reach the event loop goes to
// the error handler instead.
class SonveraApplication : public QApplication {
    Q_OBJECT
public:
    SonveraApplication(int &argc, char **argv);

    void setErrorHandler(std::function<void()> handler);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    void reportError();

    std::function<void()> errorHandler_;
};

// Sees every key press once, whichever window of the program has the focus.
// Installed on the application; never consumes the key.
class KeyHook : public QObject {
    Q_OBJECT
public:
    explicit KeyHook(std::function<void(int key)> handler, QObject *parent = nullptr);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(int key)> handler_;
};
