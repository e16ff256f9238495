// Regression tests for faults that fuzzing found in the QSS renderer and the
// theme reader: selector injection through "&" keys, text that changes the
// shape of a rule (comments, open quotes, trailing escapes, unbalanced
// brackets), unbounded growth of selectors and output, and number text.

#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace tessera;

class tst_StyleHardening : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { setTheme("light"); }

    void nestedRuleKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");   // empty: the entry is left out

        QTest::newRow("plain pseudo-state") << "&:hover" << "#w:hover { color: red; }";
        QTest::newRow("list of scoped selectors") << "&:hover, & QLabel" << "#w:hover, #w QLabel { color: red; }";
        QTest::newRow("comma inside an attribute") << "&[a=','], & QLabel" << "#w[a=','], #w QLabel { color: red; }";
        QTest::newRow("compound class") << "&.QPushButton" << "#w.QPushButton { color: red; }";
        QTest::newRow("second unscoped selector") << "&, QLabel" << "";
        QTest::newRow("universal after comma") << "&,*" << "";
        QTest::newRow("empty selector in list") << "& ," << "";
        QTest::newRow("name extended by a letter") << "&y" << "";
        QTest::newRow("name extended by a hyphen") << "&-y" << "";
        QTest::newRow("name extended by an escape") << "&\\31 " << "";
        QTest::newRow("name extended by non-ASCII") << QString("&\u00e9") << "";
        QTest::newRow("comment opener") << "& /* x */ QLabel" << "";
        QTest::newRow("open quote") << "&[a=\"]" << "";
        QTest::newRow("open parenthesis") << "&:not(" << "";
        QTest::newRow("closing bracket first") << "&]" << "";
        QTest::newRow("escape at the end") << "&\\" << "";
        QTest::newRow("form feed") << "&\f QLabel" << "";
    }
    void nestedRuleKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const StyleMap sx{{key, StyleMap{{"color", "red"}}}};
        QCOMPARE(get_qss_style(sx, "#w"), expected);
    }

    void valuesThatChangeTheRuleShape_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("kept");

        QTest::newRow("quoted family") << "\"Noto Sans\"" << true;
        QTest::newRow("gradient") << "qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 red, stop:1 blue)" << true;
        QTest::newRow("url") << "url(:/icons/x.svg)" << true;
        QTest::newRow("escaped quote in string") << "'a\\'b'" << true;
        QTest::newRow("comment opener") << "red /*" << false;
        QTest::newRow("whole comment") << "red /* x */" << false;
        QTest::newRow("open double quote") << "\"a" << false;
        QTest::newRow("open single quote") << "'" << false;
        QTest::newRow("escape at the end") << "red\\" << false;
        QTest::newRow("escaped semicolon") << "red\\;" << false;
        QTest::newRow("open parenthesis") << "rgba(0, 0, 0" << false;
        QTest::newRow("extra parenthesis") << "url(x))" << false;
        QTest::newRow("open bracket") << "[a" << false;
        QTest::newRow("form feed") << "a\fb" << false;
        QTest::newRow("semicolon inside quotes") << "'a;b'" << false;
    }
    void valuesThatChangeTheRuleShape()
    {
        QFETCH(QString, value);
        QFETCH(bool, kept);
        const StyleMap style{{"fontFamily", value}, {"padding", 2}};
        const QString expected = kept ? QString("font-family: %1; padding: 2px;").arg(value) : QString("padding: 2px;");
        QCOMPARE(get_qss_style(style), expected);
        QCOMPARE(get_qss_style(style, "#w"), "#w { " + expected + " }");
    }

    void selectorsThatChangeTheRuleShapeAreRefused_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::newRow("comment") << "#w /*";
        QTest::newRow("open quote") << "#w[a=\"x]";
        QTest::newRow("escape at the end") << "#w\\";
        QTest::newRow("open bracket") << "#w[a";
    }
    void selectorsThatChangeTheRuleShapeAreRefused()
    {
        QFETCH(QString, selector);
        QVERIFY_THROWS_EXCEPTION(StyleMapError, get_qss_style(StyleMap{{"color", "red"}}, selector));
    }

    void themeValuesThatChangeTheRuleShapeAreLeftOut()
    {
        // A theme file is user data too: a token that resolves to a comment opener is dropped.
        const QString name = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "palette.primary.main", "#1976d2 /*");
        });
        setTheme(name);
        QCOMPARE(get_qss_style(StyleMap{{"color", "palette.primary.main"}, {"padding", 1}}), QString("padding: 1px;"));
        setTheme("light");
    }

    void doubledAmpersandsCannotGrowWithoutBound()
    {
        // Each level doubles the selector ("&&" -> selector twice); 30 levels stay
        // within the nesting limit but would need gigabytes.
        StyleMap style{{"color", "red"}};
        for (int i = 0; i < 30; ++i)
            style = StyleMap{{"&&:hover", style}};
        QVERIFY_THROWS_EXCEPTION(StyleMapError, get_qss_style(style, "#" + newObjectName()));
        // Sx rendering goes the same way (a widget's build then ends; nothing is applied).
        QVERIFY_THROWS_EXCEPTION(StyleMapError, Sx(style).render(newObjectName()));

        StyleMap shallow{{"color", "red"}};
        for (int i = 0; i < 3; ++i)
            shallow = StyleMap{{"&&", shallow}};
        QCOMPARE(get_qss_style(shallow, "#w"), QString("#w#w#w#w#w#w#w#w { color: red; }"));
    }

    void outputSizeIsBounded()
    {
        const QString big(1 << 20, u'x');   // 1 Mi characters render fine
        QCOMPARE(get_qss_style(StyleMap{{"font-family", big}}).size(), big.size() + 14);

        StyleMap huge;
        for (int i = 0; i < 8; ++i)
            huge.insert(QString("p%1").arg(i), big);   // 8 Mi characters in total
        QVERIFY_THROWS_EXCEPTION(StyleMapError, get_qss_style(huge));
        QVERIFY_THROWS_EXCEPTION(StyleMapError, get_qss_style(huge, "#w"));
    }

    void numbersKeepTheirText_data()
    {
        QTest::addColumn<double>("number");
        for (double n : {0.0, -0.0, 4.0, -3.0, 0.5, 1.25, 123456789.0, 999999999.0, 1e9, 1e10, 1e15, 1e-7, 3.14159265358979,
                         std::numeric_limits<double>::infinity(), std::nan("")})
            QTest::addRow("%g", n) << n;
    }
    void numbersKeepTheirText()
    {
        // Ten significant digits, as QString::number(n, 'g', 10) writes them.
        QFETCH(double, number);
        const QString text = QString::number(number, 'g', 10);
        QCOMPARE(get_qss_style(StyleMap{{"width", number}}), "width: " + text + "px;");
        QCOMPARE(get_qss_style(StyleMap{{"fontWeight", number}}), "font-weight: " + text + ";");
    }

    void jsonKeepsNumbersOfEveryRange_data()
    {
        QTest::addColumn<double>("number");
        for (double n : {0.0, 123.0, -7.0, 0.5, 9007199254740992.0, 9.3e18, 1e19, -1e19, 1e308, -1e308, 4.9e-324})
            QTest::addRow("%g", n) << n;
    }
    void jsonKeepsNumbersOfEveryRange()
    {
        // Numbers beyond the range of a 64-bit integer once went through an
        // out-of-range conversion while written back to JSON.
        QFETCH(double, number);
        const StyleMap map{{"n", number}};
        const StyleMap again = StyleMap::fromJson(map.toJson());
        QCOMPARE(again.find(u"n")->number(), number);
        QVERIFY(again == map);
    }

    void readerRefusesOverflowingNumbersWithItsOwnError_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("above double") << testsupport::json("{'palette': {'x': 2e308}}");
        QTest::newRow("below double") << testsupport::json("{'x': -1e309}");
    }
    void readerRefusesOverflowingNumbersWithItsOwnError()
    {
        // The parser's overflow error once escaped as a foreign exception type,
        // past every caller that handles the reader's and the theme loader's errors.
        QFETCH(QByteArray, json);
        try {
            StyleMap::fromJson(json);
            QFAIL("an overflowing number was accepted");
        } catch (const StyleMapError &e) {
            QVERIFY2(QByteArray(e.what()).contains("overflow"), e.what());
        }

        QTemporaryDir dir;
        const QString path = dir.filePath("overflow.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(json);
        file.close();
        const QString before = useTheme()->name();
        try {
            loadTheme(path);
            QFAIL("loadTheme accepted an overflowing number");
        } catch (const ThemeError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).startsWith(path), e.what());
        }
        QCOMPARE(useTheme()->name(), before);
    }

    void scopedListIsUnderstoodByQt()
    {
        QLabel label;
        label.setObjectName("target");
        label.setProperty("on", true);
        label.setStyleSheet(get_qss_style(StyleMap{{"&[on=false], &[on=true]", StyleMap{{"color", "#123456"}}}}, "#target"));
        label.ensurePolished();
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor("#123456"));
    }
};

QTEST_MAIN(tst_StyleHardening)
#include "tst_style_hardening.moc"
