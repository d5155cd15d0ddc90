#include "app/mainform.h"

#include "app/about.h"
#include "app/appglobals.h"
#include "app/menus.h"
#include "app/windowjobhost.h"
#include "engine/filelist.h"
#include "engine/globals.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "settings/inifile.h"
#include "skin/skinselect.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QEventLoop>
#include <QHeaderView>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>

namespace {

const QString HelpCommandLine = QStringLiteral("hh help\\zo3&rev.chm");

struct Column {
    const char *caption;
    int width, minimum, maximum;
};
constexpr Column Columns[] = {
    {"File name", 90, 90, 200}, {"Full path", 80, 50, 300},   {"Size", 50, 50, 50},
    {"Sample rate", 70, 50, 100}, {"Channel", 60, 50, 100}, {"State", 70, 50, 100},
};
constexpr int StateColumn = 5;

const char *const ListStyle = R"(
QTreeWidget { border: 2px solid gray; background: white; }
QTreeWidget::item { border-right: 1px solid rgb(192, 192, 192); border-bottom: 1px solid rgb(192, 192, 192); }
QHeaderView::section { background: rgb(214, 222, 239); color: rgb(0, 32, 96); border: 0px;
                       border-right: 1px solid rgb(132, 150, 190); border-bottom: 1px solid rgb(132, 150, 190);
                       padding-left: 3px; }
)";

const char *const ProgressStyle = R"(
QProgressBar { border: 1px solid silver; background: white; text-align: center; color: palette(window-text); }
QProgressBar::chunk { background: gray; }
)";

// A row for each chosen file the reader accepts, in the order chosen; each
// other file is named in its own box. A file that cannot even be read for its
// size counts as invalid too, so the command goes on.
std::vector<engine::ListRow> examineChosenFiles(components::IAudioFile &reader, const QStringList &files, int kind,
                                                IMessageBoxes &boxes)
{
    std::vector<engine::ListRow> rows;
    for (const QString &path : files) {
        std::optional<engine::ListRow> row;
        try {
            row = engine::examineFile(reader, path);
        } catch (const engine::FileSizeError &) {
        }
        if (row)
            rows.push_back(*row);
        else
            showInformation(boxes, engine::invalidFileMessage(kind, path));
    }
    return rows;
}

std::atomic<bool> &runningFlagOf(int kind)
{
    switch (kind) {
    case JobNormalize: return NormalizeRunning;
    case JobToWav: return ToWavRunning;
    default: return ToMp3Running;
    }
}

} // namespace

struct Tfm_main::JobCommand {
    int kind;
    QString filter;
    bool repaintFirst;
};

