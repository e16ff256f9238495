#include "field_frame_p.h"
#include "field_shell_p.h"

#include <tessera/kit/accessible.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>

#include <QEnterEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace tessera::detail {

BoundText::BoundText(QObject *parent) : QObject(parent)
{
    // A State holding a deferred text is translated again after a language switch.
    connect(i18n(), &I18n::langChanged, this, [this] {
        if (m_source.isState())
            refresh();
    });
}

void BoundText::setSource(const StateOr<QString> &source)
{
    disconnect(m_stateConnection);
    m_source = source;
    if (State *state = m_source.state())
        m_stateConnection = connect(state, &State::valueChanged, this, &BoundText::refresh);
    refresh();
}

void BoundText::refresh()
{
    QString text;
    if (const QString *plain = m_source.plain()) {
        text = *plain;
    } else if (const State *state = m_source.state()) {
        const QVariant value = state->value();
        if (isCallableText(value))
            text = translate(value);
        else if (value.typeId() == QMetaType::QString)
            text = value.toString();
    }
    if (text == m_text)
        return;
    m_text = text;
    Q_EMIT changed(m_text);
}

namespace {

// The frame's border follows the field's state; later rules win over earlier
// ones of the same weight, so error beats focus and focus beats hover. The
// clear button inside the frame is flat, with the theme's hover tint.
const StyleMap &frameRules()
{
    static const StyleMap rules{
        {"&[hovered=true]", StyleMap{{"borderColor", "palette.text.primary"}}},
        // Focus: a 2px ring; the padding gives the extra pixel back at the sides.
        {"&[focused=true]",
         StyleMap{{"borderWidth", 2}, {"borderColor", "palette.primary.main"}, {"paddingLeft", 7}, {"paddingRight", 7}}},
        {"&[error=true]", StyleMap{{"borderColor", "palette.error.main"}}},
        {"&[disabled=true]", StyleMap{{"borderColor", "palette.action.disabledBackground"}}},
        {"&[disabled=true] QLineEdit, &[disabled=true] QPlainTextEdit, &[disabled=true] QComboBox",
         StyleMap{{"color", "palette.text.disabled"}}},
        {"& QToolButton", StyleMap{{"border", "none"}, {"backgroundColor", "transparent"}, {"borderRadius", 4}}},
        {"& QToolButton:hover", StyleMap{{"backgroundColor", "palette.action.hover"}}},
    };
    return rules;
}

// Whether two caller styles are the same (functions and States never are, unless both are none).
bool sameSx(const Sx &a, const Sx &b)
{
    if (!a.isSet() || !b.isSet())
        return a.isSet() == b.isSet();
    if (a.text() && b.text())
        return *a.text() == *b.text();
    if (a.map() && b.map())
        return *a.map() == *b.map();
    return false;
}

double numberAt(const StyleMap &map, QStringView key, double fallback)
{
    const StyleValue *value = map.find(key);
    return value && value->isNumber() ? value->number() : fallback;
}

} // namespace

