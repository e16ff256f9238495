#pragma once

#include <tessera/kit/kit_export.h>

#include <QEnterEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace tessera {

class FieldShellBasePrivate;

/*!
    The field behaviour shared by the kit's editor fields, as a second base
    class beside a Qt editor (QDial, QSpinBox, QDateEdit, ...). It needs no
    constructor arguments. The editor overrides each of the six Qt handlers to
    call the FieldShellBase operation of the same name first, with itself and
    the event, and then its Qt base's handler:

    \code
    class Knob : public QDial, public tessera::FieldShellBase {
    protected:
        void enterEvent(QEnterEvent *e) override { FieldShellBase::enterEvent(this, e); QDial::enterEvent(e); }
        // ... the same for leaveEvent, mousePressEvent, mouseReleaseEvent, focusInEvent, focusOutEvent
    };
    \endcode

    FieldShellBase keeps the field's hovered, pressed and focused state in step
    with those events and reports each change through fieldStateChanged(). It
    sets no properties and no style on the field, and never accepts or ignores
    the events: that stays with the Qt handler that runs after it.
*/
class TESSERA_KIT_EXPORT FieldShellBase
{
public:
    FieldShellBase();
    virtual ~FieldShellBase();

    //! The pointer entered \a field: it is hovered.
    void enterEvent(QWidget *field, QEnterEvent *event);
    //! The pointer left \a field: it is no longer hovered.
    void leaveEvent(QWidget *field, QEvent *event);
    //! A mouse button went down on \a field: it is pressed.
    void mousePressEvent(QWidget *field, QMouseEvent *event);
    //! The mouse button was released: \a field is no longer pressed.
    void mouseReleaseEvent(QWidget *field, QMouseEvent *event);
    //! \a field gained keyboard focus.
    void focusInEvent(QWidget *field, QFocusEvent *event);
    //! \a field lost keyboard focus.
    void focusOutEvent(QWidget *field, QFocusEvent *event);

    //! The pointer is over the field.
    bool isFieldHovered() const;
    //! The field has keyboard focus.
    bool isFieldFocused() const;
    //! A mouse button went down on the field and has not been released.
    bool isFieldPressed() const;

protected:
    //! Called after hovered, pressed or focused changed; the default does nothing.
    virtual void fieldStateChanged(QWidget *field);

private:
    Q_DISABLE_COPY(FieldShellBase)
    void update(QWidget *field, bool &flag, bool value);
    std::unique_ptr<FieldShellBasePrivate> const d;
};

} // namespace tessera
