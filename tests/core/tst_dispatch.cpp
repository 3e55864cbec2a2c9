#include "Dispatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

using namespace pallstone;

class tst_Dispatch final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Must stay the first test: it is the one that creates the background queue.
    void firstUseFromSeveralThreadsCreatesOneQueue();
    void backgroundBlocksRunOneAtATimeInSubmissionOrder();
    void foregroundBlocksRunOnTheMainThread();
    void delaysAreHonoured();
    void waitUntilIdleWaitsForDelayedAndChainedBlocks();
    void waitUntilIdleGivesUpAtItsTimeout();
    void waitUntilIdleOnTheBackgroundQueueDoesNotDeadlock();
    void backgroundWorkRunsBelowTheMainThread();
};

void tst_Dispatch::firstUseFromSeveralThreadsCreatesOneQueue()
{
    QMutex mutex;
    QSet<QThread*> threads;
    QStringList labels;
    std::vector<std::unique_ptr<QThread>> submitters;
    for (int i = 0; i < 4; ++i) {
        submitters.emplace_back(QThread::create([&] {
            Dispatch::enterBackground([&] {
                const QMutexLocker locker(&mutex);
                threads.insert(QThread::currentThread());
                labels.append(QThread::currentThread()->objectName());
            });
        }));
        submitters.back()->start();
    }
    for (auto& t : submitters)
        QVERIFY(t->wait(5000));
    QVERIFY(Dispatch::waitUntilIdle(5000));

    QCOMPARE(threads.size(), 1);
    QVERIFY(*threads.cbegin() != QThread::currentThread());
    QCOMPARE(labels, QStringList(4, QStringLiteral("com.tolvane.taskQueue")));
}

void tst_Dispatch::backgroundBlocksRunOneAtATimeInSubmissionOrder()
{
    constexpr int kCount = 200;
    QList<int> order;
    std::atomic<int> running{0};
    std::atomic<int> maxRunning{0};
    std::atomic<bool> allOnBackground{true};
    for (int i = 0; i < kCount; ++i) {
        Dispatch::enterBackground([&, i] {
            const int now = ++running;
            maxRunning = std::max(maxRunning.load(), now);
            if (i % 20 == 0)
                QThread::msleep(2); // give an overlapping block a chance to show up
            order.append(i);
            if (!Dispatch::isBackgroundThread())
                allOnBackground = false;
            --running;
        });
    }
    QVERIFY(Dispatch::waitUntilIdle(10000));

    QCOMPARE(maxRunning.load(), 1);
    QVERIFY(allOnBackground);
    QCOMPARE(order.size(), kCount);
    for (int i = 0; i < kCount; ++i)
        QCOMPARE(order.at(i), i);
}

void tst_Dispatch::foregroundBlocksRunOnTheMainThread()
{
    QThread* ranOn = nullptr;
    bool ranBeforeReturn = true;
    Dispatch::enterBackground(
        [&] { Dispatch::enterForeground([&] { ranOn = QThread::currentThread(); }); });
    Dispatch::enterForeground([&] { ranBeforeReturn = false; });
    // Asynchronous even when submitted from the main thread.
    QVERIFY(ranBeforeReturn);
    QVERIFY(Dispatch::waitUntilIdle(5000));
    QCOMPARE(ranOn, QCoreApplication::instance()->thread());
    QVERIFY(!ranBeforeReturn);
}

void tst_Dispatch::delaysAreHonoured()
{
    QElapsedTimer clock;
    clock.start();
    qint64 backgroundAt = -1;
    qint64 foregroundAt = -1;
    qint64 immediateAt = -1;
    Dispatch::enterBackgroundWithDelay(1, [&] { backgroundAt = clock.elapsed(); });
    // A delayed block does not hold up the blocks submitted after it.
    Dispatch::enterBackground([&] { immediateAt = clock.elapsed(); });
    Dispatch::enterBackground(
        [&] { Dispatch::enterForegroundWithDelay(1, [&] { foregroundAt = clock.elapsed(); }); });
    QVERIFY(Dispatch::waitUntilIdle(10000));

    QVERIFY2(backgroundAt >= 1000, qPrintable(QString::number(backgroundAt)));
    QVERIFY2(foregroundAt >= 1000, qPrintable(QString::number(foregroundAt)));
    QVERIFY(immediateAt >= 0 && immediateAt < backgroundAt);
}

void tst_Dispatch::waitUntilIdleWaitsForDelayedAndChainedBlocks()
{
    bool last = false;
    Dispatch::enterForegroundWithDelay(1, [&] {
        Dispatch::enterBackgroundWithDelay(
            1, [&] { Dispatch::enterForeground([&] { last = true; }); });
    });
    QVERIFY(Dispatch::pendingCount() > 0);
    QVERIFY(Dispatch::waitUntilIdle());
    QVERIFY(last);
    QCOMPARE(Dispatch::pendingCount(), 0);
}

void tst_Dispatch::waitUntilIdleGivesUpAtItsTimeout()
{
    std::atomic<bool> ran = false; // written by the queue long after the first look
    Dispatch::enterBackgroundWithDelay(2, [&] { ran = true; });
    QVERIFY(!Dispatch::waitUntilIdle(100));
    QVERIFY(!ran);
    QCOMPARE(Dispatch::pendingBackgroundCount(), 1);
    QVERIFY(Dispatch::waitUntilIdle(10000));
    QVERIFY(ran);
}

void tst_Dispatch::waitUntilIdleOnTheBackgroundQueueDoesNotDeadlock()
{
    bool result = true;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("waitUntilIdle")));
    Dispatch::enterBackground([&] { result = Dispatch::waitUntilIdle(-1); });
    QVERIFY(Dispatch::waitUntilIdle(5000));
    QVERIFY(!result);
}

// A menu asked for while a job keeps both cores busy is answered first only when the job's threads
// yield to the one that answers.
void tst_Dispatch::backgroundWorkRunsBelowTheMainThread()
{
    const auto niceOfThisThread = [] {
        errno = 0;
        return ::getpriority(PRIO_PROCESS, id_t(::gettid()));
    };
    const int mainNice = niceOfThisThread();
    if (mainNice >= 19)
        QSKIP("the test already runs at the lowest priority");
    std::atomic<int> queueNice{mainNice};
    std::atomic<int> workerNice{mainNice};
    Dispatch::enterBackground([&] { queueNice = niceOfThisThread(); });
    Dispatch::enterWorker([&] { workerNice = niceOfThisThread(); });
    QVERIFY(Dispatch::waitUntilIdle(5000));
    QVERIFY(queueNice > mainNice);
    QVERIFY(workerNice > mainNice);
    QCOMPARE(niceOfThisThread(), mainNice);
}

QTEST_GUILESS_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
