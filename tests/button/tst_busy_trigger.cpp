#include <tessera/material/button/busy_trigger.h>

#include <tessera/kit/i18n.h>
#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMetaClassInfo>
#include <QPointer>
#include <QTest>

#include <memory>
#include <stdexcept>

using namespace tessera;

namespace {

const QString modulePath = QStringLiteral("tessera.material.button.busy_trigger");

// Reaches the protected operations and members. It declares no Q_OBJECT, so
// its class name, and with it its memo key, is BusyTrigger's.
class Probe : public BusyTrigger
{
public:
    using BusyTrigger::BusyTrigger;
    using BusyTrigger::_color;
    using BusyTrigger::_get_stylesheet;
    using BusyTrigger::_kwargs;
    using BusyTrigger::_loadingPosition;
    using BusyTrigger::_set_stylesheet;
    using BusyTrigger::_setupStyleSheet;
    using BusyTrigger::_size;
    using BusyTrigger::_stylesheetMemo;
    using BusyTrigger::_text;
    using BusyTrigger::_update_loading;
    using BusyTrigger::_variant;
};

int rowIndex(BusyTrigger *w)
{
    auto *row = qobject_cast<QBoxLayout *>(w->layout());
    return row ? row->indexOf(w->loadingWidget) : -2;
}

int labelIndex(BusyTrigger *w)
{
    auto *row = qobject_cast<QBoxLayout *>(w->layout());
    return row ? row->indexOf(w->label) : -2;
}

std::unique_ptr<BusyTrigger> make(const QVariantMap &options)
{
    return std::unique_ptr<BusyTrigger>(qobject_cast<BusyTrigger *>(create(modulePath, options)));
}

int liveTriggers()
{
    int n = 0;
    for (QWidget *w : QApplication::allWidgets())
        n += qobject_cast<BusyTrigger *>(w) != nullptr;
    return n;
}

QString spaces(int n) { return QString(n, u' '); }

QString placeholder() { return ObjectNamePlaceholder.toString(); }

// The template written out line by line, as a reader of the sheet sees it.
QString expectedTemplate(const QString &size, const QString &textVariant, const QString &variant,
                         const QString &hover, const QString &checked)
{
    const QString n = placeholder();
    return QStringList{QString(),
                       spaces(12) + "#" + n + "{",
                       spaces(16) + size,
                       spaces(16) + textVariant,
                       spaces(16) + variant,
                       spaces(12) + "}",
                       spaces(12) + "#" + n + ":hover {",
                       spaces(16) + hover,
                       spaces(12) + "}",
                       spaces(12) + "#" + n + "[selected=true] {",
                       spaces(16) + checked,
                       spaces(12) + "}",
                       spaces(8)}
        .join(u'\n');
}

// The template expected for a key of the current theme, from the theme's own entries.
QString expectedFromTheme(const QString &variant, const QString &size, const QString &color)
{
    const StyleMap &root = useTheme()->components.mapAt(u"PyButton").mapAt(u"styles").mapAt(u"root");
    const StyleMap &sizeEntry = root.mapAt(u"size").mapAt(size);
    const StyleMap &variantEntry = root.mapAt(u"colorStyle").mapAt(color).mapAt(u"props").mapAt(variant + "Variant");
    return expectedTemplate(get_qss_style(sizeEntry), get_qss_style(sizeEntry.mapAt(u"textVariant")),
                            get_qss_style(variantEntry), get_qss_style(variantEntry.mapAt(u"slots").mapAt(u"hover")),
                            get_qss_style(variantEntry.mapAt(u"slots").mapAt(u"checked")));
}

QString withName(QString sheet, const QString &name)
{
    return sheet.replace(placeholder(), name);
}

} // namespace

Q_DECLARE_METATYPE(tessera::Sx)

// A subclass with a class name of its own.
class RenamedTrigger : public BusyTrigger
{
    Q_OBJECT
public:
    using BusyTrigger::BusyTrigger;
    using BusyTrigger::_get_stylesheet;
};

