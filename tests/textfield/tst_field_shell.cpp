#include <tessera/material/textfield/field_shell.h>

#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <functional>
#include <memory>

using namespace tessera;

namespace {

const QString ModulePath = QStringLiteral("tessera.material.textfield.field_shell");

// A derived field that records every slot_set_stylesheet() call (with the
// state properties as they were at that moment) and every style build.
class Probe : public FieldShell
{
public:
    explicit Probe(Options options = {}, int *buildsAfterDeath = nullptr)
        : FieldShell(std::move(options)), m_buildsAfterDeath(buildsAfterDeath)
    {
        _init_ui();
    }
    ~Probe() override { m_alive = false; }

    using FieldShell::_hide_label;
    using FieldShell::_set_multiple_has_value_prop;
    using FieldShell::styleTask;
    using FieldShell::_show_label;

    void _set_stylesheet(const StyleMap &component_styled = {}) override
    {
        if (!m_alive && m_buildsAfterDeath)
            ++*m_buildsAfterDeath;
        ++builds;
        FieldShell::_set_stylesheet(component_styled);
    }

    int restyles = 0;
    int builds = 0;
    QList<QVariantList> seen;   // {hovered, focused, multipleHasValue} at each restyle

protected:
    void slot_set_stylesheet() override
    {
        ++restyles;
        seen.append({property("hovered"), property("focused"), property("multipleHasValue")});
    }

private:
    int *m_buildsAfterDeath;
    bool m_alive = true;
};

// A derived field whose constructor forgets the second phase.
class Forgetful : public FieldShell
{
public:
    Forgetful() : FieldShell() {}
    int restyles = 0;

protected:
    void slot_set_stylesheet() override { ++restyles; }
};

QString qssAt(const StyleMap &components, const QString &path)
{
    return get_qss_style(components.findPath(path));
}

// The style text a field named \a name must carry, written line by line from
// the rendered theme pieces.
QString expectedSheet(const QString &name, const StyleMap &c, const QString &size, bool grow, const QString &sx)
{
    const QString id = u'#' + name;
    const QString i16(16, u' ');
    const QString i20(20, u' ');
    const QString fs = QStringLiteral("FieldShell.styles.");
    const QString sized = QStringLiteral("FieldShellSize.styles.") + size;
    QStringList l;
    l << QString()
      << i16 + id + QStringLiteral(" {")
      << i20 + qssAt(c, fs + QStringLiteral("root"))
      << i20 + qssAt(c, sized)
      << i20 + (grow ? QString() : qssAt(c, sized + QStringLiteral(".no-multiple")))
      << i16 + QStringLiteral("}")
      << QString()
      << i16 + id + QStringLiteral(" QComboBox, QDateEdit, QDateTimeEdit, QDial, QDoubleSpinBox, QFontComboBox,")
      << i16 + QStringLiteral("QLineEdit, PyPlainTextEdit, QSpinBox, QTextEdit, QTimeEdit {")
      << i20 + qssAt(c, fs + QStringLiteral("inputField"))
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral("[multipleHasValue=true] QPlainTextEdit {")
      << i20 + qssAt(c, fs + QStringLiteral("inputField.props.multiple"))
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral(" PyPlainTextEdit, QTextEdit{")
      << i20 + qssAt(c, fs + QStringLiteral("inputField.props.multiline.") + size)
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral(" QPlainTextEdit{")
      << i20 + QStringLiteral("min-height: 40px;")
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral("::title {")
      << i20 + qssAt(c, fs + QStringLiteral("title"))
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral("[focused=true]::title {")
      << i20 + qssAt(c, fs + QStringLiteral("title.slots.focused"))
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral("[error=true]::title {")
      << i20 + qssAt(c, fs + QStringLiteral("title.slots.error"))
      << i16 + QStringLiteral("}")
      << i16 + id + QStringLiteral("[disabled=true]::title {")
      << i20 + qssAt(c, fs + QStringLiteral("title.slots.disabled"))
      << i16 + QStringLiteral("}")
      << QString()
      << i16 + sx
      << QString(12, u' ');
    return l.join(u'\n');
}

// Component styles in which every piece carries its own marker colour and
// "root" is absent; nothing in them sets a minimum size through the style.
StyleMap markerComponents()
{
    return StyleMap::fromJson(testsupport::json(
        "{'FieldShell': {'styles': {"
        "  'title': {'color': '#000002', 'slots': {'focused': {'color': '#000003'}, 'error': {'color': '#000004'},"
        "                                          'disabled': {'color': '#000005'}}},"
        "  'inputField': {'color': '#000006', 'props': {'multiline': {'medium': {'color': '#000007'}},"
        "                                               'multiple': {'color': '#000008'}}}}},"
        " 'FieldShellSize': {'styles': {'medium': {'color': '#000009', 'no-multiple': {'color': '#00000a', 'height': 33}}}}}"));
}

QVariant widgetVariant(QWidget *w) { return QVariant::fromValue(w); }
QVariant stateVariant(State *s) { return QVariant::fromValue(s); }

using SxExpectation = std::function<QString(const QString &name)>;

} // namespace

