// The "Buttons" page: a popup trigger with its menu in the open and closed
// looks, floating action buttons in every variant, colour and size (one of
// them turning while a switch is on), and a chip stack whose State is
// changed by buttons: a list, a single widget, a factory, and a tags field
// that is kept across rebuilds.

#include "../gallery.h"

#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/chip_stack.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QVBoxLayout>

#include <memory>

namespace {

using gallery::row;

using tessera::DeferredText;
using tessera::deferredTr;
using tessera::OrbAction;
using tessera::PopupTrigger;

constexpr char ArrowUp[] = ":/icons/svg_cache/ri_arrow-up-s-line.svg";
constexpr char MoreVert[] = ":/round/resource_tessera/round/more_vert.svg";
constexpr char Spinner[] = "eos-icons:loading";

QVariant text(const DeferredText &t)
{
    return QVariant::fromValue(t);
}

QString token(const char *path)
{
    return tessera::useTheme()->resolveToken(QString::fromLatin1(path)).value_or(QString());
}


// Keeps a widget's text in step with the language switch.
template<typename Widget, typename Setter>
void followLanguage(Widget *widget, const DeferredText &title, Setter set)
{
    set(widget, tessera::translate(title));
    QObject::connect(tessera::i18n(), &tessera::I18n::langChanged, widget,
                     [widget, title, set] { set(widget, tessera::translate(title)); });
}

QLabel *note(const DeferredText &title)
{
    auto *label = new QLabel;
    followLanguage(label, title, [](QLabel *l, const QString &t) { l->setText(t); });
    const auto restyle = [label] {
        label->setStyleSheet(QStringLiteral("QLabel { color: %1; font-size: 12px; }").arg(token("palette.text.secondary")));
    };
    restyle();
    QObject::connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, label, restyle);
    return label;
}

// ---- Popup trigger -------------------------------------------------------

QMenu *sortMenu(QWidget *owner)
{
    auto *menu = new QMenu(owner);
    const DeferredText entries[] = {deferredTr("Gallery", "Name"), deferredTr("Gallery", "Date modified"),
                                    deferredTr("Gallery", "Size"), deferredTr("Gallery", "Kind")};
    for (const DeferredText &entry : entries) {
        QAction *action = menu->addAction(QString());
        action->setCheckable(true);
        followLanguage(action, entry, [](QAction *a, const QString &t) { a->setText(t); });
    }
    menu->actions().constFirst()->setChecked(true);
    return menu;
}

// A trigger wired the way an application would: a right click opens the menu
// beside the button, closing it resets the button, and the arrow follows.
PopupTrigger *trigger(QWidget *owner, std::optional<QString> icon, const DeferredText &title, bool openLook)
{
    auto *button = new PopupTrigger({.icon = icon, .kwargs = {{"text", text(title)}}});
    QMenu *menu = sortMenu(owner);
    button->setMenu(menu);
    QObject::connect(button, &QWidget::customContextMenuRequested, button, &PopupTrigger::open_context_menu);
    QObject::connect(menu, &QMenu::aboutToShow, button, [button] { button->update_state(true); });
    QObject::connect(menu, &QMenu::aboutToHide, button, &PopupTrigger::updateUiOnMenuHide);
    button->setMinimumWidth(124);
    button->setFixedHeight(36);
    button->update_state(openLook);
    return button;
}

QWidget *popupSection(QWidget *page)
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto *plain = new PopupTrigger({.kwargs = {{"text", text(deferredTr("Gallery", "More"))}}});
    plain->setMenu(sortMenu(page));
    QObject::connect(plain, &QWidget::customContextMenuRequested, plain, &PopupTrigger::open_context_menu);
    QObject::connect(plain->menu(), &QMenu::aboutToHide, plain, &PopupTrigger::updateUiOnMenuHide);
    plain->setFixedHeight(36);

    const auto labelled = [](QWidget *w, const DeferredText &title) {
        auto *cell = new QWidget;
        auto *v = new QVBoxLayout(cell);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(4);
        v->addWidget(w, 0, Qt::AlignLeft);
        v->addWidget(note(title));
        return cell;
    };
    layout->addWidget(row({labelled(trigger(page, QString(), deferredTr("Gallery", "Sort by"), true),
                                    deferredTr("Gallery", "Open look")),
                           labelled(trigger(page, QString(), deferredTr("Gallery", "Sort by"), false),
                                    deferredTr("Gallery", "Closed look")),
                           labelled(plain, deferredTr("Gallery", "Default icon"))},
                          24));
    layout->addWidget(gallery::caption(deferredTr(
        "Gallery", "Right-click a trigger: its menu opens 40 pixels in from the button's leading edge (the "
                   "right one in a right-to-left language), level with its bottom. A second right-click while it "
                   "counts as open only closes it.")));
    return box;
}

