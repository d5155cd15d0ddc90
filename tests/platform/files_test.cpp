#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Files, ClearReadOnlyKeepsTheOtherPermissions)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("out.wav"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    EXPECT_TRUE(platform::isReadOnly(path));

    EXPECT_TRUE(platform::clearReadOnly(path));
    EXPECT_FALSE(platform::isReadOnly(path));
    const auto after = QFile::permissions(path);
    EXPECT_TRUE(after & QFileDevice::ReadGroup);
    EXPECT_TRUE(after & QFileDevice::ExeOther);
    EXPECT_FALSE(after & QFileDevice::WriteGroup);
}

TEST(Files, CreateDirectoryMakesOneLevelOnly)
{
    QTemporaryDir tmp;
    EXPECT_TRUE(platform::createDirectory(tmp.filePath(QStringLiteral("one"))));
    EXPECT_TRUE(platform::directoryExists(tmp.filePath(QStringLiteral("one"))));
    EXPECT_FALSE(platform::createDirectory(tmp.filePath(QStringLiteral("a/b"))));
    EXPECT_FALSE(platform::directoryExists(tmp.filePath(QStringLiteral("a"))));
}

TEST(Files, ExistsMeansAFileNotAFolder)
{
    QTemporaryDir tmp;
    EXPECT_FALSE(platform::fileExists(tmp.path()));
    EXPECT_FALSE(platform::fileExists(tmp.filePath(QStringLiteral("none"))));
    EXPECT_EQ(platform::fileNameOf(QStringLiteral("/a/b/take.1.mp3")), QStringLiteral("take.1.mp3"));
}

} // namespace
