#pragma once

#include <tessera/kit/kit_export.h>

#include <QColor>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <stdexcept>

namespace tessera {

/*!
    Colour texts and colour expressions of theme values, and the WCAG 2.1
    contrast figures the theme checker reports.

    A style value may derive a colour from a theme token instead of writing
    it out, so that a theme which changes its palette gets matching tints:

    \code
    "hover": { "backgroundColor": "alpha(palette.primary.main, 0.12)" }
    \endcode

    The functions are alpha(colour, a), lighten(colour, f) and darken(colour, f),
    with a and f from 0 to 1 (or a percentage, "12%"). The colour is a token
    path, a colour text ("#1976d2", "rgba(0, 0, 0, 0.5)", "white") or another
    expression. Themes resolve their expressions when they are applied; the
    style renderer resolves those of caller styles.
*/

//! A colour expression could not be evaluated; what() names the expression and the fault.
class TESSERA_KIT_EXPORT ColorExpressionError : public std::runtime_error
{
public:
    //! An error whose what() is \a message.
    explicit ColorExpressionError(const QString &message);
};

/*!
    A colour text: "#rgb", "#rrggbb", "#aarrggbb", an SVG colour name,
    "rgb(r, g, b)" or "rgba(r, g, b, a)" (a from 0 to 1, or a percentage).
    An invalid QColor for anything else.
*/
TESSERA_KIT_EXPORT QColor parseColor(QStringView text);

//! The text the kit writes for \a color: "#rrggbb" when opaque, else "rgba(r, g, b, a)".
TESSERA_KIT_EXPORT QString colorText(const QColor &color);

//! Whether \a text is written as a colour expression ("alpha(", "lighten(" or "darken(" ... ")").
TESSERA_KIT_EXPORT bool isColorExpression(QStringView text);

//! Looks up a token path; std::nullopt when the path names no value.
using TokenLookup = std::function<std::optional<QString>(QStringView path)>;

/*!
    Evaluates the colour expression \a text, resolving token paths through
    \a lookup, and returns the colour text of the result. Throws
    ColorExpressionError naming the expression for a malformed one, an
    unknown token, a value that is no colour, or a factor outside 0 to 1.
*/
TESSERA_KIT_EXPORT QString evaluateColorExpression(QStringView text, const TokenLookup &lookup);

//! \a over drawn on \a under (source-over); the result is opaque when \a under is.
TESSERA_KIT_EXPORT QColor compositeColor(const QColor &over, const QColor &under);

//! The WCAG 2.1 relative luminance of an opaque colour (0 for black, 1 for white).
TESSERA_KIT_EXPORT double relativeLuminance(const QColor &color);

//! The WCAG 2.1 contrast ratio of two opaque colours, from 1 to 21.
TESSERA_KIT_EXPORT double contrastRatio(const QColor &a, const QColor &b);

} // namespace tessera
