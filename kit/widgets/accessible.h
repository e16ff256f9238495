#pragma once

#include <tessera/kit/kit_export.h>

#include <QString>

class QWidget;

namespace tessera {

/*!
    What the kit's widgets tell assistive tools (screen readers), on top of
    what Qt's own accessible interfaces report. The kit installs its
    QAccessible factory once, when the application object is created:
    BusyTrigger reports its label as its name and QAccessible::State::busy
    while it loads, ChipStack is a list whose items are its chips in their
    stacked order, and Typography is static text.

    Names the kit gives (a field's label on the editor inside it, a known
    icon's name on an icon-only button) are defaults: a name the application
    sets itself with QWidget::setAccessibleName() is never replaced.

    \code
    auto *add = new tessera::OrbAction({.icon = ":/icons/round/add.svg"});   // announced as "Add"
    add->setAccessibleName(tr("Add contact"));                             // the application's own name wins
    \endcode
*/

/*!
    Sets \a widget's accessible name to \a name unless the application has
    named the widget itself (an accessible name the kit did not set). An empty
    \a name withdraws a name the kit set before, so that Qt's own choice (a
    button's text, a group box title) applies again.
*/
TESSERA_KIT_EXPORT void setDefaultAccessibleName(QWidget *widget, const QString &name);

/*!
    Names a field after its \a label: the field itself (a group, so that the
    name holds while its title is hidden) and every editor inside it (text
    entries, spin boxes and date editors, combo boxes, dials and sliders) get
    \a label as their default accessible name. An editor's own parts (a spin
    box's line edit) and the editors of a group inside the field are left alone.
*/
TESSERA_KIT_EXPORT void setFieldAccessibleName(QWidget *field, const QString &label);

/*!
    The translated name of an icon that carries meaning on its own ("Add"
    for the "add" icon, "More options" for "more_vert", "Loading" for a
    loading spinner), taken from the icon's resource path or key; empty for an
    icon the kit does not know.
*/
TESSERA_KIT_EXPORT QString iconAccessibleName(const QString &icon);

//! Tells assistive tools that \a widget's busy state (QAccessible::State::busy) changed.
TESSERA_KIT_EXPORT void notifyAccessibleBusyChanged(QWidget *widget);

/*!
    Tells assistive tools that the name of \a widget changed (QAccessible::NameChanged),
    for a widget named by a text it shows (a label that follows a State or the
    language). Nothing is sent while the application names the widget itself.
*/
TESSERA_KIT_EXPORT void notifyAccessibleNameChanged(QWidget *widget);

} // namespace tessera
