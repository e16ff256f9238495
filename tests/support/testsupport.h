#pragma once

// Helpers shared by the test suites: running the event loop until every
// zero-delay timer, deferred task and deferred delete has been handled, and
// building test themes from the built-in ones.

#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace testsupport {

//! Runs the event loop for \a passes passes (posted events, timers, deferred deletes), then until it is idle.
void drainEvents(int passes = 6);

/*!
    Runs one pass of posted events: the zero-delay timers started so far
    fire, and the deferred tasks they schedule wait for the next pass.
*/
void runTimerHop();

//! Registers a copy of built-in theme \a base, changed by \a edit, under a fresh name; returns the name.
QString registerVariant(const QString &base, const std::function<void(tessera::StyleMap &)> &edit);

//! Registers a copy of \a base with the key path \a dottedPath removed; returns the name.
QString registerWithout(const QString &base, const QString &dottedPath);

//! Sets a nested value by dotted path, creating mappings on the way.
void setPath(tessera::StyleMap &map, const QString &dottedPath, const tessera::StyleValue &value);

//! True when \a name has the canonical form of a random UUID (36 lower-case hex characters, 8-4-4-4-12).
bool isUuidText(const QString &name);

//! JSON written with single quotes (for readable test data): the quotes become double quotes.
inline QByteArray json(const char *singleQuoted)
{
    return QByteArray(singleQuoted).replace('\'', '"');
}

//! Splits a style text into lines (keeping empty ones), for readable failures.
QStringList lines(const QString &text);

//! Counts the events of one type that reach the objects it is installed on as an event filter.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type) : m_type(type) {}
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
};

/*!
    A child that changes what its parent follows while the parent is torn
    down: its destructor gives each State its new value, then runs \c also
    (a theme or language switch, say). Qt destroys children after the parent's
    own destructor has run, so the parent must no longer listen by then.
*/
class LateSetter : public QWidget
{
public:
    using Change = std::pair<QPointer<tessera::State>, QVariant>;
    explicit LateSetter(QList<Change> changes, QWidget *parent = nullptr)
        : QWidget(parent), m_changes(std::move(changes))
    {
    }
    ~LateSetter() override
    {
        for (const Change &change : std::as_const(m_changes)) {
            if (change.first)
                change.first->setValue(change.second);
        }
        if (also)
            also();
    }
    std::function<void()> also;

private:
    QList<Change> m_changes;
};

} // namespace testsupport
