#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>
#include <tessera/material/button/popup_trigger_p.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace tessera;

namespace {

// Reaches the stored options in the private data.
class Trigger : public PopupTrigger
{
public:
    using PopupTrigger::PopupTrigger;
    PopupTriggerPrivate *p() { return PopupTriggerPrivate::get(this); }
};

const QString MoreVert = QStringLiteral(":/round/resource_tessera/round/more_vert.svg");

// The light theme's keyboard focus look, which follows each sheet.
const QString FocusRule = QStringLiteral(
    "QPushButton:focus { outline-style: solid; outline-width: 2px; outline-color: #212121; outline-radius: 4px; }");

// The three sheets, written out line by line.
QString expectedIndicatorSheet()
{
    return QStringLiteral("\n            QPushButton::menu-indicator {\n                image: none;\n            }\n        ")
        + FocusRule;
}

// \a rtl: mirrored for a right-to-left layout, the arrow at the left edge.
QString expectedSheet(bool open, bool rtl = false)
{
    const QString side = rtl ? QStringLiteral("left") : QStringLiteral("right");
    const QString arrow = open ? QStringLiteral("ri_arrow-up-s-line.svg") : QStringLiteral("ri_arrow-down-s-line.svg");
    QStringList lines{
        QString(),
        QStringLiteral("            QPushButton {"),
        QStringLiteral("                background-origin: padding;"),
        QStringLiteral("                background-image: url(\":/icons/svg_cache/") + arrow + QStringLiteral("\");"),
        QStringLiteral("                background-position: ") + side + QStringLiteral(" center;"),
        QStringLiteral("                background-repeat: no-repeat;"),
        QStringLiteral("                border: 0px solid transparent !important;"),
        QStringLiteral("                border-") + side + QStringLiteral(": 5px solid transparent;"),
    };
    if (rtl)
        lines.append(QStringLiteral("                padding-right: 24px;"));
    lines += QStringList{
        QStringLiteral("                border-bottom: 5px solid transparent;"),
        QStringLiteral("                border-radius: 4px;"),
        QStringLiteral("                color: #6b6b6b;"),
        QStringLiteral("                font-weight: 600;"),
        QStringLiteral("                font-size: 12px;"),
        QStringLiteral("            }"),
        QStringLiteral("            QPushButton:hover {background-color: transparent;}"),
        QStringLiteral("            "),
    };
    return lines.join(u'\n') + FocusRule;
}

// Runs one open_context_menu() call. When it opens the menu (QMenu::exec
// blocks), a zero-delay timer records where the menu stands, relative to the
// button, and closes it.
struct MenuRun
{
    bool opened = false;
    QPoint place;
};

// \a open opens the menu; by default open_context_menu(point) does.
MenuRun runMenu(PopupTrigger &button, QMenu &menu, const QPoint &point = QPoint(),
                const std::function<void()> &open = {})
{
    MenuRun run;
    QPointer<QMenu> guard = &menu;
    QTimer::singleShot(0, &menu, [&run, &button, guard] {
        if (guard && guard->isVisible()) {
            run.opened = true;
            run.place = button.mapFromGlobal(guard->pos());
            guard->hide();
        }
    });
    if (open)
        open();
    else
        button.open_context_menu(point);
    testsupport::drainEvents(2);   // the timer has fired when the menu did not open
    return run;
}

QMenu *makeMenu(int height)
{
    auto *menu = new QMenu;
    for (const char *text : {"Rename", "Duplicate", "Delete"})
        menu->addAction(QString::fromLatin1(text));
    menu->setFixedSize(160, height);
    return menu;
}

} // namespace

