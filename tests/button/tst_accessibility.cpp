// What keyboard and screen-reader users get from every widget: the Tab
// order over a form of all of them, the keys that operate them, the roles,
// names and states assistive tools read through QAccessible, and the
// leading edge in a right-to-left layout. (Without an assistive tool
// attached, Qt delivers no accessibility events, so most tests read what a
// tool would query; the events are heard with Qt's platform accessibility
// switched on through its private API, as Qt's own tests do.)

#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/state.h>
#include <tessera/kit/typography.h>
#include <tessera/material/button/busy_trigger.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/chip_stack.h>
#include <tessera/material/textfield/field_shell.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/stepper_field.h>

#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QVBoxLayout>

#ifdef TESSERA_HAVE_QT_GUI_PRIVATE
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

#include <QScopeGuard>

#include <functional>
#include <memory>

using namespace tessera;

namespace {

class Field : public FieldShell
{
public:
    explicit Field(Options options) : FieldShell(std::move(options))
    {
        _init_ui();
        _show_label();
    }

protected:
    void slot_set_stylesheet() override {}
};

// Builds the widget to ask about inside \a form (which owns it).
using Builder = std::function<QWidget *(QWidget *form)>;

template<typename W>
W *placed(QWidget *form, W *widget)
{
    form->layout()->addWidget(widget);
    return widget;
}

QWidget *editorInField(QWidget *form, bool hiddenLabel, QWidget *editor, QWidget *inside = nullptr)
{
    placed(form, new Field({.label = QStringLiteral("Name"), .hiddenLabel = hiddenLabel,
                            .children = QList<QWidget *>{inside ? inside : editor}}));
    return editor;
}

QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// What an assistive tool hears about one object while listening() lasts:
// "name" for a new name, "busy" for a change of the busy state.
QObject *heardObject = nullptr;
QStringList heard;

void hear(QAccessibleEvent *event)
{
    if (!heardObject || event->object() != heardObject)
        return;
    if (event->type() == QAccessible::NameChanged)
        heard << QStringLiteral("name");
    else if (event->type() == QAccessible::StateChanged && static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().busy)
        heard << QStringLiteral("busy");
    else
        heard << QStringLiteral("event 0x%1").arg(int(event->type()), 0, 16);
}

using Change = std::function<void(BusyTrigger *trigger, State *text, State *loading)>;

} // namespace

Q_DECLARE_METATYPE(Builder)
Q_DECLARE_METATYPE(Change)

