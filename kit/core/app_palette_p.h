#pragma once

// Internal to the kit: what the theme manager needs of applyPalette().

namespace tessera::detail {

/*!
    When the application palette follows the theme (applyPalette(QApplication*)),
    hands its Window and WindowText roles back to the desktop, so that the
    desktop's preference can be read before "system" picks a theme.
*/
void releaseApplicationWindowRoles();

} // namespace tessera::detail
