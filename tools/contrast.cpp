#include "contrast.h"

#include <tessera/kit/app_palette.h>
#include <tessera/kit/button.h>
#include <tessera/kit/colors.h>
#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>

#include <QCoreApplication>
#include <QHash>
#include <QMetaObject>
#include <QRegularExpression>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace tessera::contrast {

namespace {

constexpr double TextMinimum = 4.5;
constexpr double NonTextMinimum = 3.0;

struct Rule
{
    QString selector;
    QList<std::pair<QString, QString>> declarations;
};

// Splits \a text at \a separator outside parentheses and quotes.
QStringList splitTopLevel(QStringView text, QChar separator)
{
    QStringList parts;
    int nesting = 0;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'(') {
            ++nesting;
        } else if (c == u')') {
            --nesting;
        } else if (c == separator && nesting == 0) {
            parts << text.sliced(start, i - start).trimmed().toString();
            start = i + 1;
        }
    }
    parts << text.sliced(start).trimmed().toString();
    parts.removeAll(QString());
    return parts;
}

// The rules of a style sheet as the kit writes them (no nesting, no comments).
QList<Rule> parseSheet(const QString &sheet)
{
    QList<Rule> rules;
    qsizetype at = 0;
    while (true) {
        const qsizetype open = sheet.indexOf(u'{', at);
        if (open < 0)
            break;
        const qsizetype close = sheet.indexOf(u'}', open);
        if (close < 0)
            break;
        const QString selectors = sheet.mid(at, open - at).trimmed();
        QList<std::pair<QString, QString>> declarations;
        for (const QString &d : splitTopLevel(QStringView(sheet).sliced(open + 1, close - open - 1), u';')) {
            const qsizetype colon = d.indexOf(u':');
            if (colon > 0)
                declarations.append({d.left(colon).trimmed().toLower(), d.mid(colon + 1).trimmed()});
        }
        for (const QString &selector : splitTopLevel(selectors, u','))
            rules.append({selector, declarations});
        at = close + 1;
    }
    return rules;
}

// The selector without its states (":hover", "[focused=true]"): the element it styles.
QString elementOf(const QString &selector, QStringList *states)
{
    static const QRegularExpression state(QStringLiteral("(\\[[^\\]]*\\]|(?<!:):!?[a-z-]+(?!-))"));
    QString element;
    qsizetype last = 0;
    auto it = state.globalMatch(selector);
    while (it.hasNext()) {
        const auto m = it.next();
        // "::title" is a sub-control, not a state.
        if (m.capturedStart() > 0 && selector.at(m.capturedStart() - 1) == u':')
            continue;
        if (m.captured().startsWith(u':') && m.capturedStart() + 1 < selector.size()
            && selector.at(m.capturedStart() + 1) == u':')
            continue;
        element += QStringView(selector).mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        if (states)
            *states << m.captured();
    }
    element += QStringView(selector).mid(last);
    return element.trimmed();
}

bool isDisabledState(const QStringList &states)
{
    for (const QString &s : states) {
        if (s == u":disabled" || s.startsWith(QLatin1String("[disabled")))
            return true;
    }
    return false;
}

std::optional<QColor> colourIn(const QString &value)
{
    if (value.contains(QLatin1String("gradient")) || value.startsWith(QLatin1String("url(")))
        return std::nullopt;
    const QColor c = parseColor(value);
    if (c.isValid())
        return c;
    // A shorthand ("1px solid #abc"): the part that is a colour.
    for (const QString &part : splitTopLevel(value, u' ')) {
        const QColor p = parseColor(part);
        if (p.isValid())
            return p;
    }
    return std::nullopt;
}

std::optional<int> widthIn(const QString &value)
{
    static const QRegularExpression px(QStringLiteral("^(\\d+)px$"));
    for (const QString &part : splitTopLevel(value, u' ')) {
        const auto m = px.match(part);
        if (m.hasMatch())
            return m.captured(1).toInt();
    }
    return std::nullopt;
}

struct Look
{
    std::optional<QColor> color, background, border, outline;
    int borderWidth = 0;
    bool borderNone = false;
    int outlineWidth = 0;
    bool outlineNone = true;

