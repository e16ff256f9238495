#pragma once

#include <tessera/kit/kit_export.h>

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <stdexcept>

namespace tessera {

//! A module path was refused or its library could not be loaded; what() says which and why.
class TESSERA_KIT_EXPORT ModuleError : public std::runtime_error
{
public:
    //! An error whose what() is \a message.
    explicit ModuleError(const QString &message);
};

//! Builds a widget from named options; throws OptionError naming a bad option.
using WidgetCreator = std::function<QWidget *(const QVariantMap &options)>;

/*!
    Registers the one class of a widget module under its dotted module path.
    Each widget library calls this once when it is loaded (through
    TESSERA_REGISTER_MODULE); a second registration of the same path is ignored.
*/
TESSERA_KIT_EXPORT bool registerModule(const QString &modulePath, const QString &className, WidgetCreator creator);

/*!
    Loads the widget library of \a modulePath ("tessera.material.button.busy_trigger")
    once; later calls are no-ops, and so is the first one when the application
    links the library (it registered itself when the program started).

    Only the kit's own module paths are accepted, and each names one library
    file of the kit (libtessera_busy_trigger.so.0, tessera_busy_trigger.dll, ...):
    no text of the caller becomes part of a file name. The library is taken
    from the first folder of moduleSearchPaths() that holds it, else from the
    system's own library search under its versioned name.

    Throws ModuleError for an unknown or malformed path, naming the known
    ones, or for a library that cannot be loaded, naming where it was looked for.
*/
TESSERA_KIT_EXPORT void loadModule(const QString &modulePath);

/*!
    Loads the module if needed and builds its widget from named options,
    converting each to its option's kind. Throws ModuleError for the path and
    OptionError naming a bad option; nothing is built then.
*/
TESSERA_KIT_EXPORT QWidget *create(const QString &modulePath, const QVariantMap &options = {});

//! The module paths registered so far.
TESSERA_KIT_EXPORT QStringList registeredModules();
//! The class name registered under \a modulePath (empty when not registered).
TESSERA_KIT_EXPORT QString moduleClassName(const QString &modulePath);
//! The module paths of the kit's widget libraries (the only ones loadModule() accepts).
TESSERA_KIT_EXPORT QStringList knownModules();
/*!
    The folders in which loadModule() looks for a widget library, in this order:
    the libraries' folder relative to the program's (the layout of the build
    tree and of an install: \c bin and \c lib under one prefix), the folders of
    QCoreApplication::libraryPaths() (an application adds its own with
    QCoreApplication::addLibraryPath()), and the folder the libraries were
    configured to be installed into. Folders that do not exist are listed too.
*/
TESSERA_KIT_EXPORT QStringList moduleSearchPaths();

} // namespace tessera

//! Registers \a Class of this library under \a modulePath when the library is loaded.
//! The texts are made inside a function, so that no QString is part of the static's initializer.
#define TESSERA_REGISTER_MODULE(modulePath, Class, creator)                                        \
    namespace {                                                                                    \
    bool tesseraRegisterModule_##Class()                                                           \
    {                                                                                              \
        return ::tessera::registerModule(QStringLiteral(modulePath), QStringLiteral(#Class), creator); \
    }                                                                                              \
    const bool tesseraModuleRegistered_##Class = tesseraRegisterModule_##Class();                  \
    }
