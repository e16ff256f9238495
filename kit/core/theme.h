#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/stylemap.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <stdexcept>
#include <vector>

namespace tessera {

//! The object that carries the theme's change signal; it lives as long as the application.
class TESSERA_KIT_EXPORT ThemeSignal : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    //! Emitted whenever the current theme changes (also when the same theme is set again).
    void changed();
};

class ThemePrivate;

//! The palette of a theme: its mode ("light", "dark") and its colour tokens.
struct TESSERA_KIT_EXPORT Palette
{
    QString mode;       //!< "light" or "dark".
    StyleMap values;    //!< The "palette" mapping: primary, secondary, text, background, ...
};

/*!
    The current theme, as useTheme() returns it. There is one Theme object for
    the application; switching themes replaces its data and emits
    signal->changed(), so a connection made once keeps reporting every later
    change. It is read-only: widgets read components(), palette().mode and
    identity(); only setTheme() and the functions beside it change what it
    holds.

    \code
    QObject::connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed,
                     this, [this] { restyle(); });
    \endcode
*/
class TESSERA_KIT_EXPORT Theme
{
public:
    //! Emits changed() after every switch; lives as long as the application's theme.
    ThemeSignal *const signal;

    ~Theme();

    //! Component key ("FieldShell", "PyButton", ...) to its entry ({"styles": {...}}).
    const StyleMap &components() const;
    //! The palette in force: its mode and colour tokens.
    const Palette &palette() const;
    //! Typography variants ("button", "body1", "h6", ...) to style mappings.
    const StyleMap &typography() const;

    //! The registered name of the current theme.
    QString name() const;
    /*!
        A number that identifies the theme data now in force. It changes whenever
        the current theme is replaced by different data (another theme, or a theme
        registered anew under the same name) and stays the same when the same
        theme is set again. Style memos key on it beside palette().mode.
    */
    quint64 identity() const;
    //! The whole theme document ("palette", "typography", "components", ...).
    const StyleMap &data() const;

    /*!
        Resolves a dotted token path ("palette.primary.main") to its text form.
        Returns std::nullopt when the path does not name a text or number.
    */
    std::optional<QString> resolveToken(QStringView path) const;
    //! \overload
    std::optional<QString> resolveToken(const QString &path) const;
    /*!
        The text form of the token at \a path, as resolveToken() gives it, read
        in place; nullptr when the path names no text or number. The text
        belongs to the theme and stays valid until the next theme change.
    */
    const QString *findToken(QStringView path) const;

private:
    Q_DISABLE_COPY(Theme)
    friend class ThemeManager;
    explicit Theme(ThemeSignal *signal);
    std::unique_ptr<ThemePrivate> const d;
};

//! A theme name or file was refused; what() names the file and the position or key path.
class TESSERA_KIT_EXPORT ThemeError : public std::runtime_error
{
public:
    //! An error whose what() is \a message.
    explicit ThemeError(const QString &message);
};

//! The current theme ("light" until another one is set). GUI thread only.
TESSERA_KIT_EXPORT Theme *useTheme();

/*!
    Makes the registered theme \a name current and emits the change signal.
    Throws ThemeError for an unknown name.

    The name "system" follows the desktop's light or dark preference: the
    theme of systemThemes() that matches systemColorScheme() becomes current
    at once, and again whenever the desktop switches (the change signal is
    emitted only when the current theme actually changes). Any other name
    stops following. While following, useTheme()->name() is the theme in
    force ("light" or "dark") and themeChoice() is "system".
*/
TESSERA_KIT_EXPORT void setTheme(const QString &name);

/*!
    What setTheme() was last given: a theme name, or "system" while the kit
    follows the desktop ("light" until setTheme() is called).
*/
TESSERA_KIT_EXPORT QString themeChoice();

/*!
    The desktop's colour scheme: "dark" or "light". Where Qt reports the
    scheme (QStyleHints::colorScheme, Qt 6.5 and later) that answer is used;
    otherwise the application palette is read: a window text lighter than the
    window means "dark". The palette stands for the desktop's only while the
    application leaves its Window and WindowText roles alone; an application
    that follows the system should colour its own windows with
    QWidget::setPalette() rather than QApplication::setPalette(). Without a
    QGuiApplication the answer is "light".
*/
TESSERA_KIT_EXPORT QString systemColorScheme();

/*!
    The two registered themes that "system" switches between (by default
    "light" and "dark"). While following, the current theme changes at once
    when the matching one is replaced. Throws ThemeError naming an unknown
    theme; nothing changes then.
*/
TESSERA_KIT_EXPORT void setSystemThemes(const QString &lightTheme, const QString &darkTheme);
//! The light and dark themes that "system" switches between.
TESSERA_KIT_EXPORT std::pair<QString, QString> systemThemes();

/*!
    Reads a theme file, checks it against every key path the widgets read,
    registers it under its "name" entry (or the file's base name) and returns
    that name. The name "system" is kept for setTheme() and is refused. A file may start from a registered theme with "extends": "light";
    its own entries then replace the base's key by key. Throws ThemeError naming
    the file and the position or the missing key path; nothing is registered then
    and the current theme is left as it was.
*/
TESSERA_KIT_EXPORT QString loadTheme(const QString &jsonPath);

/*!
    Registers theme data under \a name without checking it (for programs and
    tests that build themes in code; see validateTheme()). Setting it again
    later gives it a new identity. Returns \a name.
*/
TESSERA_KIT_EXPORT QString registerTheme(const QString &name, const StyleMap &data);

//! The names of the registered themes, the built-in "light" and "dark" first.
TESSERA_KIT_EXPORT QStringList themeNames();

//! The name of a theme for display in the current language ("Light", "Dark", or the name itself).
TESSERA_KIT_EXPORT QString themeDisplayName(const QString &name);

//! The document of a registered theme (empty when unknown).
TESSERA_KIT_EXPORT StyleMap themeData(const QString &name);

//! One key path that the widgets read, and the kind its value must have.
struct TESSERA_KIT_EXPORT ThemeRequirement
{
    //! The kind of value a key path must hold.
    enum class Kind { Map, Text, Number, Style /* a mapping, or absent when optional */ };
    QString path;           //!< The dotted key path ("components.FieldShell.styles.title").
    Kind kind;              //!< What its value must be.
    bool optional = false;  //!< Whether the path may be absent.
};

//! Every key path of a theme document that the kit's widgets read.
TESSERA_KIT_EXPORT const std::vector<ThemeRequirement> &themeRequirements();

//! The problems of a theme document: one line per missing or mistyped key path ("missing key path \"a.b\"").
TESSERA_KIT_EXPORT QStringList validateTheme(const StyleMap &data);

} // namespace tessera
