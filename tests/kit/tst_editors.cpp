#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace tessera;

namespace {

class NotesEdit : public PyPlainTextEdit
{
    Q_OBJECT
};

QStringList chipTexts(PyLineEditMultiple &edit)
{
    QStringList out;
    for (QLabel *label : edit.findChildren<QLabel *>("lineEditMultipleChipText")) {
        if (!label->parentWidget()->isHidden())   // chips on their way out are hidden first
            out << label->text();
    }
    return out;
}

} // namespace

class tst_Editors : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void plainTextEditTypeSelectorMatchesSubclasses()
    {
        PyPlainTextEdit plain;
        QCOMPARE(plain.metaObject()->className(), "PyPlainTextEdit");
        QVERIFY(plain.inherits("PyPlainTextEdit"));

        QWidget parent;
        parent.setStyleSheet("PyPlainTextEdit { color: #123456; }");
        auto *layout = new QVBoxLayout(&parent);
        auto *notes = new NotesEdit;
        auto *kit = new tessera::PyPlainTextEdit;
        auto *qt = new QPlainTextEdit;
        layout->addWidget(notes);
        layout->addWidget(kit);
        layout->addWidget(qt);
        parent.ensurePolished();
        notes->ensurePolished();
        kit->ensurePolished();
        qt->ensurePolished();
        QCOMPARE(notes->palette().color(QPalette::Text), QColor("#123456"));
        QCOMPARE(kit->palette().color(QPalette::Text), QColor("#123456"));
        QVERIFY(qt->palette().color(QPalette::Text) != QColor("#123456"));
    }

    void lineEditMultipleEntry_data()
    {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<QString>("typed");   // keys, "\n" for Return, "\b" for Backspace
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("left");    // what stays in the editor

        QTest::newRow("return adds") << QStringList{} << "qt\n" << QStringList{"qt"} << "";
        QTest::newRow("comma adds") << QStringList{"a"} << "b,c" << QStringList{"a", "b"} << "c";
        QTest::newRow("trimmed") << QStringList{} << "  x  \n" << QStringList{"x"} << "";
        QTest::newRow("empty not added") << QStringList{"a"} << "   \n" << QStringList{"a"} << "   ";
        QTest::newRow("duplicate not added") << QStringList{"a"} << "a\n" << QStringList{"a"} << "a";
        QTest::newRow("backspace in empty removes last") << QStringList{"a", "b"} << "\b" << QStringList{"a"} << "";
        QTest::newRow("backspace edits text first") << QStringList{"a"} << "xy\b" << QStringList{"a"} << "x";
        QTest::newRow("initial values cleaned") << QStringList{" a", "", "a", "b "} << "" << QStringList{"a", "b"} << "";
    }
    void lineEditMultipleEntry()
    {
        QFETCH(QStringList, initial);
        QFETCH(QString, typed);
        QFETCH(QStringList, values);
        QFETCH(QString, left);
        PyLineEditMultiple edit({.values = initial, .placeholder = "Add"});
        for (QChar c : typed) {
            if (c == u'\n')
                QTest::keyClick(edit.lineEdit(), Qt::Key_Return);
            else if (c == u'\b')
                QTest::keyClick(edit.lineEdit(), Qt::Key_Backspace);
            else
                QTest::keyClicks(edit.lineEdit(), QString(c));
        }
        QCOMPARE(edit.values(), values);
        QCOMPARE(edit.lineEdit()->text(), left);
        QCOMPARE(chipTexts(edit), values);
        QCOMPARE(edit.lineEdit()->placeholderText(), QString("Add"));
    }

    void lineEditMultipleChipsAndSignals()
    {
        PyLineEditMultiple edit({.values = {"red", "green", "blue"}});
        QSignalSpy changed(&edit, &PyLineEditMultiple::valuesChanged);
        edit.setValues({"red", "green", "blue"});
        QCOMPARE(changed.size(), 0);   // no change, no signal

        // The close mark of "green" removes "green".
        QToolButton *removeGreen = nullptr;
        for (QToolButton *b : edit.findChildren<QToolButton *>("lineEditMultipleChipRemove")) {
            if (b->parentWidget()->findChild<QLabel *>()->text() == "green")
                removeGreen = b;
        }
        QVERIFY(removeGreen);
        removeGreen->click();
        QCOMPARE(edit.values(), (QStringList{"red", "blue"}));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.last().first().toStringList(), (QStringList{"red", "blue"}));

        edit.removeValue(7);   // out of range: nothing happens
        edit.removeValue(-1);
        QCOMPARE(changed.size(), 1);
        edit.addValue("violet");
        QCOMPARE(edit.values(), (QStringList{"red", "blue", "violet"}));
        QCOMPARE(edit.property("values").toStringList(), edit.values());
        testsupport::drainEvents();   // removed chips are deleted later
        QCOMPARE(edit.findChildren<QLabel *>("lineEditMultipleChipText").size(), 3);
    }

    void lineEditMultipleFollowsTheme()
    {
        PyLineEditMultiple edit;
        QVERIFY(edit.styleSheet().contains("#" + edit.objectName() + " {"));
        QVERIFY(edit.styleSheet().contains("background-color: #ffffff;"));
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(!edit.styleSheet().contains("background-color: #ffffff;"));
        const QString paper = useTheme()->resolveToken(u"palette.background.paper").value();
        QVERIFY(edit.styleSheet().contains("background-color: " + paper + ";"));
    }
};

QTEST_MAIN(tst_Editors)
#include "tst_editors.moc"
