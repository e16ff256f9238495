// Fuzzes the QSS renderer with random nested style mappings built from the
// input: deep nesting, huge texts, odd characters, theme token paths, and
// selector injection through the "&" keys of a caller's sx mapping.
//
// Every rendering must hold its structure (see qss_oracle.h): rule form
// scoped by "#x" with balanced braces; declaration form that can stand in a
// rule. The only failures allowed are the renderer's nesting and size limits,
// and only for a mapping that really reaches them. Any violation aborts.

#include "qss_oracle.h"

#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

using namespace tessera;

namespace {

const char *const keyWords[] = {
    "color", "backgroundColor", "border-radius", "fontWeight", "opacity", "padding", "min-height",
    "&:hover", "& QLabel", "&[focused=true]", "&::title", "&:hover, & QLabel", "&:hover,& QPushButton",
    "&, QLabel", "&,*", "& ,", ",&", "&y", "&-y", "&_y", "&9", "&\\", "&\\,", "&\\31 ", "&\"", "&'", "&[a=\"]\"]",
    "&[a=','], QLabel", "&(", "&)", "&/*", "*/", "&:hover/**/", "& /* x */ QLabel", "&{", "&}", "&;", "&",
    "&&", "& &", "&\xc3\xa9", "&\xe2\x80\xa8", "&\t", "&\f,QLabel", "&\r", "&\n", "", "-", "_", "a\xcc\x81",
    "QLabel", "#x", "&#y", "&.QPushButton", "& > QLabel", "&~QLabel", "&+QLabel",
};

const char *const valueWords[] = {
    "red", "#fff", "palette.primary.main", "palette.mode", "palette.text.disabled", "palette.no.such",
    "palette.grey._500", "1px solid palette.divider", "url(:/x.svg)", "\"Noto Sans\"", "'a b'", "\"a",
    "'", "a\\", "\\", "a\\\\", "\\;", "red /*", "*/ blue", "/* c */", "}", "{", ";", "red; } QWidget { color: blue",
    "a\nb", "a\rb", "a\fb", "\xe2\x80\xa8", "\t", " ", "", "0", "-1px", "1e400", "nan", "\"}\"", "'{'",
    "rgba(0, 0, 0, 0.5)", "qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 red, stop:1 blue)",
};

// The words decoded once: a copy of a QString is a reference count, not a conversion.
template <std::size_t N>
QStringList decoded(const char *const (&words)[N])
{
    QStringList out;
    for (const char *word : words)
        out.append(QString::fromUtf8(word));
    return out;
}

const QStringList &keyTexts()
{
    static const QStringList texts = decoded(keyWords);
    return texts;
}

const QStringList &valueTexts()
{
    static const QStringList texts = decoded(valueWords);
    return texts;
}

// The longest text one entry gets: 1 Ki characters. Longer texts find nothing
// more (the renderer and the checks scan them the same way) but cost their
// length several times over in every rendering. The renderer's size limit is
// lowered to 16 Ki characters in this build (see CMakeLists.txt), so that it
// is still reached, by a few long entries or by "&" keys that repeat the
// selector at every level, without renderings of megabytes.
constexpr int LongestTextOrder = 10;
constexpr qsizetype LongestText = qsizetype(1) << LongestTextOrder;

struct Builder
{
    FuzzedDataProvider &in;
    int budget = 256;   // entries in total, to keep one input bounded
    int deepest = 0;

    QString text(const QStringList &words)
    {
        const int pick = in.ConsumeIntegralInRange(0, 31);
        if (pick < 22)
            return words[in.ConsumeIntegralInRange<qsizetype>(0, words.size() - 1)];
        if (pick < 26) {
            const std::string bytes = in.ConsumeRandomLengthString(64);
            return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        }
        if (pick < 31) {
            // Raw UTF-16 code units: lone surrogates, NULs, control characters.
            const std::string bytes = in.ConsumeRandomLengthString(64);
            return QString(reinterpret_cast<const QChar *>(bytes.data()), qsizetype(bytes.size() / 2));
        }
        // A long text: one chunk repeated, up to LongestText characters (sizes spread evenly by order).
        const QString &chunk = words[in.ConsumeIntegralInRange<qsizetype>(0, words.size() - 1)];
        const int times = 1 << in.ConsumeIntegralInRange(0, LongestTextOrder);
        return chunk.repeated(chunk.isEmpty() ? 0 : std::min<qsizetype>(times, LongestText / chunk.size()));
    }

