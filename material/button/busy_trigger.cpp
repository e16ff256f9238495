#include <tessera/material/button/busy_trigger_p.h>

#include <tessera/kit/accessible.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/kit/theme.h>

#include <QHBoxLayout>

namespace tessera {

namespace {

// Truth value of an option or State value: none, false, zero and empty texts,
// lists and mappings are off; anything else is on.
bool truthy(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble() != 0.0;   // NaN counts as on
    case QMetaType::QString:
        return !value.toString().isEmpty();
    case QMetaType::QByteArray:
        return !value.toByteArray().isEmpty();
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return !value.toList().isEmpty();
    case QMetaType::QVariantMap:
        return !value.toMap().isEmpty();
    case QMetaType::QVariantHash:
        return !value.toHash().isEmpty();
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<StyleMap>())
        return !value.value<StyleMap>().isEmpty();
    if (value.metaType() == QMetaType::fromType<DeferredText>())
        return !value.value<DeferredText>().isNull();
    if (value.metaType() == QMetaType::fromType<WidgetList>())
        return !value.value<WidgetList>().isEmpty();
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return value.value<QObject *>() != nullptr;
    return true;
}

State *stateIn(const QVariant &value)
{
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<State *>(value.value<QObject *>());
    return nullptr;
}

LruMemo<QString> &templateMemo()
{
    static LruMemo<QString> memo(128);
    return memo;
}

// The button template for one variant, size and colour, with the object-name
// placeholder in each selector. Every lookup throws when the theme lacks it.
QString buildTemplate(const StyleMap &components, const QString &variant, const QString &size, const QString &color)
{
    const StyleMap &button = components.mapAt(u"PyButton");
    const StyleValue *styles = button.find(u"styles");
    if (!styles)
        throw StyleLookupError(QStringLiteral("PyButton.styles"));
    const StyleMap &PyButton_root = styles->map().mapAt(u"root");

    const StyleValue &sizeEntry = PyButton_root.mapAt(u"size").at(size);
    const QString PyButton_root_size_qss = get_qss_style(&sizeEntry);
    const QString PyButton_root_size_textVariant_qss = get_qss_style(&sizeEntry.map().at(u"textVariant"));

    const StyleValue &variantEntry =
        PyButton_root.mapAt(u"colorStyle").mapAt(color).mapAt(u"props").at(variant + QStringLiteral("Variant"));
    const QString PyButton_root_colorStyle_prop_variant_qss = get_qss_style(&variantEntry);
    const StyleMap &slots = variantEntry.map().mapAt(u"slots");
    const QString PyButton_root_colorStyle_prop_variant_slot_hover_qss = get_qss_style(&slots.at(u"hover"));
    const QString PyButton_root_colorStyle_prop_variant_slot_checked_qss = get_qss_style(&slots.at(u"checked"));

    const QString placeholder = ObjectNamePlaceholder.toString();
    QString sheet;
    sheet += u"\n            #";
    sheet += placeholder;
    sheet += u"{\n                ";
    sheet += PyButton_root_size_qss;
    sheet += u"\n                ";
    sheet += PyButton_root_size_textVariant_qss;
    sheet += u"\n                ";
    sheet += PyButton_root_colorStyle_prop_variant_qss;
    sheet += u"\n            }\n            #";
    sheet += placeholder;
    sheet += u":hover {\n                ";
    sheet += PyButton_root_colorStyle_prop_variant_slot_hover_qss;
    sheet += u"\n            }\n            #";
    sheet += placeholder;
    sheet += u"[selected=true] {\n                ";
    sheet += PyButton_root_colorStyle_prop_variant_slot_checked_qss;
    sheet += u"\n            }\n        ";
    return sheet;
}

// The label's style mapping, one for every trigger: a StyleMap shares its
// data when copied, so the labels hold no copy of their own.
const StyleMap &labelSx()
{
    static const StyleMap sx{{QStringLiteral("color"), QStringLiteral("palette.text.disabled")}};
    return sx;
}

} // namespace

BusyTrigger::BusyTrigger(QWidget *parent) : BusyTrigger(Options{}, parent) {}

