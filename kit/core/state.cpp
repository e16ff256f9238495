#include "state.h"

namespace tessera {

State::State(QVariant value, QObject *parent) : QObject(parent), m_value(std::move(value)) {}
State::~State() = default;

QVariant State::value() const { return m_value; }

void State::setValue(const QVariant &value)
{
    // Values Qt cannot compare (callables, widget lists) count as changed whenever
    // a new one is set: QVariant::operator== compares those by identity only.
    if (m_value.metaType() == value.metaType() && m_value == value && m_value.isValid())
        return;
    if (!m_value.isValid() && !value.isValid())
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
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