Q_DECLARE_METATYPE(SxExpectation)

class tst_FieldShell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The light theme's pieces must differ, or a swapped line could pass.
        setTheme(QStringLiteral("light"));
        const StyleMap &c = useTheme()->components();
        QStringList pieces;
        for (const char *path : {"FieldShell.styles.root", "FieldShell.styles.title", "FieldShell.styles.title.slots.focused",
                                 "FieldShell.styles.title.slots.error", "FieldShell.styles.title.slots.disabled",
                                 "FieldShell.styles.inputField", "FieldShell.styles.inputField.props.multiple",
                                 "FieldShell.styles.inputField.props.multiline.medium", "FieldShellSize.styles.medium",
                                 "FieldShellSize.styles.medium.no-multiple"})
            pieces << qssAt(c, QString::fromLatin1(path));
        QCOMPARE(QSet<QString>(pieces.begin(), pieces.end()).size(), pieces.size());
        QVERIFY(!pieces.contains(QString()));
    }

    void cleanup()
    {
        i18n()->setLanguage(QStringLiteral("en"));
        setTheme(QStringLiteral("light"));
        testsupport::drainEvents();
    }

    void defaultConstruction()
    {
        Probe field;
        QVERIFY(testsupport::isUuidText(field.objectName()));
        QCOMPARE(field.layout(), nullptr);
        QCOMPARE(field.title(), QString());
        QCOMPARE(field.property("hovered"), QVariant(false));
        QCOMPARE(field.property("focused"), QVariant(false));
        QCOMPARE(field.restyles, 2);
        // The first build waits for the event loop.
        QCOMPARE(field.builds, 0);
        QVERIFY(field.styleSheet().isEmpty());
        testsupport::drainEvents();
        QCOMPARE(field.builds, 1);
        QVERIFY(!field.styleSheet().isEmpty());

        Probe other;
        QVERIFY(other.objectName() != field.objectName());
    }

    void stateProperties_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<QVariant>("hovered");   // invalid: none
        QTest::addColumn<QVariant>("focused");
        QTest::addColumn<QVariant>("hoveredProperty");
        QTest::addColumn<QVariant>("focusedProperty");
        QTest::addColumn<int>("restyles");

        QTest::newRow("defaults") << false << QVariant(false) << QVariant(false) << QVariant(false) << QVariant(false) << 2;
        QTest::newRow("hovered and focused") << false << QVariant(true) << QVariant(true) << QVariant(true) << QVariant(true) << 2;
        QTest::newRow("disabled: hover ignored") << true << QVariant(true) << QVariant(true) << QVariant() << QVariant(true) << 1;
        QTest::newRow("none sets nothing but restyles") << false << QVariant() << QVariant() << QVariant() << QVariant() << 2;
    }

    void stateProperties()
    {
        QFETCH(bool, disabled);
        QFETCH(QVariant, hovered);
        QFETCH(QVariant, focused);
        FieldShell::Options options;
        options.disabled = disabled;
        options.hovered = hovered.isValid() ? StateOr<bool>(hovered.toBool()) : StateOr<bool>();
        options.focused = focused.isValid() ? StateOr<bool>(focused.toBool()) : StateOr<bool>();
        Probe field(options);
        QTEST(field.property("hovered"), "hoveredProperty");
        QTEST(field.property("focused"), "focusedProperty");
        QTEST(field.restyles, "restyles");
        testsupport::drainEvents();
        QCOMPARE(field.property("disabled"), QVariant(disabled));
    }

    // The options as a form or a script writes them.
    void properties_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("title");   // after the write, the label shown
        QTest::addColumn<int>("restyles");    // slot_set_stylesheet() calls the write made
        QTest::newRow("label") << QByteArray("label") << QVariant("Surname") << "Surname" << 0;
        QTest::newRow("hiddenLabel") << QByteArray("hiddenLabel") << QVariant(true) << "" << 0;
        QTest::newRow("themeSize") << QByteArray("themeSize") << QVariant("small") << "Name" << 0;
        QTest::newRow("disabled") << QByteArray("disabled") << QVariant(true) << "Name" << 1;
        QTest::newRow("error") << QByteArray("error") << QVariant(true) << "Name" << 1;
    }
    void properties()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QFETCH(int, restyles);
        Probe field({.label = "Name"});
        field._show_label();
        const int before = field.restyles;
        std::function<QWidget *()> reference;
        if (property == "themeSize")
            reference = [&] { return create(ModulePath, {{"size", value}}); };
        if (!testsupport::checkPropertyWrite(&field, property.constData(), value, reference))
            return;
        QTEST(field.title(), "title");
        QCOMPARE(field.restyles - before, restyles);
        if (property == "themeSize")
            testsupport::checkRefusedWrite(&field, "themeSize", QVariant("small medium"));
    }

    void aLabelWriteReplacesTheStateBinding()
    {
        State label(QString("Name"));
        Probe field({.label = &label});
        field._show_label();
        QSignalSpy notified(&field, &FieldShell::labelChanged);
        field.setLabel("Surname");
        label.setValue(QString("Given name"));
        QCOMPARE(field.title(), QString("Surname"));
        QCOMPARE(field.label(), QString("Surname"));
        QCOMPARE(notified.count(), 1);
    }

    void stateChangesSetPropertyThenRestyle_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::newRow("enabled") << false;
        QTest::newRow("disabled: hover ignored") << true;
    }

    void stateChangesSetPropertyThenRestyle()
    {
        QFETCH(bool, disabled);
        State hovered(false);
        State focused(false);
        Probe field({.disabled = disabled, .focused = &focused, .hovered = &hovered});
        int restyles = field.restyles;
        QCOMPARE(restyles, disabled ? 1 : 2);

        focused.setValue(true);
        QCOMPARE(field.property("focused"), QVariant(true));
        QCOMPARE(field.restyles, ++restyles);
        QCOMPARE(field.seen.last().at(1), QVariant(true));   // set before the call
        hovered.setValue(true);
        QCOMPARE(field.property("hovered"), disabled ? QVariant() : QVariant(true));
        QCOMPARE(field.restyles, disabled ? restyles : ++restyles);
        QCOMPARE(field.seen.last().at(0), disabled ? QVariant() : QVariant(true));
        focused.setValue(false);
        QCOMPARE(field.property("focused"), QVariant(false));
        QCOMPARE(field.restyles, ++restyles);

        field._set_multiple_has_value_prop(true);
        QCOMPARE(field.property("multipleHasValue"), QVariant(true));
        QCOMPARE(field.seen.last().at(2), QVariant(true));
        QCOMPARE(field.restyles, ++restyles);
    }

    void title_data()
    {
        QTest::addColumn<int>("labelKind");   // 0 plain text, 1 State of text, 2 State of a deferred text, 3 State of a number, 4 none
        QTest::addColumn<bool>("hiddenLabel");
        QTest::addColumn<QString>("afterShow");
        QTest::addColumn<QString>("afterStateChange");
        QTest::addColumn<QString>("afterLanguage");

        QTest::newRow("plain text") << 0 << false << "Name" << "Name" << "Name";
        QTest::newRow("plain text, hidden") << 0 << true << "" << "" << "";
        QTest::newRow("State of text") << 1 << false << "Name" << "Surname" << "Surname";
        QTest::newRow("State of text, hidden") << 1 << true << "" << "" << "";
        QTest::newRow("State of a deferred text") << 2 << false << "Dark" << "Dark" << "Dunkel";
        QTest::newRow("State of a deferred text, hidden") << 2 << true << "" << "" << "";
        QTest::newRow("State of a number") << 3 << false << "" << "" << "";
        QTest::newRow("none") << 4 << false << "" << "" << "";
    }

    void title()
    {
        QFETCH(int, labelKind);
        QFETCH(bool, hiddenLabel);
        State label;
        FieldShell::Options options;
        options.hiddenLabel = hiddenLabel;
        switch (labelKind) {
        case 0: options.label = QStringLiteral("Name"); break;
        case 1: label.setValue(QStringLiteral("Name")); options.label = &label; break;
        case 2: label.setValue(QVariant::fromValue(deferredTr("tessera::Theme", "Dark"))); options.label = &label; break;
        case 3: label.setValue(7); options.label = &label; break;
        default: break;
        }
        Probe field(options);
        QCOMPARE(field.title(), QString());   // construction sets no title
        field._show_label();
        QTEST(field.title(), "afterShow");
        if (labelKind == 1)
            label.setValue(QStringLiteral("Surname"));
        QTEST(field.title(), "afterStateChange");
        i18n()->setLanguage(QStringLiteral("de"));
        QTEST(field.title(), "afterLanguage");

        // Hiding always clears, even a hidden label's title set from outside.
        field.setTitle(QStringLiteral("outside"));
        field._hide_label();
        QCOMPARE(field.title(), QString());
    }

    void plainLabelAppearsOnLanguageChangeWithoutShow()
    {
        Probe field({.label = "Name"});
        QCOMPARE(field.title(), QString());
        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(field.title(), QString("Name"));   // unchanged text, not translated
    }

    void layout_data()
    {
        QTest::addColumn<int>("count");   // -1: children none
        QTest::newRow("none") << -1;
        QTest::newRow("empty") << 0;
        QTest::newRow("two") << 2;
    }

    void layout()
    {
        QFETCH(int, count);
        QList<QWidget *> widgets;
        for (int i = 0; i < count; ++i)
            widgets << new QLabel(QString::number(i));
        FieldShell::Options options;
        if (count >= 0)
            options.children = widgets;
        Probe field(options);
        if (count < 0) {
            QCOMPARE(field.layout(), nullptr);
            return;
        }
        auto *row = qobject_cast<QHBoxLayout *>(field.layout());
        QVERIFY(row);
        QCOMPARE(row->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(row->count(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(row->itemAt(i)->widget(), widgets[i]);
            QCOMPARE(row->stretch(i), 0);
            QCOMPARE(row->itemAt(i)->alignment(), Qt::Alignment());
            QCOMPARE(widgets[i]->parentWidget(), &field);
        }
    }

    // An editor made by the caller before the field is polished once, with
    // the field's sheet already in place when left to the event loop (Qt
    // keeps more for a widget polished first and restyled). Shown at once,
    // Qt polishes it before the first build. Either way it ends under the
    // field's sheet; one taken out of the field first is polished on its own.
    void editorPolishedOnceUnderTheSheet_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("takenOut");
        QTest::newRow("left to the event loop") << false << false;
        QTest::newRow("shown at once") << true << false;
        QTest::newRow("taken out first") << false << true;
    }

    void editorPolishedOnceUnderTheSheet()
    {
        QFETCH(bool, shown);
        QFETCH(bool, takenOut);
        auto *edit = new QLineEdit;
        Probe field({.children = QList<QWidget *>{edit}});
        std::unique_ptr<QLineEdit> own;
        if (takenOut) {
            edit->setParent(nullptr);
            own.reset(edit);
        }
        QStringList sheetsAtPolish;
        struct Spy : QObject
        {
            std::function<void()> onPolish;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Polish)
                    onPolish();
                return false;
            }
        } spy;
        spy.onPolish = [&] { sheetsAtPolish << field.styleSheet(); };
        edit->installEventFilter(&spy);
        if (shown)
            field.show();
        testsupport::drainEvents();
        QCOMPARE(field.builds, 1);
        QCOMPARE(sheetsAtPolish.size(), 1);
        QCOMPARE(sheetsAtPolish[0].isEmpty(), shown || takenOut);
        QVERIFY(edit->testAttribute(Qt::WA_WState_Polished));
        QCOMPARE(edit->style() == field.style(), !takenOut);
        QVERIFY(field.style()->inherits("QStyleSheetStyle"));
    }

    void nullChildIsRefused()
    {
        const int before = QApplication::allWidgets().size();
        try {
            Probe field({.children = QList<QWidget *>{nullptr}});
            QFAIL("a null child was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QString("children"));
        }
        QCOMPARE(QApplication::allWidgets().size(), before);
    }

    void styleText_data()
    {
        QTest::addColumn<QVariantMap>("options");
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("grow");
        QTest::addColumn<SxExpectation>("sx");

        const SxExpectation none = [](const QString &) { return QString(); };
        const auto tags = QVariant::fromValue(FieldShell::RenderTags([](const QVariant &) { return QList<QWidget *>(); }));
        const StyleMap sxMap{{"color", "palette.error.main"}, {"&:hover", StyleMap{{"color", "red"}}}};
        const SxExpectation sxMapExpected = [sxMap](const QString &n) { return get_qss_style(sxMap, u'#' + n); };

        QTest::newRow("defaults") << QVariantMap{} << "medium" << false << none;
        QTest::newRow("multiline") << QVariantMap{{"multiline", true}} << "medium" << true << none;
        QTest::newRow("multiple without renderTags") << QVariantMap{{"multiple", true}} << "medium" << false << none;
        QTest::newRow("multiple with renderTags") << QVariantMap{{"multiple", true}, {"renderTags", tags}} << "medium" << true << none;
        QTest::newRow("renderTags without multiple") << QVariantMap{{"renderTags", tags}} << "medium" << false << none;
        QTest::newRow("small") << QVariantMap{{"size", "small"}} << "small" << false << none;
        QTest::newRow("large multiline") << QVariantMap{{"size", "large"}, {"multiline", true}} << "large" << true << none;
        QTest::newRow("disabled") << QVariantMap{{"disabled", true}} << "medium" << false << none;
        QTest::newRow("sx mapping") << QVariantMap{{"sx", sxMap.toVariant()}} << "medium" << false << sxMapExpected;
        QTest::newRow("sx function returning a mapping")
            << QVariantMap{{"sx", QVariant::fromValue(Sx::Function([sxMap] { return sxMap.toVariant(); }))}}
            << "medium" << false << sxMapExpected;
        QTest::newRow("sx function returning text")
            << QVariantMap{{"sx", QVariant::fromValue(Sx::Function([] { return QVariant(QStringLiteral("QLabel { color: red; }")); }))}}
            << "medium" << false << SxExpectation([](const QString &) { return QStringLiteral("QLabel { color: red; }"); });
        QTest::newRow("sx function returning a number")
            << QVariantMap{{"sx", QVariant::fromValue(Sx::Function([] { return QVariant(3); }))}} << "medium" << false << none;
        QTest::newRow("sx text") << QVariantMap{{"sx", "QLineEdit { color: blue; }"}} << "medium" << false
                                 << SxExpectation([](const QString &) { return QStringLiteral("QLineEdit { color: blue; }"); });
        QTest::newRow("sx empty text") << QVariantMap{{"sx", ""}} << "medium" << false << none;
        // A State is an sx kind, but FieldShell does not read its value: it adds
        // nothing. (An sx of an unsupported kind is refused: see tst_bad_input.)
        static State sxState(QStringLiteral("QLabel { color: red; }"));
        QTest::newRow("sx a State") << QVariantMap{{"sx", QVariant::fromValue(&sxState)}} << "medium" << false << none;
    }

    void styleText()
    {
        QFETCH(QVariantMap, options);
        QFETCH(QString, size);
        QFETCH(bool, grow);
        QFETCH(SxExpectation, sx);
        std::unique_ptr<QWidget> field(create(ModulePath, options));
        QVERIFY(qobject_cast<FieldShell *>(field.get()));
        testsupport::drainEvents();
        const QString name = field->objectName();
        const QString expected = expectedSheet(name, useTheme()->components(), size, grow, sx(name));
        QCOMPARE(testsupport::lines(field->styleSheet()), testsupport::lines(expected));
        QCOMPARE(field->styleSheet(), expected);

        // (Without growing, the style's own min-height sets the minimum size.)
        if (grow) {
            const StyleValue *height = useTheme()->components().findPath(QStringLiteral("FieldShellSize.styles.%1.no-multiple.height").arg(size));
            QCOMPARE(field->minimumHeight(), int(height->number()));
        }
        QCOMPARE(field->property("disabled"), QVariant(options.value("disabled").toBool()));
    }

    void replacementMappingIsReadInsteadOfTheTheme()
    {
        Probe field({.sx = "QLabel { color: red; }"});
        testsupport::drainEvents();
        field.theme = nullptr;
        field._set_stylesheet(markerComponents());
        QCOMPARE(field.theme, useTheme());
        const QString n = field.objectName();
        const QStringList sheet = testsupport::lines(field.styleSheet());
        QCOMPARE(sheet, testsupport::lines(expectedSheet(n, markerComponents(), "medium", false, "QLabel { color: red; }")));
        // Spelled out: no root, then the size and its no-multiple style.
        QCOMPARE(sheet.mid(1, 4), QStringList({"                #" + n + " {", QString(20, u' '),
                                               "                    color: #000009;",
                                               "                    color: #00000a; height: 33px;"}));
        QCOMPARE(sheet.value(21), QString("                    color: #000002;"));
        QCOMPARE(field.minimumHeight(), 0);

        // An empty mapping means the theme's own.
        field._set_stylesheet(StyleMap());
        QCOMPARE(field.styleSheet(), expectedSheet(n, useTheme()->components(), "medium", false, "QLabel { color: red; }"));
    }

    void minimumHeightOnlyWhenGrowing_data()
    {
        QTest::addColumn<bool>("multiple");
        QTest::addColumn<bool>("renderTags");
        QTest::addColumn<bool>("multiline");
        QTest::addColumn<int>("minimumHeight");
        QTest::newRow("plain") << false << false << false << 0;
        QTest::newRow("multiple") << true << false << false << 0;
        QTest::newRow("renderTags") << false << true << false << 0;
        QTest::newRow("multiple with renderTags") << true << true << false << 33;
        QTest::newRow("multiline") << false << false << true << 33;
    }

    void minimumHeightOnlyWhenGrowing()
    {
        QFETCH(bool, multiple);
        QFETCH(bool, renderTags);
        QFETCH(bool, multiline);
        FieldShell::Options options;
        options.multiple = multiple;
        options.multiline = multiline;
        if (renderTags)
            options.renderTags = [](const QVariant &) { return QList<QWidget *>(); };
        Probe field(options);
        field._set_stylesheet(markerComponents());
        QTEST(field.minimumHeight(), "minimumHeight");
        // Line 5 carries the no-multiple style exactly when the field does not grow.
        QCOMPARE(testsupport::lines(field.styleSheet()).value(4).trimmed().isEmpty(), multiline || (multiple && renderTags));
    }

    void themeWithoutRootStillBuilds()
    {
        Probe field;
        testsupport::drainEvents();
        setTheme(testsupport::registerWithout(QStringLiteral("light"), QStringLiteral("components.FieldShell.styles.root")));
        testsupport::drainEvents();
        QCOMPARE(field.builds, 2);
        QVERIFY(!field.styleTask().failed());
        const QStringList sheet = testsupport::lines(field.styleSheet());
        QCOMPARE(sheet.value(2), QString(20, u' '));
        QCOMPARE(field.styleSheet(), expectedSheet(field.objectName(), useTheme()->components(), "medium", false, QString()));
    }

    void failedBuildKeepsPreviousSheet_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QVariant>("replacement");   // invalid: remove the entry

        QTest::newRow("size entry") << "components.FieldShellSize.styles.medium" << QVariant();
        QTest::newRow("no-multiple height") << "components.FieldShellSize.styles.medium.no-multiple.height" << QVariant();
        QTest::newRow("height as text") << "components.FieldShellSize.styles.medium.no-multiple.height" << QVariant("48px");
        QTest::newRow("negative height") << "components.FieldShellSize.styles.medium.no-multiple.height" << QVariant(-4);
        QTest::newRow("multiline size entry") << "components.FieldShell.styles.inputField.props.multiline.medium" << QVariant();
        QTest::newRow("title slot") << "components.FieldShell.styles.title.slots.disabled" << QVariant();
        QTest::newRow("title as text") << "components.FieldShell.styles.title" << QVariant("red");
        QTest::newRow("root as text") << "components.FieldShell.styles.root" << QVariant("red");
        QTest::newRow("multiple as number") << "components.FieldShell.styles.inputField.props.multiple" << QVariant(4);
        QTest::newRow("whole component") << "components.FieldShell" << QVariant();
    }

    void failedBuildKeepsPreviousSheet()
    {
        QFETCH(QString, path);
        QFETCH(QVariant, replacement);
        Probe field({.disabled = true, .multiline = true});
        testsupport::drainEvents();
        const QString before = field.styleSheet();
        QCOMPARE(field.minimumHeight(), 48);

        // The new theme would also change the height: nothing of it may land.
        setTheme(testsupport::registerVariant(QStringLiteral("light"), [&](StyleMap &data) {
            testsupport::setPath(data, QStringLiteral("components.FieldShellSize.styles.medium.no-multiple.height"), 99);
            if (!replacement.isValid())
                data.removePath(path);
            else if (replacement.typeId() == QMetaType::QString)
                testsupport::setPath(data, path, replacement.toString());
            else
                testsupport::setPath(data, path, replacement.toInt());
        }));
        testsupport::drainEvents();
        QCOMPARE(field.builds, 2);
        QVERIFY(field.styleTask().failed());
        QCOMPARE(field.styleSheet(), before);
        QCOMPARE(field.minimumHeight(), 48);
        QCOMPARE(field.property("disabled"), QVariant(true));

        // The next trigger builds again.
        setTheme(QStringLiteral("dark"));
        testsupport::drainEvents();
        QCOMPARE(field.builds, 3);
        QVERIFY(!field.styleTask().failed());
        QVERIFY(field.styleSheet() != before);
    }

    void everyTriggerBuildsOnce()
    {
        Probe field;
        testsupport::drainEvents();
        QCOMPARE(field.builds, 1);
        setTheme(QStringLiteral("dark"));
        setTheme(QStringLiteral("light"));
        QCOMPARE(field.builds, 1);   // never inside the signal
        testsupport::runTimerHop();   // both timers fire
        QVERIFY(field.styleTask().isValid());
        const Task second = field.styleTask();
        QVERIFY(!second.done());
        testsupport::drainEvents();
        QCOMPARE(field.builds, 3);
        QVERIFY(second.done() && !second.cancelled());
    }

    void nothingRunsForADestroyedField()
    {
        int late = 0;
        {
            Probe field({}, &late);   // destroyed before the timer fired
        }
        Task pending;
        {
            auto *field = new Probe({}, &late);
            testsupport::runTimerHop();   // the timer hop only
            pending = field->styleTask();
            QVERIFY(pending.isValid() && !pending.done());
            delete field;
        }
        QVERIFY(pending.cancelled());
        auto *field = new Probe({}, &late);
        setTheme(QStringLiteral("dark"));
        field->deleteLater();
        testsupport::drainEvents();
        QCOMPARE(late, 0);
    }

    // A child that sets every State the field follows (and switches the
    // language) while the field is half gone: nothing reaches the field.
    void stateChangedDuringTeardownIsIgnored()
    {
        State focused(false), hovered(false), label(QStringLiteral("Name"));
        auto *late = new testsupport::LateSetter({{&focused, true}, {&hovered, true}, {&label, QStringLiteral("Late")}});
        late->also = [] { i18n()->setLanguage(QStringLiteral("de")); };
        auto *field = new Probe({.label = &label, .focused = &focused, .hovered = &hovered, .children = QList<QWidget *>{late}});
        QCOMPARE(field->restyles, 2);
        delete field;   // the child sets the States while the field is half gone
        QCOMPARE(focused.value(), QVariant(true));
        QCOMPARE(label.value(), QVariant(QStringLiteral("Late")));
        i18n()->setLanguage(QStringLiteral("en"));
    }

    void deletedStatesReadAsNone()
    {
        auto *label = new State(QStringLiteral("Name"));
        auto *hovered = new State(true);
        FieldShell::Options options;
        options.label = label;
        options.hovered = hovered;
        delete label;
        delete hovered;
        Probe field(options);
        QCOMPARE(field.property("hovered"), QVariant());
        QCOMPARE(field.restyles, 2);
        field._show_label();
        QCOMPARE(field.title(), QString());
        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(field.title(), QString());

        // Deleted while the field lives: the title stays as it was.
        auto *later = new State(QStringLiteral("Later"));
        Probe other({.label = later});
        other._show_label();
        delete later;
        other._show_label();
        QCOMPARE(other.title(), QString("Later"));
    }

    void forgottenSecondPhaseHappensAtFirstPolish()
    {
        Forgetful field;
        QVERIFY(field.objectName().isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("never called FieldShell::_init_ui"));
        field.ensurePolished();
        QVERIFY(testsupport::isUuidText(field.objectName()));
        QCOMPARE(field.restyles, 2);
        testsupport::drainEvents();
        QVERIFY(!field.styleSheet().isEmpty());
    }

    void createConvertsOptions()
    {
        QCOMPARE(moduleClassName(ModulePath), QString("FieldShell"));
        State hovered(false);
        auto *edit = new QLineEdit;
        std::unique_ptr<QWidget> field(create(ModulePath, {{"label", "Name"},
                                                           {"hovered", stateVariant(&hovered)},
                                                           {"focused", true},
                                                           {"children", QVariantList{widgetVariant(edit)}},
                                                           {"size", "large"},
                                                           {"multiline", true},
                                                           {"somethingElse", 1}}));
        auto *shell = qobject_cast<FieldShell *>(field.get());
        QVERIFY(shell);
        QCOMPARE(edit->parentWidget(), shell);
        QCOMPARE(shell->property("focused"), QVariant(true));
        QCOMPARE(shell->property("hovered"), QVariant(false));
        hovered.setValue(true);
        QCOMPARE(shell->property("hovered"), QVariant(true));
        QCOMPARE(shell->title(), QString());
        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(shell->title(), QString("Name"));
        testsupport::drainEvents();
        QCOMPARE(shell->minimumHeight(), 56);
    }

    void createToleratesWhatTheFieldIgnores()
    {
        std::unique_ptr<QWidget> field(create(ModulePath, {{"label", 5}, {"hovered", QVariant()}, {"children", QVariant()}}));
        QVERIFY(field);
        QCOMPARE(field->property("hovered"), QVariant());
        QCOMPARE(field->layout(), nullptr);
        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(qobject_cast<QGroupBox *>(field.get())->title(), QString());
    }

    void createRefusesWrongKinds_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("children as text") << "children" << QVariant("a, b");
        QTest::newRow("children holding a number") << "children" << QVariant(QVariantList{QVariant(1)});
        QTest::newRow("children as a number") << "children" << QVariant(5);
        QTest::newRow("disabled as text") << "disabled" << QVariant("yes");
        QTest::newRow("size as number") << "size" << QVariant(3);
        QTest::newRow("renderTags as text") << "renderTags" << QVariant("tags");
    }

    void createRefusesWrongKinds()
    {
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        auto *sibling = new QLineEdit;   // a valid child beside the bad option
        const int before = QApplication::allWidgets().size();
        QVariantMap options{{option, value}};
        if (option != u"children")
            options.insert("children", QVariantList{widgetVariant(sibling)});
        try {
            delete create(ModulePath, options);
            QFAIL("a wrong kind was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), option);
        }
        QCOMPARE(QApplication::allWidgets().size(), before);
        QCOMPARE(sibling->parentWidget(), nullptr);
        delete sibling;
    }
};

QTEST_MAIN(tst_FieldShell)
#include "tst_field_shell.moc"
