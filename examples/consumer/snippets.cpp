// The README's code snippets, each in a scope of its own so that it stands
// alone: every name a snippet uses is defined in it. The install test builds
// this file against the installed package and runs it from the source folder;
// the checks after each snippet are not shown in the README.
//
// Exit status 0 when every snippet did what the README says.

#include <tessera/kit/state.h>
#include <tessera/kit/svg_widget.h>
#include <tessera/kit/theme.h>
#include <tessera/kit/typography.h>
#include <tessera/material/button/busy_trigger.h>

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++failures;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *saving = new tessera::State(false, &window);
        auto *trigger = new tessera::BusyTrigger({.loading = saving, .kwargs = {{"text", "Save"}}});
        layout->addWidget(trigger); // the window now owns the trigger, as it owns the State
        saving->setValue(true);     // the trigger shows its loading icon before "Save"

        for (int i = 0; i < 6; ++i) // let deferred work run, as the event loop would
            QCoreApplication::processEvents();
        const auto *icon = trigger->findChild<tessera::PySvgWidget *>();
        const auto *label = trigger->findChild<tessera::Typography *>();
        check(icon && icon->isVisibleTo(trigger), "the trigger follows its State");
        check(label && label->text() == QLatin1String("Save"), "the trigger shows its label");
    }

    {
        try {
            const QString name = tessera::loadTheme("examples/themes/ocean.json"); // checked against every key path the widgets read
            tessera::setTheme(name);
        } catch (const tessera::ThemeError &e) {
            qWarning("%s", e.what()); // names the file and the place; the current theme stays
        }

        check(tessera::useTheme()->name() == QLatin1String("ocean"), "the sample theme loaded and is current");
    }

    return failures ? 1 : 0;
}
