// Bad input, class by class, through the module registry:
// - every option that has a kind, given a wrong one, is refused with an
//   OptionError naming that option, and no widget is left behind;
// - every theme key path the widgets read, removed in turn: the widgets that
//   read it keep their previous style sheet, every other widget is styled as
//   usual, and the next good theme styles them all again;
// - the module loader refuses unknown, malformed and path-escaping module
//   paths and loads each real module by its path.

#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

using namespace tessera;

namespace {

const QString FieldShellPath = QStringLiteral("tessera.material.textfield.field_shell");
const QString KnobPath = QStringLiteral("tessera.material.textfield.knob_field");
const QString StepperPath = QStringLiteral("tessera.material.textfield.stepper_field");
const QString CalendarPath = QStringLiteral("tessera.material.textfield.calendar_field");
const QString ChipStackPath = QStringLiteral("tessera.material.textfield.chip_stack");
const QString BusyPath = QStringLiteral("tessera.material.button.busy_trigger");
const QString PopupPath = QStringLiteral("tessera.material.button.popup_trigger");
const QString OrbPath = QStringLiteral("tessera.material.button.orb_action");

const QStringList Sizes{QStringLiteral("small"), QStringLiteral("medium"), QStringLiteral("large")};
const QStringList Colors{QStringLiteral("default"), QStringLiteral("primary"), QStringLiteral("secondary"),
                         QStringLiteral("error"),   QStringLiteral("info"),    QStringLiteral("success"),
                         QStringLiteral("warning")};
const QStringList Variants{QStringLiteral("contained"), QStringLiteral("outlined"), QStringLiteral("text"),
                           QStringLiteral("soft")};

// The editor fields and the theme component each one reads.
const QList<std::pair<QString, QString>> Editors{{KnobPath, QStringLiteral("KnobField")},
                                                 {StepperPath, QStringLiteral("StepperField")},
                                                 {CalendarPath, QStringLiteral("CalendarField")}};

int widgetCount()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return int(QApplication::allWidgets().size());
}

// One widget of the themed fleet and what it reads from the theme.
struct Member
{
    enum class Kind { FieldShell, Busy, Editor, ButtonBased, Unthemed };
    Kind kind;
    QString size;
    QString color;
    QString variant;
    QString component;   // editors: their theme component
    QPointer<QWidget> widget{};
    QString darkSheet{};
    QString lightSheet{};
    QString name() const
    {
        switch (kind) {
        case Kind::FieldShell: return QStringLiteral("FieldShell(%1)").arg(size);
        case Kind::Busy: return QStringLiteral("BusyTrigger(%1, %2, %3)").arg(color, variant, size);
        case Kind::Editor: return component;
        default: return widget ? QString::fromLatin1(widget->metaObject()->className()) : QStringLiteral("?");
        }
    }
};

enum class Expect { KeepPrevious, Styled, StyledWithoutRoot, RendersWhatIsThere };

