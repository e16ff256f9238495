#include <tessera/kit/tasks.h>

#include "testsupport.h"

#include <QTest>
#include <QTimer>

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