FieldFrame::FieldFrame(QWidget *host, QWidget *editor, const QList<QWidget *> &trailing, const QString &size,
                       const Sx &sx, bool multiline)
    : FieldShell({.children = QList<QWidget *>{editor} + trailing, .multiline = multiline, .size = size})
    , m_editor(editor)
    , m_callerSx(sx)
    , m_label(new BoundText(this))
    , m_placeholder(new BoundText(this))
    , m_helperText(new BoundText(this))
    , m_errorText(new BoundText(this))
{
    // The shell follows hover and focus through States that the frame sets.
    m_hover = new State(false, this);
    m_focus = new State(false, this);
    FieldShellPrivate *const shell = FieldShellPrivate::get(this);
    shell->_hovered = m_hover;
    shell->_focused = m_focus;
    // The border rules go first, the caller's sx after them (so it can override).
    shell->_sx = Sx::Function([this] {
        const QString name = objectName();
        QString qss = get_qss_style(frameRules(), u'#' + name);
        const QString caller = m_callerSx.render(name);
        if (!caller.isEmpty())
            qss += u'\n' + caller;
        return QVariant(qss);
    });
    watchEditor(editor);
    // Like every widget of the kit, the field names itself once with a fresh UUID.
    host->setObjectName(newObjectName());

    m_footer = new QWidget(host);
    m_footer->setObjectName(newObjectName());
    auto *line = new QHBoxLayout(m_footer);
    line->setContentsMargins(0, 0, 0, 0);
    m_helper = new QLabel(m_footer);
    m_helper->setTextFormat(Qt::PlainText);
    m_helper->setWordWrap(true);
    m_counter = new QLabel(m_footer);
    m_counter->setTextFormat(Qt::PlainText);
    line->addWidget(m_helper, 1);
    line->addWidget(m_counter, 0, Qt::AlignTop);
    m_footer->hide();

    auto *column = new QVBoxLayout(host);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    column->addWidget(this);
    column->addWidget(m_footer);

    connect(m_label, &BoundText::changed, this, [this](const QString &text) {
        // The shell names the frame and its editors after the label too.
        FieldShellPrivate::get(this)->_label = text;
        _show_label();
        Q_EMIT fieldLabelChanged(text);
    });
    connect(m_placeholder, &BoundText::changed, this, [this](const QString &text) {
        if (m_editor)
            m_editor->setProperty("placeholderText", text);
        Q_EMIT placeholderChanged(text);
    });
    connect(m_helperText, &BoundText::changed, this, [this](const QString &text) {
        updateFooter();
        Q_EMIT helperTextChanged(text);
    });
    connect(m_errorText, &BoundText::changed, this, [this](const QString &text) {
        updateFooter();
        const bool error = !text.isEmpty();
        if (property("error").toBool() != error) {
            setProperty("error", error);
            slot_set_stylesheet();
        }
        Q_EMIT fieldErrorChanged(text);
    });

    _init_ui();
    followEnabled();
}

FieldFrame::~FieldFrame()
{
    if (m_editor)
        m_editor->removeEventFilter(this);
}

void FieldFrame::watchEditor(QWidget *editor)
{
    editor->installEventFilter(this);
    setFocusProxy(editor);
    setDefaultAccessibleName(editor, m_label->text());
    editor->setAccessibleDescription(m_errorText->text().isEmpty() ? m_helperText->text() : m_errorText->text());
    editor->setProperty("placeholderText", m_placeholder->text());
}

void FieldFrame::replaceEditor(QWidget *editor, bool multiline)
{
    QWidget *old = m_editor;
    const bool hadFocus = old && old->hasFocus();
    if (old)
        old->removeEventFilter(this);
    delete layout()->replaceWidget(old, editor);
    m_editor = editor;
    watchEditor(editor);
    FieldShellPrivate::get(this)->_multiline = multiline;
    delete old;
    if (hadFocus)
        editor->setFocus();
    else
        m_focus->setValue(false);
    // The grow condition changed: the size rules and the minimum height follow.
    if (!multiline)
        setMinimumHeight(0);
    _scheduleSetStyleSheet();
}

void FieldFrame::setLabel(const StateOr<QString> &label) { m_label->setSource(label); }
void FieldFrame::setPlaceholder(const StateOr<QString> &placeholder) { m_placeholder->setSource(placeholder); }
void FieldFrame::setHelperText(const StateOr<QString> &text) { m_helperText->setSource(text); }
void FieldFrame::setErrorText(const StateOr<QString> &text) { m_errorText->setSource(text); }

void FieldFrame::setCounterText(const QString &text)
{
    m_counter->setText(text);
    m_counter->setVisible(!text.isEmpty());
    updateFooter();
}

void FieldFrame::updateFooter()
{
    const bool error = !m_errorText->text().isEmpty();
    const QString shown = error ? m_errorText->text() : m_helperText->text();
    m_helper->setText(shown);
    if (m_helper->property("error").toBool() != error) {
        m_helper->setProperty("error", error);
        repolish(m_helper);
    }
    if (m_editor)
        m_editor->setAccessibleDescription(shown);
    m_footer->setVisible(!shown.isEmpty() || !m_counter->text().isEmpty());
}

bool FieldFrame::setFieldSize(const QString &size, const QString &property)
{
    checkThemeSize(size, property);
    if (size == themeSize())
        return false;
    FieldShellPrivate::get(this)->_size = size;
    _scheduleSetStyleSheet();
    return true;
}

