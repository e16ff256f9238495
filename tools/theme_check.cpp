// tessera-theme-check: checks theme files against every key path the widgets
// read, and shows the style sheet a widget class gets from a theme.
//
//   tessera-theme-check FILE.json...                  exit 0 when every file is usable
//   tessera-theme-check --contrast FILE.json...       also measures WCAG contrast of every widget
//   tessera-theme-check [--theme NAME|FILE.json] --print-qss CLASS [--option NAME=VALUE]...
//
// Problems are printed one per line as FILE:LINE:COLUMN: message, the place
// being the value that has the wrong kind, or the nearest enclosing object
// that exists for a missing path. Files are checked in order, and a file that
// passes is registered, so a later file may extend an earlier one.

#include "contrast.h"

#include <tessera/kit/colors.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/state.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QTextStream>
#include <QWidget>

#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace {

struct Position
{
    int line = 1;
    int column = 1;
};

/*
    Where each key path of a JSON document starts: the first character of the
    value under that path (the '{' of an object). Columns count characters,
    not bytes. The root object is recorded under the empty path. Arrays are
    skipped (theme files have none). The scan stops quietly at the first thing
    it does not understand; the document was parsed strictly before.
*/
class PositionIndex
{
public:
    explicit PositionIndex(const QByteArray &text) : m_text(text)
    {
        try {
            skipSpace();
            value(QString(), true);
        } catch (const Stop &) {
        }
    }

    std::optional<Position> find(const QString &path) const
    {
        const auto it = m_positions.constFind(path);
        if (it == m_positions.cend())
            return std::nullopt;
        return *it;
    }

    //! The longest prefix of \a path (itself included) that the document has, and its place.
    std::pair<QString, Position> nearest(const QString &path) const
    {
        QString p = path;
        while (!p.isEmpty()) {
            if (const auto pos = find(p))
                return {p, *pos};
            const qsizetype dot = p.lastIndexOf(u'.');
            p = dot < 0 ? QString() : p.left(dot);
        }
        return {QString(), find(QString()).value_or(Position{})};
    }

private:
    struct Stop
    {
    };

    bool atEnd() const { return m_at >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text.at(m_at); }

    void advance()
    {
        if (atEnd())
            throw Stop{};
        const uchar c = uchar(m_text.at(m_at++));
        if (c == '\n') {
            ++m_pos.line;
            m_pos.column = 1;
        } else if ((c & 0xC0) != 0x80) {
            // Count the lead byte of each character only.
            ++m_pos.column;
        }
    }

    void expect(char c)
    {
        if (peek() != c)
            throw Stop{};
        advance();
    }

    void skipSpace()
    {
        while (!atEnd() && std::strchr(" \t\r\n", peek()))
            advance();
    }

    void value(const QString &path, bool record)
    {
        if (record)
            m_positions.insert(path, m_pos);
        switch (peek()) {
        case '{':
            object(path);
            break;
        case '[':
            array();
            break;
        case '"':
            string();
            break;
        default:
            if (atEnd() || std::strchr(",:]}", peek()))
                throw Stop{};
            while (!atEnd() && !std::strchr(",]} \t\r\n", peek()))
                advance();
        }
    }

    void object(const QString &path)
    {
        expect('{');
        skipSpace();
        if (peek() == '}') {
            advance();
            return;
        }
        for (;;) {
            skipSpace();
            const QString key = string();
            skipSpace();
            expect(':');
            skipSpace();
            value(path.isEmpty() ? key : path + u'.' + key, true);
            skipSpace();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect('}');
            return;
        }
    }

    void array()
    {
        expect('[');
        skipSpace();
        if (peek() == ']') {
            advance();
            return;
        }
        for (;;) {
            skipSpace();
            value(QString(), false);
            skipSpace();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect(']');
            return;
        }
    }

