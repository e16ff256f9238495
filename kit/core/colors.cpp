#include "colors.h"

#include <QRegularExpression>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace tessera {

ColorExpressionError::ColorExpressionError(const QString &message) : std::runtime_error(message.toStdString()) {}

namespace {

int channelValue(QStringView text, bool *ok)
{
    text = text.trimmed();
    if (text.endsWith(u'%')) {
        const double percent = text.chopped(1).toDouble(ok);
        return qBound(0, int(std::lround(percent * 2.55)), 255);
    }
    const double value = text.toDouble(ok);
    return qBound(0, int(std::lround(value)), 255);
}

} // namespace

QColor parseColor(QStringView text)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return {};
    static const QRegularExpression functional(
        QStringLiteral("^rgba?\\(\\s*([^,\\s]+)\\s*,\\s*([^,\\s]+)\\s*,\\s*([^,\\s\\)]+)\\s*(?:,\\s*([^\\s\\)]+)\\s*)?\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = functional.match(t);
    if (match.hasMatch()) {
        bool ok[4] = {true, true, true, true};
        const int r = channelValue(match.capturedView(1), &ok[0]);
        const int g = channelValue(match.capturedView(2), &ok[1]);
        const int b = channelValue(match.capturedView(3), &ok[2]);
        double a = 1.0;
        if (match.hasCaptured(4)) {
            QStringView alpha = match.capturedView(4);
            a = alpha.endsWith(u'%') ? alpha.chopped(1).toDouble(&ok[3]) / 100.0 : alpha.toDouble(&ok[3]);
        }
        if (!(ok[0] && ok[1] && ok[2] && ok[3]))
            return {};
        QColor c(r, g, b);
        c.setAlphaF(float(qBound(0.0, a, 1.0)));
        return c;
    }
    if (QColor::isValidColorName(t))
        return QColor::fromString(t);
    return {};
}

QString colorText(const QColor &color)
{
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb);
    // Three decimals tell every one of the 256 alpha steps apart.
    QString alpha = QString::number(color.alphaF(), 'f', 3);
    while (alpha.endsWith(u'0'))
        alpha.chop(1);
    if (alpha.endsWith(u'.'))
        alpha.chop(1);
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(alpha);
}

namespace {

// Expressions nest (alpha(darken(...))) and tokens may name expressions; both are bounded.
constexpr int MaxExpressionDepth = 16;

struct Function
{
    QStringView name;
    QColor (*apply)(const QColor &, double);
};

QColor withAlpha(const QColor &c, double a)
{
    QColor out = c;
    out.setAlphaF(float(a));
    return out;
}

QColor lightened(const QColor &c, double f)
{
    const auto ch = [f](int v) { return qRound(v + (255 - v) * f); };
    QColor out(ch(c.red()), ch(c.green()), ch(c.blue()));
    out.setAlphaF(c.alphaF());
    return out;
}

QColor darkened(const QColor &c, double f)
{
    const auto ch = [f](int v) { return qRound(v * (1.0 - f)); };
    QColor out(ch(c.red()), ch(c.green()), ch(c.blue()));
    out.setAlphaF(c.alphaF());
    return out;
}

// "palette.primary.main": letters, digits and underscores in dotted parts.
bool isTokenPath(QStringView text)
{
    if (!text.contains(u'.') || !(text.front().isLetter() || text.front() == u'_'))
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; });
}

const Function *functionOf(QStringView text)
{
    static const Function functions[] = {
        {u"alpha", withAlpha},
        {u"lighten", lightened},
        {u"darken", darkened},
    };
    for (const Function &f : functions) {
        if (text.size() > f.name.size() + 1 && text.startsWith(f.name) && text[f.name.size()] == u'(')
            return &f;
    }
    return nullptr;
}

class Evaluator
{
public:
    Evaluator(QStringView whole, const TokenLookup &lookup) : m_whole(whole), m_lookup(lookup) {}