BusyTrigger::BusyTrigger(const Options &options, QWidget *parent)
    : QFrame(parent), RestyleLifecycle(this), d(std::make_unique<BusyTriggerPrivate>())
{
    setObjectName(QStringLiteral("BusyTrigger_") + newObjectName());

    d->_kwargs = options.kwargs;
    d->_text = d->_kwargs.value(QStringLiteral("text"));
    d->_variant = options.variant;
    d->_size = options.size;
    d->_color = options.color;
    d->_sx = options.sx;
    d->_loading = options.loading;
    d->_loadingPosition = options.loadingPosition;
    d->_loadingIndicator = options.loadingIndicator;

    loadingWidget = new PySvgWidget({.key = QStringLiteral("eos-icons:loading"),
                                     .color = QStringLiteral("palette.grey._500")});

    StateOr<QVariant> labelText = d->_loadingIndicator;
    if (truthy(d->_text)) {
        if (State *state = stateIn(d->_text))
            labelText = state;
        else
            labelText = StateOr<QVariant>(d->_text);
    }
    label = new Typography({.text = labelText,
                            .variant = QStringLiteral("button"),
                            .sx = labelSx()});
    connect(label, &Typography::textChanged, this, [this](const QString &text) {
        // The label is the trigger's accessible name: screen readers hear the new one.
        notifyAccessibleNameChanged(this);
        Q_EMIT textChanged(text);
    });

    _init_ui();
}

BusyTrigger::~BusyTrigger()
{
    // Qt destroys the label, the icon and the row after this destructor and
    // the private data; a child may set the loading State meanwhile, which
    // must no longer reach the trigger. The pending style task is cancelled
    // by RestyleLifecycle's destructor, which runs after this one: the
    // trigger's own data is gone by then, so the cancellation touches only
    // the task handle.
    disconnect(d->loadingConnection);
    d->subscriptions.release();
}

void BusyTrigger::_init_ui()
{
    d->row = new QHBoxLayout(this);
    d->row->setContentsMargins(0, 0, 0, 0);
    d->row->setAlignment(Qt::AlignCenter | Qt::AlignVCenter);
    d->row->addWidget(label);
    d->row->addWidget(loadingWidget);

    connectSignalSlot();
    _update_loading();

    theme = useTheme();
    _subscribeToTheme();
}

void BusyTrigger::connectSignalSlot()
{
    if (State *state = d->_loading.state())
        d->loadingConnection = connect(state, &State::valueChanged, this, &BusyTrigger::_update_loading);
}

void BusyTrigger::_update_loading(const QVariant &)
{
    const bool wasBusy = loadingWidget->isVisibleTo(this);
    // A State deleted by its owner reads as none, so the icon is hidden.
    const bool on = truthy(d->_loading.current());
    if (on) {
        // Take the icon out and put it back, so that a repeated switch to on
        // leaves the row as it was.
        d->row->removeWidget(loadingWidget);
        d->row->insertWidget(d->_loadingPosition == u"start" ? 0 : 1, loadingWidget);
        loadingWidget->setVisible(true);
    } else {
        loadingWidget->setVisible(false);
    }
    // Screen readers hear "busy" while the icon is shown.
    if (loadingWidget->isVisibleTo(this) != wasBusy)
        notifyAccessibleBusyChanged(this);
    if (on != d->loadingShown) {
        d->loadingShown = on;
        Q_EMIT loadingChanged(on);
    }
}

bool BusyTrigger::isLoading() const
{
    return truthy(d->_loading.current());
}

void BusyTrigger::setLoading(bool loading)
{
    // A plain value replaces the State the option followed.
    disconnect(d->loadingConnection);
    d->loadingConnection = {};
    d->_loading = loading;
    _update_loading();
}

void BusyTrigger::setLoadingPosition(const QString &position)
{
    if (position == d->_loadingPosition)
        return;
    d->_loadingPosition = position;
    if (d->loadingShown)
        _update_loading();
    Q_EMIT loadingPositionChanged(position);
}

QString BusyTrigger::loadingPosition() const
{
    return d->_loadingPosition;
}

QString BusyTrigger::color() const
{
    return d->_color;
}

QString BusyTrigger::variant() const
{
    return d->_variant;
}

QString BusyTrigger::themeSize() const
{
    return d->_size;
}

QString BusyTrigger::text() const
{
    return label->text();
}

