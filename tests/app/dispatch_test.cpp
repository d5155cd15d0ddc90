#include "app/appglobals.h"
#include "platform/paths.h"
#include "skin/skinselect.h"
#include "tests/app/window_fixture.h"

#include <QMenu>
#include <QProgressBar>

namespace {

// What a click did, as one text per effect.
class Dispatch : public WindowTest, public ::testing::WithParamInterface<std::pair<const char *, QString>> {
protected:
    QStringList effects()
    {
        QStringList list;
        for (const Launch &l : launches)
            list << QStringLiteral("launch %1 %2").arg(l.commandLine).arg(l.showCode);
        for (const QString &filter : files->filters)
            list << QStringLiteral("dialog ") + filter.section(QLatin1Char('|'), 1, 1);
        for (const auto &box : boxes->shown)
            list << QStringLiteral("box ") + box.text;
        for (QMenu *menu : {window->pm_setting, window->pm_help})
            if (menu->isVisible())
                list << QStringLiteral("menu %1 at %2,%3").arg(menu->objectName()).arg(menu->x() - window->x()).arg(menu->y() - window->y());
        return list;
    }
};

TEST_P(Dispatch, ButtonNameRunsItsCommandOnly)
{
    window->move(100, 80);
    window->show();
    skin->click(QString::fromLatin1(GetParam().first));
    EXPECT_EQ(effects().join(QLatin1Char(';')), GetParam().second);
    window->pm_setting->close();
    window->pm_help->close();
}

INSTANTIATE_TEST_SUITE_P(
    Names, Dispatch,
    ::testing::Values(std::pair{"help", QStringLiteral("launch hh help\\zo3&rev.chm 3")},
                      std::pair{"normalize", QStringLiteral("dialog *.mp3")},
                      std::pair{"towav", QStringLiteral("dialog *.mp3")},
                      std::pair{"tomp3", QStringLiteral("dialog *.wav")},
                      std::pair{"setting", QStringLiteral("menu pm_setting at 15,56")},
                      std::pair{"help_button", QStringLiteral("menu pm_help at 69,56")},
                      std::pair{"quit", QStringLiteral("box Are you sure to quit?")},
                      std::pair{"web", QStringLiteral("launch explorer ") + HomePageAddress + QStringLiteral(" 5")},
                      // No job runs: stop has nothing to stop.
                      std::pair{"stop", QString()}, std::pair{"towav_disable", QString()},
                      std::pair{"stop_disable", QString()}, std::pair{"Towav", QString()},
                      std::pair{"", QString()}));

struct JobCase {
    const char *button;
    int kind;
    QStringList start, restore, end;
    const char *outputDir;
};

class Overlays : public WindowTest, public ::testing::WithParamInterface<JobCase> {};

TEST_P(Overlays, StartSkinChangeAndStopEachSetTheirCallsInOrder)
{
    const JobCase &job = GetParam();
    config.writeSettings("[Mp3Option]\nDir=/out/mp3\n[WavOption]\nDir=/out/wav\n");
    applySkin();
    startJob(QString::fromLatin1(job.button), {source(QStringLiteral("a.x")), source(QStringLiteral("b.x"))});
    EXPECT_EQ(skin->visibility, job.start);
    EXPECT_EQ(JobKind, job.kind);

    skin->visibility.clear();
    IsConverting = true;
    action(QStringLiteral("Skin32"))->trigger();
    EXPECT_EQ(skin->calls, (QStringList{"Remove", "Load " + skin::numberedSkinFile(3), "Apply za3dividizuv"}));
    EXPECT_EQ(skin->visibility, job.restore);

    skin->visibility.clear();
    CurrentIndex = 1;
    window->setProgress(40);
    skin->click(QStringLiteral("stop"));
    EXPECT_EQ(skin->visibility, job.end);
    EXPECT_EQ(rowText(1, 5), QStringLiteral("stopped"));
    EXPECT_EQ(rowText(0, 5), QStringLiteral("unconvert"));
    EXPECT_EQ(window->suiprb_main->value(), 0);
    EXPECT_FALSE(IsConverting);
    EXPECT_EQ(reader->calls.last(), QStringLiteral("CloseFile"));
    EXPECT_EQ(writer->closeCount(), 1);
    EXPECT_TRUE(static_cast<FakeWorker *>(workers->created[0].worker.data())->stopRequested);
    EXPECT_EQ(launches, (std::vector<Launch>{{QStringLiteral("explorer ") + job.outputDir, 3}}));

    // A second click on the uncovered stop does nothing more.
    skin->click(QStringLiteral("stop"));
    EXPECT_EQ(launches.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, Overlays,
    ::testing::Values(
        JobCase{"normalize", JobNormalize,
                {"stop_disable hidden", "normalize_click shown", "towav_disable shown", "tomp3_disable shown"},
                {"normalize_click shown", "stop_disable hidden", "towav_disable shown", "tomp3_disable shown"},
                {"normalize_click hidden", "stop_disable shown", "tomp3_disable hidden", "towav_disable hidden"},
                "/out/mp3"},
        JobCase{"towav", JobToWav,
                {"stop_disable hidden", "towav_click shown", "tomp3_disable shown", "normalize_disable shown"},
                {"towav_click shown", "stop_disable hidden", "tomp3_disable shown", "normalize_disable shown"},
                {"towav_click hidden", "stop_disable shown", "normalize_disable hidden", "tomp3_disable hidden"},
                "/out/wav"},
        JobCase{"tomp3", JobToMp3,
                {"stop_disable hidden", "tomp3_click shown", "normalize_disable shown", "towav_disable shown"},
                {"tomp3_click shown", "stop_disable hidden", "normalize_disable shown", "towav_disable shown"},
                {"tomp3_click hidden", "stop_disable shown", "towav_disable hidden", "normalize_disable hidden"},
                "/out/mp3"}));

using StopTest = WindowTest;

TEST_F(StopTest, StopBeforeTheWorkerBeganMarksTheFirstRowAndOpensTheDefaultFolder)
{
    startJob(QStringLiteral("towav"), {source(QStringLiteral("a.mp3")), source(QStringLiteral("b.mp3"))});
    skin->click(QStringLiteral("stop"));
    EXPECT_EQ(rowText(0, 5), QStringLiteral("stopped"));
    EXPECT_EQ(launches, (std::vector<Launch>{{QStringLiteral("explorer ") + platform::defaultOutputDirectory(), 3}}));
}

TEST_F(StopTest, ASkinChangeWhileIdleTouchesNoOverlay)
{
    applySkin();
    action(QStringLiteral("Skin31"))->trigger();
    EXPECT_TRUE(skin->visibility.isEmpty());
    EXPECT_TRUE(config.readSettings().contains("skin=3"));
}

TEST_F(StopTest, NoSkinOrAMissingOverlayIsHarmless)
{
    startJob(QStringLiteral("tomp3"), {source(QStringLiteral("a.wav"))});
    skin->click(QStringLiteral("stop"));
    EXPECT_TRUE(skin->visibility.isEmpty());
    ASSERT_TRUE(waitForWorkerEnd());

    applySkin();
    skin->missingObjects = {QStringLiteral("towav_click")};
    startJob(QStringLiteral("towav"), {source(QStringLiteral("b.mp3"))});
    EXPECT_EQ(skin->visibility, (QStringList{"stop_disable hidden", "tomp3_disable shown", "normalize_disable shown"}));
}

} // namespace
