#include "app/about.h"
#include "app/application.h"
#include "app/menus.h"
#include "platform/paths.h"
#include "tests/app/window_fixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>

namespace {

using WindowLayout = WindowTest;

TEST_F(WindowLayout, BorderlessWindowWithListAndBarAtTheirBounds)
{
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->size(), QSize(455, 341));
    EXPECT_EQ(window->suilv_main->geometry(), QRect(15, 65, 427, 209));
    EXPECT_EQ(window->suiprb_main->geometry(), QRect(16, 274, 426, 12));
    EXPECT_EQ(window->suiprb_main->maximum(), 100);
    EXPECT_EQ(ProgramVersion, QStringLiteral("1.22"));
    EXPECT_TRUE(reader->wmaEnabled);
    EXPECT_TRUE(writer->wmaEnabled);
    const QStringList captions{"File name", "Full path", "Size", "Sample rate", "Channel", "State"};
    const int widths[] = {90, 80, 50, 70, 60, 70};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(window->suilv_main->headerItem()->text(i), captions[i]);
        EXPECT_EQ(window->suilv_main->header()->sectionSize(i), widths[i]);
    }
    // A column keeps within its limits.
    window->suilv_main->header()->resizeSection(2, 120);
    EXPECT_EQ(window->suilv_main->header()->sectionSize(2), 50);
}

TEST_F(WindowLayout, MenusHoldTheirItemsInOrder)
{
    const auto texts = [](QMenu *menu) {
        QStringList list;
        for (QAction *a : menu->actions())
            list << a->objectName() + QLatin1Char('=') + a->text() + (a->icon().isNull() ? "" : "*");
        return list;
    };
    EXPECT_EQ(texts(window->pm_help),
              (QStringList{"Content1=Content*", "Website2=Web site*", "About1=About"}));
    EXPECT_EQ(texts(window->pm_setting).mid(0, 2), (QStringList{"WAVsettings1=WAV settings*", "MP3settings2=MP3 settings"}));
    EXPECT_EQ(texts(window->pm_right).mid(0, 2), (QStringList{"WAVsettings2=WAV settings*", "MP3settings3=MP3 settings"}));
    auto *skins = window->findChild<QMenu *>(QStringLiteral("Selectskin3"));
    ASSERT_TRUE(skins);
    EXPECT_EQ(texts(skins), (QStringList{"Skin12=Gray*", "Skin22=Absinth*", "Skin32=Blue*", "Skin42=Greeness*",
                                         "Skin52=Redward*", "Skin62=Cinnabar*", "Others2=Others"}));
    EXPECT_FALSE(skins->icon().isNull());
}

TEST_F(WindowLayout, SettingsOpenModallyAndAboutStaysModeless)
{
    QDialog mp3, wav;
    Tfm_about about;
    window->setDialogs(&mp3, &wav, &about);
    QWidget *modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        wav.reject();
    });
    action(QStringLiteral("WAVsettings2"))->trigger();
    EXPECT_EQ(modal, &wav);
    action(QStringLiteral("About1"))->trigger();
    EXPECT_TRUE(about.isVisible());
    EXPECT_FALSE(about.isModal());
}

TEST_F(WindowLayout, ARightClickOnTheSkinOpensTheRightMenu)
{
    realSkin = true;
    build();
    files->choices.push_back({QStringLiteral(SONVERA_BINARY_DIR "/skins/skin1.skn")});
    action(QStringLiteral("Others1"))->trigger();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, QPoint(200, 20));
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->pm_right->isVisible(); }));
    window->pm_right->close();
}

using Closing = WindowTest;

TEST_F(Closing, DuringAJobOnlyTheStopWarningIsShown)
{
    window->show();
    IsConverting = true;
    EXPECT_FALSE(window->close());
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("Please stop converter first!"));
    EXPECT_EQ(boxes->shown[0].caption, QStringLiteral("Warning"));
    EXPECT_FALSE(boxes->shown[0].question);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Closing, NoKeepsTheWindowAndALaterCloseAsksAgain)
{
    window->show();
    QSignalSpy closed(window.get(), &Tfm_main::closed);
    boxes->answers = {false, true};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->close());
    ASSERT_EQ(boxes->shown.size(), 2u);
    EXPECT_EQ(boxes->shown[1].text, QStringLiteral("Are you sure to quit?"));
    EXPECT_EQ(boxes->shown[1].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Closing, AfterAnErrorNothingIsAskedAndYesRestarts)
{
    window->show();
    IsConverting = true;
    boxes->answers = {true};
    window->ApplicationEvents1Exception();
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("A system error occurs,click Yes to execute again,click No to exit!"));
    EXPECT_EQ(boxes->shown[0].caption, QStringLiteral("Confirm"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(launches, (std::vector<Launch>{{platform::programPath(), 5}}));
}

TEST_F(Closing, AfterAnErrorNoEndsWithoutRestart)
{
    window->show();
    window->ApplicationEvents1Exception();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(launches.empty());
    EXPECT_TRUE(ClosingOnError);
}

class Keys : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        qApp->installEventFilter(&hook);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        qApp->removeEventFilter(&hook);
        WindowTest::TearDown();
    }
    KeyHook hook{[this](int key) { window->ApplicationEvents1Key(key); }};
};

TEST_F(Keys, EscapeOnTheMainWindowAsksToQuit)
{
    QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("Are you sure to quit?"));
}

TEST_F(Keys, InADialogEscapeLeavesTheWindowAndF1OpensHelp)
{
    QDialog dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(boxes->shown.empty());
    QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
    EXPECT_EQ(launches, (std::vector<Launch>{{QStringLiteral("hh help\\zo3&rev.chm"), 3}}));
}

} // namespace