    QString string()
    {
        expect('"');
        QByteArray raw;
        QString out;
        const auto flush = [&] {
            out += QString::fromUtf8(raw);
            raw.clear();
        };
        for (;;) {
            const char c = peek();
            if (c == '"') {
                advance();
                break;
            }
            if (c != '\\') {
                raw += c;
                advance();
                continue;
            }
            advance();
            const char e = peek();
            advance();
            switch (e) {
            case 'b': raw += '\b'; break;
            case 'f': raw += '\f'; break;
            case 'n': raw += '\n'; break;
            case 'r': raw += '\r'; break;
            case 't': raw += '\t'; break;
            case 'u': {
                QByteArray hex;
                for (int i = 0; i < 4; ++i) {
                    hex += peek();
                    advance();
                }
                bool ok = false;
                const ushort unit = hex.toUShort(&ok, 16);
                if (!ok)
                    throw Stop{};
                flush();
                out += QChar(unit);
                break;
            }
            default: raw += e; // '"', '\\', '/'
            }
        }
        flush();
        return out;
    }

    const QByteArray &m_text;
    qsizetype m_at = 0;
    Position m_pos;
    QHash<QString, Position> m_positions;
};

// Overlays \a over onto \a base key by key, as loadTheme() does for "extends":
// nested mappings merge, anything else replaces.
tessera::StyleMap merged(const tessera::StyleMap &base, const tessera::StyleMap &over)
{
    tessera::StyleMap out = base;
    for (const auto &[key, value] : over) {
        const tessera::StyleValue *mine = out.find(key);
        if (mine && mine->isMap() && value.isMap())
            out.insert(key, merged(mine->map(), value.map()));
        else
            out.insert(key, value);
    }
    return out;
}

// The character column of byte column \a byteColumn on line \a line of \a text.
int characterColumn(const QByteArray &text, int line, int byteColumn)
{
    qsizetype start = 0;
    for (int l = 1; l < line && start >= 0; ++l) {
        start = text.indexOf('\n', start);
        if (start >= 0)
            ++start;
    }
    if (start < 0)
        return byteColumn;
    int column = 1;
    for (qsizetype i = start; i < start + byteColumn - 1 && i < text.size(); ++i) {
        if ((uchar(text.at(i)) & 0xC0) != 0x80)
            ++column;
    }
    return column;
}

const QStringList &topLevelKeys()
{
    static const QStringList keys{QStringLiteral("name"), QStringLiteral("extends"), QStringLiteral("palette"),
                                  QStringLiteral("typography"), QStringLiteral("shape"), QStringLiteral("components")};
    return keys;
}

class Checker
{
public:
    explicit Checker(QTextStream &out, bool contrast = false) : m_out(out), m_contrast(contrast) {}

    //! Checks one file; registers it when it passes. Returns the number of problems.
    int check(const QString &file)
    {
        m_file = file;
        m_problems = 0;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            m_out << file << ": error: cannot read the file: " << f.errorString() << Qt::endl;
            return 1;
        }
        if (f.size() > tessera::MaxStyleDocumentSize) {
            m_out << file << ": error: the file is larger than " << tessera::MaxStyleDocumentSize << " bytes" << Qt::endl;
            return 1;
        }
        const QByteArray text = f.readAll();
        const PositionIndex index(text);

        tessera::StyleMap data;
        try {
            data = tessera::StyleMap::fromJson(text);
        } catch (const tessera::StyleMapError &e) {
            syntaxError(text, index, QString::fromUtf8(e.what()));
            return m_problems;
        } catch (const std::exception &e) {
            // Whatever else the reader refuses (a number out of range...), without a place.
            report(Position{}, QString::fromUtf8(e.what()));
            return m_problems;
        }

        tessera::StyleMap full = data;
        QString base;
        if (const tessera::StyleValue *extends = data.find(u"extends")) {
            base = extends->isText() ? extends->text() : QString();
            if (!tessera::themeNames().contains(base)) {
                report(index.find(QStringLiteral("extends")).value_or(Position{}),
                       QStringLiteral("\"extends\" must name a registered theme (%1)")
                           .arg(tessera::themeNames().join(QStringLiteral(", "))));
                return m_problems;
            }
            full = merged(tessera::themeData(base), data);
            full.remove(u"extends");
        }
        if (const tessera::StyleValue *name = data.find(u"name"); name && (!name->isText() || name->text().isEmpty()))
            report(index.find(QStringLiteral("name")).value_or(Position{}), QStringLiteral("key path \"name\" must be a non-empty text"));