class tst_Accessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        i18n()->setLanguage(QStringLiteral("en"));
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        testsupport::drainEvents();
    }

    void roleAndName_data()
    {
        QTest::addColumn<Builder>("build");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");

        QTest::newRow("Button: text") << Builder([](QWidget *f) {
            return placed(f, new Button({.kwargs = {{"text", "Save"}}}));
        }) << QAccessible::Button << "Save";
        QTest::newRow("OrbAction: icon's name") << Builder([](QWidget *f) {
            return placed(f, new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg")}));
        }) << QAccessible::Button << "Add";
        QTest::newRow("OrbAction: text over icon") << Builder([](QWidget *f) {
            return placed(f, new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg"), .kwargs = {{"text", "New"}}}));
        }) << QAccessible::Button << "New";
        QTest::newRow("OrbAction: accessibleName option") << Builder([](QWidget *f) {
            return placed(f, new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg"),
                                            .kwargs = {{"accessibleName", "Add contact"}}}));
        }) << QAccessible::Button << "Add contact";
        QTest::newRow("OrbAction: application's name") << Builder([](QWidget *f) {
            auto *orb = placed(f, new OrbAction({.icon = QStringLiteral("eos-icons:loading")}));
            orb->setAccessibleName(QStringLiteral("Syncing"));
            return orb;
        }) << QAccessible::Button << "Syncing";
        QTest::newRow("OrbAction: unknown icon") << Builder([](QWidget *f) {
            return placed(f, new OrbAction({.icon = QStringLiteral(":/icons/nowhere/star.svg")}));
        }) << QAccessible::Button << "";
        QTest::newRow("PopupTrigger: icon only") << Builder([](QWidget *f) {
            return placed(f, new PopupTrigger());
        }) << QAccessible::Button << "More options";
        QTest::newRow("PopupTrigger: text") << Builder([](QWidget *f) {
            return placed(f, new PopupTrigger({.kwargs = {{"text", "Sort by"}}}));
        }) << QAccessible::Button << "Sort by";
        QTest::newRow("BusyTrigger: label") << Builder([](QWidget *f) {
            return placed(f, new BusyTrigger({.kwargs = {{"text", "Saving"}}}));
        }) << QAccessible::Button << "Saving";
        QTest::newRow("BusyTrigger: loading indicator") << Builder([](QWidget *f) {
            return placed(f, new BusyTrigger({.loadingIndicator = QVariant(QStringLiteral("Loading..."))}));
        }) << QAccessible::Button << "Loading...";
        QTest::newRow("FieldShell: title") << Builder([](QWidget *f) {
            return placed(f, new Field({.label = QStringLiteral("Name"), .children = QList<QWidget *>{new QLineEdit}}));
        }) << QAccessible::Grouping << "Name";
        QTest::newRow("FieldShell: hidden label") << Builder([](QWidget *f) {
            return placed(f, new Field({.label = QStringLiteral("Name"), .hiddenLabel = true,
                                        .children = QList<QWidget *>{new QLineEdit}}));
        }) << QAccessible::Grouping << "Name";
        QTest::newRow("line edit in a field") << Builder([](QWidget *f) {
            return editorInField(f, false, new QLineEdit);
        }) << QAccessible::EditableText << "Name";
        QTest::newRow("line edit in a field, label hidden") << Builder([](QWidget *f) {
            return editorInField(f, true, new QLineEdit);
        }) << QAccessible::EditableText << "Name";
        QTest::newRow("spin box in a container in a field") << Builder([](QWidget *f) {
            auto *box = new QWidget;
            auto *spin = new QSpinBox(box);
            editorInField(f, false, spin, box);
            return spin;
        }) << QAccessible::SpinBox << "Name";
        QTest::newRow("editor added to a field later") << Builder([](QWidget *f) {
            auto *field = placed(f, new Field({.label = QStringLiteral("Name"), .children = QList<QWidget *>{}}));
            auto *edit = new QLineEdit;
            field->layout()->addWidget(edit);
            return edit;
        }) << QAccessible::EditableText << "Name";
        QTest::newRow("check box in a field keeps its text") << Builder([](QWidget *f) {
            return editorInField(f, false, new QCheckBox(QStringLiteral("Remember me")));
        }) << QAccessible::CheckBox << "Remember me";
        QTest::newRow("StepperField in a field") << Builder([](QWidget *f) {
            return editorInField(f, false, new StepperField());
        }) << QAccessible::SpinBox << "Name";
        QTest::newRow("KnobField in a field, label hidden") << Builder([](QWidget *f) {
            return editorInField(f, true, new KnobField());
        }) << QAccessible::Dial << "Name";
        QTest::newRow("CalendarField in a field") << Builder([](QWidget *f) {
            return editorInField(f, false, new CalendarField());
        }) << QAccessible::SpinBox << "Name";
        QTest::newRow("ChipStack") << Builder([](QWidget *f) {
            return placed(f, new ChipStack({.content = new State(QVariant(), f)}));
        }) << QAccessible::List << "";
        QTest::newRow("Typography") << Builder([](QWidget *f) {
            return placed(f, new Typography({.text = QVariant(QStringLiteral("Settings"))}));
        }) << QAccessible::StaticText << "Settings";
    }

    void roleAndName()
    {
        QFETCH(Builder, build);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QWidget form;
        new QVBoxLayout(&form);
        QWidget *widget = build(&form);
        form.show();
        testsupport::drainEvents();

        QAccessibleInterface *iface = accessible(widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
    }

    // The names follow the label State and the language switch.
    void namesFollowLabelAndLanguage()
    {
        QWidget form;
        new QVBoxLayout(&form);
        State label(QVariant::fromValue(deferredTr("tessera::Theme", "Light")));
        auto *edit = new QLineEdit;
        auto *field = placed(&form, new Field({.label = &label, .hiddenLabel = true, .children = QList<QWidget *>{edit}}));
        auto *orb = placed(&form, new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg")}));
        State busyText(QStringLiteral("Saving"));
        auto *busy = placed(&form, new BusyTrigger({.kwargs = {{"text", QVariant::fromValue(&busyText)}}}));
        const auto names = [&] {
            return QStringList{accessible(field)->text(QAccessible::Name), accessible(edit)->text(QAccessible::Name),
                               accessible(orb)->text(QAccessible::Name), accessible(busy)->text(QAccessible::Name)};
        };
        QCOMPARE(names(), QStringList({"Light", "Light", "Add", "Saving"}));

        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(names(), QStringList({"Hell", "Hell", "Hinzufügen", "Saving"}));

        label.setValue(QStringLiteral("Theme"));
        busyText.setValue(QStringLiteral("Sichern"));
        QCOMPARE(names(), QStringList({"Theme", "Theme", "Hinzufügen", "Sichern"}));
        QCOMPARE(field->title(), QString());   // the label stays hidden
    }

    void busyTriggerReportsLoading()
    {
        State loading(false);
        BusyTrigger trigger({.loading = &loading, .kwargs = {{"text", "Saving"}}});
        trigger.show();
        QAccessibleInterface *iface = accessible(&trigger);
        QVERIFY(!iface->state().busy);
        QVERIFY(!iface->state().focusable);

        loading.setValue(true);
        QVERIFY(iface->state().busy);
        loading.setValue(false);
        QVERIFY(!iface->state().busy);
    }

    // Screen readers are told when the trigger's name changes (its label
    // follows a State, the language or the text property) and when it turns
    // busy, with the events Qt's own widgets send.
    void busyTriggerAnnouncesChanges_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("label State") << Change([](BusyTrigger *, State *text, State *) {
            text->setValue(QStringLiteral("Sichern"));
        }) << QStringList{"name"};
        QTest::newRow("language") << Change([](BusyTrigger *, State *, State *) {
            i18n()->setLanguage(QStringLiteral("de"));
        }) << QStringList{"name"};
        QTest::newRow("text property") << Change([](BusyTrigger *trigger, State *, State *) {
            trigger->setText(QStringLiteral("Upload"));
        }) << QStringList{"name"};
        QTest::newRow("same label") << Change([](BusyTrigger *, State *text, State *) {
            text->setValue(QVariant::fromValue(deferredTr("tessera::Theme", "Light")));
        }) << QStringList{};
        QTest::newRow("loading State") << Change([](BusyTrigger *, State *, State *loading) {
            loading->setValue(true);
            loading->setValue(false);
        }) << QStringList{"busy", "busy"};
        QTest::newRow("loading property") << Change([](BusyTrigger *trigger, State *, State *) {
            trigger->setLoading(true);
            trigger->setLoading(true);
        }) << QStringList{"busy"};
        // Qt announces the application's name; the label no longer names the trigger.
        QTest::newRow("application's name") << Change([](BusyTrigger *trigger, State *text, State *) {
            trigger->setAccessibleName(QStringLiteral("Save the draft"));
            text->setValue(QStringLiteral("Sichern"));
        }) << QStringList{"name"};
    }

    void busyTriggerAnnouncesChanges()
    {
#ifndef TESSERA_HAVE_QT_GUI_PRIVATE
        QSKIP("Qt's private headers (qt6-base-private-dev) are needed to switch Qt's accessibility on");
#else
        QFETCH(Change, change);
        QFETCH(QStringList, expected);
        QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        QAccessible::installUpdateHandler(hear);
        platform->setActive(true);
        const auto stop = qScopeGuard([platform] {
            platform->setActive(false);
            QAccessible::installUpdateHandler(nullptr);
            heardObject = nullptr;
        });

        QWidget form;
        new QVBoxLayout(&form);
        State text(QVariant::fromValue(deferredTr("tessera::Theme", "Light")));
        State loading(false);
        auto *trigger = placed(&form, new BusyTrigger({.loading = &loading, .kwargs = {{"text", QVariant::fromValue(&text)}}}));
        form.show();
        testsupport::drainEvents();
        heardObject = trigger;
        heard.clear();

        change(trigger, &text, &loading);
        QCOMPARE(heard, expected);
#endif
    }

    void chipStackListsItsChips()
    {
        auto *a = new QLabel(QStringLiteral("a"));
        auto *b = new QLabel(QStringLiteral("b"));
        State chips(widgetListValue({a, b}));
        ChipStack stack({.content = &chips});
        QAccessibleInterface *iface = accessible(&stack);
        QCOMPARE(iface->childCount(), 2);
        QCOMPARE(iface->child(1)->object(), b);
        QCOMPARE(iface->indexOfChild(accessible(a)), 0);
        QCOMPARE(accessible(a)->parent()->object(), &stack);

        auto *c = new QLabel(QStringLiteral("c"));
        chips.setValue(widgetListValue({c}));
        QCOMPARE(iface->childCount(), 1);
        QCOMPARE(iface->child(0)->object(), c);
    }

    // Tab visits every interactive widget once, in the order of the form;
    // the frames (field, busy trigger, chip stack) take no focus.
    void tabWalk()
    {
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        auto *edit = new QLineEdit;
        auto *chip = new QLineEdit;
        State chips(widgetListValue({chip}));
        const QList<QWidget *> stops{
            edit,
            new KnobField(),
            new StepperField(),
            new CalendarField(),
            new Button({.kwargs = {{"text", "Save"}}}),
            new PopupTrigger(),
            new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg")}),
            chip,
        };
        layout->addWidget(new Field({.label = QStringLiteral("Name"), .children = QList<QWidget *>{edit}}));
        for (QWidget *stop : stops.mid(1, 6))
            layout->addWidget(stop);
        layout->addWidget(new BusyTrigger({.loading = true, .kwargs = {{"text", "Saving"}}}));
        layout->addWidget(new ChipStack({.content = &chips}));
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // The date editor, as QDateEdit does, takes a Tab for each of its
        // sections before it lets the focus go.
        edit->setFocus();
        QList<QWidget *> visited{QApplication::focusWidget()};
        for (int i = 0; i < 30 && (visited.size() == 1 || visited.constLast() != edit); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() != visited.constLast())
                visited.append(QApplication::focusWidget());
        }
        QCOMPARE(visited, stops + QList<QWidget *>{edit});
    }

    // A focused button clicks on Space, Enter and Return; an editor answers
    // the keys of its Qt base.
    void keysOperateWidgets_data()
    {
        QTest::addColumn<Builder>("build");
        QTest::addColumn<int>("key");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");

        const Builder button = [](QWidget *f) { return placed(f, new Button({.kwargs = {{"text", "Save"}}})); };
        const Builder orb = [](QWidget *f) { return placed(f, new OrbAction({.icon = QStringLiteral(":/icons/round/add.svg")})); };
        const Builder popup = [](QWidget *f) { return placed(f, new PopupTrigger()); };   // no menu: a plain button
        for (const auto &[name, build] : {std::pair{"Button", button}, {"OrbAction", orb}, {"PopupTrigger", popup}}) {
            for (const auto &[keyName, key] : {std::pair{"Space", Qt::Key_Space}, {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}})
                QTest::addRow("%s %s", name, keyName) << build << int(key) << QByteArray("clicks") << QVariant(1);
        }
        QTest::newRow("StepperField Up") << Builder([](QWidget *f) { return placed(f, new StepperField()); })
                                         << int(Qt::Key_Up) << QByteArray("value") << QVariant(1);
        QTest::newRow("KnobField PageUp") << Builder([](QWidget *f) { return placed(f, new KnobField()); })
                                          << int(Qt::Key_PageUp) << QByteArray("value") << QVariant(10);
        QTest::newRow("CalendarField Up") << Builder([](QWidget *f) {
            auto *date = placed(f, new CalendarField());
            date->setDate(QDate(2026, 12, 8));
            date->setCurrentSection(QDateTimeEdit::DaySection);
            return date;
        }) << int(Qt::Key_Up) << QByteArray("date") << QVariant(QDate(2026, 12, 9));
    }

    void keysOperateWidgets()
    {
        QFETCH(Builder, build);
        QFETCH(int, key);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        QWidget form;
        new QVBoxLayout(&form);
        QWidget *widget = build(&form);
        int clicks = 0;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            connect(button, &QAbstractButton::clicked, &form, [&clicks] { ++clicks; });
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        widget->setFocus();
        QVERIFY(widget->hasFocus());

        QTest::keyClick(widget, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(property == "clicks" ? QVariant(clicks) : widget->property(property), expected);
    }

    // The leading edge is the right one in a right-to-left layout: the busy
    // trigger's "start" icon and the field's title stand there.
    void leadingEdgeInRightToLeft_data()
    {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }

    void leadingEdgeInRightToLeft()
    {
        QFETCH(Qt::LayoutDirection, direction);
        QGuiApplication::setLayoutDirection(direction);
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        auto *busy = new BusyTrigger({.loading = true, .loadingPosition = QStringLiteral("start"),
                                      .kwargs = {{"text", "Saving"}}});
        auto *field = new Field({.label = QStringLiteral("Name"), .children = QList<QWidget *>{new QLineEdit}});
        layout->addWidget(busy);
        layout->addWidget(field);
        form.resize(400, 200);
        form.show();
        testsupport::drainEvents();   // the field's theme sheet places its title
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        const bool rtl = direction == Qt::RightToLeft;
        QCOMPARE(busy->loadingWidget->x() > busy->label->x(), rtl);

        QStyleOptionGroupBox option;
        option.initFrom(field);
        option.text = field->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = field->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, field);
        QVERIFY(title.isValid());
        QCOMPARE(title.center().x() > field->width() / 2, rtl);
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
