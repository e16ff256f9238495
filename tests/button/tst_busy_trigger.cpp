#include <tessera/material/button/busy_trigger_p.h>

#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/restyle_p.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMetaClassInfo>
#include <QTest>

#include <memory>
#include <stdexcept>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::Sx)

namespace {

// Reaches the protected parts, and the private data through p(). No
// Q_OBJECT, so its memo key is BusyTrigger's.
class Probe : public BusyTrigger
{
public:
    using BusyTrigger::BusyTrigger;
    using BusyTrigger::_get_stylesheet;
    using BusyTrigger::_set_stylesheet;
    using BusyTrigger::styleTask;
    using BusyTrigger::_update_loading;
    BusyTriggerPrivate *p() { return BusyTriggerPrivate::get(this); }
    static const LruMemo<QString> &_stylesheetMemo() { return BusyTriggerPrivate::_stylesheetMemo(); }
};

// Counts its style passes, including any that would reach it after destruction.
class CountingTrigger : public Probe
{
public:
    explicit CountingTrigger(int *passes) : m_passes(passes) {}

protected:
    void _set_stylesheet(const StyleMap &styled) override
    {
        ++*m_passes;
        Probe::_set_stylesheet(styled);
    }

private:
    int *m_passes;
};

int indexIn(BusyTrigger *w, QWidget *child)
{
    return qobject_cast<QBoxLayout *>(w->layout())->indexOf(child);
}

std::unique_ptr<BusyTrigger> make(const QVariantMap &options)
{
    return std::unique_ptr<BusyTrigger>(
        qobject_cast<BusyTrigger *>(create("tessera.material.button.busy_trigger", options)));
}

QString placeholder() { return ObjectNamePlaceholder.toString(); }

QString spaces(int n) { return QString(n, u' '); }

// The template written out line by line, as a reader of the sheet sees it.
QString expectedTemplate(const QStringList &f)
{
    const QString n = placeholder();
    return QStringList{{}, spaces(12) + "#" + n + "{", spaces(16) + f[0], spaces(16) + f[1], spaces(16) + f[2],
                       spaces(12) + "}", spaces(12) + "#" + n + ":hover {", spaces(16) + f[3], spaces(12) + "}",
                       spaces(12) + "#" + n + "[selected=true] {", spaces(16) + f[4], spaces(12) + "}", spaces(8)}
        .join(u'\n');
}

// The sheet expected for widget \a w under the current theme, from the theme's own entries.
QString expectedSheet(QWidget *w, const QString &variant = "contained", const QString &color = "primary")
{
    const StyleMap &root = useTheme()->components().mapAt(u"PyButton").mapAt(u"styles").mapAt(u"root");
    const StyleMap &size = root.mapAt(u"size").mapAt(u"medium");
    const StyleMap &props = root.mapAt(u"colorStyle").mapAt(color).mapAt(u"props").mapAt(variant + "Variant");
    return expectedTemplate({get_qss_style(size), get_qss_style(size.mapAt(u"textVariant")), get_qss_style(props),
                             get_qss_style(props.mapAt(u"slots").mapAt(u"hover")),
                             get_qss_style(props.mapAt(u"slots").mapAt(u"checked"))})
        .replace(placeholder(), w->objectName());
}

} // namespace

// A subclass with a class name of its own.
class RenamedTrigger : public BusyTrigger
{
    Q_OBJECT
public:
    using BusyTrigger::_get_stylesheet;
};

