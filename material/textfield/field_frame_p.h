#pragma once

// Internal to the ready-made fields (TextField, SelectField): the field shell
// they are built on, together with the line under it. Exported from the field
// shell's library for those modules; not installed, not API.

#include <tessera/material/textfield/field_shell.h>

#include <QPointer>

class QLabel;

namespace tessera {

class State;

namespace detail {

/*!
    A text option that may follow a State: the State's value is a text or a
    deferred text (translated on display, again after every language switch).
    changed() is emitted when the resolved text really changes.
*/
class TESSERA_FIELD_SHELL_EXPORT BoundText : public QObject
{
    Q_OBJECT
public:
    explicit BoundText(QObject *parent);

    //! Replaces the source (and the State it followed, if any).
    void setSource(const StateOr<QString> &source);
    QString text() const { return m_text; }
    //! Whether a State is followed.
    bool isBound() const { return m_source.isState(); }

Q_SIGNALS:
    void changed(const QString &text);

private:
    void refresh();
    StateOr<QString> m_source;
    QMetaObject::Connection m_stateConnection;
    QString m_text;
};

/*!
    The titled frame of a ready-made field and the line under it (helper or
    error text on the leading side, a counter on the trailing side). The
    frame is a FieldShell holding the editor (and trailing widgets such as a
    clear button) in its row. Both are laid out in the host widget, the
    public field, which owns them.

    Hover follows the pointer over the frame, focus follows the editor (a
    popup opened from the editor keeps the focused look), "error" is set
    while an error text is shown and "disabled" follows the frame's enabled
    state, so a host disabled with QWidget::setEnabled() looks disabled too.
*/
class TESSERA_FIELD_SHELL_EXPORT FieldFrame final : public FieldShell
{
    Q_OBJECT
public:
    FieldFrame(QWidget *host, QWidget *editor, const QList<QWidget *> &trailing, const QString &size, const Sx &sx,
               bool multiline);
    ~FieldFrame() override;

    QWidget *editor() const { return m_editor; }
    //! Puts \a editor in the old editor's place (the old one is deleted).
    void replaceEditor(QWidget *editor, bool multiline);

    // The four texts of a field, each a text or a State (followed, with the
    // language). A change of the shown text is announced by the signal of
    // the same name.
    //! The title, also the editor's accessible name.
    void setLabel(const StateOr<QString> &label);
    QString label() const { return m_label->text(); }
    //! The editor's "placeholderText".
    void setPlaceholder(const StateOr<QString> &placeholder);
    QString placeholder() const { return m_placeholder->text(); }
    //! Shown under the frame (and the editor's accessible description) while there is no error.
    void setHelperText(const StateOr<QString> &text);
    QString helperText() const { return m_helperText->text(); }
    //! A non-empty error shows the frame's error look and replaces the helper text.
    void setErrorText(const StateOr<QString> &text);
    QString errorText() const { return m_errorText->text(); }

    //! The trailing text under the frame; empty hides it.
    void setCounterText(const QString &text);

    QString fieldSize() const { return themeSize(); }
    //! Sets the theme size and rebuilds the style sheet; returns whether it changed.
    //! Throws OptionError naming \a property when the theme has no such size.
    bool setFieldSize(const QString &size, const QString &property);
    Sx callerSx() const { return m_callerSx; }
    //! Sets the caller's extra style and rebuilds the style sheet; returns whether it changed.
    bool setCallerSx(const Sx &sx);

    QWidget *footer() const { return m_footer; }
    QLabel *helperLabel() const { return m_helper; }
    QLabel *counterLabel() const { return m_counter; }

Q_SIGNALS:
    // Named apart from FieldShell's own labelChanged, disabledChanged and
    // errorChanged(bool), which the frame also emits.
    void fieldLabelChanged(const QString &label);
    void placeholderChanged(const QString &placeholder);
    void helperTextChanged(const QString &text);
    void fieldErrorChanged(const QString &error);
    //! The frame's enabled state changed (with its host's).
    void fieldDisabledChanged(bool disabled);

protected:
    void slot_set_stylesheet() override;
    void _set_stylesheet(const StyleMap &component_styled = {}) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void followEnabled();
    void updateFooter();
    void watchEditor(QWidget *editor);

    QPointer<QWidget> m_editor;
    State *m_hover = nullptr;
    State *m_focus = nullptr;
    Sx m_callerSx;
    QWidget *m_footer = nullptr;
    QLabel *m_helper = nullptr;
    QLabel *m_counter = nullptr;
    BoundText *m_label;
    BoundText *m_placeholder;
    BoundText *m_helperText;
    BoundText *m_errorText;
};

/*!
    Throws OptionError naming \a option unless the current theme has field
    styles for \a size.
*/
TESSERA_FIELD_SHELL_EXPORT void checkThemeSize(const QString &size, const QString &option);

//! A whole number from the named options (absent: \a fallback); OptionError naming it otherwise.
TESSERA_FIELD_SHELL_EXPORT int intOption(const QVariantMap &options, const QString &name, int fallback);

/*!
    The options the ready-made fields share, converted from named options
    for create(): label, placeholder, helperText and error (a text or a
    State), size (a text), disabled (a flag) and sx.
*/
template<typename Options>
void sharedOptions(Options &o, const QVariantMap &options)
{
    o.label = option::textOrState(options, QStringLiteral("label"));
    o.placeholder = option::textOrState(options, QStringLiteral("placeholder"));
    o.helperText = option::textOrState(options, QStringLiteral("helperText"));
    o.error = option::textOrState(options, QStringLiteral("error"));
    o.size = option::text(options, QStringLiteral("size"), QStringLiteral("medium"));
    o.disabled = option::flag(options, QStringLiteral("disabled"));
    o.sx = option::sx(options);
}

} // namespace detail
} // namespace tessera
