#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/subscriptions.h>
#include <tessera/kit/tasks.h>
#include <tessera/kit/theme.h>

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <list>
#include <utility>

namespace tessera {

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
    gone, and reads only the task handle, which this class holds; it runs
    before Qt destroys the children and emits QObject::destroyed. A build
    that throws ends that task only; the widget keeps its previous style
    sheet.

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

    //! Handle of the most recently scheduled style task (invalid before the first).
    Task _setupStyleSheet;

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
        when it could be skipped. Property changes are counted by an event
        filter that the first call installs on the widget.

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
    friend class PropertyChangeCounter;
    void countPropertyChanges();
    QWidget *m_self;
    // The theme's change signal; released first at teardown, since a child may
    // switch the theme while Qt destroys the widget's children.
    Subscriptions m_themeSubscription;
    // Dynamic property changes of the widget, counted once _applyStyleSheet()
    // or _writeProperty() has been used.
    quint64 m_propertyChanges = 0;
    // What _writeProperty() last wrote.
    struct Written
    {
        const char *name = nullptr;
        QString value;
        quint64 propertyChanges = 0;
    };
    Written m_written;
    // What _applyStyleSheet() last applied, to tell whether re-applying would change anything.
    struct Applied
    {
        QString sheet;
        QString objectName;
        quint64 propertyChanges = 0;
        bool valid = false;           // a sheet was applied through the call
        int mayReachOthers = -1;      // whether the sheet may select on other widgets (-1: not read yet)
    };
    Applied m_applied;
    bool m_counting = false;   // the change counter is installed
};

/*!
    A least-recently-used memo with a fixed capacity (128 by default), for the
    class-level style-sheet templates of the themed widgets. Keys are compared
    by value. get() builds on a miss; a build that throws memoises nothing.
*/
template<typename Value>
class LruMemo
{
public:
    //! An empty memo that keeps at most \a capacity values.
    explicit LruMemo(int capacity = 128) : m_capacity(capacity) {}

    //! The value under \a key, made by \a build() on a miss (and then the most recently used).
    template<typename Build>
    const Value &get(const QStringList &key, Build &&build)
    {
        const auto found = m_index.constFind(key);
        if (found != m_index.cend()) {
            m_entries.splice(m_entries.begin(), m_entries, found.value());
            ++m_hits;
            return m_entries.front().second;
        }
        Value value = build();
        ++m_builds;
        m_entries.emplace_front(key, std::move(value));
        m_index.insert(key, m_entries.begin());
        if (int(m_entries.size()) > m_capacity) {
            m_index.remove(m_entries.back().first);
            m_entries.pop_back();
        }
        return m_entries.front().second;
    }

    bool contains(const QStringList &key) const { return m_index.contains(key); }   //!< Whether \a key is memoised.
    int size() const { return int(m_entries.size()); }                              //!< The number of values held.
    int capacity() const { return m_capacity; }                                     //!< The most values held.
    //! How many values have been built (memo misses that completed).
    int builds() const { return m_builds; }
    int hits() const { return m_hits; }   //!< How many get() calls found their value.
    //! Keys from most to least recently used.
    QList<QStringList> keys() const
    {
        QList<QStringList> out;
        for (const auto &e : m_entries)
            out.append(e.first);
        return out;
    }

private:
    using Entries = std::list<std::pair<QStringList, Value>>;
    int m_capacity;
    Entries m_entries;
    QHash<QStringList, typename Entries::iterator> m_index;
    int m_builds = 0;
    int m_hits = 0;
};

//! The text that memoised style templates hold in place of the widget's object name.
inline constexpr QStringView ObjectNamePlaceholder = u"_________object_name_______";

//! Replaces every ObjectNamePlaceholder in \a sheet with \a objectName; returns \a sheet.
TESSERA_KIT_EXPORT QString &fillObjectName(QString &sheet, const QString &objectName);

/*!
    Re-polishes \a widget and every widget inside it, so that style-sheet rules
    selecting on dynamic properties ("[focused=true]") follow a property change.
    Does nothing before the widget's first polish, which picks the properties up.
*/
TESSERA_KIT_EXPORT void repolish(QWidget *widget);

/*!
    The memo-key part that stands for the current theme: its palette mode and
    its identity. The key of the theme in force is made once and shared.
*/
TESSERA_KIT_EXPORT QStringList themeMemoKey(const Theme *theme);

} // namespace tessera
