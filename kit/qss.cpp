#include "qss.h"

#include "theme.h"

namespace tessera {

namespace {

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

bool isSafe(QStringView text, bool allowLineBreaks)
{
    for (QChar c : text) {
        if (c == u'{' || c == u'}' || c == u';')
            return false;
        if (!allowLineBreaks && (c == u'\n' || c == u'\r'))
            return false;
    }
    return true;
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

QString numberText(double n)
{
    return QString::number(n, 'g', 10);
}

// Appends "property: value;" for one entry; returns false when the entry gives no declaration.
bool appendDeclaration(QString &out, const QString &key, const StyleValue &value, const Theme *theme)
{
    if (!isPropertyName(key))
        return false;
    QString text;
    const QString property = qssPropertyName(key);
    switch (value.kind()) {
    case StyleValue::Kind::None:
    case StyleValue::Kind::Map:
        return false;
    case StyleValue::Kind::Flag:
        text = value.flag() ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case StyleValue::Kind::Number:
        text = numberText(value.number());
        if (!isUnitless(property))
            text += QStringLiteral("px");
        break;
    case StyleValue::Kind::Text: {
        text = value.text();
        if (looksLikeTokenPath(text)) {
            if (auto resolved = theme->resolveToken(text))
                text = *resolved;
        }
        if (text.isEmpty() || !isSafe(text, false))
            return false;
        break;
    }
    }
    if (!out.isEmpty())
        out += u' ';
    out += property;
    out += QStringLiteral(": ");
    out += text;
    out += u';';
    return true;
}

QString declarations(const StyleMap &style, const Theme *theme)
{
    QString out;
    out.reserve(int(style.size()) * 24);
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
    }
    for (const auto &[key, value] : style) {
        const StyleMap *nested = value.mapIf();
        if (!nested || !key.startsWith(u'&') || !isSafe(key, false))
            continue;
        QString child = key;
        child.replace(u'&', selector);
        appendRules(out, *nested, child, theme, depth + 1);
    }
}

} // namespace

QString qssPropertyName(const QString &key)
{
    bool hasUpper = false;
    for (QChar c : key) {
        if (c.isUpper()) {
            hasUpper = true;
            break;
        }
    }
    if (!hasUpper)
        return key;
    QString out;
    out.reserve(key.size() + 4);
    for (QChar c : key) {
        if (c.isUpper()) {
            if (!out.isEmpty() && !out.endsWith(u'-'))
                out += u'-';
            out += c.toLower();
        } else {
            out += c;
        }
    }
    return out;
}

QString get_qss_style(const StyleMap &style, const QString &class_name)
{
    const Theme *theme = useTheme();
    if (class_name.isEmpty())
        return declarations(style, theme);
    if (!isSafe(class_name, false))
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
