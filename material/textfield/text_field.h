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
    //! The frame's title and the editor's accessible name.
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    //! The text in the editor (the field's user property).
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
    //! The text shown while the editor is empty.
    Q_PROPERTY(QString placeholder READ placeholder WRITE setPlaceholder NOTIFY placeholderChanged)
    //! The line under the frame, shown while there is no error.
    Q_PROPERTY(QString helperText READ helperText WRITE setHelperText NOTIFY helperTextChanged)
    //! The error text: while it is non-empty the frame shows its error look and this text replaces the helper line.
    Q_PROPERTY(QString error READ error WRITE setError NOTIFY errorChanged)
    //! Whether the characters typed are hidden (single-line fields only).
    Q_PROPERTY(bool password READ isPassword WRITE setPassword NOTIFY passwordChanged)
    //! Whether the editor is a multi-line PyPlainTextEdit instead of a QLineEdit.
    Q_PROPERTY(bool multiline READ isMultiline WRITE setMultiline NOTIFY multilineChanged)
    //! Whether the text can be read and selected but not changed.
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly NOTIFY readOnlyChanged)
    //! Whether a clear button shows inside the frame while there is text to clear.
    Q_PROPERTY(bool clearable READ isClearable WRITE setClearable NOTIFY clearableChanged)
    //! The most characters the field takes, counted under the frame; 0 is no limit.
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength NOTIFY maxLengthChanged)
    //! The size of the theme's field styles (the \c size option).
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
    //! Whether the field is disabled (the inverse of QWidget::enabled).
    Q_PROPERTY(bool disabled READ isDisabled WRITE setDisabled NOTIFY disabledChanged)
    //! The caller's extra style for the frame.
    Q_PROPERTY(tessera::Sx sx READ sx WRITE setSx NOTIFY sxChanged)

public:
    //! The field's options; the properties of the same names change them later.
    struct Options
    {
        //! The frame's title and the editor's accessible name: a text, or a State (text or deferred text).
        StateOr<QString> label = {};
        //! The text the editor starts with.
        QString text = {};
        //! The text shown while the editor is empty: a text, or a State (text or deferred text).
        StateOr<QString> placeholder = {};
        //! A line under the frame.
        StateOr<QString> helperText = {};
        //! Non-empty: the frame shows its error look and this text replaces the helper text.
        StateOr<QString> error = {};
        //! Hides the characters typed (single-line fields only).
        bool password = false;
        //! A PyPlainTextEdit instead of a QLineEdit.
        bool multiline = false;
        //! The text can be read and selected but not changed.
        bool readOnly = false;
        //! A clear button inside the frame while there is text to clear.
        bool clearable = false;
        //! At most this many characters, with an "n / max" counter under the frame; 0: no limit.
        int maxLength = 0;
        //! A size of the theme's field styles ("small", "medium", "large").
        QString size = QStringLiteral("medium");
        //! Whether the field starts disabled.
        bool disabled = false;
        //! The caller's extra style for the frame, rendered for "#" and the frame's object name.
        Sx sx = {};
    };

    //! An empty single-line field with every option at its default, a child of \a parent.
    explicit TextField(QWidget *parent = nullptr);
    /*!
        Builds the field from \a options. Throws OptionError naming the
        option for a negative maxLength, a size the theme does not have, or
        a password field that is multi-line; nothing is built then.
    */
    explicit TextField(const Options &options, QWidget *parent = nullptr);
    ~TextField() override;

    //! The frame's title and the editor's accessible name.
    QString label() const;
    //! Writes the \c label property.
    void setLabel(const QString &label);
    //! The text in the editor (the field's user property).
    QString text() const;
    //! Writes the \c text property.
    void setText(const QString &text);
    //! The text shown while the editor is empty.
    QString placeholder() const;
    //! Writes the \c placeholder property.
    void setPlaceholder(const QString &placeholder);
    //! The line under the frame, shown while there is no error.
    QString helperText() const;
    //! Writes the \c helperText property.
    void setHelperText(const QString &text);
    //! The error text: while it is non-empty the frame shows its error look and this text replaces the helper line.
    QString error() const;
    //! Writes the \c error property.
    void setError(const QString &error);
    //! Whether the characters typed are hidden (single-line fields only).
    bool isPassword() const;
    //! Writes the \c password property.
    void setPassword(bool password);
    //! Whether the editor is a multi-line PyPlainTextEdit instead of a QLineEdit.
    bool isMultiline() const;
    //! Writes the \c multiline property.
    void setMultiline(bool multiline);
    //! Whether the text can be read and selected but not changed.
    bool isReadOnly() const;
    //! Writes the \c readOnly property.
    void setReadOnly(bool readOnly);
    //! Whether a clear button shows inside the frame while there is text to clear.
    bool isClearable() const;
    //! Writes the \c clearable property.
    void setClearable(bool clearable);
    //! The most characters the field takes, counted under the frame; 0 is no limit.
    int maxLength() const;
    //! Writes the \c maxLength property.
    void setMaxLength(int maxLength);
    //! The theme size (the "size" option; the property is named so as not to hide QWidget::size).
    QString themeSize() const;
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);
    //! Whether the field is disabled (QWidget::setDisabled() and setEnabled() change it).
    bool isDisabled() const { return !isEnabled(); }
    //! The caller's extra style for the frame.
    Sx sx() const;
    //! Writes the \c sx property.
    void setSx(const Sx &sx);

    //! The editor: a QLineEdit, or a PyPlainTextEdit when multi-line. Replaced when multiline changes.
    QWidget *editor() const;

public Q_SLOTS:
    //! Empties the text (emits textChanged when there was text).
    void clear();

Q_SIGNALS:
    //! Emitted once per change of the \c label property.
    void labelChanged(const QString &label);
    //! Emitted once per change of the \c text property.
    void textChanged(const QString &text);
    //! Return was pressed in a single-line field, or the editor lost focus.
    void editingFinished();
    //! Emitted once per change of the \c placeholder property.
    void placeholderChanged(const QString &placeholder);
    //! Emitted once per change of the \c helperText property.
    void helperTextChanged(const QString &text);
    //! Emitted once per change of the \c error property.
    void errorChanged(const QString &error);
    //! Emitted once per change of the \c password property.
    void passwordChanged(bool password);
    //! Emitted once per change of the \c multiline property.
    void multilineChanged(bool multiline);
    //! Emitted once per change of the \c readOnly property.
    void readOnlyChanged(bool readOnly);
    //! Emitted once per change of the \c clearable property.
    void clearableChanged(bool clearable);
    //! Emitted once per change of the \c maxLength property.
    void maxLengthChanged(int maxLength);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);
    //! Emitted once per change of the \c disabled property.
    void disabledChanged(bool disabled);
    //! Emitted once per change of the \c sx property.
    void sxChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;   //!< \reimp

private:
    Q_DISABLE_COPY(TextField)
    friend class TextFieldPrivate;
    std::unique_ptr<TextFieldPrivate> const d;
};

} // namespace tessera
