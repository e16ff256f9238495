#pragma once

// Kit-internal: not installed, not part of the API.

#include <QWidget>

#include <functional>

namespace tessera::detail {

/*!
    Makes \a widget follow the theme the way the themed widgets do, for the
    kit's widgets that style themselves without RestyleLifecycle
    (Typography, the multi-value line edit, the SVG icon's tint): after every
    theme change, the next pass of the event loop schedules a task on the
    kit's queue, and the task calls \a restyle. So it never runs inside the
    theme's signal, widgets in view come first, and nothing runs once
    \a widget is gone. Every change leads to one call.
*/
void followTheme(QWidget *widget, std::function<void()> restyle);

} // namespace tessera::detail
