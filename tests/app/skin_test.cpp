#include "settings/inifile.h"
#include "skin/skinselect.h"
#include "tests/app/window_fixture.h"

namespace {

using SkinTest = WindowTest;

TEST_F(SkinTest, AMissingStoredSkinIsReportedAndTheWindowStaysBare)
{
    config.writeSettings("[basic]\nskin=2\n");
    build();
    ASSERT_EQ(startupBoxes.size(), 1u);
    EXPECT_EQ(startupBoxes[0].text, QStringLiteral("Skin file ") + skin::numberedSkinFile(2) + QStringLiteral(" does not exists!"));
    EXPECT_EQ(startupBoxes[0].caption, QStringLiteral("Error"));
    EXPECT_TRUE(skin->calls.isEmpty());
    EXPECT_TRUE(skin::numberedSkinFile(2).endsWith(QStringLiteral("skins/skin2.skn")));
}

TEST_F(SkinTest, StoredOtherFileLoadsWhileItExistsElseSkinOne)
{
    const QString chosen = source(QStringLiteral("mine.skn"));
    const QByteArray stored = "[basic]\nskin=0\nskin name=" + chosen.toUtf8() + "\n";
    config.writeSettings(stored);
    build();
    EXPECT_TRUE(startupBoxes.empty());
    EXPECT_EQ(skin->calls, (QStringList{"Remove", "Load " + chosen, "Apply za3dividizuv"}));
    EXPECT_EQ(config.readSettings(), stored);

    QFile::remove(chosen);
    build();
    ASSERT_EQ(startupBoxes.size(), 1u);
    EXPECT_TRUE(startupBoxes[0].text.contains(skin::numberedSkinFile(1)));
}

TEST_F(SkinTest, OthersCancelledChangesNothing)
{
    action(QStringLiteral("Others1"))->trigger();
    EXPECT_TRUE(skin->calls.isEmpty());
    EXPECT_TRUE(config.readSettings().isEmpty());
}

TEST_F(SkinTest, OthersWithAValidFileStoresIt)
{
    const QString chosen = source(QStringLiteral("fine.skn"));
    files->choices.push_back({chosen});
    action(QStringLiteral("Others2"))->trigger();
    EXPECT_EQ(files->filters, QStringList{QStringLiteral("Skin files(*.skn)|*.skn")});
    EXPECT_EQ(skin->calls, (QStringList{"Remove", "Load " + chosen, "Apply za3dividizuv"}));
    settings::TIniFile ini;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("basic"), QStringLiteral("skin"), 1), 0);
    EXPECT_EQ(ini.ReadString(QStringLiteral("basic"), QStringLiteral("skin name"), QString()), chosen);
}

TEST_F(SkinTest, OthersWithoutTheFormReloadsTheStoredSkinAndWritesNothing)
{
    config.writeSettings("[basic]\nskin=6\n");
    const QString bad = source(QStringLiteral("bad.skn"));
    skin->invalidFiles = {bad};
    files->choices.push_back({bad});
    action(QStringLiteral("Others1"))->trigger();
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("This skin is invalid."));
    EXPECT_EQ(boxes->shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(skin->calls, (QStringList{"Remove", "Load " + bad, "Apply za3dividizuv", "Remove",
                                        "Load " + skin::numberedSkinFile(6), "Apply za3dividizuv"}));
    EXPECT_EQ(config.readSettings(), QByteArray("[basic]\nskin=6\n"));
}

} // namespace
