#include "settings/mp3settings.h"

#include "dialog_support.h"
#include "platform/paths.h"
#include "settings/selectdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Section = QStringLiteral("Mp3Option");

class Mp3Dialog : public ::testing::Test {
protected:
    // Shows the dialog as the main window would, loading from the file.
    void showWith(const QByteArray &file = {})
    {
        if (!file.isEmpty())
            config.writeSettings("[Mp3option]\n" + file);
        dialog.show();
    }
    QString value(const char *key) { return stored(Section, QString::fromLatin1(key)); }

    TempConfig config;
    Tfm_mp3settings dialog;
};

// What the controls that the rules switch look like.
struct Mp3States {
    bool norm, normUp, fade, fadeBox, fadeUps, encoders;
};

Mp3States statesOf(const Tfm_mp3settings &d)
{
    return {d.suicb_mp3norm->isChecked(), d.up_mp3norm->isEnabled(),  d.suicb_mp3fade->isChecked(),
            d.suicb_mp3fade->isEnabled(), d.up_mp3fadein->isEnabled() && d.up_mp3fadeout->isEnabled(),
            d.suicb_samplerate->isEnabled() && d.suicb_mode->isEnabled() && d.suiTbr_bitrate->isEnabled()};
}

void expectStates(const Mp3States &actual, const Mp3States &expected)
{
    EXPECT_EQ(actual.norm, expected.norm);
    EXPECT_EQ(actual.normUp, expected.normUp);
    EXPECT_EQ(actual.fade, expected.fade);
    EXPECT_EQ(actual.fadeBox, expected.fadeBox);
    EXPECT_EQ(actual.fadeUps, expected.fadeUps);
    EXPECT_EQ(actual.encoders, expected.encoders);
}

TEST_F(Mp3Dialog, FirstShowingWithoutAFileShowsTheDefaultsAndOkWritesThemInOrder)
{
    showWith();
    EXPECT_TRUE(dialog.suirb_customer->isChecked());
    expectStates(statesOf(dialog), {true, true, true, true, true, true});
    EXPECT_EQ(dialog.suicb_samplerate->currentIndex(), -1);
    EXPECT_EQ(dialog.suicb_mode->currentIndex(), -1);
    EXPECT_EQ(dialog.suiTbr_bitrate->value(), 0);
    EXPECT_EQ(dialog.lbl_bitrate->text(), "0 KBits");
    EXPECT_EQ(dialog.suied_directory->text(), platform::defaultOutputDirectory());
    EXPECT_EQ(dialog.up_mp3norm->value(), 98);
    EXPECT_EQ(dialog.up_mp3fadein->value(), 10);
    EXPECT_EQ(dialog.up_mp3fadeout->value(), 20);

    dialog.suibtn_ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QString::fromUtf8(config.readSettings()),
              "[Mp3option]\ndir=" + platform::defaultOutputDirectory() +
                  "\nmode=-1\nnormalize=1\nnormalizesize=98\nfade=1\nfade in=10\nfade out=20\n"
                  "quickmode=Customer\nbitrate=0\nsamplerate=0\n");
}

TEST_F(Mp3Dialog, EveryBitRateOfTheTableSurvivesShowAndOk)
{
    const int rates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    for (int position = 0; position < int(std::size(rates)); ++position) {
        const QByteArray rate = QByteArray::number(rates[position]);
        // Start elsewhere so that a rate left unread would show.
        dialog.suiTbr_bitrate->setValue(position == 17 ? 0 : 17);
        showWith("bitrate=" + rate + "\n");
        EXPECT_EQ(dialog.suiTbr_bitrate->value(), position) << rate.constData();
        EXPECT_EQ(dialog.lbl_bitrate->text(), rate + " KBits");
        dialog.suibtn_ok->click();
        EXPECT_EQ(value("bitrate"), rate);
    }
}

TEST_F(Mp3Dialog, ValuesOutsideTheTablesLeaveTheirControlsAlone)
{
    showWith("bitrate=160\nsamplerate=22050\nmode=0\n");
    dialog.hide();
    for (const char *file : {"bitrate=100\nsamplerate=44000\n", "bitrate=384\n", ""}) {
        config.writeSettings(QByteArray("[Mp3option]\n") + file);
        dialog.show();
        EXPECT_EQ(dialog.suiTbr_bitrate->value(), 13) << file;
        EXPECT_EQ(dialog.lbl_bitrate->text(), "160 KBits");
        EXPECT_EQ(dialog.suicb_samplerate->currentText(), "22050HZ");
        EXPECT_EQ(dialog.suicb_mode->currentText(), "mono") << "a missing mode keeps the list";
        dialog.hide();
    }
}

TEST_F(Mp3Dialog, AModeOutsideTheListShowsNoneAndIsWrittenAsMinusOne)
{
    showWith("mode=5\n");
    EXPECT_EQ(dialog.suicb_mode->currentIndex(), -1);
    dialog.suibtn_ok->click();
    EXPECT_EQ(value("mode"), "-1");
}

