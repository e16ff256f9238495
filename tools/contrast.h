#pragma once

// The contrast gate of the theme checker and the tests: builds every widget
// class in the current theme, reads the style sheets they apply, and measures
// WCAG 2.1 contrast of each pair they produce for an enabled state.

#include <QColor>
#include <QList>
#include <QString>

namespace tessera::contrast {

struct Pair
{
    enum class Kind { Text, Border, Focus };
    Kind kind = Kind::Text;
    QString widget;      //!< class and options, e.g. "Button color=primary variant=outlined"
    QString selector;    //!< the rule, with the object name replaced by "#name"
    QColor foreground;   //!< as written (may be translucent)
    QColor background;   //!< opaque: composited over the surface
    QString surface;     //!< "background.default" or "background.paper"
    double ratio = 0;
    double required = 0;
    int width = 0;       //!< the ring's width in pixels (focus pairs)

    bool passes() const { return ratio + 1e-9 >= required && (kind != Kind::Focus || width >= 2); }
    QString describe() const;
};

struct Report
{
    QList<Pair> pairs;
    //! Interactive widgets whose sheets give no focus state.
    QStringList withoutFocus;
};

/*!
    Builds every widget of the kit and of the loadable modules in the current
    theme (each colour, variant and state that the theme styles), lets them
    apply their sheets, and returns every pair measured. Needs a QApplication.
*/
Report measureCurrentTheme();

/*!
    The pairs of one style sheet. \a beneath is the opaque colour under the
    widget, \a surface its name. Rules for disabled states are skipped, and so
    is text in \a disabledText (the theme's disabled look).
*/
QList<Pair> measureSheet(const QString &sheet, const QString &widget, const QColor &beneath, const QString &surface,
                         const QColor &disabledText, bool *hasFocusRule = nullptr, QColor *ownBackground = nullptr);

} // namespace tessera::contrast
