#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger.h>

#include <QApplication>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme("dark"); // or "light", or "system" to follow the desktop

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *trigger = new tessera::BusyTrigger(&window); // a child of the window, like any Qt widget
    trigger->setText("Saving");
    trigger->setLoadingPosition("end");
    trigger->setLoading(true); // the spinner runs after the label
    layout->addWidget(trigger);

    // Properties notify: the window's title follows the trigger.
    QObject::connect(trigger, &tessera::BusyTrigger::loadingChanged, &window,
                     [&window](bool busy) { window.setWindowTitle(busy ? "Saving..." : "Saved"); });

    // Three seconds later the work is done: the spinner goes, the label stays.
    QTimer::singleShot(3000, trigger, [trigger] { trigger->setLoading(false); });
    window.show();
    return app.exec();
}
