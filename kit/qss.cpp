#include "qss.h"

#include "theme.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tessera {

namespace {

// The longest text a rendering may produce; longer output is refused with an error.
constexpr qsizetype MaxRenderedStyleSize = MaxStyleDocumentSize;

bool isUnitless(QStringView property)
{
    return property == u"font-weight" || property == u"opacity" || property == u"line-height"
        || property == u"z-index";
}

bool isPropertyName(QStringView key)
{
    if (key.isEmpty())
        return false;
    for (QChar c : key) {
        if (!(c.isLetterOrNumber() || c == u'-' || c == u'_'))
            return false;
    }
    return true;
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\f';
}

bool isDelimiter(QChar c)
{
    return c == u'{' || c == u'}' || c == u';' || isLineBreak(c);
}

// Whether \a text can stand inside a rule without changing the rule's shape,
// read the way a CSS scanner reads it: no brace, semicolon or line break
// (not even escaped or quoted), no comment opener, every quoted string
// closed, no escape at the very end (it would escape the delimiter that
// follows), and parentheses and brackets balanced (the parser's error
// recovery skips to the matching one, across a closing brace).
bool isSafe(QStringView text)
{
    int parens = 0;
    int brackets = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (isDelimiter(c))
            return false;
        switch (c.unicode()) {
        case u'/':
            if (i + 1 < n && text[i + 1] == u'*')
                return false;
            break;
        case u'\\':
            if (i + 1 >= n || isDelimiter(text[i + 1]))
                return false;
            ++i;
            break;
        case u'"':
        case u'\'': {
            for (++i;; ++i) {
                if (i >= n || isDelimiter(text[i]))
                    return false;
                if (text[i] == u'\\') {
                    if (i + 1 >= n || isDelimiter(text[i + 1]))
                        return false;
                    ++i;
                } else if (text[i] == c) {
                    break;
                }
            }
            break;
        }
        case u'(':
            ++parens;
            break;
        case u')':
            if (--parens < 0)
                return false;
            break;
        case u'[':
            ++brackets;
            break;
        case u']':
            if (--brackets < 0)
                return false;
            break;
        default:
            break;
        }
    }
    return parens == 0 && brackets == 0;
}

// A character that continues a CSS name: "#x" followed by one of these would name another object.
bool continuesName(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
        || c == u'_' || c == u'\\' || c.unicode() >= 0x80;
}

bool isCssSpace(QChar c)
{
    return c == u' ' || c == u'\t' || isLineBreak(c);
}

// A nested rule key ("&:hover", "& QLabel", "&:hover, &[focused=true]"): every
// selector of its list starts with "&" and does not extend the name ("&y"
// would become "#xy", another object). Anything else would style outside the
// caller's own selector.
bool isScopedRuleKey(QStringView key)
{
    if (!isSafe(key))
        return false;
    const auto scoped = [](QStringView part) {
        qsizetype b = 0, e = part.size();
        while (b < e && isCssSpace(part[b]))
            ++b;
        while (e > b && isCssSpace(part[e - 1]))
            --e;
        return e > b && part[b] == u'&' && (e - b == 1 || !continuesName(part[b + 1]));
    };
    int nesting = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c == u'\\') {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            for (++i; key[i] != c; ++i) {
                if (key[i] == u'\\')
                    ++i;
            }
        } else if (c == u'(' || c == u'[') {
            ++nesting;
        } else if (c == u')' || c == u']') {
            --nesting;
        } else if (c == u',' && nesting == 0) {
            if (!scoped(key.mid(start, i - start)))
                return false;
            start = i + 1;
        }
    }
    return scoped(key.mid(start));
}

// "palette.primary.main": letters, digits and underscores in at least two dotted parts.
bool looksLikeTokenPath(QStringView text)
{
    if (text.size() < 3 || !(text.front().isLetter() || text.front() == u'_'))
        return false;
    bool dot = false;
    QChar previous;
    for (QChar c : text) {
        if (c == u'.') {
            if (previous == u'.')
                return false;
            dot = true;
        } else if (!(c.isLetterOrNumber() || c == u'_')) {
            return false;
        }
        previous = c;
    }
    return dot && previous != u'.';
}

// The number as text: up to 10 significant digits ("4", "0.5", "1e+12").
void appendNumber(QString &out, double n)
{
    // Whole numbers of up to 9 digits print the same way without the general conversion.
    if (n == std::trunc(n) && std::abs(n) < 1e9 && !(n == 0 && std::signbit(n))) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, qint64(n)).ptr;
        out += QLatin1StringView(digits, end - digits);
        return;
    }
    out += QString::number(n, 'g', 10);
}

