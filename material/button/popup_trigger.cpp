#include "popup_trigger_p.h"

#include <tessera/kit/registry.h>

#include <tessera/kit/colors.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/theme.h>

#include <QActionEvent>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QResource>
#include <QtEndian>

#include <algorithm>

namespace tessera {

namespace {

const QString &indicatorSheet()
{
    static const QString sheet = QStringLiteral("\n"
                                                "            QPushButton::menu-indicator {\n"
                                                "                image: none;\n"
                                                "            }\n"
                                                "        ");
    return sheet;
}

// The open or closed sheet with its arrow at the trailing edge: at the
// right, or at the left in a right-to-left layout, where a style sheet
// mirrors the padding but not the background position nor the borders.
QString stateSheet(const QString &arrowIcon, const QString &labelColor, Qt::LayoutDirection direction)
{
    const bool mirrored = direction == Qt::RightToLeft;
    return QStringLiteral("\n"
                          "            QPushButton {\n"
                          "                background-origin: padding;\n"
                          "                background-image: url(\"%1\");\n"
                          "                background-position: %2 center;\n"
                          "                background-repeat: no-repeat;\n"
                          "                border: 0px solid transparent !important;\n"
                          "                border-%2: 5px solid transparent;\n"
                          "%3"
                          "                border-bottom: 5px solid transparent;\n"
                          "                border-radius: 4px;\n"
                          "                color: %4;\n"
                          "                font-weight: 600;\n"
                          "                font-size: 12px;\n"
                          "            }\n"
                          "            QPushButton:hover {background-color: transparent;}\n"
                          "            ")
        .arg(arrowIcon, mirrored ? QLatin1String("left") : QLatin1String("right"),
             // The label keeps the menu indicator's room at the right edge
             // only; the trailing padding makes room for the arrow at the left.
             mirrored ? QLatin1String("                padding-right: 24px;\n") : QLatin1String(), labelColor);
}

constexpr QLatin1String ArrowUp("ri_arrow-up-s-line.svg");
constexpr QLatin1String ArrowDown("ri_arrow-down-s-line.svg");
constexpr QLatin1String ArrowFolder(":/icons/svg_cache/");

// The hash Qt's resource tree orders and finds names by.
quint32 resourceNameHash(QStringView name)
{
    quint32 h = 0;
    for (QChar c : name) {
        h = (h << 4) + c.unicode();
        h ^= (h & 0xf0000000) >> 23;
        h &= 0x0fffffff;
    }
    return h;
}

/*
    An in-memory resource bundle (the format rcc writes, version 2) holding
    \a files in one folder. The style sheet loads its background image from a
    resource path, so chevrons in another colour are offered as resources of
    their own.
*/
QByteArray resourceBundle(QList<std::pair<QString, QByteArray>> files)
{
    std::sort(files.begin(), files.end(),
              [](const auto &a, const auto &b) { return resourceNameHash(a.first) < resourceNameHash(b.first); });
    const auto put16 = [](QByteArray &out, quint16 v) {
        const quint16 be = qToBigEndian(v);
        out.append(reinterpret_cast<const char *>(&be), 2);
    };
    const auto put32 = [](QByteArray &out, quint32 v) {
        const quint32 be = qToBigEndian(v);
        out.append(reinterpret_cast<const char *>(&be), 4);
    };
    const auto put64 = [](QByteArray &out, quint64 v) {
        const quint64 be = qToBigEndian(v);
        out.append(reinterpret_cast<const char *>(&be), 8);
    };
    QByteArray names, data, tree;
    const quint64 modified = quint64(QDateTime::currentMSecsSinceEpoch());
    // The folder is node 0, its files follow from node 1 on.
    put32(tree, 0);
    put16(tree, 0x02);
    put32(tree, quint32(files.size()));
    put32(tree, 1);
    put64(tree, modified);
    for (const auto &[name, bytes] : files) {
        const quint32 nameOffset = quint32(names.size());
        put16(names, quint16(name.size()));
        put32(names, resourceNameHash(name));
        for (QChar c : name)
            put16(names, c.unicode());
        const quint32 dataOffset = quint32(data.size());
        put32(data, quint32(bytes.size()));
        data += bytes;
        put32(tree, nameOffset);
        put16(tree, 0);      // a file, not compressed
        put16(tree, 0);      // any territory
        put16(tree, 1);      // QLocale::C: the default for every language
        put32(tree, dataOffset);
        put64(tree, modified);
    }
    QByteArray out("qres");
    const quint32 header = 4 + 4 * 4;
    put32(out, 2);
    put32(out, header);
    put32(out, header + quint32(tree.size()));
    put32(out, header + quint32(tree.size() + data.size()));
    return out + tree + data + names;
}

// The folder of chevrons drawn in \a color: the kit's own for black, else a
// bundle registered once per colour and kept for the application's life (a
// theme has few colours).
QString arrowFolder(const QColor &color)
{
    if (color == QColor(Qt::black))
        return ArrowFolder;
    static QHash<QString, QByteArray> bundles;
    const QString hex = color.name(QColor::HexRgb).mid(1);
    const QString folder = QStringLiteral("/tessera/popup_trigger/%1").arg(hex);
    if (!bundles.contains(hex)) {
        QList<std::pair<QString, QByteArray>> files;
        for (const QString &name : {ArrowUp, ArrowDown}) {
            QFile source(ArrowFolder + name);
            if (!source.open(QIODevice::ReadOnly))
                return ArrowFolder;
            QByteArray svg = source.readAll();
            svg.replace("#000000", color.name(QColor::HexRgb).toLatin1());
            files.append({name, svg});
        }
        const QByteArray bundle = resourceBundle(files);
        // Registered from the copy kept in the hash: Qt reads the bytes in place.
        const QByteArray &kept = *bundles.insert(hex, bundle);
        if (!QResource::registerResource(reinterpret_cast<const uchar *>(kept.constData()), folder)) {
            bundles.remove(hex);
            return ArrowFolder;
        }
    }
    return u':' + folder + u'/';
}

// A colour of the theme's "PopupTrigger" entry, or \a fallback.
QColor lookColor(const char *slot, const QColor &fallback)
{
    const Theme *theme = useTheme();
    const StyleValue *value =
        theme->components().findPath(QStringLiteral("PopupTrigger.styles.%1.color").arg(QLatin1String(slot)));
    if (!value || !value->isText())
        return fallback;
    const QString text = value->text();
    const QColor color = parseColor(theme->resolveToken(text).value_or(text));
    return color.isValid() ? color : fallback;
}

/*
    \a sheet followed by the theme's keyboard focus look, the
    "PopupTrigger.styles.focus" mapping, as a ":focus" rule (nothing without
    one). The built-in themes draw it with QSS outline properties: an outline
    is drawn at the button's focus rectangle and takes no room, so neither the
    native look nor the open and closed looks move their label or arrow.
*/
QString withFocusRule(const QString &sheet)
{
    const StyleValue *entry = useTheme()->components().findPath(u"PopupTrigger.styles.focus");
    const StyleMap *focus = entry ? entry->mapIf() : nullptr;
    const QString declarations = focus ? get_qss_style(*focus) : QString();
    if (declarations.isEmpty())
        return sheet;
    return sheet + QStringLiteral("QPushButton:focus { ") + declarations + QStringLiteral(" }");
}

// The sheet set at construction, for the current theme.
QString themedIndicatorSheet()
{
    return withFocusRule(indicatorSheet());
}

// The open or closed sheet for the current theme and a layout direction.
QString themedStateSheet(bool open, Qt::LayoutDirection direction)
{
    const QColor label = lookColor("label", QColor(0x6b, 0x6b, 0x6b));
    const QColor indicator = lookColor("indicator", QColor(Qt::black));
    return withFocusRule(stateSheet(arrowFolder(indicator) + (open ? ArrowUp : ArrowDown), colorText(label), direction));
}

// Where the menu is shown to be measured, relative to the button's bottom-right corner.
constexpr QPoint MeasuringOffset(-1000, -1000);
// How far in from the button's leading edge (left, or right in a
// right-to-left layout) the opened menu starts.
constexpr int MenuLeftOffset = 40;

Button::Options baseOptions(const PopupTrigger::Options &options)
{
    option::forbid(options.kwargs, QStringLiteral("startIcon"),
                   QStringLiteral("a PopupTrigger sets its start icon from its icon option"));
    Button::Options out;
    out.args = options.args;
    out.startIcon = options.icon && !options.icon->isEmpty() ? *options.icon : PopupTrigger::defaultStartIcon();
    out.kwargs = options.kwargs;
    return out;
}

} // namespace

PopupTrigger::PopupTrigger(QWidget *parent) : PopupTrigger(Options{}, parent) {}

PopupTrigger::PopupTrigger(const Options &options, QWidget *parent)
    : Button(baseOptions(options), parent), d(std::make_unique<PopupTriggerPrivate>(this))
{
    d->_context = options.context;
    d->_menu = options.menu;
    d->_icon = options.icon;
    d->_aboutToHide = options.aboutToHide;
    d->is_open = false;

    setMouseTracking(true);
    if (d->_aboutToHide)
        d->followMenu();
    setContextMenuPolicy(Qt::CustomContextMenu);
    d->indicatorSheet = themedIndicatorSheet();
    setStyleSheet(d->indicatorSheet);
}

PopupTrigger::~PopupTrigger()
{
    // The menu may close while Qt destroys the children (a child's destructor
    // may hide it); the callback it would run is gone by then.
    d->menuSubscription.release();
}

void PopupTrigger::setIconSource(const QString &icon)
{
    std::optional<QString> value;
    if (!icon.isNull())
        value = icon;
    if (value == d->_icon)
        return;
    d->_icon = std::move(value);
    setStartIcon(d->_icon && !d->_icon->isEmpty() ? *d->_icon : defaultStartIcon());
    Q_EMIT iconSourceChanged(iconSource());
}

QString PopupTrigger::iconSource() const
{
    return d->_icon.value_or(QString());
}

bool PopupTrigger::isOpen() const
{
    return d->is_open;
}

QString PopupTrigger::defaultStartIcon()
{
    return QStringLiteral(":/round/resource_tessera/round/more_vert.svg");
}

void PopupTrigger::open_context_menu(const QPoint &point)
{
    Q_UNUSED(point);
    QMenu *popup = menu();
    if (!d->is_open) {
        if (!popup)
            return;
        d->is_open = true;
        popup->hide();
        const int h = get_menu_height();
        // Mirrored in a right-to-left layout: the menu's right edge stands
        // 40 pixels in from the button's right edge.
        const int x = isRightToLeft() ? width() - MenuLeftOffset - popup->width() : MenuLeftOffset;
        const QPoint p(x, height() - h);
        // Blocks in the menu's own loop; slots such as updateUiOnMenuHide()
        // run meanwhile, and the button may even be gone when it returns, so
        // nothing follows this call.
        popup->exec(mapToGlobal(p));
    } else {
        if (popup)
            popup->hide();
        d->is_open = false;
    }
}

int PopupTrigger::get_menu_height()
{
    QMenu *popup = menu();
    if (!popup)
        return 0;
    popup->popup(mapToGlobal(pos()) + rect().bottomRight() + MeasuringOffset);
    return popup->height();
}

void PopupTrigger::update_state(bool open)
{
    if (!d->_icon)
        return;
    d->stateOpen = open;
    d->stateSheet = themedStateSheet(open, layoutDirection());
    setStyleSheet(d->stateSheet);
}

void PopupTrigger::_set_stylesheet(const StyleMap &component_styled)
{
    Button::_set_stylesheet(component_styled);
    // After a theme change: the sheet in force again, in the new colours.
    d->refreshOwnSheet();
}

void PopupTrigger::updateUiOnMenuHide()
{
    if (!d->_icon || d->_icon->isEmpty())
        update_state(false);
    d->is_open = false;
}

void PopupTrigger::keyPressEvent(QKeyEvent *event)
{
    // The keys that open a push button's menu (Space, and Enter and Return,
    // which click a Button), and the keyboard's context-menu keys (Menu,
    // Shift+F10), open it where a right click does.
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool opens = (modifiers == Qt::NoModifier
                        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Menu))
        || (modifiers == Qt::ShiftModifier && key == Qt::Key_F10);
    if (opens && menu() && !event->isAutoRepeat()) {
        event->accept();
        open_context_menu();
        return;
    }
    Button::keyPressEvent(event);
}

