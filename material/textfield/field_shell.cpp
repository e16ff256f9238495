#include "field_shell_p.h"

#include <tessera/kit/accessible.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/kit/theme.h>

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QStringBuilder>
#include <QStyle>

#include <cmath>

namespace tessera {

namespace {

// The "height" of a size's "no-multiple" style: a whole, non-negative number of
// pixels that a widget can take as its minimum height. Anything else ends the build.
int minimumHeightFrom(const StyleValue &height, const QString &size)
{
    const double pixels = height.number();
    if (!height.isNumber() || !std::isfinite(pixels) || pixels < 0 || pixels > QWIDGETSIZE_MAX)
        throw StyleLookupError(QStringLiteral("FieldShellSize.styles.%1.no-multiple.height").arg(size));
    return int(std::lround(pixels));
}

// Indents of the sheet's lines.
constexpr QStringView ShellIndent = u"                    ";

// The label's display text now: a State's text or callable text translated,
// a plain text as it stands; nothing for a deleted State or another kind.
std::optional<QString> labelText(const StateOr<QString> &label)
{
    if (label.isState()) {
        const State *state = label.state();
        if (!state)
            return std::nullopt;
        const QVariant value = state->value();
        if (isCallableText(value))
            return translate(value);
        if (value.typeId() == QMetaType::QString)
            return value.toString();
        return std::nullopt;
    }
    if (const QString *text = label.plain())
        return *text;
    return std::nullopt;
}

// Screen readers announce the field and its editors by the label, also while
// the title is hidden.
void nameAfterLabel(FieldShell *field, const StateOr<QString> &label)
{
    if (const std::optional<QString> text = labelText(label))
        setFieldAccessibleName(field, *text);
}

void setStateProperty(QWidget *widget, const char *name, const StateOr<bool> &option)
{
    if (const State *state = option.state())
        widget->setProperty(name, state->value());
    else if (const bool *flag = option.plain())
        widget->setProperty(name, *flag);
}

void noteSelectedProperty(QWidget *widget, const char *name)
{
    // The rules select on "disabled" and "error", which are properties of the
    // class: Qt reports no change of those, so the change is reported the way
    // a dynamic property's is, and the next restyle pass applies the sheet
    // again instead of skipping an unchanged text.
    QDynamicPropertyChangeEvent changed(name);
    QCoreApplication::sendEvent(widget, &changed);
}

} // namespace

FieldShell::FieldShell(QWidget *parent) : FieldShell(Options{}, parent) {}

FieldShell::FieldShell(Options options, QWidget *parent)
    : QGroupBox(parent), RestyleLifecycle(this), d(std::make_unique<FieldShellPrivate>())
{
    // Guarded, so a child that outlives an editor never dangles; a null
    // child is refused before anything is built.
    if (options.children)
        d->_children = option::childWidgets(*options.children);
    d->_disabled = options.disabled;
    d->_multiple = options.multiple;
    d->_multiline = options.multiline;
    d->_renderTags = std::move(options.renderTags);
    d->_hovered = std::move(options.hovered);
    d->_hiddenLabel = options.hiddenLabel;
    d->_focused = std::move(options.focused);
    d->_label = std::move(options.label);
    d->_size = std::move(options.size);
    d->_sx = std::move(options.sx);
    d->_value = std::move(options.value);
}

FieldShell::~FieldShell()
{
    // The derived part, which implements slot_set_stylesheet(), is gone by now:
    // a State or the language switch firing while the rest of the widget is
    // torn down (a child's destructor may set a State) must not reach us.
    d->subscriptions.release();
    disconnect(d->labelConnection);
}

bool FieldShell::isLabelHidden() const
{
    return d->_hiddenLabel;
}

QString FieldShell::themeSize() const
{
    return d->_size;
}

bool FieldShell::isDisabled() const
{
    return d->_disabled;
}

bool FieldShell::hasError() const
{
    return d->error;
}

bool FieldShell::isInitialized() const
{
    return d->initialized;
}

const StateOr<QString> &FieldShell::labelOption() const
{
    return d->_label;
}

const StateOr<bool> &FieldShell::hoveredOption() const
{
    return d->_hovered;
}

const StateOr<bool> &FieldShell::focusedOption() const
{
    return d->_focused;
}

const std::optional<WidgetList> &FieldShell::childWidgets() const
{
    return d->_children;
}

bool FieldShell::isMultiple() const
{
    return d->_multiple;
}

bool FieldShell::isMultiline() const
{
    return d->_multiline;
}

const FieldShell::RenderTags &FieldShell::renderTags() const
{
    return d->_renderTags;
}

const Sx &FieldShell::sx() const
{
    return d->_sx;
}

const StateOr<QVariant> &FieldShell::valueOption() const
{
    return d->_value;
}

QString FieldShell::label() const
{
    if (const QString *text = d->_label.plain())
        return *text;
    if (const State *state = d->_label.state()) {
        const QVariant value = state->value();
        if (isCallableText(value))
            return translate(value);
        if (value.typeId() == QMetaType::QString)
            return value.toString();
    }
    return {};
}

void FieldShell::setLabel(const QString &label)
{
    // A plain text replaces the State the label followed.
    const bool wasState = d->_label.isState();
    disconnect(d->labelConnection);
    d->labelConnection = {};
    if (!wasState && d->_label.plain() && *d->_label.plain() == label)
        return;
    const QString before = this->label();
    d->_label = label;
    if (d->initialized)
        _set_translated_label();
    if (label != before)
        Q_EMIT labelChanged(label);
}

void FieldShell::setHiddenLabel(bool hidden)
{
    if (hidden == d->_hiddenLabel)
        return;
    d->_hiddenLabel = hidden;
    if (d->initialized) {
        if (hidden)
            _hide_label();
        else
            _set_translated_label();
    }
    Q_EMIT hiddenLabelChanged(hidden);
}

void FieldShell::setThemeSize(const QString &size)
{
    if (option::themeKey(QStringLiteral("themeSize"), size) == d->_size)
        return;
    d->_size = size;
    if (d->initialized)
        _scheduleSetStyleSheet();
    Q_EMIT themeSizeChanged(size);
}

void FieldShell::setDisabled(bool disabled)
{
    if (disabled == d->_disabled)
        return;
    d->_disabled = disabled;
    noteSelectedProperty(this, "disabled");
    if (d->initialized) {
        // A disabled field stops following hovering; enabled again, it reads the option anew.
        if (!disabled)
            setStateProperty(this, "hovered", d->_hovered);
        slot_set_stylesheet();
    }
    Q_EMIT disabledChanged(disabled);
}

void FieldShell::setError(bool error)
{
    if (error == d->error)
        return;
    d->error = error;
    noteSelectedProperty(this, "error");
    if (d->initialized)
        slot_set_stylesheet();
    Q_EMIT errorChanged(error);
}

void FieldShell::_init_ui()
{
    if (d->initialized)
        return;
    d->initialized = true;

    setObjectName(newObjectName());

    // _set_translated_label() does nothing while the label is hidden, so the
    // State is followed either way and a later setHiddenLabel(false) shows it.
    if (State *label = d->_label.state())
        d->labelConnection = connect(label, &State::valueChanged, this, &FieldShell::_set_translated_label);
    if (State *hovered = d->_hovered.state())
        d->subscriptions << connect(hovered, &State::valueChanged, this, &FieldShell::_set_hovered_prop);
    _set_hovered_prop();
    if (State *focused = d->_focused.state())
        d->subscriptions << connect(focused, &State::valueChanged, this, &FieldShell::_set_focused_prop);
    _set_focused_prop();

    if (d->_children) {
        auto *row = new QHBoxLayout;
        setLayout(row);
        row->setContentsMargins(0, 0, 0, 0);
        for (const QPointer<QWidget> &child : std::as_const(*d->_children)) {
            // A child deleted by the caller before it was laid out is skipped.
            if (child)
                row->addWidget(child);
        }
        // The editors are polished with the shell, under its sheet, when its
        // first build polishes it: the polish request each posted when the
        // caller made it waits for that build, or the event loop would
        // polish it alone first with the plain style, and the shell's sheet
        // would polish it again (2.3 KB more per field with a line edit,
        // docs/performance.md). Showing the field still polishes them at
        // once, as Qt does.
        if (!testAttribute(Qt::WA_WState_Polished)) {
            const QList<QWidget *> inside = findChildren<QWidget *>();
            for (QWidget *widget : inside)
                detail::polishWithFirstBuild(widget);
        }
    }
    nameAfterLabel(this, d->_label);

    d->subscriptions << connect(i18n(), &I18n::langChanged, this, &FieldShell::_set_translated_label);

    theme = useTheme();
    // Follows theme->signal->changed and queues the first build for after
    // construction; the destructor cancels a build that has not run yet.
    _subscribeToTheme();
}

bool FieldShell::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !d->initialized) {
        qWarning("%s: the constructor never called FieldShell::_init_ui(); initialising on first polish",
                 metaObject()->className());
        _init_ui();
    }
    // An editor put into the field later is named too.
    if (event->type() == QEvent::ChildPolished && d->initialized)
        nameAfterLabel(this, d->_label);
    return QGroupBox::event(event);
}

