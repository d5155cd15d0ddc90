#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The manual as the program finds it: beside the executable in the build tree.
const QDir helpDir(QStringLiteral(SONVERA_BINARY_DIR "/help"));

QString readPage(const QString &name)
{
    QFile file(helpDir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> anchorsOf(const QString &page)
{
    QSet<QString> ids;
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (const auto &m : id.globalMatch(page))
        ids.insert(m.captured(1));
    return ids;
}

TEST(HelpManual, IndexLiesBesideTheProgram)
{
    EXPECT_TRUE(QFileInfo(helpDir.filePath(QStringLiteral("index.html"))).isFile());
}

// Every link and picture of every page leads somewhere: a file of the manual
// and, with a fragment, an element of that page.
TEST(HelpManual, LocalLinksResolve)
{
    static const QRegularExpression ref(QStringLiteral("\\b(?:href|src)=\"([^\"]+)\""));
    const QStringList pages = helpDir.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_FALSE(pages.isEmpty());
    for (const QString &page : pages) {
        const QString text = readPage(page);
        for (const auto &m : ref.globalMatch(text)) {
            const QString target = m.captured(1);
            if (target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:")))
                continue;
            const QString file = target.section(QLatin1Char('#'), 0, 0);
            const QString fragment = target.section(QLatin1Char('#'), 1);
            const QString linked = file.isEmpty() ? page : file;
            EXPECT_TRUE(QFileInfo(helpDir.filePath(linked)).isFile()) << page.toStdString() << ": " << target.toStdString();
            if (!fragment.isEmpty()) {
                EXPECT_TRUE(anchorsOf(readPage(linked)).contains(fragment))
                    << page.toStdString() << ": " << target.toStdString();
            }
        }
    }
}

} // namespace
