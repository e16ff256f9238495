// Theme switch over N editor fields against raw per-widget setStyleSheet()
// with the same final sheets, for each of the three field classes (ratio,
// stall, in-view), and the first styling of a form of N = 3000 StepperFields
// built from scratch (stall, in-view), beside a plain form of QSpinBoxes.
//
//   bench_editor_fields [--quick] [--only=TEXT...]
//       N = 100, 1000, 3000 (100 only with --quick); --only keeps the figures
//       whose "<name>_<N>" contains TEXT ("build" for the form built from scratch)

#include "harness.h"

#include <tessera/kit/theme.h>
#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/stepper_field.h>

#include <QApplication>
#include <QSpinBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme(QStringLiteral("light"));

    // Alternate variants so that several memo entries are in use, as on a real form.
    const auto variant = [](int i) { return i % 2 ? QStringLiteral("filled") : QStringLiteral("outlined"); };
    const std::pair<QString, bench::IndexedFactory> classes[] = {
        {QStringLiteral("knob_field_theme_switch"),
         [&](int i) -> QWidget * { return new tessera::KnobField({.variant = variant(i)}); }},
        {QStringLiteral("stepper_field_theme_switch"),
         [&](int i) -> QWidget * { return new tessera::StepperField({.variant = variant(i)}); }},
        {QStringLiteral("calendar_field_theme_switch"),
         [&](int i) -> QWidget * { return new tessera::CalendarField({.variant = variant(i)}); }},
    };

    bool ok = true;
    for (int n : bench::switchSizes(argc, argv)) {
        for (const auto &[name, make] : classes) {
            if (!bench::wanted(argc, argv, QStringLiteral("%1_%2").arg(name).arg(n)))
                continue;
            const bench::SwitchFigures f = bench::measureThemeSwitch(name, n, make);
            ok = ok && f.ok;
        }
    }
    // Building a form of fields from scratch: the first styling goes through the same queue.
    const std::vector<int> sizes = bench::switchSizes(argc, argv);
    if (bench::wanted(argc, argv, QStringLiteral("build_stepper_field_%1").arg(sizes.back())))
        bench::measureBuildFromScratch(QStringLiteral("stepper_field"), sizes.back(), classes[1].second,
                                   [](int) -> QWidget * { return new QSpinBox; });
    return ok ? 0 : 1;
}
