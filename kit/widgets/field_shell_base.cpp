#include "field_shell_base.h"

namespace tessera {

FieldShellBase::FieldShellBase() = default;
FieldShellBase::~FieldShellBase() = default;

void FieldShellBase::update(QWidget *field, bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    fieldStateChanged(field);
}

void FieldShellBase::fieldStateChanged(QWidget *) {}

void FieldShellBase::enterEvent(QWidget *field, QEnterEvent *) { update(field, m_hovered, true); }

void FieldShellBase::leaveEvent(QWidget *field, QEvent *)
{
    update(field, m_hovered, false);
}

void FieldShellBase::mousePressEvent(QWidget *field, QMouseEvent *event)
{
    if (event && event->button() == Qt::LeftButton)
        update(field, m_pressed, true);
}

void FieldShellBase::mouseReleaseEvent(QWidget *field, QMouseEvent *event)
{
    if (event && event->button() == Qt::LeftButton)
        update(field, m_pressed, false);
}

void FieldShellBase::focusInEvent(QWidget *field, QFocusEvent *) { update(field, m_focused, true); }

void FieldShellBase::focusOutEvent(QWidget *field, QFocusEvent *)
{
    // Losing focus also ends a press whose release went elsewhere.
    update(field, m_pressed, false);
    update(field, m_focused, false);
}

} // namespace tessera
