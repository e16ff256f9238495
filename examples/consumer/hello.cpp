#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger.h>
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme("dark");
    tessera::BusyTrigger trigger({.loading = true, .loadingPosition = "end", .color = "secondary"});
    trigger.show();
    return app.exec();
}