TEST_F(Mp3Dialog, APresetTextOfAnotherCaseSelectsNothingAndIsNotWritten)
{
    showWith("quickmode=high quality\n");
    EXPECT_FALSE(dialog.suirb_high_quality->isChecked());
    EXPECT_FALSE(dialog.suirb_customer->isChecked());
    dialog.suibtn_ok->click();
    EXPECT_EQ(value("quickmode"), "high quality");
}

struct RuleCase {
    const char *name;
    std::function<void(Tfm_mp3settings &)> action;
    Mp3States expected;
};

void PrintTo(const RuleCase &c, std::ostream *os)
{
    *os << c.name;
}

class Mp3Rules : public Mp3Dialog, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(Mp3Rules, SwitchTheDependentControls)
{
    showWith();
    GetParam().action(dialog);
    expectStates(statesOf(dialog), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, Mp3Rules,
    ::testing::Values(
        RuleCase{"NormalizeOff", [](Tfm_mp3settings &d) { d.suicb_mp3norm->click(); },
                 {false, false, false, false, false, true}},
        RuleCase{"NormalizeOffAndOn",
                 [](Tfm_mp3settings &d) {
                     d.suicb_mp3norm->click();
                     d.suicb_mp3norm->click();
                 },
                 {true, true, false, true, false, true}},
        RuleCase{"FadeOff", [](Tfm_mp3settings &d) { d.suicb_mp3fade->click(); },
                 {true, true, false, true, false, true}},
        RuleCase{"FadeOffAndOn",
                 [](Tfm_mp3settings &d) {
                     d.suicb_mp3fade->click();
                     d.suicb_mp3fade->click();
                 },
                 {true, true, true, true, true, true}},
        RuleCase{"HighQuality", [](Tfm_mp3settings &d) { d.suirb_high_quality->click(); },
                 {true, true, true, true, true, false}},
        RuleCase{"LowQuality", [](Tfm_mp3settings &d) { d.suirb_low_quality->click(); },
                 {true, true, true, true, true, false}},
        RuleCase{"HighThenCustomer",
                 [](Tfm_mp3settings &d) {
                     d.suirb_high_quality->click();
                     d.suirb_customer->click();
                 },
                 {true, true, true, true, true, true}},
        RuleCase{"DefaultAfterChanges",
                 [](Tfm_mp3settings &d) {
                     d.suirb_low_quality->click();
                     d.suicb_mp3norm->click();
                     d.suibtn_default->click();
                 },
                 {true, true, true, true, true, true}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Mp3Dialog, FileStatesLoadThroughTheRules)
{
    // Normalization off in the file turns fade off, whatever the file says of fade.
    showWith("normalize=0\nfade=1\nquickmode=High quality\nsamplerate=22050\nmode=0\nbitrate=192\n");
    expectStates(statesOf(dialog), {false, false, false, false, false, false});
    dialog.suibtn_ok->click();
    EXPECT_EQ(value("fade"), "0");
    EXPECT_EQ(value("quickmode"), "High quality");
    EXPECT_EQ(value("samplerate"), "22050");
    EXPECT_EQ(value("mode"), "0");
    EXPECT_EQ(value("bitrate"), "192");
}

TEST_F(Mp3Dialog, OutOfRangeLevelsAreClampedToTheNearestEnd)
{
    showWith("normalizesize=200\nfade in=0\nfade out=-7\n");
    EXPECT_EQ(dialog.up_mp3norm->value(), 100);
    EXPECT_EQ(dialog.up_mp3fadein->value(), 1);
    EXPECT_EQ(dialog.up_mp3fadeout->value(), 1);
}

TEST_F(Mp3Dialog, DefaultWritesNothingAndItsUnsavedStateOutlivesCancel)
{
    showWith();
    dialog.suibtn_default->click();
    EXPECT_EQ(dialog.suicb_samplerate->currentText(), "44100HZ");
    EXPECT_EQ(dialog.suicb_mode->currentText(), "stereo");
    EXPECT_EQ(dialog.suiTbr_bitrate->value(), 12);
    EXPECT_EQ(dialog.lbl_bitrate->text(), "128 KBits");
    dialog.suibtn_cancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(config.settingsPath()));

    dialog.show();
    EXPECT_EQ(dialog.suicb_samplerate->currentText(), "44100HZ");
    EXPECT_EQ(dialog.suicb_mode->currentText(), "stereo");
    EXPECT_EQ(dialog.lbl_bitrate->text(), "128 KBits");
}

TEST_F(Mp3Dialog, TitleBarCloseWritesNothing)
{
    showWith();
    dialog.suicb_mp3norm->click();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(config.settingsPath()));
}

TEST_F(Mp3Dialog, AFailedWriteLeavesTheDialogOpenAndReachesTheEventLoopsCaller)
{
    {
        UnwritableSettings unwritable(config);
        showWith();
        try {
            QTest::mouseClick(dialog.suibtn_ok, Qt::LeftButton);
            ADD_FAILURE() << "the write did not fail";
        } catch (const settings::SettingsWriteError &error) {
            EXPECT_STREQ(error.what(), "Unable to write to ro3zeduro.ini");
        }
        EXPECT_TRUE(dialog.isVisible());
    }
    // Once the file can be written again, the same OK saves.
    QTest::mouseClick(dialog.suibtn_ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(value("samplerate"), "0");
}

} // namespace