// What a widget does when the theme lacks \a path: the readers whose build
// fails keep their previous sheet; FieldShell and the editor fields render a
// missing "root" entry as no declarations; everything else is styled as with the full theme.
// The kit's Button (under PopupTrigger and OrbAction) renders whatever
// entries the theme holds by its own design; it is held to being styled
// again by the next good theme.
Expect expectationFor(const QString &path, const Member &m)
{
    const QStringList parts = path.split(u'.');
    const auto under = [&](const QString &prefix) { return path == prefix || path.startsWith(prefix + u'.'); };
    switch (m.kind) {
    case Member::Kind::Unthemed:
        return Expect::Styled;
    case Member::Kind::ButtonBased:
        return Expect::RendersWhatIsThere;
    case Member::Kind::FieldShell:
        if (path == u"components")
            return Expect::KeepPrevious;
        if (path == u"components.FieldShell.styles.root")
            return Expect::StyledWithoutRoot;
        if (under(QStringLiteral("components.FieldShell.styles.inputField.props.multiline")) && parts.size() > 6)
            return parts[6] == m.size ? Expect::KeepPrevious : Expect::Styled;
        if (under(QStringLiteral("components.FieldShellSize.styles")) && parts.size() > 3)
            return parts[3] == m.size ? Expect::KeepPrevious : Expect::Styled;
        return under(QStringLiteral("components.FieldShell")) || under(QStringLiteral("components.FieldShellSize"))
            ? Expect::KeepPrevious
            : Expect::Styled;
    case Member::Kind::Busy: {
        if (path == u"components")
            return Expect::KeepPrevious;
        const QString root = QStringLiteral("components.PyButton.styles.root");
        if (under(root + QStringLiteral(".size")) && parts.size() > 5)
            return parts[5] == m.size ? Expect::KeepPrevious : Expect::Styled;
        if (under(root + QStringLiteral(".colorStyle")) && parts.size() > 7)
            return parts[5] == m.color && parts[7] == m.variant + QStringLiteral("Variant") ? Expect::KeepPrevious
                                                                                          : Expect::Styled;
        if (under(root + QStringLiteral(".colorStyle")) && parts.size() > 5)
            return parts[5] == m.color ? Expect::KeepPrevious : Expect::Styled;
        return under(QStringLiteral("components.PyButton")) ? Expect::KeepPrevious : Expect::Styled;
    }
    case Member::Kind::Editor: {
        const QString component = QStringLiteral("components.") + m.component;
        if (path == component + QStringLiteral(".styles.root"))
            return Expect::StyledWithoutRoot;
        return path == u"components" || under(component) ? Expect::KeepPrevious : Expect::Styled;
    }
    }
    return Expect::Styled;
}

} // namespace

class tst_BadInput : public QObject
{
    Q_OBJECT

    std::vector<Member> m_fleet;
    std::vector<std::unique_ptr<State>> m_states;
    QObject m_notAState;

    void captureSheets(QString Member::*into)
    {
        for (Member &m : m_fleet)
            m.*into = m.widget->styleSheet();
    }

private Q_SLOTS:
    void initTestCase()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    // ---- the module loader -------------------------------------------------

