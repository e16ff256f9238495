#include "field_shell.h"

#include <tessera/kit/accessible.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
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

} // namespace

FieldShell::FieldShell(QWidget *parent) : FieldShell(Options{}, parent) {}

FieldShell::FieldShell(Options options, QWidget *parent)
    : QGroupBox(parent)
    , RestyleLifecycle(this)
    // Guarded, so a child that outlives an editor never dangles; a null
    // child is refused before anything is built.
    , _children(options.children ? std::optional<WidgetList>(option::childWidgets(*options.children)) : std::nullopt)
    , _disabled(options.disabled)
    , _multiple(options.multiple)
    , _multiline(options.multiline)
    , _renderTags(std::move(options.renderTags))
    , _hovered(std::move(options.hovered))
    , _hiddenLabel(options.hiddenLabel)
    , _focused(std::move(options.focused))
    , _label(std::move(options.label))
    , _size(std::move(options.size))
    , _sx(std::move(options.sx))
    , _value(std::move(options.value))
{
}

FieldShell::~FieldShell()
{
    // The derived part, which implements slot_set_stylesheet(), is gone by now:
    // a State or the language switch firing while the rest of the widget is
    // torn down (a child's destructor may set a State) must not reach us.
    m_subscriptions.release();
    disconnect(m_labelConnection);
}

QString FieldShell::label() const
{
    if (const QString *text = _label.plain())
        return *text;
    if (const State *state = _label.state()) {
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
    const bool wasState = _label.isState();
    disconnect(m_labelConnection);
    m_labelConnection = {};
    if (!wasState && _label.plain() && *_label.plain() == label)
        return;
    const QString before = this->label();
    _label = label;
    if (m_initialized)
        _set_translated_label();
    if (label != before)
        Q_EMIT labelChanged(label);
}

void FieldShell::setHiddenLabel(bool hidden)
{
    if (hidden == _hiddenLabel)
        return;
    _hiddenLabel = hidden;
    if (m_initialized) {
        if (hidden)
            _hide_label();
        else
            _set_translated_label();
    }
    Q_EMIT hiddenLabelChanged(hidden);
}

void FieldShell::setThemeSize(const QString &size)
{
    if (option::themeKey(QStringLiteral("themeSize"), size) == _size)
        return;
    _size = size;
    if (m_initialized)
        _scheduleSetStyleSheet();
    Q_EMIT themeSizeChanged(size);
}

void FieldShell::noteSelectedProperty(const char *name)
{
    // The rules select on "disabled" and "error", which are properties of the
    // class: Qt reports no change of those, so the change is reported the way
    // a dynamic property's is, and the next restyle pass applies the sheet
    // again instead of skipping an unchanged text.
    QDynamicPropertyChangeEvent changed(name);
    QCoreApplication::sendEvent(this, &changed);
}

void FieldShell::setDisabled(bool disabled)
{
    if (disabled == _disabled)
        return;
    _disabled = disabled;
    noteSelectedProperty("disabled");
    if (m_initialized) {
        // A disabled field stops following hovering; enabled again, it reads the option anew.
        if (!disabled)
            setStateProperty("hovered", _hovered);
        slot_set_stylesheet();
    }
    Q_EMIT disabledChanged(disabled);
}

void FieldShell::setError(bool error)
{
    if (error == m_error)
        return;
    m_error = error;
    noteSelectedProperty("error");
    if (m_initialized)
        slot_set_stylesheet();
    Q_EMIT errorChanged(error);
}

void FieldShell::_init_ui()
{
    if (m_initialized)
        return;
    m_initialized = true;

    setObjectName(newObjectName());

    // _set_translated_label() does nothing while the label is hidden, so the
    // State is followed either way and a later setHiddenLabel(false) shows it.
    if (State *label = _label.state())
        m_labelConnection = connect(label, &State::valueChanged, this, &FieldShell::_set_translated_label);
    if (State *hovered = _hovered.state())
        m_subscriptions << connect(hovered, &State::valueChanged, this, &FieldShell::_set_hovered_prop);
    _set_hovered_prop();
    if (State *focused = _focused.state())
        m_subscriptions << connect(focused, &State::valueChanged, this, &FieldShell::_set_focused_prop);
    _set_focused_prop();

    if (_children) {
        auto *row = new QHBoxLayout;
        setLayout(row);
        row->setContentsMargins(0, 0, 0, 0);
        for (const QPointer<QWidget> &child : std::as_const(*_children)) {
            // A child deleted by the caller before it was laid out is skipped.
            if (child)
                row->addWidget(child);
        }
    }
    nameAfterLabel(this, _label);

    m_subscriptions << connect(i18n(), &I18n::langChanged, this, &FieldShell::_set_translated_label);

    theme = useTheme();
    // Follows theme->signal->changed and queues the first build for after
    // construction; the destructor cancels a build that has not run yet.
    _subscribeToTheme();
}

bool FieldShell::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !m_initialized) {
        qWarning("%s: the constructor never called FieldShell::_init_ui(); initialising on first polish",
                 metaObject()->className());
        _init_ui();
    }
    // An editor put into the field later is named too.
    if (event->type() == QEvent::ChildPolished && m_initialized)
        nameAfterLabel(this, _label);
    return QGroupBox::event(event);
}

