#include "stylemap.h"

#include <QJsonDocument>
#include <QVariantMap>

#include <nlohmann/json.hpp>

#include <cmath>

namespace tessera {

using Json = nlohmann::ordered_json;

struct StyleMap::Data
{
    std::vector<Entry> entries;
};

const std::shared_ptr<StyleMap::Data> &StyleMap::emptyData()
{
    static const auto empty = std::make_shared<Data>();
    return empty;
}

StyleMap::StyleMap() : d(emptyData()) {}

StyleMap::StyleMap(std::initializer_list<Entry> entries) : d(std::make_shared<Data>())
{
    for (const auto &e : entries)
        insert(e.first, e.second);
}

void StyleMap::detach()
{
    if (d.use_count() > 1 || d == emptyData())
        d = std::make_shared<Data>(*d);
}

bool StyleMap::isEmpty() const { return d->entries.empty(); }
qsizetype StyleMap::size() const { return qsizetype(d->entries.size()); }
bool StyleMap::contains(QStringView key) const { return find(key) != nullptr; }

const StyleValue *StyleMap::find(QStringView key) const
{
    for (const auto &e : d->entries) {
        if (e.first == key)
            return &e.second;
    }
    return nullptr;
}

const StyleValue &StyleMap::at(QStringView key) const
{
    if (const StyleValue *v = find(key))
        return *v;
    throw StyleLookupError(key.toString());
}

const StyleMap &StyleMap::mapAt(QStringView key) const
{
    const StyleValue &v = at(key);
    if (const StyleMap *m = v.mapIf())
        return *m;
    throw StyleLookupError(key.toString());
}

const StyleValue *StyleMap::findPath(QStringView dottedPath) const
{
    const StyleMap *map = this;
    const StyleValue *value = nullptr;
    for (QStringView part : dottedPath.tokenize(u'.')) {
        if (!map)
            return nullptr;
        value = map->find(part);
        if (!value)
            return nullptr;
        map = value->mapIf();
    }
    return value;
}

void StyleMap::insert(const QString &key, const StyleValue &value)
{
    detach();
    for (auto &e : d->entries) {
        if (e.first == key) {
            e.second = value;
            return;
        }
    }
    d->entries.emplace_back(key, value);
}

bool StyleMap::remove(QStringView key)
{
    for (auto it = d->entries.begin(); it != d->entries.end(); ++it) {
        if (it->first == key) {
            const auto index = it - d->entries.begin();
            detach();
            d->entries.erase(d->entries.begin() + index);
            return true;
        }
    }
    return false;
}

bool StyleMap::removePath(QStringView dottedPath)
{
    const qsizetype dot = dottedPath.indexOf(u'.');
    if (dot < 0)
        return remove(dottedPath);
    const QStringView head = dottedPath.left(dot);
    const StyleValue *child = find(head);
    if (!child || !child->isMap())
        return false;
    StyleMap copy = child->map();
    if (!copy.removePath(dottedPath.mid(dot + 1)))
        return false;
    insert(head.toString(), copy);
    return true;
}

const StyleMap::Entry *StyleMap::begin() const { return d->entries.data(); }
const StyleMap::Entry *StyleMap::end() const { return d->entries.data() + d->entries.size(); }

bool operator==(const StyleMap &a, const StyleMap &b)
{
    return a.d == b.d || a.d->entries == b.d->entries;
}

// ---- JSON ----------------------------------------------------------------

namespace {

QString positionText(QByteArrayView text, std::size_t byte)
{
    int line = 1, column = 1;
    const std::size_t end = std::min<std::size_t>(byte, std::size_t(text.size()));
    for (std::size_t i = 0; i < end; ++i) {
        if (text[qsizetype(i)] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

StyleMap fromJsonObject(const Json &object);

StyleValue fromJsonValue(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::object:
        return fromJsonObject(value);
    case Json::value_t::string:
        return QString::fromStdString(value.get<std::string>());
    case Json::value_t::boolean:
        return value.get<bool>();
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return value.get<double>();
    case Json::value_t::null:
        return {};
    default:
        // Arrays have no meaning in a style mapping: keep them out rather than guess.
        throw StyleMapError(QStringLiteral("arrays are not allowed in a style mapping"));
    }
}

StyleMap fromJsonObject(const Json &object)
{
    StyleMap map;
    for (auto it = object.begin(); it != object.end(); ++it) {
        try {
            map.insert(QString::fromStdString(it.key()), fromJsonValue(it.value()));
        } catch (const StyleMapError &e) {
            // Prefix the key so the message names the full path of the bad value.
            const QString inner = QString::fromUtf8(e.what());
            const QString key = QString::fromStdString(it.key());
            if (inner.startsWith(u'"'))
                throw StyleMapError(QStringLiteral("\"%1.%2").arg(key, inner.mid(1)));
            throw StyleMapError(QStringLiteral("\"%1\": %2").arg(key, inner));
        }
    }
    return map;
}

Json toJsonObject(const StyleMap &map);

Json toJsonValue(const StyleValue &value)
{
    switch (value.kind()) {
    case StyleValue::Kind::None: return nullptr;
    case StyleValue::Kind::Flag: return value.flag();
    case StyleValue::Kind::Number: {
        const double n = value.number();
        // Whole numbers are written without a fraction; test the range before
        // converting, since converting an out-of-range double is undefined.
        if (std::abs(n) < 9e15 && n == std::trunc(n))
            return qint64(n);
        return n;
    }
    case StyleValue::Kind::Text: return value.text().toStdString();
    case StyleValue::Kind::Map: return toJsonObject(value.map());
    }
    return nullptr;
}

Json toJsonObject(const StyleMap &map)
{
    Json object = Json::object();
    for (const auto &[key, value] : map)
        object[key.toStdString()] = toJsonValue(value);
    return object;
}

} // namespace

StyleMap StyleMap::fromJson(QByteArrayView text)
{
    if (text.size() > MaxStyleDocumentSize)
        throw StyleMapError(QStringLiteral("document is larger than %1 bytes").arg(MaxStyleDocumentSize));
    Json doc;
    try {
        // The callback bounds nesting before the parser builds anything deeper.
        const auto limitDepth = [](int depth, Json::parse_event_t event, Json &) {
            if (depth > MaxStyleDepth
                && (event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start))
                throw StyleMapError(QStringLiteral("nesting deeper than %1 levels").arg(MaxStyleDepth));
            return true;
        };
        doc = Json::parse(text.begin(), text.end(), limitDepth);
    } catch (const Json::parse_error &e) {
        // nlohmann's message repeats the byte offset; give line and column instead.
        std::string what = e.what();
        const auto colon = what.rfind(": ");
        const QString detail = QString::fromStdString(colon == std::string::npos ? what : what.substr(colon + 2));
        throw StyleMapError(QStringLiteral("%1: %2").arg(positionText(text, e.byte ? e.byte - 1 : 0), detail));
    } catch (const Json::exception &e) {
        // The reader's other refusals (a number too large for a double, ...) carry no
        // position; they must still come out as this reader's error, never as the parser's.
        std::string what = e.what();
        const auto bracket = what.find("] ");
        throw StyleMapError(QString::fromStdString(bracket == std::string::npos ? what : what.substr(bracket + 2)));
    }
    if (!doc.is_object())
        throw StyleMapError(QStringLiteral("line 1, column 1: the document must be a JSON object"));
    return fromJsonObject(doc);
}

QByteArray StyleMap::toJson(bool indented) const
{
    return QByteArray::fromStdString(toJsonObject(*this).dump(indented ? 2 : -1));
}

// ---- QVariant ------------------------------------------------------------

QVariant StyleMap::toVariant() const { return QVariant::fromValue(*this); }

namespace {
StyleValue fromPlainVariant(const QVariant &v, int depth);

StyleMap fromVariantMap(const QVariantMap &m, int depth)
{
    if (depth > MaxStyleDepth)
        throw StyleMapError(QStringLiteral("nesting deeper than %1 levels").arg(MaxStyleDepth));
    StyleMap map;
    for (auto it = m.begin(); it != m.end(); ++it)
        map.insert(it.key(), fromPlainVariant(it.value(), depth + 1));
    return map;
}

StyleValue fromPlainVariant(const QVariant &v, int depth)
{
    if (v.metaType() == QMetaType::fromType<StyleMap>())
        return v.value<StyleMap>();
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool();
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float:
        return v.toDouble();
    case QMetaType::QString: return v.toString();
    case QMetaType::QVariantMap: return fromVariantMap(v.toMap(), depth);
    case QMetaType::QVariantHash: {
        const QVariantHash h = v.toHash();
        QVariantMap m;
        for (auto it = h.begin(); it != h.end(); ++it)
            m.insert(it.key(), it.value());
        return fromVariantMap(m, depth);
    }
    default:
        if (!v.isValid() || v.isNull())
            return {};
        return v.toString();
    }
}
} // namespace

std::optional<StyleMap> StyleMap::fromVariant(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<StyleMap>())
        return value.value<StyleMap>();
    try {
        switch (value.typeId()) {
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash:
            return fromPlainVariant(value, 0).map();
        case QMetaType::QString:
        case QMetaType::QByteArray: {
            const QByteArray text = value.typeId() == QMetaType::QString ? value.toString().toUtf8() : value.toByteArray();
            if (!text.trimmed().startsWith('{'))
                return std::nullopt;
            return fromJson(text);
        }
        default:
            return std::nullopt;
        }
    } catch (const StyleMapError &) {
        return std::nullopt;
    }
}

// ---- StyleValue ----------------------------------------------------------

const StyleMap &StyleValue::map() const
{
    if (const StyleMap *m = mapIf())
        return *m;
    throw StyleLookupError(QStringLiteral("(a mapping)"));
}

QString StyleValue::text() const
{
    if (const QString *s = std::get_if<QString>(&v))
        return *s;
    return {};
}

double StyleValue::number() const
{
    if (const double *n = std::get_if<double>(&v))
        return *n;
    return 0;
}

bool StyleValue::flag() const
{
    if (const bool *b = std::get_if<bool>(&v))
        return *b;
    return false;
}

StyleLookupError::StyleLookupError(const QString &key)
    : std::out_of_range(QStringLiteral("missing style entry \"%1\"").arg(key).toStdString()), m_key(key)
{
}

StyleMapError::StyleMapError(const QString &message) : std::runtime_error(message.toStdString()) {}

} // namespace tessera
