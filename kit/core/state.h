#pragma once

#include <tessera/kit/kit_export.h>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

namespace tessera {

class StatePrivate;

/*!
    An observable value. Widgets that take an option "or a State" subscribe to
    valueChanged and read value() afresh; the caller owns the State, and a
    widget treats a State deleted before it as absent.

    \code
    auto *busy = new tessera::State(false, &window);
    auto *trigger = new BusyTrigger({.loading = busy});
    busy->setValue(true);   // the trigger shows its loading icon
    \endcode
*/
class TESSERA_KIT_EXPORT State : public QObject
{
    Q_OBJECT
    //! The value held; writing a different one emits valueChanged.
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
public:
    //! A State holding \a value, owned by \a parent.
    explicit State(QVariant value = {}, QObject *parent = nullptr);
    ~State() override;

    //! The value held.
    QVariant value() const;
    //! Stores \a value and emits valueChanged when it differs from the current one.
    void setValue(const QVariant &value);

Q_SIGNALS:
    //! Emitted with the new \a value after setValue() changed it.
    void valueChanged(const QVariant &value);

private:
    Q_DISABLE_COPY(State)
    std::unique_ptr<StatePrivate> const d;
};

//! A list of widgets held in a State or an option; entries become null when a widget dies.
using WidgetList = QList<QPointer<QWidget>>;
//! A callable that makes a widget (for example a ChipStack content value).
using WidgetFactory = std::function<QWidget *()>;

//! Convenience: a QVariant holding a WidgetList of \a widgets.
TESSERA_KIT_EXPORT QVariant widgetListValue(const QList<QWidget *> &widgets);
//! Convenience: a QVariant holding a single widget (as a guarded pointer).
TESSERA_KIT_EXPORT QVariant widgetValue(QWidget *widget);
//! Convenience: a QVariant holding a WidgetFactory.
TESSERA_KIT_EXPORT QVariant widgetFactoryValue(WidgetFactory factory);

} // namespace tessera

Q_DECLARE_METATYPE(tessera::WidgetList)
Q_DECLARE_METATYPE(tessera::WidgetFactory)
Q_DECLARE_METATYPE(QPointer<QWidget>)
