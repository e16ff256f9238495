// The editor-field family: KnobField, StepperField and CalendarField share one
// design, so most cases run once per class.

#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/material/textfield/calendar_field_p.h>
#include <tessera/material/textfield/knob_field_p.h>
#include <tessera/material/textfield/stepper_field_p.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QStyleOptionSpinBox>
#include <QTest>

#include <memory>
#include <type_traits>
#include <stdexcept>
#include <type_traits>

using namespace tessera;

namespace {

int g_applied = 0;   // style passes that reached _set_stylesheet, across all test fields

// What a user sees of the editor's own state: its value, a pressed dial, selected text.
QString snapshot(QWidget *w)
{
    QString s;
    if (auto *date = qobject_cast<QDateTimeEdit *>(w))
        s = date->dateTime().toString(Qt::ISODate);
    else if (auto *spin = qobject_cast<QSpinBox *>(w))
        s = QString::number(spin->value());
    else if (auto *slider = qobject_cast<QAbstractSlider *>(w))
        s = QString::number(slider->value()) + (slider->isSliderDown() ? "/down" : "");
    if (auto *edit = w->findChild<QLineEdit *>())
        s += "|" + edit->selectedText();
    return s;
}

// The test's view of one field, whatever its class.
class Probe
{
public:
    virtual ~Probe() = default;
    virtual QWidget *widget() = 0;
    virtual FieldShellBase *shell() = 0;
    virtual Task task() const = 0;
    virtual QString label() const = 0;
    virtual QString variant() const = 0;
    //! Editor snapshots taken each time FieldShellBase reported a state change.
    QStringList seen;
};

// Opens the protected parts of one field class to the tests.
template<typename Field>
class Open : public Field, public Probe
{
public:
    explicit Open(EditorFieldOptions options = {}) : Field(std::move(options)) {}
    using Field::_get_stylesheet;
    //! The class's style memo, in its private data.
    static const LruMemo<QString> &_styleMemo()
    {
        if constexpr (std::is_same_v<Field, KnobField>)
            return KnobFieldPrivate::_styleMemo();
        else if constexpr (std::is_same_v<Field, StepperField>)
            return StepperFieldPrivate::_styleMemo();
        else
            return CalendarFieldPrivate::_styleMemo();
    }

    QWidget *widget() override { return this; }
    FieldShellBase *shell() override { return this; }
    Task task() const override { return this->styleTask(); }
    QString label() const override { return this->labelOption().value_or("<none>"); }
    QString variant() const override { return Field::variant(); }

protected:
    void fieldStateChanged(QWidget *field) override { seen << snapshot(field); }
    void _set_stylesheet(const StyleMap &styles) override
    {
        ++g_applied;
        Field::_set_stylesheet(styles);
    }
};

// A subclass as an application would write it.
class FancyKnob : public KnobField
{
    Q_OBJECT
public:
    using KnobField::KnobField;
};

template<typename Fn>
auto withClass(const QString &cls, Fn &&fn)
{
    if (cls == u"KnobField")
        return fn(std::type_identity<Open<KnobField>>{});
    if (cls == u"StepperField")
        return fn(std::type_identity<Open<StepperField>>{});
    return fn(std::type_identity<Open<CalendarField>>{});
}

std::unique_ptr<Probe> make(const QString &cls, EditorFieldOptions options = {})
{
    return withClass(cls, [&](auto t) -> std::unique_ptr<Probe> {
        return std::make_unique<typename decltype(t)::type>(std::move(options));
    });
}

int builds(const QString &cls)
{
    return withClass(cls, [](auto t) { return decltype(t)::type::_styleMemo().builds(); });
}

QString getStylesheet(const QString &cls, const QString &variant, const QString &size)
{
    return withClass(cls, [&](auto t) { return decltype(t)::type::_get_stylesheet(variant, size, useTheme()->palette().mode); });
}

const QStringList classes{"KnobField", "StepperField", "CalendarField"};

// A copy of \a base whose three editor entries have \a root as their root style.
QString themeWithRoot(const QString &base, const StyleMap &root)
{
    return testsupport::registerVariant(base, [&](StyleMap &data) {
        for (const QString &cls : classes) {
            testsupport::setPath(data, "components." + cls + ".styles.root", root);
            data.removePath(QString("components." + cls + ".styles.focus"));
        }
    });
}

// The sheet of one rule for the root style, and a second one for the focus style when there is one.
QString expectedSheet(const QString &name, const QString &variant, const QString &rootQss, const QString &focusQss = {})
{
    const auto rule = [&](const QString &state, const QString &qss) {
        return "\n" + QString(16, ' ') + "#" + name + "[variant=" + variant + "]" + state + " {\n" + QString(20, ' ') + qss
               + "\n" + QString(16, ' ') + "}";
    };
    return rule("", rootQss) + (focusQss.isEmpty() ? QString() : rule(":focus", focusQss)) + "\n" + QString(12, ' ');
}

QString focusQssOf(const QString &cls)
{
    return get_qss_style(useTheme()->components().findPath(QString(cls + ".styles.focus")));
}

void addClassRows()
{
    QTest::addColumn<QString>("cls");
    for (const QString &cls : classes)
        QTest::newRow(qPrintable(cls)) << cls;
}

QString optionErrorOf(const QString &path, const QVariantMap &options)
{
    try {
        delete create(path, options);
    } catch (const OptionError &e) {
        return e.option();
    }
    return {};
}

} // namespace

