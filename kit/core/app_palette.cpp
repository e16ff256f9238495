#include "app_palette.h"

#include "app_palette_p.h"
#include "colors.h"
#include "theme.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace tessera {

namespace {

const char FollowerName[] = "tessera_palette_follower";

QColor tokenColor(const Theme *theme, const char *path, const QColor &fallback)
{
    const QColor c = parseColor(theme->resolveToken(QString::fromLatin1(path)).value_or(QString()));
    return c.isValid() ? c : fallback;
}

// \a palette with Window and WindowText unset, so they resolve from the desktop's.
QPalette withoutWindowRoles(const QPalette &palette)
{
    QPalette out;
    out.setResolveMask(0);
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            if (role == QPalette::Window || role == QPalette::WindowText)
                continue;
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            out.setColor(g, r, palette.color(g, r));
        }
    }
    return out;
}

QPointer<QApplication> &followedApplication()
{
    static QPointer<QApplication> app;
    return app;
}

void applyToApplication()
{
    const QPalette palette = themePalette();
    QApplication::setPalette(themeChoice() == QLatin1String("system") ? withoutWindowRoles(palette) : palette);
}

// A child object whose life bounds the connection to the theme's signal.
template<typename Apply>
void follow(QObject *target, Apply apply)
{
    if (target->findChild<QObject *>(QLatin1String(FollowerName), Qt::FindDirectChildrenOnly))
        return;
    auto *follower = new QObject(target);
    follower->setObjectName(QLatin1String(FollowerName));
    QObject::connect(useTheme()->signal, &ThemeSignal::changed, follower, apply);
}

} // namespace

QPalette themePalette(const Theme *theme)
{
    if (!theme)
        theme = useTheme();
    const bool dark = theme->palette().mode == QLatin1String("dark");
    const QColor window = tokenColor(theme, "palette.background.default", dark ? QColor(0x12, 0x12, 0x12) : QColor(Qt::white));
    const QColor paper = tokenColor(theme, "palette.background.paper", window);
    const QColor neutral = tokenColor(theme, "palette.background.neutral", paper);
    const QColor text = tokenColor(theme, "palette.text.primary", dark ? QColor(Qt::white) : QColor(Qt::black));
    const QColor secondary = tokenColor(theme, "palette.text.secondary", text);
    const QColor disabled = tokenColor(theme, "palette.text.disabled", secondary);
    const QColor primary = tokenColor(theme, "palette.primary.main", QColor(0x15, 0x65, 0xc0));
    const QColor onPrimary = tokenColor(theme, "palette.primary.contrastText", QColor(Qt::white));
    const QColor link = tokenColor(theme, "palette.primary.main", primary);
    const QColor visited = tokenColor(theme, "palette.secondary.main", link);
    const QColor disabledFill = tokenColor(theme, "palette.action.disabledBackground", neutral);

    // The button face is the neutral surface; the bevel shades derive from it.
    QPalette p(text, neutral, neutral.lighter(130), neutral.darker(130), neutral.darker(115), text, text, paper, window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::AlternateBase, neutral);
    p.setColor(QPalette::ToolTipBase, paper);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, secondary);
    p.setColor(QPalette::Highlight, primary);
    p.setColor(QPalette::HighlightedText, onPrimary);
    p.setColor(QPalette::Link, link);
    p.setColor(QPalette::LinkVisited, visited);
    p.setColor(QPalette::BrightText, dark ? QColor(Qt::white) : QColor(Qt::black));
    p.setColor(QPalette::Shadow, dark ? QColor(Qt::black) : neutral.darker(200));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                          QPalette::PlaceholderText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Button, disabledFill);
    p.setColor(QPalette::Disabled, QPalette::Highlight, disabledFill);
    return p;
}

void applyPalette(QApplication *app)
{
    if (!app)
        return;
    followedApplication() = app;
    follow(app, [] { applyToApplication(); });
    applyToApplication();
}

void applyPalette(QWidget *window)
{
    if (!window)
        return;
    QPointer<QWidget> guarded(window);
    follow(window, [guarded] {
        if (guarded)
            guarded->setPalette(themePalette());
    });
    window->setPalette(themePalette());
}

namespace detail {

void releaseApplicationWindowRoles()
{
    if (followedApplication())
        QApplication::setPalette(withoutWindowRoles(QApplication::palette()));
}

} // namespace detail

} // namespace tessera