        static const QRegularExpression quotedPath(QStringLiteral("key path \"([^\"]+)\""));
        for (const QString &problem : tessera::validateTheme(full)) {
            const QString path = quotedPath.match(problem).captured(1);
            if (problem.startsWith(QLatin1String("missing"))) {
                const auto [parent, pos] = index.nearest(path);
                report(pos, QStringLiteral("%1 (nearest enclosing object: %2)")
                                .arg(problem, parent.isEmpty() ? QStringLiteral("the document") : u'"' + parent + u'"'));
            } else {
                report(index.nearest(path).second, problem);
            }
        }
        warnUnread(data, base, index);
        warnUnresolvedTokens(data, full, index);

        if (m_problems == 0) {
            // The kit's own loader has the last word (and registers the theme).
            try {
                const QString name = tessera::loadTheme(file);
                m_out << file << ": ok: theme \"" << name << "\"";
                if (!base.isEmpty())
                    m_out << " extends \"" << base << "\"";
                m_out << ", " << tessera::themeRequirements().size() << " key paths checked" << Qt::endl;
                m_lastTheme = name;
                if (m_contrast)
                    checkContrast(name, data, index);
            } catch (const std::exception &e) {
                report(Position{}, QString::fromUtf8(e.what()));
            }
        }
        return m_problems;
    }

    QString lastTheme() const { return m_lastTheme; }

