#pragma once
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/menus.h"
#include "engine/globals.h"
#include "platform/launch.h"
#include "support/temp_config.h"
#include "tests/app/fakes.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

struct Launch {
    QString commandLine;
    int showCode;
    bool operator==(const Launch &o) const { return commandLine == o.commandLine && showCode == o.showCode; }
};

inline void resetProcessValues()
{
    IsConverting = false;
    CurrentIndex = 0;
    JobKind = JobNone;
    NormalizeRunning = ToWavRunning = ToMp3Running = false;
    ClosingOnError = false;
}

// A main window over fakes: scripted boxes and files, recorded launches,
// a fake skin engine and fake workers, in a private settings folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProcessValues();
        platform::setLauncher([this](const QString &line, int show) { launches.push_back({line, show}); });
        build();
    }

    // A new window over new fakes, as at program start.
    void build()
    {
        window.reset();
        MainParts parts;
        parts.audioFileRead = take(reader);
        parts.audioFileWrite = take(writer);
        parts.audioTransform = std::make_unique<NoTransform>();
        parts.audioInformation = std::make_unique<NoInformation>();
        if (realSkin) {
            skin = nullptr;
            parts.skin = components::createSkinEngine();
        } else {
            parts.skin = take(skin);
        }
        parts.messages = take(boxes);
        parts.files = take(files);
        parts.workers = take(workers);
        window = std::make_unique<Tfm_main>(std::move(parts));
        startupBoxes = std::move(boxes->shown);
        boxes->shown.clear();
    }

    void TearDown() override
    {
        for (const auto &made : window ? workers->created : std::vector<FakeWorkers::Created>{})
            if (made.worker)
                static_cast<FakeWorker *>(made.worker.data())->released = true;
        window.reset();
        platform::setLauncher({});
        resetProcessValues();
    }

    template <typename T>
    std::unique_ptr<T> take(T *&raw)
    {
        auto owned = std::make_unique<T>();
        raw = owned.get();
        return owned;
    }

    // A file of that size, known to the fake reader when valid.
    QString source(const QString &name, qint64 bytes = 1000, bool valid = true, int frequency = 44100, int channels = 2)
    {
        const QString path = media.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.resize(bytes);
        if (valid)
            reader->sources.insert(path, {frequency, channels});
        return path;
    }

    QAction *action(const QString &name) { return window->findChild<QAction *>(name); }

    // Numbered skin 1 applied, every record so far forgotten.
    void applySkin()
    {
        action(QStringLiteral("Skin11"))->trigger();
        skin->calls.clear();
        skin->visibility.clear();
        boxes->shown.clear();
    }

    void startJob(const QString &button, const QStringList &chosen)
    {
        files->choices.push_back(chosen);
        skin->click(button);
    }

    bool waitForWorkerEnd()
    {
        return QTest::qWaitFor([this] {
            return std::all_of(workers->created.begin(), workers->created.end(),
                               [](const auto &made) { return made.worker.isNull(); });
        });
    }

    QString rowText(int row, int column) { return window->suilv_main->topLevelItem(row)->text(column); }

    TempConfig config;
    QTemporaryDir media;
    FakeAudioFile *reader = nullptr;
    FakeAudioFile *writer = nullptr;
    FakeSkin *skin = nullptr;
    ScriptedBoxes *boxes = nullptr;
    ChosenFiles *files = nullptr;
    FakeWorkers *workers = nullptr;
    std::unique_ptr<Tfm_main> window;
    std::vector<Launch> launches;
    std::vector<ScriptedBoxes::Box> startupBoxes;
    bool realSkin = false; // the skin engine instead of the fake one
};