// ---- Orb actions ---------------------------------------------------------

QWidget *orbSection(QWidget *page)
{
    auto *box = new QWidget;
    auto *grid = gallery::gridOn(box, 14, 14);

    const char *colors[] = {"default", "primary", "secondary", "success", "error", "warning", "info"};
    const char *sizes[] = {"small", "medium", "large"};
    int column = 0;
    for (const char *color : colors) {
        grid->addWidget(new OrbAction({.icon = ArrowUp, .kwargs = {{"color", QString::fromLatin1(color)}}}), 0, column,
                        Qt::AlignCenter);
        ++column;
    }

    QList<QWidget *> sized;
    for (const char *size : sizes)
        sized.append(new OrbAction({.icon = MoreVert, .kwargs = {{"color", "primary"}, {"size", QString::fromLatin1(size)}}}));
    sized.append(new OrbAction({.icon = ArrowUp, .kwargs = {{"disabled", true}}}));
    grid->addWidget(row(sized, 14), 1, 0, 1, int(std::size(colors)));

    // One orb turns its icon while the switch is on.
    auto *spinning = new tessera::State(true, page);
    auto *sync = new OrbAction({.icon = Spinner,
                                .animate = spinning,
                                .kwargs = {{"variant", "extended"}, {"color", "secondary"},
                                           {"text", text(deferredTr("Gallery", "Syncing"))}}});
    auto *toTop = new OrbAction({.icon = ArrowUp,
                                 .kwargs = {{"variant", "extended"}, {"color", "primary"}, {"size", "medium"},
                                            {"text", text(deferredTr("Gallery", "Back to top"))}}});
    auto *extendedSmall = new OrbAction({.icon = MoreVert,
                                         .kwargs = {{"variant", "extended"}, {"size", "small"},
                                                    {"text", text(deferredTr("Gallery", "Options"))}}});
    auto *turn = new QCheckBox;
    turn->setChecked(true);
    followLanguage(turn, deferredTr("Gallery", "Animate"), [](QCheckBox *c, const QString &t) { c->setText(t); });
    QObject::connect(turn, &QCheckBox::toggled, spinning, [spinning](bool on) { spinning->setValue(on); });
    grid->addWidget(row({sync, toTop, extendedSmall, turn}, 14), 2, 0, 1, int(std::size(colors)));
    grid->setColumnStretch(int(std::size(colors)), 1);
    return box;
}

// ---- Chip stack ----------------------------------------------------------

// A rounded chip in the theme's colours.
QLabel *chip(const QString &title, const char *color)
{
    auto *label = new QLabel(title);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    label->setFixedHeight(32);
    label->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);   // as wide as its text
    const QString main = QStringLiteral("palette.%1.main").arg(QLatin1String(color));
    const auto restyle = [label, main] {
        label->setStyleSheet(
            QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid %3; border-radius: 16px; "
                           "padding: 0px 14px; font-size: 13px; font-weight: 500; }")
                .arg(token("palette.background.paper"), token("palette.text.primary"),
                     tessera::useTheme()->resolveToken(main).value_or(QString())));
    };
    restyle();
    QObject::connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, label, restyle);
    return label;
}

