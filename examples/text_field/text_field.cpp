#include "text_field.h"

#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>

#include <QEnterEvent>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>

namespace examples {

namespace {

// The frame's border follows the field's state; later rules win over earlier
// ones of the same weight, so error beats focus and focus beats hover.
const tessera::StyleMap &frameRules()
{
    static const tessera::StyleMap rules{
        {"&[hovered=true]", tessera::StyleMap{{"borderColor", "palette.text.primary"}}},
        // Focus: a 2px ring; the padding gives the extra pixel back at the sides.
        {"&[focused=true]",
         tessera::StyleMap{{"borderWidth", 2}, {"borderColor", "palette.primary.main"}, {"paddingLeft", 7}, {"paddingRight", 7}}},
        {"&[error=true]", tessera::StyleMap{{"borderColor", "palette.error.main"}}},
        {"&[disabled=true]", tessera::StyleMap{{"borderColor", "palette.action.disabledBackground"}}},
        {"&[disabled=true] QLineEdit", tessera::StyleMap{{"color", "palette.text.disabled"}}},
        {"&[disabled=true] QPlainTextEdit", tessera::StyleMap{{"color", "palette.text.disabled"}}},
    };
    return rules;
}

} // namespace

TextField::TextField(Options options) : FieldShell(std::move(options))
{
    // First phase done: the options are stored. Our own members come next,
    // before _init_ui(), because _init_ui() already calls slot_set_stylesheet().
    if (_multiline) {
        auto *plain = new tessera::PyPlainTextEdit;
        connect(plain, &QPlainTextEdit::textChanged, this, [this] { Q_EMIT textChanged(text()); });
        m_plain = plain;
        m_editor = plain;
    } else {
        auto *line = new QLineEdit;
        connect(line, &QLineEdit::textChanged, this, &TextField::textChanged);
        m_line = line;
        m_editor = line;
    }
    m_editor->setEnabled(!_disabled);
    m_editor->installEventFilter(this);
    setFocusProxy(m_editor);
    const QVariant initial = _value.current();
    if (initial.typeId() == QMetaType::QString)
        setText(initial.toString());

    // The shell follows hover and focus through States that this field sets.
    m_hover = new tessera::State(false, this);
    m_focus = new tessera::State(false, this);
    _hovered = m_hover;
    _focused = m_focus;

    // The editor leads the row; the caller's children follow it.
    tessera::WidgetList row{m_editor};
    if (_children)
        row += *_children;
    _children = row;

    // Our border rules go first, the caller's sx after them (so it can override).
    _sx = tessera::Sx::Function([this, callerSx = _sx] {
        const QString name = objectName();
        QString qss = tessera::get_qss_style(frameRules(), u'#' + name);
        const QString caller = callerSx.render(name);
        if (!caller.isEmpty())
            qss += u'\n' + caller;
        return QVariant(qss);
    });

    _init_ui();
    _show_label();
}

TextField::~TextField()
{
    if (m_editor)
        m_editor->removeEventFilter(this);
}

QString TextField::text() const
{
    if (m_line)
        return m_line->text();
    if (m_plain)
        return m_plain->toPlainText();
    return {};
}

void TextField::setText(const QString &text)
{
    if (m_line)
        m_line->setText(text);
    else if (m_plain)
        m_plain->setPlainText(text);
}

void TextField::setPlaceholderText(const QString &text)
{
    if (m_line)
        m_line->setPlaceholderText(text);
    else if (m_plain)
        m_plain->setPlaceholderText(text);
}

void TextField::slot_set_stylesheet()
{
    // Qt matches property selectors when a widget is polished: re-polish the
    // frame and its editor so a changed "hovered"/"focused"/"error" takes effect.
    tessera::repolish(this);
}

bool TextField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::FocusIn)
            m_focus->setValue(true);
        else if (event->type() == QEvent::FocusOut)
            m_focus->setValue(false);
    }
    return FieldShell::eventFilter(watched, event);
}

void TextField::enterEvent(QEnterEvent *event)
{
    m_hover->setValue(true);
    FieldShell::enterEvent(event);
}

void TextField::leaveEvent(QEvent *event)
{
    m_hover->setValue(false);
    FieldShell::leaveEvent(event);
}

} // namespace examples
