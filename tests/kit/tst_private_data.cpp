// Installed headers declare API only: every public class keeps its state
// behind one private-data pointer, so its size is its Qt base's plus a fixed
// number of pointers (the vtable pointers of its non-Qt bases, the members
// the kit makes public, and one d pointer per class of the hierarchy).
// Adding a private member to any class changes none of these figures.

#include <tessera/kit/button.h>
#include <tessera/kit/editor_field.h>
#include <tessera/kit/field_shell_base.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/subscriptions.h>
#include <tessera/kit/svg_widget.h>
#include <tessera/kit/theme.h>
#include <tessera/kit/typography.h>
#include <tessera/material/button/busy_trigger.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/chip_stack.h>
#include <tessera/material/textfield/field_shell.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/select_field.h>
#include <tessera/material/textfield/stepper_field.h>
#include <tessera/material/textfield/text_field.h>

#include <QDateEdit>
#include <QDial>
#include <QSpinBox>
#include <QTest>

#include <type_traits>

using namespace tessera;

class tst_PrivateData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sizeIsBasePlusPointers_data();
    void sizeIsBasePlusPointers();
};

// One row: the class, its Qt base (void: none), and the pointers added to it.
#define ROW(Class, Base, pointers) \
    QTest::newRow(#Class) << qsizetype(sizeof(Class)) << baseSize<Base>() << (pointers)

template<typename Base>
constexpr qsizetype baseSize()
{
    if constexpr (std::is_void_v<Base>)
        return 0;
    else
        return sizeof(Base);
}

void tst_PrivateData::sizeIsBasePlusPointers_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qsizetype>("base");
    QTest::addColumn<int>("pointers");

    // kit/core
    ROW(Theme, void, 2);                    // signal (public), d
    ROW(ThemeSignal, QObject, 0);           // holds nothing but its signal
    ROW(State, QObject, 1);
    ROW(I18n, QObject, 1);
    ROW(Subscriptions, void, 1);
    ROW(RestyleLifecycle, void, 3);         // vptr, theme (public), d

    // kit/widgets
    ROW(FieldShellBase, void, 2);           // vptr, d
    // FieldShellBase's two, RestyleLifecycle's three, its own d
    ROW(EditorFieldBase, void, 6);
    ROW(EditorField<QDial>, QDial, 6);
    ROW(EditorField<QSpinBox>, QSpinBox, 6);
    ROW(EditorField<QDateEdit>, QDateEdit, 6);
    ROW(Button, QPushButton, 4);            // RestyleLifecycle's three, its own d
    ROW(Typography, QLabel, 1);
    ROW(PySvgWidget, QWidget, 1);
    ROW(PyLineEditMultiple, QWidget, 1);
    ROW(PyPlainTextEdit, QPlainTextEdit, 1);

    // material/
    ROW(FieldShell, QGroupBox, 4);          // RestyleLifecycle's three, its own d
    ROW(BusyTrigger, QFrame, 6);            // RestyleLifecycle's three, loadingWidget and label (public), d
    ROW(PopupTrigger, QPushButton, 5);      // Button's four, its own d
    ROW(OrbAction, QPushButton, 5);         // Button's four, its own d
    ROW(ChipStack, QFrame, 1);
    ROW(KnobField, QDial, 7);               // EditorField's six, its own d
    ROW(StepperField, QSpinBox, 7);
    ROW(CalendarField, QDateEdit, 7);
    ROW(TextField, QWidget, 1);
    ROW(SelectField, QWidget, 1);
}

void tst_PrivateData::sizeIsBasePlusPointers()
{
    QFETCH(qsizetype, size);
    QFETCH(qsizetype, base);
    QFETCH(int, pointers);
    QCOMPARE(size, base + pointers * qsizetype(sizeof(void *)));
}

QTEST_APPLESS_MAIN(tst_PrivateData)
#include "tst_private_data.moc"
