#pragma once

// Internal to the popup trigger's library and its tests: the trigger's
// private data. Not installed, not API.

#include <tessera/material/button/popup_trigger.h>

#include <tessera/kit/subscriptions.h>

#include <QAction>
#include <QPointer>

namespace tessera {

class PopupTriggerPrivate
{
public:
    //! The private data of \a trigger.
    static PopupTriggerPrivate *get(PopupTrigger *trigger) { return trigger->d.get(); }

    explicit PopupTriggerPrivate(PopupTrigger *q) : q(q) {}

    //! Runs _aboutToHide whenever the menu installed now is about to hide (and no other menu's).
    void followMenu();
    //! Applies the sheet the trigger set last anew (theme, direction), unless another sheet replaced it.
    void refreshOwnSheet();

    PopupTrigger *const q;

    // The options, held as given.
    QVariant _context;                   // stored only
    QVariant _menu;                      // stored only
    std::optional<QString> _icon;        // given, update_state() changes the look
    std::function<void()> _aboutToHide;  // runs when the installed menu is about to hide
    bool is_open = false;                // whether the button counts the menu as open

    // The installed menu's action, to notice when that menu is removed.
    QPointer<QAction> followedAction;
    // The connection to the installed menu's aboutToHide; released when the
    // menu changes and first in the destructor.
    Subscriptions menuSubscription;
    // The open or closed sheet update_state() applied last (empty before).
    QString stateSheet;
    bool stateOpen = false;
    // The sheet set at construction, in the theme's colours.
    QString indicatorSheet;
};

} // namespace tessera
