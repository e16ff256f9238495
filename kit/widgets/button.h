#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>

#include <QPushButton>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

namespace tessera {

/*!
    The kit's themed push button. It draws its start icon and text and styles
    itself from the theme's "PyButton" entries for its colour, size and variant
    ("circular" is round, "extended" a pill), restyling on every theme change.

    \code
    auto *save = new tessera::Button({.kwargs = {{"text", "Save"}, {"color", "primary"}}});
    \endcode

    Options:
    - \c args: further positional arguments; a first text is the button text.
    - \c startIcon: a resource path (":/icons/...svg"), a State holding one, or none.
    - \c componentType: the kind of button ("OrbAction" gives the defaults
      color "default", size "large", variant "circular" when the caller gave none).
    - \c kwargs: named options, each a plain value or a State*: "text",
      "children", "classes", "color", "component", "disabled",
      "disableFocusRipple", "disableRipple", "href", "size", "variant",
      "onClick" (a Button::ClickHandler), "style", "sx".

    A subclass may set the protected member \c _sx after this constructor; the
    style pass, which runs from the event loop after construction, reads it.

    Whose style sheet is in force: the button composes its sheet from the
    theme (and \c sx) on the first pass of the event loop after construction
    and after every theme change, and applies it only while styleSheet() is
    empty or still the text it applied itself (appliedStyleSheet()). A
    subclass or caller that calls setStyleSheet() with any other text takes
    the look over for good: later passes leave that sheet alone. Setting an
    empty sheet hands the look back to the button on its next pass.

    The start icon is a resource path, or an icon key ("eos-icons:loading");
    a monochrome SVG is tinted with the button's text colour (the \c color
    of its variant, or whatever colour the sheet in force gives). A path that
    does not exist draws no icon. \c children (a widget, a list of widgets, or
    a State holding either) replace the text and icon as the button's content.
*/
class TESSERA_KIT_EXPORT Button : public QPushButton, public RestyleLifecycle
{
    Q_OBJECT
public:
    using ClickHandler = std::function<void()>;

    struct Options
    {
        QVariantList args{};
        StateOr<QString> startIcon{};
        QString componentType{};
        QVariantMap kwargs{};
    };

    //! A button with every option at its default.
    Button();
    explicit Button(const Options &options);
    ~Button() override;

    //! The start icon option as received (plain text, State or none).
    const StateOr<QString> &startIcon() const { return _startIcon; }
    QString componentType() const { return _componentType; }
    //! The named options as received.
    const QVariantMap &buttonOptions() const { return _buttonKwargs; }
    const QVariantList &buttonArgs() const { return _args; }

    //! The current value of a named option: a State's value, or the plain value.
    QVariant optionValue(const QString &name) const;
    //! The effective colour, size and variant (after the component-type defaults).
    QString buttonColor() const;
    QString buttonSize() const;
    QString buttonVariant() const;

    //! The style sheet the button applied itself on its last pass (empty before the first).
    QString appliedStyleSheet() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void _set_stylesheet(const StyleMap &component_styled = {}) override;
    void changeEvent(QEvent *event) override;

    QVariantList _args;
    StateOr<QString> _startIcon;
    QString _componentType;
    QVariantMap _buttonKwargs;
    //! The caller's extra style; read by every style pass.
    Sx _sx;

private:
    Q_DISABLE_COPY(Button)
    void updateText();
    void updateChildren();
    void updateIcon();
    void handleClick();
    bool ownsStyleSheet() const;
    //! The button's own rules for \a components, each selecting "#" followed by \a name.
    QString composeStyleSheet(const StyleMap &components, const QString &name) const;
    struct Private;
    Private *d;
};

} // namespace tessera

Q_DECLARE_METATYPE(tessera::Button::ClickHandler)
