#include <tessera/kit/options.h>
#include <tessera/kit/registry.h>

#include <QLabel>
#include <QTest>

using namespace tessera;

class tst_Registry : public QObject
{
    Q_OBJECT
private:
    static QString moduleErrorOf(const QString &path)
    {
        try {
            loadModule(path);
        } catch (const ModuleError &e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }

private Q_SLOTS:
    void refusesMalformedAndUnknownPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << "malformed module path";
        QTest::newRow("one name") << "tessera" << "malformed module path";
        QTest::newRow("parent dir") << "tessera.material.../../etc/passwd" << "malformed module path";
        QTest::newRow("slash") << "tessera/material/button/busy_trigger" << "malformed module path";
        QTest::newRow("upper case") << "Tessera.Material.Button.BusyTrigger" << "malformed module path";
        QTest::newRow("absolute") << "/usr/lib/libc.so" << "malformed module path";
        QTest::newRow("unknown") << "tessera.material.button.nothing" << "unknown module path";
        QTest::newRow("other group") << "tessera.material.textfield.busy_trigger" << "unknown module path";
        QTest::newRow("system lib name") << "libc.so" << "unknown module path";
    }
    void refusesMalformedAndUnknownPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const QString error = moduleErrorOf(path);
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY(!registeredModules().contains(path));
    }

    void knownModulesAreTheTenDeliverables()
    {
        const QStringList known = knownModules();
        QCOMPARE(known.size(), 10);
        QVERIFY(known.contains("tessera.material.textfield.field_shell"));
        QVERIFY(known.contains("tessera.material.button.orb_action"));
        QVERIFY(known.contains("tessera.material.textfield.text_field"));
        QVERIFY(known.contains("tessera.material.textfield.select_field"));
        QVERIFY(!moduleDirectory().isEmpty());
    }

    void createConvertsOptionsAndNamesBadOnes()
    {
        const QString path = "tessera.test.label";
        registerModule(path, "Label", [](const QVariantMap &o) -> QWidget * {
            const QString text = option::text(o, "text");
            const bool wrap = option::flag(o, "wrap");
            auto *l = new QLabel(text);
            l->setWordWrap(wrap);
            return l;
        });
        QVERIFY(!registerModule(path, "Other", nullptr));   // first registration wins
        QCOMPARE(moduleClassName(path), QString("Label"));
        loadModule(path);   // registered already: a no-op
        std::unique_ptr<QWidget> w(create(path, {{"text", "hi"}, {"wrap", true}}));
        QCOMPARE(static_cast<QLabel *>(w.get())->text(), QString("hi"));
        try {
            create(path, {{"text", 5}});
            QFAIL("no error");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QString("text"));
            QVERIFY(QString(e.what()).contains("option \"text\""));
        }
    }

    void optionConverters()
    {
        QWidget a, b;
        State s(true);
        const QVariantMap o{{"list", QVariant::fromValue(QList<QWidget *>{&a, &b})},
                            {"vlist", QVariantList{QVariant::fromValue(&a)}},
                            {"bad", QVariantList{QVariant(1)}},
                            {"state", QVariant::fromValue(&s)},
                            {"none", QVariant()},
                            {"sxmap", QVariantMap{{"color", "red"}}},
                            {"sxtext", QString("#x {}")}};
        QCOMPARE(option::widgetList(o, "list")->size(), 2);
        QCOMPARE(option::widgetList(o, "vlist")->first(), &a);
        QVERIFY(!option::widgetList(o, "none").has_value());
        QVERIFY_THROWS_EXCEPTION(OptionError, option::widgetList(o, "bad"));
        QVERIFY_THROWS_EXCEPTION(OptionError, option::widgetList(o, "state"));
        QCOMPARE(option::flagOrState(o, "state").state(), &s);
        QCOMPARE(option::textOrState(o, "state").state(), &s);
        QVERIFY(option::flagOrState(o, "absent", true).plain() && *option::flagOrState(o, "absent", true).plain());
        QVERIFY_THROWS_EXCEPTION(OptionError, option::flag(o, "sxtext"));
        QVERIFY(option::sx(o, "sxmap").map());
        QVERIFY(option::sx(o, "sxtext").text());
        QVERIFY(option::sx(o, "none").isNone());
        QVERIFY_THROWS_EXCEPTION(OptionError, option::sx(o, "list"));
        QCOMPARE(option::rest(o, {"list", "vlist", "bad", "state", "none"}).keys(), QStringList({"sxmap", "sxtext"}));
        QVERIFY_THROWS_EXCEPTION(OptionError, option::forbid(o, "state", "set by the widget"));
    }
};

QTEST_MAIN(tst_Registry)
#include "tst_registry.moc"
