#pragma once

// Internal to the kit: monochrome SVG icons tinted with a theme colour, shared
// by PySvgWidget and Button. Not installed.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace tessera {

class Theme;

namespace detail {

//! A colour text: "#rgb", "#rrggbb", "#aarrggbb", an SVG colour name, "rgb(r, g, b)" or
//! "rgba(r, g, b, a)" (a from 0 to 1). Invalid QColor for anything else.
QColor parseColor(const QString &text);

//! A theme token path ("palette.grey._500") resolved against \a theme, or a colour text.
QColor resolveColor(const Theme *theme, const QString &colorText);

//! The resource path an icon text names: "set:name" becomes ":/icons/set/name.svg",
//! a path (":/...", "qrc:/...", "/...") stands as it is. Empty when no such file exists.
QString iconPath(const QString &iconText);

/*!
    \a path rendered at \a size (device-independent pixels) and \a dpr, every
    opaque pixel painted in \a color. Cached per path, colour, size and ratio.
    Null when the file is missing or not a valid SVG.
*/
QPixmap tintedSvgPixmap(const QString &path, const QColor &color, const QSize &size, qreal dpr);

//! An icon that draws \a path tinted with \a color (and \a disabledColor when disabled), sharp at every scale.
QIcon tintedSvgIcon(const QString &path, const QColor &color, const QColor &disabledColor);

} // namespace detail
} // namespace tessera
