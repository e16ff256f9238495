#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger.h>

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme("dark"); // or "light", or "system" to follow the desktop

    tessera::State saving(true); // an observable value; the trigger follows it
    tessera::BusyTrigger trigger({.loading = &saving, .loadingPosition = "end", .kwargs = {{"text", "Saving"}}});
    trigger.show();

    // Three seconds later the work is done: the spinner goes, the label stays.
    QTimer::singleShot(3000, &trigger, [&saving] { saving.setValue(false); });
    return app.exec();
}
