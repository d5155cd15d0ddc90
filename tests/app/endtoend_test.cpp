#include "components/audio/factory.h"
#include "tests/app/window_fixture.h"

#include <QDir>
#include <QProgressBar>
#include <QSignalSpy>

namespace {

// The source's duration as the real reader gives it; -1 when it cannot open it.
int durationOf(const QString &path)
{
    const auto reader = components::createAudioFile();
    reader->OpenFile(path, 0, 1);
    const int duration = reader->ErrorCode() == 0 ? reader->Duration() : -1;
    reader->CloseFile();
    return duration;
}

TEST(EndToEnd, ToWavBatchThroughTheRealWindowWorkerAndComponents)
{
    resetProcessValues();
    TempConfig config;
    QTemporaryDir out;
    config.writeSettings("[WavOption]\nDir=" + out.path().toUtf8() + "\n");
    std::vector<Launch> launches;
    platform::setLauncher([&](const QString &line, int show) { launches.push_back({line, show}); });

    MainParts parts = realMainParts();
    auto *skin = new FakeSkin;
    auto *boxes = new ScriptedBoxes;
    auto *files = new ChosenFiles;
    parts.skin.reset(skin);
    parts.messages.reset(boxes);
    parts.files.reset(files);
    Tfm_main window(std::move(parts));
    boxes->shown.clear();

    const QString mono = testMedia(QStringLiteral("mono22_tagless.mp3"));
    const QString stereo = testMedia(QStringLiteral("cbr_tagless.mp3"));
    files->choices.push_back({mono, stereo});
    QSignalSpy ended(&window, &Tfm_main::workerEnded);
    skin->click(QStringLiteral("towav"));
    ASSERT_TRUE(ended.wait(120000));

    EXPECT_TRUE(boxes->shown.empty());
    ASSERT_EQ(window.suilv_main->topLevelItemCount(), 2);
    EXPECT_EQ(window.suilv_main->topLevelItem(0)->text(0), QStringLiteral("cbr_tagless.mp3"));
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(window.suilv_main->topLevelItem(row)->text(5), QStringLiteral("finish"));
    EXPECT_EQ(window.suiprb_main->value(), 0);
    EXPECT_FALSE(IsConverting);
    EXPECT_FALSE(ToWavRunning);
    for (const QString &source : {mono, stereo}) {
        const QString wav = QDir(out.path()).filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".wav"));
        const int expected = durationOf(source);
        ASSERT_GT(expected, 0);
        EXPECT_NEAR(durationOf(wav), expected, 100) << wav.toStdString();
    }
    EXPECT_EQ(launches, (std::vector<Launch>{{QStringLiteral("explorer ") + out.path(), 3}}));
    platform::setLauncher({});
    resetProcessValues();
}

} // namespace
