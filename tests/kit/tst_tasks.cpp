#include <tessera/kit/tasks.h>

#include "testsupport.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>

using namespace tessera;

class tst_Tasks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void runsLaterNeverInline()
    {
        QObject context;
        int runs = 0;
        Task t = runLater(&context, [&] { ++runs; });
        QCOMPARE(runs, 0);
        QVERIFY(!t.done());
        QTRY_COMPARE(runs, 1);
        QVERIFY(t.done());
        QVERIFY(!t.failed());
        QVERIFY(!t.cancelled());
    }

    void cancelledTaskNeverRuns()
    {
        QObject context;
        int runs = 0;
        Task t = runLater(&context, [&] { ++runs; });
        Task copy = t;
        copy.cancel();
        QVERIFY(t.done());
        QVERIFY(t.cancelled());
        testsupport::drainEvents();
        QCOMPARE(runs, 0);
        t.cancel();   // cancelling a done task changes nothing
        QVERIFY(t.cancelled());
    }

    void taskOfDestroyedContextNeverRuns()
    {
        int runs = 0;
        auto *context = new QObject;
        Task t = runLater(context, [&] { ++runs; });
        delete context;
        testsupport::drainEvents();
        QCOMPARE(runs, 0);
        QVERIFY(!t.done());   // it never ran; the handle outlives the context safely
        t.cancel();
        QVERIFY(t.done());
    }

    void failureEndsThatTaskOnly()
    {
        QObject context;
        int after = 0;
        Task bad = runLater(&context, [] { throw std::runtime_error("broken build"); });
        Task good = runLater(&context, [&] { ++after; });
        bool timerFired = false;
        QTimer::singleShot(0, &context, [&] { timerFired = true; });
        QTRY_VERIFY(good.done());
        QVERIFY(bad.done());
        QVERIFY(bad.failed());
        QCOMPARE(bad.error(), QString("broken build"));
        QCOMPARE(after, 1);
        QVERIFY(timerFired);
    }

    void tasksRunInOrder()
    {
        QObject context;
        QList<int> order;
        for (int i = 0; i < 5; ++i)
            runLater(&context, [&order, i] { order << i; });
        QTRY_COMPARE(order.size(), 5);
        QCOMPARE(order, QList<int>({0, 1, 2, 3, 4}));
    }

    void taskScheduledByATaskWaitsForTheNextPass()
    {
        QObject context;
        QList<QString> order;
        Task inner;
        runLater(&context, [&] {
            order << "a";
            inner = runLater(&context, [&] { order << "b"; });
        });
        runLater(&context, [&] { order << "c"; });
        QTRY_COMPARE(order.size(), 3);
        QCOMPARE(order, QList<QString>({"a", "c", "b"}));
        QVERIFY(inner.done());
    }

    void contextDestroyedByAnEarlierTaskOfThePass()
    {
        // Both tasks are due on the same pass; the first deletes the second's context.
        auto *doomed = new QObject;
        QObject context;
        int runs = 0;
        runLater(&context, [&] { delete doomed; });
        Task late = runLater(doomed, [&] { ++runs; });
        Task after = runLater(&context, [&] { ++runs; });
        QTRY_VERIFY(after.done());
        QCOMPARE(runs, 1);
        QVERIFY(!late.done());
    }

    void nestedEventLoopRunsTheRestInOrder()
    {
        QObject context;
        QList<QString> order;
        runLater(&context, [&] {
            order << "a";
            // As a modal dialog would, until the user closes it: here, until
            // the rest has run (slices may take more than one pass).
            const QDeadlineTimer closed(5000);
            while (!order.contains("c") && !closed.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            order << "a done";
        });
        runLater(&context, [&] { order << "b"; });
        runLater(&context, [&] { order << "c"; });
        QTRY_COMPARE(order.size(), 4);
        QCOMPARE(order, QList<QString>({"a", "b", "c", "a done"}));
    }

    void workerThreadContextRunsOnItsThread()
    {
        QThread worker;
        worker.start();
        QObject context;
        context.moveToThread(&worker);
        std::atomic<QThread *> ranOn = nullptr;
        Task t = runLater(&context, [&] { ranOn = QThread::currentThread(); });
        QTRY_VERIFY(ranOn.load());
        QCOMPARE(ranOn.load(), &worker);
        // Back to this thread; the blocking call also orders the task's end before the check.
        QMetaObject::invokeMethod(&context, [&] { context.moveToThread(qApp->thread()); }, Qt::BlockingQueuedConnection);
        QVERIFY(t.done() && !t.failed());
        worker.quit();
        worker.wait();
    }

    void invalidHandle()
    {
        Task t;
        QVERIFY(!t.isValid());
        QVERIFY(!t.done());
        t.cancel();
        QVERIFY(!t.done());
    }
};

QTEST_MAIN(tst_Tasks)
#include "tst_tasks.moc"
