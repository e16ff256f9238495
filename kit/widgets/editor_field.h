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
        not a text or none, \c children not a list of widgets or none,
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
    explicit EditorStyleTemplate(QString componentKey) : m_componentKey(std::move(componentKey)) {}

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

        QString text;
        text += QStringLiteral("\n                #");
        text += ObjectNamePlaceholder;
        text += QStringLiteral("[variant=");
        text += variant;
        text += QStringLiteral("] {\n                    ");
        text += rootQss;
        text += QStringLiteral("\n                }\n            ");
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
        explicit Knob(Options options = {}) : EditorField(std::move(options), &Knob::_get_stylesheet) {}
    protected:
        static QString _get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode);
    };
    \endcode
*/
template<typename QtEditor>
class EditorField : public QtEditor, public FieldShellBase, public RestyleLifecycle
{
public:
    using Options = EditorFieldOptions;
    using ChangeHandler = EditorFieldOptions::ChangeHandler;
    //! The class-level template builder: (variant, size, palette mode) -> template text.
    using StylesheetGetter = QString (*)(const QString &_variant, const QString &_size, const QString &_theme_mode);

    ~EditorField() override = default;

protected:
    EditorField(Options options, StylesheetGetter getStylesheet)
        : QtEditor(), FieldShellBase(), RestyleLifecycle(this), m_getStylesheet(getStylesheet)
    {
        this->setObjectName(newObjectName());
        if (options.children) {
            _children.emplace();
            for (QWidget *child : std::as_const(*options.children))
                _children->append(child);
        }
        _label = std::move(options.label);
        _onChange = std::move(options.onChange);
        _sx = std::move(options.sx);
        _variant = std::move(options.variant);
        _size = std::move(options.size);
        _init_ui();
    }

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

    void enterEvent(QEnterEvent *event) override
    {
        FieldShellBase::enterEvent(this, event);
        QtEditor::enterEvent(event);
    }
    void leaveEvent(QEvent *event) override
    {
        FieldShellBase::leaveEvent(this, event);
        QtEditor::leaveEvent(event);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        FieldShellBase::mousePressEvent(this, event);
        QtEditor::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        FieldShellBase::mouseReleaseEvent(this, event);
        QtEditor::mouseReleaseEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        FieldShellBase::focusInEvent(this, event);
        QtEditor::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        FieldShellBase::focusOutEvent(this, event);
        QtEditor::focusOutEvent(event);
    }

    //! The children option, guarded: the row's widgets may be deleted by their owner later.
    std::optional<WidgetList> _children;
    std::optional<QString> _label;
    ChangeHandler _onChange;
    Sx _sx;
    QString _variant;
    QString _size;

private:
    Q_DISABLE_COPY(EditorField)
    StylesheetGetter m_getStylesheet;
};

} // namespace tessera