void FieldShell::_set_translated_label()
{
    // A State deleted by its owner, or holding no text, reads as none: the
    // title stays. A plain text goes to the title as it is, untranslated.
    const std::optional<QString> text = labelText(_label);
    if (!text)
        return;
    setFieldAccessibleName(this, *text);
    if (!_hiddenLabel)
        setTitle(*text);
}

void FieldShell::_show_label()
{
    if (!_hiddenLabel)
        _set_translated_label();
}

void FieldShell::_hide_label()
{
    setTitle(QString());
}

void FieldShell::setStateProperty(const char *name, const StateOr<bool> &option)
{
    if (const State *state = option.state())
        setProperty(name, state->value());
    else if (const bool *flag = option.plain())
        setProperty(name, *flag);
}

void FieldShell::_set_hovered_prop()
{
    if (_disabled)
        return;
    setStateProperty("hovered", _hovered);
    slot_set_stylesheet();
}

void FieldShell::_set_focused_prop()
{
    setStateProperty("focused", _focused);
    slot_set_stylesheet();
}

void FieldShell::_set_multiple_has_value_prop(const QVariant &state)
{
    setProperty("multipleHasValue", state);
    slot_set_stylesheet();
}

void FieldShell::_set_stylesheet(const StyleMap &component_styled)
{
    theme = useTheme();
    const StyleMap &components = component_styled.isEmpty() ? theme->components() : component_styled;

    // "disabled" and "error", which the rules select on, are properties of
    // the class: nothing to write here.

    // Every lookup below throws when a required entry is missing or of the
    // wrong kind; nothing has been applied to the widget at that point. The
    // styles are checked here, in this order, and rendered into the sheet below.
    const StyleMap &styles = components.mapAt(u"FieldShell").mapAt(u"styles");
    const StyleMap *FieldShell_root = styleMapOf(styles.find(u"root"));

    const StyleMap &title = styles.mapAt(u"title");
    const StyleMap &titleSlots = title.mapAt(u"slots");
    const StyleMap *FieldShell_title_slot_focused = styleMapOf(&titleSlots.at(u"focused"));
    const StyleMap *FieldShell_title_slot_error = styleMapOf(&titleSlots.at(u"error"));
    const StyleMap *FieldShell_title_slot_disabled = styleMapOf(&titleSlots.at(u"disabled"));

    const StyleMap &inputField = styles.mapAt(u"inputField");
    const StyleMap &inputProps = inputField.mapAt(u"props");
    const StyleMap *FieldShell_inputField_prop_multiline = styleMapOf(&inputProps.mapAt(u"multiline").at(_size));
    const StyleMap *FieldShell_inputField_prop_multiple = styleMapOf(&inputProps.at(u"multiple"));

    const StyleMap &sized = components.mapAt(u"FieldShellSize").mapAt(u"styles").mapAt(_size);
    const StyleMap &notMultiple = sized.mapAt(u"no-multiple");
    const int FieldShellSize_no_multiple_height = minimumHeightFrom(notMultiple.at(u"height"), _size);

    // Tags of a multiple value and multi-line text need room to grow.
    const bool grow = (_multiple && _renderTags) || _multiline;

    const QString N = objectName();
    const QString sx_qss = _sx.render(N);

    QString sheet;
    sheet.reserve(4096 + sx_qss.size());
    // One line: its indent, its parts, a line feed. Appended in place: the
    // sheet is composed on every restyle of every field.
    static constexpr QStringView Spaces = u"                    ";
    const auto line = [&sheet](int indent, auto... parts) {
        // One append per line: QStringBuilder sizes the parts first and copies them in.
        sheet += (Spaces.left(indent) % ... % QStringView(parts)) % u'\n';
    };
    // A line holding one rendered style.
    const auto styleLine = [&sheet](const StyleMap *style) {
        sheet += Spaces.left(20);
        appendQssStyle(sheet, style);
        sheet += u'\n';
    };
    // Made in one allocation: QChar + QString would grow a one-character text.
    const QString id = QLatin1Char('#') % N;
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
    line(16, sx_qss);
    sheet += Spaces.left(12);

    if (grow)
        setMinimumHeight(FieldShellSize_no_multiple_height);

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
