#include "theme.h"
#include "theme_p.h"
#include "tasks_p.h"

#include "app_palette_p.h"
#include "colors.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>
#include <QPointer>
#include <QStyleHints>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace tessera {

ThemeError::ThemeError(const QString &message) : std::runtime_error(message.toStdString()) {}

namespace detail {

bool operator==(const TokenPath &a, const TokenPath &b) noexcept
{
    return a.text.size() == b.text.size()
        && std::memcmp(a.text.constData(), b.text.constData(), size_t(a.text.size()) * sizeof(QChar)) == 0;
}

// Eight bytes (four characters) at a time, each mixed in by a multiply: token
// paths are short ASCII texts, and Qt's general string hash cost more than the
// rest of the lookup.
size_t qHash(const TokenPath &path, size_t seed) noexcept
{
    constexpr quint64 Multiplier = 0x9e3779b97f4a7c15ull;
    const char *bytes = reinterpret_cast<const char *>(path.text.constData());
    std::size_t left = std::size_t(path.text.size()) * sizeof(QChar);
    quint64 h = (quint64(seed) ^ left) * Multiplier;
    const auto mix = [&h](quint64 chunk) {
        h = (h ^ chunk) * Multiplier;
        h ^= h >> 29;
    };
    for (; left >= 8; left -= 8, bytes += 8) {
        quint64 chunk;
        std::memcpy(&chunk, bytes, 8);
        mix(chunk);
    }
    if (left) {
        quint64 chunk = 0;
        std::memcpy(&chunk, bytes, left);
        mix(chunk);
    }
    return size_t(h);
}

} // namespace detail

Theme::Theme(ThemeSignal *signal) : signal(signal), d(std::make_unique<ThemePrivate>()) {}

Theme::~Theme() = default;

const StyleMap &Theme::components() const
{
    return d->components;
}

const Palette &Theme::palette() const
{
    return d->palette;
}

const StyleMap &Theme::typography() const
{
    return d->typography;
}

QString Theme::name() const
{
    return d->name;
}

quint64 Theme::identity() const
{
    return d->identity;
}

const StyleMap &Theme::data() const
{
    return d->data;
}

const QString *Theme::findToken(QStringView path) const
{
    // Looked up without a copy: the key only borrows the caller's characters.
    const auto found = d->tokens.constFind(detail::TokenPath{QString::fromRawData(path.data(), path.size())});
    return found == d->tokens.cend() ? nullptr : &*found;
}

std::optional<QString> Theme::resolveToken(QStringView path) const
{
    if (const QString *text = findToken(path))
        return *text;
    return std::nullopt;
}

std::optional<QString> Theme::resolveToken(const QString &path) const
{
    return resolveToken(QStringView(path));
}

