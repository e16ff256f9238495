#include "popup_trigger.h"

#include <tessera/kit/registry.h>

#include <QActionEvent>
#include <QMenu>

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

QString stateSheet(const char *arrowIcon)
{
    return QStringLiteral("\n"
                          "            QPushButton {\n"
                          "                background-origin: padding;\n"
                          "                background-image: url(\"%1\");\n"
                          "                background-position: right center;\n"
                          "                background-repeat: no-repeat;\n"
                          "                border: 0px solid transparent !important;\n"
                          "                border-right: 5px solid transparent;\n"
                          "                border-bottom: 5px solid transparent;\n"
                          "                border-radius: 4px;\n"
                          "                color: #6b6b6b;\n"
                          "                font-weight: 600;\n"
                          "                font-size: 12px;\n"
                          "            }\n"
                          "            QPushButton:hover {background-color: transparent;}\n"
                          "            ")
        .arg(QLatin1String(arrowIcon));
}

const QString &openSheet()
{
    static const QString sheet = stateSheet(":/icons/svg_cache/ri_arrow-up-s-line.svg");
    return sheet;
}

const QString &closedSheet()
{
    static const QString sheet = stateSheet(":/icons/svg_cache/ri_arrow-down-s-line.svg");
    return sheet;
}

// Where the menu is shown to be measured, relative to the button's bottom-right corner.
constexpr QPoint MeasuringOffset(-1000, -1000);
// How far in from the button's left edge the opened menu starts.
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
    : Button(baseOptions(options), parent),
      _context(options.context),
      _menu(options.menu),
      _icon(options.icon),
      _aboutToHide(options.aboutToHide),
      is_open(false)
{
    setMouseTracking(true);
    if (_aboutToHide)
        followMenu();
    setContextMenuPolicy(Qt::CustomContextMenu);
    setStyleSheet(indicatorSheet());
}

PopupTrigger::~PopupTrigger() = default;

void PopupTrigger::setIconSource(const QString &icon)
{
    std::optional<QString> value;
    if (!icon.isNull())
        value = icon;
    if (value == _icon)
        return;
    _icon = std::move(value);
    setStartIcon(_icon && !_icon->isEmpty() ? *_icon : defaultStartIcon());
    Q_EMIT iconSourceChanged(iconSource());
}

QString PopupTrigger::defaultStartIcon()
{
    return QStringLiteral(":/round/resource_tessera/round/more_vert.svg");
}

void PopupTrigger::open_context_menu(const QPoint &point)
{
    Q_UNUSED(point);
    QMenu *popup = menu();
    if (!is_open) {
        if (!popup)
            return;
        is_open = true;
        popup->hide();
        const int h = get_menu_height();
        const QPoint p(MenuLeftOffset, height() - h);
        // Blocks in the menu's own loop; slots such as updateUiOnMenuHide()
        // run meanwhile, and the button may even be gone when it returns, so
        // nothing follows this call.
        popup->exec(mapToGlobal(p));
    } else {
        if (popup)
            popup->hide();
        is_open = false;
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
    if (!_icon)
        return;
    setStyleSheet(open ? openSheet() : closedSheet());
}

void PopupTrigger::updateUiOnMenuHide()
{
    if (!_icon || _icon->isEmpty())
        update_state(false);
    is_open = false;
}

void PopupTrigger::actionEvent(QActionEvent *event)
{
    Button::actionEvent(event);
    if (!_aboutToHide)
        return;
    // QPushButton::setMenu() adds the menu's action to the button (and removes
    // the previous menu's), which is how a newly installed menu is noticed.
    if (event->type() == QEvent::ActionAdded) {
        const QMenu *installed = menu();
        if (installed && event->action() == installed->menuAction())
            followMenu();
    } else if (event->type() == QEvent::ActionRemoved && m_followedAction && event->action() == m_followedAction.data()) {
        QObject::disconnect(m_aboutToHideConnection);
        m_followedAction.clear();
    }
}

void PopupTrigger::followMenu()
{
    QObject::disconnect(m_aboutToHideConnection);
    m_followedAction.clear();
    QMenu *installed = menu();
    if (!installed)
        return;
    m_followedAction = installed->menuAction();
    m_aboutToHideConnection = connect(installed, &QMenu::aboutToHide, this, [this] {
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
