#include <tessera/kit/options.h>
#include <tessera/kit/registry.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

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
    }

    void searchPathsStartWithTheKitsLayout()
    {
        // The build tree lays out programs and libraries as an install does.
        const QStringList dirs = moduleSearchPaths();
        QVERIFY(!dirs.isEmpty());
        QVERIFY2(!QDir(dirs.first()).entryList({"*tessera_kit*"}, QDir::Files).isEmpty(), qPrintable(dirs.first()));
        QCoreApplication::addLibraryPath(QDir::tempPath());
        QVERIFY(moduleSearchPaths().contains(QDir::cleanPath(QDir::tempPath())));
        QCoreApplication::removeLibraryPath(QDir::tempPath());
    }

    // A copy of this test in a scratch folder, away from the kit's layout (it
    // still finds the kit through its run path), loads a module in a child
    // process: the error names the module and where the library was looked for.
    void loadErrorsSayWhereTheyLooked_data()
    {
        QTest::addColumn<bool>("brokenFile");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no library") << false << "cannot load module \"tessera.material.button.busy_trigger\": "
                                                "no tessera_busy_trigger library in %1, ";
        QTest::newRow("broken library") << true << "cannot load module \"tessera.material.button.busy_trigger\" from %1: ";
    }
    void loadErrorsSayWhereTheyLooked()
    {
        QFETCH(bool, brokenFile);
        QFETCH(QString, expected);
        QTemporaryDir scratch;
        QVERIFY(QDir(scratch.path()).mkpath("bin") && QDir(scratch.path()).mkpath("lib"));
        const QString program = scratch.filePath("bin/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        const QString libs = QDir::cleanPath(QDir(scratch.path()).absoluteFilePath("bin/" TESSERA_MODULE_DIR_FROM_BIN));
        if (brokenFile) {
#if defined(Q_OS_WIN)
            QFile junk(libs + "/tessera_busy_trigger.dll");
#elif defined(Q_OS_DARWIN)
            QFile junk(libs + "/libtessera_busy_trigger.dylib");
#else
            QFile junk(libs + "/libtessera_busy_trigger.so." + QString::number(TESSERA_VERSION_MAJOR));
#endif
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a library") > 0);
        }
        QProcess child;
        child.start(program, {"--load", "tessera.material.button.busy_trigger"});
        QVERIFY(child.waitForFinished(60000));
        const QString error = QString::fromUtf8(child.readAllStandardOutput());
        if (child.exitCode() == 0 && !brokenFile)
            QSKIP("an installed copy of the library answered the system's library search");
        QCOMPARE(child.exitCode(), 1);
        QVERIFY2(error.startsWith(expected.arg(libs)), qPrintable(error));
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

int main(int argc, char **argv)
{
    // "--load MODULE_PATH": what loadErrorsSayWhereTheyLooked() runs in a child process.
    if (argc == 3 && qstrcmp(argv[1], "--load") == 0) {
        QCoreApplication app(argc, argv);
        try {
            loadModule(QString::fromLocal8Bit(argv[2]));
        } catch (const ModuleError &e) {
            std::fputs(e.what(), stdout);
            return 1;
        }
        return 0;
    }
    QApplication app(argc, argv);
    tst_Registry test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_registry.moc"
