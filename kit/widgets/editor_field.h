#pragma once

#include <tessera/kit/field_shell_base.h>
#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QEnterEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QMetaType>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

namespace tessera {
//! A handler for an editor field's value changes (stored by the fields, connected to nothing).
using EditorChangeHandler = std::function<void(const QVariant &value)>;
} // namespace tessera

Q_DECLARE_METATYPE(tessera::EditorChangeHandler)

namespace tessera {

/*!
    The named options of the kit's editor fields (KnobField, StepperField,
    CalendarField), in their positional order.

    \code
    auto *dial = new tessera::KnobField({.label = "Volume", .variant = "filled"});
    \endcode
*/
struct EditorFieldOptions
{
    //! The kind of the \c onChange option.
    using ChangeHandler = EditorChangeHandler;

    //! Accepted and not used: the field is created without a parent (a layout re-parents it).
    QWidget *parent = nullptr;
    //! Stored only; the field shows no label of its own.
    std::optional<QString> label{};
    //! Stored only.
    ChangeHandler onChange{};
    //! Widgets laid out in one row inside the field (an empty list installs an empty row).
    std::optional<QList<QWidget *>> children{};
    //! The caller's extra style, appended after the field's own rule.
    Sx sx{};
    //! Becomes the "variant" property and the selector condition of the field's rule.
    QString variant = QStringLiteral("outlined");
    //! Keys the style memo only.
    QString size = QStringLiteral("medium");
    //! Further named options: accepted and ignored.
    QVariantMap kwargs{};

    /*!
        Converts named options, as tessera::create() receives them. Throws
        OptionError naming the option when a value has the wrong kind: \c label
        not a text or none, \c children not a list of widgets or none (or holding a null widget),
        \c variant or \c size not a text, \c sx not a style, \c onChange not a
        ChangeHandler or none, \c parent not a widget or none.
    */
    static EditorFieldOptions fromVariantMap(const QVariantMap &options)
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
};

/*!
    The class-level style template of one editor-field class: the rule for the
    component's root style, selected by the object-name placeholder and the
    variant, memoised per (variant, size, palette mode, theme) in an LRU memo of
    128 entries that is never cleared. Each editor-field class owns exactly one
    instance (in its own library) and fixes the theme component it reads, so a
    subclass keeps reading its base class's entry.
*/
class EditorStyleTemplate
{
public:
    //! The template of the theme component \a componentKey ("KnobField").
    explicit EditorStyleTemplate(QString componentKey) : m_componentKey(std::move(componentKey)) {}

    //! The theme component whose root style the template holds.
    QString componentKey() const { return m_componentKey; }

    /*!
        The template text for \a variant. \a size and \a themeMode only key the
        memo, together with the identity of the current theme, so that two
        themes of one palette mode never share a text. Throws when the current
        theme lacks the component or its "styles"; nothing is memoised then.
    */
    QString get(const QString &variant, const QString &size, const QString &themeMode)
    {
        QStringList key;
        key.reserve(5);
        key << variant << size << themeMode << themeMemoKey(useTheme());
        return m_memo.get(key, [&] { return build(variant); });
    }

    //! The memo of template texts, for inspection.
    const LruMemo<QString> &memo() const { return m_memo; }

private:
    QString build(const QString &variant) const
    {
        const Theme *current = useTheme();
        const StyleMap &component = current->components.mapAt(m_componentKey);
        // A missing or non-mapping "styles" cannot answer the "root" lookup;
        // a missing "root" is passed on as none and renders as nothing.
        const StyleValue *styles = component.find(u"styles");
        const StyleMap *stylesMap = styles ? styles->mapIf() : nullptr;
        if (!stylesMap)
            throw StyleLookupError(m_componentKey + QStringLiteral(".styles"));
        const QString rootQss = get_qss_style(stylesMap->find(u"root"));
        // An optional "focus" style: the keyboard focus look, in a second rule.
        const QString focusQss = get_qss_style(stylesMap->find(u"focus"));

        QString text;
        const auto rule = [&](QStringView state, const QString &declarations) {
            text += QStringLiteral("\n                #");
            text += ObjectNamePlaceholder;
            text += QStringLiteral("[variant=");
            text += variant;
            text += u']';
            text += state;
            text += QStringLiteral(" {\n                    ");
            text += declarations;
            text += QStringLiteral("\n                }");
        };
        rule(u"", rootQss);
        if (!focusQss.isEmpty())
            rule(u":focus", focusQss);
        text += QStringLiteral("\n            ");
        return text;
    }

    QString m_componentKey;
    LruMemo<QString> m_memo;
};

/*!
    A Qt editor (QDial, QSpinBox, QDateEdit, ...) that is also a kit field:
    the shared body of KnobField, StepperField and CalendarField.

    The field names itself with a fresh UUID, stores its options, lays out
    \c children in a zero-margin row, and styles itself from the theme after
    construction and after every theme change (never inside the constructor or
    the theme signal). Its style sheet is the class's memoised template with the
    placeholder replaced by the object name, followed directly by the rendered
    \c sx. Each of the six enter/leave/press/release/focus handlers passes the
    event to FieldShellBase first and then to the Qt editor.

    A concrete field derives from EditorField<QtEditor>, declares Q_OBJECT and
    hands its class-level _get_stylesheet to this constructor:

    \code
    class Knob : public tessera::EditorField<QDial> {
        Q_OBJECT
    public:
        explicit Knob(QWidget *parent = nullptr) : Knob(Options{}, parent) {}
        explicit Knob(Options options, QWidget *parent = nullptr)
            : EditorField(std::move(options), &Knob::_get_stylesheet, parent) {}
    protected:
        static QString _get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode);
    };
    \endcode
*/
template<typename QtEditor>
class EditorField : public QtEditor, public FieldShellBase, public RestyleLifecycle
{
public:
    using Options = EditorFieldOptions;                         //!< The field's options.
    using ChangeHandler = EditorFieldOptions::ChangeHandler;    //!< The kind of the \c onChange option.
    //! The class-level template builder: (variant, size, palette mode) -> template text.
    using StylesheetGetter = QString (*)(const QString &_variant, const QString &_size, const QString &_theme_mode);