class tst_EditorFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
        QTest::failOnWarning(QRegularExpression("Could not parse"));
    }

    void constructsWithoutStylingAndKeepsOptionsInert_data() { addClassRows(); }
    void constructsWithoutStylingAndKeepsOptionsInert()
    {
        QFETCH(QString, cls);
        QWidget parent;
        int changes = 0;
        auto p = make(cls, {.parent = &parent, .label = "Volume", .onChange = [&](const QVariant &) { ++changes; }});
        auto q = make(cls);
        QWidget *w = p->widget();
        QVERIFY(testsupport::isUuidText(w->objectName()));
        QVERIFY(w->objectName() != q->widget()->objectName());
        QCOMPARE(w->parentWidget(), nullptr);
        QCOMPARE(p->label(), QString("Volume"));
        QCOMPARE(q->label(), QString("<none>"));
        QCOMPARE(p->variant(), QString("outlined"));
        QVERIFY(w->styleSheet().isEmpty());   // nothing inside the constructor
        testsupport::drainEvents();
        QCOMPARE(w->property("variant").toString(), QString("outlined"));

        // The label shows nowhere and onChange is connected to nothing.
        QCOMPARE(w->findChildren<QWidget *>().size(), q->widget()->findChildren<QWidget *>().size());
        QVERIFY(w->windowTitle().isEmpty() && w->toolTip().isEmpty() && w->accessibleName().isEmpty());
        QCOMPARE(w->styleSheet(), q->widget()->styleSheet().replace(q->widget()->objectName(), w->objectName()));
        if (auto *slider = qobject_cast<QAbstractSlider *>(w))
            slider->setValue(40);
        else
            qobject_cast<QAbstractSpinBox *>(w)->stepUp();
        QVERIFY(snapshot(w) != snapshot(q->widget()));
        QCOMPARE(changes, 0);
    }

    void childrenRow_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<int>("count");   // -1: no children option
        for (const QString &cls : classes) {
            for (int count : {-1, 0, 2})
                QTest::addRow("%s %d", qPrintable(cls), count) << cls << count;
        }
    }
    void childrenRow()
    {
        QFETCH(QString, cls);
        QFETCH(int, count);
        EditorFieldOptions options;
        QList<QWidget *> children;
        for (int i = 0; i < count; ++i)
            children << new QLabel(QString::number(i));
        if (count >= 0)
            options.children = children;
        auto p = make(cls, std::move(options));
        QWidget *w = p->widget();
        auto *row = qobject_cast<QHBoxLayout *>(w->layout());
        QCOMPARE(row != nullptr, count >= 0);
        if (!row)
            return;
        QCOMPARE(row->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(row->count(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(row->itemAt(i)->widget(), children[i]);
            QCOMPARE(row->stretch(i), 0);
            QCOMPARE(children[i]->parentWidget(), w);
        }
    }

    // A null child is refused naming "children", before anything is built.
    void nullChildIsRefused_data() { addClassRows(); }
    void nullChildIsRefused()
    {
        QFETCH(QString, cls);
        auto *chip = new QLabel("kg");
        const qsizetype widgets = QApplication::allWidgets().size();
        try {
            make(cls, {.children = QList<QWidget *>{chip, nullptr}});
            QFAIL("a null child was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QString("children"));
        }
        QCOMPARE(QApplication::allWidgets().size(), widgets);
        QCOMPARE(chip->parentWidget(), nullptr);
        delete chip;
    }

    // The fields follow the theme (and no State): a child that switches the
    // theme and the language from its destructor reaches nothing of them.
    void childSwitchingThemeDuringTeardown_data() { addClassRows(); }
    void childSwitchingThemeDuringTeardown()
    {
        QFETCH(QString, cls);
        auto *late = new testsupport::LateSetter({});
        late->also = [] {
            setTheme("dark");
            i18n()->setLanguage("de");
        };
        const int applied = g_applied;
        auto p = make(cls, {.children = QList<QWidget *>{late}});
        p.reset();
        testsupport::drainEvents();
        QCOMPARE(g_applied, applied);
        QCOMPARE(useTheme()->name(), QString("dark"));   // the child did switch it
        i18n()->setLanguage("en");
    }

    void exactSheet_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("sxKind");
        QTest::addColumn<QString>("tail");   // "@" stands for the object name
        for (const QString &c : classes) {
            const QByteArray n = c.toLatin1();
            QTest::addRow("%s none", n.data()) << c << "outlined" << "none" << "";
            QTest::addRow("%s empty text", n.data()) << c << "outlined" << "empty text" << "";
            QTest::addRow("%s empty map", n.data()) << c << "outlined" << "empty map" << "";
            QTest::addRow("%s fn number", n.data()) << c << "outlined" << "fn number" << "";
            QTest::addRow("%s text", n.data()) << c << "filled" << "text" << "QToolTip { color: red; }";
            QTest::addRow("%s map", n.data()) << c << "outlined" << "map" << "#@ { margin-top: 3px; }";
            QTest::addRow("%s fn map", n.data()) << c << "standard" << "fn map" << "#@ { color: red; }";
            QTest::addRow("%s fn text", n.data()) << c << "outlined" << "fn text" << "QToolTip { color: blue; }";
        }
    }
    void exactSheet()
    {
        QFETCH(QString, cls);
        QFETCH(QString, variant);
        QFETCH(QString, sxKind);
        QFETCH(QString, tail);
        const QHash<QString, Sx> forms{{"none", Sx()},
                                       {"empty text", Sx("")},
                                       {"empty map", Sx(StyleMap())},
                                       {"fn number", Sx(Sx::Function([] { return QVariant(42); }))},
                                       {"text", Sx("QToolTip { color: red; }")},
                                       {"map", Sx(StyleMap{{"marginTop", 3}})},
                                       {"fn map", Sx(Sx::Function([] { return QVariant(StyleMap{{"color", "red"}}); }))},
                                       {"fn text", Sx(Sx::Function([] { return QVariant(QString("QToolTip { color: blue; }")); }))}};
        const StyleMap root{{"color", "#102030"}, {"borderWidth", 2}};
        setTheme(themeWithRoot("light", root));
        auto p = make(cls, {.sx = forms.value(sxKind), .variant = variant});
        QWidget *w = p->widget();
        w->show();
        testsupport::drainEvents();
        const QString name = w->objectName();
        const QString expected = expectedSheet(name, variant, get_qss_style(root)) + QString(tail).replace("@", name);
        QCOMPARE(testsupport::lines(w->styleSheet()), testsupport::lines(expected));
        QCOMPARE(w->property("variant").toString(), variant);
        QCOMPARE(get_qss_style(root), QString("color: #102030; border-width: 2px;"));
    }

    // The built-in themes give each editor a keyboard focus look of at least 2px, in a rule of its own.
    void focusLookFromTheTheme_data() { addClassRows(); }
    void focusLookFromTheTheme()
    {
        QFETCH(QString, cls);
        for (const char *theme : {"light", "dark"}) {
            setTheme(theme);
            // A variant of its own, so the memo entries of other tests are not touched.
            auto p = make(cls, {.variant = "ring"});
            QWidget *w = p->widget();
            w->show();
            testsupport::drainEvents();
            const QString focus = focusQssOf(cls);
            QVERIFY(focus.contains("border-color: "));
            QCOMPARE(w->styleSheet(),
                     expectedSheet(w->objectName(), "ring", get_qss_style(useTheme()->components().findPath(QString(cls + ".styles.root"))),
                                   focus));
        }
        setTheme("light");
    }

    void memoSharedByInstancesAndKeyedByTheme_data() { addClassRows(); }
    void memoSharedByInstancesAndKeyedByTheme()
    {
        QFETCH(QString, cls);
        const QString first = themeWithRoot("light", StyleMap{{"color", "#111111"}});
        const QString second = themeWithRoot("light", StyleMap{{"color", "#222222"}});
        setTheme(first);
        int count = builds(cls);
        auto p = make(cls);
        auto other = make(cls);
        auto large = make(cls, {.size = "large"});
        QWidget *w = p->widget();
        testsupport::drainEvents();
        QCOMPARE(builds(cls), count += 2);   // one render for both "medium" instances, one for "large"
        QVERIFY(w->styleSheet().contains("#" + w->objectName() + "[variant=outlined]"));
        QVERIFY(!w->styleSheet().contains(other->widget()->objectName()));
        QCOMPARE(large->widget()->styleSheet().replace(large->widget()->objectName(), "N"),
                 other->widget()->styleSheet().replace(other->widget()->objectName(), "N"));

        // The same theme again: applied again, from the memo, never inside the signal.
        w->setStyleSheet(QString());
        setTheme(first);
        QVERIFY(w->styleSheet().isEmpty());
        testsupport::drainEvents();
        QVERIFY(w->styleSheet().contains("#111111"));
        QCOMPARE(builds(cls), count);

        // Another theme of the same palette mode: rendered anew with its colours.
        setTheme(second);
        testsupport::drainEvents();
        QCOMPARE(useTheme()->palette().mode, QString("light"));
        QVERIFY(w->styleSheet().contains("#222222") && !w->styleSheet().contains("#111111"));
        QCOMPARE(builds(cls), count += 2);

        // Back to the first: still memoised. Then another mode: rendered anew.
        setTheme(first);
        testsupport::drainEvents();
        QVERIFY(w->styleSheet().contains("#111111"));
        QCOMPARE(builds(cls), count);
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(!w->styleSheet().contains("#111111"));
        QCOMPARE(builds(cls), count + 2);
    }

    void memoDropsLeastRecentlyUsed_data() { addClassRows(); }
    void memoDropsLeastRecentlyUsed()
    {
        QFETCH(QString, cls);
        const QString other = cls == u"KnobField" ? "StepperField" : "KnobField";
        getStylesheet(other, "kept", "medium");
        const int otherBuilds = builds(other);

        const int start = builds(cls);
        for (int i = 0; i < 128; ++i)
            getStylesheet(cls, QString("v%1").arg(i), "medium");
        QCOMPARE(builds(cls), start + 128);
        getStylesheet(cls, "v0", "medium");                // v0 becomes the most recent, v1 the least
        getStylesheet(cls, "v128", "medium");              // the 129th key drops v1
        QCOMPARE(builds(cls), start + 129);
        getStylesheet(cls, "v0", "medium");
        getStylesheet(cls, "v2", "medium");
        QCOMPARE(builds(cls), start + 129);
        QCOMPARE(getStylesheet(cls, "v1", "medium").count("[variant=v1] {"), 1);
        QCOMPARE(builds(cls), start + 130);

        // Each class has its own memo.
        getStylesheet(other, "kept", "medium");
        QCOMPARE(builds(other), otherBuilds);
    }

    void subclassReadsItsBaseClassEntry()
    {
        setTheme(testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "components.KnobField.styles.root", StyleMap{{"color", "#0a0b0c"}});
            testsupport::setPath(data, "components.FancyKnob.styles.root", StyleMap{{"color", "#fafafa"}});
        }));
        FancyKnob knob;
        testsupport::drainEvents();
        QCOMPARE(knob.metaObject()->className(), "FancyKnob");
        QVERIFY(knob.styleSheet().contains("color: #0a0b0c;"));
        QVERIFY(!knob.styleSheet().contains("#fafafa"));
    }

    void everyPlaceholderIsReplaced_data() { addClassRows(); }
    void everyPlaceholderIsReplaced()
    {
        QFETCH(QString, cls);
        const QString placeholder = ObjectNamePlaceholder.toString();
        setTheme(themeWithRoot("light", StyleMap{{"borderImage", "url(:/img/" + placeholder + ".png)"}}));
        QCOMPARE(getStylesheet(cls, "outlined", "medium").count(placeholder), 2);
        auto p = make(cls);
        testsupport::drainEvents();
        const QString sheet = p->widget()->styleSheet();
        QVERIFY(!sheet.contains(placeholder));
        QVERIFY(sheet.contains("url(:/img/" + p->widget()->objectName() + ".png)"));
        QCOMPARE(sheet.count(p->widget()->objectName()), 2);
    }

    void destroyedFieldIsNeverStyled_data() { addClassRows(); }
    void destroyedFieldIsNeverStyled()
    {
        QFETCH(QString, cls);
        const int applied = g_applied;
        make(cls).reset();   // before the timer fired

        auto p = make(cls);   // after the timer fired, before the task ran
        testsupport::runTimerHop();
        const Task pending = p->task();
        QVERIFY(pending.isValid() && !pending.done());
        p.reset();
        QVERIFY(pending.cancelled());

        auto q = make(cls);   // deleted later while a theme switch is queued
        QPointer<QWidget> guard(q->widget());
        setTheme("dark");
        q.release()->widget()->deleteLater();
        testsupport::drainEvents();
        QVERIFY(!guard);
        QCOMPARE(g_applied, applied);
    }

    void brokenThemeKeepsSheetUntilTheNextGoodOne_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<bool>("fails");
        for (const QString &c : classes) {
            const QByteArray n = c.toLatin1();
            QTest::addRow("%s component", n.data()) << c << "components." + c << true;
            QTest::addRow("%s styles", n.data()) << c << "components." + c + ".styles" << true;
            QTest::addRow("%s root", n.data()) << c << "components." + c + ".styles.root" << false;
        }
    }
    void brokenThemeKeepsSheetUntilTheNextGoodOne()
    {
        QFETCH(QString, cls);
        QFETCH(QString, removed);
        QFETCH(bool, fails);
        const QString broken = testsupport::registerWithout("light", removed);

        // Never styled before: stays unstyled (or styled without a root), and the loop goes on.
        setTheme(broken);
        auto p = make(cls, {.variant = "filled"});
        QWidget *w = p->widget();
        const int count = builds(cls);
        testsupport::drainEvents();
        QCOMPARE(p->task().failed(), fails);
        QCOMPARE(w->property("variant").toString(), QString("filled"));
        QCOMPARE(w->styleSheet(), fails ? QString() : expectedSheet(w->objectName(), "filled", "", focusQssOf(cls)));
        QCOMPARE(builds(cls), count + !fails);

        // The next good theme styles it; a broken one then leaves that sheet alone.
        setTheme("light");
        testsupport::drainEvents();
        const QString good = w->styleSheet();
        QVERIFY(!p->task().failed() && good.contains("color: "));
        setTheme(broken);
        testsupport::drainEvents();
        QCOMPARE(w->styleSheet() == good, fails);
    }

    void failingSxEndsThePass()
    {
        Open<StepperField> field({.sx = Sx::Function([]() -> QVariant { throw std::runtime_error("sx failed"); })});
        testsupport::drainEvents();
        QVERIFY(field.task().failed());
        QVERIFY(field.styleSheet().isEmpty());
        QCOMPARE(field.property("variant").toString(), QString("outlined"));
    }

    void handlersRunFieldShellBaseFirst_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("visible");   // steps whose Qt handler visibly changes the editor
        QTest::newRow("KnobField") << "KnobField" << QStringList{"press", "release"};
        QTest::newRow("StepperField") << "StepperField" << QStringList{"press"};
        QTest::newRow("CalendarField") << "CalendarField" << QStringList{"focusIn", "press"};
    }
    void handlersRunFieldShellBaseFirst()
    {
        QFETCH(QString, cls);
        QFETCH(QStringList, visible);
        auto p = make(cls);
        QWidget *w = p->widget();
        w->resize(120, 120);   // not shown: only the events below reach it
        testsupport::drainEvents();
        QVERIFY(p->seen.isEmpty());

        QPoint at(60, 10);   // the top of the dial
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
            QStyleOptionSpinBox option;
            option.initFrom(spin);
            option.subControls = QStyle::SC_All;
            option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
            option.frame = true;
            at = w->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, w).center();
        }
        const QPointF local(at), global(w->mapToGlobal(local));
        QEnterEvent enter(local, local, global);
        QEvent leave(QEvent::Leave);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        const QList<std::pair<QString, QEvent *>> steps{{"enter", &enter}, {"focusIn", &focusIn}, {"press", &press},
                                                        {"release", &release}, {"focusOut", &focusOut}, {"leave", &leave}};
        // FieldShellBase's hovered, focused and pressed state after each step.
        const QStringList states{"H--", "HF-", "HFP", "HF-", "H--", "---"};
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString before = snapshot(w);
            QCoreApplication::sendEvent(w, steps[i].second);
            QCOMPARE(p->seen.size(), i + 1);
            // FieldShellBase saw the editor as it was before the Qt handler ran...
            QCOMPARE(p->seen.last(), before);
            if (visible.contains(steps[i].first))   // ...and the Qt handler ran after it
                QVERIFY2(snapshot(w) != before, qPrintable(steps[i].first));
            const FieldShellBase *shell = p->shell();
            const QString state = QString(shell->isFieldHovered() ? "H" : "-") + (shell->isFieldFocused() ? "F" : "-")
                                  + (shell->isFieldPressed() ? "P" : "-");
            QCOMPARE(state, states[i]);
        }
    }

    void createConvertsAndChecksOptions_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        const QVariant none;
        for (const char *m : {"knob_field", "stepper_field", "calendar_field"}) {
            const QString path = QString("tessera.material.textfield.") + m;
            QTest::addRow("%s label", m) << path << "label" << QVariant(42);
            QTest::addRow("%s children", m) << path << "children" << QVariant("x");
            QTest::addRow("%s children element", m) << path << "children" << QVariant(QVariantList{1});
            QTest::addRow("%s children null", m) << path << "children" << QVariant::fromValue(QList<QWidget *>{nullptr});
            QTest::addRow("%s variant none", m) << path << "variant" << none;
            QTest::addRow("%s variant number", m) << path << "variant" << QVariant(1);
            QTest::addRow("%s size", m) << path << "size" << QVariant(QVariantList{});
            QTest::addRow("%s sx", m) << path << "sx" << QVariant(7);
            QTest::addRow("%s onChange", m) << path << "onChange" << QVariant("call me");
        }
    }
    void createConvertsAndChecksOptions()
    {
        QFETCH(QString, module);
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        const qsizetype widgets = QApplication::allWidgets().size();
        QCOMPARE(optionErrorOf(module, {{"label", "ok"}, {option, value}}), option);
        QCOMPARE(QApplication::allWidgets().size(), widgets);

        // The same module with good options of every kind, plus an unknown one.
        QWidget parent;
        auto *child = new QLabel("kg");
        const auto handler = EditorFieldOptions::ChangeHandler([](const QVariant &) {});
        std::unique_ptr<QWidget> w(create(module, {{"parent", QVariant::fromValue(&parent)},
                                                   {"label", "Weight"},
                                                   {"onChange", QVariant::fromValue(handler)},
                                                   {"children", QVariantList{QVariant::fromValue<QWidget *>(child)}},
                                                   {"sx", QVariant::fromValue(StyleMap{{"marginLeft", 5}})},
                                                   {"variant", "filled"},
                                                   {"size", "small"},
                                                   {"unknown", 1}}));
        QCOMPARE(moduleClassName(module), QString(w->metaObject()->className()).section("::", -1));
        QCOMPARE(w->parentWidget(), nullptr);
        QCOMPARE(child->parentWidget(), w.get());
        testsupport::drainEvents();
        QVERIFY(w->styleSheet().contains("[variant=filled]"));
        QVERIFY(w->styleSheet().endsWith("#" + w->objectName() + " { margin-left: 5px; }"));
    }

    // The options as a form or a script writes them, on a field built with a parent.
    void properties_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("restyles");
        for (const char *m : {"knob_field", "stepper_field", "calendar_field"}) {
            const QString path = QString("tessera.material.textfield.") + m;
            QTest::addRow("%s variant", m) << path << QByteArray("variant") << "variant" << QVariant("filled") << true;
            QTest::addRow("%s themeSize", m) << path << QByteArray("themeSize") << "size" << QVariant("small") << false;
            QTest::addRow("%s label", m) << path << QByteArray("label") << "label" << QVariant("Weight") << false;
        }
    }
    void properties()
    {
        QFETCH(QString, module);
        QFETCH(QByteArray, property);
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        QFETCH(bool, restyles);
        QWidget form;
        QWidget *w = nullptr;
        if (module.endsWith("knob_field"))
            w = new KnobField(&form);
        else if (module.endsWith("stepper_field"))
            w = new StepperField(&form);
        else
            w = new CalendarField(&form);
        QCOMPARE(w->parentWidget(), &form);
        std::function<QWidget *()> reference;
        if (restyles)
            reference = [&] { return create(module, {{option, value}}); };
        if (!testsupport::checkPropertyWrite(w, property.constData(), value, reference))
            return;
        if (property != "label")
            testsupport::checkRefusedWrite(w, property.constData(), QVariant("a]b"));
    }
};

QTEST_MAIN(tst_EditorFields)
#include "tst_editor_fields.moc"
