#pragma once
#include "app/filechooser.h"
#include "app/jobworkers.h"
#include "app/messageboxes.h"
#include "engine/overlays.h"
#include "components/audio/iaudiofile.h"
#include "components/audio/iaudioinformation.h"
#include "components/audio/iaudiotransform.h"
#include "components/skin/iskin.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class PopupMenu;
class QAction;
class QDialog;
class QProgressBar;
class QThread;
class QTreeWidget;
class Tfm_about;
class WindowJobHost;
namespace skin { class SkinSelector; }

// What the main window is built from; tests pass their own.
struct MainParts {
    std::unique_ptr<components::IAudioFile> audioFileRead;
    std::unique_ptr<components::IAudioFile> audioFileWrite;
    std::unique_ptr<components::IAudioTransform> audioTransform;
    std::unique_ptr<components::IAudioInformation> audioInformation;
    std::unique_ptr<components::ISkin> skin;
    std::unique_ptr<IMessageBoxes> messages;
    std::unique_ptr<IFileChooser> files;
    std::unique_ptr<IJobWorkers> workers;
};

// The real parts: audio components, skin engine, dialogs and job workers.
MainParts realMainParts();

// The main window: batch list, progress bar, menus, skin and job commands.
class Tfm_main : public QWidget {
    Q_OBJECT
public:
    explicit Tfm_main(MainParts parts, QWidget *parent = nullptr);
    ~Tfm_main() override;

    // The settings dialogs and the About box, created after the window.
    void setDialogs(QDialog *mp3settings, QDialog *wavsettings, Tfm_about *about);

    // Skin click dispatch by the clicked object's exact name.
    void Skin1Click(components::ISkinObject &source);
    void NormalizeClick();
    void ToWAVClick();
    void ToMP3Click();
    void Stop();
    void findBut(const QString &n1, const QString &n2, const QString &n3, const QString &n4);

    // Hooks: a key press seen application-wide, and an unhandled error.
    void ApplicationEvents1Key(int key);
    void ApplicationEvents1Exception();
    void helpCommand();
    void webSiteCommand();

    // Window-thread side of a running job.
    void setRowState(int row, const QString &state);
    void setProgress(int percent);
    void showOverlays(const OverlayState &state);
    IMessageBoxes &messageBoxes() { return *messages_; }

    QTreeWidget *suilv_main = nullptr;
    QProgressBar *suiprb_main = nullptr;
    PopupMenu *pm_setting = nullptr;
    PopupMenu *pm_help = nullptr;
    PopupMenu *pm_right = nullptr;

signals:
    void workerEnded();
    // The close was allowed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct JobCommand;
    void FormCreate();
    void createList();
    void createProgressBar();
    void createMenus();
    void fillSettingsMenu(PopupMenu &menu, int suffix);
    void raiseControls();
    void restoreOverlaysAfterSkinChange();
    void runJobCommand(const JobCommand &command);
    void launchWorker(int kind, const QStringList &paths);
    void waitForWorkerEnd();
    void onWorkerFinished();
    QPointer<QThread> &workerOf(int kind);
    void openModal(QDialog *dialog);

    std::unique_ptr<components::IAudioFile> AudioFileRead;
    std::unique_ptr<components::IAudioFile> AudioFileWrite;
    std::unique_ptr<components::IAudioTransform> AudioTransform;
    std::unique_ptr<components::IAudioInformation> AudioInformation1;
    std::unique_ptr<components::ISkin> Skin1;
    std::unique_ptr<IMessageBoxes> messages_;
    std::unique_ptr<IFileChooser> files_;
    std::unique_ptr<IJobWorkers> workers_;
    std::unique_ptr<skin::SkinSelector> skins_;

    // Overlay references, replaced by every findBut.
    std::shared_ptr<components::ISkinObject> NormalizeOverlay, ToWavOverlay, ToMp3Overlay, StopOverlay;

    QPointer<QThread> NormalizeThread, ToWavThread, ToMp3Thread;
    QPointer<QThread> activeWorker_; // until its end has reached the window thread
    std::unique_ptr<WindowJobHost> host_;
    bool stopRequested_ = false;

    QPointer<QDialog> fm_mp3settings, fm_wavsettings;
    QPointer<Tfm_about> fm_about;
};