private:
    void report(Position pos, const QString &message, const char *kind = "error")
    {
        m_out << m_file << ':' << pos.line << ':' << pos.column << ": " << kind << ": " << message << Qt::endl;
        if (qstrcmp(kind, "error") == 0)
            ++m_problems;
    }

    // fromJson names either a place ("line 3, column 7: ...") or a key path ("\"a.b\": ...").
    void syntaxError(const QByteArray &text, const PositionIndex &index, const QString &message)
    {
        static const QRegularExpression place(QStringLiteral("^line (\\d+), column (\\d+): (.*)$"));
        static const QRegularExpression keyed(QStringLiteral("^\"([^\"]+)\": (.*)$"));
        if (const auto m = place.match(message); m.hasMatch()) {
            const int line = m.captured(1).toInt();
            report({line, characterColumn(text, line, m.captured(2).toInt())}, m.captured(3));
        } else if (const auto k = keyed.match(message); k.hasMatch()) {
            report(index.nearest(k.captured(1)).second, QStringLiteral("key path \"%1\": %2").arg(k.captured(1), k.captured(2)));
        } else {
            report(Position{}, message);
        }
    }

    // Names that no widget reads are most often typing mistakes; they do not fail the check.
    void warnUnread(const tessera::StyleMap &data, const QString &base, const PositionIndex &index)
    {
        for (const auto &[key, value] : data) {
            if (!topLevelKeys().contains(key))
                report(index.find(key).value_or(Position{}), QStringLiteral("\"%1\" is not read by the kit").arg(key), "warning");
        }
        const tessera::StyleValue *components = data.find(u"components");
        if (base.isEmpty() || !components || !components->isMap())
            return;
        const tessera::StyleValue *known = tessera::themeData(base).find(u"components");
        for (const auto &[key, value] : components->map()) {
            if (!known || !known->isMap() || !known->map().contains(key))
                report(index.find(QStringLiteral("components.") + key).value_or(Position{}),
                       QStringLiteral("component \"%1\" is not one the widgets read").arg(key), "warning");
        }
    }

    /*
        A text shaped like a token path ("palette.primary.mian") that names no
        text or number of the theme is written into the style sheet as it
        stands, where Qt drops it: most often a typing mistake. The shape is the
        renderer's: letters, digits and underscores in two or more dotted parts,
        the first starting with a letter or an underscore. Tokens resolve against
        the whole theme, the base of "extends" included.
    */
    void warnUnresolvedTokens(const tessera::StyleMap &map, const tessera::StyleMap &full, const PositionIndex &index,
                              const QString &path = QString())
    {
        static const QRegularExpression tokenShaped(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}_]*(\\.[\\p{L}\\p{N}_]+)+$"));
        for (const auto &[key, value] : map) {
            if (path.isEmpty() && (key == QLatin1String("name") || key == QLatin1String("extends")))
                continue;
            const QString here = path.isEmpty() ? key : path + u'.' + key;
            if (value.isMap()) {
                warnUnresolvedTokens(value.map(), full, index, here);
                continue;
            }
            if (!value.isText() || !tokenShaped.match(value.text()).hasMatch())
                continue;
            const tessera::StyleValue *target = full.findPath(value.text());
            if (!target || !(target->isText() || target->isNumber()))
                report(index.find(here).value_or(Position{}),
                       QStringLiteral("\"%1\" looks like a token path but names no text or number of the theme")
                           .arg(value.text()),
                       "warning");
        }
    }

    /*
        Measures the contrast of every widget in theme \a name. A pair below
        the minimum is reported at the entry of the file that gives its
        colour (a palette entry first), or at the start when the colour comes
        from the base theme.
    */
    void checkContrast(const QString &name, const tessera::StyleMap &data, const PositionIndex &index)
    {
        const QString before = tessera::themeChoice();
        tessera::setTheme(name);
        const tessera::contrast::Report result = tessera::contrast::measureCurrentTheme();
        const tessera::Theme *theme = tessera::useTheme();

        // Where the file writes each colour: its paths, palette entries first.
        QList<std::pair<QString, QColor>> written;
        const std::function<void(const tessera::StyleMap &, const QString &)> walk =
            [&](const tessera::StyleMap &map, const QString &prefix) {
                for (const auto &[key, value] : map) {
                    const QString path = prefix.isEmpty() ? key : prefix + u'.' + key;
                    if (const tessera::StyleMap *nested = value.mapIf()) {
                        walk(*nested, path);
                    } else if (value.isText()) {
                        // The value as the theme in force holds it (expressions evaluated).
                        const tessera::StyleValue *resolved = theme->data().findPath(path);
                        QString text = resolved && resolved->isText() ? resolved->text() : value.text();
                        text = theme->resolveToken(text).value_or(text);
                        const QColor c = tessera::parseColor(text);
                        if (c.isValid())
                            written.append({path, c});
                    }
                }
            };
        walk(data, QString());
        std::stable_sort(written.begin(), written.end(), [](const auto &a, const auto &b) {
            return a.first.startsWith(QLatin1String("palette.")) && !b.first.startsWith(QLatin1String("palette."));
        });

        // Each failing pair once, on the background where it is worst.
        QList<tessera::contrast::Pair> failing;
        QHash<QString, qsizetype> seen;
        for (const tessera::contrast::Pair &pair : result.pairs) {
            if (pair.passes())
                continue;
            const QString key = pair.widget + u'\n' + pair.selector + u'\n' + QString::number(int(pair.kind)) + u'\n'
                                + pair.foreground.name(QColor::HexArgb);
            const auto it = seen.constFind(key);
            if (it == seen.cend()) {
                seen.insert(key, failing.size());
                failing.append(pair);
            } else if (pair.ratio < failing[*it].ratio) {
                failing[*it] = pair;
            }
        }
        for (const tessera::contrast::Pair &pair : std::as_const(failing)) {
            const QString message = pair.describe();
            Position pos = index.find(QString()).value_or(Position{});
            QString source;
            for (const auto &[path, colour] : written) {
                if (colour == pair.foreground) {
                    pos = index.nearest(path).second;
                    source = path;
                    break;
                }
            }
            report(pos, source.isEmpty() ? message + QStringLiteral(" (colour from the base theme)")
                                         : message + QStringLiteral(" (colour \"%1\")").arg(source));
        }
        for (const QString &widget : result.withoutFocus)
            report(index.find(QString()).value_or(Position{}), QStringLiteral("%1: no focus state").arg(widget));
        m_out << m_file << ": contrast: " << result.pairs.size() << " pairs measured, " << failing.size() << " below the minimum"
              << Qt::endl;
        tessera::setTheme(before);
    }

    QTextStream &m_out;
    bool m_contrast = false;
    QString m_file;
    QString m_lastTheme;
    int m_problems = 0;
};