    void apply(const QString &property, const QString &value)
    {
        if (property == u"outline") {
            outlineNone = value.startsWith(QLatin1String("none")) || !value.contains(QLatin1String("solid"));
            if (const auto c = colourIn(value))
                outline = c;
            if (const auto w = widthIn(value))
                outlineWidth = *w;
        } else if (property == u"outline-style") {
            outlineNone = value != u"solid";
        } else if (property == u"outline-width") {
            if (const auto w = widthIn(value))
                outlineWidth = *w;
        } else if (property == u"outline-color") {
            outline = colourIn(value);
        } else if (property == u"color") {
            color = colourIn(value);
        } else if (property == u"background-color" || property == u"background") {
            background = colourIn(value);
        } else if (property == u"border" || property == u"border-bottom") {
            // The whole border, or the one edge an underline draws.
            if (value.startsWith(QLatin1String("none")) || value == u"0" || value == u"0px") {
                borderNone = true;
                return;
            }
            borderNone = value.contains(QLatin1String("none"));
            if (const auto c = colourIn(value))
                border = c;
            if (const auto w = widthIn(value))
                borderWidth = *w;
        } else if (property == u"border-color" || property == u"border-bottom-color") {
            border = colourIn(value);
        } else if (property == u"border-width" || property == u"border-bottom-width") {
            // An underline (no border but the bottom one) counts with its own width.
            if (const auto w = widthIn(value))
                borderWidth = property == u"border-width" ? *w : std::max(borderWidth, *w);
        } else if (property == u"border-style" || property == u"border-bottom-style") {
            borderNone = value == u"none";
        }
    }
};

QString describeColour(const QColor &c)
{
    return colorText(c);
}

} // namespace

QString Pair::describe() const
{
    const char *what = kind == Kind::Text ? "text" : kind == Kind::Border ? "border" : "focus ring";
    QString text = QStringLiteral("%1: %2 %3 %4 on %5 (over %6): contrast %7:1, needs %8:1")
                       .arg(widget, selector, QLatin1String(what), describeColour(foreground),
                            describeColour(background), surface, QString::number(ratio, 'f', 2),
                            QString::number(required, 'f', 1));
    if (kind == Kind::Focus && width < 2)
        text += QStringLiteral(" and %1px wide, needs 2px").arg(width);
    return text;
}

QList<Pair> measureSheet(const QString &sheet, const QString &widget, const QColor &beneath, const QString &surface,
                         const QColor &disabledText, bool *hasFocusRule, QColor *ownBackground)
{
    QList<Pair> pairs;
    const QList<Rule> rules = parseSheet(sheet);
    struct Styled
    {
        QString selector;
        QString element;
        QStringList states;
        const Rule *rule;
    };
    QList<Styled> styled;
    for (const Rule &r : rules) {
        QStringList states;
        const QString element = elementOf(r.selector, &states);
        styled.append({r.selector, element, states, &r});
    }
    // The look of an element in a state: every rule of the element whose
    // states are part of it, in order.
    const auto lookOf = [&styled](const QString &element, const QStringList &states) {
        Look look;
        for (const Styled &s : styled) {
            if (s.element != element)
                continue;
            bool within = true;
            for (const QString &st : s.states)
                within = within && states.contains(st);
            if (!within)
                continue;
            for (const auto &[p, v] : s.rule->declarations)
                look.apply(p, v);
        }
        return look;
    };
    // The element a descendant or sub-control stands in: the selector before its last part.
    const auto parentOf = [](const QString &element) -> QString {
        const qsizetype sub = element.lastIndexOf(QLatin1String("::"));
        if (sub > 0)
            return element.left(sub);
        const qsizetype space = element.lastIndexOf(u' ');
        return space > 0 ? element.left(space).trimmed() : QString();
    };

    if (ownBackground) {
        *ownBackground = beneath;
        for (const Styled &s : styled) {
            if (s.states.isEmpty() && parentOf(s.element).isEmpty()) {
                const Look look = lookOf(s.element, {});
                if (look.background)
                    *ownBackground = compositeColor(*look.background, beneath);
                break;
            }
        }
    }

    const QString name = QStringLiteral("#name");
    for (const Styled &s : styled) {
        if (isDisabledState(s.states))
            continue;
        // The widget's own focus look: Qt's ":focus", or the "focused" property the kit's fields set.
        const QString parent = parentOf(s.element);
        const bool focus = parent.isEmpty()
                           && (s.states.contains(QStringLiteral(":focus")) || s.states.contains(QStringLiteral("[focused=true]")));
        if (focus && hasFocusRule)
            *hasFocusRule = true;
        const Look look = lookOf(s.element, s.states);
        // What lies under the element: its parent's background over the surface.
        QList<QColor> under{beneath};
        if (!parent.isEmpty()) {
            const Look parentLook = lookOf(parent, s.states);
            const QColor parentBg = parentLook.background ? compositeColor(*parentLook.background, beneath) : beneath;
            // A group box's title stands half outside the frame: both colours are beside it.
            if (s.element.endsWith(QLatin1String("::title")))
                under = {beneath, parentBg};
            else
                under = {parentBg};
        }
        static const QRegularExpression objectName(QStringLiteral("#[A-Za-z0-9_-]+"));
        QString shown = s.selector;
        shown.replace(objectName, name);

        for (const QColor &base : under) {
            const QColor bg = look.background ? compositeColor(*look.background, base) : base;
            if (look.color && look.color->alpha() > 0 && *look.color != disabledText) {
                const QColor fg = compositeColor(*look.color, bg);
                pairs.append({Pair::Kind::Text, widget, shown, *look.color, bg, surface, contrastRatio(fg, bg),
                              TextMinimum, 0});
            }
            const bool hasBorder = look.border && look.border->alpha() > 0 && !look.borderNone && look.borderWidth > 0;
            const bool hasOutline = look.outline && look.outline->alpha() > 0 && !look.outlineNone && look.outlineWidth > 0;
            if (focus && hasOutline) {
                // An outline is drawn inside the widget, at its focus rectangle: on its own background.
                const QColor ring = compositeColor(*look.outline, bg);
                pairs.append({Pair::Kind::Focus, widget, shown, *look.outline, bg, surface, contrastRatio(ring, bg),
                              NonTextMinimum, look.outlineWidth});
            } else if (focus) {
                if (hasBorder) {
                    const QColor ring = compositeColor(*look.border, base);
                    pairs.append({Pair::Kind::Focus, widget, shown, *look.border, base, surface,
                                  contrastRatio(ring, base), NonTextMinimum, look.borderWidth});
                } else {
                    pairs.append({Pair::Kind::Focus, widget, shown, look.border.value_or(QColor()), base, surface, 1.0,
                                  NonTextMinimum, 0});
                }
            } else if (hasBorder && (!look.background || compositeColor(*look.border, base) != bg)) {
                // A border in the element's own fill colour is part of the fill, not a line of its own.
                const QColor line = compositeColor(*look.border, base);
                pairs.append({Pair::Kind::Border, widget, shown, *look.border, base, surface,
                              contrastRatio(line, base), NonTextMinimum, look.borderWidth});
            }
        }
    }
    return pairs;
}

