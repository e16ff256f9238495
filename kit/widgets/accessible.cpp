#include "accessible.h"

#include "svg_widget.h"
#include "typography.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tessera {

namespace {

// The dynamic property that remembers the name the kit gave a widget, so that
// a name the application set itself is told apart and kept.
constexpr char DefaultNameProperty[] = "_tessera_defaultAccessibleName";

constexpr char IconContext[] = "tessera::Accessibility";

struct IconName
{
    const char *icon;
    const char *name;
};

// Icons that say what their button does; the rest are decoration.
constexpr IconName IconNames[] = {
    {"add", QT_TRANSLATE_NOOP("tessera::Accessibility", "Add")},
    {"more_vert", QT_TRANSLATE_NOOP("tessera::Accessibility", "More options")},
    {"loading", QT_TRANSLATE_NOOP("tessera::Accessibility", "Loading")},
};

// A widget named by the text of a Typography, unless the application named it.
class LabelledAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString own = widget()->accessibleName();
        if (!own.isEmpty())
            return own;
        const Typography *text = label();
        return text ? text->text() : QString();
    }

protected:
    virtual const Typography *label() const = 0;
};

// BusyTrigger looks like a button, so it is announced as one, named by its
// label; it is busy while its loading icon is shown. It takes no focus and
// has no action.
class BusyTriggerAccessible : public LabelledAccessible
{
public:
    explicit BusyTriggerAccessible(QWidget *widget) : LabelledAccessible(widget, QAccessible::Button) {}

    const Typography *label() const override
    {
        return widget()->findChild<Typography *>(QString(), Qt::FindDirectChildrenOnly);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = LabelledAccessible::state();
        const auto *icon = widget()->findChild<PySvgWidget *>(QString(), Qt::FindDirectChildrenOnly);
        s.busy = icon && icon->isVisibleTo(widget());
        return s;
    }
};

// ChipStack is a list; its items are the widgets in its layout, in the
// stacked order (a widget it only keeps aside is not one of them).
class ChipStackAccessible : public QAccessibleWidget
{
public:
    explicit ChipStackAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::List) {}

    int childCount() const override { return int(items().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> list = items();
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list.at(index)) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(items().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    QList<QWidget *> items() const
    {
        QList<QWidget *> out;
        if (const QLayout *stack = widget()->layout()) {
            for (int i = 0; i < stack->count(); ++i) {
                if (QWidget *item = stack->itemAt(i)->widget())
                    out.append(item);
            }
        }
        return out;
    }
};

// Typography draws its text itself: a screen reader reads it as static text.
class TypographyAccessible : public LabelledAccessible
{
public:
    explicit TypographyAccessible(QWidget *widget) : LabelledAccessible(widget, QAccessible::StaticText) {}

    const Typography *label() const override { return static_cast<const Typography *>(widget()); }
};

// Asked for every class of an object, from the most derived one up; answers
// for the kit's own classes only and leaves every other class to Qt.
QAccessibleInterface *kitAccessibleFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == u"tessera::BusyTrigger")
        return new BusyTriggerAccessible(widget);
    if (className == u"tessera::ChipStack")
        return new ChipStackAccessible(widget);
    if (className == u"tessera::Typography")
        return new TypographyAccessible(widget);
    return nullptr;
}

void installKitAccessibility()
{
    QAccessible::installFactory(kitAccessibleFactory);
}

// The widgets a field's label names: text entries, spin boxes and date
// editors, combo boxes, dials and sliders. A spin box's own line edit is part
// of the spin box, and a field inside the field names its own editors.
bool isEditor(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget);
}

void nameEditors(const QWidget *container, const QString &name)
{
    for (QObject *object : container->children()) {
        if (!object->isWidgetType())
            continue;
        auto *widget = static_cast<QWidget *>(object);
        if (widget->isWindow() || qobject_cast<QGroupBox *>(widget))
            continue;
        if (isEditor(widget))
            setDefaultAccessibleName(widget, name);
        else
            nameEditors(widget, name);
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installKitAccessibility)

void setDefaultAccessibleName(QWidget *widget, const QString &name)
{
    if (!widget)
        return;
    const QString current = widget->accessibleName();
    const QVariant given = widget->property(DefaultNameProperty);
    if (!current.isEmpty() && current != given.toString())
        return;   // named by the application
    widget->setProperty(DefaultNameProperty, name.isEmpty() ? QVariant() : QVariant(name));
    if (current != name)
        widget->setAccessibleName(name);
}

void setFieldAccessibleName(QWidget *field, const QString &label)
{
    if (!field)
        return;
    setDefaultAccessibleName(field, label);
    nameEditors(field, label);
}

QString iconAccessibleName(const QString &icon)
{
    // "eos-icons:loading" is a key; ":/icons/round/add.svg" a resource path.
    const qsizetype colon = icon.indexOf(u':');
    const QString name = colon > 0 ? icon.mid(colon + 1) : QFileInfo(icon).completeBaseName();
    for (const IconName &entry : IconNames) {
        if (name == QLatin1String(entry.icon))
            return QCoreApplication::translate(IconContext, entry.name);
    }
    return {};
}

void notifyAccessibleBusyChanged(QWidget *widget)
{
    // Qt drops updates while no assistive tool listens; nothing to build then.
    if (!widget || !QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.busy = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void notifyAccessibleNameChanged(QWidget *widget)
{
    if (!widget || !QAccessible::isActive() || !widget->accessibleName().isEmpty())
        return;
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace tessera
