#pragma once

#include <tessera/kit/kit_export.h>

#include <QPalette>

class QApplication;
class QWidget;

namespace tessera {

class Theme;

/*!
    The QPalette of a theme, for the stock Qt widgets beside the kit's own:
    windows in "palette.background.default", fields in
    "palette.background.paper", text in "palette.text.primary" (secondary for
    placeholders, disabled for the disabled group), selection and links in
    the primary colour. \a theme defaults to the current one.
*/
TESSERA_KIT_EXPORT QPalette themePalette(const Theme *theme = nullptr);

/*!
    Gives \a app the current theme's palette and keeps it in step with every
    later theme switch (light, dark, a loaded theme, or "system"), so that
    stock Qt widgets (a QCheckBox, a QComboBox, dialogs) follow the theme with
    the kit's widgets. Calling it again does nothing more.

    While the kit follows the desktop ("system"), the application's Window and
    WindowText roles are left to the desktop: on Qt versions without a colour
    scheme hint they are how the kit reads the desktop's preference (see
    systemColorScheme()). Give the main window the full palette with the
    QWidget overload when it must wear the theme's window colour exactly.

    \code
    QApplication app(argc, argv);
    tessera::applyPalette(&app);
    \endcode
*/
TESSERA_KIT_EXPORT void applyPalette(QApplication *app);

/*!
    Gives \a window (and its children) the current theme's whole palette and
    keeps it in step with every theme switch, for as long as the window lives.
    The application palette, and so the desktop's preference, is not touched.
*/
TESSERA_KIT_EXPORT void applyPalette(QWidget *window);

} // namespace tessera