namespace {

// Every text and number of a theme document under its dotted path.
detail::TokenIndex indexTokens(const StyleMap &document)
{
    detail::TokenIndex tokens;
    // A key holding a dot cannot be named by a dotted path, so it is not indexed.
    const auto walk = [&tokens](const auto &self, const StyleMap &map, const QString *prefix) -> void {
        for (const auto &[key, value] : map) {
            if (key.contains(u'.'))
                continue;
            const QString path = prefix ? *prefix + u'.' + key : key;
            if (value.isText())
                tokens.insert({path}, value.text());
            else if (value.isNumber())
                tokens.insert({path}, QString::number(value.number()));
            else if (const StyleMap *nested = value.mapIf())
                self(self, *nested, &path);
        }
    };
    walk(walk, document, nullptr);
    return tokens;
}

// Calls \a visit(path, text) for every text of \a map that is written as a colour expression.
template<typename Visit>
void forEachExpression(const StyleMap &map, const QString &prefix, Visit &&visit, int depth = 0)
{
    if (depth > MaxStyleDepth)
        return;
    for (const auto &[key, value] : map) {
        const QString path = prefix.isEmpty() ? key : prefix + u'.' + key;
        if (value.isText()) {
            if (isColorExpression(value.text()))
                visit(path, value.text());
        } else if (const StyleMap *nested = value.mapIf()) {
            forEachExpression(*nested, path, visit, depth + 1);
        }
    }
}

// Token paths inside an expression name texts and numbers of the document itself.
TokenLookup documentLookup(const StyleMap &document)
{
    return [&document](QStringView path) -> std::optional<QString> {
        const StyleValue *v = document.findPath(path);
        if (v && v->isText())
            return v->text();
        if (v && v->isNumber())
            return QString::number(v->number());
        return std::nullopt;
    };
}

// \a map with every colour expression replaced by the colour it gives, or
// std::nullopt when nothing changes. An expression that cannot be evaluated
// stays as written (loadTheme() refuses such a file; registerTheme() does not
// check), and the renderer then leaves it out.
std::optional<StyleMap> resolvedExpressions(const StyleMap &map, const TokenLookup &lookup, int depth = 0)
{
    std::optional<StyleMap> out;
    for (const auto &[key, value] : map) {
        std::optional<StyleValue> replacement;
        if (value.isText()) {
            if (isColorExpression(value.text())) {
                try {
                    replacement = StyleValue(evaluateColorExpression(value.text(), lookup));
                } catch (const ColorExpressionError &) {
                }
            }
        } else if (const StyleMap *nested = value.mapIf(); nested && depth < MaxStyleDepth) {
            if (std::optional<StyleMap> resolved = resolvedExpressions(*nested, lookup, depth + 1))
                replacement = StyleValue(*resolved);
        }
        if (replacement) {
            if (!out)
                out = map;
            out->insert(key, *replacement);
        }
    }
    return out;
}

StyleMap resolvedDocument(const StyleMap &document)
{
    return resolvedExpressions(document, documentLookup(document)).value_or(document);
}

const QString &systemName()
{
    static const QString name = QStringLiteral("system");
    return name;
}

/*
    Watches the desktop's colour scheme while the kit follows it: the
    application palette (every Qt version) and, where Qt has it, the style
    hints' colour scheme. It lives with the application object. The check
    runs from the event loop, never inside the palette change itself, so an
    application that sets its palette in answer to a theme change cannot
    re-enter it.
*/
class SystemFollower : public QObject
{
public:
    explicit SystemFollower(std::function<void()> onChange) : m_onChange(std::move(onChange))
    {
        QCoreApplication *app = QCoreApplication::instance();
        setParent(app);
        app->installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this, [this] { schedule(); });
#endif
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
            schedule();
        return false;
    }

private:
    void schedule()
    {
        if (m_pending)
            return;
        m_pending = true;
        detail::nextPass(this, [this] {
            m_pending = false;
            m_onChange();
        });
    }

    std::function<void()> m_onChange;
    bool m_pending = false;
};

} // namespace

class ThemeManager
{
public:
    struct Entry
    {
        StyleMap data;
        quint64 identity = 0;
        // The document's token index, made the first time the theme is applied
        // and shared (implicitly) with the current theme from then on.
        std::optional<detail::TokenIndex> tokens;
        // The document with its colour expressions evaluated, made with the index.
        std::optional<StyleMap> resolved;
    };

    static ThemeManager &instance()
    {
        static ThemeManager manager;
        return manager;
    }

    Theme *current()
    {
        if (!m_theme) {
            m_signal = std::make_unique<ThemeSignal>();
            m_theme.reset(new Theme(m_signal.get()));
            ensureBuiltins();
            apply(QStringLiteral("light"));
        }
        return m_theme.get();
    }

    void ensureBuiltins()
    {
        if (m_builtinsLoaded)
            return;
        m_builtinsLoaded = true;
        for (const char *name : {"light", "dark"}) {
            QFile file(QStringLiteral(":/themes/%1.json").arg(QLatin1String(name)));
            if (!file.open(QIODevice::ReadOnly))
                throw ThemeError(QStringLiteral("%1: built-in theme missing from the kit's resources").arg(file.fileName()));
            registerData(QString::fromLatin1(name), StyleMap::fromJson(file.readAll()));
        }
    }

