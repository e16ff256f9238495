#include <tessera/kit/options.h>
#include <tessera/kit/state.h>

#include <QSignalSpy>
#include <QTest>

using namespace tessera;

class tst_State : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emitsOnlyOnChange()
    {
        State s(1);
        QSignalSpy spy(&s, &State::valueChanged);
        s.setValue(1);
        QCOMPARE(spy.count(), 0);
        s.setValue(2);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0), QVariant(2));
        QCOMPARE(s.value(), QVariant(2));
        s.setValue(QString("2"));   // another kind is a change even if it compares equal
        QCOMPARE(spy.count(), 2);
        s.setValue(QVariant());
        QCOMPARE(spy.count(), 3);
        s.setValue(QVariant());
        QCOMPARE(spy.count(), 3);
    }

    void callableValuesAlwaysCountAsNew()
    {
        State s;
        QSignalSpy spy(&s, &State::valueChanged);
        s.setValue(widgetFactoryValue([] { return nullptr; }));
        s.setValue(widgetFactoryValue([] { return nullptr; }));
        QCOMPARE(spy.count(), 2);
    }

    void stateOrTreatsDeletedStateAsNone()
    {
        auto *s = new State(true);
        StateOr<bool> flag = s;
        QVERIFY(flag.isState());
        QCOMPARE(flag.current(), QVariant(true));
        delete s;
        QVERIFY(flag.isNone());
        QCOMPARE(flag.state(), nullptr);
        QVERIFY(!flag.current().isValid());

        StateOr<bool> plain = false;
        QVERIFY(plain.isPlain());
        QCOMPARE(plain.current(), QVariant(false));
        StateOr<QString> none;
        QVERIFY(none.isNone());
        StateOr<QString> text = "x";
        QCOMPARE(*text.plain(), QString("x"));
    }

    void widgetValuesAreGuarded()
    {
        auto *w = new QWidget;
        const QVariant v = widgetListValue({w});
        delete w;
        const WidgetList list = v.value<WidgetList>();
        QCOMPARE(list.size(), 1);
        QVERIFY(list.first().isNull());
    }
};

QTEST_MAIN(tst_State)
#include "tst_state.moc"
