#include "settings/selectdir.h"

#include "dialog_support.h"
#include "settings/mp3settings.h"
#include "settings/wavsetting.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(folders.path()).mkpath(QStringLiteral("music/out"));
        mp3.setDirectoryChooser(&chooser);
        wav.setDirectoryChooser(&chooser);
        mp3.show();
        wav.show();
    }
    QString folder(const char *name) const { return QDir::toNativeSeparators(folders.filePath(QString::fromLatin1(name))); }

    TempConfig config;
    QTemporaryDir folders;
    Tfm_Selectdirectory chooser;
    Tfm_mp3settings mp3;
    Tfm_wavsettings wav;
};

TEST_F(Chooser, OkWithoutASelectionReportsNoFolder)
{
    const QString before = mp3.suied_directory->text();
    whenModal([this] { chooser.suibtn_ok->click(); });
    mp3.suibtn_electdirectory->click();
    EXPECT_TRUE(chooser.selected_dir.isEmpty());
    EXPECT_EQ(mp3.suied_directory->text(), before);
}

TEST_F(Chooser, ReportsTheChosenFolderOnlyToTheDialogThatOkdIt)
{
    const QString wavBefore = wav.suiedt_output_dir->text();
    whenModal([this] {
        chooser.selectFolder(folder("music/out"));
        chooser.suibtn_ok->click();
    });
    mp3.suibtn_electdirectory->click();
    EXPECT_EQ(mp3.suied_directory->text(), folder("music/out"));

    // The second showing still has the folder selected; cancelling reports none.
    whenModal([this] {
        EXPECT_EQ(chooser.selectedFolder(), folder("music/out"));
        chooser.suiBtn_cancel->click();
    });
    wav.suibtn_wavdir->click();
    EXPECT_TRUE(chooser.selected_dir.isEmpty());
    EXPECT_EQ(wav.suiedt_output_dir->text(), wavBefore);
}

TEST_F(Chooser, ClosingFromTheTitleBarReportsNoFolder)
{
    chooser.selectFolder(folder("music"));
    const QString before = wav.suiedt_output_dir->text();
    whenModal([this] { chooser.close(); });
    wav.suibtn_wavdir->click();
    EXPECT_TRUE(chooser.selected_dir.isEmpty());
    EXPECT_EQ(wav.suiedt_output_dir->text(), before);
}

TEST_F(Chooser, ARightClickSelectsTheFolderUnderThePointer)
{
    chooser.show();
    chooser.selectFolder(folder("music/out"));
    QTreeView *tree = chooser.stview_selectdir;
    const QModelIndex music = tree->currentIndex().parent();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualRect(music).center());
    EXPECT_EQ(chooser.selectedFolder(), folder("music"));
}

} // namespace
