#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/theme.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <stdexcept>

using namespace tessera;

namespace {

const char *const MoreVert = ":/round/resource_tessera/round/more_vert.svg";

QVariant stateValue(State *state)
{
    return QVariant::fromValue(state);
}

// A subclass in the manner of OrbAction: stores its caller's sx after the base constructor.
class LateSx : public Button
{
public:
    explicit LateSx(Sx sx, QVariantMap kwargs = {}) : Button({.componentType = "OrbAction", .kwargs = std::move(kwargs)})
    {
        setSx(std::move(sx));
    }
};

// A subclass in the manner of PopupTrigger: sets its own sheet right after the base constructor.
class OwnSheet : public Button
{
public:
    static QString sheet() { return QStringLiteral("QPushButton { color: #6b6b6b; }"); }
    OwnSheet() : Button({.startIcon = MoreVert, .kwargs = {{"text", "Menu"}}}) { setStyleSheet(sheet()); }
};

// The colour of the opaque pixels of an icon, or an invalid colour when it has none or several.
QColor iconInk(const QIcon &icon)
{
    const QImage image = icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
    QColor ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 255)
                continue;
            if (ink.isValid() && c.rgb() != ink.rgb())
                return {};
            ink = c;
        }
    }
    return ink;
}

class UrlSink : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace

