#pragma once

// Helpers shared by the test suites: running the event loop until every
// zero-delay timer, deferred task and deferred delete has been handled, and
// building test themes from the built-in ones.

#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QEvent>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

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

} // namespace testsupport
