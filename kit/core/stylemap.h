#pragma once

#include <tessera/kit/kit_export.h>

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <variant>
#include <vector>

namespace tessera {

class StyleValue;

/*!
    An insertion-ordered, nested style mapping: the data a theme holds for a
    component and what a caller passes as \c sx. Keys keep the order in which
    they were inserted (a later declaration overrides an earlier shorthand in
    QSS), values are texts, numbers, flags or further mappings.

    \code
    tessera::StyleMap sx{{"color", "palette.primary.main"},
                         {"&:hover", tessera::StyleMap{{"color", "red"}}}};
    \endcode

    StyleMap is implicitly shared: copies are cheap until one is modified.
*/
class TESSERA_KIT_EXPORT StyleMap
{
public:
    //! One key and its value, as iteration yields them.
    using Entry = std::pair<QString, StyleValue>;

    //! An empty mapping.
    StyleMap();
    //! A mapping of \a entries, in the order given; a repeated key keeps its first place and its last value.
    StyleMap(std::initializer_list<Entry> entries);

    //! Whether the mapping has no keys.
    bool isEmpty() const;
    //! The number of keys (nested mappings count as one).
    qsizetype size() const;
    //! Whether \a key is present at this level.
    bool contains(QStringView key) const;

    //! The value under \a key, or nullptr when there is none.
    const StyleValue *find(QStringView key) const;
    //! The value under \a key; throws StyleLookupError naming the key when absent.
    const StyleValue &at(QStringView key) const;
    //! The mapping under \a key; throws StyleLookupError when absent or not a mapping.
    const StyleMap &mapAt(QStringView key) const;
    //! Follows a dotted path ("palette.grey._500"); nullptr when any step is missing.
    const StyleValue *findPath(QStringView dottedPath) const;

    //! Sets \a key; an existing key keeps its position.
    void insert(const QString &key, const StyleValue &value);
    //! Removes \a key; returns whether it was present.
    bool remove(QStringView key);
    //! Removes the entry at a dotted path; returns whether something was removed.
    bool removePath(QStringView dottedPath);

    //! The first entry, in insertion order (for range-based for).
    const Entry *begin() const;
    //! Past the last entry.
    const Entry *end() const;

    //! Parses JSON object text, keeping key order. Throws StyleMapError with the position.
    static StyleMap fromJson(QByteArrayView json);
    //! JSON object text with the keys in order; \a indented spreads it over lines.
    QByteArray toJson(bool indented = false) const;

    //! A QVariant holding this StyleMap (a registered metatype).
    QVariant toVariant() const;
    //! Same as toVariant(), so that a StyleMap can stand where a QVariant is expected.
    operator QVariant() const { return toVariant(); }
    //! Accepts a QVariant holding a StyleMap, a QVariantMap/QVariantHash (order as Qt keeps it),
    //! or JSON object text. Returns std::nullopt for anything else.
    static std::optional<StyleMap> fromVariant(const QVariant &value);

    //! Whether \a a and \a b hold the same keys, in the same order, with equal values.
    friend TESSERA_KIT_EXPORT bool operator==(const StyleMap &a, const StyleMap &b);

private:
    struct Data;
    static const std::shared_ptr<Data> &emptyData();
    void detach();
    std::shared_ptr<Data> d;
};

/*!
    One value of a StyleMap: none, a flag, a number, a text or a nested mapping.
*/
class TESSERA_KIT_EXPORT StyleValue
{
public:
    //! What a value holds: nothing (JSON null), a flag, a number, a text or a mapping.
    enum class Kind { None, Flag, Number, Text, Map };

    StyleValue() = default;
    StyleValue(std::nullptr_t) {}                                  //!< No value (JSON null).
    StyleValue(bool b) : v(b) {}                                   //!< The flag \a b.
    StyleValue(int n) : v(double(n)) {}                            //!< The number \a n.
    StyleValue(double n) : v(n) {}                                 //!< The number \a n.
    StyleValue(const char *text) : v(QString::fromUtf8(text)) {}   //!< The UTF-8 \a text.
    StyleValue(const QString &text) : v(text) {}                   //!< The text \a text.
    StyleValue(const StyleMap &map) : v(map) {}                    //!< The nested mapping \a map.

    Kind kind() const { return Kind(v.index()); }                  //!< What this value holds.
    bool isNone() const { return v.index() == 0; }                 //!< Whether it holds nothing.
    bool isMap() const { return kind() == Kind::Map; }             //!< Whether it holds a mapping.
    bool isText() const { return kind() == Kind::Text; }           //!< Whether it holds a text.
    bool isNumber() const { return kind() == Kind::Number; }       //!< Whether it holds a number.
    bool isFlag() const { return kind() == Kind::Flag; }           //!< Whether it holds a flag.

    //! The nested mapping; throws StyleLookupError when this is not a mapping.
    const StyleMap &map() const;
    const StyleMap *mapIf() const { return std::get_if<StyleMap>(&v); }   //!< The mapping, or nullptr.
    QString text() const;            //!< the text, or empty
    const QString *textIf() const { return std::get_if<QString>(&v); }    //!< The text, or nullptr.
    double number() const;           //!< the number, or 0
    bool flag() const;               //!< the flag, or false

    //! Whether \a a and \a b hold the same kind and equal contents.
    friend bool operator==(const StyleValue &a, const StyleValue &b) { return a.v == b.v; }

private:
    std::variant<std::monostate, bool, double, QString, StyleMap> v;
};

//! A key or key path that a reader required is missing, or has the wrong kind.
class TESSERA_KIT_EXPORT StyleLookupError : public std::out_of_range
{
public:
    //! An error about \a key (a key or a dotted key path).
    explicit StyleLookupError(const QString &key);
    //! The key or key path that was looked up.
    QString key() const { return m_key; }

private:
    QString m_key;
};

//! Malformed style/theme JSON; what() names the position (line and column).
class TESSERA_KIT_EXPORT StyleMapError : public std::runtime_error
{
public:
    //! An error whose what() is \a message.
    explicit StyleMapError(const QString &message);
};

//! Deepest nesting a style document may have; deeper input is refused with an error.
inline constexpr int MaxStyleDepth = 32;
//! Largest style/theme document accepted, in bytes.
inline constexpr qsizetype MaxStyleDocumentSize = 4 * 1024 * 1024;

} // namespace tessera

Q_DECLARE_METATYPE(tessera::StyleMap)
