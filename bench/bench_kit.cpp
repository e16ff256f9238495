// Kit micro-benchmarks: the QSS renderer, theme token resolution, the style
// memo, and the restyle lifecycle over N widgets against raw Qt.

#include "harness.h"

#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QApplication>
#include <QFrame>

using namespace tessera;

namespace {

// A themed frame built the way the kit's themed widgets are: a memoised,
// instance-free template keyed by the theme, the object name put in at the end.
class LifecycleProbe : public QFrame, public RestyleLifecycle
{
public:
    LifecycleProbe() : RestyleLifecycle(this)
    {
        setObjectName(newObjectName());
        theme = useTheme();
        _subscribeToTheme();
    }

    static LruMemo<QString> &memo()
    {
        static LruMemo<QString> m;
        return m;
    }

protected:
    void _set_stylesheet(const StyleMap &) override
    {
        theme = useTheme();
        const QString &tpl = memo().get(themeMemoKey(theme), [this] {
            const StyleMap &root = theme->components().mapAt(u"KnobField").mapAt(u"styles").mapAt(u"root");
            return QStringLiteral("\n#%1 { %2 }\n").arg(ObjectNamePlaceholder, get_qss_style(root));
        });
        QString sheet = tpl;
        fillObjectName(sheet, objectName());
        setStyleSheet(sheet);
    }
};

StyleMap tenDeclarations(bool tokens)
{
    return StyleMap{
        {"backgroundColor", tokens ? "palette.primary.main" : "#1976d2"},
        {"color", tokens ? "palette.primary.contrastText" : "#ffffff"},
        {"borderRadius", 4},
        {"border", "1px solid transparent"},
        {"paddingLeft", 16},
        {"paddingRight", 16},
        {"minHeight", 36},
        {"fontWeight", 500},
        {"fontSize", 14},
        {"letterSpacing", "0.4px"},
    };
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    setTheme(QStringLiteral("light"));

    const StyleMap plain = tenDeclarations(false);
    const StyleMap tokens = tenDeclarations(true);
    QString out;

    bench::Stats s = bench::timeNs([&] { out = get_qss_style(plain); bench::keep(out); });
    bench::printStats(QStringLiteral("get_qss_style_10_decls"), s, "ns", QStringLiteral("goal <= 2000 ns"));

    s = bench::timeNs([&] { out = get_qss_style(tokens); bench::keep(out); });
    bench::printStats(QStringLiteral("get_qss_style_10_decls_2_tokens"), s, "ns", QStringLiteral("goal <= 2000 ns"));

    StyleMap withRules = tokens;
    withRules.insert(QStringLiteral("&:hover"), StyleMap{{"backgroundColor", "palette.primary.dark"}});
    withRules.insert(QStringLiteral("&[focused=true]"), StyleMap{{"borderColor", "palette.primary.main"}});
    const QString selector = QStringLiteral("#") + newObjectName();
    s = bench::timeNs([&] { out = get_qss_style(withRules, selector); bench::keep(out); });
    bench::printStats(QStringLiteral("get_qss_style_rules_3"), s, "ns", QStringLiteral("class_name form, 3 rules"));

    Theme *theme = useTheme();
    s = bench::timeNs([&] { auto v = theme->resolveToken(u"palette.primary.main"); bench::keep(v); });
    bench::printStats(QStringLiteral("resolve_token_depth_3"), s, "ns");

    s = bench::timeNs([&] { auto v = theme->resolveToken(u"palette.no.such.token"); bench::keep(v); });
    bench::printStats(QStringLiteral("resolve_token_missing"), s, "ns");

    // Memo: a hit on a warm key, and a miss that also evicts (129 keys cycling through 128 slots).
    LruMemo<QString> memo;
    const QStringList hitKey = QStringList{QStringLiteral("contained"), QStringLiteral("medium"), QStringLiteral("primary")}
                               + themeMemoKey(theme);
    memo.get(hitKey, [] { return QStringLiteral("template"); });
    s = bench::timeNs([&] { const QString &v = memo.get(hitKey, [] { return QString(); }); bench::keep(v); });
    bench::printStats(QStringLiteral("memo_hit"), s, "ns");

    std::vector<QStringList> keys;
    for (int i = 0; i < 129; ++i)
        keys.push_back(QStringList{QString::number(i), QStringLiteral("medium")} + themeMemoKey(theme));
    std::size_t next = 0;
    LruMemo<QString> cycling;
    s = bench::timeNs([&] {
        const QString &v = cycling.get(keys[next], [] { return QStringLiteral("template"); });
        bench::keep(v);
        next = (next + 1) % keys.size();
    });
    bench::printStats(QStringLiteral("memo_miss_with_eviction"), s, "ns",
                       QStringLiteral("trivial build; %1 builds, %2 hits").arg(cycling.builds()).arg(cycling.hits()));

    s = bench::timeNs([&] { auto k = themeMemoKey(theme); bench::keep(k); });
    bench::printStats(QStringLiteral("theme_memo_key"), s, "ns");

    const Sx sx(withRules);
    const QString objectName = newObjectName();
    s = bench::timeNs([&] { out = sx.render(objectName); bench::keep(out); });
    bench::printStats(QStringLiteral("sx_render_mapping"), s, "ns");

    // What a switch costs before any widget: loading the theme, indexing its
    // tokens, emitting the change signal, the event loop going idle.
    {
        bool dark = false;
        s = bench::timeNs([&] {
            dark = !dark;
            setTheme(dark ? QStringLiteral("dark") : QStringLiteral("light"));
            bench::drainToIdle();
        });
        bench::printStats(QStringLiteral("theme_switch_no_widgets"), s, "ns");
    }

    // The lifecycle alone (timer, task, memoised template, setStyleSheet) against raw Qt.
    for (int n : bench::switchSizes(argc, argv))
        bench::measureThemeSwitch(QStringLiteral("kit_lifecycle_probe"), n, [](int) { return new LifecycleProbe; });
    const auto &m = LifecycleProbe::memo();
    bench::printFigure(QStringLiteral("probe_memo_builds"), m.builds(), "builds",
                       QStringLiteral("%1 keys, %2 hits").arg(m.size()).arg(m.hits()));
    return 0;
}
