#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <variant>

namespace tessera {

/*!
    An option value of the wrong kind. option() names it; nothing was built.
*/
class TESSERA_KIT_EXPORT OptionError : public std::invalid_argument
{
public:
    //! An error about the option \a option; what() is \a message.
    OptionError(const QString &option, const QString &message);
    //! The name of the option that was refused.
    QString option() const { return m_option; }

private:
    QString m_option;
};

/*!
    An option that takes a plain value or a State holding one. The State is
    kept through a guarded pointer: a State deleted by its owner reads as none.

    \code
    tessera::StateOr<bool> hovered = true;          // plain
    tessera::StateOr<bool> focused = focusState;    // follows the State
    \endcode
*/
template<typename T>
class StateOr
{
public:
    StateOr() = default;
    StateOr(std::nullptr_t) {}                              //!< None.
    StateOr(std::nullopt_t) {}                              //!< None.
    StateOr(const T &value) : m_value(value) {}             //!< The plain \a value.
    StateOr(State *state) : m_value(QPointer<State>(state)) {}  //!< Follows \a state (none when it is nullptr).
    //! The plain UTF-8 \a text (for a StateOr<QString>).
    template<typename U = T, std::enable_if_t<std::is_same_v<U, QString>, int> = 0>
    StateOr(const char *text) : m_value(QString::fromUtf8(text)) {}

    //! Whether this holds nothing, or a State that has been deleted.
    bool isNone() const { return m_value.index() == 0 || (isState() && !state()); }
    //! Whether this was given a State (even one deleted since).
    bool isState() const { return m_value.index() == 2; }
    //! Whether this holds a plain value.
    bool isPlain() const { return m_value.index() == 1; }
    //! The State, or nullptr when this holds none, a plain value, or a deleted State.
    State *state() const
    {
        const auto *p = std::get_if<QPointer<State>>(&m_value);
        return p ? p->data() : nullptr;
    }
    //! The plain value, or nullptr.
    const T *plain() const { return std::get_if<T>(&m_value); }
    //! The current value: the State's value, the plain value, or an invalid QVariant.
    QVariant current() const
    {
        if (const T *p = plain())
            return QVariant::fromValue(*p);
        if (State *s = state())
            return s->value();
        return {};
    }

private:
    std::variant<std::monostate, T, QPointer<State>> m_value;
};

/*!
    A caller's extra style for one widget: none, a style mapping, QSS text,
    a callable returning a mapping (as a QVariant holding a StyleMap), a text
    or anything else (ignored), or a State (kept for widgets that follow it).
*/
class TESSERA_KIT_EXPORT Sx
{
public:
    //! A callable sx: returns a QVariant holding a StyleMap, or QSS text.
    using Function = std::function<QVariant()>;

    Sx() = default;
    Sx(std::nullptr_t) {}                                       //!< No extra style.
    Sx(const StyleMap &map) : m_value(map) {}                   //!< A style mapping for the widget.
    Sx(const QString &qss) : m_value(qss) {}                    //!< QSS text, taken unchanged.
    Sx(const char *qss) : m_value(QString::fromUtf8(qss)) {}    //!< UTF-8 QSS text, taken unchanged.
    Sx(Function function) : m_value(std::move(function)) {}     //!< Called when the widget restyles.
    Sx(State *state) : m_value(QPointer<State>(state)) {}       //!< A State whose value is the sx.

    //! Whether nothing was given.
    bool isNone() const { return m_value.index() == 0; }
    //! False for none, an empty text, an empty mapping or an empty function.
    bool isSet() const;
    const StyleMap *map() const { return std::get_if<StyleMap>(&m_value); }         //!< The mapping, or nullptr.
    const QString *text() const { return std::get_if<QString>(&m_value); }          //!< The QSS text, or nullptr.
    const Function *function() const { return std::get_if<Function>(&m_value); }    //!< The callable, or nullptr.
    //! The State, or nullptr (also when it has been deleted).
    State *state() const
    {
        const auto *p = std::get_if<QPointer<State>>(&m_value);
        return p ? p->data() : nullptr;
    }

