// tessera-theme-check as a user runs it: exit status, the problems it names
// and the places it gives for them, and the style sheets it prints.

#include <tessera/kit/registry.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"
#include "theme_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

struct Run
{
    int code = -1;
    QString output;
};

Run runTool(const QStringList &arguments)
{
    QProcess process;
    process.setProgram(QStringLiteral(THEME_CHECK));
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

QString source(const char *relative)
{
    return QStringLiteral(TESSERA_SOURCE_DIR "/") + QLatin1String(relative);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of line \a line (1-based) of \a text.
QString lineOf(const QByteArray &text, int line)
{
    return QString::fromUtf8(text).split(u'\n').value(line - 1);
}

} // namespace

class tst_ThemeCheck : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_files = 0;

    QString write(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("theme%1.json").arg(++m_files));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

private Q_SLOTS:
    void usableFilesPass_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("sample ocean theme") << source("examples/themes/ocean.json");
        // Every built-in theme the kit ships, whatever its name: this is their checker.
        const QDir builtIn(source("kit/themes"));
        const QStringList themes = builtIn.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        QVERIFY(themes.contains(QStringLiteral("light.json")) && themes.contains(QStringLiteral("dark.json")));
        for (const QString &theme : themes)
            QTest::addRow("built-in %s", qPrintable(theme)) << builtIn.filePath(theme);
    }
    void usableFilesPass()
    {
        QFETCH(QString, file);
        const Run run = runTool({file});
        QVERIFY2(run.code == 0, qPrintable(run.output));
        QVERIFY2(run.output.startsWith(file + QStringLiteral(": ok:")), qPrintable(run.output));
    }

    // Each key path the widgets read, dropped in turn from a complete theme.
    void eachDroppedPathIsNamed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("optional");
        for (const ThemeRequirement &req : themeRequirements())
            QTest::newRow(qPrintable(req.path)) << req.path << req.optional;
    }
    void eachDroppedPathIsNamed()
    {
        QFETCH(QString, path);
        QFETCH(bool, optional);
        StyleMap data = StyleMap::fromJson(readFile(source("kit/themes/light.json")));
        QVERIFY(data.removePath(path));
        const QByteArray text = data.toJson(true);
        const QString file = write(text);

        const Run run = runTool({file});
        if (optional) {
            // The widgets do without it.
            QVERIFY2(run.code == 0, qPrintable(run.output));
            return;
        }
        QVERIFY2(run.code == 1, qPrintable(run.output));
        const QString message = QStringLiteral("error: missing key path \"%1\"").arg(path);
        const QStringList lines = run.output.split(u'\n');
        const auto it = std::find_if(lines.cbegin(), lines.cend(), [&](const QString &l) { return l.contains(message); });
        QVERIFY2(it != lines.cend(), qPrintable(run.output));

        // The place is the nearest enclosing object that is left: the '{' after its key.
        QString parent = path.left(path.lastIndexOf(u'.'));
        while (!parent.isEmpty() && !data.findPath(parent))
            parent = parent.left(std::max<qsizetype>(0, parent.lastIndexOf(u'.')));
        static const QRegularExpression place(QStringLiteral("^(.*):(\\d+):(\\d+): error:"));
        const auto m = place.match(*it);
        QVERIFY2(m.hasMatch(), qPrintable(*it));
        QCOMPARE(m.captured(1), file);
        const int line = m.captured(2).toInt();
        const int column = m.captured(3).toInt();
        const QString at = lineOf(text, line);
        QCOMPARE(at.mid(column - 1, 1), QStringLiteral("{"));
        if (parent.isEmpty()) {
            QCOMPARE(line, 1);
            QVERIFY2(it->contains(QLatin1String("nearest enclosing object: the document")), qPrintable(*it));
        } else {
            const QString key = parent.mid(parent.lastIndexOf(u'.') + 1);
            QVERIFY2(at.left(column - 1).contains(u'"' + key + QStringLiteral("\":")), qPrintable(at));
            QVERIFY2(it->contains(QStringLiteral("nearest enclosing object: \"%1\"").arg(parent)), qPrintable(*it));
        }
    }

    void problemsArePlaced_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mistyped value") << testsupport::json("{\n  'extends': 'light',\n  'palette': {\n    'mode': 3\n  }\n}")
                                        << QString(":4:13: error: key path \"palette.mode\" must be a text");
        QTest::newRow("null replaces a mapping")
            << testsupport::json("{'extends': 'dark',\n 'components': {'KnobField': {'styles': null}}}")
            << QString(":2:41: error: key path \"components.KnobField.styles\" must be a mapping");
        // Columns count characters: the u-umlaut is two bytes.
        QTest::newRow("columns in characters")
            << testsupport::json("{'name': 'Meeresgr\xc3\xbcn', 'extends': 'light', 'palette': {'mode': false}}")
            << QString(":1:64: error: key path \"palette.mode\" must be a text");
        QTest::newRow("escaped key") << testsupport::json("{'extends': 'light', 'pal\\u0065tte': {'mode': 1}}")
                                     << QString(":1:47: error: key path \"palette.mode\" must be a text");
        QTest::newRow("missing under a parent")
            << testsupport::json("{\n  'palette': {\n    'mode': 'light'\n  }\n}")
            << QString(":2:14: error: missing key path \"palette.grey._500\" (nearest enclosing object: \"palette\")");
        QTest::newRow("missing at the top")
            << testsupport::json("{\n  'palette': {\n    'mode': 'light'\n  }\n}")
            << QString(":1:1: error: missing key path \"typography.button\" (nearest enclosing object: the document)");
        QTest::newRow("syntax") << testsupport::json("{\n  'extends': 'light',\n  'palette': {\n}}}") << QString(":4:3: error: ");
        QTest::newRow("array") << testsupport::json("{'extends': 'light', 'palette': {'mode': ['a']}}")
                               << QString(":1:42: error: key path \"palette.mode\": arrays are not allowed");
        QTest::newRow("unknown base") << testsupport::json("{\n  'extends': 'sea'\n}")
                                      << QString(":2:14: error: \"extends\" must name a registered theme");
        QTest::newRow("empty name") << testsupport::json("{'name': '', 'extends': 'light'}")
                                    << QString(":1:10: error: key path \"name\" must be a non-empty text");
    }
    void problemsArePlaced()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString file = write(content);
        const Run run = runTool({file});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.output.contains(file + expected), qPrintable(run.output));
    }

    // Unread names and token paths that name nothing are most often typing mistakes.
    void suspectNamesWarnWithoutFailing()
    {
        const QString file = write(testsupport::json(
            "{'extends': 'light',\n 'colours': {},\n 'components': {'Knobfield': {'styles': {'root': {}}}},\n"
            " 'palette': {'divider': 'palette.grey._5OO', 'text': {'disabled': 'palette.grey._500'}}}"));
        const Run run = runTool({file});
        QVERIFY2(run.code == 0, qPrintable(run.output));
        QVERIFY2(run.output.contains(file + QStringLiteral(":2:13: warning: \"colours\"")), qPrintable(run.output));
        QVERIFY2(run.output.contains(file + QStringLiteral(":3:30: warning: component \"Knobfield\"")), qPrintable(run.output));
        QVERIFY2(run.output.contains(file + QStringLiteral(":4:25: warning: \"palette.grey._5OO\" looks like a token path")),
                 qPrintable(run.output));
        QVERIFY2(!run.output.contains(QStringLiteral("\"palette.grey._500\" looks like")), qPrintable(run.output));
    }

    void laterFilesExtendEarlierOnes()
    {
        const QString base = write(testsupport::json("{'name': 'deep', 'extends': 'dark', 'palette': {'primary': {'main': '#00838f'}}}"));
        const QString derived = write(testsupport::json("{'name': 'deeper', 'extends': 'deep'}"));
        const Run both = runTool({base, derived});
        QVERIFY2(both.code == 0, qPrintable(both.output));
        QVERIFY2(both.output.contains(derived + QStringLiteral(": ok: theme \"deeper\" extends \"deep\"")), qPrintable(both.output));

        const Run alone = runTool({derived});
        QCOMPARE(alone.code, 1);

        // One bad file fails the run, whatever the others are.
        const QString bad = write(testsupport::json("{'extends': 'light', 'palette': {'mode': 1}}"));
        QCOMPARE(runTool({base, bad, derived}).code, 1);
    }

    // A value the JSON reader cannot hold is a problem of the file, not a crash.
    void outOfRangeNumberFails()
    {
        const QString file = write(testsupport::json("{'extends': 'light', 'shape': {'borderRadius': 2e308}}"));
        const Run run = runTool({file});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.output.startsWith(file + u':') && run.output.contains(QLatin1String(": error: ")), qPrintable(run.output));
    }

    void unreadableFileFails()
    {
        const QString missing = m_dir.filePath(QStringLiteral("no-such-theme.json"));
        const Run run = runTool({missing});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.output.contains(missing + QStringLiteral(": error: cannot read")), qPrintable(run.output));
    }

    void printsTheStyleSheetOfAClass_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("themed");
        const QStringList themed{"FieldShell", "BusyTrigger", "KnobField", "StepperField", "CalendarField"};
        for (const QString &path : knownModules()) {
            try {
                loadModule(path);
            } catch (const ModuleError &) {
                continue; // not built
            }
            const QString className = moduleClassName(path);
            QTest::newRow(qPrintable(className)) << className << themed.contains(className);
        }
    }
    void printsTheStyleSheetOfAClass()
    {
        QFETCH(QString, className);
        QFETCH(bool, themed);
        const Run run = runTool({QStringLiteral("--theme"), QStringLiteral("dark"), QStringLiteral("--print-qss"), className});
        QVERIFY2(run.code == 0, qPrintable(run.output));
        static const QRegularExpression header(QStringLiteral("^/\\* (\\w+) \\(.*\\), theme \"dark\", object name \"([^\"]+)\" \\*/"));
        const auto m = header.match(run.output);
        QVERIFY2(m.hasMatch(), qPrintable(run.output));
        QCOMPARE(m.captured(1), className);
        if (themed)
            QVERIFY2(run.output.contains(u'#' + m.captured(2)), qPrintable(run.output));
    }

    void printedStyleFollowsTheTheme()
    {
        try {
            loadModule(QStringLiteral("tessera.material.button.busy_trigger"));
        } catch (const ModuleError &) {
            QSKIP("busy_trigger is not built");
        }
        const QString lightMain = themeData(QStringLiteral("light")).findPath(u"palette.primary.main")->text();
        const QString darkMain = themeData(QStringLiteral("dark")).findPath(u"palette.primary.main")->text();
        QVERIFY(lightMain != darkMain);

        const Run light = runTool({QStringLiteral("--print-qss"), QStringLiteral("BusyTrigger")});
        QCOMPARE(light.code, 0);
        QVERIFY2(light.output.contains(lightMain, Qt::CaseInsensitive), qPrintable(light.output));
        const Run dark = runTool({QStringLiteral("--theme"), QStringLiteral("dark"), QStringLiteral("--print-qss"), QStringLiteral("BusyTrigger")});
        QCOMPARE(dark.code, 0);
        QVERIFY2(dark.output.contains(darkMain, Qt::CaseInsensitive), qPrintable(dark.output));
        QVERIFY(!dark.output.contains(lightMain, Qt::CaseInsensitive));

        // The theme of the last file given, with named options for the widget.
        const Run ocean = runTool({source("examples/themes/ocean.json"), QStringLiteral("--print-qss"), QStringLiteral("BusyTrigger"),
                                   QStringLiteral("--option"), QStringLiteral("variant=outlined")});
        QCOMPARE(ocean.code, 0);
        // Its tints are derived from its own primary colour (alpha(palette.primary.main, 0.04) on hover).
        QVERIFY2(ocean.output.contains(QLatin1String("rgba(0, 105, 92, 0.04)")), qPrintable(ocean.output));
    }

    // --contrast builds every widget in the theme and measures what its sheets
    // draw; a colour expression the kit cannot evaluate is refused at its place.
    void contrastAndExpressions_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: the built-in or sample file of the row's name
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("line");             // the line of the entry the first expected finding names
        QTest::addColumn<QStringList>("expected");
        const QStringList clean{QStringLiteral(" below the minimum")};
        QTest::newRow("built-in light") << QByteArray() << source("kit/themes/light.json") << 0 << 0 << clean;
        QTest::newRow("built-in dark") << QByteArray() << source("kit/themes/dark.json") << 0 << 0 << clean;
        QTest::newRow("sample ocean") << QByteArray() << source("examples/themes/ocean.json") << 0 << 0 << clean;
        QTest::newRow("pale primary on light paper")
            << QByteArray("{\n  \"name\": \"pale\",\n  \"extends\": \"light\",\n  \"palette\": {\n"
                          "    \"primary\": { \"main\": \"#90caf9\" }\n  }\n}\n")
            << QString() << 1 << 5
            << QStringList{QStringLiteral("Button color=primary variant=outlined: #name text #90caf9 on #"),
                           QStringLiteral("needs 4.5:1 (colour \"palette.primary.main\")"),
                           QStringLiteral("border #90caf9"), QStringLiteral("needs 3.0:1")};
        // PopupTrigger's focus outline is measured on both of its looks (the
        // platform look over the palette's button face).
        QTest::newRow("faint popup focus ring")
            << QByteArray("{\n  \"name\": \"faint\",\n  \"extends\": \"light\",\n  \"components\": {\"PopupTrigger\": {\"styles\": {\n"
                          "    \"focus\": {\"outlineStyle\": \"solid\", \"outlineWidth\": 1, \"outlineColor\": \"#eeeeee\"}}}}\n}\n")
            << QString() << 1 << 5
            << QStringList{QStringLiteral("PopupTrigger closed look: QPushButton:focus focus ring #eeeeee"),
                           QStringLiteral("PopupTrigger: QPushButton:focus focus ring #eeeeee on #eceff3 (over the button face)"),
                           QStringLiteral("and 1px wide, needs 2px")};
        QTest::newRow("malformed expression")
            << QByteArray("{\n  \"name\": \"broken\",\n  \"extends\": \"light\",\n  \"components\": {\"KnobField\": {\"styles\": {\n"
                          "    \"root\": {\"color\": \"alpha(palette.primary.main)\"}}}}\n}\n")
            << QString() << 1 << 5
            << QStringList{QStringLiteral("key path \"components.KnobField.styles.root.color\": colour expression "
                                          "\"alpha(palette.primary.main)\": alpha() takes two arguments")};
    }
    void contrastAndExpressions()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, file);
        QFETCH(int, code);
        QFETCH(int, line);
        QFETCH(QStringList, expected);
        if (!content.isEmpty())
            file = write(content);
        const Run run = runTool({QStringLiteral("--contrast"), file});
        QVERIFY2(run.code == code, qPrintable(run.output));
        for (const QString &text : expected)
            QVERIFY2(run.output.contains(text), qPrintable(text + u'\n' + run.output));
        if (code == 0) {
            // Every widget was built and measured, and nothing fell short.
            static const QRegularExpression summary(QStringLiteral(": contrast: (\\d+) pairs measured, 0 below the minimum"));
            const auto m = summary.match(run.output);
            QVERIFY2(m.hasMatch(), qPrintable(run.output));
            QVERIFY2(m.captured(1).toInt() > 500, qPrintable(run.output));
        } else {
            // The first finding is placed at the entry that gives its colour.
            const QString at = QStringLiteral("%1:%2:").arg(file).arg(line);
            const QStringList lines = run.output.split(u'\n');
            QVERIFY2(std::any_of(lines.cbegin(), lines.cend(),
                                 [&](const QString &l) { return l.startsWith(at) && l.contains(expected.first()); }),
                     qPrintable(run.output));
        }
    }

    // The gallery's theme previewer follows its file on disk: an edit is
    // checked and applied, a broken version keeps the last good theme and
    // shows the checker's FILE:LINE:COLUMN lines, and a file that an editor
    // replaces (written beside it and renamed over it) is still followed.
    void previewerFollowsItsFile()
    {
        const auto restore = qScopeGuard([] { setTheme("light"); });
        const QString path = m_dir.filePath(QStringLiteral("live.json"));
        const auto save = [&path](const QByteArray &content, bool replace) {
            if (replace) {
                QSaveFile file(path);
                return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
            }
            QFile file(path);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
        };
        const auto theme = [](const char *primary) {
            return QByteArray(R"({"name": "live", "extends": "light", "palette": {"primary": {"main": ")") + primary
                + QByteArray(R"("}}})");
        };
        const auto primary = [] { return useTheme()->resolveToken(u"palette.primary.main").value_or(QString()); };
        // Generous: each version is checked by a process of its own, and the machine may be busy.
        constexpr int Wait = 60000;

        QStringList shown{QStringLiteral("nothing reported yet")};
        gallery::ThemeFile file([&shown](const QStringList &problems) { shown = problems; });
        QVERIFY(save(theme("#123456"), false));
        QVERIFY(file.load(path));
        QCOMPARE(shown, QStringList());
        QCOMPARE(primary(), QStringLiteral("#123456"));

        QVERIFY(save(theme("#654321"), false));
        QTRY_COMPARE_WITH_TIMEOUT(primary(), QStringLiteral("#654321"), Wait);

        QVERIFY(save(R"({"name": "live", "extends": "light", "palette": )", false));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), Wait);
        QVERIFY2(shown.first().startsWith(path + u':') && shown.first().contains(QLatin1String(": error: ")),
                 qPrintable(shown.join(u'\n')));
        QCOMPARE(primary(), QStringLiteral("#654321"));   // the last good theme stays

        QVERIFY(save(theme("#0000aa"), true));
        QTRY_COMPARE_WITH_TIMEOUT(primary(), QStringLiteral("#0000aa"), Wait);
        QCOMPARE(shown, QStringList());
    }

    void unknownClassIsRefused()
    {
        const Run run = runTool({QStringLiteral("--print-qss"), QStringLiteral("NoSuchWidget")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.output.contains(QLatin1String("no widget class \"NoSuchWidget\"")), qPrintable(run.output));
    }
};

QTEST_MAIN(tst_ThemeCheck)
#include "tst_theme_check.moc"
