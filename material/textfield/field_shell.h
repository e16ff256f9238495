#pragma once

#include <tessera/material/textfield/field_shell_export.h>

#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>

#include <QGroupBox>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

namespace tessera {

class FieldShellPrivate;

/*!
    The titled frame of the kit's input fields: a QGroupBox whose title is the
    field's label, holding its editor widgets in one row without margins. It
    exposes the field's visual state as dynamic properties ("hovered",
    "focused", "multipleHasValue", "disabled", "error"), keeps its title in
    step with an observable label and with the application's language, and
    builds a state-aware style sheet from the current theme after every theme
    change.

    Screen readers announce the field (a group) and the editors inside it by
    the label, translated, also while the title is hidden; a name the
    application sets on the field or an editor itself is kept.

    FieldShell is a base class. After each change of a state property it calls
    slot_set_stylesheet(), which the derived field implements (typically by
    re-polishing itself and its editors so that the property selectors apply).

    Deriving: construction runs in two phases, so that the calls made while the
    shell initialises reach the derived class. The FieldShell constructor only
    stores the options; the most-derived constructor finishes its own members
    and then calls _init_ui() as its last step:

    \code
    class NameField : public tessera::FieldShell {
    public:
        explicit NameField(Options options, QWidget *parent = nullptr)
            : FieldShell(std::move(options), parent) { _init_ui(); _show_label(); }
    protected:
        void slot_set_stylesheet() override { style()->unpolish(this); style()->polish(this); }
    };
    auto *field = new NameField({.label = "Name", .children = QList<QWidget *>{new QLineEdit}});
    \endcode

    A class that derives further does not call _init_ui() again (a second call
    does nothing). A field whose derived class forgot the call initialises
    itself when it is first polished (before it is first shown) and warns.
*/
class TESSERA_FIELD_SHELL_EXPORT FieldShell : public QGroupBox, public RestyleLifecycle
{
    Q_OBJECT
    //! The label's current text, shown as the title.
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    //! Whether the title is hidden (the label still names the field for screen readers).
    Q_PROPERTY(bool hiddenLabel READ isLabelHidden WRITE setHiddenLabel NOTIFY hiddenLabelChanged)
    //! The size of the theme's field styles (the \c size option).
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
    //! Whether the field wears its disabled look.
    Q_PROPERTY(bool disabled READ isDisabled WRITE setDisabled NOTIFY disabledChanged)
    //! Whether the field wears its error look.
    Q_PROPERTY(bool error READ hasError WRITE setError NOTIFY errorChanged)
public:
    //! Makes the tag widgets of a multiple value; FieldShell only looks at whether it is set.
    using RenderTags = std::function<QList<QWidget *>(const QVariant &value)>;

    //! The field's options, in their positional order.
    struct Options
    {
        //! Only its truth is used: a disabled field ignores hovering and shows its disabled look.
        bool disabled = false;
        //! A text (shown unchanged), or a State holding a text or a callable text
        //! (DeferredText, std::function<QString()>) that is translated on display. None: no title.
        StateOr<QString> label = {};
        bool hiddenLabel = false;            //!< Keeps the title empty whatever the label.
        StateOr<bool> focused = false;       //!< The "focused" look, or a State to follow.
        StateOr<bool> hovered = false;       //!< The "hovered" look, or a State to follow.
        //! The editor widgets, laid out in one row in this order; none installs no layout.
        std::optional<QList<QWidget *>> children = std::nullopt;
        bool multiple = false;               //!< Picks the theme's styles for a field of several values.
        bool multiline = false;              //!< Picks the theme's multi-line input styles.
        RenderTags renderTags = {};          //!< Makes the tags of a multiple value (only whether it is set counts).
        //! A size of the theme's "FieldShellSize" styles ("small", "medium", "large").
        QString size = QStringLiteral("medium");
        Sx sx = {};                          //!< The caller's extra style, after the theme's rules.
        //! Kept for derived classes; FieldShell gives it no meaning.
        StateOr<QVariant> value = {};
        //! Further named options: accepted and ignored.
        QVariantMap kwargs = {};
    };

    ~FieldShell() override;

