#include <tessera/kit/registry.h>
#include <tessera/material/button/popup_trigger.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

using namespace tessera;

namespace {

// Reaches the stored options.
class Trigger : public PopupTrigger
{
public:
    using PopupTrigger::PopupTrigger;
    using PopupTrigger::_aboutToHide;
    using PopupTrigger::_context;
    using PopupTrigger::_icon;
    using PopupTrigger::_menu;
    using PopupTrigger::is_open;
};

const QString MoreVert = QStringLiteral(":/round/resource_tessera/round/more_vert.svg");

// The three sheets, written out line by line.
QString expectedIndicatorSheet()
{
    return QStringLiteral("\n            QPushButton::menu-indicator {\n                image: none;\n            }\n        ");
}

QString expectedSheet(bool open)
{
    const QString arrow = open ? QStringLiteral("ri_arrow-up-s-line.svg") : QStringLiteral("ri_arrow-down-s-line.svg");
    const QStringList lines{
        QString(),
        QStringLiteral("            QPushButton {"),
        QStringLiteral("                background-origin: padding;"),
        QStringLiteral("                background-image: url(\":/icons/svg_cache/") + arrow + QStringLiteral("\");"),
        QStringLiteral("                background-position: right center;"),
        QStringLiteral("                background-repeat: no-repeat;"),
        QStringLiteral("                border: 0px solid transparent !important;"),
        QStringLiteral("                border-right: 5px solid transparent;"),
        QStringLiteral("                border-bottom: 5px solid transparent;"),
        QStringLiteral("                border-radius: 4px;"),
        QStringLiteral("                color: #6b6b6b;"),
        QStringLiteral("                font-weight: 600;"),
        QStringLiteral("                font-size: 12px;"),
        QStringLiteral("            }"),
        QStringLiteral("            QPushButton:hover {background-color: transparent;}"),
        QStringLiteral("            "),
    };
    return lines.join(u'\n');
}

// Runs one open_context_menu() call. When it opens the menu (QMenu::exec
// blocks), a zero-delay timer records where the menu stands, relative to the
// button, and closes it.
struct MenuRun
{
    bool opened = false;
    QPoint place;
};

MenuRun runMenu(PopupTrigger &button, QMenu &menu, const QPoint &point = QPoint())
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
        QCOMPARE(button._icon.has_value(), given);
        if (given)
            QCOMPARE(*button._icon, icon);

        // The same option written as the iconSource property (a null text is no option).
        if (!given || icon.isNull())
            return;
        Trigger written;
        if (!testsupport::checkPropertyWrite(&written, "iconSource", icon))
            return;
        QCOMPARE(*written.startIcon().plain(), startIcon);
        QCOMPARE(written._icon, button._icon);
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
        QCOMPARE(button._context.value<QObject *>(), context);
        QCOMPARE(button._menu, QVariant(QStringLiteral("actions")));
        QVERIFY(button._aboutToHide);
        QCOMPARE(button.is_open, false);
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
        button.is_open = true;
        button.updateUiOnMenuHide();
        QCOMPARE(button.is_open, false);
        QCOMPARE(button.styleSheet(), closedSheet ? expectedSheet(false) : before);
    }

    void menuOpensBesideTheButton_data()
    {
        QTest::addColumn<int>("menuHeight");
        QTest::addColumn<int>("buttonHeight");
        QTest::newRow("200 on 36") << 200 << 36;
        QTest::newRow("120 on 48") << 120 << 48;
    }

    void menuOpensBesideTheButton()
    {
        QFETCH(int, menuHeight);
        QFETCH(int, buttonHeight);
        std::unique_ptr<QMenu> menu(makeMenu(menuHeight));
        PopupTrigger button({.kwargs = {{QStringLiteral("text"), QStringLiteral("More")}}});
        button.setMenu(menu.get());
        button.setFixedSize(120, buttonHeight);
        button.move(200, 300);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        QCOMPARE(button.get_menu_height(), menuHeight);
        menu->hide();

        const MenuRun run = runMenu(button, *menu);
        QVERIFY(run.opened);
        QCOMPARE(run.place, QPoint(40, buttonHeight - menuHeight));
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
        QCOMPARE(button.is_open, false);
        button.open_context_menu(QPoint(1, 1));
        QCOMPARE(button.is_open, false);
        button.updateUiOnMenuHide();
        QCOMPARE(button.is_open, false);
        QCOMPARE(button.styleSheet(), expectedSheet(false));

        // A menu removed while counted as open: the next call only resets.
        std::unique_ptr<QMenu> menu(makeMenu(100));
        button.setMenu(menu.get());
        button.is_open = true;
        button.setMenu(nullptr);
        button.open_context_menu();
        QCOMPARE(button.is_open, false);
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
};

QTEST_MAIN(tst_PopupTrigger)
#include "tst_popup_trigger.moc"