void FieldShell::_set_translated_label()
{
    // A State deleted by its owner, or holding no text, reads as none: the
    // title stays. A plain text goes to the title as it is, untranslated.
    const std::optional<QString> text = labelText(d->_label);
    if (!text)
        return;
    setFieldAccessibleName(this, *text);
    if (!d->_hiddenLabel)
        setTitle(*text);
}

void FieldShell::_show_label()
{
    if (!d->_hiddenLabel)
        _set_translated_label();
}

void FieldShell::_hide_label()
{
    setTitle(QString());
}

void FieldShell::_set_hovered_prop()
{
    if (d->_disabled)
        return;
    setStateProperty(this, "hovered", d->_hovered);
    slot_set_stylesheet();
}

void FieldShell::_set_focused_prop()
{
    setStateProperty(this, "focused", d->_focused);
    slot_set_stylesheet();
}

void FieldShell::_set_multiple_has_value_prop(const QVariant &state)
{
    setProperty("multipleHasValue", state);
    slot_set_stylesheet();
}

namespace {

// A field shell's sheet up to its own styles (sx), with ObjectNamePlaceholder
// where the object name goes, and the minimum height a growing field takes.
struct ShellTemplate
{
    QString sheet;
    int minimumHeight = 0;
};

/*
    Checks and renders the styles of \a components that a field shell of
    \a size reads. Every lookup throws when a required entry is missing or of
    the wrong kind; the styles are checked in this order before any is
    rendered.
*/
ShellTemplate composeTemplate(const StyleMap &components, const QString &size, bool grow)
{
    // "disabled" and "error", which the rules select on, are properties of
    // the class: nothing to write here.
    const StyleMap &styles = components.mapAt(u"FieldShell").mapAt(u"styles");
    const StyleMap *FieldShell_root = styleMapOf(styles.find(u"root"));

    const StyleMap &title = styles.mapAt(u"title");
    const StyleMap &titleSlots = title.mapAt(u"slots");
    const StyleMap *FieldShell_title_slot_focused = styleMapOf(&titleSlots.at(u"focused"));
    const StyleMap *FieldShell_title_slot_error = styleMapOf(&titleSlots.at(u"error"));
    const StyleMap *FieldShell_title_slot_disabled = styleMapOf(&titleSlots.at(u"disabled"));

    const StyleMap &inputField = styles.mapAt(u"inputField");
    const StyleMap &inputProps = inputField.mapAt(u"props");
    const StyleMap *FieldShell_inputField_prop_multiline = styleMapOf(&inputProps.mapAt(u"multiline").at(size));
    const StyleMap *FieldShell_inputField_prop_multiple = styleMapOf(&inputProps.at(u"multiple"));

    const StyleMap &sized = components.mapAt(u"FieldShellSize").mapAt(u"styles").mapAt(size);
    const StyleMap &notMultiple = sized.mapAt(u"no-multiple");
    ShellTemplate out;
    out.minimumHeight = minimumHeightFrom(notMultiple.at(u"height"), size);

    QString &sheet = out.sheet;
    sheet.reserve(4096);
    // One line: its indent, its parts, a line feed. Appended in place.
    const auto line = [&sheet](int indent, auto... parts) {
        // One append per line: QStringBuilder sizes the parts first and copies them in.
        sheet += (ShellIndent.left(indent) % ... % QStringView(parts)) % u'\n';
    };
    // A line holding one rendered style.
    const auto styleLine = [&sheet](const StyleMap *style) {
        sheet += ShellIndent.left(20);
        appendQssStyle(sheet, style);
        sheet += u'\n';
    };
    const QString id = QLatin1Char('#') % ObjectNamePlaceholder;
    line(0);
    line(16, id, u" {");
    styleLine(FieldShell_root);
    styleLine(&sized);
    styleLine(grow ? nullptr : &notMultiple);
    line(16, u"}");
    line(0);
    line(16, id, u" QComboBox, QDateEdit, QDateTimeEdit, QDial, QDoubleSpinBox, QFontComboBox,");
    line(16, u"QLineEdit, PyPlainTextEdit, QSpinBox, QTextEdit, QTimeEdit {");
    styleLine(&inputField);
    line(16, u"}");
    line(16, id, u"[multipleHasValue=true] QPlainTextEdit {");
    styleLine(FieldShell_inputField_prop_multiple);
    line(16, u"}");
    line(16, id, u" PyPlainTextEdit, QTextEdit{");
    styleLine(FieldShell_inputField_prop_multiline);
    line(16, u"}");
    line(16, id, u" QPlainTextEdit{");
    line(20, u"min-height: 40px;");
    line(16, u"}");
    line(16, id, u"::title {");
    styleLine(&title);
    line(16, u"}");
    line(16, id, u"[focused=true]::title {");
    styleLine(FieldShell_title_slot_focused);
    line(16, u"}");
    line(16, id, u"[error=true]::title {");
    styleLine(FieldShell_title_slot_error);
    line(16, u"}");
    line(16, id, u"[disabled=true]::title {");
    styleLine(FieldShell_title_slot_disabled);
    line(16, u"}");
    line(0);
    sheet += ShellIndent.left(16);
    sheet.squeeze();   // memoised: kept at its own length
    return out;
}

/*
    The templates of the theme's own components, per size and growth, under
    the theme in force: built once, then only the object name and the
    field's own styles are filled in. Rendering a shell's dozen styles anew
    was most of its build, and each switch made every field render them.
*/
LruMemo<ShellTemplate> &templateMemo()
{
    static LruMemo<ShellTemplate> memo(128);
    return memo;
}

} // namespace

