// A form made in Qt Designer with the tessera plugin, compiled by uic: the
// form holds the widgets themselves, built with their parent constructors,
// with the properties the form sets.
#include "ui_form.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget form;
    Ui::SendForm ui;
    ui.setupUi(&form);
    form.show();
    // The widgets style themselves once the event loop runs.
    QTimer::singleShot(100, &app, &QCoreApplication::quit);
    app.exec();

    QTextStream out(stdout);
    const bool ok = ui.send->parentWidget() == &form && ui.send->text() == QLatin1String("Send")
                    && ui.send->color() == QLatin1String("secondary") && ui.send->themeSize() == QLatin1String("small")
                    && ui.send->isLoading() && ui.count->variant() == QLatin1String("filled")
                    && ui.count->label() == QLatin1String("Copies")
                    && ui.count->styleSheet().contains(QLatin1String("[variant=filled]"));
    out << (ok ? "ok   " : "FAIL ") << "form built: " << ui.send->metaObject()->className() << " \"" << ui.send->text()
        << "\" " << ui.send->color() << ", " << ui.count->metaObject()->className() << " " << ui.count->variant()
        << Qt::endl;
    return ok ? 0 : 1;
}
