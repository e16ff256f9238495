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
    using Entry = std::pair<QString, StyleValue>;

    StyleMap();
    StyleMap(std::initializer_list<Entry> entries);

    bool isEmpty() const;
    qsizetype size() const;
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
    bool remove(QStringView key);
    //! Removes the entry at a dotted path; returns whether something was removed.
    bool removePath(QStringView dottedPath);

    const Entry *begin() const;
    const Entry *end() const;

    //! Parses JSON object text, keeping key order. Throws StyleMapError with the position.
    static StyleMap fromJson(QByteArrayView json);
    QByteArray toJson(bool indented = false) const;

    //! A QVariant holding this StyleMap (a registered metatype).
    QVariant toVariant() const;
    operator QVariant() const { return toVariant(); }
    //! Accepts a QVariant holding a StyleMap, a QVariantMap/QVariantHash (order as Qt keeps it),
    //! or JSON object text. Returns std::nullopt for anything else.
    static std::optional<StyleMap> fromVariant(const QVariant &value);

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
    enum class Kind { None, Flag, Number, Text, Map };

    StyleValue() = default;
    StyleValue(std::nullptr_t) {}
    StyleValue(bool b) : v(b) {}
    StyleValue(int n) : v(double(n)) {}
    StyleValue(double n) : v(n) {}
    StyleValue(const char *text) : v(QString::fromUtf8(text)) {}
    StyleValue(const QString &text) : v(text) {}
    StyleValue(const StyleMap &map) : v(map) {}

    Kind kind() const { return Kind(v.index()); }
    bool isNone() const { return v.index() == 0; }
    bool isMap() const { return kind() == Kind::Map; }
    bool isText() const { return kind() == Kind::Text; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isFlag() const { return kind() == Kind::Flag; }

    //! The nested mapping; throws StyleLookupError when this is not a mapping.
    const StyleMap &map() const;
    const StyleMap *mapIf() const { return std::get_if<StyleMap>(&v); }
    QString text() const;            //!< the text, or empty
    const QString *textIf() const { return std::get_if<QString>(&v); }
    double number() const;           //!< the number, or 0
    bool flag() const;               //!< the flag, or false

    friend bool operator==(const StyleValue &a, const StyleValue &b) { return a.v == b.v; }

private:
    std::variant<std::monostate, bool, double, QString, StyleMap> v;
};

//! A key or key path that a reader required is missing, or has the wrong kind.
class TESSERA_KIT_EXPORT StyleLookupError : public std::out_of_range
{
public:
    explicit StyleLookupError(const QString &key);
    QString key() const { return m_key; }

private:
    QString m_key;
};

//! Malformed style/theme JSON; what() names the position (line and column).
class TESSERA_KIT_EXPORT StyleMapError : public std::runtime_error
{
public:
    explicit StyleMapError(const QString &message);
};

//! Deepest nesting a style document may have; deeper input is refused with an error.
inline constexpr int MaxStyleDepth = 32;
//! Largest style/theme document accepted, in bytes.
inline constexpr qsizetype MaxStyleDocumentSize = 4 * 1024 * 1024;

} // namespace tessera

Q_DECLARE_METATYPE(tessera::StyleMap)
