#include "app/about.h"

#include "app/appglobals.h"
#include "platform/launch.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

class About : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramVersion = QStringLiteral("1.22");
        platform::setLauncher([this](const QString &line, int show) { launched.emplace_back(line, show); });
    }
    void TearDown() override { platform::setLauncher({}); }
    QColor linkColour() const { return about.lbl_web->palette().color(QPalette::WindowText); }

    std::vector<std::pair<QString, int>> launched;
    Tfm_about about;
};

TEST_F(About, EveryShowingSetsTheVersionWithoutBeingModal)
{
    about.showAbout();
    EXPECT_EQ(about.lbl_version->text(), "Version 1.22");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    about.hide();
    ProgramVersion = QStringLiteral("1.23");
    about.showAbout();
    about.showAbout();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.lbl_version->text(), "Version 1.23");
}

TEST_F(About, TheLinkTurnsRedUnderThePointerAndBlueAgain)
{
    about.showAbout();
    EXPECT_EQ(linkColour(), QColor(0, 0, 255));
    for (int pass = 0; pass < 3; ++pass) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(about.lbl_web, &enter);
        EXPECT_EQ(linkColour(), QColor(255, 0, 0)) << pass;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(about.lbl_web, &leave);
        EXPECT_EQ(linkColour(), QColor(0, 0, 255)) << pass;
    }
}

TEST_F(About, ALeftClickOnTheLinkOpensTheHomePageMaximized)
{
    about.showAbout();
    QTest::mouseClick(about.lbl_web, Qt::RightButton);
    EXPECT_TRUE(launched.empty());
    QTest::mouseClick(about.lbl_web, Qt::LeftButton);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].first, "explorer " + HomePageAddress);
    EXPECT_EQ(launched[0].second, 3);
}

} // namespace