    /*!
        The QSS this sx adds for the widget named \a objectName: a mapping is
        rendered with get_qss_style(map, "#" + objectName); a function is called
        once and its mapping rendered the same way or its text taken unchanged;
        a non-empty text is taken unchanged; anything else adds nothing.
        Failures of the function or the renderer propagate to the caller.
    */
    QString render(const QString &objectName) const;

private:
    std::variant<std::monostate, StyleMap, QString, Function, QPointer<State>> m_value;
};

//! A fresh object name: the canonical text of a random version-4 UUID (36 lower-case characters).
TESSERA_KIT_EXPORT QString newObjectName();

/*!
    Converters from named options (a QVariantMap, as tessera::create() receives
    them) to the kinds of the widgets' Options fields. Each returns \a fallback
    when the option is absent and throws OptionError naming the option when the
    value has the wrong kind.
*/
namespace option {
//! A flag (a bool).
TESSERA_KIT_EXPORT bool flag(const QVariantMap &options, const QString &name, bool fallback = false);
//! A text.
TESSERA_KIT_EXPORT QString text(const QVariantMap &options, const QString &name, const QString &fallback = {});
//! A text or none (an invalid or null QVariant).
TESSERA_KIT_EXPORT std::optional<QString> optionalText(const QVariantMap &options, const QString &name);
//! A State (a QObject* that is a tessera::State), or nullptr when absent/none.
TESSERA_KIT_EXPORT State *state(const QVariantMap &options, const QString &name);
//! A truth value as flag() reads it, or a State to follow.
TESSERA_KIT_EXPORT StateOr<bool> flagOrState(const QVariantMap &options, const QString &name, bool fallback = false);
//! A text, or a State to follow; none when absent.
TESSERA_KIT_EXPORT StateOr<QString> textOrState(const QVariantMap &options, const QString &name);
//! Any value or a State: a State in \a options becomes the State, anything else the plain value.
TESSERA_KIT_EXPORT StateOr<QVariant> anyOrState(const QVariantMap &options, const QString &name);
//! A list of widgets (QList<QWidget*>, WidgetList or QVariantList of widgets), or none; a null element is refused.
TESSERA_KIT_EXPORT std::optional<QList<QWidget *>> widgetList(const QVariantMap &options, const QString &name);
/*!
    \a widgets as guarded pointers, the form in which a widget keeps its
    children. Throws OptionError naming \a name when an element is null: a
    null child is refused before anything is built.
*/
TESSERA_KIT_EXPORT WidgetList childWidgets(const QList<QWidget *> &widgets, const QString &name = QStringLiteral("children"));
//! An sx: a StyleMap, a QVariantMap or QVariantHash, QSS text, an Sx::Function, an Sx or a State; none when absent.
TESSERA_KIT_EXPORT Sx sx(const QVariantMap &options, const QString &name = QStringLiteral("sx"));
//! A widget (a QObject* that is a QWidget), or nullptr when absent/none.
TESSERA_KIT_EXPORT QWidget *widget(const QVariantMap &options, const QString &name);
//! The entries of \a options whose names are not in \a known.
TESSERA_KIT_EXPORT QVariantMap rest(const QVariantMap &options, const QStringList &known);
//! Throws OptionError when \a options holds \a name (an option the widget sets itself).
TESSERA_KIT_EXPORT void forbid(const QVariantMap &options, const QString &name, const QString &why);
/*!
    Returns \a value when it can name a theme entry (a colour, variant or size
    key: letters, digits, '_', '-' and '.', at least one); otherwise throws
    OptionError naming \a property. Property writes check their value with it
    before anything changes.
*/
TESSERA_KIT_EXPORT const QString &themeKey(const QString &property, const QString &value);
} // namespace option

} // namespace tessera

Q_DECLARE_METATYPE(tessera::Sx::Function)
