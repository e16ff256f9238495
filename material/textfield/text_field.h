#pragma once

#include <tessera/material/textfield/text_field_export.h>

#include <tessera/kit/options.h>
#include <tessera/kit/state.h>

#include <QString>
#include <QWidget>

#include <memory>

namespace tessera {

class TextFieldPrivate;

/*!
    A labelled text input, ready for forms: a QLineEdit (or the kit's
    PyPlainTextEdit when multi-line) inside the kit's themed field frame, with
    an optional helper line, error text, character counter and clear button.
    Its look comes from the theme's field styles and follows theme switches;
    hover and focus show in the frame's border and title.

    \code
    auto *name = new tessera::TextField({.label = "Name", .helperText = "As on your passport"});
    auto *notes = new tessera::TextField({.label = "Notes", .multiline = true, .maxLength = 200});
    name->setError(QStringLiteral("Required"));
    \endcode

    The label, placeholder, helper and error texts may each be given as a
    State holding a text or a deferred text: the field then follows the
    State and the language. Writing the property replaces such a binding.
    The editor's accessible name is the label; its accessible description is
    the error, or else the helper text. Tab reaches the editor; with
    clearable set, Escape clears a non-empty text (the clear button is for
    the pointer and stays out of the Tab order).

    Property writes validate like the constructor: a wrong value throws
    OptionError naming the property, and nothing changes.
*/
class TESSERA_TEXT_FIELD_EXPORT TextField : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
    Q_PROPERTY(QString placeholder READ placeholder WRITE setPlaceholder NOTIFY placeholderChanged)
    Q_PROPERTY(QString helperText READ helperText WRITE setHelperText NOTIFY helperTextChanged)
    Q_PROPERTY(QString error READ error WRITE setError NOTIFY errorChanged)
    Q_PROPERTY(bool password READ isPassword WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(bool multiline READ isMultiline WRITE setMultiline NOTIFY multilineChanged)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly NOTIFY readOnlyChanged)
    Q_PROPERTY(bool clearable READ isClearable WRITE setClearable NOTIFY clearableChanged)
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength NOTIFY maxLengthChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
    Q_PROPERTY(bool disabled READ isDisabled WRITE setDisabled NOTIFY disabledChanged)
    Q_PROPERTY(tessera::Sx sx READ sx WRITE setSx NOTIFY sxChanged)

public:
    struct Options
    {
        //! The frame's title and the editor's accessible name: a text, or a State (text or deferred text).
        StateOr<QString> label = {};
        QString text = {};
        StateOr<QString> placeholder = {};
        //! A line under the frame.
        StateOr<QString> helperText = {};
        //! Non-empty: the frame shows its error look and this text replaces the helper text.
        StateOr<QString> error = {};
        //! Hides the characters typed (single-line fields only).
        bool password = false;
        //! A PyPlainTextEdit instead of a QLineEdit.
        bool multiline = false;
        bool readOnly = false;
        //! A clear button inside the frame while there is text to clear.
        bool clearable = false;
        //! At most this many characters, with an "n / max" counter under the frame; 0: no limit.
        int maxLength = 0;
        //! A size of the theme's field styles ("small", "medium", "large").
        QString size = QStringLiteral("medium");
        bool disabled = false;
        //! The caller's extra style for the frame, rendered for "#" and the frame's object name.
        Sx sx = {};
    };

    explicit TextField(QWidget *parent = nullptr);
    /*!
        Builds the field from \a options. Throws OptionError naming the
        option for a negative maxLength, a size the theme does not have, or
        a password field that is multi-line; nothing is built then.
    */
    explicit TextField(const Options &options, QWidget *parent = nullptr);
    ~TextField() override;

    QString label() const;
    void setLabel(const QString &label);
    QString text() const;
    void setText(const QString &text);
    QString placeholder() const;
    void setPlaceholder(const QString &placeholder);
    QString helperText() const;
    void setHelperText(const QString &text);
    QString error() const;
    void setError(const QString &error);
    bool isPassword() const;
    void setPassword(bool password);
    bool isMultiline() const;
    void setMultiline(bool multiline);
    bool isReadOnly() const;
    void setReadOnly(bool readOnly);
    bool isClearable() const;
    void setClearable(bool clearable);
    int maxLength() const;
    void setMaxLength(int maxLength);
    //! The theme size (the "size" option; the property is named so as not to hide QWidget::size).
    QString themeSize() const;
    void setThemeSize(const QString &size);
    //! Whether the field is disabled (QWidget::setDisabled() and setEnabled() change it).
    bool isDisabled() const { return !isEnabled(); }
    Sx sx() const;
    void setSx(const Sx &sx);

    //! The editor: a QLineEdit, or a PyPlainTextEdit when multi-line. Replaced when multiline changes.
    QWidget *editor() const;

public Q_SLOTS:
    //! Empties the text (emits textChanged when there was text).
    void clear();

Q_SIGNALS:
    void labelChanged(const QString &label);
    void textChanged(const QString &text);
    //! Return was pressed in a single-line field, or the editor lost focus.
    void editingFinished();
    void placeholderChanged(const QString &placeholder);
    void helperTextChanged(const QString &text);
    void errorChanged(const QString &error);
    void passwordChanged(bool password);
    void multilineChanged(bool multiline);
    void readOnlyChanged(bool readOnly);
    void clearableChanged(bool clearable);
    void maxLengthChanged(int maxLength);
    void themeSizeChanged(const QString &size);
    void disabledChanged(bool disabled);
    void sxChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Q_DISABLE_COPY(TextField)
    friend class TextFieldPrivate;
    std::unique_ptr<TextFieldPrivate> const d;
};

} // namespace tessera
