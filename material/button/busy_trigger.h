#pragma once

#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/svg_widget.h>
#include <tessera/kit/typography.h>
#include <tessera/material/button/busy_trigger_export.h>

#include <QFrame>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

namespace tessera {

class BusyTriggerPrivate;

/*!
    \code
    BusyTrigger
    Base Button

    Args:
        loading?: True | False
        loadingPosition?: "start" | "center" | "end"
        loadingIndicator?: "Loading..." | any str

    Returns:
        new instance of BusyTrigger
    \endcode

    A button-styled frame that shows a text label and, while a loading
    condition holds, a spinning loading icon before the label
    (\c loadingPosition "start") or after it (any other position). It wears the
    theme's "PyButton" styles for its colour, variant and size and restyles on
    every theme change, but it is a plain QFrame: it handles no clicks and has
    no signals of its own. The condition is fixed at construction or follows a
    State. Screen readers announce it as a button named by its label, busy
    while the icon is shown; it takes no keyboard focus.

    \code
    auto *saving = new tessera::State(false, &window);
    auto *trigger = new tessera::BusyTrigger({.loading = saving, .kwargs = {{"text", "Save"}}});
    saving->setValue(true);   // the icon appears before "Save"
    \endcode

    Options:
    - \c loading: a State whose value is read as a truth value, or a flag.
      Through tessera::create() any plain value is read as a truth value
      (none, false, zero and empty count as off).
    - \c loadingPosition: "start" (exactly) puts the icon first; "center",
      "end" or any other text puts it after the label.
    - \c loadingIndicator: the label text when no non-empty "text" is given: a
      text, a DeferredText, a text function, or a State holding one of those.
    - \c color, \c variant, \c size: keys of the theme's "PyButton" styles.
      The colour "inherit" is styled as "default"; the variant "extended" as
      "contained", and "Extended" is cut from variant names.
    - \c sx: the caller's extra style, appended after the theme rules.
    - \c kwargs: every further named option, kept whole; "text" is the label text.

    Through tessera::create() a \c loadingPosition, \c color, \c variant or
    \c size that is not a text (none included) is refused with an OptionError
    naming it, and nothing is built.

    To derive: override _set_stylesheet() and call the base version to keep the
    theme sheet. A subclass that declares Q_OBJECT gets its own entries in the
    shared template memo, keyed by its class name.
*/
class TESSERA_BUSY_TRIGGER_EXPORT BusyTrigger : public QFrame, public RestyleLifecycle
{
    Q_OBJECT
    Q_CLASSINFO("Description",
                "\n    BusyTrigger\n    Base Button\n\n    Args:\n        loading?: True | False\n"
                "        loadingPosition?: \"start\" | \"center\" | \"end\"\n"
                "        loadingIndicator?: \"Loading...\" | any str\n\n    Returns:\n"
                "        new instance of BusyTrigger\n    ")
    //! Whether the loading icon shows.
    Q_PROPERTY(bool loading READ isLoading WRITE setLoading NOTIFY loadingChanged)
    //! Where the loading icon stands: "start" before the label, anything else after it.
    Q_PROPERTY(QString loadingPosition READ loadingPosition WRITE setLoadingPosition NOTIFY loadingPositionChanged)
    //! The label's text as shown (\c text, or else the loading indicator).
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    //! The colour of the theme's button styles.
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY colorChanged)
    //! The variant of the theme's button styles.
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY variantChanged)
    //! The size of the theme's button styles (the \c size option).
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
public:
    //! The trigger's options; see the class description for each.
    struct Options
    {
        StateOr<bool> loading = {};                          //!< Whether the loading icon shows, or a State to follow.
        QString loadingPosition = QStringLiteral("start");   //!< "start" puts the icon before the label.
        //! A text, DeferredText or text function (in a QVariant), or a State holding one.
        StateOr<QVariant> loadingIndicator = {};
        QString color = QStringLiteral("primary");           //!< The theme colour of the "PyButton" styles.
        QString variant = QStringLiteral("contained");       //!< "contained", "outlined", "text" or "soft".
        QString size = QStringLiteral("medium");             //!< "small", "medium" or "large".
        Sx sx = {};                                          //!< The caller's extra style.
        QVariantMap kwargs = {};                             //!< Further named options; "text" is the label text.
    };

    //! Builds a trigger with the default options, a child of \a parent.
    explicit BusyTrigger(QWidget *parent = nullptr);
    //! Builds a trigger with \a options, a child of \a parent.
    explicit BusyTrigger(const Options &options, QWidget *parent = nullptr);
    ~BusyTrigger() override;

    /*!
        The options as properties. A write replaces the option (and a State
        it followed), notifies once when the value changed, and restyles this
        widget on the next restyle pass. \c color, \c variant and \c themeSize
        (the \c size option) must be theme keys: anything else throws
        OptionError naming the property, and nothing changes.
    */
    bool isLoading() const;
    //! Writes the \c loading property.
    void setLoading(bool loading);
    //! Where the loading icon stands: "start" before the label, anything else after it.
    QString loadingPosition() const;
    //! Writes the \c loadingPosition property.
    void setLoadingPosition(const QString &position);
    //! The label's text as shown ("text", or else the loading indicator).
    QString text() const;
    //! Sets the "text" option; an empty text shows the loading indicator.
    void setText(const QString &text);
    //! The colour of the theme's button styles.
    QString color() const;
    //! Writes the \c color property.
    void setColor(const QString &color);
    //! The variant of the theme's button styles.
    QString variant() const;
    //! Writes the \c variant property.
    void setVariant(const QString &variant);
    //! The size of the theme's button styles (the \c size option).
    QString themeSize() const;
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);

    //! The loading icon ("eos-icons:loading" tinted "palette.grey._500").
    PySvgWidget *loadingWidget = nullptr;
    //! The text label ("button" typography in the theme's disabled-text colour).
    Typography *label = nullptr;

Q_SIGNALS:
    //! Emitted once per change of the \c loading property.
    void loadingChanged(bool loading);
    //! Emitted once per change of the \c loadingPosition property.
    void loadingPositionChanged(const QString &position);
    //! Emitted once per change of the \c text property.
    void textChanged(const QString &text);
    //! Emitted once per change of the \c color property.
    void colorChanged(const QString &color);
    //! Emitted once per change of the \c variant property.
    void variantChanged(const QString &variant);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);

protected:
    //! Builds the centred row, subscribes to the loading State and to the theme.
    void _init_ui();
    //! Follows the loading State, when the condition is one.
    void connectSignalSlot();
    /*!
        Places and shows the icon while loading is on, hides it otherwise. The
        argument is ignored: the condition is read afresh from the option.
    */
    void _update_loading(const QVariant &value = {});

    /*!
        The memoised style template for this class, variant, size, colour and
        palette mode (and the identity of the current theme), with
        ObjectNamePlaceholder where the object name goes. Throws when the
        theme lacks an entry; nothing is memoised then.
    */
    QString _get_stylesheet(const QString &_variant, const QString &_size, const QString &_color,
                            const QString &_theme_mode) const;
    //! One styling pass; the argument is ignored.
    void _set_stylesheet(const StyleMap &component_styled = {}) override;

private:
    Q_DISABLE_COPY(BusyTrigger)
    friend class BusyTriggerPrivate;
    std::unique_ptr<BusyTriggerPrivate> const d;
};

} // namespace tessera