// Appends the kebab-case form of a property key ("borderRadius" -> "border-radius").
// The runs between capitals are appended whole: a style is rendered on every
// restyle, and per-character appends were the renderer's largest cost.
void appendPropertyName(QString &out, QStringView key)
{
    const qsizetype start = out.size();
    qsizetype run = 0;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (!c.isUpper())
            continue;
        out += key.mid(run, i - run);
        if (out.size() > start && out.back() != u'-')
            out += u'-';
        out += c.toLower();
        run = i + 1;
    }
    out += key.mid(run);
}

[[noreturn]] void throwTooLarge()
{
    throw StyleMapError(QStringLiteral("rendered style is larger than %1 characters").arg(MaxRenderedStyleSize));
}

// Appends "property: value;" for one entry; returns false when the entry gives no declaration.
bool appendDeclaration(QString &out, const QString &key, const StyleValue &value, const Theme *theme)
{
    if (!isPropertyName(key))
        return false;
    const StyleValue::Kind kind = value.kind();
    if (kind == StyleValue::Kind::None || kind == StyleValue::Kind::Map)
        return false;
    QString text;
    if (kind == StyleValue::Kind::Text) {
        text = value.text();
        if (looksLikeTokenPath(text)) {
            if (auto resolved = theme->resolveToken(text))
                text = *resolved;
        }
        if (text.isEmpty() || !isSafe(text))
            return false;
    }
    const qsizetype start = out.size();
    if (start)
        out += u' ';
    appendPropertyName(out, key);
    const bool unitless = isUnitless(QStringView(out).mid(start ? start + 1 : 0));
    out += u": ";
    switch (kind) {
    case StyleValue::Kind::Flag:
        out += value.flag() ? u"true" : u"false";
        break;
    case StyleValue::Kind::Number:
        appendNumber(out, value.number());
        if (!unitless)
            out += u"px";
        break;
    default:
        out += text;
        break;
    }
    out += u';';
    if (out.size() > MaxRenderedStyleSize)
        throwTooLarge();
    return true;
}

QString declarations(const StyleMap &style, const Theme *theme)
{
    QString out;
    out.reserve(style.size() * 32);
    for (const auto &[key, value] : style)
        appendDeclaration(out, key, value, theme);
    return out;
}

void appendRules(QString &out, const StyleMap &style, const QString &selector, const Theme *theme, int depth)
{
    if (depth > MaxStyleDepth)
        throw StyleMapError(QStringLiteral("style nesting deeper than %1 levels").arg(MaxStyleDepth));
    const QString decls = declarations(style, theme);
    if (!decls.isEmpty()) {
        if (!out.isEmpty())
            out += u'\n';
        out += selector;
        out += QStringLiteral(" { ");
        out += decls;
        out += QStringLiteral(" }");
        if (out.size() > MaxRenderedStyleSize)
            throwTooLarge();
    }
    for (const auto &[key, value] : style) {
        const StyleMap *nested = value.mapIf();
        if (!nested || !key.startsWith(u'&') || !isScopedRuleKey(key))
            continue;
        // Each "&" becomes the selector: nested "&&" keys could grow it without limit.
        if (key.size() + key.count(u'&') * (selector.size() - 1) > MaxRenderedStyleSize)
            throwTooLarge();
        QString child = key;
        child.replace(u'&', selector);
        if (isSafe(child))
            appendRules(out, *nested, child, theme, depth + 1);
    }
}

} // namespace

QString qssPropertyName(const QString &key)
{
    if (std::none_of(key.cbegin(), key.cend(), [](QChar c) { return c.isUpper(); }))
        return key;
    QString out;
    out.reserve(key.size() + 4);
    appendPropertyName(out, key);
    return out;
}

QString get_qss_style(const StyleMap &style, const QString &class_name)
{
    const Theme *theme = useTheme();
    if (class_name.isEmpty())
        return declarations(style, theme);
    if (!isSafe(class_name))
        throw StyleMapError(QStringLiteral("selector \"%1\" holds a rule delimiter").arg(class_name));
    QString out;
    appendRules(out, style, class_name, theme, 0);
    return out;
}

QString get_qss_style(const StyleValue *style, const QString &class_name)
{
    if (!style || style->isNone())
        return {};
    if (const StyleMap *map = style->mapIf())
        return get_qss_style(*map, class_name);
    throw StyleLookupError(QStringLiteral("(a style mapping)"));
}

} // namespace tessera
