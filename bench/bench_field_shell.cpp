// FieldShell: the time of one style build (read the theme, render every
// piece, compose the sheet, apply it), and a theme switch over N fields
// against raw per-widget setStyleSheet() with the same final sheets.
//
//   bench_field_shell [--quick]     N = 100, 1000, 3000 (100 only with --quick)

#include "harness.h"

#include <tessera/kit/theme.h>
#include <tessera/material/textfield/field_shell.h>

#include <QApplication>
#include <QLineEdit>

namespace {

// A field with one editor, as a derived text field would have; its build
// step is reachable for timing.
class Field : public tessera::FieldShell
{
public:
    explicit Field(Options options) : FieldShell(std::move(options)) { _init_ui(); }
    void build() { _set_stylesheet(); }

protected:
    void slot_set_stylesheet() override {}
};

Field *makeField(int index)
{
    // Mix sizes and the growing kinds, as on a real form.
    static const char *const sizes[] = {"small", "medium", "large"};
    return new Field({.label = "Name",
                      .children = QList<QWidget *>{new QLineEdit},
                      .multiline = index % 4 == 3,
                      .size = QString::fromLatin1(sizes[index % 3])});
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme(QStringLiteral("light"));

    {
        // One build of a hidden field; nothing is cached between builds. The
        // theme has not changed, so the build renders and composes the very
        // sheet in force and skips applying it: the kit's own work alone.
        Field *field = makeField(1);
        bench::drainToIdle();
        const bench::Stats build = bench::timeNs([field] { field->build(); });
        bench::printStats(QStringLiteral("field_shell_render_compose"), build, "ns",
                          QStringLiteral("medium size, sheet of %1 characters; nothing applied").arg(field->styleSheet().size()));
        // What applying that sheet costs in Qt, for scale.
        const QString sheet = field->styleSheet();
        const bench::Stats apply = bench::timeNs([field, &sheet] { field->setStyleSheet(sheet); });
        bench::printStats(QStringLiteral("field_shell_apply_only"), apply, "ns", QStringLiteral("setStyleSheet() of the same sheet"));
        Field *sx = new Field({.children = QList<QWidget *>{new QLineEdit},
                               .sx = tessera::StyleMap{{"&[focused=true]", tessera::StyleMap{{"borderColor", "palette.primary.main"}}}}});
        bench::drainToIdle();
        bench::printStats(QStringLiteral("field_shell_build_with_sx"), bench::timeNs([sx] { sx->build(); }), "ns");
        delete field;
        delete sx;
        bench::drainToIdle();
    }

    bool ok = true;
    for (int n : bench::switchSizes(argc, argv)) {
        const bench::SwitchFigures f = bench::measureThemeSwitch(QStringLiteral("field_shell_theme_switch"), n,
                                                                 [](int i) -> QWidget * { return makeField(i); });
        ok = ok && f.ok;
    }
    return ok ? 0 : 1;
}
