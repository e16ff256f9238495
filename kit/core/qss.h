#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/stylemap.h>

#include <QString>

namespace tessera {

/*!
    Renders a style mapping into Qt style sheet text.

    Without \a class_name the result is the declaration list that stands
    between the braces of a rule: "color: #fff; border-radius: 4px;".
    With \a class_name (for example "#" + objectName()) the result is whole
    rules: the top-level declarations form "class_name { ... }", and nested
    entries whose key starts with "&" ("&:hover", "&[focused=true]",
    "& QLabel") become further rules with "&" replaced by the selector.

    - Keys in camelCase or kebab-case become kebab-case properties
      ("backgroundColor" -> "background-color"); declaration order is kept.
    - Numbers become pixel lengths ("4px"), except for unitless properties
      (font-weight, opacity, line-height, z-index).
    - A text that is a token path of the current theme ("palette.primary.main")
      is replaced by the theme's value; a colour expression
      ("alpha(palette.primary.main, 0.12)", see colors.h) by the colour it
      gives, and left out when it cannot be evaluated; other texts stand as
      written.
    - In the declaration form nested mappings are skipped; empty or null values
      are skipped.
    - Keys, selectors and values that could change the shape of a rule are
      left out, so that caller styles cannot inject rules for other
      selectors: a "{", "}", ";" or line break anywhere, a comment opener, an
      unclosed quote, an escape at the very end, or unbalanced parentheses or
      brackets. A nested key must be a list of selectors that each start with
      "&" and do not extend the name ("&:hover, & QLabel" is kept; "&, QLabel"
      and "&y" are left out). A \a class_name of that kind throws StyleMapError.
*/
TESSERA_KIT_EXPORT QString get_qss_style(const StyleMap &style, const QString &class_name = {});

/*!
    As above for a style entry read from a theme: a mapping is rendered, none
    renders as the empty text, and any other kind of value throws
    StyleLookupError (the caller's style build then ends).
*/
TESSERA_KIT_EXPORT QString get_qss_style(const StyleValue *style, const QString &class_name = {});

/*!
    The mapping of a style entry read from a theme: nullptr for none (or no
    entry), the mapping itself for a mapping, and StyleLookupError for any other
    kind, as get_qss_style() would throw. Lets a caller check every entry it
    needs before it renders any of them.
*/
TESSERA_KIT_EXPORT const StyleMap *styleMapOf(const StyleValue *style);

/*!
    Appends to \a out the declaration list that get_qss_style(*style) returns;
    nothing for nullptr. For a caller composing a sheet of many rendered
    pieces: the pieces go straight into the sheet, without a text of their own.
*/
TESSERA_KIT_EXPORT void appendQssStyle(QString &out, const StyleMap *style);

//! The kebab-case QSS property name of a style key ("borderRadius" -> "border-radius").
TESSERA_KIT_EXPORT QString qssPropertyName(const QString &key);

} // namespace tessera