    QString registerData(const QString &name, const StyleMap &data)
    {
        if (!m_entries.contains(name))
            m_order.append(name);
        m_entries.insert(name, Entry{data, ++m_nextIdentity, std::nullopt, std::nullopt});
        // A theme registered anew while current takes effect at the next setTheme().
        return name;
    }

    void apply(const QString &name)
    {
        // The Theme object first: the first useTheme() makes it and applies "light".
        ThemePrivate &theme = *current()->d;
        ensureBuiltins();
        const auto it = m_entries.find(name);
        if (it == m_entries.end())
            throw ThemeError(QStringLiteral("unknown theme \"%1\" (registered: %2)").arg(name, m_order.join(QStringLiteral(", "))));
        if (!it->resolved)
            it->resolved = resolvedDocument(it->data);
        const StyleMap &data = *it->resolved;
        if (!it->tokens)
            it->tokens = indexTokens(data);
        theme.name = name;
        theme.identity = it->identity;
        theme.data = data;
        theme.tokens = *it->tokens;
        const StyleValue *components = data.find(u"components");
        theme.components = components && components->isMap() ? components->map() : StyleMap();
        const StyleValue *palette = data.find(u"palette");
        theme.palette.values = palette && palette->isMap() ? palette->map() : StyleMap();
        const StyleValue *mode = theme.palette.values.find(u"mode");
        theme.palette.mode = mode ? mode->text() : QString();
        const StyleValue *typography = data.find(u"typography");
        theme.typography = typography && typography->isMap() ? typography->map() : StyleMap();
    }

    QStringList names()
    {
        ensureBuiltins();
        return m_order;
    }

    StyleMap dataOf(const QString &name)
    {
        ensureBuiltins();
        return m_entries.value(name).data;
    }

    bool isRegistered(const QString &name)
    {
        ensureBuiltins();
        return m_entries.contains(name);
    }

    QString choice() const { return m_choice.isEmpty() ? QStringLiteral("light") : m_choice; }

    std::pair<QString, QString> systemThemes() const { return {m_systemLight, m_systemDark}; }

    QString systemTarget() const
    {
        return systemColorScheme() == QLatin1String("dark") ? m_systemDark : m_systemLight;
    }

    //! Applies \a name as the explicit choice; "system" starts following the desktop.
    void choose(const QString &name)
    {
        if (name == systemName()) {
            // The desktop's preference is read from the application palette:
            // one that follows the theme gives its window roles back first.
            if (m_choice != systemName())
                detail::releaseApplicationWindowRoles();
            apply(systemTarget());
            m_choice = name;
            if (!m_follower && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
                m_follower = new SystemFollower([this] { followDesktop(); });
        } else {
            apply(name);
            m_choice = name;
        }
    }

    void setSystemThemes(const QString &light, const QString &dark)
    {
        for (const QString &name : {light, dark}) {
            if (!isRegistered(name))
                throw ThemeError(QStringLiteral("unknown theme \"%1\" for the system choice (registered: %2)")
                                     .arg(name, m_order.join(QStringLiteral(", "))));
        }
        m_systemLight = light;
        m_systemDark = dark;
        followDesktop();
    }

    //! While following: makes the theme matching the desktop current, emitting only on a change.
    void followDesktop()
    {
        if (m_choice != systemName())
            return;
        const QString target = systemTarget();
        if (target == m_theme->name())
            return;
        apply(target);
        Q_EMIT m_theme->signal->changed();
    }

private:
    std::unique_ptr<ThemeSignal> m_signal;
    // Made with the signal on first use (useTheme()), then never replaced.
    std::unique_ptr<Theme> m_theme;
    QHash<QString, Entry> m_entries;
    QStringList m_order;
    quint64 m_nextIdentity = 0;
    bool m_builtinsLoaded = false;
    QString m_choice;
    QString m_systemLight = QStringLiteral("light");
    QString m_systemDark = QStringLiteral("dark");
    QPointer<SystemFollower> m_follower;
};

Theme *useTheme() { return ThemeManager::instance().current(); }

void setTheme(const QString &name)
{
    Theme *theme = useTheme();
    ThemeManager::instance().choose(name);
    Q_EMIT theme->signal->changed();
}

QString themeChoice() { return ThemeManager::instance().choice(); }

QString systemColorScheme()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QStringLiteral("light");
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark: return QStringLiteral("dark");
    case Qt::ColorScheme::Light: return QStringLiteral("light");
    default: break; // unknown: read the palette
    }
