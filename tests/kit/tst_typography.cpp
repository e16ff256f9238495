#include <tessera/kit/i18n.h>
#include <tessera/kit/theme.h>
#include <tessera/kit/typography.h>

#include "testsupport.h"

#include <QLabel>
#include <QTest>

using namespace tessera;

namespace {

// The label that shows the text, polished: the Typography itself, with no
// second label inside it.
QLabel *textLabel(Typography &t)
{
    t.ensurePolished();
    [&] { QVERIFY(!t.findChild<QLabel *>()); }();
    return &t;
}

} // namespace

class tst_Typography : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        i18n()->setLanguage("en");
        testsupport::drainEvents();
    }

    void variantsPickTheThemeFont_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<int>("weight");

        QTest::newRow("h6") << "h6" << 18 << 500;
        QTest::newRow("body1") << "body1" << 14 << 400;
        QTest::newRow("button") << "button" << 14 << 500;
        QTest::newRow("caption") << "caption" << 12 << 400;
        QTest::newRow("h1") << "h1" << 40 << 300;
        QTest::newRow("unknown is body1") << "poster" << 14 << 400;
    }
    void variantsPickTheThemeFont()
    {
        QFETCH(QString, variant);
        QFETCH(int, pixelSize);
        QFETCH(int, weight);
        Typography t({.text = QVariant(QString("Sample")), .variant = variant});
        QLabel *label = textLabel(t);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(int(label->font().weight()), weight);
        QCOMPARE(label->font().families().value(0), QString("Roboto"));
        QCOMPARE(t.variant(), variant);
    }

    void themeChangeReappliesFontAndTokens()
    {
        const QString big = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "typography.button.fontSize", 30);
            testsupport::setPath(data, "palette.text.disabled", "#ff0000");
        });
        Typography t({.text = QVariant(QString("Loading")), .variant = "button", .sx = StyleMap{{"color", "palette.text.disabled"}}});
        QLabel *label = textLabel(t);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor("#9e9e9e"));
        const QSize before = t.sizeHint();
        setTheme(big);
        testsupport::drainEvents();
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor("#ff0000"));
        QCOMPARE(label->font().pixelSize(), 30);
        QVERIFY(t.sizeHint().height() > before.height());
        QVERIFY(t.styleText().contains("color: #ff0000;"));
    }

    void sizeHintFitsTheText()
    {
        State text(QString("A"));
        Typography t({.text = &text, .variant = "h6"});
        const QSize small = t.sizeHint();
        text.setValue(QString("A much longer text than before"));
        QCOMPARE(t.text(), QString("A much longer text than before"));
        QVERIFY(t.sizeHint().width() > small.width());
        const QFontMetrics metrics(textLabel(t)->font());
        QVERIFY(t.sizeHint().width() >= metrics.horizontalAdvance(t.text()));
        QVERIFY(t.sizeHint().height() >= metrics.height());
    }

    void textKinds_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");

        QTest::newRow("plain") << QVariant(QString("Dark")) << "Dark" << "Dark";
        QTest::newRow("deferred") << QVariant::fromValue(deferredTr("tessera::Theme", "Dark")) << "Dark" << "Dunkel";
        QTest::newRow("function") << QVariant::fromValue(std::function<QString()>([] {
            return QCoreApplication::translate("tessera::Theme", "Dark") + "!";
        })) << "Dark!" << "Dunkel!";
        QTest::newRow("markup stays text") << QVariant(QString("<b>bold</b>")) << "<b>bold</b>" << "<b>bold</b>";
        QTest::newRow("none") << QVariant() << "" << "";
    }
    void textKinds()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, english);
        QFETCH(QString, german);
        Typography plain({.text = value});
        State state(value);
        Typography held({.text = &state});
        QCOMPARE(plain.text(), english);
        QCOMPARE(held.text(), english);
        i18n()->setLanguage("de");
        QCOMPARE(plain.text(), german);
        QCOMPARE(held.text(), german);
        i18n()->setLanguage("en");
        QCOMPARE(plain.text(), english);
        QCOMPARE(textLabel(plain)->textFormat(), Qt::PlainText);
    }

    void followsStateValues()
    {
        State text(QString("Saving"));
        Typography t({.text = &text});
        text.setValue(QVariant::fromValue(deferredTr("tessera::Theme", "Dark")));
        QCOMPARE(t.text(), QString("Dark"));
        i18n()->setLanguage("de");
        QCOMPARE(t.text(), QString("Dunkel"));
        text.setValue(QString("Fertig"));
        QCOMPARE(t.text(), QString("Fertig"));
    }
};

QTEST_MAIN(tst_Typography)
#include "tst_typography.moc"