void FieldShell::_set_stylesheet(const StyleMap &component_styled)
{
    theme = useTheme();
    // Tags of a multiple value and multi-line text need room to grow.
    const bool grow = (d->_multiple && d->_renderTags) || d->_multiline;

    // Components given by the caller are rendered for this build alone.
    ShellTemplate given;
    const ShellTemplate *made = &given;
    if (component_styled.isEmpty()) {
        QStringList key;
        key.reserve(4);
        key << d->_size << (grow ? QStringLiteral("grow") : QStringLiteral("fixed")) << themeMemoKey(theme);
        made = &templateMemo().get(key, [&] { return composeTemplate(theme->components(), d->_size, grow); });
    } else {
        given = composeTemplate(component_styled, d->_size, grow);
    }

    const QString N = objectName();
    const QString sx_qss = d->_sx.render(N);
    QString sheet = made->sheet;
    fillObjectName(sheet, N);
    sheet += sx_qss % u'\n' % ShellIndent.left(12);

    if (grow)
        setMinimumHeight(made->minimumHeight);

    // Skipped when neither the text nor a property it selects on has changed.
    _applyStyleSheet(sheet);
}

namespace {

// What create() builds: FieldShell itself is abstract. Its style follows its
// state properties by re-polishing the frame and everything inside it.
class CreatedFieldShell final : public FieldShell
{
public:
    explicit CreatedFieldShell(Options options) : FieldShell(std::move(options)) { _init_ui(); }

protected:
    void slot_set_stylesheet() override
    {
        // Property selectors are matched at polish time: redo it for the frame and its editors.
        repolish(this);
    }
};

State *stateIn(const QVariant &value)
{
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<State *>(value.value<QObject *>());
    return nullptr;
}

// A label of another kind (false, none, a callable given directly) is not an
// error: it simply never becomes a title.
StateOr<QString> labelOption(const QVariantMap &options)
{
    const QVariant value = options.value(QStringLiteral("label"));
    if (State *state = stateIn(value))
        return state;
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return {};
}

// A flag or a State; another kind (none included) sets no property, which is
// the field's own behaviour for it, so it is kept rather than refused.
StateOr<bool> stateFlagOption(const QVariantMap &options, const QString &name)
{
    if (!options.contains(name))
        return false;
    const QVariant value = options.value(name);
    if (State *state = stateIn(value))
        return state;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return {};
}

FieldShell::RenderTags renderTagsOption(const QVariantMap &options)
{
    const QVariant value = options.value(QStringLiteral("renderTags"));
    if (!value.isValid() || value.isNull())
        return {};
    if (value.metaType() == QMetaType::fromType<FieldShell::RenderTags>())
        return value.value<FieldShell::RenderTags>();
    throw OptionError(QStringLiteral("renderTags"), QStringLiteral("expected a function making tag widgets, or none"));
}

QWidget *createFieldShell(const QVariantMap &options)
{
    // Every option is converted before the widget exists, so a refused one
    // leaves nothing half-built.
    FieldShell::Options o;
    o.disabled = option::flag(options, QStringLiteral("disabled"));
    o.label = labelOption(options);
    o.hiddenLabel = option::flag(options, QStringLiteral("hiddenLabel"));
    o.focused = stateFlagOption(options, QStringLiteral("focused"));
    o.hovered = stateFlagOption(options, QStringLiteral("hovered"));
    o.children = option::widgetList(options, QStringLiteral("children"));
    o.multiple = option::flag(options, QStringLiteral("multiple"));
    o.multiline = option::flag(options, QStringLiteral("multiline"));
    o.renderTags = renderTagsOption(options);
    o.size = option::text(options, QStringLiteral("size"), QStringLiteral("medium"));
    o.sx = option::sx(options);
    o.value = option::anyOrState(options, QStringLiteral("value"));
    o.kwargs = option::rest(options, {QStringLiteral("disabled"), QStringLiteral("label"), QStringLiteral("hiddenLabel"),
                                      QStringLiteral("focused"), QStringLiteral("hovered"), QStringLiteral("children"),
                                      QStringLiteral("multiple"), QStringLiteral("multiline"), QStringLiteral("renderTags"),
                                      QStringLiteral("size"), QStringLiteral("sx"), QStringLiteral("value")});
    return new CreatedFieldShell(std::move(o));
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.textfield.field_shell", FieldShell, createFieldShell)

} // namespace tessera
