#include "field_shell_base.h"

namespace tessera {

class FieldShellBasePrivate
{
public:
    bool hovered = false;
    bool focused = false;
    bool pressed = false;
};

FieldShellBase::FieldShellBase() : d(std::make_unique<FieldShellBasePrivate>()) {}
FieldShellBase::~FieldShellBase() = default;

bool FieldShellBase::isFieldHovered() const
{
    return d->hovered;
}

bool FieldShellBase::isFieldFocused() const
{
    return d->focused;
}

bool FieldShellBase::isFieldPressed() const
{
    return d->pressed;
}

void FieldShellBase::update(QWidget *field, bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    fieldStateChanged(field);
}

void FieldShellBase::fieldStateChanged(QWidget *) {}

void FieldShellBase::enterEvent(QWidget *field, QEnterEvent *) { update(field, d->hovered, true); }

void FieldShellBase::leaveEvent(QWidget *field, QEvent *)
{
    update(field, d->hovered, false);
}

void FieldShellBase::mousePressEvent(QWidget *field, QMouseEvent *event)
{
    if (event && event->button() == Qt::LeftButton)
        update(field, d->pressed, true);
}

void FieldShellBase::mouseReleaseEvent(QWidget *field, QMouseEvent *event)
{
    if (event && event->button() == Qt::LeftButton)
        update(field, d->pressed, false);
}

void FieldShellBase::focusInEvent(QWidget *field, QFocusEvent *) { update(field, d->focused, true); }

void FieldShellBase::focusOutEvent(QWidget *field, QFocusEvent *)
{
    // Losing focus also ends a press whose release went elsewhere.
    update(field, d->pressed, false);
    update(field, d->focused, false);
}

} // namespace tessera
