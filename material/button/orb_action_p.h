#pragma once

// Internal to the orb action's library and its tests: the button's private
// data. Not installed, not API.

#include <tessera/material/button/orb_action.h>

#include <tessera/kit/subscriptions.h>

#include <QMetaObject>

class QVariantAnimation;

namespace tessera {

class OrbActionPrivate
{
public:
    //! The private data of \a orb.
    static OrbActionPrivate *get(OrbAction *orb) { return orb->d.get(); }

    explicit OrbActionPrivate(OrbAction *q) : q(q) {}

    //! Turns the icon while animate is true and the button is shown; else rests it upright.
    void updateAnimation();
    //! Emits iconSourceChanged() when the icon text differs from the one reported last.
    void notifyIconSource();

    OrbAction *const q;

    QVariantMap _kwargs;     // the further named options, as handed to Button
    StateOr<bool> _animate;  // whether the icon turns: a flag or a State

    //! The rotation, made when the icon first turns: most buttons never animate.
    QVariantAnimation *rotation();

    // Drives the icon angle from 0 to 360 degrees, looping; a child of the
    // button, made by rotation() when first needed.
    QVariantAnimation *_rotation = nullptr;

    // The animate State's and the icon State's connections, replaced by a
    // plain write of the property.
    QMetaObject::Connection animateConnection;
    QMetaObject::Connection iconConnection;
    // The icon text iconSourceChanged() reported last.
    QString notifiedIcon;
    qreal angle = 0;
    bool shown = false;
    // Every connection above and the rotation: released first in the destructor.
    Subscriptions subscriptions;
};

} // namespace tessera
