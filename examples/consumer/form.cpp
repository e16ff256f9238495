// A form made in Qt Designer with the tessera plugin, compiled by uic: the
// hosts build the real widgets from the properties set in the form.
#include "ui_form.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget form;
    Ui::SendForm ui;
    ui.setupUi(&form);
    form.show();

    QTextStream out(stdout);
    const QWidget *send = ui.send->widget();
    const QWidget *count = ui.count->widget();
    const bool ok = send && count && QString::fromLatin1(send->metaObject()->className()) == QLatin1String("tessera::BusyTrigger")
                    && QString::fromLatin1(count->metaObject()->className()) == QLatin1String("tessera::StepperField");
    out << (ok ? "ok   " : "FAIL ") << "form built: " << (send ? send->metaObject()->className() : "nothing") << ", "
        << (count ? count->metaObject()->className() : "nothing") << Qt::endl;
    return ok ? 0 : 1;
}