#endif
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness()
               ? QStringLiteral("dark")
               : QStringLiteral("light");
}

void setSystemThemes(const QString &lightTheme, const QString &darkTheme)
{
    useTheme();
    ThemeManager::instance().setSystemThemes(lightTheme, darkTheme);
}

std::pair<QString, QString> systemThemes() { return ThemeManager::instance().systemThemes(); }

QString registerTheme(const QString &name, const StyleMap &data)
{
    return ThemeManager::instance().registerData(name, data);
}

QStringList themeNames() { return ThemeManager::instance().names(); }

StyleMap themeData(const QString &name) { return ThemeManager::instance().dataOf(name); }

QString themeDisplayName(const QString &name)
{
    if (name == QLatin1String("light"))
        return QCoreApplication::translate("tessera::Theme", "Light");
    if (name == QLatin1String("dark"))
        return QCoreApplication::translate("tessera::Theme", "Dark");
    if (name == QLatin1String("system"))
        return QCoreApplication::translate("tessera::Theme", "System");
    return name;
}

namespace {

// Overlays \a over onto \a base key by key; nested mappings merge, anything else replaces.
StyleMap merged(const StyleMap &base, const StyleMap &over)
{
    StyleMap out = base;
    for (const auto &[key, value] : over) {
        const StyleValue *mine = out.find(key);
        if (mine && mine->isMap() && value.isMap())
            out.insert(key, merged(mine->map(), value.map()));
        else
            out.insert(key, value);
    }
    return out;
}

} // namespace

QString loadTheme(const QString &jsonPath)
{
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        throw ThemeError(QStringLiteral("%1: cannot read theme file: %2").arg(jsonPath, file.errorString()));
    if (file.size() > MaxStyleDocumentSize)
        throw ThemeError(QStringLiteral("%1: theme file is larger than %2 bytes").arg(jsonPath).arg(MaxStyleDocumentSize));
    StyleMap data;
    try {
        data = StyleMap::fromJson(file.readAll());
    } catch (const StyleMapError &e) {
        throw ThemeError(QStringLiteral("%1: %2").arg(jsonPath, QString::fromUtf8(e.what())));
    }
    QString name = QFileInfo(jsonPath).completeBaseName();
    if (const StyleValue *n = data.find(u"name")) {
        if (!n->isText() || n->text().isEmpty())
            throw ThemeError(QStringLiteral("%1: key path \"name\" must be a non-empty text").arg(jsonPath));
        name = n->text();
    }
    if (name == systemName())
        throw ThemeError(QStringLiteral("%1: the theme name \"system\" is kept for following the desktop; choose another \"name\"")
                             .arg(jsonPath));
    if (const StyleValue *base = data.find(u"extends")) {
        if (!base->isText() || !themeNames().contains(base->text()))
            throw ThemeError(QStringLiteral("%1: key path \"extends\" must name a registered theme (%2)")
                                 .arg(jsonPath, themeNames().join(QStringLiteral(", "))));
        data = merged(themeData(base->text()), data);
        data.remove(u"extends");
    }
    const QStringList problems = validateTheme(data);
    if (!problems.isEmpty())
        throw ThemeError(QStringLiteral("%1: %2").arg(jsonPath, problems.join(QStringLiteral("; "))));
    data.insert(QStringLiteral("name"), name);
    return registerTheme(name, data);
}

