#pragma once

#include <tessera/kit/kit_export.h>

#include <QList>
#include <QMetaObject>
#include <QPointer>

#include <memory>

class QAbstractAnimation;

namespace tessera {

class SubscriptionsPrivate;

/*!
    The connections a widget keeps to things outside itself (the States it
    follows, the language switch, a menu) and the animations it runs, ended
    together by one call at the start of the widget's destructor.

    Qt destroys a widget's children after the widget's own destructor, its
    members and its private data are gone, and a child may still set a State
    or hide a menu from its destructor. A connection whose context is the
    widget ends only in ~QObject, too late: the late signal would reach freed
    data. So a widget keeps such connections here and calls release() first
    in its destructor. Each class of a hierarchy keeps its own holder, since
    its members go before the base class's destructor runs.

    \code
    m_subscriptions << connect(state, &State::valueChanged, this, [this] { updateText(); });
    m_subscriptions.add(m_rotation);              // stopped by release()
    Widget::~Widget() { m_subscriptions.release(); }
    \endcode
*/
class TESSERA_KIT_EXPORT Subscriptions
{
public:
    Subscriptions();
    //! Releases what is still held.
    ~Subscriptions();

    //! Keeps \a connection until release().
    Subscriptions &operator<<(const QMetaObject::Connection &connection);
    //! Keeps \a animation, to be stopped by release() unless it is gone by then.
    void add(QAbstractAnimation *animation);
    //! Breaks every kept connection and stops every kept animation; the holder is empty afterwards.
    void release();
    //! Whether the holder keeps no connection and no animation.
    bool isEmpty() const;

private:
    Q_DISABLE_COPY_MOVE(Subscriptions)
    // Made by the first connection or animation kept: most widgets' holders
    // of a class that follows no State stay empty and allocate nothing.
    std::unique_ptr<SubscriptionsPrivate> d;
};

} // namespace tessera
