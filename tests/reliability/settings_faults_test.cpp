#include "settings/inifile.h"
#include "support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

using settings::TIniFile;

namespace {

struct Corrupt {
    const char *name;
    QByteArray text;
};

void PrintTo(const Corrupt &c, std::ostream *os) { *os << c.name; }

QByteArray binaryBytes()
{
    QByteArray bytes(65536, '\0');
    QRandomGenerator rng(17);
    for (char &b : bytes)
        b = char(rng.bounded(256));
    return bytes;
}

class CorruptSettings : public testing::TestWithParam<Corrupt> {};

// Whatever the file holds, every read gives the default and a write still works.
TEST_P(CorruptSettings, ReadAsDefaultsAndWritable)
{
    TempConfig config;
    config.writeSettings(GetParam().text);
    TIniFile ini;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 128), 128);
    EXPECT_EQ(ini.ReadString(QStringLiteral("basic"), QStringLiteral("skin name"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("WavOption"), QStringLiteral("Normalize"), true));
    ini.WriteInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 192);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 128), 192);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptSettings,
    testing::Values(Corrupt{"binary", binaryBytes()},
                    Corrupt{"longLine", QByteArray(10 * 1024 * 1024, 'x')},
                    Corrupt{"noSections", "bitrate=320\nskin name=evil\nNormalize=0\n"},
                    Corrupt{"nulInKey", QByteArray("[Mp3Option]\nbit\0rate=320\n", 25)}),
    [](const testing::TestParamInfo<Corrupt> &info) { return std::string(info.param.name); });

TEST(SettingsFaults, FolderOrUnreadableFileReadsAsDefaults)
{
    TempConfig config;
    ASSERT_TRUE(QDir().mkdir(config.settingsPath()));
    TIniFile ini;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 128), 128);
    EXPECT_THROW(ini.WriteInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 1),
                 settings::SettingsWriteError);
    ASSERT_TRUE(QDir().rmdir(config.settingsPath()));

    config.writeSettings("[Mp3Option]\nbitrate=320\n");
    QFile::setPermissions(config.settingsPath(), QFileDevice::WriteOwner);
    const bool unreadable = !QFile(config.settingsPath()).open(QIODevice::ReadOnly);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Mp3Option"), QStringLiteral("bitrate"), 128), unreadable ? 128 : 320);
}

// A process killed at any moment of a run of writes leaves a whole file:
// every key holds a value some write stored.
TEST(SettingsFaults, KilledWriterNeverLeavesAHalfWrittenFile)
{
    TempConfig config;
    QByteArray before = "[Test]\n";
    for (int k = 0; k < 10; ++k)
        before += "key" + QByteArray::number(k) + "=old\n";
    for (int round = 0; round < 5; ++round) {
        config.writeSettings(before);
        QProcess child;
        child.start(QStringLiteral(SETTINGS_WRITE_CHILD), {config.settingsPath(), QStringLiteral("1000")});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        QThread::msleep(QRandomGenerator::global()->bounded(1, 60));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        TIniFile ini(config.settingsPath());
        for (int k = 0; k < 10; ++k) {
            const QString v = ini.ReadString(QStringLiteral("Test"), QStringLiteral("key%1").arg(k), QStringLiteral("missing"));
            EXPECT_TRUE(v == QLatin1String("old") || v == QLatin1String("new")) << "round " << round << " key" << k << "=" << v.toStdString();
        }
    }
}

} // namespace
