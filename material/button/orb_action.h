#pragma once

#include <tessera/kit/button.h>
#include <tessera/material/button/orb_action_export.h>

#include <QVariantList>
#include <QVariantMap>

#include <memory>

class QHideEvent;
class QShowEvent;
class QStyleOptionButton;

namespace tessera {

class OrbActionPrivate;

/*!
    A floating action button: the kit's Button with the component type
    "OrbAction" (round by default, or a pill with the "extended" variant) whose
    content is typically an icon.

    \code
    auto *add = new tessera::OrbAction({.icon = ":/icons/add.svg", .kwargs = {{"color", "primary"}}});
    auto *sync = new tessera::OrbAction({.icon = "eos-icons:loading", .animate = syncing});   // syncing: a State
    \endcode

    \c icon becomes Button's start icon as it came (a text, a State holding
    one, or none). Every further positional and named option goes to Button
    unchanged; without \c color, \c size and \c variant, Button uses
    "default", "large" and "circular". \c startIcon and \c componentType are
    set by this class: a caller's own value for either is refused with
    OptionError. \c icon, \c animate and \c sx are options of their own and
    are refused inside \c kwargs, so \c sx reaches Button only through the
    style member it reads after construction.

    While \c animate is true (a flag, or a State followed for the button's
    whole life) and the button is shown, its icon turns clockwise around its
    centre, one turn per second; the text, the shape and the icon's place do
    not move. When animate turns false or the button is hidden, the turning
    stops and the icon rests upright.
*/
class TESSERA_ORB_ACTION_EXPORT OrbAction : public Button
{
    Q_OBJECT
    //! The \c icon option (QAbstractButton's own "icon" property is the QIcon it draws).
    Q_PROPERTY(QString iconSource READ iconSource WRITE setIconSource NOTIFY iconSourceChanged)
    //! Whether the icon turns while it is shown.
    Q_PROPERTY(bool animate READ animate WRITE setAnimate NOTIFY animateChanged)
public:
    //! The button's options; see the class description for each.
    struct Options
    {
        StateOr<QString> icon = {};      //!< The start icon: a text, a State holding one, or none.
        StateOr<bool> animate = false;   //!< Whether the icon turns while shown, or a State to follow.
        Sx sx = {};                      //!< The caller's extra style.
        //! Further positional arguments, handed to Button.
        QVariantList args = {};
        //! Further named options, handed to Button and kept in _kwargs.
        QVariantMap kwargs = {};
    };

    //! A button with every option at its default, a child of \a parent.
    explicit OrbAction(QWidget *parent = nullptr);
    //! A button with \a options, a child of \a parent; throws OptionError naming a bad one.
    explicit OrbAction(const Options &options, QWidget *parent = nullptr);
    ~OrbAction() override;

    /*!
        The \c icon and \c animate options as properties. A write replaces
        the option (and a State it followed) and notifies once when the value
        changed; the icon is shown, and turns or rests, at once. A followed
        State notifies too when its change alters what the property reads.
    */
    QString iconSource() const;
    //! Writes the \c iconSource property.
    void setIconSource(const QString &icon);
    //! Whether the icon turns while it is shown.
    bool animate() const;
    //! Writes the \c animate property.
    void setAnimate(bool animate);

    //! Whether the icon is turning now.
    bool isAnimating() const;
    //! The icon's current angle in degrees, clockwise (0 when resting).
    qreal iconAngle() const;

Q_SIGNALS:
    //! Emitted once per change of the \c iconSource property.
    void iconSourceChanged(const QString &icon);
    //! Emitted once per change of the \c animate property.
    void animateChanged(bool animate);

protected:
    void initStyleOption(QStyleOptionButton *option) const override;   //!< \reimp
    void showEvent(QShowEvent *event) override;                         //!< \reimp
    void hideEvent(QHideEvent *event) override;                         //!< \reimp

private:
    Q_DISABLE_COPY(OrbAction)
    friend class OrbActionPrivate;
    std::unique_ptr<OrbActionPrivate> const d;
};

} // namespace tessera
