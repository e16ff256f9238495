#include "registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibrary>
#include <QRegularExpression>

#include <algorithm>

namespace tessera {

ModuleError::ModuleError(const QString &message) : std::runtime_error(message.toStdString()) {}

namespace {

struct Registration
{
    QString className;
    WidgetCreator creator;
};

QHash<QString, Registration> &registrations()
{
    static QHash<QString, Registration> map;
    return map;
}

// Module path -> library base name. Only these are ever loaded.
const QHash<QString, QString> &moduleLibraries()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const char *name : {"field_shell", "knob_field", "stepper_field", "calendar_field", "chip_stack",
                                 "text_field", "select_field"})
            m.insert(QStringLiteral("tessera.material.textfield.") + QLatin1String(name), QStringLiteral("tessera_") + QLatin1String(name));
        for (const char *name : {"busy_trigger", "popup_trigger", "orb_action"})
            m.insert(QStringLiteral("tessera.material.button.") + QLatin1String(name), QStringLiteral("tessera_") + QLatin1String(name));
        return m;
    }();
    return map;
}

void checkPath(const QString &modulePath)
{
    static const QRegularExpression wellFormed(QStringLiteral("^[a-z_][a-z0-9_]*(\\.[a-z_][a-z0-9_]*)+$"));
    if (!wellFormed.match(modulePath).hasMatch())
        throw ModuleError(QStringLiteral("malformed module path \"%1\": expected dotted lower-case names such as "
                                         "\"tessera.material.button.busy_trigger\"").arg(modulePath));
}

} // namespace

bool registerModule(const QString &modulePath, const QString &className, WidgetCreator creator)
{
    auto &map = registrations();
    if (map.contains(modulePath))
        return false;
    map.insert(modulePath, Registration{className, std::move(creator)});
    return true;
}

QStringList moduleSearchPaths()
{
    QStringList dirs;
    const auto add = [&dirs](const QString &dir) {
        if (dir.isEmpty())
            return;
        const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
        if (!dirs.contains(clean))
            dirs << clean;
    };
    // The layout the kit is built and installed in: the libraries relative to the programs.
    if (QCoreApplication::instance())
        add(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TESSERA_MODULE_DIR_FROM_BIN)));
    // Where the application told Qt that its loadable code lives.
    for (const QString &dir : QCoreApplication::libraryPaths())
        add(dir);
    // The folder the libraries are installed into.
    add(QStringLiteral(TESSERA_MODULE_INSTALL_DIR));
    return dirs;
}

namespace {

// Whether \a dir holds a library file of \a base ("libtessera_busy_trigger.so.0",
// "tessera_busy_trigger.dll", ...): the name up to the first dot, with or
// without the platform's "lib" prefix.
bool holdsLibrary(const QDir &dir, const QString &base)
{
    const QStringList files = dir.entryList({QLatin1Char('*') + base + QLatin1Char('*')}, QDir::Files | QDir::Readable);
    return std::any_of(files.cbegin(), files.cend(), [&base](const QString &file) {
        const QString stem = file.section(u'.', 0, 0);
        return (stem == base || stem == QLatin1String("lib") + base) && QLibrary::isLibrary(file);
    });
}

// Loads \a base (a name from moduleLibraries(), never a caller's text) from the
// first folder of moduleSearchPaths() that holds it, else through the system's
// own library search by its versioned name. Throws naming where it looked.
void loadLibrary(const QString &modulePath, const QString &base)
{
    const QString major = QString::number(TESSERA_VERSION_MAJOR);
    const QStringList dirs = moduleSearchPaths();
    for (const QString &dir : dirs) {
        if (!holdsLibrary(QDir(dir), base))
            continue;
        // The first folder that has the library decides: a copy elsewhere is not tried
        // in its place, so a broken install is reported rather than papered over.
        const QString file = QDir(dir).filePath(base);
        QLibrary lib(file, major);
        if (lib.load())
            return;
        const QString versioned = lib.errorString();
        lib.setFileName(file); // the unversioned development name (a build tree or -dev install)
        if (lib.load())
            return;
        throw ModuleError(QStringLiteral("cannot load module \"%1\" from %2: %3").arg(modulePath, dir, versioned));
    }
    QLibrary lib(base, major);
    if (lib.load())
        return;
    throw ModuleError(QStringLiteral("cannot load module \"%1\": no %2 library in %3, and the system's library search "
                                     "did not find one (%4)")
                          .arg(modulePath, base, dirs.join(QStringLiteral(", ")), lib.errorString()));
}

} // namespace

void loadModule(const QString &modulePath)
{
    checkPath(modulePath);
    if (registrations().contains(modulePath))
        return;
    const auto library = moduleLibraries().constFind(modulePath);
    if (library == moduleLibraries().cend())
        throw ModuleError(QStringLiteral("unknown module path \"%1\"; known modules: %2")
                              .arg(modulePath, knownModules().join(QStringLiteral(", "))));
    loadLibrary(modulePath, library.value());
    // The library stays loaded for the life of the process: its widgets may be alive.
    if (!registrations().contains(modulePath))
        throw ModuleError(QStringLiteral("the library %1 did not register module \"%2\"").arg(library.value(), modulePath));
}

QWidget *create(const QString &modulePath, const QVariantMap &options)
{
    loadModule(modulePath);
    const Registration &reg = registrations()[modulePath];
    if (!reg.creator)
        throw ModuleError(QStringLiteral("module \"%1\" cannot be created from options").arg(modulePath));
    return reg.creator(options);
}

QStringList registeredModules()
{
    QStringList out = registrations().keys();
    out.sort();
    return out;
}

QString moduleClassName(const QString &modulePath)
{
    return registrations().value(modulePath).className;
}

QStringList knownModules()
{
    QStringList out = moduleLibraries().keys();
    out.sort();
    return out;
}

} // namespace tessera
