#include "settings/inifile.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using settings::TIniFile;

namespace {

const QByteArray sample = "; kept comment\n"
                          "[mp3option]\n"
                          "SAMPLERATE=22050\n"
                          "normalizesize=abc\n"
                          "bitrate=12abc\n"
                          "mode=0x1F\n"
                          "fade=2\n"
                          "Fade In=true\n"
                          "quickmode=high quality\n"
                          "empty=\n"
                          "\n"
                          "[Other]\n"
                          "x=1\n"
                          "[WavOption]\n"
                          "Normalize=Yes\n";

struct IntCase {
    const char *section, *key;
    int def, expected;
};

std::ostream &operator<<(std::ostream &os, const IntCase &c)
{
    return os << c.section << "/" << c.key;
}

class IniIntegerRead : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntegerRead, ParsesOrFallsBackToTheDefault)
{
    TempConfig config;
    config.writeSettings(sample);
    const auto &p = GetParam();
    EXPECT_EQ(TIniFile().ReadInteger(QString::fromLatin1(p.section), QString::fromLatin1(p.key), p.def), p.expected)
        << p.section << "/" << p.key;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniIntegerRead,
    ::testing::Values(IntCase{"Mp3Option", "SampleRate", 44100, 22050}, // names match without case
                      IntCase{"mp3Option", "samplerate", 44100, 22050},
                      IntCase{"Mp3Option", "normalizesize", 98, 98},    // "abc"
                      IntCase{"Mp3Option", "bitrate", 8, 8},            // "12abc"
                      IntCase{"Mp3Option", "mode", 1, 31},              // "0x1F"
                      IntCase{"Mp3Option", "empty", 7, 7},
                      IntCase{"Mp3Option", "missing", 5, 5},
                      IntCase{"NoSection", "x", -1, -1},
                      IntCase{"other", "X", 0, 1}));

TEST(IniRead, BooleansAreIntegers)
{
    TempConfig config;
    config.writeSettings(sample);
    TIniFile ini;
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Mp3Option"), QStringLiteral("Fade"), false)); // 2
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Mp3Option"), QStringLiteral("fade in"), false)); // "true"
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Mp3Option"), QStringLiteral("fade in"), true));
}

TEST(IniRead, TextIsReturnedAsStoredAndCutAt2047)
{
    TempConfig config;
    config.writeSettings(sample + "long=" + QByteArray(3000, 'x') + "\n");
    TIniFile ini;
    EXPECT_EQ(ini.ReadString(QStringLiteral("WAVOPTION"), QStringLiteral("normalize"), QString()), QStringLiteral("Yes"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("wavoption"), QStringLiteral("long"), QString()).size(), 2047);
}

TEST(IniRead, MissingFileReadsAsEmpty)
{
    TempConfig config;
    TIniFile ini;
    EXPECT_EQ(ini.ReadString(QStringLiteral("basic"), QStringLiteral("skin name"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("basic"), QStringLiteral("skin"), 1), 1);
    EXPECT_FALSE(QFileInfo::exists(config.settingsPath()));
}

TEST(IniWrite, ReplacesInPlaceKeepingSpellingAndUnknownLines)
{
    TempConfig config;
    config.writeSettings(sample);
    TIniFile ini;
    ini.WriteInteger(QStringLiteral("Mp3Option"), QStringLiteral("samplerate"), 48000);
    ini.WriteString(QStringLiteral("MP3OPTION"), QStringLiteral("dir"), QStringLiteral("/music out"));
    ini.WriteBool(QStringLiteral("basic"), QStringLiteral("Fade"), false);
    ini.WriteString(QStringLiteral("wavoption"), QStringLiteral("Dir"), QStringLiteral("/w"));

    const QByteArray expected = "; kept comment\n"
                                "[mp3option]\n"
                                "SAMPLERATE=48000\n"
                                "normalizesize=abc\n"
                                "bitrate=12abc\n"
                                "mode=0x1F\n"
                                "fade=2\n"
                                "Fade In=true\n"
                                "quickmode=high quality\n"
                                "empty=\n"
                                "dir=/music out\n"
                                "\n"
                                "[Other]\n"
                                "x=1\n"
                                "[WavOption]\n"
                                "Normalize=Yes\n"
                                "Dir=/w\n"
                                "[basic]\n"
                                "Fade=0\n";
    EXPECT_EQ(config.readSettings(), expected);
}

TEST(IniWrite, LineBreaksInAValueCannotAddEntries)
{
    TempConfig config;
    config.writeSettings("[WavOption]\nDir=/a\n[basic]\nskin=1\n");
    TIniFile ini;
    ini.WriteString(QStringLiteral("WavOption"), QStringLiteral("Dir"), QStringLiteral("/x\n[basic]\r\nskin=6"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("basic"), QStringLiteral("skin"), 0), 1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("WavOption"), QStringLiteral("Dir"), {}), QStringLiteral("/x [basic]  skin=6"));
}

TEST(IniWrite, FirstWriteCreatesTheFile)
{
    TempConfig config;
    TIniFile ini;
    ini.WriteInteger(QStringLiteral("basic"), QStringLiteral("skin"), 3);
    EXPECT_EQ(config.readSettings(), QByteArray("[basic]\nskin=3\n"));
}

TEST(IniWrite, FailureRaisesTheFileNameAndLeavesTheOldFile)
{
    TempConfig config;
    config.writeSettings(sample);
    // A folder where the file's temporary sibling must go makes every write fail,
    // for root too.
    QFile::setPermissions(config.dir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool canStillWrite = QFile(config.dir() + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    if (canStillWrite) {
        QFile::remove(config.dir() + QStringLiteral("/probe"));
        QFile::setPermissions(config.dir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // Root ignores permissions: make the settings file a folder instead.
        QFile::remove(config.settingsPath());
        ASSERT_TRUE(QDir().mkdir(config.settingsPath()));
    }
    try {
        TIniFile().WriteString(QStringLiteral("basic"), QStringLiteral("skin"), QStringLiteral("2"));
        FAIL() << "write did not fail";
    } catch (const settings::SettingsWriteError &e) {
        EXPECT_STREQ(e.what(), "Unable to write to ro3zeduro.ini");
    }
    QFile::setPermissions(config.dir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!canStillWrite) {
        EXPECT_EQ(config.readSettings(), sample);
    }
}

TEST(IniConcurrency, ReaderSeesOnlyWholeValues)
{
    TempConfig config;
    config.writeSettings("[Mp3Option]\nbitrate=128\n");
    std::atomic<bool> done{false};
    std::thread writer([&] {
        TIniFile ini;
        for (int i = 0; i < 300; ++i)
            ini.WriteInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), i % 2 ? 128 : 320);
        done = true;
    });
    TIniFile reader;
    int reads = 0;
    while (!done) {
        const int v = reader.ReadInteger(QStringLiteral("mp3option"), QStringLiteral("Bitrate"), -1);
        ASSERT_TRUE(v == 128 || v == 320) << v;
        ++reads;
    }
    writer.join();
    EXPECT_GT(reads, 0);
}

} // namespace
