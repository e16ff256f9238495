#include <tessera/kit/stylemap.h>

#include "testsupport.h"

#include <QTest>

using namespace tessera;

class tst_StyleMap : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void jsonKeepsDeclarationOrder()
    {
        const StyleMap m = StyleMap::fromJson(testsupport::json("{'zIndex': 1, 'border': 'none', 'alpha': {'b': 1, 'a': 2}, 'borderTop': '1px'}"));
        QStringList keys;
        for (const auto &[k, v] : m)
            keys << k;
        QCOMPARE(keys, QStringList({"zIndex", "border", "alpha", "borderTop"}));
        QStringList inner;
        for (const auto &[k, v] : m.mapAt(u"alpha"))
            inner << k;
        QCOMPARE(inner, QStringList({"b", "a"}));
        QCOMPARE(StyleMap::fromJson(m.toJson()), m);
    }

    void insertKeepsPositionAndCopiesAreIndependent()
    {
        StyleMap a{{"x", 1}, {"y", 2}};
        StyleMap b = a;
        b.insert("x", 5);
        b.insert("z", "t");
        QCOMPARE(a.at(u"x").number(), 1.0);
        QCOMPARE(b.begin()->first, QString("x"));
        QCOMPARE(b.at(u"x").number(), 5.0);
        QCOMPARE(b.size(), 3);
        QVERIFY(b.remove(u"y"));
        QVERIFY(!b.contains(u"y"));
        QCOMPARE(a.size(), 2);
    }

    void pathsAndLookupErrors()
    {
        StyleMap m = StyleMap::fromJson(testsupport::json("{'palette': {'grey': {'_500': '#9e9e9e'}}}"));
        QCOMPARE(m.findPath(u"palette.grey._500")->text(), QString("#9e9e9e"));
        QCOMPARE(m.findPath(u"palette.grey._600"), nullptr);
        QCOMPARE(m.findPath(u"palette.grey._500.x"), nullptr);
        QVERIFY_THROWS_EXCEPTION(StyleLookupError, m.at(u"nope"));
        QVERIFY_THROWS_EXCEPTION(StyleLookupError, m.mapAt(u"palette").mapAt(u"grey").mapAt(u"_500"));
        QVERIFY(m.removePath(u"palette.grey._500"));
        QVERIFY(m.mapAt(u"palette").mapAt(u"grey").isEmpty());
        QVERIFY(!m.removePath(u"palette.none.x"));
    }

    void malformedJsonNamesThePosition_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("expected");
        QTest::newRow("syntax") << QByteArray("{\n  \"a\": 1,\n  \"b\": }") << QString("line 3, column 8");
        QTest::newRow("not object") << QByteArray("[1]") << QString("must be a JSON object");
        QTest::newRow("array value") << testsupport::json("{'a': {'b': [1]}}") << QString("\"a.b\"");
        QByteArray deep;
        for (int i = 0; i < 200; ++i)
            deep += "{\"a\":";
        deep += "1";
        for (int i = 0; i < 200; ++i)
            deep += "}";
        QTest::newRow("too deep") << deep << QString("nesting deeper than");
    }
    void malformedJsonNamesThePosition()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, expected);
        try {
            StyleMap::fromJson(json);
            QFAIL("no error");
        } catch (const StyleMapError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(expected), e.what());
        }
    }

    void variantRoundTrip()
    {
        const StyleMap m{{"color", "red"}, {"&:hover", StyleMap{{"color", "blue"}}}};
        const QVariant v = m;
        QCOMPARE(StyleMap::fromVariant(v).value(), m);
        const auto fromJsonText = StyleMap::fromVariant(QString(testsupport::json("{'a': 'b'}")));
        QVERIFY(fromJsonText.has_value());
        QCOMPARE(fromJsonText->at(u"a").text(), QString("b"));
        QVERIFY(!StyleMap::fromVariant(QString("#x { color: red; }")).has_value());
        QVERIFY(!StyleMap::fromVariant(42).has_value());
        const auto fromMap = StyleMap::fromVariant(QVariantMap{{"a", QVariantMap{{"b", 1}}}});
        QCOMPARE(fromMap->findPath(u"a.b")->number(), 1.0);
    }
};

QTEST_MAIN(tst_StyleMap)
#include "tst_stylemap.moc"
