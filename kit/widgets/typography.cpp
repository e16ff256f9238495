#include "typography.h"

#include "accessible.h"
#include "i18n.h"
#include "qss.h"
#include "restyle_p.h"
#include "theme.h"

namespace tessera {

namespace {

// The display text of a text option value: a text, a deferred text, a text
// function, or (for a State holding something else) its plain text form.
QString displayText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    const QString translated = translate(value);
    if (!translated.isNull())
        return translated;
    if (value.canConvert<QString>())
        return value.toString();
    return {};
}

// The sheet of a text in \a variant of \a typography (the variant's font,
// or body1's, over the theme's base font), then the declarations of \a sx.
// Throws when a token of \a sx does not resolve.
QString composeSheet(const StyleMap &typography, const QString &variant, const StyleMap &sx)
{
    const StyleMap *entry = nullptr;
    for (const QString &name : {variant, QStringLiteral("body1")}) {
        if (const StyleValue *v = typography.find(name); v && v->isMap()) {
            entry = v->mapIf();
            break;
        }
    }

    StyleMap style;
    auto take = [&](const char *key) {
        const QString k = QString::fromLatin1(key);
        const StyleValue *v = entry ? entry->find(k) : nullptr;
        if (!v || v->isNone())
            v = typography.find(k);
        if (v && !v->isNone() && !v->isMap())
            style.insert(k, *v);
    };
    take("fontFamily");
    take("fontSize");
    take("fontWeight");
    take("letterSpacing");
    take("lineHeight");
    for (const auto &[key, value] : sx)
        style.insert(key, value);
    return get_qss_style(style);
}

} // namespace

class TypographyPrivate
{
public:
    StateOr<QVariant> text;
    QString variant;
    StyleMap sx;
    QMetaObject::Connection textConnection;
    QMetaObject::Connection languageConnection;
};

Typography::Typography(QWidget *parent) : Typography(Options{}, parent) {}

Typography::Typography(const Options &options, QWidget *parent) : QLabel(parent), d(std::make_unique<TypographyPrivate>())
{
    d->text = options.text;
    d->variant = options.variant;
    d->sx = options.sx;

    // The widget is the label itself, not a widget holding one: under a
    // parent's style sheet every widget costs Qt its own polish and rule
    // cache, and a BusyTrigger carries one of these.
    // Caller texts are shown as they are, never interpreted as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    followText();
    // Restyled through the kit's queue like the themed widgets: a themed
    // parent (BusyTrigger) re-polishes this label when it applies its own
    // sheet, and with both in one slice the layout request the new font posts
    // is answered once, after both.
    detail::followTheme(this, [this] { applyStyle(); });

    refreshText();
    applyStyle();
}

Typography::~Typography()
{
}

QString Typography::text() const
{
    return QLabel::text();
}

void Typography::setText(const QString &text)
{
    setTextOption(StateOr<QVariant>(QVariant(text)));
}

void Typography::setTextOption(const StateOr<QVariant> &text)
{
    d->text = text;
    followText();
    refreshText();
}

void Typography::followText()
{
    // A new text replaces a State the old one followed. Only a text that can
    // be translated (a deferred text, or a State that may come to hold one)
    // follows the language: a plain text never changes with it, and a
    // connection more per label is a hundred bytes in every BusyTrigger.
    disconnect(d->textConnection);
    disconnect(d->languageConnection);
    d->textConnection = {};
    d->languageConnection = {};
    State *state = d->text.state();
    if (state)
        d->textConnection = connect(state, &State::valueChanged, this, &Typography::refreshText);
    if (state || isCallableText(d->text.current()))
        d->languageConnection = connect(i18n(), &I18n::langChanged, this, &Typography::refreshText);
}

void Typography::refreshText()
{
    const QString shown = displayText(d->text.current());
    if (shown == QLabel::text())
        return;
    QLabel::setText(shown);
    notifyAccessibleNameChanged(this);   // static text named by what it shows
    Q_EMIT textChanged(shown);
}

QString Typography::variant() const
{
    return d->variant;
}

QString Typography::styleText() const
{
    return styleSheet();
}

QSize Typography::sizeHint() const
{
    // The font comes from the style sheet, which takes effect at polish.
    ensurePolished();
    return QLabel::sizeHint();
}

QSize Typography::minimumSizeHint() const
{
    ensurePolished();
    return QLabel::minimumSizeHint();
}

void Typography::applyStyle()
{
    // Labels of one variant and one style mapping under one theme show one
    // sheet (the label of every BusyTrigger, for one). The last sheet built
    // is kept with what it was built from and handed to the next such label:
    // QString is implicitly shared, so those labels hold one copy of the text
    // between them, and a theme switch builds it once (GUI thread only).
    static struct
    {
        bool valid = false;
        quint64 theme = 0;
        QString variant;
        StyleMap sx;
        QString qss;
    } last;
    const Theme *theme = useTheme();
    if (!last.valid || last.theme != theme->identity() || last.variant != d->variant || last.sx != d->sx) {
        QString qss;
        try {
            qss = composeSheet(theme->typography(), d->variant, d->sx);
        } catch (const std::exception &) {
            return;   // keep the previous look
        }
        last = {true, theme->identity(), d->variant, d->sx, qss};
    }
    if (last.qss != styleSheet())
        setStyleSheet(last.qss);
}

} // namespace tessera