void PopupTrigger::changeEvent(QEvent *event)
{
    Button::changeEvent(event);
    // The open or closed look follows a switch of the layout direction,
    // unless someone has set another sheet since.
    if (event->type() == QEvent::LayoutDirectionChange)
        d->refreshOwnSheet();
}

void PopupTrigger::actionEvent(QActionEvent *event)
{
    Button::actionEvent(event);
    if (!d->_aboutToHide)
        return;
    // QPushButton::setMenu() adds the menu's action to the button (and removes
    // the previous menu's), which is how a newly installed menu is noticed.
    if (event->type() == QEvent::ActionAdded) {
        const QMenu *installed = menu();
        if (installed && event->action() == installed->menuAction())
            d->followMenu();
    } else if (event->type() == QEvent::ActionRemoved && d->followedAction && event->action() == d->followedAction.data()) {
        d->menuSubscription.release();
        d->followedAction.clear();
    }
}

void PopupTriggerPrivate::refreshOwnSheet()
{
    // The sheet the trigger set last (the open or closed one once
    // update_state() ran, the indicator sheet before), unless someone has set
    // another since.
    QString fresh;
    if (!stateSheet.isEmpty() && q->styleSheet() == stateSheet)
        fresh = stateSheet = themedStateSheet(stateOpen, q->layoutDirection());
    else if (stateSheet.isEmpty() && q->styleSheet() == indicatorSheet)
        fresh = indicatorSheet = themedIndicatorSheet();
    if (!fresh.isEmpty() && q->styleSheet() != fresh)
        q->setStyleSheet(fresh);
}