namespace {

struct Sample
{
    QString label;
    std::function<QWidget *()> make;
    bool interactive = true;
    std::function<void(QWidget *)> prepare = {};
    //! The sheet leaves the body to the platform style, which paints it in the
    //! application palette's button colour (applyPalette() gives it the theme's).
    bool nativeFace = false;
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QList<Sample> samples()
{
    QList<Sample> out;
    const QStringList colours{QStringLiteral("default"), QStringLiteral("primary"), QStringLiteral("secondary"),
                              QStringLiteral("error"),   QStringLiteral("info"),    QStringLiteral("success"),
                              QStringLiteral("warning")};
    for (const QString &colour : colours) {
        for (const char *variant : {"contained", "outlined", "text", "soft"}) {
            const QString v = QLatin1String(variant);
            out.append({QStringLiteral("Button color=%1 variant=%2").arg(colour, v), [colour, v] {
                            return new Button({.args = {QStringLiteral("Label")},
                                               .kwargs = {{QStringLiteral("color"), colour}, {QStringLiteral("variant"), v}}});
                        }});
        }
        for (const char *variant : {"circular", "extended"}) {
            const QString v = QLatin1String(variant);
            out.append({QStringLiteral("OrbAction color=%1 variant=%2").arg(colour, v), [colour, v] {
                            return create(QStringLiteral("tessera.material.button.orb_action"),
                                          {{QStringLiteral("color"), colour}, {QStringLiteral("variant"), v},
                                           {QStringLiteral("text"), QStringLiteral("Label")}});
                        }});
        }
        if (colour != u"default") {
            for (const char *variant : {"contained", "outlined", "text", "soft"}) {
                const QString v = QLatin1String(variant);
                out.append({QStringLiteral("BusyTrigger color=%1 variant=%2").arg(colour, v), [colour, v] {
                                return create(QStringLiteral("tessera.material.button.busy_trigger"),
                                              {{QStringLiteral("color"), colour}, {QStringLiteral("variant"), v},
                                               {QStringLiteral("loading"), true},
                                               {QStringLiteral("text"), QStringLiteral("Label")}});
                            },
                            false});
            }
        }
    }
    for (const char *module : {"knob_field", "stepper_field", "calendar_field"}) {
        for (const char *variant : {"outlined", "filled", "standard"}) {
            const QString m = QLatin1String(module), v = QLatin1String(variant);
            out.append({QStringLiteral("%1 variant=%2").arg(m, v), [m, v] {
                            return create(QStringLiteral("tessera.material.textfield.") + m,
                                          {{QStringLiteral("variant"), v}});
                        }});
        }
    }
    out.append({QStringLiteral("FieldShell"), [] {
                    return create(QStringLiteral("tessera.material.textfield.field_shell"),
                                  {{QStringLiteral("label"), QStringLiteral("Label")}});
                },
                false});
    // The closed look (the open one differs only in its chevron). update_state()
    // is no slot: the menu's closing applies the closed look when the icon is
    // the empty text.
    const auto popupTrigger = [] {
        return create(QStringLiteral("tessera.material.button.popup_trigger"),
                      {{QStringLiteral("icon"), QString()}, {QStringLiteral("text"), QStringLiteral("Label")}});
    };
    out.append({QStringLiteral("PopupTrigger closed look"), popupTrigger, true,
                [](QWidget *w) { QMetaObject::invokeMethod(w, "updateUiOnMenuHide"); }});
    // The look at construction: the platform's button with the menu indicator hidden.
    out.append({QStringLiteral("PopupTrigger"), popupTrigger, true, {}, true});
    out.append({QStringLiteral("PyLineEditMultiple"), [] { return new PyLineEditMultiple({.values = {QStringLiteral("chip")}}); }});
    return out;
}

} // namespace

Report measureCurrentTheme()
{
    Report report;
    const Theme *theme = useTheme();
    const QColor disabledText = parseColor(theme->resolveToken(u"palette.text.disabled").value_or(QString()));
    QList<std::pair<QString, QColor>> surfaces;
    for (const char *token : {"background.default", "background.paper"}) {
        const QColor c = parseColor(theme->resolveToken(QStringLiteral("palette.") + QLatin1String(token)).value_or(QString()));
        if (c.isValid())
            surfaces.append({QLatin1String(token), c});
    }
    // The chevrons PopupTrigger tints for its open and closed looks are drawn from the theme, not the sheet.
    if (const StyleValue *chevron = theme->components().findPath(u"PopupTrigger.styles.indicator.color"); chevron && chevron->isText()) {
        const QColor c = parseColor(theme->resolveToken(chevron->text()).value_or(chevron->text()));
        for (const auto &[surfaceName, surface] : surfaces) {
            if (c.isValid())
                report.pairs.append({Pair::Kind::Border, QStringLiteral("PopupTrigger"), QStringLiteral("chevron"), c, surface,
                                     surfaceName, contrastRatio(compositeColor(c, surface), surface), NonTextMinimum, 2});
        }
    }
    for (const QString &path : knownModules()) {
        try {
            loadModule(path);
        } catch (const std::exception &) {
            // not built or not installed: its samples are skipped below
        }
    }
    // One shown window holds each widget in turn: shown, as in an application.
    QWidget host;
    host.resize(400, 200);
    host.show();
    for (const Sample &sample : samples()) {
        std::unique_ptr<QWidget> widget;
        try {
            widget.reset(sample.make());
        } catch (const std::exception &) {
            continue;
        }
        widget->setParent(&host);
        widget->show();
        settle();
        if (sample.prepare) {
            sample.prepare(widget.get());
            settle();
        }
        bool focusRule = false;
        auto beneath = surfaces;
        if (sample.nativeFace)
            beneath.append({QStringLiteral("the button face"), themePalette().color(QPalette::Active, QPalette::Button)});
        for (const auto &[surfaceName, surface] : std::as_const(beneath)) {
            QColor own;
            report.pairs += measureSheet(widget->styleSheet(), sample.label, surface, surfaceName, disabledText,
                                         &focusRule, &own);
            for (const QWidget *child : widget->findChildren<QWidget *>()) {
                if (!child->styleSheet().isEmpty())
                    report.pairs += measureSheet(child->styleSheet(),
                                                 sample.label + QStringLiteral(" (inner %1)").arg(QLatin1String(child->metaObject()->className())),
                                                 own, surfaceName, disabledText);
            }
        }
        if (sample.interactive && !focusRule)
            report.withoutFocus << sample.label;
        widget.reset();
        settle();
    }
    return report;
}

} // namespace tessera::contrast
