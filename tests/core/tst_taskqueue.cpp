#include "TaskQueue.h"

#include <QtTest>

#include <memory>

using namespace pallstone;

namespace {

// A step target that records what it was asked to do and reports back as told.
class Worker final : public QObject
{
    Q_OBJECT

public:
    enum class Then
    {
        Finish,
        Stall,
        Nothing
    };

    explicit Worker(TaskQueue* queue) : m_queue(queue) {}

    void step(const QString& id, Then then)
    {
        log.append(id);
        switch (then) {
        case Then::Finish:
            m_queue->finishCurrentTask();
            break;
        case Then::Stall:
            m_queue->stallCurrentTask();
            break;
        case Then::Nothing:
            break;
        }
    }

    void finished(TaskQueue* queue) { finishedWith.append(queue); }

    QStringList log;
    QList<TaskQueue*> finishedWith;

private:
    TaskQueue* m_queue;
};

void spin()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class TestTaskQueue final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsRunInOrderEachAfterThePreviousFinishes();
    void aStepThatNeverFinishesBlocksLaterSteps();
    void finishOutsideARunningStepChangesNothing();
    void aStalledStepRunsAgainBeforeANewStep();
    void restartOnAnEmptyIdleQueueCallsTheFinishActionEachTime();
    void aStepWhoseTargetIsDestroyedIsSkipped();
    void recordedArgumentsAreCopies();
};

void TestTaskQueue::stepsRunInOrderEachAfterThePreviousFinishes()
{
    TaskQueue queue;
    Worker worker(&queue);
    queue.setFinishAction(&Worker::finished, &worker);
    queue.taskWithTarget(&worker)
        .call(&Worker::step, QStringLiteral("1"), Worker::Then::Nothing)
        .call(&Worker::step, QStringLiteral("2"), Worker::Then::Finish);

    // Recording never performs the step on the spot.
    QVERIFY(worker.log.isEmpty());
    QVERIFY(queue.isRunning());
    spin();
    QCOMPARE(worker.log, QStringList{QStringLiteral("1")});

    queue.finishCurrentTask();
    QCOMPARE(worker.log.size(), 1); // the next step waits for the next turn of the loop
    spin();
    QCOMPARE(worker.log, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(worker.finishedWith, QList<TaskQueue*>{&queue});
    QVERIFY(queue.isEmpty());
    QCOMPARE(queue.pendingCount(), 0);
}

void TestTaskQueue::aStepThatNeverFinishesBlocksLaterSteps()
{
    TaskQueue queue;
    Worker worker(&queue);
    queue.setFinishAction(&Worker::finished, &worker);
    auto proxy = queue.taskWithTarget(&worker);
    proxy.call(&Worker::step, QStringLiteral("stuck"), Worker::Then::Nothing);
    proxy.call(&Worker::step, QStringLiteral("later"), Worker::Then::Finish);
    spin();
    proxy.call(&Worker::step, QStringLiteral("later still"), Worker::Then::Finish);
    spin();

    QCOMPARE(worker.log, QStringList{QStringLiteral("stuck")});
    QCOMPARE(queue.pendingCount(), 3);
    QVERIFY(queue.isRunning());
    QVERIFY(worker.finishedWith.isEmpty());
}

void TestTaskQueue::finishOutsideARunningStepChangesNothing()
{
    TaskQueue queue;
    Worker worker(&queue);
    queue.setFinishAction(&Worker::finished, &worker);

    queue.finishCurrentTask(); // idle, nothing pending
    QVERIFY(queue.isEmpty());
    QVERIFY(worker.finishedWith.isEmpty());

    // Stalled: the head step must survive a stray finish.
    queue.taskWithTarget(&worker).call(&Worker::step, QStringLiteral("s"), Worker::Then::Stall);
    spin();
    queue.finishCurrentTask();
    QVERIFY(queue.isStalled());
    QCOMPARE(queue.pendingCount(), 1);

    // Scheduled but not yet started: finishing now would drop a step that never ran.
    TaskQueue other;
    Worker second(&other);
    other.taskWithTarget(&second).call(&Worker::step, QStringLiteral("x"), Worker::Then::Finish);
    other.finishCurrentTask();
    QCOMPARE(other.pendingCount(), 1);
    spin();
    QCOMPARE(second.log, QStringList{QStringLiteral("x")});
    QCOMPARE(other.pendingCount(), 0);
}

void TestTaskQueue::aStalledStepRunsAgainBeforeANewStep()
{
    TaskQueue queue;
    Worker worker(&queue);
    queue.setFinishAction(&Worker::finished, &worker);
    queue.taskWithTarget(&worker).call(&Worker::step, QStringLiteral("a"), Worker::Then::Stall);
    spin();
    QVERIFY(queue.isStalled());
    QVERIFY(!queue.isRunning());
    QVERIFY(!queue.isEmpty());
    QVERIFY(worker.finishedWith.isEmpty());

    // The new step restarts the queue, which performs the stalled head again first; it stalls
    // again, so "b" must not run.
    queue.taskWithTarget(&worker).call(&Worker::step, QStringLiteral("b"), Worker::Then::Finish);
    QVERIFY(queue.isRunning());
    QVERIFY(!queue.isStalled());
    spin();
    QCOMPARE(worker.log, (QStringList{QStringLiteral("a"), QStringLiteral("a")}));
    QVERIFY(queue.isStalled());

    // A stall before the scheduled start ran: the head still runs exactly once per restart.
    queue.restart();
    queue.stallCurrentTask();
    queue.restart();
    spin();
    QCOMPARE(worker.log.count(QStringLiteral("a")), 3);
}

void TestTaskQueue::restartOnAnEmptyIdleQueueCallsTheFinishActionEachTime()
{
    TaskQueue queue;
    queue.restart(); // no finish action set: nothing to call, nothing to crash
    Worker worker(&queue);
    queue.setFinishAction(&Worker::finished, &worker);
    queue.restart();
    queue.restart();
    queue.restart();
    QCOMPARE(worker.finishedWith, QList<TaskQueue*>(3, &queue));

    auto gone = std::make_unique<Worker>(&queue);
    queue.setFinishAction(&Worker::finished, gone.get());
    gone.reset();
    queue.restart(); // the finish target is destroyed: not called
}

void TestTaskQueue::aStepWhoseTargetIsDestroyedIsSkipped()
{
    TaskQueue queue;
    Worker survivor(&queue);
    queue.setFinishAction(&Worker::finished, &survivor);
    auto doomed = std::make_unique<Worker>(&queue);
    queue.taskWithTarget(doomed.get())
        .call(&Worker::step, QStringLiteral("never"), Worker::Then::Finish);
    queue.taskWithTarget(&survivor).call(&Worker::step, QStringLiteral("next"),
                                         Worker::Then::Finish);
    doomed.reset();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("destroyed")));
    spin();
    QCOMPARE(survivor.log, QStringList{QStringLiteral("next")});
    QCOMPARE(survivor.finishedWith.size(), 1);
    QVERIFY(queue.isEmpty());
}

void TestTaskQueue::recordedArgumentsAreCopies()
{
    TaskQueue queue;
    Worker worker(&queue);
    QString id = QStringLiteral("original");
    queue.taskWithTarget(&worker).call(&Worker::step, id, Worker::Then::Finish);
    id = QStringLiteral("changed");
    spin();
    QCOMPARE(worker.log, QStringList{QStringLiteral("original")});
}

QTEST_GUILESS_MAIN(TestTaskQueue)
#include "tst_taskqueue.moc"