    ~EditorField() override = default;

    /*!
        The options as properties (each concrete field declares them with
        Q_PROPERTY and the NOTIFY signals variantChanged, themeSizeChanged and
        labelChanged). A write notifies once when the value changed; a new
        \c variant or \c themeSize restyles the field on the next restyle
        pass. \c variant and \c themeSize (the \c size option) must be theme
        keys: anything else throws OptionError naming the property, and
        nothing changes.
    */
    QString variant() const { return _variant; }
    //! Writes the \c variant property.
    void setVariant(const QString &variant) { writeThemeKey(_variant, "variant", variant); }
    //! The size of the theme's field styles (the \c size option).
    QString themeSize() const { return _size; }
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size) { writeThemeKey(_size, "themeSize", size); }
    //! Stored only: the field shows no label of its own. A null text is no label.
    QString label() const { return _label.value_or(QString()); }
    //! Writes the \c label property.
    void setLabel(const QString &label)
    {
        std::optional<QString> value;
        if (!label.isNull())
            value = label;
        if (value == _label)
            return;
        _label = std::move(value);
        notify("labelChanged", this->label());
    }

protected:
    /*!
        A field with \a options, styled from the templates \a getStylesheet
        builds. Throws OptionError naming "children" when the list holds a null
        widget; nothing is left built then.
    */
    EditorField(Options options, StylesheetGetter getStylesheet, QWidget *parent = nullptr)
        : QtEditor(parent), FieldShellBase(), RestyleLifecycle(this), m_getStylesheet(getStylesheet)
    {
        if (options.children)
            _children = option::childWidgets(*options.children);
        this->setObjectName(newObjectName());
        _label = std::move(options.label);
        _onChange = std::move(options.onChange);
        _sx = std::move(options.sx);
        _variant = std::move(options.variant);
        _size = std::move(options.size);
        _init_ui();
    }

    //! Lays out the children and subscribes to the theme (the constructor's last step).
    void _init_ui()
    {
        theme = useTheme();
        if (_children) {
            auto *row = new QHBoxLayout;
            this->setLayout(row);
            row->setContentsMargins(0, 0, 0, 0);
            for (const QPointer<QWidget> &child : std::as_const(*_children))
                row->addWidget(child);
        }
        _subscribeToTheme();
    }

    //! Applies the template for the current theme and the rendered sx; \a component_styled is not used.
    void _set_stylesheet(const StyleMap &component_styled = {}) override
    {
        Q_UNUSED(component_styled);
        const QString mode = useTheme()->palette.mode;
        this->_writeProperty("variant", _variant);
        const QString name = this->objectName();
        QString sheet = m_getStylesheet(_variant, _size, mode);
        fillObjectName(sheet, name);
        sheet += _sx.render(name);
        this->_applyStyleSheet(sheet);
    }

    //! \reimp
    void enterEvent(QEnterEvent *event) override
    {
        FieldShellBase::enterEvent(this, event);
        QtEditor::enterEvent(event);
    }
    //! \reimp
    void leaveEvent(QEvent *event) override
    {
        FieldShellBase::leaveEvent(this, event);
        QtEditor::leaveEvent(event);
    }
    //! \reimp
    void mousePressEvent(QMouseEvent *event) override
    {
        FieldShellBase::mousePressEvent(this, event);
        QtEditor::mousePressEvent(event);
    }
    //! \reimp
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        FieldShellBase::mouseReleaseEvent(this, event);
        QtEditor::mouseReleaseEvent(event);
    }
    //! \reimp
    void focusInEvent(QFocusEvent *event) override
    {
        FieldShellBase::focusInEvent(this, event);
        QtEditor::focusInEvent(event);
    }
    //! \reimp
    void focusOutEvent(QFocusEvent *event) override
    {
        FieldShellBase::focusOutEvent(this, event);
        QtEditor::focusOutEvent(event);
    }

    //! The children option, guarded: the row's widgets may be deleted by their owner later.
    std::optional<WidgetList> _children;
    std::optional<QString> _label;   //!< The label option (stored only).
    ChangeHandler _onChange;   //!< The change handler option (stored only).
    Sx _sx;   //!< The caller's extra style, rendered after the template.
    QString _variant;   //!< The variant: the "variant" property and the template key.
    QString _size;   //!< The size: a template key only.

private:
    Q_DISABLE_COPY(EditorField)
    // Checks, stores and restyles a text option naming a theme entry, then notifies "<property>Changed".
    void writeThemeKey(QString &option, const char *property, const QString &value)
    {
        if (option::themeKey(QString::fromLatin1(property), value) == option)
            return;
        option = value;
        this->_scheduleSetStyleSheet();
        notify((QByteArray(property) + "Changed").constData(), option);
    }
    // Emits the concrete class's NOTIFY signal: the template itself has no meta-object of its own.
    void notify(const char *signal, const QString &value)
    {
        QMetaObject::invokeMethod(this, signal, Qt::DirectConnection, Q_ARG(QString, value));
    }
    StylesheetGetter m_getStylesheet;
};

} // namespace tessera