    void loaderRefusesBadPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "";
        QTest::newRow("one name") << "tessera";
        QTest::newRow("group only") << "tessera.material.button";
        QTest::newRow("unknown module") << "tessera.material.button.unknown";
        QTest::newRow("known module one level deeper") << "tessera.material.textfield.field_shell.extra";
        QTest::newRow("outside the kit") << "os.system";
        QTest::newRow("relative escape") << "../../../../etc/passwd";
        QTest::newRow("escape after a known path") << "tessera.material.button.busy_trigger/../../lib";
        QTest::newRow("slashes") << "tessera/material/button/busy_trigger";
        QTest::newRow("absolute library") << "/usr/lib/x86_64-linux-gnu/libc.so.6";
        QTest::newRow("empty part") << "tessera..material.button.busy_trigger";
        QTest::newRow("leading dot") << ".tessera.material.button.busy_trigger";
        QTest::newRow("trailing dot") << "tessera.material.button.busy_trigger.";
        QTest::newRow("upper case") << "Tessera.Material.Button.BusyTrigger";
        QTest::newRow("hyphen") << "tessera.material.button.busy-trigger";
        QTest::newRow("trailing space") << "tessera.material.button.busy_trigger ";
        QTest::newRow("embedded NUL") << QString("tessera.material.button.busy_trigger") + QChar(0) + "x";
        QTest::newRow("non-ASCII look-alike") << QString::fromUtf8("tessera.material.button.busy_tr\xc4\xb1gger");
        QTest::newRow("library file name") << "libtessera_busy_trigger.so";
    }
    void loaderRefusesBadPaths()
    {
        QFETCH(QString, path);
        const QStringList registered = registeredModules();
        const int widgets = widgetCount();
        QVERIFY_THROWS_EXCEPTION(ModuleError, loadModule(path));
        QVERIFY_THROWS_EXCEPTION(ModuleError, create(path, {}));
        QCOMPARE(registeredModules(), registered);
        QCOMPARE(widgetCount(), widgets);
    }

    void loaderLoadsEachRealModuleByPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("className");
        QTest::newRow("field_shell") << FieldShellPath << "FieldShell";
        QTest::newRow("knob_field") << KnobPath << "KnobField";
        QTest::newRow("stepper_field") << StepperPath << "StepperField";
        QTest::newRow("calendar_field") << CalendarPath << "CalendarField";
        QTest::newRow("chip_stack") << ChipStackPath << "ChipStack";
        QTest::newRow("busy_trigger") << BusyPath << "BusyTrigger";
        QTest::newRow("popup_trigger") << PopupPath << "PopupTrigger";
        QTest::newRow("orb_action") << OrbPath << "OrbAction";
    }
    void loaderLoadsEachRealModuleByPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, className);
        QVERIFY(knownModules().contains(path));
        // This suite links no widget module: the first load really opens the library.
        QVERIFY2(!registeredModules().contains(path), "registered before it was loaded");
        loadModule(path);
        loadModule(path);   // a no-op the second time
        QVERIFY(registeredModules().contains(path));
        QCOMPARE(moduleClassName(path), className);

        State content;
        const QVariantMap options = path == ChipStackPath ? QVariantMap{{"content", QVariant::fromValue<QObject *>(&content)}}
                                                          : QVariantMap{};
        std::unique_ptr<QWidget> widget(create(path, options));
        QVERIFY(widget);
        QVERIFY2(widget->inherits(qPrintable("tessera::" + className)), widget->metaObject()->className());
    }

    // ---- options of the wrong kind -----------------------------------------

    void wrongKindIsRefusedNamingTheOption_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");

        const QVariant number = 42;
        const QVariant text = QStringLiteral("yes");
        const QVariant none;
        const QVariant notAState = QVariant::fromValue<QObject *>(&m_notAState);
        const QVariant badList = QVariantList{QVariant(1), QVariant(2)};
        // A null child, in each kind of widget list a caller may give.
        const QVariant nullInList = QVariant::fromValue(QList<QWidget *>{nullptr});
        const QVariant nullInVariantList = QVariantList{QVariant::fromValue<QWidget *>(nullptr)};
        const QVariant nullInGuardedList = widgetListValue({nullptr});

        const auto row = [](const QString &path, const char *option, const char *how, const QVariant &value) {
            const QString module = path.section(u'.', -1);
            QTest::addRow("%s %s %s", qPrintable(module), option, how) << path << QString::fromLatin1(option) << value;
        };

        // FieldShell: its flags, children, renderTags, size and sx have kinds;
        // label, focused, hovered and value of other kinds are accepted and ignored.
        for (const char *flag : {"disabled", "hiddenLabel", "multiple", "multiline"}) {
            row(FieldShellPath, flag, "text", text);
            row(FieldShellPath, flag, "number", number);
        }
        row(FieldShellPath, "children", "text", text);
        row(FieldShellPath, "children", "number", number);
        row(FieldShellPath, "children", "list of numbers", badList);
        row(FieldShellPath, "children", "non-widget object", notAState);
        row(FieldShellPath, "children", "null element", nullInList);
        row(FieldShellPath, "children", "null variant element", nullInVariantList);
        row(FieldShellPath, "children", "null guarded element", nullInGuardedList);
        row(FieldShellPath, "renderTags", "text", text);
        row(FieldShellPath, "size", "number", number);
        row(FieldShellPath, "sx", "number", number);

        // BusyTrigger: the four text options, none included; sx.
        for (const char *name : {"loadingPosition", "color", "variant", "size"}) {
            row(BusyPath, name, "number", number);
            row(BusyPath, name, "none", none);
            row(BusyPath, name, "flag", QVariant(true));
        }
        row(BusyPath, "sx", "number", number);

        // The editor fields.
        for (const auto &[path, component] : Editors) {
            row(path, "label", "number", number);
            row(path, "children", "text", text);
            row(path, "children", "list of numbers", badList);
            row(path, "children", "null element", nullInList);
            row(path, "children", "null variant element", nullInVariantList);
            row(path, "children", "null guarded element", nullInGuardedList);
            row(path, "variant", "number", number);
            row(path, "variant", "none", none);
            row(path, "size", "number", number);
            row(path, "size", "none", none);
            row(path, "onChange", "text", text);
            row(path, "parent", "number", number);
            row(path, "sx", "number", number);
        }

        // ChipStack: content must be a State.
        row(ChipStackPath, "content", "text", text);
        row(ChipStackPath, "content", "non-State object", notAState);
        row(ChipStackPath, "hidden", "text", text);
        row(ChipStackPath, "sx", "number", number);

        // The two Button-based classes: their own options and the Button options they hand on.
        for (const QString &path : {PopupPath, OrbPath}) {
            row(path, "icon", "number", number);
            row(path, "args", "text", text);
            row(path, "startIcon", "given at all", QVariant(QStringLiteral(":/x.svg")));
            row(path, "text", "number", number);
            for (const char *name : {"color", "size", "variant", "component", "href"})
                row(path, name, "number", number);
            for (const char *name : {"disabled", "disableRipple", "disableFocusRipple"})
                row(path, name, "text", text);
            row(path, "onClick", "text", text);
            row(path, "children", "number", number);
            row(path, "children", "null element", nullInList);
            row(path, "children", "null variant element", nullInVariantList);
            row(path, "children", "null guarded element", nullInGuardedList);
            row(path, "classes", "number", number);
            row(path, "style", "number", number);
            row(path, "sx", "number", number);
        }
        row(PopupPath, "aboutToHide", "text", text);
        row(OrbPath, "animate", "text", text);
        row(OrbPath, "componentType", "given at all", QVariant(QStringLiteral("Fab")));
    }
    void wrongKindIsRefusedNamingTheOption()
    {
        QFETCH(QString, path);
        QFETCH(QString, option);
        QFETCH(QVariant, value);

        State content;
        QVariantMap options;
        if (path == ChipStackPath)
            options.insert("content", QVariant::fromValue<QObject *>(&content));

        // The same options without the bad one build a widget: the refusal is the option's doing.
        {
            const int before = widgetCount();
            std::unique_ptr<QWidget> control(create(path, options));
            QVERIFY(control);
            control.reset();
            QCOMPARE(widgetCount(), before);
        }

        options.insert(option, value);
        const int before = widgetCount();
        try {
            std::unique_ptr<QWidget> widget(create(path, options));
            QFAIL(qPrintable(QString("a %1 was built").arg(widget ? widget->metaObject()->className() : "null widget")));
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), option);
        }
        testsupport::drainEvents(2);
        QCOMPARE(widgetCount(), before);
    }

    void chipStackWithoutContentIsRefused()
    {
        const int before = widgetCount();
        try {
            std::unique_ptr<QWidget> widget(create(ChipStackPath, {}));
            QFAIL("a ChipStack was built without content");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QString("content"));
        }
        QCOMPARE(widgetCount(), before);
    }

    // ---- theme key paths removed -------------------------------------------

    void buildFleet()
    {
        const auto add = [this](Member m, const QString &path, QVariantMap options) {
            m.widget = create(path, options);
            m_fleet.push_back(m);
        };
        for (const QString &size : Sizes)
            add({Member::Kind::FieldShell, size, {}, {}, {}}, FieldShellPath, {{"size", size}});
        for (const QString &color : Colors) {
            for (const QString &variant : Variants)
                add({Member::Kind::Busy, "medium", color, variant, {}}, BusyPath,
                    {{"color", color}, {"variant", variant}, {"size", "medium"}});
        }
        for (const QString &size : {QStringLiteral("small"), QStringLiteral("large")})
            add({Member::Kind::Busy, size, "primary", "contained", {}}, BusyPath, {{"size", size}});
        for (const auto &[path, component] : Editors)
            add({Member::Kind::Editor, {}, {}, {}, component}, path, {});
        add({Member::Kind::ButtonBased, {}, {}, {}, {}}, OrbPath, {});
        add({Member::Kind::ButtonBased, {}, {}, {}, {}}, PopupPath, {{"icon", ":/round/resource_tessera/round/more_vert.svg"}});
        m_states.push_back(std::make_unique<State>());
        add({Member::Kind::Unthemed, {}, {}, {}, {}}, ChipStackPath,
            {{"content", QVariant::fromValue<QObject *>(m_states.back().get())}});

        setTheme("dark");
        testsupport::drainEvents();
        captureSheets(&Member::darkSheet);
        setTheme("light");
        testsupport::drainEvents();
        captureSheets(&Member::lightSheet);
        for (const Member &m : m_fleet) {
            QVERIFY(m.widget);
            if (m.kind == Member::Kind::FieldShell || m.kind == Member::Kind::Busy || m.kind == Member::Kind::Editor) {
                // Otherwise "kept its previous sheet" could not be told from "styled again".
                QVERIFY2(!m.lightSheet.isEmpty() && m.lightSheet != m.darkSheet, qPrintable(m.name()));
            }
        }
    }

    void missingComponentPathKeepsTheReadersPreviousSheet_data()
    {
        QTest::addColumn<QString>("path");
        QStringList paths{QStringLiteral("components")};
        for (const char *component : {"FieldShell", "FieldShellSize", "PyButton", "KnobField", "StepperField", "CalendarField"})
            paths << QString("components.%1").arg(component) << QString("components.%1.styles").arg(component);
        // The optional ones too: their readers render them as none.
        for (const ThemeRequirement &req : themeRequirements()) {
            if (req.path.startsWith("components.") && !paths.contains(req.path))
                paths << req.path;
        }
        for (const QString &path : std::as_const(paths))
            QTest::newRow(qPrintable(path)) << path;
    }
    void missingComponentPathKeepsTheReadersPreviousSheet()
    {
        QFETCH(QString, path);
        if (m_fleet.empty())
            buildFleet();

        setTheme("dark");
        testsupport::drainEvents();
        const QString broken = testsupport::registerWithout("light", path);
        QVERIFY(themeData(broken).findPath(path) == nullptr);
        setTheme(broken);
        testsupport::drainEvents();

        int readers = 0;
        for (const Member &m : m_fleet) {
            const QString sheet = m.widget->styleSheet();
            const QString who = m.name() + " with " + path + " missing";
            switch (expectationFor(path, m)) {
            case Expect::KeepPrevious:
                ++readers;
                QVERIFY2(sheet == m.darkSheet, qPrintable(who + ": did not keep its previous sheet"));
                break;
            case Expect::Styled:
                QVERIFY2(sheet == m.lightSheet, qPrintable(who + ": not styled as usual"));
                break;
            case Expect::StyledWithoutRoot: {
                ++readers;
                const StyleValue *root = themeData("light").findPath(path);
                const QString rootQss = get_qss_style(root);
                QVERIFY(!rootQss.isEmpty() && m.lightSheet.contains(rootQss));
                QString expected = m.lightSheet;
                expected.replace(expected.indexOf(rootQss), rootQss.size(), QString());
                QVERIFY2(sheet == expected, qPrintable(who + ": root not rendered as none"));
                break;
            }
            case Expect::RendersWhatIsThere:
                break;   // checked below: the good theme styles it again
            }
        }
        QVERIFY2(readers > 0, "no widget of the fleet reads this path");

        setTheme("light");
        testsupport::drainEvents();
        for (const Member &m : m_fleet)
            QVERIFY2(m.widget->styleSheet() == m.lightSheet, qPrintable(m.name() + ": not styled again by a good theme"));
    }

    void missingPaletteOrTypographyPathEndsNoBuild_data()
    {
        QTest::addColumn<QString>("path");
        for (const ThemeRequirement &req : themeRequirements()) {
            if (!req.optional && !req.path.startsWith("components."))
                QTest::newRow(qPrintable(req.path)) << req.path;
        }
    }
    void missingPaletteOrTypographyPathEndsNoBuild()
    {
        // Tokens that are missing stay as written; the widgets' own builds go on.
        QFETCH(QString, path);
        if (m_fleet.empty())
            buildFleet();
        setTheme("dark");
        testsupport::drainEvents();
        setTheme(testsupport::registerWithout("light", path));
        testsupport::drainEvents();
        for (const Member &m : m_fleet) {
            if (m.kind == Member::Kind::FieldShell || m.kind == Member::Kind::Busy || m.kind == Member::Kind::Editor)
                QVERIFY2(m.widget->styleSheet() != m.darkSheet, qPrintable(m.name() + ": build ended without " + path));
        }
        setTheme("light");
        testsupport::drainEvents();
        for (const Member &m : m_fleet)
            QVERIFY2(m.widget->styleSheet() == m.lightSheet, qPrintable(m.name()));
    }

    void cleanupTestCase()
    {
        for (Member &m : m_fleet)
            delete m.widget.data();
        m_fleet.clear();
        testsupport::drainEvents();
        m_states.clear();
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_bad_input.moc"