// Counts its style passes, including any that would reach it after destruction.
class CountingTrigger : public Probe
{
public:
    explicit CountingTrigger(int *passes) : m_passes(passes) {}

protected:
    void _set_stylesheet(const StyleMap &component_styled) override
    {
        ++*m_passes;
        Probe::_set_stylesheet(component_styled);
    }

private:
    int *m_passes;
};

class tst_BusyTrigger : public QObject
{
    Q_OBJECT
    // An sx State: the style pass does not follow States, so it adds nothing.
    State m_sxState{QString("QLabel { color: green; }")};

private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void defaults()
    {
        Probe w;
        QVERIFY(w.parent() == nullptr);
        QVERIFY(w.objectName().startsWith("BusyTrigger_"));
        QCOMPARE(w.objectName().size(), 12 + 36);
        QVERIFY(testsupport::isUuidText(w.objectName().mid(12)));
        Probe other;
        QVERIFY(other.objectName() != w.objectName());

        QCOMPARE(w._loadingPosition, QString("start"));
        QCOMPARE(w._color, QString("primary"));
        QCOMPARE(w._variant, QString("contained"));
        QCOMPARE(w._size, QString("medium"));
        QVERIFY(!w._text.isValid());

        // Neither "text" nor a loading indicator: the label shows nothing; loading is off.
        QCOMPARE(w.label->text(), QString());
        QCOMPARE(w.label->variant(), QString("button"));
        QVERIFY(w.loadingWidget->isHidden());
        QCOMPARE(w.loadingWidget->key(), QString("eos-icons:loading"));
        QCOMPARE(w.loadingWidget->resolvedColor(), QColor(useTheme()->resolveToken(u"palette.grey._500").value()));

        // The centred zero-margin row: label, then icon.
        auto *row = qobject_cast<QHBoxLayout *>(w.layout());
        QVERIFY(row);
        QCOMPARE(row->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(row->alignment(), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(row->count(), 2);
        QCOMPARE(labelIndex(&w), 0);
        QCOMPARE(rowIndex(&w), 1);
        QCOMPARE(w.label->parentWidget(), &w);
        QCOMPARE(w.loadingWidget->parentWidget(), &w);

        // Styling waits for the event loop.
        QCOMPARE(w.styleSheet(), QString());
        QVERIFY(!w._setupStyleSheet.isValid());
        testsupport::drainEvents();
        QVERIFY(!w.styleSheet().isEmpty());
        QVERIFY(!w.property("selected").isValid());
    }

    void classDescription()
    {
        const QMetaObject &mo = BusyTrigger::staticMetaObject;
        const int index = mo.indexOfClassInfo("Description");
        QVERIFY(index >= 0);
        const QString text = QString::fromUtf8(mo.classInfo(index).value());
        const QString expected = QStringLiteral(
            "\n    BusyTrigger\n    Base Button\n\n    Args:\n        loading?: True | False\n"
            "        loadingPosition?: \"start\" | \"center\" | \"end\"\n"
            "        loadingIndicator?: \"Loading...\" | any str\n\n    Returns:\n"
            "        new instance of BusyTrigger\n    ");
        QCOMPARE(text, expected);
        QCOMPARE(QString::fromLatin1(mo.className()), QString("tessera::BusyTrigger"));
    }

    void rowOrder_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("iconIndex");
        QTest::newRow("start") << "start" << 0;
        QTest::newRow("center") << "center" << 1;
        QTest::newRow("end") << "end" << 1;
        QTest::newRow("Start (case counts)") << "Start" << 1;
        QTest::newRow("start with space") << "start " << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("other") << "middle" << 1;
    }
    void rowOrder()
    {
        QFETCH(QString, position);
        QFETCH(int, iconIndex);
        Probe w({.loading = true, .loadingPosition = position});
        QCOMPARE(rowIndex(&w), iconIndex);
        QCOMPARE(labelIndex(&w), 1 - iconIndex);
        QVERIFY(!w.loadingWidget->isHidden());
        QCOMPARE(w.layout()->count(), 2);
    }

    void stateOnOffOnKeepsPlace_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("iconIndex");
        QTest::newRow("start") << "start" << 0;
        QTest::newRow("end") << "end" << 1;
    }
    void stateOnOffOnKeepsPlace()
    {
        QFETCH(QString, position);
        QFETCH(int, iconIndex);
        State busy(false);
        Probe w({.loading = &busy, .loadingPosition = position, .kwargs = {{"text", "Save"}}});
        w.show();
        QVERIFY(w.loadingWidget->isHidden());
        QCOMPARE(rowIndex(&w), 1);   // not moved while off

        for (int round = 0; round < 2; ++round) {
            busy.setValue(true);
            QVERIFY(w.loadingWidget->isVisible());
            QCOMPARE(rowIndex(&w), iconIndex);
            busy.setValue(false);
            QVERIFY(w.loadingWidget->isHidden());
            QCOMPARE(rowIndex(&w), iconIndex);   // hiding does not move it
        }
        busy.setValue(true);
        busy.setValue(QString("yes"));   // still on: re-inserted at the same place
        QCOMPARE(rowIndex(&w), iconIndex);
        QCOMPARE(w.layout()->count(), 2);
        QCOMPARE(w.label->text(), QString("Save"));
        QVERIFY(w.label->isVisible());
        QVERIFY(w.isEnabled());
    }

