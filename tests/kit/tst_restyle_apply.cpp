// RestyleLifecycle::_applyStyleSheet(): an unchanged restyle skips Qt's
// re-polish, and anything that could change the look applies the sheet again.

#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>

#include "testsupport.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

using namespace tessera;

namespace {

// A themed frame that applies its sheet through the helper and counts re-polishes.
class Swatch : public QFrame, public RestyleLifecycle
{
public:
    Swatch() : RestyleLifecycle(this)
    {
        setObjectName(newObjectName());
        label = new QLabel(QStringLiteral("text"), this);
        (new QVBoxLayout(this))->addWidget(label);
        theme = useTheme();
        _subscribeToTheme();
    }

    bool apply(const QString &sheet) { return _applyStyleSheet(sheet); }
    //! A sheet for this frame: its colour follows the "focused" property.
    QString ownSheet(const QString &color = QStringLiteral("#101010")) const
    {
        return QStringLiteral("#%1 { color: %2; }\n#%1[focused=true] { color: #ff0000; }").arg(objectName(), color);
    }

    QLabel *label = nullptr;
    int builds = 0;
    int styleChanges = 0;
    QString themeSheet;   // what _set_stylesheet applies

protected:
    void _set_stylesheet(const StyleMap &) override
    {
        ++builds;
        _applyStyleSheet(themeSheet.isEmpty() ? ownSheet() : themeSheet);
    }
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++styleChanges;
        QFrame::changeEvent(event);
    }
};

QColor textColor(QWidget *w)
{
    w->ensurePolished();
    return w->palette().color(QPalette::WindowText);
}

} // namespace

class tst_RestyleApply : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void unchangedRestyleSkipsRepolish()
    {
        Swatch w;
        w.show();
        QTRY_COMPARE(w.builds, 1);
        testsupport::drainEvents();
        const int changes = w.styleChanges;
        QVERIFY(changes > 0);

        setTheme("light");   // the same theme again: the same sheet
        testsupport::drainEvents();
        QCOMPARE(w.builds, 2);
        QCOMPARE(w.styleChanges, changes);

        // Plain setStyleSheet() re-polishes even then; that is the cost saved.
        w.setStyleSheet(w.styleSheet());
        QVERIFY(w.styleChanges > changes);
    }

    void anyChangeAppliesAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("other text") << "text";
        QTest::newRow("own property selected on") << "property";
        QTest::newRow("sheet replaced directly") << "direct";
        QTest::newRow("object name") << "name";
    }
    void anyChangeAppliesAgain()
    {
        QFETCH(QString, change);
        Swatch w;
        w.show();
        const QString sheet = w.ownSheet();
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
        QCOMPARE(textColor(&w), QColor("#101010"));

        QString next = sheet;
        if (change == "text") {
            next = w.ownSheet("#202020");
        } else if (change == "property") {
            w.setProperty("focused", true);   // no re-polish of its own
        } else if (change == "direct") {
            w.setStyleSheet(QString());
        } else {
            w.setObjectName(newObjectName());
        }
        QVERIFY(w.apply(next));
        QCOMPARE(w.styleSheet(), next);
        if (change == "text")
            QCOMPARE(textColor(&w), QColor("#202020"));
        if (change == "property")
            QCOMPARE(textColor(&w), QColor("#ff0000"));
        if (change != "name")
            QVERIFY(!w.apply(next));   // and settles again (a sheet naming the old name never does)
    }

    void anyPropertyChangeAppliesAgainOnce()
    {
        Swatch w;
        const QString sheet = w.ownSheet();
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
        w.setProperty("focused", false);  // from none to false: the selector may now read differently
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
        w.setProperty("focused", false);  // the same value again: Qt reports no change
        QVERIFY(!w.apply(sheet));
        w.setProperty("unrelated", 42);   // not selected on, but any change is taken as one
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
    }

    void sheetsSelectingOtherWidgetsAlwaysApply_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::newRow("descendant property") << "#%1 QLabel[tone=\"1\"] { color: red; }";
        QTest::newRow("bare property selector") << "QLabel[tone=\"1\"] { color: red; }";
        QTest::newRow("another object's name") << "#%1x[x=\"1\"] { color: red; }";
        QTest::newRow("comment") << "/* c */ #%1 { color: red; }";
    }
    void sheetsSelectingOtherWidgetsAlwaysApply()
    {
        QFETCH(QString, rule);
        Swatch w;
        w.show();
        const QString sheet = w.ownSheet() + "\n" + (rule.contains("%1") ? rule.arg(w.objectName()) : rule);
        QVERIFY(w.apply(sheet));
        QVERIFY(w.apply(sheet));

        // And it matters: a descendant's property changed without re-polish is picked up.
        if (QTest::currentDataTag() == QByteArray("descendant property")) {
            w.label->setProperty("tone", "1");
            QVERIFY(w.apply(sheet));
            QCOMPARE(textColor(w.label), QColor("#ff0000"));
        }
    }

    void propertiesInsideStringsAndListsAreRead()
    {
        Swatch w;
        const QString n = w.objectName();
        const QString sheet = QStringLiteral("#%1[variant=\"a]b\"], #%1[error=true]::title { color: red; }\n"
                                             "#%1 QLabel, QPushButton { color: blue; }").arg(n);
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
        w.setProperty("error", true);
        QVERIFY(w.apply(sheet));
        w.setProperty("variant", "x");
        QVERIFY(w.apply(sheet));
        QVERIFY(!w.apply(sheet));
    }
};

QTEST_MAIN(tst_RestyleApply)
#include "tst_restyle_apply.moc"