class tst_BusyTrigger : public QObject
{
    Q_OBJECT
    State m_sxState{QString("QLabel { color: green; }")};

private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void defaults()
    {
        Probe w, other;
        QVERIFY(w.objectName().startsWith("BusyTrigger_"));
        QVERIFY(testsupport::isUuidText(w.objectName().mid(12)));
        QVERIFY(other.objectName() != w.objectName());
        QVERIFY(!w.p()->_text.isValid());
        QCOMPARE(w.label->text(), QString());
        QCOMPARE(w.label->variant(), QString("button"));
        QVERIFY(w.loadingWidget->isHidden());
        QCOMPARE(w.loadingWidget->key(), QString("eos-icons:loading"));
        QCOMPARE(w.loadingWidget->resolvedColor(), QColor(useTheme()->resolveToken(u"palette.grey._500").value()));

        auto *row = qobject_cast<QHBoxLayout *>(w.layout());
        QVERIFY(row);
        QCOMPARE(row->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(row->alignment(), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(indexIn(&w, w.label), 0);
        QCOMPARE(indexIn(&w, w.loadingWidget), 1);

        // Styling waits for the event loop.
        QCOMPARE(w.styleSheet(), QString());
        testsupport::drainEvents();
        QCOMPARE(w.styleSheet(), expectedSheet(&w));

        const QMetaObject &mo = BusyTrigger::staticMetaObject;
        QCOMPARE(QString::fromUtf8(mo.classInfo(mo.indexOfClassInfo("Description")).value()),
                 QString("\n    BusyTrigger\n    Base Button\n\n    Args:\n        loading?: True | False\n"
                         "        loadingPosition?: \"start\" | \"center\" | \"end\"\n"
                         "        loadingIndicator?: \"Loading...\" | any str\n\n    Returns:\n"
                         "        new instance of BusyTrigger\n    "));
    }

    void rowOrder_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("iconIndex");
        QTest::newRow("start") << "start" << 0;
        QTest::newRow("center") << "center" << 1;
        QTest::newRow("end") << "end" << 1;
        QTest::newRow("Start: case counts") << "Start" << 1;
        QTest::newRow("other") << "middle" << 1;
    }
    void rowOrder()
    {
        QFETCH(QString, position);
        QFETCH(int, iconIndex);
        State busy(false);
        Probe w({.loading = &busy, .loadingPosition = position, .kwargs = {{"text", "Save"}}});
        QCOMPARE(indexIn(&w, w.loadingWidget), 1);   // not moved while off
        for (int round = 0; round < 2; ++round) {
            busy.setValue(true);
            QVERIFY(!w.loadingWidget->isHidden());
            QCOMPARE(indexIn(&w, w.loadingWidget), iconIndex);
            QCOMPARE(indexIn(&w, w.label), 1 - iconIndex);
            busy.setValue(false);
            QVERIFY(w.loadingWidget->isHidden());
            QCOMPARE(indexIn(&w, w.loadingWidget), iconIndex);   // hiding does not move it
        }
        busy.setValue(true);
        busy.setValue("still on");   // re-inserted at the same place
        QCOMPARE(indexIn(&w, w.loadingWidget), iconIndex);
        QCOMPARE(w.layout()->count(), 2);
        QCOMPARE(w.label->text(), QString("Save"));
        QVERIFY(!w.label->isHidden());
        QVERIFY(w.isEnabled());

        // The slot's argument does not count: the State is read afresh.
        w._update_loading(false);
        QVERIFY(!w.loadingWidget->isHidden());
        busy.setValue(false);
        w._update_loading(true);
        QVERIFY(w.loadingWidget->isHidden());
    }

    void stateDeletedFirstReadsAsOff()
    {
        auto *busy = new State(true);
        Probe w({.loading = busy});
        QVERIFY(!w.loadingWidget->isHidden());
        delete busy;
        w._update_loading();
        QVERIFY(w.loadingWidget->isHidden());

        // A State outliving its trigger no longer reaches it (the sanitizer run would catch it).
        State later(false);
        {
            Probe gone({.loading = &later});
        }
        later.setValue(true);
    }

    void truthValues_data()
    {
        QTest::addColumn<QVariant>("loading");
        QTest::addColumn<bool>("on");
        QTest::newRow("none") << QVariant() << false;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("zero") << QVariant(0) << false;
        QTest::newRow("seven") << QVariant(7) << true;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("text") << QVariant("busy") << true;
        QTest::newRow("empty list") << QVariant(QVariantList()) << false;
        QTest::newRow("list") << QVariant(QVariantList{0}) << true;
    }
    void truthValues()
    {
        QFETCH(QVariant, loading);
        QFETCH(bool, on);
        QCOMPARE(!make({{"loading", loading}})->loadingWidget->isHidden(), on);
        State busy(loading);
        QCOMPARE(!make({{"loading", QVariant::fromValue(&busy)}})->loadingWidget->isHidden(), on);
    }

    void labelText_data()
    {
        QTest::addColumn<QVariantMap>("options");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text wins") << QVariantMap{{"text", "Send"}, {"loadingIndicator", "Loading..."}} << "Send";
        QTest::newRow("empty text") << QVariantMap{{"text", ""}, {"loadingIndicator", "Loading..."}} << "Loading...";
        QTest::newRow("no text") << QVariantMap{{"loadingIndicator", "Loading..."}} << "Loading...";
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
            QCOMPARE(make(options)->label->text(), shown);
        }
    }

