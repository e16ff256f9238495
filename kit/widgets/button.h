#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>

#include <QPushButton>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace tessera {

class ButtonPrivate;

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
      "onClick" (a Button::ClickHandler), "style", "sx", "accessibleName"
      (a text, a deferred text or a State: what screen readers announce).

    Keyboard: a focused button clicks on Space, Enter and Return. Screen
    readers announce its text; a button that shows only its icon is announced
    by the \c accessibleName option or, without one, by the icon's name when
    the kit knows it ("Add", "More options", "Loading"). A name set with
    setAccessibleName() wins over both.

    A subclass may replace the \c sx option with the protected setSx() after
    this constructor; the style pass, which runs from the event loop after
    construction, reads it.

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
    //! The "text" option (shadows QAbstractButton's text with the same meaning; see setText()).
    Q_PROPERTY(QString text READ buttonText WRITE setText NOTIFY textChanged)
    //! The colour of the theme's button styles ("primary", "error", ...).
    Q_PROPERTY(QString color READ buttonColor WRITE setColor NOTIFY colorChanged)
    //! The variant of the theme's button styles ("contained", "outlined", "text", ...).
    Q_PROPERTY(QString variant READ buttonVariant WRITE setVariant NOTIFY variantChanged)
    //! The size of the theme's button styles (the \c size option).
    Q_PROPERTY(QString themeSize READ buttonSize WRITE setThemeSize NOTIFY themeSizeChanged)
    //! Whether the button was disabled itself, not through its parent.
    Q_PROPERTY(bool disabled READ isDisabled WRITE setDisabled NOTIFY disabledChanged)
public:
    //! Called when the button is clicked (the "onClick" option).
    using ClickHandler = std::function<void()>;

    //! The button's options; see the class description for each.
    struct Options
    {
        QVariantList args{};            //!< Positional arguments; a first text is the button text.
        StateOr<QString> startIcon{};   //!< A resource path or icon key, a State holding one, or none.
        QString componentType{};        //!< The kind of button, for its defaults ("OrbAction").
        QVariantMap kwargs{};           //!< Named options, each a plain value or a State*.
    };

    //! A button with every option at its default, a child of \a parent.
    explicit Button(QWidget *parent = nullptr);
    //! A button with \a options, a child of \a parent; throws OptionError naming a bad one.
    explicit Button(const Options &options, QWidget *parent = nullptr);
    ~Button() override;

    //! The start icon option as received (plain text, State or none).
    const StateOr<QString> &startIcon() const;
    //! The kind of button given at construction (empty for a plain button).
    QString componentType() const;
    //! The named options as received.
    const QVariantMap &buttonOptions() const;
    //! The positional arguments as received.
    const QVariantList &buttonArgs() const;

    //! The current value of a named option: a State's value, or the plain value.
    QVariant optionValue(const QString &name) const;
    //! The effective colour, size and variant (after the component-type defaults).
    QString buttonColor() const;
    QString buttonSize() const;      //!< The effective size ("small", "medium", "large").
    QString buttonVariant() const;   //!< The effective variant ("contained", "outlined", "text", ...).

    /*!
        The options as properties. A write replaces the named option (and a
        State it followed), notifies once when the effective value changed, and
        restyles this button on the next restyle pass. \c color, \c variant
        and \c themeSize (the \c size option) must be theme keys: anything
        else throws OptionError naming the property, and nothing changes.

        setText() hides QAbstractButton::setText(): called on a Button it sets
        the "text" option, so the text survives language changes and replaces
        a State. \c disabled is the inverse of QWidget's own enabled state
        (setDisabled() hides QWidget's slot of the same meaning and also
        replaces a State); disabledChanged() follows every setEnabled() too.
    */
    //! The text of the "text" option as shown (empty when children are the content).
    QString buttonText() const;
    //! Writes the \c text property.
    void setText(const QString &text);
    //! Writes the \c color property.
    void setColor(const QString &color);
    //! Writes the \c variant property.
    void setVariant(const QString &variant);
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);
    //! Whether the button was disabled itself (QWidget::setEnabled(false)), not through its parent.
    bool isDisabled() const;
    //! Writes the \c disabled property.
    void setDisabled(bool disabled);

    //! The style sheet the button applied itself on its last pass (empty before the first).
    QString appliedStyleSheet() const;

    QSize sizeHint() const override;          //!< \reimp
    QSize minimumSizeHint() const override;   //!< \reimp

Q_SIGNALS:
    //! Emitted once per change of the \c text property.
    void textChanged(const QString &text);
    //! Emitted once per change of the \c color property.
    void colorChanged(const QString &color);
    //! Emitted once per change of the \c variant property.
    void variantChanged(const QString &variant);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);
    //! Emitted once per change of the \c disabled property.
    void disabledChanged(bool disabled);

protected:
    void _set_stylesheet(const StyleMap &component_styled = {}) override;
    void changeEvent(QEvent *event) override;   //!< \reimp
    void keyPressEvent(QKeyEvent *event) override;   //!< \reimp
    //! Replaces the start icon (and a State it followed) and shows the new one.
    void setStartIcon(const StateOr<QString> &icon);
    //! The caller's extra style (the "sx" option); read by every style pass.
    const Sx &sx() const;
    //! Replaces the caller's extra style; the next style pass reads it.
    void setSx(const Sx &sx);

private:
    Q_DISABLE_COPY(Button)
    void updateText();
    void updateChildren();
    void updateIcon();
    void handleClick();
    //! Stores a plain value for the named option, dropping a State it followed.
    void replaceOption(const QString &name, const QVariant &value);
    //! The write of colour, variant or size: checks the theme key (naming \a property), then restyles.
    void setLookOption(const QString &name, const QString &property, const QString &value);
    //! Emits the NOTIFY signals of colour, variant and size when their effective values changed.
    void notifyLook();
    bool ownsStyleSheet() const;
    //! The button's own rules for \a components, each selecting "#" followed by \a name.
    QString composeStyleSheet(const StyleMap &components, const QString &name) const;
    std::unique_ptr<ButtonPrivate> const d;
};

} // namespace tessera

Q_DECLARE_METATYPE(tessera::Button::ClickHandler)
