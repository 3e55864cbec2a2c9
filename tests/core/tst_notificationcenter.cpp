#include "NotificationCenter.h"

#include <QPointer>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>
#include <thread>

namespace pallstone {

// Declared inside the namespace with the unqualified type, as most of the code base will write it.
class Observer final : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void handleSignal(const Notification& notification)
    {
        received.append(notification);
        threads.append(QThread::currentThread());
        if (onSignal)
            onSignal();
    }
    Q_INVOKABLE void handleSignal_b_c(const pallstone::Notification& notification)
    {
        dotted.append(notification.name);
    }

    QList<Notification> received;
    QList<QThread*> threads;
    QStringList dotted;
    std::function<void()> onSignal;
};

class Mute final : public QObject
{
    Q_OBJECT
};

} // namespace pallstone

using namespace pallstone;

class tst_NotificationCenter final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlerIsChosenByTheNameParts_data();
    void handlerIsChosenByTheNameParts();
    void configChangeReachesHandleSignalWithSenderAndUserInfo();
    void registeringTwiceDeliversOnce();
    void removedObserversAreNotCalled();
    void dottedNameReachesItsOwnHandler();
    void observerWithoutHandlerIsSkippedNotFatal();
    void destroyedObserverDoesNotCrashALaterPost();
    void handlersMayChangeRegistrationsDuringAPost();
    void handlersRunOnThePostingThread();

private:
    NotificationCenter& center() { return NotificationCenter::defaultCenter(); }
};

void tst_NotificationCenter::handlerIsChosenByTheNameParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("handler");
    QTest::newRow("three parts use the last two") << "a.b.c"
                                                  << "handleSignal_b_c";
    QTest::newRow("two parts use both") << "a.b"
                                        << "handleSignal_a_b";
    QTest::newRow("one part") << "a"
                              << "handleSignal";
    QTest::newRow("four parts") << "a.b.c.d"
                                << "handleSignal";
    QTest::newRow("empty") << ""
                           << "handleSignal";
    QTest::newRow("null") << QString() << "handleSignal";
    QTest::newRow("spaces, no dot") << "config change noti"
                                    << "handleSignal";
    QTest::newRow("empty parts are kept") << ".b.c"
                                          << "handleSignal_b_c";
}

void tst_NotificationCenter::handlerIsChosenByTheNameParts()
{
    QFETCH(QString, name);
    QFETCH(QString, handler);
    QCOMPARE(NotificationCenter::selWithName(name), handler);
}

void tst_NotificationCenter::configChangeReachesHandleSignalWithSenderAndUserInfo()
{
    Observer observer;
    QObject sender;
    center().addNotification(&observer, QStringLiteral("config change noti"));
    center().postNotification(QStringLiteral("config change noti"), &sender,
                              {{QStringLiteral("key"), 7}});
    center().postNotification(QStringLiteral("another noti"));

    QCOMPARE(observer.received.size(), 1);
    QCOMPARE(observer.received.at(0).name, QStringLiteral("config change noti"));
    QCOMPARE(observer.received.at(0).object, &sender);
    QCOMPARE(observer.received.at(0).userInfo.value(QStringLiteral("key")).toInt(), 7);

    center().postNotification(QStringLiteral("config change noti"));
    QCOMPARE(observer.received.size(), 2);
    QCOMPARE(observer.received.at(1).object, nullptr);
    QVERIFY(observer.received.at(1).userInfo.isEmpty());
    center().removeAllNotification(&observer);
}

void tst_NotificationCenter::registeringTwiceDeliversOnce()
{
    Observer observer;
    center().addNotification(&observer, QStringLiteral("n"));
    center().addNotification(&observer, QStringLiteral("n"));
    QCOMPARE(center().registrationCount(&observer), 1);
    center().postNotification(QStringLiteral("n"));
    QCOMPARE(observer.received.size(), 1);
    center().removeAllNotification(&observer);
}

void tst_NotificationCenter::removedObserversAreNotCalled()
{
    Observer observer;
    center().addNotification(&observer, QStringLiteral("one"));
    center().addNotification(&observer, QStringLiteral("two"));
    center().removeNotification(&observer, QStringLiteral("one"));
    center().postNotification(QStringLiteral("one"));
    center().postNotification(QStringLiteral("two"));
    QCOMPARE(observer.received.size(), 1);
    QCOMPARE(observer.received.at(0).name, QStringLiteral("two"));

    center().removeAllNotification(&observer);
    center().postNotification(QStringLiteral("two"));
    QCOMPARE(observer.received.size(), 1);
    QCOMPARE(center().registrationCount(&observer), 0);
}

void tst_NotificationCenter::dottedNameReachesItsOwnHandler()
{
    Observer observer;
    center().addNotification(&observer, QStringLiteral("a.b.c"));
    center().postNotification(QStringLiteral("a.b.c"));
    QCOMPARE(observer.dotted, QStringList{QStringLiteral("a.b.c")});
    QVERIFY(observer.received.isEmpty());
    center().removeAllNotification(&observer);
}

void tst_NotificationCenter::observerWithoutHandlerIsSkippedNotFatal()
{
    Mute mute;
    Observer observer;
    center().addNotification(&mute, QStringLiteral("n"));
    center().addNotification(&observer, QStringLiteral("n"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Mute.*handleSignal")));
    center().postNotification(QStringLiteral("n"));
    QCOMPARE(observer.received.size(), 1);
    center().removeAllNotification(&mute);
    center().removeAllNotification(&observer);
}

void tst_NotificationCenter::destroyedObserverDoesNotCrashALaterPost()
{
    auto doomed = std::make_unique<Observer>();
    const QObject* address = doomed.get();
    center().addNotification(doomed.get(), QStringLiteral("n"));
    doomed.reset();
    QCOMPARE(center().registrationCount(address), 0);
    center().postNotification(QStringLiteral("n")); // must not call into freed memory
}

void tst_NotificationCenter::handlersMayChangeRegistrationsDuringAPost()
{
    Observer first;
    Observer second;
    Observer late;
    auto doomed = std::make_unique<Observer>();
    center().addNotification(&first, QStringLiteral("n"));
    center().addNotification(&second, QStringLiteral("n"));
    center().addNotification(doomed.get(), QStringLiteral("n"));
    first.onSignal = [&] {
        center().removeNotification(&second, QStringLiteral("n"));
        center().addNotification(&late, QStringLiteral("n"));
        doomed.reset();
    };
    center().postNotification(QStringLiteral("n"));

    QCOMPARE(first.received.size(), 1);
    QCOMPARE(second.received.size(), 0); // removed before its turn came
    QCOMPARE(late.received.size(), 0);   // added after the post began
    first.onSignal = nullptr;
    center().postNotification(QStringLiteral("n"));
    QCOMPARE(late.received.size(), 1);
    for (QObject* o : {static_cast<QObject*>(&first), static_cast<QObject*>(&late)})
        center().removeAllNotification(o);
}

void tst_NotificationCenter::handlersRunOnThePostingThread()
{
    Observer observer;
    center().addNotification(&observer, QStringLiteral("n"));
    // A joined standard thread: its end orders the handler's writes before the checks below.
    QThread* posting = nullptr;
    std::thread poster([&] {
        posting = QThread::currentThread();
        center().postNotification(QStringLiteral("n"));
    });
    poster.join();
    QCOMPARE(observer.threads, QList<QThread*>{posting});
    center().removeAllNotification(&observer);
}

QTEST_GUILESS_MAIN(tst_NotificationCenter)
#include "tst_notificationcenter.moc"
