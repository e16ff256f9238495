#include "qss.h"

#include "colors.h"
#include "theme.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tessera {

namespace {

// The longest text a rendering may produce; longer output is refused with an
// error. The fuzz build lowers it, so that the fuzzer reaches the refusals
// (the same code) with renderings a hundred times smaller and cheaper.
#ifdef TESSERA_FUZZ_MAX_RENDERED_STYLE_SIZE
constexpr qsizetype MaxRenderedStyleSize = TESSERA_FUZZ_MAX_RENDERED_STYLE_SIZE;
#else
constexpr qsizetype MaxRenderedStyleSize = MaxStyleDocumentSize;
#endif

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

// The renderer's output while it is being made. A declaration is a few short
// pieces; QString::append (an out-of-line call that checks sharing and
// capacity every time) for each of them was most of a rendering's cost. The
// buffer lives on the stack, each declaration is written through a pointer
// into room made for its longest form, and the text becomes a QString once.
using Text = QVarLengthArray<QChar, 512>;

// Makes room for \a extra characters at the end of \a out and returns where
// they start; end() then gives back what was not used.
QChar *room(Text &out, qsizetype extra)
{
    const qsizetype at = out.size();
    // QVarLengthArray::resize() grows to the exact size: grow geometrically first.
    if (at + extra > out.capacity())
        out.reserve(std::max(at + extra, 2 * out.capacity()));
    out.resize(at + extra);
    return out.data() + at;
}

void end(Text &out, const QChar *written)
{
    out.resize(written - out.constData());
}

QChar *write(QChar *p, QStringView text)
{
    for (QChar c : text)
        *p++ = c;
    return p;
}

void put(Text &out, QStringView text)
{
    end(out, write(room(out, text.size()), text));
}

void put(Text &out, QChar c)
{
    out.append(c);
}

QString toString(const Text &text)
{
    return text.isEmpty() ? QString() : QString(text.constData(), text.size());
}

// The longest text writeNumber() writes ("-1.234567891e-308" has 17 characters).
constexpr qsizetype MaxNumberSize = 24;

// Writes the number with up to 10 significant digits ("4", "0.5", "1e+12").
QChar *writeNumber(QChar *p, double n)
{
    // Whole numbers of up to 9 digits print the same way without the general conversion.
    if (n == std::trunc(n) && std::abs(n) < 1e9 && !(n == 0 && std::signbit(n))) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, qint64(n)).ptr;
        for (const char *c = digits; c != end; ++c)
            *p++ = QLatin1Char(*c);
        return p;
    }
    const QString text = QString::number(n, 'g', 10);
    Q_ASSERT(text.size() <= MaxNumberSize);
    return write(p, text);
}

// Writes the kebab-case form of a property key ("borderRadius" -> "border-radius"),
// at most twice as long as the key.
QChar *writePropertyName(QChar *p, QStringView key)
{
    QChar *const start = p;
    for (QChar c : key) {
        if (!c.isUpper()) {
            *p++ = c;
            continue;
        }
        if (p != start && p[-1] != u'-')
            *p++ = u'-';
        *p++ = c.unicode() <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c.toLower();
    }
    return p;
}

[[noreturn]] void throwTooLarge()
{
    throw StyleMapError(QStringLiteral("rendered style is larger than %1 characters").arg(MaxRenderedStyleSize));
}

void checkSize(const Text &out)
{
    if (out.size() > MaxRenderedStyleSize)
        throwTooLarge();
}