Tfm_main::Tfm_main(MainParts parts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      AudioFileRead(std::move(parts.audioFileRead)),
      AudioFileWrite(std::move(parts.audioFileWrite)),
      AudioTransform(std::move(parts.audioTransform)),
      AudioInformation1(std::move(parts.audioInformation)),
      Skin1(std::move(parts.skin)),
      messages_(std::move(parts.messages)),
      files_(std::move(parts.files)),
      workers_(std::move(parts.workers))
{
    setWindowTitle(QStringLiteral("Sonvera"));
    setFixedSize(455, 341);
    QFont windowFont(QStringLiteral("Sans Serif"));
    windowFont.setStyleHint(QFont::SansSerif);
    windowFont.setPointSize(8);
    setFont(windowFont);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    createList();
    createProgressBar();
    createMenus();
    skins_ = std::make_unique<skin::SkinSelector>(*Skin1, *this, *messages_, *files_, [this] {
        raiseControls();
        restoreOverlaysAfterSkinChange();
    });
    Skin1->setOnClick([this](components::ISkinObject &source) { Skin1Click(source); });
    FormCreate();
}

Tfm_main::~Tfm_main()
{
    // A worker still running at exit is stopped and waited for, so that it
    // never works on components that are gone. Its questions get No.
    if (!activeWorker_)
        return;
    host_->detach();
    workers_->requestStop(activeWorker_);
    while (!activeWorker_->wait(10))
        QCoreApplication::sendPostedEvents(host_.get(), QEvent::MetaCall);
    delete activeWorker_.data();
}

void Tfm_main::FormCreate()
{
    ProgramVersion = QStringLiteral("1.22");
    AudioFileRead->SetWmaFormatEnabled(true);
    AudioFileWrite->SetWmaFormatEnabled(true);
    suilv_main->setGeometry(15, 65, 427, 209);
    suiprb_main->setGeometry(16, 274, 426, 12);
    skins_->loadAtStartup();
    raiseControls();
}

void Tfm_main::createList()
{
    suilv_main = new QTreeWidget(this);
    suilv_main->setObjectName(QStringLiteral("suilv_main"));
    suilv_main->setRootIsDecorated(false);
    suilv_main->setSortingEnabled(false);
    suilv_main->setSelectionMode(QAbstractItemView::SingleSelection);
    suilv_main->setStyleSheet(QString::fromLatin1(ListStyle));
    suilv_main->setColumnCount(int(std::size(Columns)));
    QStringList captions;
    for (const Column &c : Columns)
        captions << QString::fromLatin1(c.caption);
    suilv_main->setHeaderLabels(captions);
    QHeaderView *header = suilv_main->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    for (int i = 0; i < int(std::size(Columns)); ++i)
        header->resizeSection(i, Columns[i].width);
    // Each column keeps within its own minimum and maximum width.
    connect(header, &QHeaderView::sectionResized, this, [header](int index, int, int size) {
        const Column &c = Columns[index];
        if (size < c.minimum || size > c.maximum)
            header->resizeSection(index, std::clamp(size, c.minimum, c.maximum));
    });
}

void Tfm_main::createProgressBar()
{
    suiprb_main = new QProgressBar(this);
    suiprb_main->setObjectName(QStringLiteral("suiprb_main"));
    suiprb_main->setOrientation(Qt::Horizontal);
    suiprb_main->setRange(0, 100);
    suiprb_main->setValue(0);
    suiprb_main->setTextVisible(true);
    suiprb_main->setStyleSheet(QString::fromLatin1(ProgressStyle));
}

void Tfm_main::createMenus()
{
    pm_setting = new PopupMenu(this);
    pm_setting->setObjectName(QStringLiteral("pm_setting"));
    fillSettingsMenu(*pm_setting, 1);
    pm_right = new PopupMenu(this);
    pm_right->setObjectName(QStringLiteral("pm_right"));
    fillSettingsMenu(*pm_right, 2);

    pm_help = new PopupMenu(this);
    pm_help->setObjectName(QStringLiteral("pm_help"));
    const auto item = [this](const QString &name, const QString &caption, const QIcon &icon, auto handler) {
        QAction *action = pm_help->addAction(icon, caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    item(QStringLiteral("Content1"), QStringLiteral("Content"), helpMenuPicture(0), [this] { helpCommand(); });
    item(QStringLiteral("Website2"), QStringLiteral("Web site"), helpMenuPicture(1), [this] { webSiteCommand(); });
    item(QStringLiteral("About1"), QStringLiteral("About"), QIcon(), [this] {
        if (fm_about)
            fm_about->showAbout();
    });
}

// The settings menu (suffix 1) and the right-click menu (suffix 2) hold the
// same items; only the items' names differ.
void Tfm_main::fillSettingsMenu(PopupMenu &menu, int suffix)
{
    QAction *wav = menu.addAction(settingsMenuPicture(7), QStringLiteral("WAV settings"));
    wav->setObjectName(QStringLiteral("WAVsettings%1").arg(suffix));
    connect(wav, &QAction::triggered, this, [this] { openModal(fm_wavsettings); });
    QAction *mp3 = menu.addAction(QStringLiteral("MP3 settings"));
    mp3->setObjectName(QStringLiteral("MP3settings%1").arg(suffix + 1));
    connect(mp3, &QAction::triggered, this, [this] { openModal(fm_mp3settings); });

    PopupMenu *skins = menu.addPopup(QStringLiteral("Select skin"), settingsMenuPicture(6));
    skins->setObjectName(QStringLiteral("Selectskin%1").arg(suffix + 1));
    const char *const captions[] = {"Gray", "Absinth", "Blue", "Greeness", "Redward", "Cinnabar"};
    for (int n = 1; n <= 6; ++n) {
        QAction *skinItem = skins->addAction(settingsMenuPicture(n - 1), QString::fromLatin1(captions[n - 1]));
        skinItem->setObjectName(QStringLiteral("Skin%1%2").arg(n).arg(suffix));
        connect(skinItem, &QAction::triggered, this, [this, n] { skins_->selectNumbered(n); });
    }
    QAction *others = skins->addAction(QStringLiteral("Others"));
    others->setObjectName(QStringLiteral("Others%1").arg(suffix));
    connect(others, &QAction::triggered, this, [this] { skins_->selectOther(); });
}

void Tfm_main::setDialogs(QDialog *mp3settings, QDialog *wavsettings, Tfm_about *about)
{
    fm_mp3settings = mp3settings;
    fm_wavsettings = wavsettings;
    fm_about = about;
}

void Tfm_main::openModal(QDialog *dialog)
{
    if (dialog)
        dialog->exec();
}

void Tfm_main::raiseControls()
{
    suilv_main->raise();
    suiprb_main->raise();
}

void Tfm_main::closeEvent(QCloseEvent *event)
{
    bool allow = true;
    if (ClosingOnError) {
        allow = true;
    } else if (IsConverting) {
        showWarning(*messages_, QStringLiteral("Please stop converter first!"));
        allow = false;
    } else {
        allow = confirm(*messages_, QStringLiteral("Are you sure to quit?"));
    }
    event->setAccepted(allow);
    if (allow)
        emit closed();
}

void Tfm_main::contextMenuEvent(QContextMenuEvent *event)
{
    pm_right->popup(event->globalPos());
}

void Tfm_main::ApplicationEvents1Key(int key)
{
    if (key == Qt::Key_Escape && QApplication::activeWindow() == this && !QApplication::activePopupWidget())
        close();
    else if (key == Qt::Key_F1)
        helpCommand();
}

void Tfm_main::ApplicationEvents1Exception()
{
    ClosingOnError = true;
    const bool again = confirm(*messages_, QStringLiteral("A system error occurs,click Yes to execute again,click No to exit!"));
    close();
    if (again)
        platform::launch(platform::programPath(), platform::ShowNormal);
}

void Tfm_main::helpCommand()
{
    platform::launch(HelpCommandLine, platform::ShowMaximized);
}

void Tfm_main::webSiteCommand()
{
    platform::launch(QStringLiteral("explorer ") + HomePageAddress, platform::ShowNormal);
}

void Tfm_main::Skin1Click(components::ISkinObject &source)
{
    const QString name = source.Name();
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"help", [this] { helpCommand(); }},
        {"normalize", [this] { NormalizeClick(); }},
        {"towav", [this] { ToWAVClick(); }},
        {"tomp3", [this] { ToMP3Click(); }},
        {"stop", [this] { Stop(); }},
        {"setting", [this] { pm_setting->popup(pos() + QPoint(15, 56)); }},
        {"help_button", [this] { pm_help->popup(pos() + QPoint(69, 56)); }},
        {"quit", [this] { close(); }},
        {"web", [this] { webSiteCommand(); }},
    };
    for (const auto &[commandName, run] : commands) {
        if (name == QLatin1String(commandName)) {
            run();
            return;
        }
    }
}

void Tfm_main::NormalizeClick()
{
    runJobCommand({JobNormalize, QStringLiteral("mp3文件(*.mp3)|*.mp3"), true});
}

void Tfm_main::ToWAVClick()
{
    runJobCommand({JobToWav, QStringLiteral("mp3 files(*.mp3)|*.mp3|ogg files(*.ogg)|*.ogg|wma files(*.wma)|*.wma"), false});
}

void Tfm_main::ToMP3Click()
{
    runJobCommand({JobToMp3, QStringLiteral("wave文件(*.wav)|*.wav"), false});
}

void Tfm_main::runJobCommand(const JobCommand &command)
{
    // A stopped worker may still be finishing its block: its last changes
    // belong to the old list, and the new job starts only after it ended.
    waitForWorkerEnd();
    suilv_main->clear();
    const QStringList files = files_->chooseFiles(this, command.filter);
    if (files.isEmpty())
        return;
    if (command.repaintFirst)
        repaint();
    std::vector<engine::ListRow> rows = examineChosenFiles(*AudioFileRead, files, command.kind, *messages_);
    CurrentIndex = int(files.size());
    if (rows.empty())
        return;
    engine::sortRows(rows);
    for (const engine::ListRow &row : rows)
        new QTreeWidgetItem(suilv_main, {row.fileName, row.fullPath, row.sizeText, row.sampleRateText, row.channelText,
                                         row.state});
    runningFlagOf(command.kind) = true;
    showOverlays(jobStartOverlays(command.kind));
    activateWindow();
    setFocus();
    JobKind = command.kind;
    QStringList paths;
    for (const engine::ListRow &row : rows)
        paths << row.fullPath;
    launchWorker(command.kind, paths);
}

QPointer<QThread> &Tfm_main::workerOf(int kind)
{
    switch (kind) {
    case JobNormalize: return NormalizeThread;
    case JobToWav: return ToWavThread;
    default: return ToMp3Thread;
    }
}

void Tfm_main::launchWorker(int kind, const QStringList &paths)
{
    host_ = std::make_unique<WindowJobHost>(*this, paths);
    stopRequested_ = false;
    QThread *worker = workers_->create(
        kind, JobContext{host_.get(), AudioFileRead.get(), AudioFileWrite.get(), AudioTransform.get(), AudioInformation1.get()});
    workerOf(kind) = worker;
    activeWorker_ = worker;
    // The worker starts at row 0; a Stop before it got there marks that row.
    CurrentIndex = 0;
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, &Tfm_main::onWorkerFinished);
    worker->start();
}

