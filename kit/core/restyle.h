#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/subscriptions.h>
#include <tessera/kit/tasks.h>
#include <tessera/kit/theme.h>

#include <QString>
#include <QWidget>

#include <memory>

namespace tessera {

class RestyleLifecyclePrivate;

/*!
    The restyle lifecycle shared by the kit's themed widgets, written once.
    A themed widget derives from its Qt base and from RestyleLifecycle, and
    supplies only its build step, _set_stylesheet():

    theme change -> _onThemeChanged() -> zero-delay hop (next pass) ->
    _scheduleSetStyleSheet() -> deferred task (handle in _setupStyleSheet) ->
    _lazy_set_stylesheet() -> _set_stylesheet() -> setStyleSheet().

    Construction starts the same chain. The hop and the task go through the
    kit's one queue (see runLater()): a widget's build runs on a later pass
    than its hop, widgets in view are built before widgets out of view and
    hidden ones, and a switch over many widgets is spread over slices of a
    few milliseconds, with the event loop (input, timers, painting) running
    in between. Every trigger leads to one build. The hop and the task are
    bound to the widget, so nothing queued for a destroyed widget runs; the
    destructor stops following the theme and cancels the pending task. It
    runs after the widget's own destructor, when the widget's own members are
    gone, and reads only the task handle, which this class's private data
    holds; it runs
    before Qt destroys the children and emits QObject::destroyed. A build
    that throws ends that task only; the widget keeps its previous style
    sheet.

    Qt's first polish of the widget waits for the first build, which applies
    the sheet and then polishes the widget: a widget polished without its
    sheet and given it afterwards is polished twice, and Qt keeps more memory
    for it. Showing the widget (or anything else that polishes it earlier)
    polishes it at once, as in Qt.

    \code
    class Swatch : public QFrame, public tessera::RestyleLifecycle {
    public:
        Swatch() : tessera::RestyleLifecycle(this) { theme = tessera::useTheme(); _subscribeToTheme(); }
    protected:
        void _set_stylesheet(const tessera::StyleMap &) override { setStyleSheet(...); }
    };
    \endcode
*/
class TESSERA_KIT_EXPORT RestyleLifecycle
{
public:
    //! The theme object the widget follows (set by the widget from useTheme()).
    Theme *theme = nullptr;

    virtual ~RestyleLifecycle();

protected:
    //! The lifecycle of \a self, the widget that derives from this class.
    explicit RestyleLifecycle(QWidget *self);

    //! Connects theme->signal->changed to _onThemeChanged and starts the first zero-delay hop.
    void _subscribeToTheme();
    //! Slot of the theme's change signal: queues the zero-delay hop to _scheduleSetStyleSheet().
    void _onThemeChanged();
    //! Schedules a deferred task running _lazy_set_stylesheet(); keeps its handle.
    void _scheduleSetStyleSheet();
    //! The task body: calls _set_stylesheet().
    void _lazy_set_stylesheet();
    //! Cancels the task in _setupStyleSheet if it exists and is not done.
    void _onDestroy();

    //! The widget's build step: reads the theme and applies its style sheet.
    virtual void _set_stylesheet(const StyleMap &component_styled = {}) = 0;

    /*!
        The handle of the most recently scheduled style task (invalid before
        the first), as _scheduleSetStyleSheet() keeps it in _setupStyleSheet.
    */
    Task styleTask() const;

    /*!
        Applies \a sheet with setStyleSheet(), except when nothing would change:
        the sheet is the text already in force, it was applied through this
        call, and since then neither the object name nor any dynamic property
        of the widget has changed (a property its rules select on,
        "#name[focused=true]", would read differently). Qt re-polishes the
        widget and all its children even for an identical sheet, so skipping
        it saves the whole cost of an unchanged restyle (the same theme set
        again, or a theme that differs only in styles this widget does not
        read). A sheet that may select on properties of other widgets
        ("#name QLabel[x=y]", or a bare "QLabel[x=y]") is always applied.
        Returns whether setStyleSheet() was called.

        Applying costs nothing beyond setStyleSheet(): the sheet is read only
        when it could be skipped. Property changes are counted by the
        lifecycle's event filter on the widget (installed by
        _subscribeToTheme(), or else by the first call).

        Opt-in: a themed widget calls it from _set_stylesheet() in place of
        setStyleSheet().
    */
    bool _applyStyleSheet(const QString &sheet);

    /*!
        setProperty(\a name, \a value) for a dynamic property that the build
        step writes on every pass (the "variant" its rules select on). Qt does
        nothing when the property already holds an equal value, but finding
        that out costs a search of the class's properties every time; this
        call skips it when the widget wrote this very value through it and no
        dynamic property of the widget has changed since (counted as for
        _applyStyleSheet()). \a name must be a string literal: it is
        remembered by address.
    */
    void _writeProperty(const char *name, const QString &value);

private:
    Q_DISABLE_COPY(RestyleLifecycle)
    friend class RestyleEventFilter;
    std::unique_ptr<RestyleLifecyclePrivate> const d;
};

/*!
    Re-polishes \a widget and every widget inside it, so that style-sheet rules
    selecting on dynamic properties ("[focused=true]") follow a property change.
    Does nothing before the widget's first polish, which picks the properties up.
*/
TESSERA_KIT_EXPORT void repolish(QWidget *widget);

} // namespace tessera
