#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/registry.h>
#include <tessera/material/textfield/chip_stack_p.h>

#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>

using namespace tessera;

namespace {

// Reaches the stored options.
class Stack : public ChipStack
{
public:
    using ChipStack::ChipStack;
    ChipStackPrivate *p() { return ChipStackPrivate::get(this); }
};

// The widgets in the stack, in layout order.
QList<QWidget *> shown(const QWidget *stack)
{
    QList<QWidget *> out;
    for (int i = 0; i < stack->layout()->count(); ++i)
        out.append(stack->layout()->itemAt(i)->widget());
    return out;
}

QLabel *label(const char *text) { return new QLabel(QString::fromLatin1(text)); }

} // namespace

class tst_ChipStack : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testsupport::drainEvents(); }

    void constructionStoresOptionsAndLaysOutFromTheTop()
    {
        State content;
        State hidden(true);
        Stack stack({.hidden = &hidden, .content = &content, .sx = "color: red;"});

        QVERIFY(testsupport::isUuidText(stack.objectName()));
        QVERIFY(!stack.parentWidget());
        auto *layout = qobject_cast<QVBoxLayout *>(stack.layout());
        QVERIFY(layout);
        QCOMPARE(layout->alignment(), Qt::AlignTop);
        QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(layout->count(), 0);
        QCOMPARE(stack.p()->_content.data(), &content);
        QCOMPARE(stack.p()->_hidden.state(), &hidden);
        QVERIFY(stack.p()->_sx.text());
        QCOMPARE(*stack.p()->_sx.text(), QStringLiteral("color: red;"));
        QVERIFY(stack.styleSheet().isEmpty());

        Stack other({.content = &content});
        QVERIFY(other.objectName() != stack.objectName());
        QVERIFY(other.p()->_hidden.isNone());
        QVERIFY(other.p()->_sx.isNone());
    }

    void missingContentIsRefused()
    {
        const int before = int(QApplication::allWidgets().size());
        try {
            ChipStack stack(ChipStack::Options{});
            QFAIL("a ChipStack without content was built");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QStringLiteral("content"));
        }
        QCOMPARE(int(QApplication::allWidgets().size()), before);

        // With only a parent, the stack shows a State of its own.
        QWidget form;
        auto *own = new ChipStack(&form);
        QCOMPARE(own->parentWidget(), &form);
        QVERIFY(own->content());
        QCOMPARE(own->content()->parent(), own);
        QCOMPARE(own->layout()->count(), 0);
        own->content()->setValue(widgetListValue({new QLabel("a"), new QLabel("b")}));
        QCOMPARE(own->layout()->count(), 2);
    }

    void createConvertsNamedOptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("refused");
        QTest::newRow("content missing") << QString() << QVariant() << "content";
        QTest::newRow("content a text") << "content" << QVariant(QStringLiteral("x")) << "content";
        QTest::newRow("hidden a text") << "hidden" << QVariant(QStringLiteral("yes")) << "hidden";
        QTest::newRow("sx a number") << "sx" << QVariant(3) << "sx";
        QTest::newRow("hidden a flag") << "hidden" << QVariant(true) << QString();
        QTest::newRow("further option ignored") << "spacing" << QVariant(4) << QString();
    }

    void createConvertsNamedOptions()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, refused);
        State content(widgetValue(label("a")));
        QVariantMap options;
        if (refused != u"content")
            options.insert(QStringLiteral("content"), QVariant::fromValue(&content));
        if (!name.isEmpty())
            options.insert(name, value);
        if (refused.isEmpty()) {
            std::unique_ptr<QWidget> stack(create(QStringLiteral("tessera.material.textfield.chip_stack"), options));
            QVERIFY(qobject_cast<ChipStack *>(stack.get()));
            QCOMPARE(stack->layout()->count(), 1);
            return;
        }
        try {
            delete create(QStringLiteral("tessera.material.textfield.chip_stack"), options);
            QFAIL("the options were accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), refused);
        }
        delete content.value().value<QPointer<QWidget>>().data();
    }

    void firstValueIsShownByTheConstructor()
    {
        QLabel *a = label("a"), *b = label("b");
        State content(widgetListValue({a, b}));
        ChipStack stack({.content = &content});
        QCOMPARE(shown(&stack), (QList<QWidget *>{a, b}));
        QCOMPARE(a->parentWidget(), &stack);
        QCOMPARE(b->parentWidget(), &stack);
    }

    void valuesThatShowNothing_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("none") << QVariant();
        QTest::newRow("empty list") << widgetListValue({});
        QTest::newRow("empty variant list") << QVariant(QVariantList());
        QTest::newRow("text") << QVariant(QStringLiteral("chip"));
        QTest::newRow("number") << QVariant(7);
        QTest::newRow("mapping") << QVariant(QVariantMap{{QStringLiteral("a"), 1}});
        QTest::newRow("string list") << QVariant(QStringList{QStringLiteral("a")});
        QTest::newRow("null widget") << widgetValue(nullptr);
        QTest::newRow("empty factory") << widgetFactoryValue({});
    }

    void valuesThatShowNothing()
    {
        QFETCH(QVariant, value);
        QPointer<QLabel> old = label("old");
        State content(widgetValue(old));
        ChipStack stack({.content = &content});
        QCOMPARE(shown(&stack), (QList<QWidget *>{old}));

        content.setValue(value);
        QCOMPARE(stack.layout()->count(), 0);
        QVERIFY(old);   // deletion is deferred to the next turn of the loop
        testsupport::drainEvents();
        QVERIFY(!old);
        QCOMPARE(stack.layout()->count(), 0);
    }

    void mixedListShowsWidgetsOnlyInOrder()
    {
        QLabel *a = label("a"), *b = label("b"), *c = label("c"), *d = label("d");
        State other;
        const QVariantList mixed{QVariant::fromValue<QWidget *>(a),
                                 QStringLiteral("text"),
                                 42,
                                 QVariant::fromValue(QPointer<QWidget>(b)),
                                 QVariant::fromValue(&other),
                                 QVariant(),
                                 QVariant::fromValue(c),   // typed as QLabel*
                                 QVariant::fromValue<QObject *>(d)};
        State content(mixed);
        ChipStack stack({.content = &content});
        QCOMPARE(shown(&stack), (QList<QWidget *>{a, b, c, d}));

        QLabel *e = label("e"), *f = label("f");
        content.setValue(QVariant::fromValue(QList<QWidget *>{f, e}));
        QCOMPARE(shown(&stack), (QList<QWidget *>{f, e}));
    }

    void callableIsCalledOncePerRebuild()
    {
        int calls = 0;
        QList<QPointer<QWidget>> made;
        const WidgetFactory factory = [&] {
            ++calls;
            made.append(new QLabel(QString::number(calls)));
            return made.last().data();
        };
        State content(widgetFactoryValue(factory));
        ChipStack stack({.content = &content});
        QCOMPARE(calls, 1);
        QCOMPARE(shown(&stack), (QList<QWidget *>{made[0]}));

        Q_EMIT content.valueChanged(content.value());   // the same callable again
        QCOMPARE(calls, 2);
        QCOMPARE(shown(&stack), (QList<QWidget *>{made[1]}));
        testsupport::drainEvents();
        QVERIFY(!made[0]);
        QVERIFY(made[1]);

        content.setValue(widgetFactoryValue([&]() -> QWidget * {
            ++calls;
            return nullptr;
        }));
        QCOMPARE(calls, 3);
        QCOMPARE(stack.layout()->count(), 0);
    }

    void callableReturningAVariant()
    {
        int calls = 0;
        QLabel *w = label("w");
        State content(QVariant::fromValue(Sx::Function([&] {
            ++calls;
            return QVariant::fromValue(w);
        })));
        ChipStack stack({.content = &content});
        QCOMPARE(calls, 1);
        QCOMPARE(shown(&stack), (QList<QWidget *>{w}));

        content.setValue(QVariant::fromValue(Sx::Function([&] {
            ++calls;
            return QVariant(QStringLiteral("not a widget"));
        })));
        QCOMPARE(calls, 2);
        QCOMPARE(stack.layout()->count(), 0);
    }

    void lineEditMultipleIsKeptAcrossRebuilds()
    {
        auto *edit = new PyLineEditMultiple({.values = {QStringLiteral("qt")}});
        QPointer<QWidget> guard = edit;
        QPointer<QLabel> first = label("first");
        State content(widgetListValue({edit, first}));
        ChipStack stack({.content = &content});
        QCOMPARE(shown(&stack), (QList<QWidget *>{edit, first}));

        QLabel *second = label("second");
        content.setValue(widgetListValue({second, edit}));
        QCOMPARE(shown(&stack), (QList<QWidget *>{second, edit}));
        testsupport::drainEvents();
        QVERIFY(!first);
        QVERIFY(guard);
        QCOMPARE(shown(&stack), (QList<QWidget *>{second, edit}));
        QCOMPARE(edit->values(), QStringList{QStringLiteral("qt")});

        // Not part of the next value: out of the stack, still a child, not hidden.
        QLabel *third = label("third");
        content.setValue(widgetValue(third));
        testsupport::drainEvents();
        QVERIFY(guard);
        QCOMPARE(shown(&stack), (QList<QWidget *>{third}));
        QCOMPARE(stack.layout()->indexOf(edit), -1);
        QCOMPARE(edit->parentWidget(), &stack);
        QVERIFY(!edit->isHidden());

        // A later value shows the same instance again.
        content.setValue(widgetValue(edit));
        QCOMPARE(shown(&stack), (QList<QWidget *>{edit}));
    }

    // A rebuild deletes only the widgets the new value no longer holds; those
    // it still holds are stacked again, the same instances, in the new order.
    void widgetsStillHeldSurviveARebuild()
    {
        QPointer<QLabel> a = label("a"), b = label("b"), c = label("c");
        State content(widgetListValue({a, b}));
        ChipStack stack({.content = &content});

        content.setValue(widgetListValue({a, b, c}));   // one appended
        testsupport::drainEvents();
        QVERIFY(a && b && c);
        QCOMPARE(shown(&stack), (QList<QWidget *>{a, b, c}));

        content.setValue(QVariant::fromValue(QList<QWidget *>{c, a, b}));   // reordered
        testsupport::drainEvents();
        QVERIFY(a && b && c);
        QCOMPARE(shown(&stack), (QList<QWidget *>{c, a, b}));

        content.setValue(widgetListValue({c, b}));   // one removed
        QCOMPARE(shown(&stack), (QList<QWidget *>{c, b}));
        QVERIFY(a);   // deleted once the loop turns
        testsupport::drainEvents();
        QVERIFY(!a);

        Q_EMIT content.valueChanged(content.value());   // the same list again
        testsupport::drainEvents();
        QVERIFY(b && c);
        QCOMPARE(shown(&stack), (QList<QWidget *>{c, b}));

        // Let go and held again before the loop turns: it stays.
        content.setValue(widgetListValue({b}));
        content.setValue(widgetListValue({b, c}));
        testsupport::drainEvents();
        QVERIFY(b && c);
        QCOMPARE(shown(&stack), (QList<QWidget *>{b, c}));
        QCOMPARE(c->parentWidget(), &stack);
        QVERIFY(!c->isHidden());
    }

    // A chip that sets the content State from its destructor, while Qt
    // destroys the frame's children: the frame no longer listens.
    void contentSetByAChipDuringTeardown()
    {
        State content;
        auto *stack = new ChipStack({.content = &content});
        QPointer<QLabel> chip = label("chip");
        auto *late = new testsupport::LateSetter({{&content, QStringLiteral("gone")}});
        content.setValue(widgetListValue({chip, late}));
        QCOMPARE(shown(stack), (QList<QWidget *>{chip, late}));
        delete stack;
        QVERIFY(!chip);
        QCOMPARE(content.value(), QVariant(QStringLiteral("gone")));
    }

    void deletedWidgetsInTheValueAreSkipped_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("WidgetList") << 0;
        QTest::newRow("QList<QWidget*>") << 1;
        QTest::newRow("QVariantList of pointers") << 2;
        QTest::newRow("single plain pointer") << 3;
        QTest::newRow("single guarded pointer") << 4;
    }

    void deletedWidgetsInTheValueAreSkipped()
    {
        QFETCH(int, kind);
        QLabel *gone = label("gone");
        QLabel *alive = label("alive");
        QVariant held;
        switch (kind) {
        case 0: held = widgetListValue({gone, alive}); break;
        case 1: held = QVariant::fromValue(QList<QWidget *>{gone, alive}); break;
        case 2: held = QVariantList{QVariant::fromValue(gone), QVariant::fromValue(alive)}; break;
        case 3: held = QVariant::fromValue(gone); break;
        case 4: held = widgetValue(gone); break;
        }
        State content;
        ChipStack stack({.content = &content});
        alive->setParent(&stack);   // freed with the frame whichever kind is tested
        delete gone;

        content.setValue(held);
        const QList<QWidget *> expected = kind <= 2 ? QList<QWidget *>{alive} : QList<QWidget *>{};
        QCOMPARE(shown(&stack), expected);
    }

    void widgetsTheStackDeletedAreSkippedLater()
    {
        QPointer<QLabel> a = label("a");
        const QVariant original = QVariant::fromValue(QList<QWidget *>{a});
        State content(original);
        ChipStack stack({.content = &content});
        content.setValue(widgetValue(label("b")));
        testsupport::drainEvents();
        QVERIFY(!a);

        content.setValue(original);   // names a widget the stack has deleted
        QCOMPARE(stack.layout()->count(), 0);
    }

    void failedRebuildIsDroppedAndTheNextOneWorks()
    {
        QPointer<QLabel> old = label("old");
        State content(widgetValue(old));
        ChipStack stack({.content = &content});

        content.setValue(widgetFactoryValue([]() -> QWidget * { throw std::runtime_error("no chip"); }));
        QCOMPARE(stack.layout()->count(), 0);   // cleared before the failure
        testsupport::drainEvents();
        QVERIFY(!old);

        QLabel *next = label("next");
        content.setValue(widgetValue(next));
        QCOMPARE(shown(&stack), (QList<QWidget *>{next}));
    }

    void theFrameAndItsAncestorsAreNeverStacked()
    {
        QWidget window;
        auto *outer = new QVBoxLayout(&window);
        State content;
        auto *stack = new ChipStack({.content = &content});
        outer->addWidget(stack);
        QLabel *chip = label("chip");
        content.setValue(QVariantList{QVariant::fromValue<QWidget *>(stack), QVariant::fromValue(&window),
                                      QVariant::fromValue(chip)});
        QCOMPARE(shown(stack), (QList<QWidget *>{chip}));
        QCOMPARE(stack->parentWidget(), &window);
        QVERIFY(!window.parentWidget());
    }

    void noRebuildAfterTheStackIsDestroyed()
    {
        int calls = 0;
        State content;
        auto *stack = new ChipStack({.content = &content});
        QPointer<QLabel> shownChip = label("chip");
        content.setValue(widgetValue(shownChip));
        delete stack;
        QVERIFY(!shownChip);   // children go with the frame

        content.setValue(widgetFactoryValue([&] {
            ++calls;
            return new QLabel;
        }));
        testsupport::drainEvents();
        QCOMPARE(calls, 0);
    }

    void contentStateDeletedFirst()
    {
        auto *content = new State(widgetValue(label("a")));
        Stack stack({.content = content});
        delete content;
        QVERIFY(!stack.p()->_content);
        QCOMPARE(stack.layout()->count(), 1);   // what was shown stays
    }
};

QTEST_MAIN(tst_ChipStack)
#include "tst_chip_stack.moc"