// Queued behind every change the worker sent before it ended.
void Tfm_main::onWorkerFinished()
{
    activeWorker_ = nullptr;
    emit workerEnded();
}

void Tfm_main::waitForWorkerEnd()
{
    if (!activeWorker_)
        return;
    QEventLoop loop;
    connect(this, &Tfm_main::workerEnded, &loop, &QEventLoop::quit);
    loop.exec();
}

void Tfm_main::Stop()
{
    if (!activeWorker_ || stopRequested_)
        return;
    stopRequested_ = true;
    const int kind = JobKind;
    showOverlays(jobEndOverlays(kind));
    workers_->requestStop(activeWorker_);
    IsConverting = false;
    const int row = CurrentIndex;
    setRowState(row, engine::StateStopped);
    host_->markStopped(row);
    AudioFileRead->CloseFile();
    AudioFileWrite->CloseFile();
    setProgress(0);
    const settings::TIniFile ini;
    const QString mp3Dir = ini.ReadString(QStringLiteral("Mp3Option"), QStringLiteral("Dir"), platform::defaultOutputDirectory());
    const QString wavDir = ini.ReadString(QStringLiteral("WavOption"), QStringLiteral("Dir"), platform::defaultOutputDirectory());
    platform::launch(QStringLiteral("explorer ") + (kind == JobToWav ? wavDir : mp3Dir), platform::ShowMaximized);
}