class tst_Button : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void defaultsByComponentType_data()
    {
        QTest::addColumn<QString>("componentType");
        QTest::addColumn<QVariantMap>("kwargs");
        QTest::addColumn<QStringList>("expected");   // color, size, variant

        QTest::newRow("plain") << QString() << QVariantMap() << QStringList{"primary", "medium", "contained"};
        QTest::newRow("orb") << "OrbAction" << QVariantMap() << QStringList{"default", "large", "circular"};
        QTest::newRow("orb, caller colour") << "OrbAction" << QVariantMap{{"color", "secondary"}}
                                            << QStringList{"secondary", "large", "circular"};
        QTest::newRow("orb, caller variant and size") << "OrbAction"
                                                      << QVariantMap{{"variant", "extended"}, {"size", "small"}}
                                                      << QStringList{"default", "small", "extended"};
        QTest::newRow("orb, empty texts count as none") << "OrbAction" << QVariantMap{{"color", ""}, {"variant", ""}}
                                                        << QStringList{"default", "large", "circular"};
        QTest::newRow("other type") << "Chip" << QVariantMap{{"variant", "outlined"}}
                                    << QStringList{"primary", "medium", "outlined"};
    }
    void defaultsByComponentType()
    {
        QFETCH(QString, componentType);
        QFETCH(QVariantMap, kwargs);
        QFETCH(QStringList, expected);
        Button b({.componentType = componentType, .kwargs = kwargs});
        QCOMPARE((QStringList{b.buttonColor(), b.buttonSize(), b.buttonVariant()}), expected);
        QCOMPARE(b.componentType(), componentType);
        QCOMPARE(b.buttonOptions(), kwargs);
    }

    void defaultsFollowStates()
    {
        State color(QString("error"));
        State variant;   // holds none: the component type's default applies
        Button b({.componentType = "OrbAction", .kwargs = {{"color", stateValue(&color)}, {"variant", stateValue(&variant)}}});
        QCOMPARE(b.buttonColor(), QString("error"));
        QCOMPARE(b.buttonVariant(), QString("circular"));
        variant.setValue(QString("extended"));
        QCOMPARE(b.buttonVariant(), QString("extended"));
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().contains("background-color: #b71c1c;"));
        color.setValue(QString("success"));
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().contains("background-color: #1b5e20;"));
    }

    void deletedStateReadsAsNone()
    {
        auto *color = new State(QString("error"));
        Button b({.kwargs = {{"color", stateValue(color)}}});
        testsupport::drainEvents();
        delete color;
        QCOMPARE(b.buttonColor(), QString("primary"));
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().contains("#" + b.objectName() + " {"));
    }

    void startIconHandOn()
    {
        Button none;
        QVERIFY(none.startIcon().isNone());
        QVERIFY(none.icon().isNull());

        QTest::failOnWarning(QRegularExpression(".*"));
        Button missing({.startIcon = ":/icons/no/such.svg"});
        QVERIFY(missing.icon().isNull());
        Button badKey({.startIcon = "../../etc:passwd"});
        QVERIFY(badKey.icon().isNull());

        Button path({.startIcon = MoreVert});
        QCOMPARE(*path.startIcon().plain(), QString(MoreVert));
        QVERIFY(!path.icon().isNull());
        Button key({.startIcon = "eos-icons:loading"});
        QVERIFY(!key.icon().isNull());
    }

    void buttonsAlikeShareRulesAndEveryOptionCounts()
    {
        // Buttons with the same options share one composition of the theme's
        // rules; any option that changes the rules must give its own.
        const QVariantMap red{{"style", "color: #ff0000;"}};
        Button a({.kwargs = red}), same({.kwargs = red});
        Button blue({.kwargs = {{"style", "color: #0000ff;"}}});
        const StyleMap green{{"color", "#00ff00"}};
        const StyleMap rootStyle{{"color", "#123456"}};
        const StyleMap classesMap{{"root", rootStyle}};
        Button mapped({.kwargs = {{"style", green.toVariant()}}});
        Button classes({.kwargs = {{"classes", classesMap.toVariant()}}});
        Button noRipple({.kwargs = {{"disableRipple", true}}});
        Button plain;
        testsupport::drainEvents();

        QVERIFY(a.styleSheet().contains("color: #ff0000;"));
        QCOMPARE(QString(same.styleSheet()).replace(same.objectName(), a.objectName()), a.styleSheet());
        QVERIFY(!same.styleSheet().contains(a.objectName()));
        QVERIFY(blue.styleSheet().contains("color: #0000ff;") && !blue.styleSheet().contains("#ff0000"));
        QVERIFY(mapped.styleSheet().contains("color: #00ff00;"));
        QVERIFY(classes.styleSheet().contains("color: #123456;"));
        QVERIFY(!plain.styleSheet().contains("#123456") && !plain.styleSheet().contains("#00ff00"));
        QVERIFY(plain.styleSheet().contains(":pressed"));
        QVERIFY(!noRipple.styleSheet().contains(":pressed"));

        // A theme registered anew under the same name brings its own colours.
        const QString before = plain.styleSheet();
        const QString name = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "palette.action.disabled", "#abcdef");
        });
        setTheme(name);
        testsupport::drainEvents();
        QVERIFY(plain.styleSheet().contains("#abcdef"));
        QVERIFY(plain.styleSheet() != before);
    }

    void iconFilesOnDiskAreReadAgain()
    {
        // What the kit learns about a compiled-in icon is kept; a file on disk
        // may appear or be rewritten later, so each new button looks again.
        QTemporaryDir dir;
        const QString path = dir.filePath("late.svg");
        Button before({.startIcon = path});
        QVERIFY(before.icon().isNull());

        const auto write = [&path](const QByteArray &content) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
        };
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot read file .*late.svg"));
        write("not an svg");
        Button broken({.startIcon = path});
        QVERIFY(broken.icon().isNull());

        write("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'><rect width='24' height='24'/></svg>");
        Button fixed({.startIcon = path});
        QVERIFY(!fixed.icon().isNull());
    }

    void observableStartIconFollowsChanges()
    {
        State icon(QString(":/icons/no/such.svg"));
        Button b({.startIcon = &icon, .componentType = "OrbAction"});
        QCOMPARE(b.startIcon().state(), &icon);
        QVERIFY(b.icon().isNull());
        icon.setValue(QString(MoreVert));
        QVERIFY(!b.icon().isNull());
        icon.setValue(QVariant());
        QVERIFY(b.icon().isNull());
    }

    void iconIsTintedWithTheTextColour()
    {
        Button contained({.startIcon = MoreVert, .kwargs = {{"color", "primary"}}});
        Button outlined({.startIcon = MoreVert, .kwargs = {{"color", "error"}, {"variant", "outlined"}}});
        contained.ensurePolished();
        outlined.ensurePolished();
        testsupport::drainEvents();
        QCOMPARE(iconInk(contained.icon()), QColor("#ffffff"));   // primary.contrastText
        QCOMPARE(iconInk(outlined.icon()), QColor("#b71c1c"));    // error.main
        // A sheet of the caller's decides the colour then.
        OwnSheet own;
        own.ensurePolished();
        testsupport::drainEvents();
        QCOMPARE(iconInk(own.icon()), QColor("#6b6b6b"));
    }

    void textFromOptionsOrArguments()
    {
        Button fromArgs({.args = {42, "First", "Second"}});
        QCOMPARE(fromArgs.text(), QString("First"));
        Button both({.args = {"Argument"}, .kwargs = {{"text", "Option"}}});
        QCOMPARE(both.text(), QString("Option"));
        State text(QString("One"));
        Button followed({.kwargs = {{"text", stateValue(&text)}}});
        text.setValue(QString("Two"));
        QCOMPARE(followed.text(), QString("Two"));
    }

    void deferredTextFollowsLanguage()
    {
        Button b({.kwargs = {{"text", QVariant::fromValue(deferredTr("tessera::Theme", "Dark"))}}});
        QCOMPARE(b.text(), QString("Dark"));
        i18n()->setLanguage("de");
        QCOMPARE(b.text(), QString("Dunkel"));
        i18n()->setLanguage("en");
        QCOMPARE(b.text(), QString("Dark"));
    }

    void themeStyles_data()
    {
        QTest::addColumn<QVariantMap>("kwargs");
        QTest::addColumn<QStringList>("rootHas");
        QTest::addColumn<QString>("hoverHas");

        QTest::newRow("primary contained") << QVariantMap{}
                                           << QStringList{"padding: 6px 16px;", "background-color: #1565c0;", "color: #ffffff;"}
                                           << "background-color: #0d47a1;";
        QTest::newRow("secondary outlined small")
            << QVariantMap{{"color", "secondary"}, {"variant", "outlined"}, {"size", "small"}}
            << QStringList{"padding: 4px 10px;", "background-color: transparent;", "color: #9c27b0;"}
            << "background-color: rgba(156, 39, 176, 0.04);";
        QTest::newRow("error text large") << QVariantMap{{"color", "error"}, {"variant", "text"}, {"size", "large"}}
                                          << QStringList{"padding: 8px 22px;", "color: #b71c1c;", "border: 1px solid transparent;"}
                                          << "background-color: rgba(183, 28, 28, 0.04);";
        QTest::newRow("success soft") << QVariantMap{{"color", "success"}, {"variant", "soft"}}
                                      << QStringList{"background-color: rgba(27, 94, 32, 0.08);", "color: #124116;"}
                                      << "background-color: rgba(27, 94, 32, 0.12);";
        QTest::newRow("inherit is the default colour") << QVariantMap{{"color", "inherit"}}
                                                       << QStringList{"background-color: #e0e0e0;", "color: #212121;"}
                                                       << "background-color: #bdbdbd;";
        QTest::newRow("unknown texts fall back") << QVariantMap{{"color", "chartreuse"}, {"variant", "bogus"}, {"size", "huge"}}
                                                 << QStringList{"padding: 6px 16px;", "background-color: #1565c0;"}
                                                 << "background-color: #0d47a1;";
        QTest::newRow("circular wears contained colours") << QVariantMap{{"variant", "circular"}, {"color", "info"}}
                                                          << QStringList{"background-color: #01579b;", "border-radius: 24px;"}
                                                          << "background-color: #013e6f;";
    }
    void themeStyles()
    {
        QFETCH(QVariantMap, kwargs);
        QFETCH(QStringList, rootHas);
        QFETCH(QString, hoverHas);
        Button b({.kwargs = kwargs});
        QVERIFY(b.styleSheet().isEmpty());   // never styled inside the constructor
        testsupport::drainEvents();
        const QString id = "#" + b.objectName();
        const QStringList lines = testsupport::lines(b.styleSheet());
        const qsizetype root = lines.indexOf(id + " {");
        const qsizetype hover = lines.indexOf(id + ":hover {");
        QVERIFY2(root >= 0 && hover >= 0, qPrintable(b.styleSheet()));
        for (const QString &part : rootHas)
            QVERIFY2(lines[root + 1].contains(part), qPrintable(part + " not in " + lines[root + 1]));
        QVERIFY2(lines[hover + 1].contains(hoverHas), qPrintable(lines[hover + 1]));
        QCOMPARE(b.appliedStyleSheet(), b.styleSheet());
    }

    void shapes_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("square");

        QTest::newRow("circular small") << "circular" << "small" << 40 << true;
        QTest::newRow("circular large") << "circular" << "large" << 56 << true;
        QTest::newRow("extended medium") << "extended" << "medium" << 40 << false;
        QTest::newRow("extended large") << "extended" << "large" << 48 << false;
    }
    void shapes()
    {
        QFETCH(QString, variant);
        QFETCH(QString, size);
        QFETCH(int, height);
        QFETCH(bool, square);
        Button b({.componentType = "OrbAction", .kwargs = {{"variant", variant}, {"size", size}, {"text", "Add item"}}});
        b.show();
        testsupport::drainEvents();
        b.adjustSize();
        QCOMPARE(b.height(), height);
        if (square)
            QCOMPARE(b.width(), height);
        else
            QVERIFY(b.width() > height);
        QVERIFY2(b.styleSheet().contains(QString("border-radius: %1px;").arg(height / 2)), qPrintable(b.styleSheet()));
    }

    void themeWithoutButtonEntriesStylesNothingButSx()
    {
        setTheme(testsupport::registerWithout("light", "components.PyButton"));
        Button b({.kwargs = {{"sx", QVariant::fromValue(StyleMap{{"color", "#010203"}})}}});
        testsupport::drainEvents();
        const QString id = "#" + b.objectName();
        const QStringList lines = testsupport::lines(b.styleSheet());
        QVERIFY(!lines.contains(id + " {"));
        QVERIFY(!lines.contains(id + ":hover {"));
        QCOMPARE(lines.filter(" { color: #010203; }"), QStringList{id + " { color: #010203; }"});
    }

    void sxSetAfterConstructionIsApplied()
    {
        LateSx b(StyleMap{{"border", "3px dashed #00ff00"}});
        testsupport::drainEvents();
        const QString sx = "#" + b.objectName() + " { border: 3px dashed #00ff00; }";
        QVERIFY2(b.styleSheet().trimmed().endsWith(sx), qPrintable(b.styleSheet()));
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().trimmed().endsWith(sx));
    }

    void sxFormsAndStates()
    {
        State sx(QVariant::fromValue(StyleMap{{"color", "#111111"}}));
        LateSx b{Sx(&sx)};
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().contains("{ color: #111111; }"));
        sx.setValue(QString("QPushButton { margin: 3px; }"));
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().contains("QPushButton { margin: 3px; }"));
        QVERIFY(!b.styleSheet().contains("#111111"));

        int calls = 0;
        LateSx f{Sx(Sx::Function([&calls] {
            ++calls;
            return QVariant::fromValue(StyleMap{{"padding", 2}}) ;
        }))};
        testsupport::drainEvents();
        QCOMPARE(calls, 1);
        QVERIFY(f.styleSheet().contains("{ padding: 2px; }"));

        // The option form: a plain mapping in kwargs, read by the first pass.
        Button k({.kwargs = {{"sx", QVariant::fromValue(StyleMap{{"margin", 1}})}}});
        testsupport::drainEvents();
        QVERIFY(k.styleSheet().contains("{ margin: 1px; }"));
    }

    void subclassSheetIsNeverOverwritten()
    {
        OwnSheet own;
        QCOMPARE(own.styleSheet(), OwnSheet::sheet());
        testsupport::drainEvents();
        QCOMPARE(own.styleSheet(), OwnSheet::sheet());
        QVERIFY(own.appliedStyleSheet().isEmpty());
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(own.styleSheet(), OwnSheet::sheet());

        // A sheet set later, after the button had styled itself, wins as well.
        Button b;
        testsupport::drainEvents();
        QVERIFY(!b.styleSheet().isEmpty());
        b.setStyleSheet("QPushButton { color: red; }");
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(b.styleSheet(), QString("QPushButton { color: red; }"));
        // Clearing it hands the look back.
        b.setStyleSheet(QString());
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(b.styleSheet().startsWith("#" + b.objectName() + " {"));
    }

    void restylesOnThemeChange()
    {
        Button b({.kwargs = {{"color", "default"}}});
        testsupport::drainEvents();
        const QString light = b.styleSheet();
        QVERIFY(light.contains("color: #212121;"));
        setTheme("dark");
        QCOMPARE(b.styleSheet(), light);   // not inside the theme's signal
        testsupport::drainEvents();
        QVERIFY(b.styleSheet() != light);
        QVERIFY(!b.styleSheet().contains("color: #212121;"));
    }

    void disabledOption()
    {
        Button plain({.kwargs = {{"disabled", true}}});
        QVERIFY(!plain.isEnabled());
        State disabled(false);
        Button followed({.kwargs = {{"disabled", stateValue(&disabled)}}});
        QVERIFY(followed.isEnabled());
        disabled.setValue(true);
        QVERIFY(!followed.isEnabled());
        testsupport::drainEvents();
        QVERIFY(followed.styleSheet().contains(":disabled {"));
    }

    void properties_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("restyles");
        QTest::newRow("text") << QByteArray("text") << "text" << QVariant("Send") << false;
        QTest::newRow("color") << QByteArray("color") << "color" << QVariant("error") << true;
        QTest::newRow("variant") << QByteArray("variant") << "variant" << QVariant("outlined") << true;
        QTest::newRow("themeSize") << QByteArray("themeSize") << "size" << QVariant("large") << true;
        QTest::newRow("disabled") << QByteArray("disabled") << "disabled" << QVariant(true) << false;
    }
    void properties()
    {
        QFETCH(QByteArray, property);
        QFETCH(QString, option);
        QFETCH(QVariant, value);
        QFETCH(bool, restyles);
        Button b;
        std::function<QWidget *()> reference;
        if (restyles)
            reference = [&] { return new Button({.kwargs = {{option, value}}}); };
        if (!testsupport::checkPropertyWrite(&b, property.constData(), value, reference))
            return;
        if (property == "text")
            QCOMPARE(b.QPushButton::text(), QString("Send"));
        if (property == "disabled") {
            QVERIFY(!b.isEnabled());
            QSignalSpy notified(&b, &Button::disabledChanged);
            b.setEnabled(true);   // QWidget's own switch is reported too
            QCOMPARE(notified.count(), 1);
            QVERIFY(!b.isDisabled());
        }
    }

    // A property write replaces the State the option followed.
    void aWriteReplacesTheStateBinding()
    {
        State color(QString("error"));
        State disabled(false);
        Button b({.kwargs = {{"color", stateValue(&color)}, {"disabled", stateValue(&disabled)}}});
        b.setColor("secondary");
        b.setDisabled(true);
        color.setValue(QString("warning"));
        disabled.setValue(false);
        QCOMPARE(b.buttonColor(), QString("secondary"));
        QVERIFY(b.isDisabled());
        Button plain({.kwargs = {{"color", "secondary"}}});
        testsupport::drainEvents();
        QCOMPARE(b.styleSheet(), plain.styleSheet().replace(plain.objectName(), b.objectName()));
    }

    void clickCallsHandlerAndOpensHref()
    {
        UrlSink sink;
        QDesktopServices::setUrlHandler("tessera-test", &sink, "open");
        int clicks = 0;
        Button b({.kwargs = {{"onClick", QVariant::fromValue(Button::ClickHandler([&clicks] { ++clicks; }))},
                             {"href", "tessera-test://docs/button"}}});
        b.click();
        b.click();
        QCOMPARE(clicks, 2);
        QCOMPARE(sink.opened, (QList<QUrl>{QUrl("tessera-test://docs/button"), QUrl("tessera-test://docs/button")}));

        // A handler that throws ends its own call only.
        Button failing({.kwargs = {{"onClick", QVariant::fromValue(Button::ClickHandler([] { throw std::runtime_error("x"); }))},
                                   {"href", "tessera-test://after"}}});
        failing.click();
        QCOMPARE(sink.opened.last(), QUrl("tessera-test://after"));
        // So does one that throws something other than a std::exception.
        Button odd({.kwargs = {{"onClick", QVariant::fromValue(Button::ClickHandler([] { throw 42; }))},
                               {"href", "tessera-test://after-odd"}}});
        odd.click();
        QCOMPARE(sink.opened.last(), QUrl("tessera-test://after-odd"));

        // Not a URL with a scheme: nothing is opened.
        Button relative({.kwargs = {{"href", "docs/button"}}});
        relative.click();
        QCOMPARE(sink.opened.size(), 4);

        Button disabled({.kwargs = {{"onClick", QVariant::fromValue(Button::ClickHandler([&clicks] { ++clicks; }))},
                                    {"disabled", true}}});
        QTest::mouseClick(&disabled, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QDesktopServices::unsetUrlHandler("tessera-test");
    }

    void childrenAreTheContent()
    {
        auto *first = new QLabel("first");
        auto *second = new QLabel("second");
        State children(widgetListValue({first}));
        QPointer<QLabel> guardSecond(second);
        {
            Button b({.startIcon = MoreVert, .kwargs = {{"text", "hidden"}, {"children", stateValue(&children)}}});
            QCOMPARE(first->parentWidget(), &b);
            QVERIFY(b.text().isEmpty());
            QVERIFY(b.icon().isNull());
            children.setValue(widgetListValue({second}));
            QCOMPARE(second->parentWidget(), &b);
            QVERIFY(first->isHidden());
            QVERIFY(b.sizeHint().width() >= second->sizeHint().width());
            children.setValue(QVariant());
            QCOMPARE(b.text(), QString("hidden"));
            QVERIFY(!b.icon().isNull());
        }
        QVERIFY(!guardSecond);   // owned by the button it was shown in
    }

    void wrongKindsAreRefused_data()
    {
        QTest::addColumn<QVariantMap>("kwargs");
        QTest::addColumn<QString>("option");

        QTest::newRow("color") << QVariantMap{{"color", 42}} << "color";
        QTest::newRow("size") << QVariantMap{{"size", true}} << "size";
        QTest::newRow("disabled") << QVariantMap{{"disabled", "yes"}} << "disabled";
        QTest::newRow("onClick") << QVariantMap{{"onClick", "run()"}} << "onClick";
        QTest::newRow("children") << QVariantMap{{"children", 3}} << "children";
        QTest::newRow("href") << QVariantMap{{"href", QVariantList{}}} << "href";
        QTest::newRow("sx") << QVariantMap{{"sx", 1.5}} << "sx";
        QTest::newRow("text") << QVariantMap{{"text", QVariantList{}}} << "text";
    }
    void wrongKindsAreRefused()
    {
        QFETCH(QVariantMap, kwargs);
        QFETCH(QString, option);
        try {
            Button b({.kwargs = kwargs});
            QFAIL("accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), option);
        }
    }

    // A child that sets, from its destructor, a State the button follows:
    // Qt destroys the children after the button's own destructor, so by then
    // the button must no longer listen (its data is gone).
    void statesSetByAChildDuringTeardown_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QVariant>("initial");
        QTest::addColumn<QVariant>("late");
        const QVariant red = QVariant::fromValue(StyleMap{{QStringLiteral("root"), StyleMap{{QStringLiteral("color"), QStringLiteral("red")}}}});
        const QVariant blue = QVariant::fromValue(StyleMap{{QStringLiteral("root"), StyleMap{{QStringLiteral("color"), QStringLiteral("blue")}}}});
        QTest::newRow("text") << "text" << QVariant("before") << QVariant("after");
        QTest::newRow("children") << "children" << QVariant() << widgetListValue({});
        QTest::newRow("disabled") << "disabled" << QVariant(false) << QVariant(true);
        QTest::newRow("color") << "color" << QVariant("primary") << QVariant("error");
        QTest::newRow("size") << "size" << QVariant("medium") << QVariant("large");
        QTest::newRow("variant") << "variant" << QVariant("contained") << QVariant("outlined");
        QTest::newRow("classes") << "classes" << red << blue;
        QTest::newRow("style") << "style" << QVariant("color: red;") << QVariant("color: blue;");
        QTest::newRow("disableRipple") << "disableRipple" << QVariant(false) << QVariant(true);
        QTest::newRow("sx") << "sx" << QVariant("#x { color: red; }") << QVariant("#x { color: blue; }");
        QTest::newRow("startIcon") << "startIcon" << QVariant(MoreVert) << QVariant(":/icons/add.svg");
        QTest::newRow("language") << QString() << QVariant() << QVariant();
    }
    void statesSetByAChildDuringTeardown()
    {
        QFETCH(QString, option);
        QFETCH(QVariant, initial);
        QFETCH(QVariant, late);
        State state(initial);
        Button::Options options{.kwargs = {{"text", QVariant::fromValue(deferredTr("tessera::Theme", "Dark"))}}};
        if (option == u"startIcon")
            options.startIcon = &state;
        else if (!option.isEmpty())
            options.kwargs.insert(option, stateValue(&state));
        auto *button = new Button(options);
        auto *child = new testsupport::LateSetter({{&state, late}}, button);
        child->also = [] { i18n()->setLanguage(QStringLiteral("de")); };
        testsupport::drainEvents();   // styled once: the sx State is followed from then on

        delete button;
        QCOMPARE(state.value(), late);   // the child did set it
        i18n()->setLanguage(QStringLiteral("en"));
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("color none") << QByteArray("color") << QVariant();
        QTest::newRow("variant with a brace") << QByteArray("variant") << QVariant("text{");
        QTest::newRow("themeSize empty") << QByteArray("themeSize") << QVariant("");
    }
    void refusedWrites()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        Button b({.kwargs = {{"color", "secondary"}}});
        testsupport::checkRefusedWrite(&b, property.constData(), value);
    }

    void nothingRunsAfterDestruction()
    {
        QPointer<Button> b = new Button({.kwargs = {{"text", "gone"}}});
        setTheme("dark");
        b->deleteLater();
        testsupport::drainEvents();
        QVERIFY(!b);
    }
};

QTEST_MAIN(tst_Button)
#include "tst_button.moc"
