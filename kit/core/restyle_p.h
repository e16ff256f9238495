#pragma once

// Kit-internal: not installed, not part of the API. The kit's sources and the
// widget modules built with it include it as <tessera/kit/restyle_p.h>.

#include <tessera/kit/kit_export.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/subscriptions.h>
#include <tessera/kit/tasks.h>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QWidget>

#include <functional>
#include <list>
#include <utility>

namespace tessera {

//! The restyle bookkeeping of one themed widget (RestyleLifecycle's private data).
class RestyleLifecyclePrivate
{
public:
    explicit RestyleLifecyclePrivate(QWidget *self) : self(self) {}

    QWidget *const self;
    //! Handle of the most recently scheduled style task (invalid before the first).
    Task _setupStyleSheet;
    // The theme's change signal; released first at teardown, since a child may
    // switch the theme while Qt destroys the widget's children.
    Subscriptions themeSubscription;
    // Dynamic property changes of the widget, counted once _applyStyleSheet()
    // or _writeProperty() has been used.
    quint64 propertyChanges = 0;
    // What _writeProperty() last wrote.
    struct Written
    {
        const char *name = nullptr;
        QString value;
        quint64 propertyChanges = 0;
    };
    Written written;
    // What _applyStyleSheet() last applied, to tell whether re-applying would change anything.
    struct Applied
    {
        QString sheet;
        QString objectName;
        quint64 propertyChanges = 0;
        bool valid = false;           // a sheet was applied through the call
        int mayReachOthers = -1;      // whether the sheet may select on other widgets (-1: not read yet)
    };
    Applied applied;
    bool counting = false;   // the event filter is installed
    // Subscribed before being polished, and the first build has not run yet:
    // Qt's polish request waits for it (RestyleEventFilter).
    bool firstBuildPending = false;
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
    The memo-key part that stands for the current theme: its palette mode and
    its identity. The key of the theme in force is made once and shared.
*/
TESSERA_KIT_EXPORT QStringList themeMemoKey(const Theme *theme);

} // namespace tessera

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

/*!
    Holds the polish request that \a widget posted when it was made, while
    the first build of the themed widget it is inside (its nearest ancestor
    that uses RestyleLifecycle) is pending when the request arrives; that
    build polishes it with its ancestor, under the ancestor's sheet. For a
    themed widget whose sheet is written for the widgets given to it (a
    field shell's editors), so that an editor made first is not polished
    alone with the plain style and then again under the sheet. A widget
    moved elsewhere by then is polished as Qt would. Looks at one polish
    request only; does nothing for a widget that is polished already or
    uses RestyleLifecycle itself.
*/
TESSERA_KIT_EXPORT void polishWithFirstBuild(QWidget *widget);

} // namespace tessera::detail
