#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// Everything a conversion worker reaches outside itself. Called on the worker's
// thread; the window's implementation hands each change to the window thread in
// order, and the batch tool prints it.
class IJobHost {
public:
    struct OverlayCall {
        QString name; // one of the four names given to findBut
        bool visible;
    };

    virtual ~IJobHost() = default;

    // The batch list: rows taken at launch, their source paths and state words.
    virtual int rowCount() = 0;
    virtual QString rowSourcePath(int row) = 0;
    virtual void setRowState(int row, const QString &state) = 0;
    // Progress of the current file, 0 to 100.
    virtual void setProgress(int percent) = 0;
    // findBut with the four names (normalize, to-WAV, to-MP3, stop), then the
    // visibility calls in their order.
    virtual void resetOverlays(const QStringList &findButNames, const std::vector<OverlayCall> &calls) = 0;
    // A message box with an OK button; returns once it is dismissed.
    virtual void showMessage(const QString &text, const QString &title) = 0;
    // A Yes/No question; blocks the worker until answered. True for Yes.
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    // Lets pending window messages be handled.
    virtual void processMessages() = 0;
    // Starts a command line (the output folder at the end of a batch).
    virtual void launch(const QString &commandLine, int showCode) = 0;
};
