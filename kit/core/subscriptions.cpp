#include "subscriptions.h"

#include <QAbstractAnimation>

#include <utility>

namespace tessera {

class SubscriptionsPrivate
{
public:
    QList<QMetaObject::Connection> connections;
    QList<QPointer<QObject>> animations;
};

Subscriptions::Subscriptions() = default;

Subscriptions::~Subscriptions()
{
    release();
}

Subscriptions &Subscriptions::operator<<(const QMetaObject::Connection &connection)
{
    if (connection) {
        if (!d)
            d = std::make_unique<SubscriptionsPrivate>();
        d->connections.append(connection);
    }
    return *this;
}

void Subscriptions::add(QAbstractAnimation *animation)
{
    if (animation) {
        if (!d)
            d = std::make_unique<SubscriptionsPrivate>();
        d->animations.append(animation);
    }
}

bool Subscriptions::isEmpty() const
{
    return !d || (d->connections.isEmpty() && d->animations.isEmpty());
}

void Subscriptions::release()
{
    if (!d)
        return;
    // Taken out first: a slot run by stopping an animation may not add to what is being released.
    const QList<QMetaObject::Connection> connections = std::exchange(d->connections, {});
    for (const QMetaObject::Connection &connection : connections)
        QObject::disconnect(connection);
    const QList<QPointer<QObject>> animations = std::exchange(d->animations, {});
    for (const QPointer<QObject> &animation : animations) {
        if (animation)
            static_cast<QAbstractAnimation *>(animation.data())->stop();
    }
}

} // namespace tessera