const std::vector<ThemeRequirement> &themeRequirements()
{
    static const std::vector<ThemeRequirement> requirements = [] {
        using K = ThemeRequirement::Kind;
        std::vector<ThemeRequirement> r;
        const auto add = [&r](const QString &path, K kind, bool optional = false) {
            r.push_back({path, kind, optional});
        };
        const QStringList sizes{QStringLiteral("small"), QStringLiteral("medium"), QStringLiteral("large")};

        add(QStringLiteral("palette.mode"), K::Text);
        for (const char *token : {"palette.grey._500", "palette.text.primary", "palette.text.secondary",
                                  "palette.text.disabled", "palette.background.default",
                                  "palette.background.paper", "palette.divider"})
            add(QString::fromLatin1(token), K::Text);
        for (const char *variant : {"button", "body1", "body2", "caption", "subtitle1", "h6"})
            add(QStringLiteral("typography.%1").arg(QLatin1String(variant)), K::Map);

        const QString fs = QStringLiteral("components.FieldShell.styles.");
        add(fs + QStringLiteral("root"), K::Style, true);
        add(fs + QStringLiteral("title"), K::Map);
        for (const char *slot : {"focused", "error", "disabled"})
            add(fs + QStringLiteral("title.slots.") + QLatin1String(slot), K::Map);
        add(fs + QStringLiteral("inputField"), K::Map);
        for (const QString &size : sizes)
            add(fs + QStringLiteral("inputField.props.multiline.") + size, K::Map);
        add(fs + QStringLiteral("inputField.props.multiple"), K::Map);
        for (const QString &size : sizes) {
            const QString z = QStringLiteral("components.FieldShellSize.styles.") + size;
            add(z, K::Map);
            add(z + QStringLiteral(".no-multiple"), K::Map);
            add(z + QStringLiteral(".no-multiple.height"), K::Number);
        }

        const QString pb = QStringLiteral("components.PyButton.styles.root.");
        for (const QString &size : sizes) {
            add(pb + QStringLiteral("size.") + size, K::Map);
            add(pb + QStringLiteral("size.") + size + QStringLiteral(".textVariant"), K::Map);
        }
        for (const char *color : {"default", "primary", "secondary", "error", "info", "success", "warning"}) {
            for (const char *variant : {"contained", "outlined", "text", "soft"}) {
                const QString k = pb + QStringLiteral("colorStyle.%1.props.%2Variant").arg(QLatin1String(color), QLatin1String(variant));
                add(k, K::Map);
                add(k + QStringLiteral(".slots.hover"), K::Map);
                add(k + QStringLiteral(".slots.checked"), K::Map);
            }
        }
        // The editor fields render a missing "root" as no declarations, like FieldShell.
        for (const char *editor : {"KnobField", "StepperField", "CalendarField"}) {
            const QString styles = QStringLiteral("components.%1.styles").arg(QLatin1String(editor));
            add(styles, K::Map);
            add(styles + QStringLiteral(".root"), K::Style, true);
        }
        return r;
    }();
    return requirements;
}

QStringList validateTheme(const StyleMap &data)
{
    QStringList problems;
    for (const ThemeRequirement &req : themeRequirements()) {
        const StyleValue *v = data.findPath(req.path);
        if (!v) {
            if (!req.optional)
                problems << QStringLiteral("missing key path \"%1\"").arg(req.path);
            continue;
        }
        bool ok = true;
        QString expected;
        switch (req.kind) {
        case ThemeRequirement::Kind::Map:
        case ThemeRequirement::Kind::Style:
            ok = v->isMap() || (req.optional && v->isNone());
            expected = QStringLiteral("a mapping");
            break;
        case ThemeRequirement::Kind::Text:
            ok = v->isText();
            expected = QStringLiteral("a text");
            break;
        case ThemeRequirement::Kind::Number:
            ok = v->isNumber();
            expected = QStringLiteral("a number");
            break;
        }
        if (!ok)
            problems << QStringLiteral("key path \"%1\" must be %2").arg(req.path, expected);
    }
    const TokenLookup lookup = documentLookup(data);
    forEachExpression(data, QString(), [&](const QString &path, const QString &text) {
        try {
            evaluateColorExpression(text, lookup);
        } catch (const ColorExpressionError &e) {
            problems << QStringLiteral("key path \"%1\": %2").arg(path, QString::fromUtf8(e.what()));
        }
    });
    return problems;
}

} // namespace tessera