void Tfm_main::findBut(const QString &n1, const QString &n2, const QString &n3, const QString &n4)
{
    std::shared_ptr<components::ISkinObject> *const references[] = {&NormalizeOverlay, &ToWavOverlay, &ToMp3Overlay,
                                                                    &StopOverlay};
    const QString names[] = {n1, n2, n3, n4};
    std::shared_ptr<components::ISkinObject> found[4];
    for (int i = 0; i < 4; ++i) {
        const auto form = Skin1->GetSkinObject(this);
        found[i] = form ? form->FindObject(names[i]) : nullptr;
    }
    for (int i = 0; i < 4; ++i) {
        if (found[i])
            *references[i] = found[i];
    }
}

void Tfm_main::showOverlays(const OverlayState &state)
{
    if (state.names.size() != 4)
        return;
    findBut(state.names[0], state.names[1], state.names[2], state.names[3]);
    const std::shared_ptr<components::ISkinObject> references[] = {NormalizeOverlay, ToWavOverlay, ToMp3Overlay,
                                                                   StopOverlay};
    for (const IJobHost::OverlayCall &call : state.calls) {
        const qsizetype slot = state.names.indexOf(call.name);
        if (slot >= 0 && references[slot])
            references[slot]->Visible(call.visible ? -1 : 0);
    }
}

void Tfm_main::restoreOverlaysAfterSkinChange()
{
    if (!IsConverting)
        return;
    const int kind = ToWavRunning ? JobToWav : NormalizeRunning ? JobNormalize : ToMp3Running ? JobToMp3 : JobNone;
    if (kind != JobNone)
        showOverlays(skinRestoreOverlays(kind));
}

void Tfm_main::setRowState(int row, const QString &state)
{
    if (QTreeWidgetItem *item = suilv_main->topLevelItem(row))
        item->setText(StateColumn, state);
}

void Tfm_main::setProgress(int percent)
{
    suiprb_main->setValue(percent);
}
