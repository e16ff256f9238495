#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

class tst_Theme : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

    static QString errorOf(const std::function<void()> &fn)
    {
        try {
            fn();
        } catch (const ThemeError &e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }

private Q_SLOTS:
    void builtinsAreCompleteAndDiffer()
    {
        QCOMPARE(themeNames().mid(0, 2), QStringList({"light", "dark"}));
        for (const QString &name : {QString("light"), QString("dark")}) {
            const QStringList problems = validateTheme(themeData(name));
            QVERIFY2(problems.isEmpty(), qPrintable(name + ": " + problems.join("\n")));
        }
        setTheme("dark");
        QCOMPARE(useTheme()->palette().mode, QString("dark"));
        const QString darkPaper = useTheme()->resolveToken(u"palette.background.paper").value();
        setTheme("light");
        QCOMPARE(useTheme()->palette().mode, QString("light"));
        QVERIFY(useTheme()->resolveToken(u"palette.background.paper").value() != darkPaper);
        QVERIFY(useTheme()->components().contains(u"PyButton"));
        QVERIFY(useTheme()->typography().contains(u"button"));
    }

    void oneThemeObjectOneSignal()
    {
        Theme *theme = useTheme();
        QSignalSpy spy(theme->signal, &ThemeSignal::changed);
        setTheme("dark");
        setTheme("dark");
        QCOMPARE(useTheme(), theme);
        QCOMPARE(spy.count(), 2);
        setTheme("light");
        QCOMPARE(spy.count(), 3);
    }

    void identityChangesOnlyWhenTheDataChanges()
    {
        setTheme("light");
        const quint64 light = useTheme()->identity();
        setTheme("light");
        QCOMPARE(useTheme()->identity(), light);
        setTheme("dark");
        const quint64 dark = useTheme()->identity();
        QVERIFY(dark != light);
        setTheme("light");
        QCOMPARE(useTheme()->identity(), light);

        // Two themes of the same mode are told apart; re-registering a name is new data.
        const QString other = testsupport::registerVariant("light", [](StyleMap &d) {
            testsupport::setPath(d, "palette.primary.main", "#ff0000");
        });
        setTheme(other);
        QCOMPARE(useTheme()->palette().mode, QString("light"));
        const quint64 first = useTheme()->identity();
        QVERIFY(first != light);
        registerTheme(other, themeData(other));
        setTheme(other);
        QVERIFY(useTheme()->identity() != first);
        setTheme("light");
    }

    void unknownNameIsRefusedAndNothingChanges()
    {
        setTheme("dark");
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);
        const QString error = errorOf([] { setTheme("no-such-theme"); });
        QVERIFY(error.contains("\"no-such-theme\""));
        QCOMPARE(useTheme()->name(), QString("dark"));
        QCOMPARE(spy.count(), 0);
        setTheme("light");
    }

    void tokensNameTextsAndNumbersByTheirPath()
    {
        const QString name = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "palette.custom.main", "#112233");
            testsupport::setPath(data, "palette.custom.width", 1.5);
            StyleMap custom = data.findPath(u"palette.custom")->map();
            custom.insert("dotted.key", "#445566");
            custom.insert("", StyleMap{{"inner", "#778899"}});
            testsupport::setPath(data, "palette.custom", custom);
        });
        setTheme(name);
        const Theme *theme = useTheme();
        QCOMPARE(theme->resolveToken(u"palette.custom.main"), QString("#112233"));
        QCOMPARE(theme->resolveToken(QString("palette.custom.main")), QString("#112233"));
        QCOMPARE(theme->resolveToken(u"palette.custom.width"), QString("1.5"));
        QCOMPARE(theme->resolveToken(u"palette.mode"), QString("light"));
        QCOMPARE(theme->resolveToken(u"palette.custom..inner"), QString("#778899"));
        QVERIFY(!theme->resolveToken(u"palette.custom"));             // a mapping
        QVERIFY(!theme->resolveToken(u"palette.custom.dotted.key"));  // no path reaches a dotted key
        QVERIFY(!theme->resolveToken(u"custom.main"));
        QVERIFY(!theme->resolveToken(u"inner"));
        QVERIFY(!theme->resolveToken(u""));
        // Every token of the document, and nothing else, as the path reads it.
        setTheme("dark");
        QVERIFY(!useTheme()->resolveToken(u"palette.custom.main"));
        // Registered anew under the same name: the new document's tokens, not the old ones.
        StyleMap changed = themeData(name);
        testsupport::setPath(changed, "palette.custom.main", "#abcdef");
        registerTheme(name, changed);
        setTheme(name);
        QCOMPARE(useTheme()->resolveToken(u"palette.custom.main"), QString("#abcdef"));
        setTheme("dark");
        QCOMPARE(useTheme()->resolveToken(u"palette.background.paper"),
                 themeData("dark").findPath(u"palette.background.paper")->text());
        setTheme("light");
    }

    void everyPathFindsItsOwnToken()
    {
        // Paths of every length around the index's eight-byte steps, paths that
        // differ only in their last character, and characters beyond ASCII.
        QStringList keys;
        for (int length = 1; length <= 18; ++length)
            keys << QString(length, u'k') << QString(length - 1, u'k') + u'j';
        keys << QString::fromUtf8("é") << QString::fromUtf8("ée") << QStringLiteral("K");
        keys.removeDuplicates();
        const QString name = testsupport::registerVariant("light", [&keys](StyleMap &data) {
            for (const QString &key : std::as_const(keys))
                testsupport::setPath(data, "palette.len." + key, "value of " + key);
        });
        setTheme(name);
        const Theme *theme = useTheme();
        for (const QString &key : std::as_const(keys)) {
            const QString path = "palette.len." + key;
            const QString *found = theme->findToken(path);
            QVERIFY2(found, qPrintable(path));
            QCOMPARE(*found, "value of " + key);
            QCOMPARE(theme->resolveToken(path), *found);
            QVERIFY(!theme->findToken(path + u'x'));
            QVERIFY(!theme->findToken(path.chopped(1) + u'x'));
        }
        QVERIFY(!theme->findToken(u"palette.len"));
        QVERIFY(!theme->findToken(u"palette.len."));
        setTheme("light");
    }

    void loadThemeFiles()
    {
        // A complete theme derived from a built-in one, with a changed colour.
        const QString path = write("ocean.json", testsupport::json("{'name': 'ocean', 'extends': 'light', 'palette': {'primary': {'main': '#006064'}}}"));
        QCOMPARE(loadTheme(path), QString("ocean"));
        setTheme("ocean");
        QCOMPARE(useTheme()->resolveToken(u"palette.primary.main").value(), QString("#006064"));
        // The base's tints are derived from the palette, so they follow the new colour.
        QCOMPARE(useTheme()->components().findPath(u"PyButton.styles.root.colorStyle.primary.props.textVariant.slots.hover.backgroundColor")
                     ->text(),
                 QString("rgba(0, 96, 100, 0.04)"));
        QCOMPARE(useTheme()->resolveToken(u"palette.primary.contrastText"),
                 themeData("light").findPath(u"palette.primary.contrastText")->text());
        setTheme("light");

        // The sample theme shipped with the examples loads too.
        const QString sample = QStringLiteral(TESSERA_SOURCE_DIR "/examples/themes/ocean.json");
        if (QFile::exists(sample))
            QVERIFY(!loadTheme(sample).isEmpty());
    }

    void badFilesAreRefusedNamingFileAndPlace_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("syntax") << QByteArray("{\n \"name\": \"x\",\n \"palette\": {\n}}}") << QString("line 4, column 3");
        QTest::newRow("missing path") << testsupport::json("{'name': 'bare', 'palette': {'mode': 'light'}}")
                                      << QString("missing key path \"components.FieldShell.styles.title\"");
        QTest::newRow("wrong kind") << testsupport::json("{'extends': 'light', 'palette': {'mode': 3}}")
                                    << QString("key path \"palette.mode\" must be a text");
        QTest::newRow("bad extends") << testsupport::json("{'extends': 'nope'}") << QString("\"extends\" must name a registered theme");
        QTest::newRow("removed by null") << testsupport::json("{'extends': 'dark', 'components': {'KnobField': {'styles': null}}}")
                                         << QString("key path \"components.KnobField.styles\" must be a mapping");
    }
    void badFilesAreRefusedNamingFileAndPlace()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        setTheme("dark");
        const QStringList before = themeNames();
        const QString path = write(QString("bad-%1.json").arg(QTest::currentDataTag()).replace(' ', '_'), content);
        const QString error = errorOf([&] { loadTheme(path); });
        QVERIFY2(error.startsWith(path + ": "), qPrintable(error));
        QVERIFY2(error.contains(expected), qPrintable(error));
        QCOMPARE(themeNames(), before);
        QCOMPARE(useTheme()->name(), QString("dark"));
        setTheme("light");
    }

    // Colour expressions in theme values: evaluated when the theme is applied,
    // refused by loadTheme() naming the key path and the expression.
    void colourExpressions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("result");   // the colour, or a part of the error
        QTest::addColumn<bool>("valid");
        QTest::newRow("alpha of a token") << "alpha(palette.primary.main, 0.12)" << "rgba(21, 101, 192, 0.12)" << true;
        QTest::newRow("percentage") << "alpha(#1565c0, 12%)" << "rgba(21, 101, 192, 0.12)" << true;
        QTest::newRow("darken") << "darken(palette.common.white, 0.5)" << "#808080" << true;
        QTest::newRow("lighten keeps alpha") << "lighten(rgba(0, 0, 0, 0.5), 1)" << "rgba(255, 255, 255, 0.5)" << true;
        QTest::newRow("nested, spaces") << "alpha( darken(white, 0.5) , 0.25 )" << "rgba(128, 128, 128, 0.25)" << true;
        QTest::newRow("token holding an expression") << "alpha(palette.action.hover, 1)" << "#000000" << true;
        QTest::newRow("one argument") << "alpha(palette.primary.main)" << "takes two arguments" << false;
        QTest::newRow("three arguments") << "alpha(red, 0.1, 2)" << "takes two arguments" << false;
        QTest::newRow("unknown token") << "alpha(palette.no.such, 0.5)" << "unknown token path \"palette.no.such\"" << false;
        QTest::newRow("token not a colour") << "alpha(palette.mode, 0.5)" << "not a colour" << false;
        QTest::newRow("factor out of range") << "darken(red, 1.5)" << "from 0 to 1" << false;
        QTest::newRow("not a colour") << "lighten(notacolour, 0.5)" << "neither a token path nor a colour" << false;
        QTest::newRow("unbalanced") << "alpha((red, 0.5)" << "unbalanced parentheses" << false;
    }
    void colourExpressions()
    {
        QFETCH(QString, expression);
        QFETCH(QString, result);
        QFETCH(bool, valid);
        const QString name = QStringLiteral("expr-%1").arg(QTest::currentDataTag()).replace(' ', '-').replace(',', '-');
        StyleMap document{{"name", name},
                          {"extends", "light"},
                          {"components", StyleMap{{"KnobField", StyleMap{{"styles", StyleMap{{"root", StyleMap{{"color", expression}}}}}}}}}};
        const QString path = write(name + ".json", document.toJson());
        const QString error = errorOf([&] { loadTheme(path); });
        if (valid) {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            setTheme(name);
            QCOMPARE(useTheme()->components().findPath(u"KnobField.styles.root.color")->text(), result);
            setTheme("light");
        } else {
            QVERIFY2(error.contains("key path \"components.KnobField.styles.root.color\""), qPrintable(error));
            QVERIFY2(error.contains(u'"' + expression + u'"'), qPrintable(error));
            QVERIFY2(error.contains(result), qPrintable(error));
            QVERIFY(!themeNames().contains(name));
        }
    }

    // The editor fields render a missing "root" as no declarations, so a
    // theme without one loads (with "root": null too).
    void themeWithoutEditorRootLoads_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("asNull");
        for (const char *editor : {"KnobField", "StepperField", "CalendarField"}) {
            QTest::addRow("%s absent", editor) << QString(editor) << false;
            QTest::addRow("%s null", editor) << QString(editor) << true;
        }
    }
    void themeWithoutEditorRootLoads()
    {
        QFETCH(QString, editor);
        QFETCH(bool, asNull);
        const QString root = "components." + editor + ".styles.root";
        const QString name = QString("rootless-%1-%2").arg(editor).arg(asNull);
        StyleMap data = themeData("light");
        QVERIFY(data.removePath(root));
        if (asNull)
            testsupport::setPath(data, root, StyleValue());
        data.insert("name", name);
        const QString path = write(name + ".json", data.toJson(true));
        QCOMPARE(errorOf([&] { QCOMPARE(loadTheme(path), name); }), QString());
        QVERIFY(validateTheme(themeData(name)).isEmpty());
    }

    void missingFileIsRefused()
    {
        QVERIFY(errorOf([] { loadTheme("/nonexistent/theme.json"); }).startsWith("/nonexistent/theme.json: cannot read"));
    }

    void everyRequiredPathIsChecked()
    {
        const StyleMap light = themeData("light");
        for (const ThemeRequirement &req : themeRequirements()) {
            if (req.optional)
                continue;
            StyleMap copy = light;
            QVERIFY2(copy.removePath(req.path), qPrintable(req.path));
            const QStringList problems = validateTheme(copy);
            QVERIFY2(problems.join('\n').contains("\"" + req.path + "\""), qPrintable(req.path));
        }
    }
};

QTEST_MAIN(tst_Theme)
#include "tst_theme.moc"
