// Starts a to-WAV batch in the real window and saves the window as a PNG once
// the batch is under way. Usage: window_screenshot OUT.png SOURCE...
#include "app/application.h"
#include "app/mainform.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "settings/inifile.h"

#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

// Chooses the files given on the command line instead of asking.
class GivenFiles : public IFileChooser {
public:
    explicit GivenFiles(QStringList files) : files_(std::move(files)) {}
    QStringList chooseFiles(QWidget *, const QString &) override { return files_; }
    QString chooseFile(QWidget *, const QString &) override { return {}; }

private:
    QStringList files_;
};

} // namespace

int main(int argc, char **argv)
{
    SonveraApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: window_screenshot OUT.png SOURCE...\n";
        return 2;
    }
    // Nothing is opened on the desktop.
    platform::setLauncher([](const QString &, int) {});
    QTemporaryDir config;
    platform::setWindowsDirectory(config.path());
    settings::TIniFile().WriteString(QStringLiteral("WavOption"), QStringLiteral("Dir"), config.filePath(QStringLiteral("out")));

    MainParts parts = realMainParts();
    parts.files = std::make_unique<GivenFiles>(args.mid(2));
    Tfm_main window(std::move(parts));
    window.show();
    window.ToWAVClick();
    bool saved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.suiprb_main->value() < 40)
            return;
        saved = window.grab().save(args[1]);
        window.Stop();
        poll.stop();
    });
    QObject::connect(&window, &Tfm_main::workerEnded, &app, [] { QCoreApplication::exit(0); });
    poll.start(5);
    app.exec();
    return saved ? 0 : 1;
}
