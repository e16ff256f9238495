#include "registry.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QRegularExpression>

#include <dlfcn.h>

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
        for (const char *name : {"field_shell", "knob_field", "stepper_field", "calendar_field", "chip_stack"})
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

QString moduleDirectory()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&moduleDirectory), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return {};
}

void loadModule(const QString &modulePath)
{
    checkPath(modulePath);
    if (registrations().contains(modulePath))
        return;
    const auto library = moduleLibraries().constFind(modulePath);
    if (library == moduleLibraries().cend())
        throw ModuleError(QStringLiteral("unknown module path \"%1\"; known modules: %2")
                              .arg(modulePath, knownModules().join(QStringLiteral(", "))));
    const QString dir = moduleDirectory();
    QLibrary lib(QDir(dir).filePath(library.value()), QString::number(TESSERA_VERSION_MAJOR));
    if (!lib.load()) {
        // Fall back to the unversioned development name (a build tree or -dev install).
        lib.setFileName(QDir(dir).filePath(library.value()));
        if (!lib.load())
            throw ModuleError(QStringLiteral("cannot load module \"%1\" from %2: %3").arg(modulePath, dir, lib.errorString()));
    }
    // The library stays loaded for the life of the process: its widgets may be alive.
    if (!registrations().contains(modulePath))
        throw ModuleError(QStringLiteral("library %1 did not register module \"%2\"").arg(lib.fileName(), modulePath));
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