    /*!
        The options as properties. A write replaces the option (and a State it
        followed), notifies once when the value changed, and updates the
        field: the title for \c label and \c hiddenLabel, the state
        properties its style sheet selects on for \c disabled and \c error
        (through slot_set_stylesheet()), and the style sheet, on the next
        restyle pass, for \c themeSize (the \c size option, which must be a
        theme key: anything else throws OptionError naming "themeSize", and
        nothing changes).
    */
    //! The label's current text (a State's text as shown); empty without a label.
    QString label() const;
    //! Writes the \c label property.
    void setLabel(const QString &label);
    //! Whether the title is hidden (the label still names the field for screen readers).
    bool isLabelHidden() const;
    //! Writes the \c hiddenLabel property.
    void setHiddenLabel(bool hidden);
    //! The size of the theme's field styles (the \c size option).
    QString themeSize() const;
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);
    //! The disabled look: a disabled field ignores hovering. It does not disable the editors.
    bool isDisabled() const;
    //! Writes the \c disabled property.
    void setDisabled(bool disabled);
    //! The error look (the "error" state its style sheet selects on).
    bool hasError() const;
    //! Writes the \c error property.
    void setError(bool error);

Q_SIGNALS:
    //! Emitted once per change of the \c label property.
    void labelChanged(const QString &label);
    //! Emitted once per change of the \c hiddenLabel property.
    void hiddenLabelChanged(bool hidden);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);
    //! Emitted once per change of the \c disabled property.
    void disabledChanged(bool disabled);
    //! Emitted once per change of the \c error property.
    void errorChanged(bool error);

protected:
    /*!
        Stores \a options; throws OptionError naming "children" when the list
        holds a null widget (nothing is built then). The most-derived
        constructor calls _init_ui() when its own members are ready.
    */
    explicit FieldShell(Options options, QWidget *parent = nullptr);
    //! Stores the default options, as a child of \a parent; the most-derived constructor calls _init_ui().
    explicit FieldShell(QWidget *parent = nullptr);

    /*!
        Second construction phase: names the widget, subscribes to the label,
        hovered and focused States, sets the "hovered" and "focused" properties
        (calling slot_set_stylesheet() after each), lays out the children,
        follows the language and the theme, and queues the first style build
        for after construction. Runs once; later calls do nothing.
    */
    void _init_ui();
    //! Whether _init_ui() has run.
    bool isInitialized() const;

    //! Called after each change of a state property; the derived field re-applies its style.
    virtual void slot_set_stylesheet() = 0;

    //! Shows the label as title (unless hiddenLabel is set). FieldShell never calls it itself.
    void _show_label();
    //! Clears the title, whatever hiddenLabel is.
    void _hide_label();
    //! Sets the "multipleHasValue" property to \a state, then calls slot_set_stylesheet().
    void _set_multiple_has_value_prop(const QVariant &state);

    /*!
        Builds and applies the style sheet now (the deferred restyle task calls
        it after every theme change). A non-empty \a component_styled, shaped
        like Theme::components, replaces the theme's component styles for this
        build. Throws StyleLookupError when a required entry is missing or of
        the wrong kind; the previous style sheet and minimum height then stay.
    */
    void _set_stylesheet(const StyleMap &component_styled = {}) override;

    bool event(QEvent *event) override;   //!< \reimp

protected Q_SLOTS:
    //! Re-evaluates the title from the label (nothing when the label is hidden).
    void _set_translated_label();
    //! Sets "hovered" from the hovered option and calls slot_set_stylesheet() (nothing when disabled).
    void _set_hovered_prop();
    //! Sets "focused" from the focused option and calls slot_set_stylesheet().
    void _set_focused_prop();

protected:
    // The options as given, for the derived field (a State as the State
    // itself); label(), isLabelHidden(), themeSize() and isDisabled() give
    // the others.
    //! The label option: a text, a State, or none.
    const StateOr<QString> &labelOption() const;
    //! The hovered option: a flag or a State.
    const StateOr<bool> &hoveredOption() const;
    //! The focused option: a flag or a State.
    const StateOr<bool> &focusedOption() const;
    //! The editor widgets, guarded (none when no list was given).
    const std::optional<WidgetList> &childWidgets() const;
    bool isMultiple() const;   //!< The multiple option.
    bool isMultiline() const;   //!< The multiline option.
    const RenderTags &renderTags() const;   //!< The renderTags option.
    const Sx &sx() const;   //!< The caller's extra style.
    //! The value option, which FieldShell keeps for the derived field and does not read.
    const StateOr<QVariant> &valueOption() const;

private:
    Q_DISABLE_COPY(FieldShell)
    friend class FieldShellPrivate;
    std::unique_ptr<FieldShellPrivate> const d;
};

} // namespace tessera

Q_DECLARE_METATYPE(tessera::FieldShell::RenderTags)