    void optionsKept()
    {
        State indicator(QString("Loading..."));
        const QVariantMap extra{{"href", "#top"}, {"disableRipple", true}};
        Probe w({.loadingIndicator = &indicator, .kwargs = extra});
        QCOMPARE(w.p()->_kwargs, extra);
        indicator.setValue(QString("Almost there"));   // handed to the label unchanged
        QCOMPARE(w.label->text(), QString("Almost there"));
    }

    void textOptionsRefusedWhenNotTexts_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        for (const char *name : {"loadingPosition", "color", "variant", "size"}) {
            QTest::addRow("%s none", name) << name << QVariant();
            QTest::addRow("%s number", name) << name << QVariant(3);
        }
    }
    void textOptionsRefusedWhenNotTexts()
    {
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        const qsizetype widgets = QApplication::allWidgets().size();
        try {
            make({{"text", "Go"}, {option, value}});
            QFAIL("construction should have been refused");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), option);
        }
        QCOMPARE(QApplication::allWidgets().size(), widgets);   // nothing half-built
    }

    void fixedPiecesAre204Characters()
    {
        setTheme(testsupport::registerVariant("light", [](StyleMap &data) {
            const QString root = "components.PyButton.styles.root.";
            testsupport::setPath(data, root + "size.medium", StyleMap{{"textVariant", StyleMap{}}});
            testsupport::setPath(data, root + "colorStyle.primary.props.containedVariant",
                                 StyleMap{{"slots", StyleMap{{"hover", StyleMap{}}, {"checked", StyleMap{}}}}});
        }));
        Probe w;
        const QString tpl = w._get_stylesheet("contained", "medium", "primary", useTheme()->palette().mode);
        QCOMPARE(tpl, expectedTemplate({{}, {}, {}, {}, {}}));
        QCOMPARE(tpl.size() - 3 * placeholder().size(), 204);
    }

    void widgetsShareOneBuildWithTheirOwnNames()
    {
        setTheme(testsupport::registerVariant("light", [](StyleMap &) {}));   // nothing memoised for it yet
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();
        const int builds = memo.builds(), hits = memo.hits();
        Probe a, b;
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.hits(), hits + 1);
        for (Probe *w : {&a, &b}) {
            QCOMPARE(w->styleSheet(), expectedSheet(w));
            QCOMPARE(w->styleSheet().count("#" + w->objectName()), 3);
        }

        // The same theme set again is served from the memo.
        setTheme(useTheme()->name());
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 1);
        QCOMPARE(memo.hits(), hits + 3);

        // Another theme of the same mode with other colours is built anew.
        setTheme(testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(
                data, "components.PyButton.styles.root.colorStyle.primary.props.containedVariant.backgroundColor",
                "#123456");
        }));
        testsupport::drainEvents();
        QCOMPARE(memo.builds(), builds + 2);
        QVERIFY2(a.styleSheet().contains("background-color: #123456"), qPrintable(a.styleSheet()));

        // The class is part of the key.
        RenamedTrigger renamed;
        renamed._get_stylesheet("contained", "medium", "primary", useTheme()->palette().mode);
        QCOMPARE(memo.builds(), builds + 3);
    }

    void normalisation_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("styledVariant");
        QTest::addColumn<QString>("styledColor");
        QTest::newRow("extended") << "extended" << "primary" << "contained" << "primary";
        QTest::newRow("outlinedExtended") << "outlinedExtended" << "primary" << "outlined" << "primary";
        QTest::newRow("cut, then renamed") << "extExtendedended" << "primary" << "contained" << "primary";
        QTest::newRow("inherit") << "text" << "inherit" << "text" << "default";
        QTest::newRow("case counts") << "Extended" << "Inherit" << "" << "Inherit";
    }
    void normalisation()
    {
        QFETCH(QString, variant);
        QFETCH(QString, color);
        QFETCH(QString, styledVariant);
        QFETCH(QString, styledColor);
        // A theme that also has a bare "Variant" entry, the key "Extended" leads to.
        setTheme(testsupport::registerVariant("light", [](StyleMap &data) {
            const QString colorStyle = "components.PyButton.styles.root.colorStyle.";
            StyleMap bare = data.findPath(colorStyle + "primary.props.containedVariant")->map();
            bare.insert("backgroundColor", "#abcdef");
            testsupport::setPath(data, colorStyle + "Inherit", StyleMap{{"props", StyleMap{{"Variant", bare}}}});
        }));
        Probe w({.color = color, .variant = variant});
        testsupport::drainEvents();
        // Only the sheet is built from the normalised names: the options (the
        // widget's properties) keep the values given.
        QCOMPARE(w.styleSheet(), expectedSheet(&w, styledVariant, styledColor));
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(w.property("variant").toString(), variant);
        QCOMPARE(w.property("color").toString(), color);
        QCOMPARE(w.p()->_variant, variant);
        QCOMPARE(w.p()->_color, color);
    }

    void properties_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("restyles");
        QTest::newRow("loading") << QByteArray("loading") << "loading" << QVariant(true) << false;
        QTest::newRow("loadingPosition") << QByteArray("loadingPosition") << "loadingPosition" << QVariant("end") << false;
        QTest::newRow("text") << QByteArray("text") << "text" << QVariant("Send") << false;
        QTest::newRow("color") << QByteArray("color") << "color" << QVariant("secondary") << true;
        QTest::newRow("variant") << QByteArray("variant") << "variant" << QVariant("outlined") << true;
        QTest::newRow("themeSize") << QByteArray("themeSize") << "size" << QVariant("small") << true;
    }
    void properties()
    {
        QFETCH(QByteArray, property);
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        QFETCH(bool, restyles);
        setTheme("light");
        BusyTrigger w;
        std::function<QWidget *()> reference;
        if (restyles)
            reference = [&] { return create("tessera.material.button.busy_trigger", {{option, value}}); };
        if (!testsupport::checkPropertyWrite(&w, property.constData(), value, reference))
            return;
        if (property == "loading") {
            QVERIFY(w.loadingWidget->isVisibleTo(&w));
            QCOMPARE(indexIn(&w, w.loadingWidget), 0);
        } else if (property == "loadingPosition") {
            w.setLoading(true);
            QCOMPARE(indexIn(&w, w.loadingWidget), 1);
        } else if (property == "text") {
            QCOMPARE(w.label->text(), QString("Send"));
        }
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("empty color") << QByteArray("color") << QVariant(QString());
        QTest::newRow("color with a brace") << QByteArray("color") << QVariant("primary}");
        QTest::newRow("variant with a space") << QByteArray("variant") << QVariant("text x");
        QTest::newRow("themeSize none") << QByteArray("themeSize") << QVariant();
    }
    void refusedWrites()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        BusyTrigger w;
        testsupport::checkRefusedWrite(&w, property.constData(), value);
    }

    void aWriteReplacesTheStateBinding()
    {
        State busy(true);
        State text(QString("Saving"));
        BusyTrigger w({.loading = &busy, .kwargs = {{"text", QVariant::fromValue(static_cast<QObject *>(&text))}}});
        QVERIFY(w.isLoading());
        QCOMPARE(w.text(), QString("Saving"));
        w.setLoading(false);
        w.setText("Save");
        busy.setValue(true);
        text.setValue(QString("Still saving"));
        QVERIFY(!w.isLoading());
        QVERIFY(!w.loadingWidget->isVisibleTo(&w));
        QCOMPARE(w.text(), QString("Save"));
    }

    void sxForms_data()
    {
        QTest::addColumn<Sx>("sx");
        QTest::addColumn<QString>("kind");
        const StyleMap red{{"color", "red"}, {"&:hover", StyleMap{{"color", "blue"}}}};
        const QString rule = "QLabel { color: green; }";
        QTest::newRow("empty text") << Sx(QString()) << "";
        QTest::newRow("empty mapping") << Sx(StyleMap()) << "";
        QTest::newRow("function returning a number") << Sx(Sx::Function([] { return QVariant(42); })) << "";
        QTest::newRow("State") << Sx(&m_sxState) << "";
        QTest::newRow("mapping") << Sx(red) << "mapping";
        QTest::newRow("function returning a mapping") << Sx(Sx::Function([red] { return red.toVariant(); })) << "mapping";
        QTest::newRow("function returning text") << Sx(Sx::Function([rule] { return QVariant(rule); })) << "text";
        QTest::newRow("text") << Sx(rule) << "text";
    }
    void sxForms()
    {
        QFETCH(Sx, sx);
        QFETCH(QString, kind);
        Probe w({.sx = sx});
        testsupport::drainEvents();
        QString added;
        if (kind == "mapping")
            added = get_qss_style(StyleMap{{"color", "red"}, {"&:hover", StyleMap{{"color", "blue"}}}},
                                  "#" + w.objectName());
        else if (kind == "text")
            added = "QLabel { color: green; }";
        QCOMPARE(w.styleSheet(), expectedSheet(&w) + added);
        QVERIFY(kind != "mapping" || added.contains("#" + w.objectName() + ":hover"));
    }

    void lruDropsTheLeastRecentlyUsedAt129()
    {
        Probe w;
        const LruMemo<QString> &memo = Probe::_stylesheetMemo();
        // The mode is part of the key only, so each mode text is an entry of its own.
        const auto get = [&w](int i) { w._get_stylesheet("contained", "medium", "primary", QString("m%1").arg(i)); };
        for (int i = 0; i < 128; ++i)
            get(i);
        QCOMPARE(memo.size(), 128);
        const int builds = memo.builds();
        get(0);     // now the most recently used
        get(128);   // drops m1
        QCOMPARE(memo.builds(), builds + 1);
        get(0);
        get(2);
        QCOMPARE(memo.builds(), builds + 1);
        get(1);
        QCOMPARE(memo.builds(), builds + 2);
        QCOMPARE(memo.size(), 128);
    }

    void failedPassKeepsTheSheetAndMemoisesNothing_data()
    {
        QTest::addColumn<QString>("path");
        const QString props = "components.PyButton.styles.root.colorStyle.primary.props.containedVariant";
        QTest::newRow("no PyButton") << "components.PyButton";
        QTest::newRow("no styles") << "components.PyButton.styles";
        QTest::newRow("no textVariant") << "components.PyButton.styles.root.size.medium.textVariant";
        QTest::newRow("no variant") << props;
        QTest::newRow("no checked") << props + ".slots.checked";
    }
    void failedPassKeepsTheSheetAndMemoisesNothing()
    {
        QFETCH(QString, path);
        State busy(true);
        Probe styled;
        testsupport::drainEvents();
        const QString previous = styled.styleSheet();

        setTheme(testsupport::registerWithout("light", path));
        const int builds = Probe::_stylesheetMemo().builds();
        Probe fresh({.loading = &busy, .loadingPosition = "end"});
        testsupport::drainEvents();
        QCOMPARE(Probe::_stylesheetMemo().builds(), builds);
        QVERIFY(fresh.styleTask().failed());
        QCOMPARE(fresh.styleSheet(), QString());
        QCOMPARE(styled.styleSheet(), previous);
        // The indicator still works.
        QVERIFY(!fresh.loadingWidget->isHidden());
        QCOMPARE(indexIn(&fresh, fresh.loadingWidget), 1);
        busy.setValue(false);
        QVERIFY(fresh.loadingWidget->isHidden());
        // The next theme change tries again.
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(fresh.styleSheet(), expectedSheet(&fresh));
    }

    void sxFunctionRunsOncePerPassAndMayFail()
    {
        auto calls = std::make_shared<int>(0);
        Probe w({.sx = Sx::Function([calls]() -> QVariant {
                     if (++*calls > 1)
                         throw std::runtime_error("no style");
                     return QString("QLabel { color: green; }");
                 })});
        testsupport::drainEvents();
        const QString previous = w.styleSheet();
        QVERIFY(previous.endsWith("QLabel { color: green; }"));
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(*calls, 2);
        QVERIFY(w.styleTask().failed());
        QCOMPARE(w.styleSheet(), previous);
    }

    void themeSwitchLaysTheTriggerOutOnce()
    {
        // The label restyles itself and the trigger re-polishes it when its own
        // sheet changes: both must land on one pass, so the layout request the
        // new look posts is answered once per switch, not once per restyle.
        Probe w;
        w.show();
        testsupport::drainEvents();
        testsupport::EventCounter requests(QEvent::LayoutRequest);
        w.installEventFilter(&requests);
        const QString lightLabel = w.label->styleText();
        for (const char *theme : {"dark", "light", "dark"}) {
            requests.count = 0;
            setTheme(theme);
            testsupport::drainEvents();
            QCOMPARE(w.styleSheet(), expectedSheet(&w));
            QCOMPARE(requests.count, 1);
        }
        QVERIFY(w.label->styleText() != lightLabel);   // the label did restyle
    }

    void destructionCancelsOnlyAPendingTask()
    {
        int passes = 0;
        Task pending;
        {
            CountingTrigger w(&passes);
            testsupport::runTimerHop();   // the zero-delay timer only
            QVERIFY(w.styleTask().isValid() && !w.styleTask().done());
            pending = w.styleTask();
        }
        QVERIFY(pending.cancelled());

        Task finished;
        {
            Probe w;
            testsupport::drainEvents();
            finished = w.styleTask();
        }
        QVERIFY(finished.done() && !finished.cancelled());

        // Destroyed with timers from construction and from a theme change still pending.
        {
            CountingTrigger w(&passes);
            setTheme("dark");
            QVERIFY(!w.styleTask().isValid());
        }
        testsupport::drainEvents();
        QCOMPARE(passes, 0);
    }

    // A child that sets the loading State from its destructor (and switches
    // the theme and the language) finds the trigger no longer listening.
    void stateSetByAChildDuringTeardown()
    {
        State loading(true);
        auto *w = new BusyTrigger({.loading = &loading});
        auto *child = new testsupport::LateSetter({{&loading, false}}, w);
        child->also = [] {
            setTheme("dark");
            i18n()->setLanguage(QStringLiteral("de"));
        };
        testsupport::drainEvents();
        delete w;
        QCOMPARE(loading.value(), QVariant(false));
        i18n()->setLanguage(QStringLiteral("en"));
        setTheme("light");
        testsupport::drainEvents();
    }
};

QTEST_MAIN(tst_BusyTrigger)
#include "tst_busy_trigger.moc"
