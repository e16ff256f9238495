#pragma once

// Checks of the widgets' properties as a .ui file or a script writes them
// (QObject::setProperty), shared by the widget suites' data-driven tests.

#include "testsupport.h"

#include <tessera/kit/options.h>

#include <QMetaProperty>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

namespace testsupport {

/*!
    Writes \a value to property \a name of \a w and checks what a user sees:
    the NOTIFY signal once, the value read back, nothing more for an equal
    second write, and after the event loop is idle the same object, styled:
    when \a reference is given, \a w carries the style sheet of a widget
    built with the option set from the start (object names aside).
    Returns false when a check failed (the test function should return).
*/
inline bool checkPropertyWrite(QWidget *w, const char *name, const QVariant &value,
                               const std::function<QWidget *()> &reference = {})
{
    const QMetaObject *meta = w->metaObject();
    const int index = meta->indexOfProperty(name);
    [&] {
        QVERIFY2(index >= 0, name);
        QVERIFY2(meta->property(index).hasNotifySignal(), name);
    }();
    if (QTest::currentTestFailed())
        return false;
    drainEvents();
    QSignalSpy notified(w, meta->property(index).notifySignal());
    QPointer<QWidget> guard(w);
    [&] {
        QVERIFY(w->setProperty(name, value));
        QCOMPARE(notified.count(), 1);
        QCOMPARE(w->property(name), value);
        QVERIFY(w->setProperty(name, value));
        QCOMPARE(notified.count(), 1);
        drainEvents();
        QVERIFY(guard);
        QCOMPARE(notified.count(), 1);
        if (reference) {
            std::unique_ptr<QWidget> fresh(reference());
            drainEvents();
            QString expected = fresh->styleSheet();
            expected.replace(fresh->objectName(), w->objectName());
            QCOMPARE(lines(w->styleSheet()), lines(expected));
        }
    }();
    return !QTest::currentTestFailed();
}

/*!
    Writes a value the widget refuses: OptionError naming \a name, and neither
    the value nor the style sheet changed, no notification.
*/
inline bool checkRefusedWrite(QWidget *w, const char *name, const QVariant &value)
{
    drainEvents();
    const QVariant before = w->property(name);
    const QString sheet = w->styleSheet();
    const QMetaProperty p = w->metaObject()->property(w->metaObject()->indexOfProperty(name));
    QSignalSpy notified(w, p.notifySignal());
    [&] {
        try {
            w->setProperty(name, value);
            QFAIL(qPrintable(QStringLiteral("%1 took %2").arg(QLatin1String(name), value.toString())));
        } catch (const tessera::OptionError &error) {
            QCOMPARE(error.option(), QString::fromLatin1(name));
        }
        QCOMPARE(w->property(name), before);
        drainEvents();
        QCOMPARE(w->styleSheet(), sheet);
        QCOMPARE(notified.count(), 0);
    }();
    return !QTest::currentTestFailed();
}

} // namespace testsupport
