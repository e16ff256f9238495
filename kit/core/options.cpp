#include "options.h"

#include <algorithm>

#include "qss.h"

#include <QUuid>

namespace tessera {

OptionError::OptionError(const QString &option, const QString &message)
    : std::invalid_argument(QStringLiteral("option \"%1\": %2").arg(option, message).toStdString()), m_option(option)
{
}

bool Sx::isSet() const
{
    switch (m_value.index()) {
    case 1: return !std::get<StyleMap>(m_value).isEmpty();
    case 2: return !std::get<QString>(m_value).isEmpty();
    case 3: return bool(std::get<Function>(m_value));
    case 4: return state() != nullptr;
    default: return false;
    }
}

QString Sx::render(const QString &objectName) const
{
    if (!isSet())
        return {};
    if (const StyleMap *m = map())
        return get_qss_style(*m, u'#' + objectName);
    if (const Function *f = function()) {
        const QVariant result = (*f)();
        if (result.metaType() == QMetaType::fromType<StyleMap>())
            return get_qss_style(result.value<StyleMap>(), u'#' + objectName);
        if (result.typeId() == QMetaType::QVariantMap) {
            if (auto m = StyleMap::fromVariant(result))
                return get_qss_style(*m, u'#' + objectName);
        }
        if (result.typeId() == QMetaType::QString)
            return result.toString();
        return {};
    }
    if (const QString *t = text())
        return *t;
    return {};
}

QString newObjectName()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

namespace option {

namespace {

bool absent(const QVariant &v) { return !v.isValid() || v.isNull(); }

QString kindOf(const QVariant &v)
{
    if (!v.isValid())
        return QStringLiteral("none");
    return QString::fromLatin1(v.metaType().name());
}

[[noreturn]] void wrongKind(const QString &name, const QString &expected, const QVariant &v)
{
    throw OptionError(name, QStringLiteral("expected %1, got %2").arg(expected, kindOf(v)));
}

State *asState(const QVariant &v)
{
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<State *>(v.value<QObject *>());
    return nullptr;
}

} // namespace

bool flag(const QVariantMap &options, const QString &name, bool fallback)
{
    const QVariant v = options.value(name);
    if (!options.contains(name))
        return fallback;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    wrongKind(name, QStringLiteral("a flag"), v);
}

QString text(const QVariantMap &options, const QString &name, const QString &fallback)
{
    if (!options.contains(name))
        return fallback;
    const QVariant v = options.value(name);
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    wrongKind(name, QStringLiteral("a text"), v);
}

std::optional<QString> optionalText(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return std::nullopt;
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    wrongKind(name, QStringLiteral("a text or none"), v);
}

State *state(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return nullptr;
    if (State *s = asState(v))
        return s;
    wrongKind(name, QStringLiteral("a State"), v);
}

StateOr<bool> flagOrState(const QVariantMap &options, const QString &name, bool fallback)
{
    if (!options.contains(name))
        return fallback;
    const QVariant v = options.value(name);
    if (State *s = asState(v))
        return s;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    wrongKind(name, QStringLiteral("a flag or a State"), v);
}

StateOr<QString> textOrState(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return {};
    if (State *s = asState(v))
        return s;
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    wrongKind(name, QStringLiteral("a text or a State"), v);
}

StateOr<QVariant> anyOrState(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return {};
    if (State *s = asState(v))
        return s;
    return StateOr<QVariant>(v);
}

std::optional<QList<QWidget *>> widgetList(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return std::nullopt;
    QList<QWidget *> out;
    if (v.metaType() == QMetaType::fromType<QList<QWidget *>>()) {
        out = v.value<QList<QWidget *>>();
        childWidgets(out, name);   // refuses a null element
        return out;
    }
    if (v.metaType() == QMetaType::fromType<WidgetList>()) {
        for (const QPointer<QWidget> &w : v.value<WidgetList>()) {
            if (!w)
                throw OptionError(name, QStringLiteral("the list holds a deleted widget"));
            out.append(w.data());
        }
        return out;
    }
    if (v.typeId() == QMetaType::QVariantList) {
        const QVariantList list = v.toList();
        for (qsizetype i = 0; i < list.size(); ++i) {
            QWidget *w = (list[i].metaType().flags() & QMetaType::PointerToQObject)
                             ? qobject_cast<QWidget *>(list[i].value<QObject *>())
                             : nullptr;
            if (!w)
                throw OptionError(name, QStringLiteral("expected a list of widgets, element %1 is %2").arg(i).arg(kindOf(list[i])));
            out.append(w);
        }
        return out;
    }
    wrongKind(name, QStringLiteral("a list of widgets or none"), v);
}

WidgetList childWidgets(const QList<QWidget *> &widgets, const QString &name)
{
    WidgetList out;
    out.reserve(widgets.size());
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QWidget *widget = widgets.at(i);
        if (!widget)
            throw OptionError(name, QStringLiteral("element %1 is a null widget").arg(i));
        out.append(widget);
    }
    return out;
}

Sx sx(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return {};
    if (v.metaType() == QMetaType::fromType<StyleMap>())
        return v.value<StyleMap>();
    if (v.metaType() == QMetaType::fromType<Sx::Function>())
        return v.value<Sx::Function>();
    if (v.metaType() == QMetaType::fromType<Sx>())
        return v.value<Sx>();
    if (State *s = asState(v))
        return s;
    if (v.typeId() == QMetaType::QVariantMap || v.typeId() == QMetaType::QVariantHash) {
        if (auto m = StyleMap::fromVariant(v))
            return *m;
    }
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    wrongKind(name, QStringLiteral("a style mapping, a QSS text, a function or none"), v);
}

QWidget *widget(const QVariantMap &options, const QString &name)
{
    const QVariant v = options.value(name);
    if (absent(v))
        return nullptr;
    if (v.metaType().flags() & QMetaType::PointerToQObject) {
        if (QWidget *w = qobject_cast<QWidget *>(v.value<QObject *>()))
            return w;
    }
    wrongKind(name, QStringLiteral("a widget or none"), v);
}

QVariantMap rest(const QVariantMap &options, const QStringList &known)
{
    QVariantMap out;
    for (auto it = options.begin(); it != options.end(); ++it) {
        if (!known.contains(it.key()))
            out.insert(it.key(), it.value());
    }
    return out;
}

void forbid(const QVariantMap &options, const QString &name, const QString &why)
{
    if (options.contains(name))
        throw OptionError(name, why);
}

const QString &themeKey(const QString &property, const QString &value)
{
    const auto isKeyCharacter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
            || c == u'-' || c == u'.';
    };
    if (value.isEmpty() || !std::all_of(value.begin(), value.end(), isKeyCharacter))
        throw OptionError(property, QStringLiteral("expected a theme key (letters, digits, '_', '-', '.'), got \"%1\"")
                                        .arg(value.left(40)));
    return value;
}

} // namespace option
} // namespace tessera