bool FieldFrame::setCallerSx(const Sx &sx)
{
    if (sameSx(sx, m_callerSx))
        return false;
    m_callerSx = sx;
    _scheduleSetStyleSheet();
    return true;
}

void checkThemeSize(const QString &size, const QString &option)
{
    const StyleValue *sizes = useTheme()->components().findPath(u"FieldShellSize.styles");
    if (!sizes || !sizes->isMap() || !sizes->map().contains(size))
        throw OptionError(option, QStringLiteral("the theme has no field size \"%1\"").arg(size));
}

int intOption(const QVariantMap &options, const QString &name, int fallback)
{
    if (!options.contains(name))
        return fallback;
    const QVariant value = options.value(name);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok && number == std::trunc(number) && number >= std::numeric_limits<int>::min()
            && number <= std::numeric_limits<int>::max())
            return int(number);
        break;
    }
    default:
        break;
    }
    throw OptionError(name, QStringLiteral("expected a whole number, got %1")
                                .arg(value.isValid() ? QString::fromLatin1(value.metaType().name()) : QStringLiteral("none")));
}


void FieldFrame::slot_set_stylesheet()
{
    // Qt matches property selectors when a widget is polished: re-polish the
    // frame and its editor so a changed "hovered"/"focused"/"error" takes effect.
    repolish(this);
}

void FieldFrame::_set_stylesheet(const StyleMap &component_styled)
{
    FieldShell::_set_stylesheet(component_styled);

    // The line under the frame: the theme's caption size and text colours,
    // its text in line with the title's (the title's inset and padding).
    const StyleMap &components = component_styled.isEmpty() ? theme->components() : component_styled;
    StyleMap text{{"color", "palette.text.secondary"}};
    const StyleValue *caption = theme->data().findPath(u"typography.caption");
    if (caption && caption->isMap())
        text.insert(QStringLiteral("fontSize"), numberAt(caption->map(), u"fontSize", 12));
    if (const StyleValue *title = components.findPath(u"FieldShell.styles.title"); title && title->isMap()) {
        const double inset = numberAt(title->map(), u"left", 0);
        text.insert(QStringLiteral("marginLeft"), inset);
        text.insert(QStringLiteral("marginRight"), inset);
        if (const StyleValue *padding = title->map().find(u"padding"))
            text.insert(QStringLiteral("padding"), *padding);
    }
    const StyleMap rules{
        {"& QLabel", text},
        {"& QLabel[error=true]", StyleMap{{"color", "palette.error.main"}}},
        {"& QLabel:disabled", StyleMap{{"color", "palette.text.disabled"}}},
    };
    const QString sheet = get_qss_style(rules, u'#' + m_footer->objectName());
    if (m_footer->styleSheet() != sheet)
        m_footer->setStyleSheet(sheet);
}

bool FieldFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::FocusIn) {
            m_focus->setValue(true);
        } else if (event->type() == QEvent::FocusOut) {
            // A popup opened from the editor (a combo box's list) keeps the focused look.
            if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
                m_focus->setValue(false);
        }
    }
    return FieldShell::eventFilter(watched, event);
}

void FieldFrame::enterEvent(QEnterEvent *event)
{
    m_hover->setValue(true);
    FieldShell::enterEvent(event);
}

void FieldFrame::leaveEvent(QEvent *event)
{
    m_hover->setValue(false);
    FieldShell::leaveEvent(event);
}

void FieldFrame::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        followEnabled();
    FieldShell::changeEvent(event);
}

void FieldFrame::followEnabled()
{
    const bool disabled = !isEnabled();
    FieldShellPrivate *const shell = FieldShellPrivate::get(this);
    if (shell->_disabled == disabled && property("disabled").toBool() == disabled)
        return;
    shell->_disabled = disabled;
    setProperty("disabled", disabled);
    // Hovering was ignored while disabled: pick it up again.
    if (!disabled)
        m_hover->setValue(underMouse());
    slot_set_stylesheet();
    Q_EMIT fieldDisabledChanged(disabled);
}

} // namespace tessera::detail