    void argumentIgnored()
    {
        State busy(true);
        Probe w({.loading = &busy});
        w._update_loading(false);
        QVERIFY(!w.loadingWidget->isHidden());
        busy.setValue(false);
        w._update_loading(true);
        QVERIFY(w.loadingWidget->isHidden());

        Probe fixed({.loading = true});
        fixed._update_loading(QVariant(false));
        QVERIFY(!fixed.loadingWidget->isHidden());
    }

    void deletedStateReadsAsOff()
    {
        auto *busy = new State(true);
        Probe w({.loading = busy, .loadingPosition = "end"});
        QVERIFY(!w.loadingWidget->isHidden());
        delete busy;
        w._update_loading();
        QVERIFY(w.loadingWidget->isHidden());
        QCOMPARE(rowIndex(&w), 1);

        // The other way round: a State outliving its trigger no longer reaches
        // it (a delivery to the dead trigger would fail the sanitizer run).
        State later(false);
        {
            Probe gone({.loading = &later});
            later.setValue(true);
            QVERIFY(!gone.loadingWidget->isHidden());
        }
        later.setValue(false);
        later.setValue(true);
    }

    void truthValues_data()
    {
        QTest::addColumn<QVariant>("loading");
        QTest::addColumn<bool>("on");
        QTest::newRow("none") << QVariant() << false;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("zero") << QVariant(0) << false;
        QTest::newRow("seven") << QVariant(7) << true;
        QTest::newRow("0.0") << QVariant(0.0) << false;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("text") << QVariant(QString("busy")) << true;
        QTest::newRow("empty list") << QVariant(QVariantList()) << false;
        QTest::newRow("list") << QVariant(QVariantList{0}) << true;
        QTest::newRow("empty map") << QVariant(QVariantMap()) << false;
    }
    void truthValues()
    {
        QFETCH(QVariant, loading);
        QFETCH(bool, on);
        auto plain = make({{"loading", loading}});
        QCOMPARE(!plain->loadingWidget->isHidden(), on);

        // The same values held in a State.
        State busy(loading);
        auto followed = make({{"loading", QVariant::fromValue(&busy)}});
        QCOMPARE(!followed->loadingWidget->isHidden(), on);
        busy.setValue(on ? QVariant(0) : QVariant(1));
        QCOMPARE(!followed->loadingWidget->isHidden(), !on);
    }

    void labelText_data()
    {
        QTest::addColumn<QVariantMap>("options");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text and indicator") << QVariantMap{{"text", "Send"}, {"loadingIndicator", "Loading..."}} << "Send";
        QTest::newRow("empty text") << QVariantMap{{"text", ""}, {"loadingIndicator", "Loading..."}} << "Loading...";
        QTest::newRow("none text") << QVariantMap{{"text", QVariant()}, {"loadingIndicator", "Loading..."}} << "Loading...";
        QTest::newRow("indicator only") << QVariantMap{{"loadingIndicator", "Loading..."}} << "Loading...";
        QTest::newRow("text only") << QVariantMap{{"text", "Send"}} << "Send";
        QTest::newRow("deferred indicator")
            << QVariantMap{{"loadingIndicator", QVariant::fromValue(deferredTr("Gallery", "Please wait"))}}
            << "Please wait";
    }
    void labelText()
    {
        QFETCH(QVariantMap, options);
        QFETCH(QString, shown);
        for (const bool loading : {false, true}) {
            options.insert("loading", loading);
            auto w = make(options);
            QCOMPARE(w->label->text(), shown);
        }
    }

