#pragma once

#include <tessera/kit/button.h>
#include <tessera/material/button/popup_trigger_export.h>

#include <QPoint>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QActionEvent;
class QKeyEvent;
class QMenu;

namespace tessera {

class PopupTriggerPrivate;

/*!
    A push button that opens its popup menu beside itself: 40 pixels in from
    its left edge (in a right-to-left layout, the menu's right edge 40 pixels
    in from the button's right edge), with the menu's bottom level with the
    button's bottom. It
    toggles the menu open and closed and can switch between an open-menu and a
    closed-menu look.

    \code
    auto *more = new tessera::PopupTrigger({.icon = "", .kwargs = {{"text", "Sort"}}});
    more->setMenu(sortMenu);
    QObject::connect(sortMenu, &QMenu::aboutToHide, more, &tessera::PopupTrigger::updateUiOnMenuHide);
    QObject::connect(more, &QWidget::customContextMenuRequested, more, &tessera::PopupTrigger::open_context_menu);
    \endcode

    The application installs the menu with QPushButton::setMenu() and decides
    what opens it: the button uses the custom context-menu policy, so a right
    click emits customContextMenuRequested(), which matches
    open_context_menu(). Connect updateUiOnMenuHide() to the menu's
    aboutToHide() so that every open_context_menu() opens the menu; without it
    the button still counts the menu as open after it closed, and the next call
    only resets that.

    Options: \c context and \c menu are stored only. \c icon decides the start
    icon (a non-empty text is used as it stands, otherwise the kit's
    "more_vert" icon) and whether update_state() changes the look. \c args and
    \c kwargs go to Button unchanged (\c sx included); \c startIcon is set by
    this class, and a caller's own value for it is refused with OptionError.

    \c aboutToHide, when given, runs every time the installed menu is about to
    hide. The menu may be installed before or after construction: the callable
    follows whichever menu setMenu() installs, and stops running for a menu that
    was replaced. An exception thrown by it is dropped.

    Keyboard: with a menu installed, Space, Enter, Return and the
    context-menu keys (Menu, Shift+F10) of the focused button call
    open_context_menu(), so the menu opens where a right click opens it.
    Without a menu the button clicks on Space, Enter and Return like any Button.

    In a right-to-left layout the open and closed sheets put the arrow at the
    left edge (the trailing one), and follow a switch of the direction.

    Every menu operation needs an installed menu; without one, open_context_menu()
    does nothing (the button stays closed) and get_menu_height() returns 0.

    The button sets style sheets of its own (a sheet that hides the menu
    indicator at construction, the open and closed sheets from update_state()),
    each replacing the whole sheet. The open and closed sheets take their label
    colour and the colour of their chevrons from the theme's "PopupTrigger"
    entry ("styles.label.color", "styles.indicator.color"); with the light
    theme they are the fixed texts with the grey label and the kit's dark
    chevrons. Each sheet ends with the theme's keyboard focus look
    ("styles.focus", a style mapping, as a QPushButton:focus rule; the
    built-in themes draw a 2 px outline in the text colour, which Qt shows
    once a menu is installed: without one, the look at construction is the
    platform's button, focus frame included). A theme change re-applies the
    sheet in force.
*/
class TESSERA_POPUP_TRIGGER_EXPORT PopupTrigger : public Button
{
    Q_OBJECT
    //! The \c icon option (QAbstractButton's own "icon" property is the QIcon it draws).
    Q_PROPERTY(QString iconSource READ iconSource WRITE setIconSource NOTIFY iconSourceChanged)
public:
    //! The trigger's options; see the class description for each.
    struct Options
    {
        QVariant context = {};                    //!< Stored only.
        QVariant menu = {};                       //!< Stored only (install the menu with setMenu()).
        std::optional<QString> icon = {};         //!< The start icon; given, it also lets update_state() change the look.
        std::function<void()> aboutToHide = {};   //!< Runs each time the installed menu is about to hide.
        //! Further positional arguments, handed to Button.
        QVariantList args = {};
        //! Further named options, handed to Button (sx included).
        QVariantMap kwargs = {};
    };

    //! A trigger with every option at its default, a child of \a parent.
    explicit PopupTrigger(QWidget *parent = nullptr);
    //! A trigger with \a options, a child of \a parent; throws OptionError naming a bad one.
    explicit PopupTrigger(const Options &options, QWidget *parent = nullptr);
    ~PopupTrigger() override;

    //! The start icon used when \c icon is absent or empty.
    static QString defaultStartIcon();

    /*!
        The \c icon option: a null text is no icon option (the default icon,
        and update_state() leaves the look alone); any other text is the option
        given, an empty one meaning the default icon. A write shows the new
        start icon and notifies once when the option changed.
    */
    QString iconSource() const;
    //! Writes the \c iconSource property.
    void setIconSource(const QString &icon);

    //! True from the moment open_context_menu() opens the menu until it is reset.
    bool isOpen() const;

    //! Sets the open sheet (\a open true) or the closed sheet; does nothing when \c icon was not given.
    void update_state(bool open);
    //! Shows the menu, without blocking, at the measuring place and returns its height (0 without a menu).
    int get_menu_height();

public Q_SLOTS:
    /*!
        Opens the menu at (40, height() - menu height) in button coordinates and
        blocks until it closes; when the button counts the menu as open, hides it
        and resets that instead. \a point is accepted and not used.
    */
    void open_context_menu(const QPoint &point = QPoint());
    //! The slot for the menu's closing: resets the open state (and the look when \c icon is the empty text).
    void updateUiOnMenuHide();

Q_SIGNALS:
    //! Emitted once per change of the \c iconSource property.
    void iconSourceChanged(const QString &icon);

protected:
    void actionEvent(QActionEvent *event) override;   //!< \reimp
    void _set_stylesheet(const StyleMap &component_styled = {}) override;
    void keyPressEvent(QKeyEvent *event) override;   //!< \reimp
    void changeEvent(QEvent *event) override;        //!< \reimp

private:
    Q_DISABLE_COPY(PopupTrigger)
    friend class PopupTriggerPrivate;
    std::unique_ptr<PopupTriggerPrivate> const d;
};

} // namespace tessera
