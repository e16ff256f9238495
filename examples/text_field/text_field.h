#pragma once

#include <tessera/material/textfield/field_shell.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

namespace examples {

/*!
    A text field built on tessera::FieldShell: a QLineEdit, or the kit's
    PyPlainTextEdit when the field is multi-line, inside the titled frame.
    Take it as the model for a field of your own. It shows the three things a
    derived field does:

    - finish its own members, then call _init_ui() (the second construction
      phase), so that the restyles made while the shell initialises reach it;
    - feed the shell its hover and focus state (here through two States that
      it owns and sets from its own events and its editor's);
    - implement slot_set_stylesheet() by re-polishing, so that the rules that
      select on "hovered", "focused", "error" and "disabled" take effect.

    \code
    auto *name = new examples::TextField({.label = "Name"});
    auto *notes = new examples::TextField({.label = "Notes", .multiline = true, .size = "large"});
    name->setError(true);
    \endcode

    The hovered and focused options are replaced by the field's own tracking;
    a plain text (or a State's value) given as value is the initial text;
    children given in the options follow the editor in the row.
*/
class TextField : public tessera::FieldShell
{
    Q_OBJECT
public:
    explicit TextField(Options options = {});
    ~TextField() override;

    //! The editor: a QLineEdit, or a PyPlainTextEdit when the field is multi-line.
    QWidget *editor() const { return m_editor; }
    QString text() const;
    void setText(const QString &text);
    void setPlaceholderText(const QString &text);

Q_SIGNALS:
    void textChanged(const QString &text);

protected:
    void slot_set_stylesheet() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_plain;
    QPointer<QWidget> m_editor;
    tessera::State *m_hover = nullptr;
    tessera::State *m_focus = nullptr;
};

} // namespace examples
