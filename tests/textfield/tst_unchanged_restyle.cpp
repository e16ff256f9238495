// Every themed class skips Qt's re-polish when a restyle would apply the sheet
// already in force, and applies it again once the text or a dynamic property
// it may select on has changed: the same theme set again costs nothing, and
// nothing goes stale.

#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace tessera;

class tst_UnchangedRestyle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void sameThemeAgainSkipsAndAChangeApplies_data()
    {
        QTest::addColumn<QString>("modulePath");
        for (const char *path : {"tessera.material.textfield.field_shell", "tessera.material.textfield.knob_field",
                                 "tessera.material.textfield.stepper_field",
                                 "tessera.material.textfield.calendar_field", "tessera.material.button.busy_trigger",
                                 "tessera.material.button.orb_action"})
            QTest::newRow(path) << QString(path);
    }
    void sameThemeAgainSkipsAndAChangeApplies()
    {
        QFETCH(QString, modulePath);
        std::unique_ptr<QWidget> w(create(modulePath, {}));
        QVERIFY(w);
        w->show();
        testsupport::drainEvents();
        const QString lightSheet = w->styleSheet();
        QVERIFY(!lightSheet.isEmpty());
        testsupport::EventCounter changes(QEvent::StyleChange);
        w->installEventFilter(&changes);

        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(changes.count, 0);
        QCOMPARE(w->styleSheet(), lightSheet);

        // A property that one of the widget's own rules selects on changes, then
        // the same theme again: the sheet must be applied so the rule is re-read.
        // ("variant" is left out: every build sets it from the widget's option.)
        const QRegularExpression ownAttribute(QStringLiteral("#%1\\[(\\w+)=").arg(w->objectName()));
        QByteArrayList selected;
        for (const QRegularExpressionMatch &m : ownAttribute.globalMatch(lightSheet)) {
            if (m.captured(1) != u"variant" && !selected.contains(m.captured(1).toUtf8()))
                selected.append(m.captured(1).toUtf8());
        }
        for (const QByteArray &name : std::as_const(selected)) {
            w->setProperty(name.constData(), !w->property(name.constData()).toBool());
            setTheme("light");
            testsupport::drainEvents();
            QVERIFY2(changes.count > 0, name.constData());
            changes.count = 0;
            setTheme("light");   // and nothing more once it is in force
            testsupport::drainEvents();
            QCOMPARE(changes.count, 0);
        }

        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(changes.count > 0);
        QVERIFY(w->styleSheet() != lightSheet);
    }

    // "variant" is a property of these classes: a write is the option, and the
    // next pass styles with it instead of writing the old value back.
    void variantIsWrittenBackAfterAChange_data()
    {
        QTest::addColumn<QString>("modulePath");
        for (const char *path : {"tessera.material.textfield.knob_field", "tessera.material.textfield.stepper_field",
                                 "tessera.material.textfield.calendar_field", "tessera.material.button.busy_trigger"})
            QTest::newRow(path) << QString(path);
    }
    void variantIsWrittenBackAfterAChange()
    {
        QFETCH(QString, modulePath);
        std::unique_ptr<QWidget> w(create(modulePath, {}));
        QVERIFY(w);
        testsupport::drainEvents();
        const QVariant variant = w->property("variant");
        QVERIFY(variant.isValid() && !variant.toString().isEmpty());

        QVERIFY(w->setProperty("variant", QStringLiteral("text")));
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(w->property("variant"), QVariant("text"));
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(w->property("variant"), QVariant("text"));
    }
};

QTEST_MAIN(tst_UnchangedRestyle)
#include "tst_unchanged_restyle.moc"
