#include "platform/launch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recorded {
    QString commandLine;
    int showCode;
};

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setLauncher([this](const QString &line, int show) { calls.push_back({line, show}); });
    }
    void TearDown() override { platform::setLauncher({}); }
    std::vector<Recorded> calls;
};

TEST_F(LaunchTest, RecorderReceivesTheCommandLineAndShowCode)
{
    platform::launch(QStringLiteral("explorer /tmp/out"), platform::ShowMaximized);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].commandLine, QStringLiteral("explorer /tmp/out"));
    EXPECT_EQ(calls[0].showCode, 3);
}

TEST(InterpretCommandLine, ExplorerPathIsOneAbsoluteArgument)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("-my \"odd\" $dir; & more"));
    ASSERT_TRUE(QDir().mkpath(dir));
    const auto cmd = platform::interpretCommandLine(QStringLiteral("explorer ") + dir);
    EXPECT_FALSE(cmd.program.isEmpty());
    ASSERT_EQ(cmd.arguments.size(), 1);
    EXPECT_EQ(cmd.arguments[0], dir);
}

TEST(InterpretCommandLine, RelativeDashPathCannotBecomeAnOption)
{
    const auto cmd = platform::interpretCommandLine(QStringLiteral("explorer -rf"));
    ASSERT_EQ(cmd.arguments.size(), 1);
    EXPECT_TRUE(cmd.arguments[0].startsWith(QLatin1Char('/')));
    EXPECT_TRUE(cmd.arguments[0].endsWith(QStringLiteral("/-rf")));
}

TEST(InterpretCommandLine, AddressStaysAsItIs)
{
    const auto cmd = platform::interpretCommandLine(QStringLiteral("explorer https://example.org/a b"));
    ASSERT_EQ(cmd.arguments.size(), 1);
    EXPECT_EQ(cmd.arguments[0], QStringLiteral("https://example.org/a b"));
}

TEST(InterpretCommandLine, OtherCommandsSplitOnBlanksOutsideQuotes)
{
    const auto cmd = platform::interpretCommandLine(QStringLiteral("\"/opt/my app/run\" -x \"a b\""));
    EXPECT_EQ(cmd.program, QStringLiteral("/opt/my app/run"));
    EXPECT_EQ(cmd.arguments, (QStringList{QStringLiteral("-x"), QStringLiteral("a b")}));
}

// The compiled manual is opened where it exists; elsewhere the HTML manual of
// the same folder stands in for it.
TEST(InterpretCommandLine, HelpOpensTheCompiledManualOrTheHtmlBesideIt)
{
    QTemporaryDir tmp;
    const QString help = tmp.filePath(QStringLiteral("help"));
    ASSERT_TRUE(QDir().mkpath(help));
    const QString chm = help + QStringLiteral("/zo3&rev.chm");
    const QString html = help + QStringLiteral("/index.html");
    ASSERT_TRUE(QFile(html).open(QIODevice::WriteOnly));

    auto cmd = platform::interpretCommandLine(QStringLiteral("hh ") + chm);
    ASSERT_EQ(cmd.arguments.size(), 1);
    EXPECT_EQ(cmd.arguments[0], html);

    ASSERT_TRUE(QFile(chm).open(QIODevice::WriteOnly));
    cmd = platform::interpretCommandLine(QStringLiteral("hh ") + chm);
    ASSERT_EQ(cmd.arguments.size(), 1);
    EXPECT_EQ(cmd.arguments[0], chm);
}

} // namespace