void settle()
{
    for (int i = 0; i < 8; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QVariant optionValue(const QString &text)
{
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number;
    return text;
}

int printQss(const QString &className, const QStringList &optionTexts, QTextStream &out)
{
    QString modulePath;
    QStringList available;
    for (const QString &path : tessera::knownModules()) {
        try {
            tessera::loadModule(path);
        } catch (const std::exception &) {
            continue; // not installed
        }
        available << tessera::moduleClassName(path);
        if (tessera::moduleClassName(path) == className)
            modulePath = path;
    }
    if (modulePath.isEmpty()) {
        out << "tessera-theme-check: no widget class \"" << className << "\"; available: " << available.join(QStringLiteral(", "))
            << Qt::endl;
        return 1;
    }

    QVariantMap options;
    for (const QString &text : optionTexts) {
        const qsizetype eq = text.indexOf(u'=');
        if (eq <= 0) {
            out << "tessera-theme-check: --option expects NAME=VALUE, got \"" << text << "\"" << Qt::endl;
            return 1;
        }
        options.insert(text.left(eq), optionValue(text.mid(eq + 1)));
    }
    // A chip stack shows the widgets of a State; give it an empty one.
    auto content = std::make_unique<tessera::State>(tessera::widgetListValue({}));
    if (className == QLatin1String("ChipStack") && !options.contains(QStringLiteral("content")))
        options.insert(QStringLiteral("content"), QVariant::fromValue<QObject *>(content.get()));

    std::unique_ptr<QWidget> widget;
    try {
        widget.reset(tessera::create(modulePath, options));
    } catch (const std::exception &e) {
        out << "tessera-theme-check: " << className << ": " << e.what() << Qt::endl;
        return 1;
    }
    widget->show();
    settle();

    out << "/* " << className << " (" << modulePath << "), theme \"" << tessera::useTheme()->name()
        << "\", object name \"" << widget->objectName() << "\" */" << Qt::endl;
    out << widget->styleSheet() << Qt::endl;
    // Inner widgets that carry style sheets of their own.
    for (const QWidget *child : widget->findChildren<QWidget *>()) {
        if (child->styleSheet().isEmpty())
            continue;
        out << "/* inner " << child->metaObject()->className() << ", object name \"" << child->objectName() << "\" */"
            << Qt::endl
            << child->styleSheet() << Qt::endl;
    }
    widget.reset();
    settle();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Building widgets needs a GUI application; checking files does not.
    bool widgets = false;
    for (int i = 1; i < argc; ++i)
        widgets = widgets || qstrcmp(argv[i], "--print-qss") == 0 || qstrcmp(argv[i], "--contrast") == 0;
    std::unique_ptr<QCoreApplication> app;
    if (widgets)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessera-theme-check"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks tessera theme files against every key path the widgets read, printing each missing or "
        "mistyped path as FILE:LINE:COLUMN. Exit status 0 when every file is usable, 1 otherwise."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Theme files (JSON) to check, in order."),
                                 QStringLiteral("FILE.json..."));
    const QCommandLineOption printOption(QStringLiteral("print-qss"),
                                         QStringLiteral("Print the style sheet that widget class <class> gets "
                                                        "(from the last file given, or --theme)."),
                                         QStringLiteral("class"));
    const QCommandLineOption themeOption(QStringLiteral("theme"),
                                         QStringLiteral("Registered theme to use for --print-qss (default: light)."),
                                         QStringLiteral("name"));
    const QCommandLineOption optionOption(QStringLiteral("option"),
                                          QStringLiteral("A named option for the widget of --print-qss (repeatable)."),
                                          QStringLiteral("name=value"));
    const QCommandLineOption contrastOption(
        QStringLiteral("contrast"),
        QStringLiteral("Also build every widget in each theme and check WCAG 2.1 contrast of its enabled states: "
                       "text 4.5:1, borders and focus rings 3:1 (focus rings 2px wide)."));
    parser.addOptions({printOption, themeOption, optionOption, contrastOption});
    parser.process(*app);

    QTextStream out(stdout);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() && !parser.isSet(printOption)) {
        out << parser.helpText();
        return 1;
    }

    Checker checker(out, parser.isSet(contrastOption));
    int problems = 0;
    for (const QString &file : files)
        problems += checker.check(file);
    if (problems > 0) {
        out << problems << (problems == 1 ? " problem" : " problems") << Qt::endl;
        return 1;
    }

    if (parser.isSet(printOption)) {
        QString theme = parser.value(themeOption);
        if (theme.isEmpty())
            theme = checker.lastTheme();
        try {
            if (!theme.isEmpty())
                tessera::setTheme(theme);
        } catch (const std::exception &e) {
            out << "tessera-theme-check: " << e.what() << Qt::endl;
            return 1;
        }
        return printQss(parser.value(printOption), parser.values(optionOption), out);
    }
    return 0;
}
