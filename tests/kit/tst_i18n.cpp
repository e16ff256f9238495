#include <tessera/kit/i18n.h>
#include <tessera/kit/theme.h>

#include <QSignalSpy>
#include <QTest>

using namespace tessera;

class tst_I18n : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { i18n()->setLanguage("en"); }

    void shipsEnglishAndGerman()
    {
        const QStringList languages = i18n()->languages();
        QCOMPARE(languages.first(), QString("en"));
        QVERIFY(languages.contains("de"));
        QCOMPARE(I18n::nativeName("de"), QString("Deutsch"));
    }

    void langChangedComesAfterTheTranslatorIsInstalled()
    {
        const DeferredText dark("tessera::Theme", "Dark");
        QCOMPARE(translate(dark), QString("Dark"));
        QString seenInSlot;
        QObject receiver;
        connect(i18n(), &I18n::langChanged, &receiver, [&] { seenInSlot = translate(dark); });
        i18n()->setLanguage("de");
        QCOMPARE(seenInSlot, QString("Dunkel"));
        QCOMPARE(i18n()->language(), QString("de"));
        QCOMPARE(themeDisplayName("light"), QString("Hell"));
        i18n()->setLanguage("en");
        QCOMPARE(seenInSlot, QString("Dark"));
    }

    void unknownLanguageFallsBackToSourceTexts()
    {
        QSignalSpy spy(i18n(), &I18n::langChanged);
        i18n()->setLanguage("xx");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(translate(DeferredText("tessera::Theme", "Dark")), QString("Dark"));
    }

    void translateLabelValues()
    {
        QCOMPARE(translate(QVariant::fromValue(deferredTr("tessera::Theme", "Light"))), QString("Light"));
        QCOMPARE(translate(QVariant::fromValue(std::function<QString()>([] { return QString("fn"); }))), QString("fn"));
        QCOMPARE(translate(QVariant(QString("plain"))), QString("plain"));
        QVERIFY(translate(QVariant(3)).isNull());
        QVERIFY(isCallableText(QVariant::fromValue(DeferredText([] { return QString(); }))));
        QVERIFY(!isCallableText(QVariant(QString("plain"))));
    }
};

QTEST_MAIN(tst_I18n)
#include "tst_i18n.moc"