void BusyTrigger::setText(const QString &text)
{
    // The label follows "text" when it is set, the loading indicator otherwise
    // (as at construction); the label reports the change through textChanged.
    d->_text = text;
    d->_kwargs.insert(QStringLiteral("text"), text);
    label->setTextOption(text.isEmpty() ? d->_loadingIndicator : StateOr<QVariant>(QVariant(text)));
}

namespace {

// The write of a text option that names a theme entry: checked (OptionError
// naming \a property), stored, and restyled. Returns whether it changed.
template<typename Restyle>
bool writeThemeKey(QString &option, const char *property, const QString &value, Restyle restyle)
{
    if (option::themeKey(QString::fromLatin1(property), value) == option)
        return false;
    option = value;
    restyle();
    return true;
}

} // namespace

void BusyTrigger::setColor(const QString &color)
{
    if (writeThemeKey(d->_color, "color", color, [this] { _scheduleSetStyleSheet(); }))
        Q_EMIT colorChanged(color);
}

void BusyTrigger::setVariant(const QString &variant)
{
    if (writeThemeKey(d->_variant, "variant", variant, [this] { _scheduleSetStyleSheet(); }))
        Q_EMIT variantChanged(variant);
}

void BusyTrigger::setThemeSize(const QString &size)
{
    if (writeThemeKey(d->_size, "themeSize", size, [this] { _scheduleSetStyleSheet(); }))
        Q_EMIT themeSizeChanged(size);
}

QString BusyTrigger::_get_stylesheet(const QString &_variant, const QString &_size, const QString &_color,
                                     const QString &_theme_mode) const
{
    const Theme *current = useTheme();
    // The theme identity stands beside the mode: two themes of the same mode
    // must not share a template, while the same theme set again reuses it.
    QStringList key;
    key.reserve(7);
    key << QString::fromLatin1(metaObject()->className()) << _variant << _size << _color << _theme_mode
        << themeMemoKey(current);
    return templateMemo().get(key, [&] { return buildTemplate(current->components(), _variant, _size, _color); });
}

void BusyTrigger::_set_stylesheet(const StyleMap &)
{
    const QString mode = useTheme()->palette().mode;
    // The options stay as given (they are the widget's properties); the names
    // the theme is read with are normalised: "inherit" is styled as
    // "default", "Extended" is cut from variants and "extended" is "contained".
    const QString color = d->_color == u"inherit" ? QStringLiteral("default") : d->_color;
    QString variant = d->_variant;
    variant.remove(QStringLiteral("Extended"));
    variant.replace(QStringLiteral("extended"), QStringLiteral("contained"));

    QString sheet = _get_stylesheet(variant, d->_size, color, mode);
    const QString name = objectName();
    fillObjectName(sheet, name);
    const QString sx_qss = d->_sx.render(name);
    _applyStyleSheet(sheet + sx_qss);
}

const LruMemo<QString> &BusyTriggerPrivate::_stylesheetMemo()
{
    return templateMemo();
}

namespace {

QWidget *createBusyTrigger(const QVariantMap &options)
{
    // Every option is converted before anything is built, so a refused option
    // leaves no half-made widget behind.
    BusyTrigger::Options o;
    const StateOr<QVariant> loading = option::anyOrState(options, QStringLiteral("loading"));
    if (State *state = loading.state())
        o.loading = state;
    else if (!loading.isNone())
        o.loading = truthy(loading.current());
    o.loadingPosition = option::text(options, QStringLiteral("loadingPosition"), o.loadingPosition);
    o.loadingIndicator = option::anyOrState(options, QStringLiteral("loadingIndicator"));
    o.color = option::text(options, QStringLiteral("color"), o.color);
    o.variant = option::text(options, QStringLiteral("variant"), o.variant);
    o.size = option::text(options, QStringLiteral("size"), o.size);
    o.sx = option::sx(options, QStringLiteral("sx"));
    o.kwargs = option::rest(options, {QStringLiteral("loading"), QStringLiteral("loadingPosition"),
                                      QStringLiteral("loadingIndicator"), QStringLiteral("color"),
                                      QStringLiteral("variant"), QStringLiteral("size"), QStringLiteral("sx")});
    return new BusyTrigger(o);
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.button.busy_trigger", BusyTrigger, createBusyTrigger)

} // namespace tessera
