#include "subscriptions.h"

#include <QAbstractAnimation>

#include <utility>

namespace tessera {

Subscriptions::Subscriptions() = default;

Subscriptions::~Subscriptions()
{
    release();
}

Subscriptions &Subscriptions::operator<<(const QMetaObject::Connection &connection)
{
    if (connection)
        m_connections.append(connection);
    return *this;
}

void Subscriptions::add(QAbstractAnimation *animation)
{
    if (animation)
        m_animations.append(animation);
}

void Subscriptions::release()
{
    // Taken out first: a slot run by stopping an animation may not add to what is being released.
    const QList<QMetaObject::Connection> connections = std::exchange(m_connections, {});
    for (const QMetaObject::Connection &connection : connections)
        QObject::disconnect(connection);
    const QList<QPointer<QObject>> animations = std::exchange(m_animations, {});
    for (const QPointer<QObject> &animation : animations) {
        if (animation)
            static_cast<QAbstractAnimation *>(animation.data())->stop();
    }
}

} // namespace tessera
