#include <tessera/kit/field_shell_base.h>

#include <QApplication>
#include <QSpinBox>
#include <QTest>

using namespace tessera;

namespace {

// An editor field as the kit's fields are written: FieldShellBase's operation
// first, then the Qt editor's own handler. The log shows the order.
class Spin : public QSpinBox, public FieldShellBase
{
public:
    QStringList log;

protected:
    void enterEvent(QEnterEvent *e) override
    {
        FieldShellBase::enterEvent(this, e);
        QSpinBox::enterEvent(e);
        log << "qt:enter";
    }
    void leaveEvent(QEvent *e) override
    {
        FieldShellBase::leaveEvent(this, e);
        QSpinBox::leaveEvent(e);
        log << "qt:leave";
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        FieldShellBase::mousePressEvent(this, e);
        QSpinBox::mousePressEvent(e);
        log << "qt:press";
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        FieldShellBase::mouseReleaseEvent(this, e);
        QSpinBox::mouseReleaseEvent(e);
        log << "qt:release";
    }
    void focusInEvent(QFocusEvent *e) override
    {
        FieldShellBase::focusInEvent(this, e);
        QSpinBox::focusInEvent(e);
        log << "qt:focusIn";
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        FieldShellBase::focusOutEvent(this, e);
        QSpinBox::focusOutEvent(e);
        log << "qt:focusOut";
    }
    void fieldStateChanged(QWidget *field) override
    {
        QCOMPARE(field, this);
        log << QStringLiteral("state:%1%2%3")
                   .arg(isFieldHovered() ? "H" : "-", isFieldFocused() ? "F" : "-", isFieldPressed() ? "P" : "-");
    }
};

void send(QWidget *w, const QString &step)
{
    const QPointF at(5, 5);
    const QPointF global = w->mapToGlobal(at);
    if (step == "enter") {
        QEnterEvent e(at, at, global);
        QApplication::sendEvent(w, &e);
    } else if (step == "leave") {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    } else if (step == "press" || step == "rightPress") {
        const Qt::MouseButton b = step == "press" ? Qt::LeftButton : Qt::RightButton;
        QMouseEvent e(QEvent::MouseButtonPress, at, global, b, b, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    } else if (step == "release") {
        QMouseEvent e(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    } else if (step == "focusIn" || step == "focusOut") {
        QFocusEvent e(step == "focusIn" ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &e);
    }
}

} // namespace

class tst_FieldShellBase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void baseRunsFirstThenQtHandler()
    {
        Spin field;
        send(&field, "enter");
        send(&field, "focusIn");
        send(&field, "press");
        send(&field, "release");
        send(&field, "focusOut");
        send(&field, "leave");
        QCOMPARE(field.log, (QStringList{"state:H--", "qt:enter", "state:HF-", "qt:focusIn", "state:HFP", "qt:press",
                                         "state:HF-", "qt:release", "state:H--", "qt:focusOut", "state:---", "qt:leave"}));
    }

    void stateTracking_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("state");   // hovered, focused, pressed
        QTest::addColumn<int>("reports");

        QTest::newRow("fresh") << QStringList{} << "---" << 0;
        QTest::newRow("hover") << QStringList{"enter"} << "H--" << 1;
        QTest::newRow("hover twice reports once") << QStringList{"enter", "enter"} << "H--" << 1;
        QTest::newRow("hover and leave") << QStringList{"enter", "leave"} << "---" << 2;
        QTest::newRow("leave without enter") << QStringList{"leave"} << "---" << 0;
        QTest::newRow("left press") << QStringList{"press"} << "--P" << 1;
        QTest::newRow("right press is no press") << QStringList{"rightPress"} << "---" << 0;
        QTest::newRow("press and release") << QStringList{"press", "release"} << "---" << 2;
        QTest::newRow("focus") << QStringList{"focusIn"} << "-F-" << 1;
        QTest::newRow("focus lost ends a press") << QStringList{"focusIn", "press", "focusOut"} << "---" << 4;
        QTest::newRow("leaving keeps focus and press") << QStringList{"enter", "focusIn", "press", "leave"} << "-FP" << 4;
    }
    void stateTracking()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, state);
        QFETCH(int, reports);
        Spin field;
        for (const QString &step : steps)
            send(&field, step);
        const QString now = QStringLiteral("%1%2%3").arg(field.isFieldHovered() ? "H" : "-", field.isFieldFocused() ? "F" : "-",
                                                        field.isFieldPressed() ? "P" : "-");
        QCOMPARE(now, state);
        QCOMPARE(field.log.filter("state:").size(), reports);
    }

    void leavesEventsToTheQtHandler()
    {
        // Called on its own, the base neither accepts nor ignores an event.
        Spin field;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        press.setAccepted(false);
        field.FieldShellBase::mousePressEvent(&field, &press);
        QVERIFY(!press.isAccepted());
        press.setAccepted(true);
        field.FieldShellBase::mousePressEvent(&field, &press);
        QVERIFY(press.isAccepted());
        QVERIFY(field.isFieldPressed());
    }

    void realInputReachesTheBase()
    {
        Spin field;
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QVERIFY(field.isFieldPressed());
        QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QVERIFY(!field.isFieldPressed());
        QCOMPARE(field.log.filter("qt:press").size(), 1);
    }
};

QTEST_MAIN(tst_FieldShellBase)
#include "tst_field_shell_base.moc"
