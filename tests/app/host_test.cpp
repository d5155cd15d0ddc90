#include "engine/overlays.h"
#include "tests/app/window_fixture.h"

#include <QProgressBar>

namespace {

class JobHostTest : public WindowTest {
protected:
    // Every state word the list showed, in order.
    QStringList watchStates()
    {
        QObject::connect(window->suilv_main, &QTreeWidget::itemChanged, window.get(),
                         [this](QTreeWidgetItem *item, int column) {
                             if (column == 5)
                                 states << item->text(5);
                         });
        return {};
    }
    QStringList states;
};

TEST_F(JobHostTest, WorkerChangesArriveInOrderAndQuestionsWaitForTheAnswer)
{
    applySkin();
    watchStates();
    boxes->answers = {true};
    std::atomic<bool> answer{false};
    workers->script = [&answer](FakeWorker &w) {
        IJobHost &host = *w.context.host;
        host.setRowState(0, QStringLiteral("Converting"));
        for (int p = 1; p <= 50; ++p)
            host.setProgress(p);
        answer = host.askYesNo(QStringLiteral("x.wav is already exist.Overwrite?"), QStringLiteral("ERROR"));
        host.showMessage(QStringLiteral("Failed to open file y"), QStringLiteral("ERROR!"));
        host.setRowState(0, QStringLiteral("finish"));
        host.setRowState(1, QStringLiteral("failed"));
        host.setProgress(0);
        const OverlayState end = jobEndOverlays(JobToWav);
        host.resetOverlays(end.names, end.calls);
        host.launch(QStringLiteral("explorer /x"), 3);
        w.released = true;
    };
    startJob(QStringLiteral("towav"), {source(QStringLiteral("a.mp3")), source(QStringLiteral("b.mp3"))});
    skin->visibility.clear();
    ASSERT_TRUE(waitForWorkerEnd());

    EXPECT_TRUE(answer);
    ASSERT_EQ(boxes->shown.size(), 2u);
    EXPECT_EQ(boxes->shown[0].caption, QStringLiteral("ERROR"));
    EXPECT_TRUE(boxes->shown[0].question);
    EXPECT_EQ(boxes->shown[1].caption, QStringLiteral("ERROR!"));
    for (const auto &box : boxes->shown)
        EXPECT_EQ(box.thread, window->thread());
    EXPECT_EQ(states, (QStringList{"Converting", "finish", "failed"}));
    EXPECT_EQ(window->suiprb_main->value(), 0);
    EXPECT_EQ(skin->visibility, (QStringList{"towav_click hidden", "stop_disable shown", "normalize_disable hidden",
                                             "tomp3_disable hidden"}));
    EXPECT_EQ(launches, (std::vector<Launch>{{QStringLiteral("explorer /x"), 3}}));
}

TEST_F(JobHostTest, ChangesInFlightAtStopKeepTheStoppedRow)
{
    workers->afterStop = [](FakeWorker &w) {
        w.context.host->setRowState(0, QStringLiteral("Converting"));
        w.context.host->setProgress(70);
        w.context.host->setRowState(1, QStringLiteral("failed"));
    };
    startJob(QStringLiteral("towav"), {source(QStringLiteral("a.mp3")), source(QStringLiteral("b.mp3"))});
    skin->click(QStringLiteral("stop"));
    ASSERT_TRUE(waitForWorkerEnd());
    EXPECT_EQ(rowText(0, 5), QStringLiteral("stopped"));
    EXPECT_EQ(rowText(1, 5), QStringLiteral("failed"));
    EXPECT_EQ(window->suiprb_main->value(), 0);
}

TEST_F(JobHostTest, ANewJobRightAfterStopWaitsForTheStoppedWorker)
{
    applySkin();
    workers->afterStop = [](FakeWorker &w) {
        QThread::msleep(50);
        w.context.host->setRowState(1, QStringLiteral("late"));
        const OverlayState end = jobEndOverlays(JobToWav);
        w.context.host->resetOverlays(end.names, end.calls);
    };
    startJob(QStringLiteral("towav"), {source(QStringLiteral("a1.mp3")), source(QStringLiteral("a2.mp3"))});
    skin->click(QStringLiteral("stop"));
    skin->visibility.clear();
    startJob(QStringLiteral("tomp3"), {source(QStringLiteral("b1.wav")), source(QStringLiteral("b2.wav"))});

    ASSERT_EQ(workers->created.size(), 2u);
    EXPECT_TRUE(workers->created[1].previousEnded);
    EXPECT_EQ(rowText(1, 0), QStringLiteral("b2.wav"));
    EXPECT_EQ(rowText(1, 5), QStringLiteral("unconvert"));
    // The stopped worker's end came first; the new job's running state last.
    EXPECT_EQ(skin->visibility.mid(4), (QStringList{"stop_disable hidden", "tomp3_click shown", "normalize_disable shown",
                                                    "towav_disable shown"}));
}

TEST_F(JobHostTest, ClosingDuringAQuestionDoesNotHang)
{
    workers->script = [](FakeWorker &w) {
        while (!w.stopRequested)
            w.context.host->askYesNo(QStringLiteral("Continue?"), QStringLiteral("ERROR!"));
    };
    startJob(QStringLiteral("towav"), {source(QStringLiteral("a.mp3"))});
    QTest::qWait(20);
    const QPointer<QThread> worker = workers->created[0].worker;
    window.reset();
    EXPECT_TRUE(worker.isNull());
}

} // namespace