class tst_PopupTrigger : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testsupport::drainEvents(); }

    void startIconFollowsIcon_data()
    {
        QTest::addColumn<bool>("given");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("startIcon");
        QTest::newRow("absent") << false << QString() << MoreVert;
        QTest::newRow("empty") << true << QString() << MoreVert;
        QTest::newRow("empty text") << true << QString("") << MoreVert;
        QTest::newRow("text") << true << QStringLiteral(":/icons/svg_cache/ri_arrow-down-s-line.svg")
                              << QStringLiteral(":/icons/svg_cache/ri_arrow-down-s-line.svg");
    }

    void startIconFollowsIcon()
    {
        QFETCH(bool, given);
        QFETCH(QString, icon);
        QFETCH(QString, startIcon);
        Trigger button({.icon = given ? std::optional<QString>(icon) : std::nullopt});
        QVERIFY(button.startIcon().plain());
        QCOMPARE(*button.startIcon().plain(), startIcon);
        QCOMPARE(button.p()->_icon.has_value(), given);
        if (given)
            QCOMPARE(*button.p()->_icon, icon);

        // The same option written as the iconSource property (a null text is no option).
        if (!given || icon.isNull())
            return;
        Trigger written;
        if (!testsupport::checkPropertyWrite(&written, "iconSource", icon))
            return;
        QCOMPARE(*written.startIcon().plain(), startIcon);
        QCOMPARE(written.p()->_icon, button.p()->_icon);
        written.update_state(true);
        QCOMPARE(written.styleSheet(), expectedSheet(true));
    }

    void constructionStoresOptionsAndSetsTheIndicatorSheet()
    {
        int hides = 0;
        auto *context = new QObject;
        Trigger button({.context = QVariant::fromValue(context),
                        .menu = QStringLiteral("actions"),
                        .icon = QStringLiteral("x"),
                        .aboutToHide = [&] { ++hides; },
                        .args = {QStringLiteral("Sort")},
                        .kwargs = {{QStringLiteral("color"), QStringLiteral("primary")},
                                   {QStringLiteral("sx"), QStringLiteral("color: red;")}}});
        QCOMPARE(button.p()->_context.value<QObject *>(), context);
        QCOMPARE(button.p()->_menu, QVariant(QStringLiteral("actions")));
        QVERIFY(button.p()->_aboutToHide);
        QCOMPARE(button.p()->is_open, false);
        QCOMPARE(button.isOpen(), false);
        QVERIFY(button.hasMouseTracking());
        QCOMPARE(button.contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(button.styleSheet(), expectedIndicatorSheet());
        QCOMPARE(hides, 0);

        // Everything this class does not consume reaches Button as it came.
        QCOMPARE(button.buttonArgs(), QVariantList{QStringLiteral("Sort")});
        QCOMPARE(button.buttonOptions().value(QStringLiteral("color")), QVariant(QStringLiteral("primary")));
        QCOMPARE(button.buttonOptions().value(QStringLiteral("sx")), QVariant(QStringLiteral("color: red;")));
        QVERIFY(!button.buttonOptions().contains(QStringLiteral("startIcon")));

        // The button's own style pass runs later and leaves this sheet in force.
        testsupport::drainEvents();
        QCOMPARE(button.styleSheet(), expectedIndicatorSheet());
        delete context;
    }

    void callerStartIconIsRefused()
    {
        try {
            PopupTrigger button({.kwargs = {{QStringLiteral("startIcon"), QStringLiteral(":/x.svg")}}});
            QFAIL("a caller's startIcon was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QStringLiteral("startIcon"));
        }
    }

    void createConvertsNamedOptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("refused");
        QTest::newRow("startIcon") << "startIcon" << QVariant(QStringLiteral(":/x.svg")) << "startIcon";
        QTest::newRow("icon a number") << "icon" << QVariant(5) << "icon";
        QTest::newRow("aboutToHide a text") << "aboutToHide" << QVariant(QStringLiteral("close")) << "aboutToHide";
        QTest::newRow("icon a text") << "icon" << QVariant(QStringLiteral(":/i.svg")) << QString();
        QTest::newRow("aboutToHide a function")
            << "aboutToHide" << QVariant::fromValue(Button::ClickHandler([] {})) << QString();
    }

    void createConvertsNamedOptions()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, refused);
        const QVariantMap options{{name, value}, {QStringLiteral("text"), QStringLiteral("More")}};
        const QString path = QStringLiteral("tessera.material.button.popup_trigger");
        if (!refused.isEmpty()) {
            try {
                delete create(path, options);
                QFAIL("the options were accepted");
            } catch (const OptionError &e) {
                QCOMPARE(e.option(), refused);
            }
            return;
        }
        std::unique_ptr<QWidget> widget(create(path, options));
        auto *button = qobject_cast<PopupTrigger *>(widget.get());
        QVERIFY(button);
        QCOMPARE(button->buttonOptions().value(QStringLiteral("text")), QVariant(QStringLiteral("More")));
        QVERIFY(!button->buttonOptions().contains(name));
    }

    void updateStateSetsTheOpenAndClosedSheets_data()
    {
        QTest::addColumn<bool>("given");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("changes");
        QTest::newRow("icon absent") << false << QString() << false;
        QTest::newRow("icon empty") << true << QString() << true;
        QTest::newRow("icon x") << true << QStringLiteral("x") << true;
    }

    void updateStateSetsTheOpenAndClosedSheets()
    {
        QFETCH(bool, given);
        QFETCH(QString, icon);
        QFETCH(bool, changes);
        PopupTrigger button({.icon = given ? std::optional<QString>(icon) : std::nullopt});
        button.update_state(true);
        QCOMPARE(button.styleSheet(), changes ? expectedSheet(true) : expectedIndicatorSheet());
        button.update_state(false);
        QCOMPARE(button.styleSheet(), changes ? expectedSheet(false) : expectedIndicatorSheet());
        button.update_state(true);
        testsupport::drainEvents();   // Button's style pass does not replace it
        QCOMPARE(button.styleSheet(), changes ? expectedSheet(true) : expectedIndicatorSheet());
    }

    // With the dark theme the label and the chevrons take the theme's colours,
    // and a theme switch re-applies the sheet in force; back in the light
    // theme it is the fixed text again.
    void openAndClosedSheetsFollowTheTheme()
    {
        PopupTrigger button({.icon = QStringLiteral("x")});
        PopupTrigger plain;   // the sheet at construction follows too
        button.update_state(false);
        setTheme("dark");
        testsupport::drainEvents();
        const QString secondary = useTheme()->resolveToken(u"palette.text.secondary").value();
        const QString ring = useTheme()->resolveToken(u"palette.text.primary").value();
        const QString arrow = QStringLiteral(":/tessera/popup_trigger/%1/ri_arrow-down-s-line.svg").arg(secondary.mid(1));
        QString expected = expectedSheet(false);
        expected.replace(QStringLiteral("#6b6b6b"), secondary).replace(QStringLiteral(":/icons/svg_cache/ri_arrow-down-s-line.svg"), arrow);
        QCOMPARE(button.styleSheet(), expected.replace(QStringLiteral("#212121"), ring));
        QCOMPARE(plain.styleSheet(), expectedIndicatorSheet().replace(QStringLiteral("#212121"), ring));
        // The tinted chevron is a resource a style sheet can load, in the label's colour.
        QFile svg(arrow);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains(secondary.toLatin1()));
        QVERIFY(!QIcon(arrow).pixmap(16, 16).isNull());
        button.update_state(true);
        QVERIFY(button.styleSheet().contains(QStringLiteral(":/tessera/popup_trigger/%1/ri_arrow-up-s-line.svg").arg(secondary.mid(1))));
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(button.styleSheet(), expectedSheet(true));
        QCOMPARE(plain.styleSheet(), expectedIndicatorSheet());
    }

    // With keyboard focus each look of a trigger with its menu shows the
    // theme's ring (2 px in the text colour at the leading edge), and nothing
    // inside it moves.
    void focusShowsTheRing_data()
    {
        QTest::addColumn<bool>("closedLook");
        QTest::newRow("look at construction") << false;
        QTest::newRow("closed look") << true;
    }

    void focusShowsTheRing()
    {
        QFETCH(bool, closedLook);
        QWidget window;
        auto *button = new PopupTrigger({.icon = closedLook ? std::optional<QString>(QString()) : std::nullopt,
                                         .kwargs = {{QStringLiteral("text"), QStringLiteral("Sort by")}}});
        button->setParent(&window);
        button->setMenu(new QMenu(button));
        auto *other = new QPushButton(QStringLiteral("elsewhere"), &window);
        other->move(0, 60);
        button->setFixedSize(124, 36);
        if (closedLook)
            button->update_state(false);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus(Qt::TabFocusReason);
        testsupport::drainEvents();
        const QImage rest = button->grab().toImage();
        button->setFocus(Qt::TabFocusReason);
        testsupport::drainEvents();
        const QImage focused = button->grab().toImage();

        // Pixels of the ring's colour on the middle row, within 10 px of the leading edge.
        const QColor ring(0x21, 0x21, 0x21);
        const auto ringPixels = [&ring](const QImage &image) {
            int n = 0;
            for (int x = 0; x < 10; ++x) {
                const QColor c = image.pixelColor(x, image.height() / 2);
                n += qAbs(c.red() - ring.red()) + qAbs(c.green() - ring.green()) + qAbs(c.blue() - ring.blue()) < 40;
            }
            return n;
        };
        QCOMPARE(ringPixels(rest), 0);
        QVERIFY2(ringPixels(focused) >= 2, qPrintable(QString::number(ringPixels(focused))));
        const QRect inside = rest.rect().adjusted(10, 10, -10, -10);
        QCOMPARE(focused.copy(inside), rest.copy(inside));
    }

    // The arrow stands at the trailing edge, and moves when the direction switches.
    void sheetsMirrorInRightToLeft()
    {
        PopupTrigger button({.icon = QStringLiteral("x")});
        button.update_state(true);
        button.setLayoutDirection(Qt::RightToLeft);
        QCOMPARE(button.styleSheet(), expectedSheet(true, true));
        button.update_state(false);
        QCOMPARE(button.styleSheet(), expectedSheet(false, true));
        button.setLayoutDirection(Qt::LeftToRight);
        QCOMPARE(button.styleSheet(), expectedSheet(false));
    }

    void updateUiOnMenuHide_data()
    {
        QTest::addColumn<bool>("given");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("closedSheet");
        QTest::newRow("icon absent") << false << QString() << false;
        QTest::newRow("icon empty") << true << QString() << true;
        QTest::newRow("icon x") << true << QStringLiteral("x") << false;
    }

    void updateUiOnMenuHide()
    {
        QFETCH(bool, given);
        QFETCH(QString, icon);
        QFETCH(bool, closedSheet);
        Trigger button({.icon = given ? std::optional<QString>(icon) : std::nullopt});
        if (given)
            button.update_state(true);
        const QString before = button.styleSheet();
        button.p()->is_open = true;
        button.updateUiOnMenuHide();
        QCOMPARE(button.p()->is_open, false);
        QCOMPARE(button.styleSheet(), closedSheet ? expectedSheet(false) : before);
    }

    // The menu (160 wide) opens 40 pixels in from the button's leading edge,
    // its bottom level with the button's, whether a right click (which the
    // application connects to open_context_menu) or a key opens it.
    void menuOpensBesideTheButton_data()
    {
        QTest::addColumn<int>("menuHeight");
        QTest::addColumn<int>("buttonHeight");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::addColumn<int>("key");   // 0: open_context_menu()
        QTest::addColumn<int>("x");
        QTest::newRow("200 on 36") << 200 << 36 << Qt::LeftToRight << 0 << 40;
        QTest::newRow("120 on 48") << 120 << 48 << Qt::LeftToRight << 0 << 40;
        QTest::newRow("right to left") << 200 << 36 << Qt::RightToLeft << 0 << 120 - 40 - 160;
        QTest::newRow("Space") << 120 << 48 << Qt::LeftToRight << int(Qt::Key_Space) << 40;
        QTest::newRow("Return") << 120 << 48 << Qt::LeftToRight << int(Qt::Key_Return) << 40;
        QTest::newRow("Enter") << 120 << 48 << Qt::LeftToRight << int(Qt::Key_Enter) << 40;
        QTest::newRow("Menu, right to left") << 120 << 48 << Qt::RightToLeft << int(Qt::Key_Menu) << 120 - 40 - 160;
        QTest::newRow("Shift+F10") << 120 << 48 << Qt::LeftToRight << int(Qt::Key_F10) << 40;
    }

    void menuOpensBesideTheButton()
    {
        QFETCH(int, menuHeight);
        QFETCH(int, buttonHeight);
        QFETCH(Qt::LayoutDirection, direction);
        QFETCH(int, key);
        QFETCH(int, x);
        std::unique_ptr<QMenu> menu(makeMenu(menuHeight));
        PopupTrigger button({.kwargs = {{QStringLiteral("text"), QStringLiteral("More")}}});
        button.setLayoutDirection(direction);
        menu->setLayoutDirection(direction);
        button.setMenu(menu.get());
        button.setFixedSize(120, buttonHeight);
        button.move(200, 300);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        QCOMPARE(button.get_menu_height(), menuHeight);
        menu->hide();

        const Qt::KeyboardModifiers modifiers = key == Qt::Key_F10 ? Qt::ShiftModifier
            : key == Qt::Key_Enter                                  ? Qt::KeypadModifier
                                                                    : Qt::NoModifier;
        const MenuRun run = runMenu(button, *menu, QPoint(), key ? std::function<void()>([&] {
            QTest::keyClick(&button, Qt::Key(key), modifiers);
        }) : std::function<void()>());
        QVERIFY(run.opened);
        QCOMPARE(run.place, QPoint(x, buttonHeight - menuHeight));
        QCOMPARE(menu->height(), menuHeight);
    }

    void toggleWithUpdateUiOnMenuHideConnected()
    {
        std::unique_ptr<QMenu> menu(makeMenu(150));
        PopupTrigger button;
        button.setMenu(menu.get());
        connect(menu.get(), &QMenu::aboutToHide, &button, &PopupTrigger::updateUiOnMenuHide);
        button.move(200, 300);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        for (int i = 0; i < 3; ++i) {
            const MenuRun run = runMenu(button, *menu, i == 1 ? QPoint(5, 5) : QPoint());
            QVERIFY2(run.opened, qPrintable(QStringLiteral("call %1").arg(i)));
            QCOMPARE(button.isOpen(), false);
        }
    }

    void toggleWithoutUpdateUiOnMenuHide()
    {
        std::unique_ptr<QMenu> menu(makeMenu(150));
        PopupTrigger button;
        button.setMenu(menu.get());
        button.move(200, 300);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        MenuRun run = runMenu(button, *menu);
        QVERIFY(run.opened);
        QCOMPARE(button.isOpen(), true);   // nobody reset it when the menu closed

        run = runMenu(button, *menu, QPoint(3, 4));
        QVERIFY(!run.opened);
        QCOMPARE(button.isOpen(), false);
        QVERIFY(!menu->isVisible());

        run = runMenu(button, *menu);
        QVERIFY(run.opened);
        QCOMPARE(button.isOpen(), true);
    }

    void menuOperationsWithoutAMenu()
    {
        Trigger button({.icon = QString()});
        button.show();
        QCOMPARE(button.get_menu_height(), 0);
        button.open_context_menu();
        QCOMPARE(button.p()->is_open, false);
        button.open_context_menu(QPoint(1, 1));
        QCOMPARE(button.p()->is_open, false);
        button.updateUiOnMenuHide();
        QCOMPARE(button.p()->is_open, false);
        QCOMPARE(button.styleSheet(), expectedSheet(false));

        // A menu removed while counted as open: the next call only resets.
        std::unique_ptr<QMenu> menu(makeMenu(100));
        button.setMenu(menu.get());
        button.p()->is_open = true;
        button.setMenu(nullptr);
        button.open_context_menu();
        QCOMPARE(button.p()->is_open, false);
    }

    void aboutToHideFollowsTheInstalledMenu()
    {
        int calls = 0;
        auto *trigger = new PopupTrigger({.aboutToHide = [&] { ++calls; }});   // no menu yet
        PopupTrigger &button = *trigger;
        std::unique_ptr<QMenu> first(makeMenu(100));
        std::unique_ptr<QMenu> second(makeMenu(100));

        Q_EMIT first->aboutToHide();
        QCOMPARE(calls, 0);

        button.setMenu(first.get());
        Q_EMIT first->aboutToHide();
        QCOMPARE(calls, 1);
        first->popup(QPoint(10, 10));
        first->hide();
        QCOMPARE(calls, 2);

        button.setMenu(second.get());
        Q_EMIT first->aboutToHide();
        QCOMPARE(calls, 2);   // a replaced menu no longer reaches it
        Q_EMIT second->aboutToHide();
        QCOMPARE(calls, 3);

        button.setMenu(nullptr);
        Q_EMIT second->aboutToHide();
        QCOMPARE(calls, 3);

        button.setMenu(second.get());
        second.reset();   // the menu dies while installed
        QVERIFY(!button.menu());
        QCOMPARE(calls, 3);

        button.setMenu(first.get());
        delete trigger;   // the connection ends with the button
        Q_EMIT first->aboutToHide();
        QCOMPARE(calls, 3);
    }

    void failingAboutToHideIsDropped()
    {
        int calls = 0;
        std::unique_ptr<QMenu> menu(makeMenu(100));
        PopupTrigger button({.aboutToHide = [&] {
            ++calls;
            throw std::runtime_error("menu callback failed");
        }});
        button.setMenu(menu.get());
        connect(menu.get(), &QMenu::aboutToHide, &button, &PopupTrigger::updateUiOnMenuHide);
        button.move(200, 300);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        const MenuRun run = runMenu(button, *menu);
        QVERIFY(run.opened);
        QVERIFY(calls >= 1);
        QCOMPARE(button.isOpen(), false);
    }

    void buttonDeletedWhileItsMenuRuns()
    {
        std::unique_ptr<QMenu> menu(makeMenu(100));
        auto *button = new PopupTrigger;
        QPointer<PopupTrigger> guard = button;
        button->setMenu(menu.get());
        connect(menu.get(), &QMenu::aboutToHide, button, &PopupTrigger::updateUiOnMenuHide);
        button->move(200, 300);
        button->show();
        QVERIFY(QTest::qWaitForWindowExposed(button));
        QTimer::singleShot(0, menu.get(), [&] {
            delete guard.data();
            menu->hide();
        });
        button->open_context_menu();
        QVERIFY(!guard);
        QVERIFY(!menu->isVisible());
    }

    // A child that, from its destructor, closes the trigger's menu and sets
    // the Button States the trigger follows: neither reaches the trigger once
    // its own destructor has run (the aboutToHide callback is gone by then).
    void teardownWithAChildClosingTheMenuAndSettingStates()
    {
        int calls = 0;
        State text(QStringLiteral("Menu")), color(QStringLiteral("primary")), disabled(false);
        auto *trigger = new PopupTrigger({.aboutToHide = [&] { ++calls; },
                                          .kwargs = {{"text", QVariant::fromValue(&text)},
                                                     {"color", QVariant::fromValue(&color)},
                                                     {"disabled", QVariant::fromValue(&disabled)}}});
        std::unique_ptr<QMenu> menu(makeMenu(100));
        trigger->setMenu(menu.get());
        auto *late = new testsupport::LateSetter(
            {{&text, QStringLiteral("Gone")}, {&color, QStringLiteral("error")}, {&disabled, true}}, trigger);
        late->also = [&menu] { menu->hide(); };
        menu->popup(QPoint(10, 10));
        QVERIFY(menu->isVisible());
        delete trigger;
        QVERIFY(!menu->isVisible());   // the child did close it
        QCOMPARE(calls, 0);
        QCOMPARE(text.value(), QVariant(QStringLiteral("Gone")));
    }
};

QTEST_MAIN(tst_PopupTrigger)
#include "tst_popup_trigger.moc"
