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

} // namespace

class TypographyPrivate
{
public:
    StateOr<QVariant> text;
    QString variant;
    StyleMap sx;
    QMetaObject::Connection textConnection;
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

    if (State *state = d->text.state())
        d->textConnection = connect(state, &State::valueChanged, this, &Typography::refreshText);
    connect(i18n(), &I18n::langChanged, this, &Typography::refreshText);
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
    // A new text replaces a State the old one followed.
    disconnect(d->textConnection);
    d->textConnection = {};
    d->text = text;
    if (State *state = d->text.state())
        d->textConnection = connect(state, &State::valueChanged, this, &Typography::refreshText);
    refreshText();
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
    const Theme *theme = useTheme();
    const StyleMap &typography = theme->typography();

    // The variant's entry, or body1's, or nothing but the theme's base font.
    const StyleMap *entry = nullptr;
    for (const QString &name : {d->variant, QStringLiteral("body1")}) {
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
    for (const auto &[key, value] : d->sx)
        style.insert(key, value);

    QString qss;
    try {
        qss = get_qss_style(style);
    } catch (const std::exception &) {
        return;   // keep the previous look
    }
    if (qss != styleSheet())
        setStyleSheet(qss);
}

} // namespace tessera
