// BusyTrigger: the cost of its memoised style template on a hit and on a miss,
// one whole styling pass, and a theme switch over 1000 triggers against raw
// per-widget setStyleSheet() with the same final sheets.
//
//   bench_busy_trigger [--quick]     the theme switch over 100 triggers only with --quick

#include "harness.h"

#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger_p.h>

#include <QApplication>

namespace {

// Reaches the style steps. No Q_OBJECT: it shares BusyTrigger's memo entries.
class Probe : public tessera::BusyTrigger
{
public:
    using BusyTrigger::BusyTrigger;
    using BusyTrigger::_get_stylesheet;
    using BusyTrigger::_set_stylesheet;
    static const tessera::LruMemo<QString> &_stylesheetMemo() { return tessera::BusyTriggerPrivate::_stylesheetMemo(); }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme(QStringLiteral("light"));
    bool quick = false;
    for (int i = 1; i < argc; ++i)
        quick = quick || QByteArray(argv[i]) == "--quick";

    Probe probe;
    bench::drainToIdle();
    const QString mode = tessera::useTheme()->palette().mode;
    QString out;

    // A hit: the key is memoised.
    probe._get_stylesheet(QStringLiteral("contained"), QStringLiteral("medium"), QStringLiteral("primary"), mode);
    bench::Stats s = bench::timeNs([&] {
        out = probe._get_stylesheet(QStringLiteral("contained"), QStringLiteral("medium"), QStringLiteral("primary"), mode);
        bench::keep(out);
    });
    bench::printStats(QStringLiteral("busy_template_hit"), s, "ns");
    const double hit = s.median;

    // A miss on every call: 129 keys cycle through the 128 entries, so each
    // call reads the theme, renders the five fragments and evicts one entry.
    QStringList modes;
    for (int i = 0; i < 129; ++i)
        modes.append(QStringLiteral("mode-%1").arg(i));
    int next = 0;
    const int buildsBefore = Probe::_stylesheetMemo().builds();
    const int hitsBefore = Probe::_stylesheetMemo().hits();
    s = bench::timeNs([&] {
        out = probe._get_stylesheet(QStringLiteral("contained"), QStringLiteral("medium"), QStringLiteral("primary"),
                                    modes[next]);
        bench::keep(out);
        next = (next + 1) % int(modes.size());
    });
    const int misses = Probe::_stylesheetMemo().builds() - buildsBefore;
    const int hits = Probe::_stylesheetMemo().hits() - hitsBefore;
    bench::printStats(QStringLiteral("busy_template_miss"), s, "ns",
                      QStringLiteral("%1 builds, %2 hits during the run").arg(misses).arg(hits));
    bench::printFigure(QStringLiteral("busy_template_miss_over_hit"), hit > 0 ? s.median / hit : 0, "x");

    // One whole pass on a memo hit with the theme unchanged: template, name,
    // sx, and the check that finds nothing to apply.
    Probe styled({.sx = tessera::StyleMap{{"minWidth", 96}}});
    bench::drainToIdle();
    s = bench::timeNs([&] { styled._set_stylesheet(); }, 9, 5e6);
    bench::printStats(QStringLiteral("busy_pass_on_hit"), s, "ns", QStringLiteral("nothing applied: the sheet in force is unchanged"));

    // A theme switch over many triggers of mixed keys, half of them loading.
    const QString colors[] = {QStringLiteral("primary"), QStringLiteral("secondary"), QStringLiteral("success")};
    const QString variants[] = {QStringLiteral("contained"), QStringLiteral("outlined"), QStringLiteral("soft")};
    const auto make = [&](int i) -> QWidget * {
        return new tessera::BusyTrigger({.loading = i % 2 == 0,
                                         .loadingPosition = i % 4 < 2 ? QStringLiteral("start") : QStringLiteral("end"),
                                         .color = colors[i % 3],
                                         .variant = variants[(i / 3) % 3],
                                         .kwargs = {{"text", QStringLiteral("Save")}}});
    };
    bool ok = true;
    for (int n : quick ? std::vector<int>{100} : std::vector<int>{1000}) {
        const bench::SwitchFigures f = bench::measureThemeSwitch(QStringLiteral("busy_trigger_theme_switch"), n, make);
        ok = ok && f.ok;
    }
    const auto &memo = Probe::_stylesheetMemo();
    bench::printFigure(QStringLiteral("busy_memo_builds"), memo.builds(), "builds",
                       QStringLiteral("%1 entries, %2 hits in all").arg(memo.size()).arg(memo.hits()));
    return ok ? 0 : 1;
}