    QColor expression(QStringView text, int depth)
    {
        if (depth > MaxExpressionDepth)
            fail(QStringLiteral("nested deeper than %1 levels").arg(MaxExpressionDepth));
        const Function *f = functionOf(text);
        if (!f)
            fail(QStringLiteral("expected alpha(), lighten() or darken()"));
        if (!text.endsWith(u')'))
            fail(QStringLiteral("missing \")\" at the end"));
        const QStringView inner = text.sliced(f->name.size() + 1).chopped(1);
        // The top-level comma: the colour may itself hold commas (rgba(), nested expressions).
        int nesting = 0;
        qsizetype comma = -1;
        for (qsizetype i = 0; i < inner.size(); ++i) {
            const QChar c = inner[i];
            if (c == u'(') {
                ++nesting;
            } else if (c == u')') {
                if (--nesting < 0)
                    fail(QStringLiteral("unbalanced parentheses"));
            } else if (c == u',' && nesting == 0) {
                if (comma >= 0)
                    fail(QStringLiteral("%1() takes two arguments, a colour and a factor").arg(f->name));
                comma = i;
            }
        }
        if (nesting != 0)
            fail(QStringLiteral("unbalanced parentheses"));
        if (comma < 0)
            fail(QStringLiteral("%1() takes two arguments, a colour and a factor").arg(f->name));
        const QColor colour = operand(inner.first(comma).trimmed(), depth);
        return f->apply(colour, factor(inner.sliced(comma + 1).trimmed()));
    }

private:
    [[noreturn]] void fail(const QString &why) const
    {
        throw ColorExpressionError(QStringLiteral("colour expression \"%1\": %2").arg(m_whole, why));
    }

    QColor operand(QStringView text, int depth)
    {
        if (text.isEmpty())
            fail(QStringLiteral("the colour is missing"));
        if (functionOf(text))
            return expression(text, depth + 1);
        if (isTokenPath(text)) {
            const std::optional<QString> value = m_lookup ? m_lookup(text) : std::nullopt;
            if (!value)
                fail(QStringLiteral("unknown token path \"%1\"").arg(text));
            if (isColorExpression(*value))
                return expression(*value, depth + 1);
            const QColor c = parseColor(*value);
            if (!c.isValid())
                fail(QStringLiteral("token \"%1\" is \"%2\", not a colour").arg(text, *value));
            return c;
        }
        const QColor c = parseColor(text);
        if (!c.isValid())
            fail(QStringLiteral("\"%1\" is neither a token path nor a colour").arg(text));
        return c;
    }

    double factor(QStringView text) const
    {
        bool ok = false;
        const bool percent = text.endsWith(u'%');
        double v = (percent ? text.chopped(1) : text).toDouble(&ok);
        if (percent)
            v /= 100.0;
        if (!ok || !std::isfinite(v) || v < 0.0 || v > 1.0)
            fail(QStringLiteral("the factor \"%1\" must be a number from 0 to 1 or a percentage").arg(text));
        return v;
    }

    QStringView m_whole;
    const TokenLookup &m_lookup;
};

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

bool isColorExpression(QStringView text)
{
    return text.size() > 4 && text.back() == u')' && functionOf(text);
}

QString evaluateColorExpression(QStringView text, const TokenLookup &lookup)
{
    return colorText(Evaluator(text, lookup).expression(text.trimmed(), 0));
}

QColor compositeColor(const QColor &over, const QColor &under)
{
    const double a = over.alphaF();
    const double b = under.alphaF() * (1.0 - a);
    const double out = a + b;
    if (out <= 0.0)
        return QColor(0, 0, 0, 0);
    const auto mix = [&](double x, double y) { return qRound((x * a + y * b) / out); };
    QColor c(mix(over.red(), under.red()), mix(over.green(), under.green()), mix(over.blue(), under.blue()));
    c.setAlphaF(float(out));
    return c;
}

double relativeLuminance(const QColor &color)
{
    const QColor c = color.toRgb();
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace tessera
