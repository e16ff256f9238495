// The "system" theme choice: it follows the desktop's light/dark preference
// (the application palette on this Qt) and switches live.

#include <tessera/kit/theme.h>

#include <tessera/kit/app_palette.h>

#include <tessera/kit/registry.h>

#include "testsupport.h"

#include <QFile>
#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tessera;

namespace {

QPalette desktopPalette(const QString &window, const QString &text)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, QColor(window));
    palette.setColor(QPalette::WindowText, QColor(text));
    return palette;
}

// What a desktop switching its scheme looks like to a Qt 6.4 application.
void desktopGoes(const QString &scheme)
{
    if (scheme == QLatin1String("dark"))
        QGuiApplication::setPalette(desktopPalette("#202124", "#e8eaed"));
    else
        QGuiApplication::setPalette(desktopPalette("#efefef", "#000000"));
}

QString token(const QString &theme, const char *path)
{
    const StyleValue *v = themeData(theme).findPath(QString::fromLatin1(path));
    return v ? v->text() : QString();
}

} // namespace

class tst_SystemTheme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        desktopGoes("light");
        testsupport::drainEvents();
        setTheme("light");
    }
    void cleanup()
    {
        setSystemThemes("light", "dark");
        setTheme("light");
        desktopGoes("light");
        testsupport::drainEvents();
    }

    void schemeFromThePalette_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("scheme");
        QTest::newRow("white window, black text") << "#ffffff" << "#000000" << "light";
        QTest::newRow("material dark") << "#121212" << "#ffffff" << "dark";
        QTest::newRow("mid grey, black text") << "#808080" << "#000000" << "light";
        QTest::newRow("mid grey, white text") << "#808080" << "#ffffff" << "dark";
        QTest::newRow("dark grey, light grey text") << "#303030" << "#e0e0e0" << "dark";
    }
    void schemeFromThePalette()
    {
        QFETCH(QString, window);
        QFETCH(QString, text);
        QFETCH(QString, scheme);
        QGuiApplication::setPalette(desktopPalette(window, text));
        QCOMPARE(systemColorScheme(), scheme);
    }

    void choosingSystemAppliesTheMatchingThemeAtOnce()
    {
        desktopGoes("dark");
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);
        setTheme("system");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(useTheme()->name(), QString("dark"));
        QCOMPARE(useTheme()->palette().mode, QString("dark"));
        QCOMPARE(themeChoice(), QString("system"));
        // Choosing it again announces the theme again, as any setTheme() does.
        setTheme("system");
        QCOMPARE(spy.count(), 2);
        QCOMPARE(useTheme()->name(), QString("dark"));
    }

    void followsTheDesktopLive()
    {
        setTheme("system");
        QCOMPARE(useTheme()->name(), QString("light"));
        const quint64 lightIdentity = useTheme()->identity();
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);

        desktopGoes("dark");
        // Never inside the palette change itself.
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(useTheme()->name(), QString("dark"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(useTheme()->resolveToken(u"palette.background.paper"), token("dark", "palette.background.paper"));

        desktopGoes("light");
        QTRY_COMPARE(useTheme()->name(), QString("light"));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(useTheme()->identity(), lightIdentity);
        QCOMPARE(themeChoice(), QString("system"));
    }

    void paletteChangesWithinTheSchemeAreQuiet()
    {
        setTheme("system");
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Highlight, QColor("#ff00ff"));
        QGuiApplication::setPalette(palette);
        testsupport::drainEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(useTheme()->name(), QString("light"));
    }

    void anExplicitChoiceStopsFollowing()
    {
        setTheme("system");
        setTheme("light");
        QCOMPARE(themeChoice(), QString("light"));
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);
        desktopGoes("dark");
        testsupport::drainEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(useTheme()->name(), QString("light"));

        // An unknown name leaves the choice and the theme as they were.
        setTheme("system");
        QCOMPARE(useTheme()->name(), QString("dark"));
        QVERIFY_THROWS_EXCEPTION(ThemeError, setTheme("no-such-theme"));
        QCOMPARE(themeChoice(), QString("system"));
        desktopGoes("light");
        QTRY_COMPARE(useTheme()->name(), QString("light"));
    }

    void systemSwitchesBetweenAChosenPair()
    {
        const QString day = testsupport::registerVariant("light", [](StyleMap &d) { testsupport::setPath(d, "palette.primary.main", "#00796b"); });
        const QString night = testsupport::registerVariant("dark", [](StyleMap &d) { testsupport::setPath(d, "palette.primary.main", "#4db6ac"); });
        setTheme("system");
        QSignalSpy spy(useTheme()->signal, &ThemeSignal::changed);

        // Replacing the pair while following takes effect at once.
        setSystemThemes(day, night);
        QCOMPARE(systemThemes(), std::make_pair(day, night));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(useTheme()->name(), day);
        desktopGoes("dark");
        QTRY_COMPARE(useTheme()->name(), night);
        QCOMPARE(useTheme()->resolveToken(u"palette.primary.main"), QString("#4db6ac"));

        // An unknown theme is refused and changes nothing.
        QVERIFY_THROWS_EXCEPTION(ThemeError, setSystemThemes(day, "no-such-theme"));
        QCOMPARE(systemThemes(), std::make_pair(day, night));
        QCOMPARE(useTheme()->name(), night);
    }

    // An application that sets its own palette from the theme must not make
    // the kit chase its own tail.
    void answeringAThemeChangeWithAPaletteDoesNotLoop()
    {
        QObject context;
        int changes = 0;
        connect(useTheme()->signal, &ThemeSignal::changed, &context, [&changes] {
            ++changes;
            desktopGoes(useTheme()->palette().mode);
        });
        setTheme("system");
        desktopGoes("dark");
        QTRY_COMPARE(useTheme()->name(), QString("dark"));
        testsupport::drainEvents(20);
        QCOMPARE(changes, 2);
        QCOMPARE(useTheme()->name(), QString("dark"));
    }

    void nameSystemIsKeptForTheChoice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("mine.json");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(testsupport::json("{'name': 'system', 'extends': 'light'}"));
        f.close();
        try {
            loadTheme(path);
            QFAIL("a theme named \"system\" was accepted");
        } catch (const ThemeError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(path), e.what());
        }
        QVERIFY(!themeNames().contains("system"));
    }

    void widgetsRestyleWhenTheDesktopSwitches()
    {
        std::unique_ptr<QWidget> widget;
        try {
            widget.reset(create("tessera.material.button.busy_trigger"));
        } catch (const ModuleError &) {
            QSKIP("busy_trigger is not built");
        }
        setTheme("system");
        QWidget &trigger = *widget;
        trigger.show();
        const QString light = token("light", "palette.primary.main");
        const QString dark = token("dark", "palette.primary.main");
        QTRY_VERIFY(trigger.styleSheet().contains(light, Qt::CaseInsensitive));
        desktopGoes("dark");
        QTRY_VERIFY(trigger.styleSheet().contains(dark, Qt::CaseInsensitive));
        QVERIFY(!trigger.styleSheet().contains(light, Qt::CaseInsensitive));
    }

    // Last: from here on the application palette follows the theme, so the
    // desktop can no longer be played by setting it.
    void applyPaletteFollowsEverySwitch()
    {
        setTheme("light");
        applyPalette(qobject_cast<QApplication *>(QCoreApplication::instance()));
        QWidget window;
        applyPalette(&window);
        const auto colour = [](const QPalette &p, QPalette::ColorRole role) { return p.color(role).name(); };
        for (const char *theme : {"dark", "light", "dark"}) {
            setTheme(theme);
            QCOMPARE(colour(QApplication::palette(), QPalette::Window), token(theme, "palette.background.default"));
            QCOMPARE(colour(QApplication::palette(), QPalette::Base), token(theme, "palette.background.paper"));
            QCOMPARE(colour(QApplication::palette(), QPalette::Text), token(theme, "palette.text.primary"));
            QCOMPARE(colour(QApplication::palette(), QPalette::Highlight), token(theme, "palette.primary.main"));
            QCOMPARE(colour(window.palette(), QPalette::Window), token(theme, "palette.background.default"));
        }

        // "system" reads the desktop (light here), not the dark window roles
        // the application palette had a moment ago, and leaves them to it, so
        // the answer to the switch does not start another one.
        QSignalSpy changes(useTheme()->signal, &ThemeSignal::changed);
        setTheme("system");
        QCOMPARE(useTheme()->name(), QString("light"));
        const QString desktopWindow = colour(QApplication::palette(), QPalette::Window);
        QVERIFY(desktopWindow != token("light", "palette.background.default"));
        QVERIFY(desktopWindow != token("dark", "palette.background.default"));
        QCOMPARE(colour(QApplication::palette(), QPalette::Base), token("light", "palette.background.paper"));
        QCOMPARE(colour(window.palette(), QPalette::Window), token("light", "palette.background.default"));
        testsupport::drainEvents(20);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(useTheme()->name(), QString("light"));
    }
};

QTEST_MAIN(tst_SystemTheme)
#include "tst_system_theme.moc"