    void indicatorStateHandedToLabel()
    {
        State indicator(QString("Loading..."));
        Probe w({.loadingIndicator = &indicator});
        QCOMPARE(w.label->text(), QString("Loading..."));
        indicator.setValue(QString("Almost there"));
        QCOMPARE(w.label->text(), QString("Almost there"));

        // A "text" given as a State is the label's text instead.
        State text(QString("Upload"));
        Probe withText({.loadingIndicator = &indicator, .kwargs = {{"text", QVariant::fromValue(&text)}}});
        QCOMPARE(withText.label->text(), QString("Upload"));
    }

    void kwargsKeptWhole()
    {
        auto created = make({{"text", "Go"}, {"href", "#top"}, {"size", "small"}, {"loading", true}});
        QCOMPARE(created->label->text(), QString("Go"));

        const QVariantMap extra{{"text", "Go"}, {"href", "#top"}, {"disableRipple", true}};
        Probe w({.size = "small", .kwargs = extra});
        QCOMPARE(w._kwargs, extra);
        QCOMPARE(w._text, QVariant("Go"));
        QCOMPARE(w._size, QString("small"));
    }

    void textOptionsRejectedWhenNotTexts_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        for (const char *name : {"loadingPosition", "color", "variant", "size"}) {
            QTest::addRow("%s none", name) << name << QVariant();
            QTest::addRow("%s number", name) << name << QVariant(3);
            QTest::addRow("%s flag", name) << name << QVariant(true);
            QTest::addRow("%s list", name) << name << QVariant(QStringList{"start"});
        }
    }
    void textOptionsRejectedWhenNotTexts()
    {
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        const int before = liveTriggers();
        QString named;
        try {
            std::unique_ptr<QWidget> w(create(modulePath, {{"text", "Go"}, {option, value}}));
            QFAIL("construction should have been refused");
        } catch (const OptionError &e) {
            named = e.option();
            QVERIFY2(QString::fromUtf8(e.what()).contains(option), e.what());
        }
        QCOMPARE(named, option);
        QCOMPARE(liveTriggers(), before);
        // Texts of any content are accepted.
        auto w = make({{option, QString("anything")}});
        QVERIFY(w);
    }

    void exactTemplateForOneKey()
    {
        Probe w;
        const QString tpl = w._get_stylesheet("contained", "medium", "primary", useTheme()->palette.mode);
        const QString expected = expectedFromTheme("contained", "medium", "primary");
        QCOMPARE(testsupport::lines(tpl), testsupport::lines(expected));
        QCOMPARE(tpl, expected);
        QVERIFY(tpl.contains(useTheme()->resolveToken(u"palette.primary.main").value()));

        testsupport::drainEvents();
        QCOMPARE(w.styleSheet(), withName(expected, w.objectName()));
    }

    void fixedPiecesAre204Characters()
    {
        const QString empty = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "components.PyButton.styles.root.size.medium",
                                 StyleMap{{"textVariant", StyleMap{}}});
            testsupport::setPath(data, "components.PyButton.styles.root.colorStyle.primary.props.containedVariant",
                                 StyleMap{{"slots", StyleMap{{"hover", StyleMap{}}, {"checked", StyleMap{}}}}});
        });
        setTheme(empty);
        Probe w;
        const QString tpl = w._get_stylesheet("contained", "medium", "primary", useTheme()->palette.mode);
        QCOMPARE(tpl.count(placeholder()), 3);
        QString fixed = tpl;
        fixed.remove(placeholder());
        QCOMPARE(fixed.size(), 204);
        QCOMPARE(tpl, expectedTemplate({}, {}, {}, {}, {}));
    }

    void widgetsShareOneBuildWithTheirOwnNames()
    {
        // A fresh theme, so no entry for it is memoised yet.
        setTheme(testsupport::registerVariant("light", [](StyleMap &) {}));
        testsupport::drainEvents();
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();
        const int builds = memo.builds();
        const int hits = memo.hits();

        Probe a;
        Probe b({.loading = true});
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.hits(), hits + 1);
        for (Probe *w : {&a, &b}) {
            const QString sheet = w->styleSheet();
            QCOMPARE(sheet.count("#" + w->objectName()), 3);
            QVERIFY(sheet.contains(spaces(12) + "#" + w->objectName() + "{\n"));
            QVERIFY(sheet.contains(spaces(12) + "#" + w->objectName() + ":hover {\n"));
            QVERIFY(sheet.contains(spaces(12) + "#" + w->objectName() + "[selected=true] {\n"));
            QVERIFY(!sheet.contains(placeholder()));
        }
        QVERIFY(!a.styleSheet().contains(b.objectName()));
        QCOMPARE(QString(a.styleSheet()).replace(a.objectName(), b.objectName()), b.styleSheet());

        // The same theme set again: both widgets restyle from the memo.
        const QString before = a.styleSheet();
        setTheme(useTheme()->name());
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.hits(), hits + 3);
        QCOMPARE(a.styleSheet(), before);

        // Another palette mode misses the memo.
        setTheme(testsupport::registerVariant("dark", [](StyleMap &) {}));
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 2);
        QVERIFY(a.styleSheet() != before);
        QCOMPARE(a.styleSheet(), withName(expectedFromTheme("contained", "medium", "primary"), a.objectName()));
    }

    void sameModeOtherThemeGetsItsOwnColours()
    {
        Probe w;
        testsupport::drainEvents();
        QVERIFY(!w.styleSheet().contains("#123456"));
        const QString recoloured = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data,
                                 "components.PyButton.styles.root.colorStyle.primary.props.containedVariant.backgroundColor",
                                 "#123456");
        });
        setTheme(recoloured);
        testsupport::drainEvents();
        QCOMPARE(useTheme()->palette.mode, QString("light"));
        QVERIFY2(w.styleSheet().contains("background-color: #123456"), qPrintable(w.styleSheet()));
        setTheme("light");
        testsupport::drainEvents();
        QVERIFY(!w.styleSheet().contains("#123456"));
    }

    void classIsPartOfTheKey()
    {
        Probe plain;
        RenamedTrigger renamed;
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();
        const QString mode = useTheme()->palette.mode;
        plain._get_stylesheet("text", "small", "secondary", mode);
        const int builds = memo.builds();
        QCOMPARE(plain._get_stylesheet("text", "small", "secondary", mode),
                 renamed._get_stylesheet("text", "small", "secondary", mode));
        QCOMPARE(memo.builds(), builds + 1);
    }

    void normalisation_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("styledVariant");
        QTest::addColumn<QString>("styledColor");
        QTest::newRow("extended") << "extended" << "primary" << "contained" << "primary";
        QTest::newRow("outlinedExtended") << "outlinedExtended" << "primary" << "outlined" << "primary";
        // "Extended" is cut first; what that joins up is then renamed.
        QTest::newRow("cut, then renamed") << "extExtendedended" << "primary" << "contained" << "primary";
        QTest::newRow("inherit colour") << "text" << "inherit" << "text" << "default";
        QTest::newRow("both") << "extended" << "inherit" << "contained" << "default";
        QTest::newRow("case kept") << "Outlined" << "Inherit" << "Outlined" << "Inherit";
    }
    void normalisation()
    {
        QFETCH(QString, variant);
        QFETCH(QString, color);
        QFETCH(QString, styledVariant);
        QFETCH(QString, styledColor);
        Probe w({.color = color, .variant = variant});
        testsupport::drainEvents();
        // The property is written before the variant is normalised.
        QCOMPARE(w.property("variant").toString(), variant);
        QCOMPARE(w._variant, styledVariant);
        QCOMPARE(w._color, styledColor);
        if (useTheme()->components.findPath(QStringLiteral("PyButton.styles.root.colorStyle.%1.props.%2Variant")
                                                .arg(styledColor, styledVariant))) {
            QCOMPARE(w.styleSheet(), withName(expectedFromTheme(styledVariant, "medium", styledColor), w.objectName()));
        } else {
            QCOMPARE(w.styleSheet(), QString());   // a key the theme lacks ends the pass
        }
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(w.property("variant").toString(), styledVariant);
    }

    void extendedAloneLooksUpTheBareVariantKey()
    {
        const QString withBare = testsupport::registerVariant("light", [](StyleMap &data) {
            const StyleValue *contained =
                data.findPath(u"components.PyButton.styles.root.colorStyle.primary.props.containedVariant");
            StyleMap bare = contained->map();
            bare.insert("backgroundColor", "#abcdef");
            testsupport::setPath(data, "components.PyButton.styles.root.colorStyle.primary.props.Variant", bare);
        });
        Probe lightOnly({.variant = "Extended"});
        testsupport::drainEvents();
        QCOMPARE(lightOnly._variant, QString());
        QCOMPARE(lightOnly.styleSheet(), QString());

        setTheme(withBare);
        Probe w({.variant = "Extended"});
        testsupport::drainEvents();
        QCOMPARE(w._variant, QString());
        QVERIFY2(w.styleSheet().contains("background-color: #abcdef"), qPrintable(w.styleSheet()));
        QVERIFY(lightOnly.styleSheet().contains("background-color: #abcdef"));
    }

    void sxForms_data()
    {
        QTest::addColumn<Sx>("sx");
        QTest::addColumn<QString>("kind");
        const StyleMap red{{"color", "red"}, {"&:hover", StyleMap{{"color", "blue"}}}};
        QTest::newRow("none") << Sx() << "nothing";
        QTest::newRow("empty text") << Sx(QString()) << "nothing";
        QTest::newRow("empty mapping") << Sx(StyleMap()) << "nothing";
        QTest::newRow("function returning a number") << Sx(Sx::Function([] { return QVariant(42); })) << "nothing";
        QTest::newRow("state") << Sx(&m_sxState) << "nothing";
        QTest::newRow("mapping") << Sx(red) << "mapping";
        QTest::newRow("function returning a mapping") << Sx(Sx::Function([red] { return red.toVariant(); })) << "mapping";
        QTest::newRow("function returning text")
            << Sx(Sx::Function([] { return QVariant(QString("QLabel { color: green; }")); })) << "text";
        QTest::newRow("text") << Sx("QLabel { color: green; }") << "text";
    }
    void sxForms()
    {
        QFETCH(Sx, sx);
        QFETCH(QString, kind);
        Probe w({.sx = sx});
        testsupport::drainEvents();
        const QString theme = withName(expectedFromTheme("contained", "medium", "primary"), w.objectName());
        QString added;
        if (kind == "mapping")
            added = get_qss_style(StyleMap{{"color", "red"}, {"&:hover", StyleMap{{"color", "blue"}}}},
                                  "#" + w.objectName());
        else if (kind == "text")
            added = "QLabel { color: green; }";
        QCOMPARE(w.styleSheet(), theme + added);
        if (kind == "mapping") {
            QVERIFY(added.contains("#" + w.objectName()));
            QVERIFY(added.contains("red"));
        }
    }

    void sxFunctionCalledOncePerPass()
    {
        auto calls = std::make_shared<int>(0);
        Probe w({.sx = Sx::Function([calls] {
                     ++*calls;
                     return QVariant(QString());
                 })});
        testsupport::drainEvents();
        QCOMPARE(*calls, 1);
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(*calls, 2);
    }

    void lruDropsTheLeastRecentlyUsedAt129()
    {
        Probe w;
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();
        // The mode is part of the key only, so distinct modes make distinct entries.
        const auto get = [&w](int i) { return w._get_stylesheet("contained", "medium", "primary", QString("m%1").arg(i)); };
        for (int i = 0; i < 128; ++i)
            get(i);
        QCOMPARE(memo.size(), 128);
        int builds = memo.builds();
        get(0);                        // now the most recently used
        QCOMPARE(memo.builds(), builds);
        get(128);                      // the 129th key drops the least recently used, m1
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.size(), 128);
        builds = memo.builds();
        get(0);
        get(2);
        get(128);
        QCOMPARE(memo.builds(), builds);
        get(1);
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.size(), 128);
    }

    void missingThemeEntryEndsThePassQuietly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no PyButton") << "components.PyButton";
        QTest::newRow("no styles") << "components.PyButton.styles";
        QTest::newRow("no root") << "components.PyButton.styles.root";
        QTest::newRow("no size") << "components.PyButton.styles.root.size.medium";
        QTest::newRow("no textVariant") << "components.PyButton.styles.root.size.medium.textVariant";
        QTest::newRow("no colour") << "components.PyButton.styles.root.colorStyle.primary";
        QTest::newRow("no variant") << "components.PyButton.styles.root.colorStyle.primary.props.containedVariant";
        QTest::newRow("no hover")
            << "components.PyButton.styles.root.colorStyle.primary.props.containedVariant.slots.hover";
        QTest::newRow("no checked")
            << "components.PyButton.styles.root.colorStyle.primary.props.containedVariant.slots.checked";
    }
    void missingThemeEntryEndsThePassQuietly()
    {
        QFETCH(QString, path);
        const QString broken = testsupport::registerWithout("light", path);
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();

        State busy(true);
        Probe styled;
        testsupport::drainEvents();
        const QString previous = styled.styleSheet();
        QVERIFY(!previous.isEmpty());

        setTheme(broken);
        const int builds = memo.builds();
        Probe fresh({.loading = &busy, .loadingPosition = "end"});
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds);   // nothing memoised
        QVERIFY(fresh._setupStyleSheet.failed());
        QCOMPARE(fresh.styleSheet(), QString());
        QCOMPARE(styled.styleSheet(), previous);

        // The indicator still works.
        QVERIFY(!fresh.loadingWidget->isHidden());
        QCOMPARE(rowIndex(&fresh), 1);
        busy.setValue(false);
        QVERIFY(fresh.loadingWidget->isHidden());

        // The next theme change tries again.
        setTheme("light");
        testsupport::drainEvents();
        QVERIFY(!fresh._setupStyleSheet.failed());
        QCOMPARE(fresh.styleSheet(), withName(expectedFromTheme("contained", "medium", "primary"), fresh.objectName()));
    }

    void failingSxFunctionKeepsThePreviousSheet()
    {
        auto fail = std::make_shared<bool>(false);
        Probe w({.sx = Sx::Function([fail]() -> QVariant {
                     if (*fail)
                         throw std::runtime_error("no style");
                     return QString("QLabel { color: green; }");
                 })});
        testsupport::drainEvents();
        const QString previous = w.styleSheet();
        QVERIFY(previous.endsWith("QLabel { color: green; }"));
        *fail = true;
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(w._setupStyleSheet.failed());
        QCOMPARE(w.styleSheet(), previous);
    }

    void destructionCancelsOnlyAPendingTask()
    {
        int passes = 0;
        // Destroyed after the timer fired but before the task ran.
        Task pending;
        {
            CountingTrigger w(&passes);
            QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);   // the zero-delay timer only
            QVERIFY(w._setupStyleSheet.isValid());
            QVERIFY(!w._setupStyleSheet.done());
            pending = w._setupStyleSheet;
        }
        QVERIFY(pending.cancelled());
        testsupport::drainEvents();
        QCOMPARE(passes, 0);

        // Destroyed after the latest task finished: nothing to cancel.
        Task finished;
        {
            Probe w;
            testsupport::drainEvents();
            finished = w._setupStyleSheet;
            QVERIFY(finished.done());
        }
        QVERIFY(!finished.cancelled());
        QVERIFY(!finished.failed());

        // Destroyed before any task was scheduled, with timers from construction
        // and from a theme change still pending: nothing runs for it.
        {
            auto *w = new CountingTrigger(&passes);
            setTheme("dark");
            QVERIFY(!w->_setupStyleSheet.isValid());
            delete w;
        }
        testsupport::drainEvents();
        QCOMPARE(passes, 0);
    }
};

QTEST_MAIN(tst_BusyTrigger)
#include "tst_busy_trigger.moc"