    StyleValue value(int depth)
    {
        switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
            return {};
        case 1:
            return in.ConsumeBool();
        case 2: {
            switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0: return std::numeric_limits<double>::quiet_NaN();
            case 1: return std::numeric_limits<double>::infinity();
            case 2: return -std::numeric_limits<double>::max();
            default: return in.ConsumeFloatingPoint<double>();
            }
        }
        case 3:
        case 4:
        case 5:
            return text(valueTexts());
        default:
            return map(depth + 1);
        }
    }

    StyleMap map(int depth)
    {
        deepest = std::max(deepest, depth);
        StyleMap out;
        if (depth > MaxStyleDepth + 8)
            return out;
        // A straight chain down to a chosen depth, now and then, to reach the limit quickly.
        if (in.ConsumeIntegralInRange(0, 15) == 0) {
            const int chain = in.ConsumeIntegralInRange(1, MaxStyleDepth + 4);
            StyleMap leaf{{"color", "red"}};
            for (int i = 0; i < chain; ++i)
                leaf = StyleMap{{"&:hover", leaf}};
            deepest = std::max(deepest, depth + 1 + chain);   // the innermost mapping of the chain
            out.insert(QStringLiteral("&:hover"), leaf);
        }
        const int entries = in.ConsumeIntegralInRange(0, 8);
        for (int i = 0; i < entries && budget > 0 && in.remaining_bytes() > 0; ++i, --budget)
            out.insert(text(keyTexts()), value(depth));
        return out;
    }
};

// Upper bounds of the rendered length, to tell a genuine size refusal from a wrong one.
double declarationBound(const StyleMap &style)
{
    double bound = 0;
    for (const auto &[key, value] : style) {
        if (!value.isMap())
            bound += 2.0 * double(key.size()) + double(value.isText() ? value.text().size() : 0) + 64;
    }
    return bound;
}

double ruleBound(const StyleMap &style, double selector)
{
    double bound = selector + 8 + declarationBound(style);
    for (const auto &[key, value] : style) {
        const StyleMap *nested = value.mapIf();
        if (!nested || !key.startsWith(u'&'))
            continue;
        bound += ruleBound(*nested, double(key.size()) + double(key.count(u'&')) * (selector - 1));
        if (bound > 1e12)
            break;
    }
    return bound;
}

bool isSizeRefusal(const StyleMapError &e)
{
    return QByteArray(e.what()).contains("larger than");
}

[[noreturn]] void fail(const char *form, const QString &why, const QString &qss)
{
    std::fprintf(stderr, "%s form: %s\n--- rendered ---\n%s\n---\n", form, qPrintable(why),
                 qPrintable(qss.left(2000)));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool themed = [] {
        setTheme(QStringLiteral("light"));
        return true;
    }();
    (void)themed;

    FuzzedDataProvider in(data, size);
    Builder builder{in};
    const bool dark = in.ConsumeBool();
    const StyleMap style = builder.map(0);
    if (dark != (useTheme()->palette().mode == u"dark"))
        setTheme(dark ? QStringLiteral("dark") : QStringLiteral("light"));

    const QString scope = QStringLiteral("#x");
    const double limit = double(TESSERA_FUZZ_MAX_RENDERED_STYLE_SIZE);
    try {
        const QString decls = get_qss_style(style);   // the declaration form never recurses
        if (const QString why = qssoracle::checkDeclarations(decls, scope); !why.isEmpty())
            fail("declaration", why, decls);
        // Appended to a sheet being composed: exactly the same text after what was there.
        QString sheet = scope;
        appendQssStyle(sheet, &style);
        if (QStringView(sheet).sliced(scope.size()) != decls)
            fail("declaration", QStringLiteral("appendQssStyle differs from get_qss_style"), sheet);
    } catch (const StyleMapError &e) {
        if (!isSizeRefusal(e) || declarationBound(style) <= limit)
            fail("declaration", QStringLiteral("refused: %1").arg(e.what()), {});
    }

    try {
        const QString rules = get_qss_style(style, scope);
        if (const QString why = qssoracle::checkRules(rules, scope); !why.isEmpty())
            fail("rule", why, rules);
        // The sx path renders the same way.
        const QString viaSx = Sx(style).render(QStringLiteral("x"));
        if (viaSx != rules)
            fail("sx", QStringLiteral("Sx::render differs from get_qss_style"), viaSx);
    } catch (const StyleMapError &e) {
        // Only the nesting and size limits may refuse a mapping, and only one that reaches them.
        const bool deep = builder.deepest > MaxStyleDepth;
        const bool large = isSizeRefusal(e) && ruleBound(style, double(scope.size())) > limit;
        if (!deep && !large)
            fail("rule", QStringLiteral("refused a mapping %1 levels deep: %2").arg(builder.deepest).arg(e.what()), {});
    }

    // A caller's own selector is taken as given, but one that could end a rule
    // early is refused, never rendered: the structure must hold whatever it is.
    const QString selector = QStringLiteral("#") + builder.text(keyTexts());
    try {
        const QString rules = get_qss_style(style, selector);
        if (!rules.isEmpty()) {
            if (const QString why = qssoracle::checkRules(rules, {}); !why.isEmpty())
                fail("rule (odd selector)", why, rules);
        }
    } catch (const StyleMapError &) {
    }
    return 0;
}