void PopupTriggerPrivate::followMenu()
{
    menuSubscription.release();
    followedAction.clear();
    QMenu *installed = q->menu();
    if (!installed)
        return;
    followedAction = installed->menuAction();
    menuSubscription << QObject::connect(installed, &QMenu::aboutToHide, q, [this] {
        try {
            _aboutToHide();
        } catch (...) {
            // A failing callback must not unwind through the menu's event loop.
        }
    });
}

} // namespace tessera

namespace {

QWidget *createPopupTrigger(const QVariantMap &options)
{
    using namespace tessera;
    PopupTrigger::Options o;
    o.context = options.value(QStringLiteral("context"));
    o.menu = options.value(QStringLiteral("menu"));
    o.icon = option::optionalText(options, QStringLiteral("icon"));
    const QVariant aboutToHide = options.value(QStringLiteral("aboutToHide"));
    if (aboutToHide.metaType() == QMetaType::fromType<Button::ClickHandler>())
        o.aboutToHide = aboutToHide.value<Button::ClickHandler>();
    else if (aboutToHide.isValid() && !aboutToHide.isNull())
        throw OptionError(QStringLiteral("aboutToHide"), QStringLiteral("expected a function taking no arguments"));
    const QVariant args = options.value(QStringLiteral("args"));
    if (args.typeId() == QMetaType::QVariantList)
        o.args = args.toList();
    else if (args.isValid() && !args.isNull())
        throw OptionError(QStringLiteral("args"), QStringLiteral("expected a list of positional arguments"));
    o.kwargs = option::rest(options, {QStringLiteral("context"), QStringLiteral("menu"), QStringLiteral("icon"),
                                      QStringLiteral("aboutToHide"), QStringLiteral("args")});
    return new PopupTrigger(o);
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.button.popup_trigger", PopupTrigger, createPopupTrigger)
