#include "editor_field.h"
#include "editor_field_p.h"

#include <QByteArray>
#include <QHBoxLayout>
#include <QMetaObject>

namespace tessera {

EditorFieldOptions EditorFieldOptions::fromVariantMap(const QVariantMap &options)
{
    EditorFieldOptions o;
    o.parent = option::widget(options, QStringLiteral("parent"));
    o.label = option::optionalText(options, QStringLiteral("label"));
    const QVariant change = options.value(QStringLiteral("onChange"));
    if (change.metaType() == QMetaType::fromType<ChangeHandler>())
        o.onChange = change.value<ChangeHandler>();
    else if (change.isValid() && !change.isNull())
        throw OptionError(QStringLiteral("onChange"),
                          QStringLiteral("expected a change handler or none, got %1")
                              .arg(QString::fromLatin1(change.metaType().name())));
    o.children = option::widgetList(options, QStringLiteral("children"));
    o.sx = option::sx(options);
    o.variant = option::text(options, QStringLiteral("variant"), o.variant);
    o.size = option::text(options, QStringLiteral("size"), o.size);
    o.kwargs = option::rest(options, {QStringLiteral("parent"), QStringLiteral("label"), QStringLiteral("onChange"),
                                      QStringLiteral("children"), QStringLiteral("sx"), QStringLiteral("variant"),
                                      QStringLiteral("size")});
    return o;
}

namespace {

// Emits the concrete class's NOTIFY signal: the field classes share no meta-object of their own.
void notify(QWidget *self, const char *signal, const QString &value)
{
    QMetaObject::invokeMethod(self, signal, Qt::DirectConnection, Q_ARG(QString, value));
}

// Checks, stores and restyles a text option naming a theme entry, then notifies "<property>Changed".
template<typename Restyle>
void writeThemeKey(QWidget *self, QString &option, const char *property, const QString &value, Restyle &&restyle)
{
    if (option::themeKey(QString::fromLatin1(property), value) == option)
        return;
    option = value;
    restyle();
    notify(self, (QByteArray(property) + "Changed").constData(), option);
}

} // namespace

EditorFieldBase::EditorFieldBase(QWidget *self, Options options, StylesheetGetter getStylesheet)
    : FieldShellBase(), RestyleLifecycle(self), d(std::make_unique<EditorFieldPrivate>(self, getStylesheet))
{
    if (options.children)
        d->_children = option::childWidgets(*options.children);
    self->setObjectName(newObjectName());
    d->_label = std::move(options.label);
    d->_onChange = std::move(options.onChange);
    d->_sx = std::move(options.sx);
    d->_variant = std::move(options.variant);
    d->_size = std::move(options.size);
    _init_ui();
}

EditorFieldBase::~EditorFieldBase() = default;

void EditorFieldBase::_init_ui()
{
    theme = useTheme();
    if (d->_children) {
        auto *row = new QHBoxLayout;
        d->self->setLayout(row);
        row->setContentsMargins(0, 0, 0, 0);
        for (const QPointer<QWidget> &child : std::as_const(*d->_children))
            row->addWidget(child);
    }
    _subscribeToTheme();
}

void EditorFieldBase::_set_stylesheet(const StyleMap &component_styled)
{
    Q_UNUSED(component_styled);
    const QString mode = useTheme()->palette().mode;
    _writeProperty("variant", d->_variant);
    const QString name = d->self->objectName();
    QString sheet = d->getStylesheet(d->_variant, d->_size, mode);
    fillObjectName(sheet, name);
    sheet += d->_sx.render(name);
    _applyStyleSheet(sheet);
}

QString EditorFieldBase::variant() const
{
    return d->_variant;
}

void EditorFieldBase::setVariant(const QString &variant)
{
    writeThemeKey(d->self, d->_variant, "variant", variant, [this] { _scheduleSetStyleSheet(); });
}

QString EditorFieldBase::themeSize() const
{
    return d->_size;
}

void EditorFieldBase::setThemeSize(const QString &size)
{
    writeThemeKey(d->self, d->_size, "themeSize", size, [this] { _scheduleSetStyleSheet(); });
}

QString EditorFieldBase::label() const
{
    return d->_label.value_or(QString());
}

void EditorFieldBase::setLabel(const QString &label)
{
    std::optional<QString> value;
    if (!label.isNull())
        value = label;
    if (value == d->_label)
        return;
    d->_label = std::move(value);
    notify(d->self, "labelChanged", this->label());
}

const std::optional<WidgetList> &EditorFieldBase::fieldChildren() const
{
    return d->_children;
}

const std::optional<QString> &EditorFieldBase::labelOption() const
{
    return d->_label;
}

const EditorFieldBase::ChangeHandler &EditorFieldBase::changeHandler() const
{
    return d->_onChange;
}

const Sx &EditorFieldBase::sx() const
{
    return d->_sx;
}

} // namespace tessera
