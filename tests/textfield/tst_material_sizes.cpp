// Installed headers declare API only: every material class keeps its state
// behind one private-data pointer, so its size is its bases' plus a fixed
// number of pointers (the members the kit makes public and its own d
// pointer). Adding a private member to any class changes none of these
// figures.

#include <tessera/kit/button.h>
#include <tessera/kit/editor_field.h>
#include <tessera/kit/restyle.h>
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

#include <QTest>

using namespace tessera;

class tst_MaterialSizes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sizeIsBasesPlusPointers_data();
    void sizeIsBasesPlusPointers();
};

// One row: the class, the summed size of its bases, and the pointers it adds to them.
#define ROW(Class, bases, pointers) QTest::newRow(#Class) << qsizetype(sizeof(Class)) << qsizetype(bases) << (pointers)

void tst_MaterialSizes::sizeIsBasesPlusPointers_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qsizetype>("bases");
    QTest::addColumn<int>("pointers");

    ROW(FieldShell, sizeof(QGroupBox) + sizeof(RestyleLifecycle), 1);
    ROW(BusyTrigger, sizeof(QFrame) + sizeof(RestyleLifecycle), 3);   // loadingWidget and label (public), d
    ROW(PopupTrigger, sizeof(Button), 1);
    ROW(OrbAction, sizeof(Button), 1);
    ROW(ChipStack, sizeof(QFrame), 1);
    ROW(KnobField, sizeof(EditorField<QDial>), 1);
    ROW(StepperField, sizeof(EditorField<QSpinBox>), 1);
    ROW(CalendarField, sizeof(EditorField<QDateEdit>), 1);
    ROW(TextField, sizeof(QWidget), 1);
    ROW(SelectField, sizeof(QWidget), 1);
}

void tst_MaterialSizes::sizeIsBasesPlusPointers()
{
    QFETCH(qsizetype, size);
    QFETCH(qsizetype, bases);
    QFETCH(int, pointers);
    QCOMPARE(size, bases + pointers * qsizetype(sizeof(void *)));
}

QTEST_APPLESS_MAIN(tst_MaterialSizes)
#include "tst_material_sizes.moc"
