#include "app/filechooser.h"
#include "tests/app/window_fixture.h"

namespace {

TEST(DialogFilters, OneEntryPerPairWithItsPatterns)
{
    EXPECT_EQ(dialogNameFilters(QStringLiteral("mp3 files(*.mp3)|*.mp3|ogg files(*.ogg)|*.ogg|wma files(*.wma)|*.wma")),
              (QStringList{QStringLiteral("mp3 files(*.mp3)"), QStringLiteral("ogg files(*.ogg)"),
                           QStringLiteral("wma files(*.wma)")}));
    EXPECT_EQ(dialogNameFilters(QStringLiteral("Skin files|*.skn")), QStringList{QStringLiteral("Skin files (*.skn)")});
}

using ListingTest = WindowTest;

TEST_F(ListingTest, EachCommandOffersItsOwnFilter)
{
    for (const char *button : {"normalize", "towav", "tomp3"})
        skin->click(QString::fromLatin1(button));
    const QString wen = QString(QChar(0x6587)) + QChar(0x4EF6); // the two letters, by code point
    EXPECT_EQ(files->filters, (QStringList{QStringLiteral("mp3") + wen + QStringLiteral("(*.mp3)|*.mp3"),
                                           QStringLiteral("mp3 files(*.mp3)|*.mp3|ogg files(*.ogg)|*.ogg|wma files(*.wma)|*.wma"),
                                           QStringLiteral("wave") + wen + QStringLiteral("(*.wav)|*.wav")}));
}

TEST_F(ListingTest, CancelLeavesAnEmptyListAndTheOverlaysAlone)
{
    applySkin();
    new QTreeWidgetItem(window->suilv_main, {QStringLiteral("old.mp3")});
    skin->click(QStringLiteral("towav"));
    EXPECT_EQ(window->suilv_main->topLevelItemCount(), 0);
    EXPECT_TRUE(skin->visibility.isEmpty());
    EXPECT_TRUE(workers->created.empty());
    EXPECT_EQ(JobKind, JobNone);
}

TEST_F(ListingTest, AnInvalidFileIsNamedOnceAndLeftOut)
{
    const QStringList chosen{source(QStringLiteral("one.mp3")), source(QStringLiteral("bad.mp3"), 10, false),
                             source(QStringLiteral("two.mp3"))};
    startJob(QStringLiteral("towav"), chosen);
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("bad.mp3 is not a valid file!"));
    EXPECT_EQ(boxes->shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(window->suilv_main->topLevelItemCount(), 2);
    ASSERT_EQ(workers->created.size(), 1u);
    EXPECT_EQ(workers->created[0].kind, JobToWav);
    EXPECT_EQ(workers->created[0].rows, (QStringList{chosen[0], chosen[2]}));
    EXPECT_TRUE(ToWavRunning);
    EXPECT_EQ(JobKind, JobToWav);
    // Every file opened is closed again.
    EXPECT_EQ(reader->calls.count(QStringLiteral("CloseFile")), 3);
}

TEST_F(ListingTest, OnlyInvalidFilesStartNothing)
{
    applySkin();
    startJob(QStringLiteral("tomp3"), {source(QStringLiteral("a.wav"), 10, false), source(QStringLiteral("b.wav"), 10, false)});
    ASSERT_EQ(boxes->shown.size(), 2u);
    EXPECT_EQ(boxes->shown[1].text, QStringLiteral("b.wav is not a valid WAV file!"));
    EXPECT_EQ(window->suilv_main->topLevelItemCount(), 0);
    EXPECT_TRUE(workers->created.empty());
    EXPECT_TRUE(skin->visibility.isEmpty());
    EXPECT_FALSE(ToMp3Running);
}

TEST_F(ListingTest, AFileGoneBeforeItsSizeIsTakenIsReportedAndSkipped)
{
    const QString gone = source(QStringLiteral("gone.mp3"));
    const QString kept = source(QStringLiteral("kept.mp3"));
    QFile::remove(gone);
    startJob(QStringLiteral("normalize"), {gone, kept});
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("gone.mp3 is not a valid MP3 file!"));
    EXPECT_FALSE(ClosingOnError);
    ASSERT_EQ(workers->created.size(), 1u);
    EXPECT_EQ(workers->created[0].rows, QStringList{kept});
}

TEST_F(ListingTest, RowsAreSortedByFileNameAndDescribeTheFile)
{
    const QString b = source(QStringLiteral("b.mp3"), 1000, true, 22050, 1);
    const QString a = source(QStringLiteral("a.mp3"), 3500000, true, 44100, 2);
    startJob(QStringLiteral("towav"), {b, a});
    ASSERT_EQ(window->suilv_main->topLevelItemCount(), 2);
    const QStringList first{QStringLiteral("a.mp3"), a, QStringLiteral("3.34MB"), QStringLiteral("44100Hz"),
                            QStringLiteral("stereo"), QStringLiteral("unconvert")};
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(rowText(0, column), first[column]);
    EXPECT_EQ(rowText(1, 3), QStringLiteral("22050Hz"));
    EXPECT_EQ(rowText(1, 4), QStringLiteral("mono"));
    EXPECT_EQ(workers->created[0].rows, (QStringList{a, b}));
}

} // namespace
