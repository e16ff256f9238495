#pragma once

#include <tessera/kit/field_shell_base.h>
#include <tessera/kit/kit_export.h>
#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>

#include <QEnterEvent>
#include <QFocusEvent>
#include <QMetaType>
#include <QMouseEvent>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>
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
struct TESSERA_KIT_EXPORT EditorFieldOptions
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
    static EditorFieldOptions fromVariantMap(const QVariantMap &options);
};

class EditorFieldPrivate;

/*!
    The part of EditorField<QtEditor> that does not depend on the Qt editor:
    the stored options, the option properties and the style build. It is not
    used on its own; a concrete field derives from EditorField<QtEditor>.
*/
class TESSERA_KIT_EXPORT EditorFieldBase : public FieldShellBase, public RestyleLifecycle
{
public:
    using Options = EditorFieldOptions;                         //!< The field's options.
    using ChangeHandler = EditorFieldOptions::ChangeHandler;    //!< The kind of the \c onChange option.
    //! The class-level template builder: (variant, size, palette mode) -> template text.
    using StylesheetGetter = QString (*)(const QString &_variant, const QString &_size, const QString &_theme_mode);

    ~EditorFieldBase() override;

    /*!
        The options as properties (each concrete field declares them with
        Q_PROPERTY and the NOTIFY signals variantChanged, themeSizeChanged and
        labelChanged). A write notifies once when the value changed; a new
        \c variant or \c themeSize restyles the field on the next restyle
        pass. \c variant and \c themeSize (the \c size option) must be theme
        keys: anything else throws OptionError naming the property, and
        nothing changes.
    */
    QString variant() const;
    //! Writes the \c variant property.
    void setVariant(const QString &variant);
    //! The size of the theme's field styles (the \c size option).
    QString themeSize() const;
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);
    //! Stored only: the field shows no label of its own. A null text is no label.
    QString label() const;
    //! Writes the \c label property.
    void setLabel(const QString &label);

protected:
    /*!
        The non-template part of the field \a self (the Qt editor, already
        constructed) with \a options, styled from the templates
        \a getStylesheet builds: names the field, stores the options, lays
        out the children and subscribes to the theme. Throws OptionError
        naming "children" when the list holds a null widget; nothing is left
        built then.
    */
    EditorFieldBase(QWidget *self, Options options, StylesheetGetter getStylesheet);

    //! Lays out the children and subscribes to the theme (the constructor's last step).
    void _init_ui();
    //! Applies the template for the current theme and the rendered sx; \a component_styled is not used.
    void _set_stylesheet(const StyleMap &component_styled = {}) override;

    //! The children option, guarded: the row's widgets may be deleted by their owner later.
    const std::optional<WidgetList> &fieldChildren() const;
    //! The label option (stored only; none when no label was given).
    const std::optional<QString> &labelOption() const;
    //! The change handler option (stored only).
    const ChangeHandler &changeHandler() const;
    //! The caller's extra style, rendered after the template.
    const Sx &sx() const;

private:
    Q_DISABLE_COPY(EditorFieldBase)
    std::unique_ptr<EditorFieldPrivate> const d;
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
class EditorField : public QtEditor, public EditorFieldBase
{
public:
    ~EditorField() override = default;

protected:
    /*!
        A field with \a options, styled from the templates \a getStylesheet
        builds. Throws OptionError naming "children" when the list holds a null
        widget; nothing is left built then.
    */
    EditorField(Options options, StylesheetGetter getStylesheet, QWidget *parent = nullptr)
        : QtEditor(parent), EditorFieldBase(this, std::move(options), getStylesheet)
    {
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

private:
    Q_DISABLE_COPY(EditorField)
};

} // namespace tessera
