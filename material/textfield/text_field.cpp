#include "text_field.h"

#include "field_frame_p.h"

#include <tessera/kit/i18n.h>
#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/svg_widget.h>

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTextCursor>
#include <QToolButton>

namespace tessera {

namespace {

// Everything the constructor refuses, checked before anything is built.
QWidget *checked(const TextField::Options &options, QWidget *parent)
{
    if (options.maxLength < 0)
        throw OptionError(QStringLiteral("maxLength"), QStringLiteral("must not be negative (0: no limit)"));
    if (options.password && options.multiline)
        throw OptionError(QStringLiteral("password"), QStringLiteral("a multi-line field cannot hide its text"));
    detail::checkThemeSize(options.size, QStringLiteral("size"));
    return parent;
}

// The clear button's accessible name, in the kit's catalogue of this module.
void registerCatalog()
{
    static const bool registered = [] {
        i18n()->addCatalog(QStringLiteral("tessera-text-field"));
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

class TextFieldPrivate
{
public:
    TextFieldPrivate(TextField *q, const TextField::Options &options);

    QWidget *makeEditor(bool multiline);
    QString editorText() const;
    void textEdited();
    void trimPlainText();
    void updateClearButton();
    void updateCounter();
    void retranslate();

    TextField *const q;
    QPointer<QLineEdit> line;
    QPointer<QPlainTextEdit> plain;
    QToolButton *clearButton = nullptr;
    detail::FieldFrame *frame = nullptr;
    QString lastText;            // the text last announced by textChanged
    bool password;
    bool readOnly;
    bool clearable;
    int maxLength;
    bool trimming = false;
};

TextFieldPrivate::TextFieldPrivate(TextField *q, const TextField::Options &options)
    : q(q)
    , password(options.password)
    , readOnly(options.readOnly)
    , clearable(options.clearable)
    , maxLength(options.maxLength)
{
}

QWidget *TextFieldPrivate::makeEditor(bool multiline)
{
    QWidget *editor;
    if (multiline) {
        auto *edit = new PyPlainTextEdit;
        edit->setTabChangesFocus(true);
        edit->setReadOnly(readOnly);
        QObject::connect(edit, &QPlainTextEdit::textChanged, q, [this] { textEdited(); });
        plain = edit;
        line = nullptr;
        editor = edit;
    } else {
        auto *edit = new QLineEdit;
        edit->setReadOnly(readOnly);
        edit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
        if (maxLength > 0)
            edit->setMaxLength(maxLength);
        QObject::connect(edit, &QLineEdit::textChanged, q, [this] { textEdited(); });
        QObject::connect(edit, &QLineEdit::editingFinished, q, &TextField::editingFinished);
        line = edit;
        plain = nullptr;
        editor = edit;
    }
    editor->installEventFilter(q);
    return editor;
}

QString TextFieldPrivate::editorText() const
{
    if (line)
        return line->text();
    if (plain)
        return plain->toPlainText();
    return {};
}

void TextFieldPrivate::textEdited()
{
    if (trimming)
        return;
    trimPlainText();
    const QString text = editorText();
    updateClearButton();
    updateCounter();
    // One notification per real change, whatever the editor reports.
    if (text == lastText)
        return;
    lastText = text;
    Q_EMIT q->textChanged(text);
}

// A plain-text editor has no length limit of its own: what goes beyond it is
// taken out just before the cursor (where it was typed or pasted), or else
// from the end.
void TextFieldPrivate::trimPlainText()
{
    if (!plain || maxLength <= 0)
        return;
    const int excess = int(plain->document()->characterCount() - 1) - maxLength;
    if (excess <= 0)
        return;
    trimming = true;
    QTextCursor cursor = plain->textCursor();
    const int end = cursor.position();
    const int begin = qMax(0, end - excess);
    cursor.setPosition(begin);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    const int left = int(plain->document()->characterCount() - 1) - maxLength;
    if (left > 0) {
        cursor.movePosition(QTextCursor::End);
        cursor.setPosition(maxLength, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    trimming = false;
}

void TextFieldPrivate::updateClearButton()
{
    // A clearable field keeps the button's room while it is hidden, so the text does not jump.
    QSizePolicy policy = clearButton->sizePolicy();
    if (policy.retainSizeWhenHidden() != clearable) {
        policy.setRetainSizeWhenHidden(clearable);
        clearButton->setSizePolicy(policy);
    }
    clearButton->setVisible(clearable && !readOnly && q->isEnabled() && !editorText().isEmpty());
}

void TextFieldPrivate::updateCounter()
{
    frame->setCounterText(maxLength > 0 ? QStringLiteral("%1 / %2").arg(editorText().size()).arg(maxLength) : QString());
}

void TextFieldPrivate::retranslate()
{
    clearButton->setAccessibleName(QCoreApplication::translate("tessera::TextField", "Clear"));
}

TextField::TextField(QWidget *parent) : TextField(Options(), parent) {}

TextField::TextField(const Options &options, QWidget *parent)
    : QWidget(checked(options, parent)), d(std::make_unique<TextFieldPrivate>(this, options))
{
    registerCatalog();

    // The clear button: for the pointer only (Escape clears from the keyboard).
    d->clearButton = new QToolButton;
    d->clearButton->setFocusPolicy(Qt::NoFocus);
    d->clearButton->setCursor(Qt::ArrowCursor);
    auto *icon = new PySvgWidget({.key = QStringLiteral(":/tessera/text_field/close.svg"),
                                  .color = QStringLiteral("palette.action.active"),
                                  .size = 16});
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *iconRow = new QHBoxLayout(d->clearButton);
    iconRow->setContentsMargins(4, 4, 4, 4);
    iconRow->addWidget(icon);
    d->clearButton->setFixedSize(24, 24);
    d->clearButton->hide();
    connect(d->clearButton, &QToolButton::clicked, this, &TextField::clear);
    d->retranslate();
    connect(i18n(), &I18n::langChanged, this, [this] { d->retranslate(); });

    QWidget *editor = d->makeEditor(options.multiline);
    d->frame = new detail::FieldFrame(this, editor, {d->clearButton}, options.size, options.sx, options.multiline);
    setFocusProxy(editor);
    setFocusPolicy(editor->focusPolicy());

    detail::FieldFrame *frame = d->frame;
    connect(frame, &detail::FieldFrame::fieldLabelChanged, this, &TextField::labelChanged);
    connect(frame, &detail::FieldFrame::placeholderChanged, this, &TextField::placeholderChanged);
    connect(frame, &detail::FieldFrame::helperTextChanged, this, &TextField::helperTextChanged);
    connect(frame, &detail::FieldFrame::fieldErrorChanged, this, &TextField::errorChanged);
    connect(frame, &detail::FieldFrame::fieldDisabledChanged, this, [this](bool disabled) {
        d->updateClearButton();
        Q_EMIT disabledChanged(disabled);
    });
    frame->setLabel(options.label);
    frame->setPlaceholder(options.placeholder);
    frame->setHelperText(options.helperText);
    frame->setErrorText(options.error);

    setText(options.text);
    d->updateClearButton();
    d->updateCounter();
    if (options.disabled)
        setEnabled(false);
}

TextField::~TextField()
{
    // The editors report text changes while they are torn down; nothing is listening by then.
    editor()->removeEventFilter(this);
    if (d->line)
        d->line->disconnect(this);
    if (d->plain)
        d->plain->disconnect(this);
}

QString TextField::label() const { return d->frame->label(); }
void TextField::setLabel(const QString &label) { d->frame->setLabel(label); }

QString TextField::text() const { return d->editorText(); }

void TextField::setText(const QString &text)
{
    if (text == d->editorText())
        return;
    if (d->line) {
        d->line->setText(text);
    } else if (d->plain) {
        d->plain->setPlainText(d->maxLength > 0 ? text.left(d->maxLength) : text);
    }
}

void TextField::clear() { setText(QString()); }

QString TextField::placeholder() const { return d->frame->placeholder(); }
void TextField::setPlaceholder(const QString &placeholder) { d->frame->setPlaceholder(placeholder); }
QString TextField::helperText() const { return d->frame->helperText(); }
void TextField::setHelperText(const QString &text) { d->frame->setHelperText(text); }
QString TextField::error() const { return d->frame->errorText(); }
void TextField::setError(const QString &error) { d->frame->setErrorText(error); }

bool TextField::isPassword() const { return d->password; }

void TextField::setPassword(bool password)
{
    if (password == d->password)
        return;
    if (password && d->plain)
        throw OptionError(QStringLiteral("password"), QStringLiteral("a multi-line field cannot hide its text"));
    d->password = password;
    if (d->line)
        d->line->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    Q_EMIT passwordChanged(password);
}

bool TextField::isMultiline() const { return d->plain != nullptr; }

void TextField::setMultiline(bool multiline)
{
    if (multiline == isMultiline())
        return;
    if (multiline && d->password)
        throw OptionError(QStringLiteral("multiline"), QStringLiteral("a password field cannot be multi-line"));
    const QString text = d->editorText();
    QWidget *old = editor();
    old->removeEventFilter(this);
    old->disconnect(this);
    QWidget *editor = d->makeEditor(multiline);
    // The same text: textChanged is not emitted again.
    if (d->line)
        d->line->setText(text);
    else
        d->plain->setPlainText(text);
    d->frame->replaceEditor(editor, multiline);
    setFocusProxy(editor);
    Q_EMIT multilineChanged(multiline);
}

bool TextField::isReadOnly() const { return d->readOnly; }

void TextField::setReadOnly(bool readOnly)
{
    if (readOnly == d->readOnly)
        return;
    d->readOnly = readOnly;
    if (d->line)
        d->line->setReadOnly(readOnly);
    else if (d->plain)
        d->plain->setReadOnly(readOnly);
    d->updateClearButton();
    Q_EMIT readOnlyChanged(readOnly);
}

bool TextField::isClearable() const { return d->clearable; }

void TextField::setClearable(bool clearable)
{
    if (clearable == d->clearable)
        return;
    d->clearable = clearable;
    d->updateClearButton();
    Q_EMIT clearableChanged(clearable);
}

int TextField::maxLength() const { return d->maxLength; }

void TextField::setMaxLength(int maxLength)
{
    if (maxLength < 0)
        throw OptionError(QStringLiteral("maxLength"), QStringLiteral("must not be negative (0: no limit)"));
    if (maxLength == d->maxLength)
        return;
    d->maxLength = maxLength;
    if (d->line)
        d->line->setMaxLength(maxLength > 0 ? maxLength : 32767);   // QLineEdit's own default
    else
        d->textEdited();   // trims a text now too long
    d->updateCounter();
    Q_EMIT maxLengthChanged(maxLength);
}

QString TextField::themeSize() const { return d->frame->fieldSize(); }

void TextField::setThemeSize(const QString &size)
{
    if (d->frame->setFieldSize(size, QStringLiteral("themeSize")))
        Q_EMIT themeSizeChanged(size);
}

Sx TextField::sx() const { return d->frame->callerSx(); }

void TextField::setSx(const Sx &sx)
{
    if (d->frame->setCallerSx(sx))
        Q_EMIT sxChanged();
}

QWidget *TextField::editor() const { return d->frame->editor(); }

bool TextField::eventFilter(QObject *watched, QEvent *event)
{
    // Events reach the filter while the editor is being laid out, before the frame exists.
    if (watched && (watched == d->line || watched == d->plain)) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier && d->clearable && !d->readOnly
            && !text().isEmpty()) {
            // Escape empties a clearable field; on an empty one it goes on to the dialog.
            clear();
            return true;
        }
        if (event->type() == QEvent::FocusOut && d->plain)
            Q_EMIT editingFinished();
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

QWidget *createTextField(const QVariantMap &options)
{
    // Every option is converted before the widget exists.
    TextField::Options o;
    detail::sharedOptions(o, options);
    o.text = option::text(options, QStringLiteral("text"));
    o.password = option::flag(options, QStringLiteral("password"));
    o.multiline = option::flag(options, QStringLiteral("multiline"));
    o.readOnly = option::flag(options, QStringLiteral("readOnly"));
    o.clearable = option::flag(options, QStringLiteral("clearable"));
    o.maxLength = detail::intOption(options, QStringLiteral("maxLength"), 0);
    return new TextField(o, option::widget(options, QStringLiteral("parent")));
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.textfield.text_field", TextField, createTextField)

} // namespace tessera
