// A program built against an installed tessera, as any application would be:
// it switches the theme and the language, builds a widget from its header and
// every requested widget module by its module path, and reports what it saw.
//
//   consumer [THEME.json] [MODULE_PATH...]
//
// A theme file given first is loaded and checked; the module paths default
// to every module linked into this program (each registered itself).
//
// Exit status 0 when every check passed, 1 otherwise.

#include <tessera/kit/i18n.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>

#if __has_include(<tessera/material/button/busy_trigger.h>)
#include <tessera/material/button/busy_trigger.h>
#define CONSUMER_HAS_BUSY_TRIGGER 1
#endif

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

#include <exception>

namespace {

QTextStream out(stdout);
int failures = 0;

void check(bool ok, const QString &what)
{
    out << (ok ? "ok   " : "FAIL ") << what << Qt::endl;
    if (!ok)
        ++failures;
}

// Lets zero-delay timers and deferred tasks run, as the event loop would,
// until it is idle: a restyle runs in slices of bounded time, so how many
// passes it takes depends on the machine's speed (a sanitizer build on a
// busy machine needs many more than an optimised one).
void settle()
{
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    for (int quiet = 0, pass = 0; quiet < 2 && pass < 10000; ++pass)
        quiet = dispatcher->processEvents(QEventLoop::AllEvents) ? 0 : quiet + 1;
}

// Qt reports a class declared in a namespace with the namespace in front.
bool sameClass(const QWidget *widget, const QString &className)
{
    const QString actual = QString::fromLatin1(widget->metaObject()->className());
    return actual == className || actual.endsWith(QStringLiteral("::") + className);
}

// Named options for create(), as a host would pass them from a form or a script.
QVariantMap optionsFor(const QString &modulePath, QObject *owner)
{
    if (modulePath.endsWith(QLatin1String(".busy_trigger")))
        return {{QStringLiteral("loading"), true}, {QStringLiteral("color"), QStringLiteral("secondary")}};
    if (modulePath.endsWith(QLatin1String(".chip_stack"))) {
        // A chip stack shows the widgets held by a State.
        auto *content = new tessera::State(tessera::widgetListValue({new QLabel(QStringLiteral("chip"))}), owner);
        return {{QStringLiteral("content"), QVariant::fromValue<QObject *>(content)}};
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList modules = app.arguments().mid(1);
    QString themeFile;
    if (!modules.isEmpty() && modules.first().endsWith(QLatin1String(".json")))
        themeFile = modules.takeFirst();
    if (modules.isEmpty())
        modules = tessera::registeredModules();

    // Themes: the built-in ones ship inside the kit; switching is live.
    int changes = 0;
    QObject::connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, &app, [&changes] { ++changes; });
    if (!themeFile.isEmpty()) {
        try {
            const QString name = tessera::loadTheme(themeFile); // checked against every key path the widgets read
            tessera::setTheme(name);
            check(tessera::useTheme()->name() == name, QStringLiteral("theme file %1 loaded as \"%2\"").arg(themeFile, name));
        } catch (const tessera::ThemeError &e) {
            check(false, QString::fromUtf8(e.what()));
        }
    }
    const int before = changes;
    tessera::setTheme("dark"); // or "light", "system", or a loaded theme's name
    check(tessera::useTheme()->palette().mode == QLatin1String("dark") && changes == before + 1,
          QStringLiteral("theme switched to \"%1\" (themes: %2)")
              .arg(tessera::useTheme()->name(), tessera::themeNames().join(QStringLiteral(", "))));

    // Languages: the translations are embedded in the libraries; no set-up call.
    const QStringList languages = tessera::i18n()->languages(); // "en", "de"
    tessera::i18n()->setLanguage("de"); // installs the translators, then emits langChanged
    const QString dark = tessera::themeDisplayName("dark");
    check(languages.contains(QStringLiteral("de")), QStringLiteral("languages shipped: %1").arg(languages.join(QStringLiteral(", "))));
    check(dark == QLatin1String("Dunkel"), QStringLiteral("in German the dark theme is called \"%1\"").arg(dark));

    QWidget window;
    auto *layout = new QVBoxLayout(&window);

#ifdef CONSUMER_HAS_BUSY_TRIGGER
    // A widget built from its header, with named options; it follows the State.
    auto *busy = new tessera::State(false, &window);
    auto *trigger = new tessera::BusyTrigger({.loading = busy, .loadingPosition = "end", .color = "secondary"});
    busy->setValue(true); // the trigger shows its loading icon
    layout->addWidget(trigger);
#endif

    // Widgets built by module path, the way a plug-in host would.
    QList<QWidget *> created;
    if (modules.contains(QStringLiteral("tessera.material.button.busy_trigger"))) {
        tessera::loadModule("tessera.material.button.busy_trigger"); // loads the library once
        QWidget *busy = tessera::create("tessera.material.button.busy_trigger",
                                        {{"loading", true}, {"color", "secondary"}});
        layout->addWidget(busy);
        check(sameClass(busy, QStringLiteral("BusyTrigger")), QStringLiteral("BusyTrigger created with named options"));
    }
    for (const QString &path : std::as_const(modules)) {
        try {
            QWidget *widget = tessera::create(path, optionsFor(path, &app));
            layout->addWidget(widget);
            created << widget;
            const QString className = tessera::moduleClassName(path);
            check(sameClass(widget, className),
                  QStringLiteral("%1 -> %2 (%3)").arg(path, className, QString::fromLatin1(widget->metaObject()->className())));
        } catch (const std::exception &e) {
            check(false, QStringLiteral("%1: %2").arg(path, QString::fromUtf8(e.what())));
        }
    }

    // Paths that are not the kit's modules are refused and load nothing.
    for (const QString &bad : {QStringLiteral("tessera.material.button.no_such_widget"), QStringLiteral("../../lib/evil")}) {
        bool refused = false;
        try {
            tessera::loadModule(bad);
        } catch (const tessera::ModuleError &) {
            refused = true;
        }
        check(refused, QStringLiteral("refused module path \"%1\"").arg(bad));
    }

    window.show();
    settle();
#ifdef CONSUMER_HAS_BUSY_TRIGGER
    const QString darkSheet = trigger->styleSheet();
    check(darkSheet.contains(QLatin1Char('#') + trigger->objectName()),
          QStringLiteral("BusyTrigger styled itself (%1 characters of style sheet)").arg(darkSheet.size()));
    tessera::setTheme(QStringLiteral("light"));
    settle();
    check(trigger->styleSheet() != darkSheet, QStringLiteral("BusyTrigger restyled after the switch to light"));
    check(trigger->loadingWidget->isVisibleTo(trigger), QStringLiteral("BusyTrigger shows its loading icon"));
    busy->setValue(false);
    check(!trigger->loadingWidget->isVisibleTo(trigger), QStringLiteral("BusyTrigger hid its loading icon when the State changed"));
#else
    tessera::setTheme(QStringLiteral("light"));
    settle();
#endif

    out << created.size() << " widgets created by module path; "
        << tessera::registeredModules().size() << " modules registered" << Qt::endl;
    out << (failures ? "FAILED" : "PASSED") << Qt::endl;
    return failures ? 1 : 0;
}
