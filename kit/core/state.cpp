#include "state.h"

namespace tessera {

class StatePrivate
{
public:
    QVariant value;
};

State::State(QVariant value, QObject *parent) : QObject(parent), d(std::make_unique<StatePrivate>())
{
    d->value = std::move(value);
}
State::~State() = default;

QVariant State::value() const { return d->value; }

void State::setValue(const QVariant &value)
{
    // Values Qt cannot compare (callables, widget lists) count as changed whenever
    // a new one is set: QVariant::operator== compares those by identity only.
    if (d->value.metaType() == value.metaType() && d->value == value && d->value.isValid())
        return;
    if (!d->value.isValid() && !value.isValid())
        return;
    d->value = value;
    Q_EMIT valueChanged(d->value);
}

QVariant widgetListValue(const QList<QWidget *> &widgets)
{
    WidgetList list;
    list.reserve(widgets.size());
    for (QWidget *w : widgets)
        list.append(w);
    return QVariant::fromValue(list);
}

QVariant widgetValue(QWidget *widget) { return QVariant::fromValue(QPointer<QWidget>(widget)); }

QVariant widgetFactoryValue(WidgetFactory factory) { return QVariant::fromValue(std::move(factory)); }

} // namespace tessera
