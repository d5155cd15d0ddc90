#include "settings/wavsetting.h"

#include "dialog_support.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Section = QStringLiteral("WavOption");

class WavDialog : public ::testing::Test {
protected:
    void showWith(const QByteArray &file = {})
    {
        if (!file.isEmpty())
            config.writeSettings("[WavOption]\n" + file);
        dialog.show();
    }
    QString value(const char *key) { return stored(Section, QString::fromLatin1(key)); }

    TempConfig config;
    Tfm_wavsettings dialog;
};

struct WavStates {
    bool norm, normUp, fade, fadeBox, fadeUps, cd, suited;
};

WavStates statesOf(const Tfm_wavsettings &d)
{
    return {d.suicb_normalize->isChecked(),
            d.up_normalize->isEnabled(),
            d.suicb_fade->isChecked(),
            d.suicb_fade->isEnabled(),
            d.ud_fadein->isEnabled() && d.ud_fadeout->isEnabled(),
            d.suirb_decode_cd_quality->isChecked(),
            d.suirb_decode_suited->isChecked()};
}

void expectStates(const WavStates &actual, const WavStates &expected)
{
    EXPECT_EQ(actual.norm, expected.norm);
    EXPECT_EQ(actual.normUp, expected.normUp);
    EXPECT_EQ(actual.fade, expected.fade);
    EXPECT_EQ(actual.fadeBox, expected.fadeBox);
    EXPECT_EQ(actual.fadeUps, expected.fadeUps);
    EXPECT_EQ(actual.cd, expected.cd);
    EXPECT_EQ(actual.suited, expected.suited);
}

TEST_F(WavDialog, FirstShowingWithoutAFileShowsTheDefaultsAndOkWritesThemInOrder)
{
    EXPECT_FALSE(dialog.suirb_decode_cd_quality->isChecked() || dialog.suirb_decode_suited->isChecked());
    showWith();
    expectStates(statesOf(dialog), {true, true, true, true, true, true, false});
    EXPECT_EQ(dialog.suiedt_output_dir->text(), platform::defaultOutputDirectory());
    EXPECT_EQ(dialog.up_normalize->value(), 98);
    EXPECT_EQ(dialog.ud_fadein->value(), 5);
    EXPECT_EQ(dialog.ud_fadeout->value(), 5);

    dialog.suibtn_select_dir->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(QString::fromUtf8(config.readSettings()),
              "[WavOption]\nDir=" + platform::defaultOutputDirectory() +
                  "\nNormalize=yes\nNormalizesize=98\nFormat=CD quality\nFade=1\nFade In=5\nFade Out=5\n");
}

struct FileCase {
    const char *name;
    const char *file;
    WavStates expected;
};

void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.name;
}

class WavFile : public WavDialog, public ::testing::WithParamInterface<FileCase> {};

TEST_P(WavFile, ShowsTheStoredStates)
{
    showWith(GetParam().file);
    expectStates(statesOf(dialog), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WavFile,
    ::testing::Values(FileCase{"NormalizeNo", "Normalize=no\nFade=1\n", {false, false, false, false, false, true, false}},
                      FileCase{"NormalizeCapitalYes", "Normalize=Yes\n", {false, false, false, false, false, true, false}},
                      FileCase{"FadeOff", "Normalize=yes\nFade=0\n", {true, true, false, true, false, true, false}},
                      FileCase{"Suited", "Format=suited\n", {true, true, true, true, true, false, true}},
                      FileCase{"EmptyFormat", "Format=\n", {true, true, true, true, true, false, true}},
                      FileCase{"LowerCaseCd", "Format=cd quality\n", {true, true, true, true, true, false, true}}),
    [](const auto &info) { return std::string(info.param.name); });

struct RuleCase {
    const char *name;
    std::function<void(Tfm_wavsettings &)> action;
    WavStates expected;
};

void PrintTo(const RuleCase &c, std::ostream *os)
{
    *os << c.name;
}

class WavRules : public WavDialog, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(WavRules, SwitchTheDependentControls)
{
    showWith();
    GetParam().action(dialog);
    expectStates(statesOf(dialog), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, WavRules,
    ::testing::Values(
        RuleCase{"NormalizeOff", [](Tfm_wavsettings &d) { d.suicb_normalize->click(); },
                 {false, false, false, false, false, true, false}},
        RuleCase{"NormalizeOffAndOn",
                 [](Tfm_wavsettings &d) {
                     d.suicb_normalize->click();
                     d.suicb_normalize->click();
                 },
                 {true, true, false, true, false, true, false}},
        RuleCase{"FadeOff", [](Tfm_wavsettings &d) { d.suicb_fade->click(); },
                 {true, true, false, true, false, true, false}},
        RuleCase{"SuitedExcludesCd", [](Tfm_wavsettings &d) { d.suirb_decode_suited->click(); },
                 {true, true, true, true, true, false, true}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WavDialog, OkWithNormalizationOffWritesNoAndTheLevelShown)
{
    showWith("Normalizesize=77\nFormat=suited\n");
    dialog.suicb_normalize->click();
    dialog.suibtn_select_dir->click();
    EXPECT_EQ(value("Normalize"), "no");
    EXPECT_EQ(value("Normalizesize"), "77");
    EXPECT_EQ(value("Fade"), "0");
    EXPECT_EQ(value("Format"), "suited");
}

TEST_F(WavDialog, UnsavedChangesDoNotSurviveAShowing)
{
    showWith();
    dialog.suicb_normalize->click();
    dialog.suirb_decode_suited->click();
    dialog.ud_fadein->setValue(9);
    dialog.suibtn_select_cancel->click();
    EXPECT_FALSE(QFile::exists(config.settingsPath()));
    dialog.show();
    expectStates(statesOf(dialog), {true, true, true, true, true, true, false});
    EXPECT_EQ(dialog.ud_fadein->value(), 5);
}

TEST_F(WavDialog, TitleBarCloseWritesNothing)
{
    showWith();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(config.settingsPath()));
}

TEST_F(WavDialog, OutOfRangeLevelsAreClampedToTheNearestEnd)
{
    showWith("Normalizesize=20\nFade In=0\nFade Out=200\n");
    EXPECT_EQ(dialog.up_normalize->value(), 50);
    EXPECT_EQ(dialog.ud_fadein->value(), 1);
    EXPECT_EQ(dialog.ud_fadeout->value(), 20);
}

TEST_F(WavDialog, AFailedWriteLeavesTheDialogOpenAndReachesTheCaller)
{
    UnwritableSettings unwritable(config);
    showWith();
    EXPECT_THROW(QTest::mouseClick(dialog.suibtn_select_dir, Qt::LeftButton), settings::SettingsWriteError);
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