QWidget *chipSection(QWidget *page)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(24);

    // The tags field lives as long as the page; the stack only takes it in and out.
    auto *tags = new tessera::PyLineEditMultiple({.values = {QStringLiteral("qt"), QStringLiteral("c++")}});
    tags->setMinimumWidth(280);
    followLanguage(tags, deferredTr("Gallery", "Add tag"),
                   [](tessera::PyLineEditMultiple *t, const QString &text) { t->lineEdit()->setPlaceholderText(text); });

    const auto list = [] {
        return tessera::widgetListValue({chip(QCoreApplication::translate("Gallery", "Design review"), "primary"),
                                         chip(QCoreApplication::translate("Gallery", "Release notes"), "secondary"),
                                         chip(QCoreApplication::translate("Gallery", "Accessibility pass"), "success")});
    };
    auto *content = new tessera::State(list(), page);
    const auto made = std::make_shared<int>(0);
    QPointer<tessera::PyLineEditMultiple> keptTags = tags;

    auto *stack = new tessera::ChipStack({.content = content});
    stack->layout()->setSpacing(8);

    // A card around the stack, so its area can be seen.
    auto *card = new QFrame;
    card->setObjectName(QStringLiteral("chipCard"));
    card->setMinimumSize(340, 200);
    auto *cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(16, 16, 16, 16);
    cardLayout->addWidget(stack);
    const auto restyleCard = [card] {
        card->setStyleSheet(QStringLiteral("#chipCard { background-color: %1; border: 1px solid %2; border-radius: 12px; }")
                                .arg(token("palette.background.paper"), token("palette.divider")));
    };
    restyleCard();
    QObject::connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, card, restyleCard);

    // What the stack shows now, in the current language.
    auto *kind = note(deferredTr("Gallery", "Showing: a list of three chips"));
    const auto kindTitle = std::make_shared<DeferredText>(deferredTr("Gallery", "Showing: a list of three chips"));
    QObject::connect(tessera::i18n(), &tessera::I18n::langChanged, kind,
                     [kind, kindTitle] { kind->setText(tessera::translate(*kindTitle)); });
    const auto setKind = [kind, kindTitle](const DeferredText &title) {
        *kindTitle = title;
        kind->setText(tessera::translate(title));
    };

    const auto action = [](const DeferredText &title, tessera::Button::ClickHandler onClick) {
        return new tessera::Button({.kwargs = {{"text", text(title)},
                                               {"variant", "outlined"},
                                               {"size", "small"},
                                               {"onClick", QVariant::fromValue(onClick)}}});
    };
    auto *buttons = new QWidget;
    auto *column = new QVBoxLayout(buttons);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(action(deferredTr("Gallery", "List"), [content, list, setKind] {
        content->setValue(list());
        setKind(deferredTr("Gallery", "Showing: a list of three chips"));
    }));
    column->addWidget(action(deferredTr("Gallery", "Single widget"), [content, setKind] {
        content->setValue(
            tessera::widgetValue(chip(QCoreApplication::translate("Gallery", "Only this chip"), "info")));
        setKind(deferredTr("Gallery", "Showing: one widget"));
    }));
    column->addWidget(action(deferredTr("Gallery", "Factory"), [content, made, setKind] {
        content->setValue(tessera::widgetFactoryValue([made] {
            ++*made;
            return chip(QCoreApplication::translate("Gallery", "Made by a factory, call %1").arg(*made), "warning");
        }));
        setKind(deferredTr("Gallery", "Showing: what a factory made"));
    }));
    column->addWidget(action(deferredTr("Gallery", "With tags field"), [content, keptTags, setKind] {
        content->setValue(tessera::widgetListValue(
            {keptTags.data(), chip(QCoreApplication::translate("Gallery", "Tagged"), "primary")}));
        setKind(deferredTr("Gallery", "Showing: the tags field, kept across rebuilds, and a chip"));
    }));
    column->addWidget(action(deferredTr("Gallery", "Clear"), [content, setKind] {
        content->setValue(QVariant());
        setKind(deferredTr("Gallery", "Showing: nothing"));
    }));
    column->addStretch(1);

    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(8);
    rightLayout->addWidget(kind);
    rightLayout->addWidget(card);
    rightLayout->addStretch(1);

    // Until the stack first shows it, the tags field waits hidden in the page.
    tags->setParent(stack);
    tags->hide();
    // The stack takes the field out without hiding it; the page hides it
    // while it is not shown (this runs after the stack's own rebuild).
    QObject::connect(content, &tessera::State::valueChanged, tags, [keptTags, stack] {
        if (keptTags)
            keptTags->setVisible(stack->layout()->indexOf(keptTags) >= 0);
    });

    layout->addWidget(buttons);
    layout->addWidget(right);
    layout->addStretch(1);
    return box;
}

QWidget *makeButtonsPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page, 4);
    layout->addWidget(gallery::section(deferredTr("Gallery", "Popup trigger"), popupSection(page)));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Orb actions"), orbSection(page)));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Chip stack"), chipSection(page)));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("buttons", 50, tessera::deferredTr("Gallery", "Buttons"), makeButtonsPage)