// Appends "property: value;" for one entry, after a space unless it is the
// first of the list that starts at \a listStart; returns false when the entry
// gives no declaration.
bool appendDeclaration(Text &out, qsizetype listStart, const QString &key, const StyleValue &value, const Theme *theme)
{
    if (!isPropertyName(key))
        return false;
    const StyleValue::Kind kind = value.kind();
    if (kind == StyleValue::Kind::None || kind == StyleValue::Kind::Map)
        return false;
    // Read in place: a copy of each text would cost two atomic reference counts.
    QStringView text;
    QString evaluated;
    if (const QString *written = value.textIf()) {
        text = *written;
        if (looksLikeTokenPath(text)) {
            if (const QString *resolved = theme->findToken(text))
                text = *resolved;
        } else if (isColorExpression(text)) {
            // A caller's derived colour (a theme's own were evaluated when it was applied).
            try {
                evaluated = evaluateColorExpression(text, [theme](QStringView path) -> std::optional<QString> {
                    if (const QString *token = theme->findToken(path))
                        return *token;
                    return std::nullopt;
                });
            } catch (const ColorExpressionError &) {
                return false;
            }
            text = evaluated;
        }
        if (text.isEmpty() || !isSafe(text))
            return false;
    }
    // Room for the longest form: a space, the name (a hyphen may come before
    // each capital), ": ", the value and "px;".
    const qsizetype at = out.size();
    QChar *p = room(out, 1 + 2 * key.size() + 2 + (text.isNull() ? MaxNumberSize : text.size()) + 3);
    if (at > listStart)
        *p++ = u' ';
    QChar *const name = p;
    p = writePropertyName(p, key);
    const bool unitless = isUnitless(QStringView(name, p));
    *p++ = u':';
    *p++ = u' ';
    switch (kind) {
    case StyleValue::Kind::Flag:
        p = write(p, value.flag() ? QStringView(u"true") : QStringView(u"false"));
        break;
    case StyleValue::Kind::Number:
        p = writeNumber(p, value.number());
        if (!unitless) {
            *p++ = u'p';
            *p++ = u'x';
        }
        break;
    default:
        p = write(p, text);
        break;
    }
    *p++ = u';';
    end(out, p);
    checkSize(out);
    return true;
}

void appendDeclarations(Text &out, const StyleMap &style, const Theme *theme)
{
    const qsizetype listStart = out.size();
    for (const auto &[key, value] : style)
        appendDeclaration(out, listStart, key, value, theme);
}

void appendRules(Text &out, const StyleMap &style, const QString &selector, const Theme *theme, int depth)
{
    if (depth > MaxStyleDepth)
        throw StyleMapError(QStringLiteral("style nesting deeper than %1 levels").arg(MaxStyleDepth));
    // "selector { declarations }", taken back when the mapping gives no declaration.
    const qsizetype rule = out.size();
    if (rule)
        put(out, u'\n');
    put(out, selector);
    put(out, u" { ");
    const qsizetype list = out.size();
    appendDeclarations(out, style, theme);
    if (out.size() == list)
        out.resize(rule);
    else
        put(out, u" }");
    checkSize(out);
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
    Text out;
    end(out, writePropertyName(room(out, 2 * key.size()), key));
    return toString(out);
}

QString get_qss_style(const StyleMap &style, const QString &class_name)
{
    const Theme *theme = useTheme();
    Text out;
    if (class_name.isEmpty()) {
        appendDeclarations(out, style, theme);
    } else {
        if (!isSafe(class_name))
            throw StyleMapError(QStringLiteral("selector \"%1\" holds a rule delimiter").arg(class_name));
        appendRules(out, style, class_name, theme, 0);
    }
    return toString(out);
}

const StyleMap *styleMapOf(const StyleValue *style)
{
    if (!style || style->isNone())
        return nullptr;
    if (const StyleMap *map = style->mapIf())
        return map;
    throw StyleLookupError(QStringLiteral("(a style mapping)"));
}

QString get_qss_style(const StyleValue *style, const QString &class_name)
{
    const StyleMap *map = styleMapOf(style);
    return map ? get_qss_style(*map, class_name) : QString();
}

void appendQssStyle(QString &out, const StyleMap *style)
{
    if (!style)
        return;
    Text text;
    appendDeclarations(text, *style, useTheme());
    out.append(text.constData(), text.size());
}

} // namespace tessera
