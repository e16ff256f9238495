#include <tessera/kit/qss.h>
#include <tessera/kit/theme.h>

#include <QApplication>
#include <QLabel>
#include "testsupport.h"

#include <QTest>

using namespace tessera;


class tst_Qss : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { setTheme("light"); }

    void declarations_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<QString>("expected");
        QTest::newRow("order and kebab case")
            << testsupport::json("{'border': 'none', 'borderTop': '1px solid red', 'background-color': '#fff'}")
            << QString("border: none; border-top: 1px solid red; background-color: #fff;");
        QTest::newRow("pixel numbers, unitless weight")
            << testsupport::json("{'borderRadius': 4, 'fontWeight': 600, 'opacity': 0.5, 'padding': 2.5}")
            << QString("border-radius: 4px; font-weight: 600; opacity: 0.5; padding: 2.5px;");
        QTest::newRow("nested skipped")
            << testsupport::json("{'color': 'red', 'slots': {'hover': {'color': 'blue'}}, 'height': 40}")
            << QString("color: red; height: 40px;");
        QTest::newRow("empty and null skipped") << testsupport::json("{'color': '', 'border': null}") << QString();
        QTest::newRow("not a token stays") << testsupport::json("{'font-family': 'Noto Sans', 'width': '1.5em', 'color': 'palette.no.such'}")
                                           << QString("font-family: Noto Sans; width: 1.5em; color: palette.no.such;");
        QTest::newRow("colour expressions")
            << testsupport::json("{'color': 'alpha(palette.primary.main, 0.5)', 'background': 'darken(#ffffff, 50%)', "
                                 "'border-color': 'lighten(alpha(palette.common.black, 0.5), 0.5)'}")
            << QString("color: rgba(21, 101, 192, 0.5); background: #808080; border-color: rgba(128, 128, 128, 0.5);");
        QTest::newRow("malformed expressions dropped")
            << testsupport::json("{'color': 'alpha(palette.primary.main)', 'background': 'alpha(palette.no.such, 0.5)', "
                                 "'border-color': 'darken(red, 2)', 'outline-color': 'alpha(red, 0.5', 'ok': '1px'}")
            << QString("ok: 1px;");
        QTest::newRow("injection dropped")
            << testsupport::json("{'color': 'red; } QWidget { color: blue', 'x{': '1', 'ok': '1px'}")
            << QString("ok: 1px;");
    }
    void declarations()
    {
        QFETCH(QByteArray, style);
        QFETCH(QString, expected);
        QCOMPARE(get_qss_style(StyleMap::fromJson(style)), expected);
    }

    void tokensFollowTheCurrentTheme()
    {
        const StyleMap style{{"color", "palette.primary.main"}, {"border", "1px solid palette.divider"}};
        setTheme("light");
        const QString light = get_qss_style(style);
        QVERIFY(light.startsWith("color: " + useTheme()->resolveToken(u"palette.primary.main").value() + ";"));
        QVERIFY(light.endsWith("border: 1px solid palette.divider;"));   // only whole values are tokens
        setTheme("dark");
        const QString dark = get_qss_style(style);
        QVERIFY(dark != light);
        QVERIFY(dark.startsWith("color: " + useTheme()->resolveToken(u"palette.primary.main").value() + ";"));
        setTheme("light");
    }

    void classNameFormsRules()
    {
        const StyleMap sx{{"color", "red"},
                          {"&:hover", StyleMap{{"color", "blue"}, {"& QLabel", StyleMap{{"padding", 2}}}}},
                          {"&[focused=true]", StyleMap{{"border", "none"}}},
                          {"QLabel", StyleMap{{"color", "green"}}}};
        QCOMPARE(get_qss_style(sx, "#w"),
                 QString("#w { color: red; }\n#w:hover { color: blue; }\n#w:hover QLabel { padding: 2px; }\n"
                         "#w[focused=true] { border: none; }"));
        QCOMPARE(get_qss_style(StyleMap{{"&:hover", StyleMap{{"color", "red"}}}}, "#w"), QString("#w:hover { color: red; }"));
        QCOMPARE(get_qss_style(StyleMap{{"&{x}", StyleMap{{"color", "red"}}}}, "#w"), QString());
        QVERIFY_THROWS_EXCEPTION(StyleMapError, get_qss_style(StyleMap{{"color", "red"}}, "#w { } QWidget"));
    }

    void noneAndWrongKinds()
    {
        QCOMPARE(get_qss_style(static_cast<const StyleValue *>(nullptr)), QString());
        const StyleValue none;
        QCOMPARE(get_qss_style(&none), QString());
        const StyleValue text("red");
        QVERIFY_THROWS_EXCEPTION(StyleLookupError, get_qss_style(&text));
    }

    void piecesAppendedToASheet()
    {
        const StyleMap style{{"color", "palette.primary.main"}, {"borderRadius", 4}, {"slots", StyleMap{{"x", 1}}}};
        QString sheet("a {\n    ");
        appendQssStyle(sheet, &style);
        QCOMPARE(sheet, "a {\n    " + get_qss_style(style));
        appendQssStyle(sheet, nullptr);
        QCOMPARE(sheet, "a {\n    " + get_qss_style(style));

        // Longer than the renderer keeps on the stack: the same text, in the same order.
        StyleMap many;
        QString expected;
        for (int i = 0; i < 120; ++i) {
            many.insert(QString("paddingLeft%1").arg(i), i);
            expected += QString("%1padding-left%2: %2px;").arg(i ? " " : "").arg(i);
        }
        QCOMPARE(get_qss_style(many), expected);
        QString appended;
        appendQssStyle(appended, &many);
        QCOMPARE(appended, expected);
        QCOMPARE(get_qss_style(StyleMap{{"&:hover", many}}, "#w"), "#w:hover { " + expected + " }");

        // What a caller may check before rendering anything: the same answers as get_qss_style.
        QCOMPARE(styleMapOf(nullptr), nullptr);
        const StyleValue none;
        QCOMPARE(styleMapOf(&none), nullptr);
        const StyleValue map(style);
        QCOMPARE(styleMapOf(&map), map.mapIf());
        const StyleValue text("red");
        QVERIFY_THROWS_EXCEPTION(StyleLookupError, styleMapOf(&text));
        const StyleValue number(4);
        QVERIFY_THROWS_EXCEPTION(StyleLookupError, styleMapOf(&number));
    }

    void renderedRulesAreUnderstoodByQt()
    {
        QLabel label;
        label.setObjectName("target");
        label.setStyleSheet(get_qss_style(StyleMap{{"color", "#123456"}, {"backgroundColor", "#abcdef"}}, "#target"));
        label.ensurePolished();
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor("#123456"));
    }

    void propertyNames()
    {
        QCOMPARE(qssPropertyName("borderTopLeftRadius"), QString("border-top-left-radius"));
        QCOMPARE(qssPropertyName("min-height"), QString("min-height"));
        QCOMPARE(qssPropertyName("selectionBackgroundColor"), QString("selection-background-color"));
        QCOMPARE(qssPropertyName(QString::fromUtf8("widthÄx")), QString::fromUtf8("width-äx"));   // beyond ASCII too
        QCOMPARE(get_qss_style(StyleMap{{"zIndex", 2}, {"lineHeight", 1.5}}), QString("z-index: 2; line-height: 1.5;"));
    }
};

QTEST_MAIN(tst_Qss)
#include "tst_qss.moc"
