// The Qt Designer plugin as Designer uses it: loaded with QPluginLoader, its
// collection asked for the widgets, each one created through the plugin and
// edited through its properties.

#include <tessera/designer/widget_hosts.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/state.h>

#include "testsupport.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QLabel>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using namespace tessera;

namespace {

QDesignerCustomWidgetCollectionInterface *collection()
{
    static QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
}

QDesignerCustomWidgetInterface *interfaceFor(const QString &className)
{
    if (!collection())
        return nullptr;
    for (QDesignerCustomWidgetInterface *w : collection()->customWidgets()) {
        if (w->name() == className)
            return w;
    }
    return nullptr;
}

bool moduleBuilt(const QString &path)
{
    try {
        loadModule(path);
        return true;
    } catch (const ModuleError &) {
        return false;
    }
}

// The class attribute of the widget element in a domXml text (empty when malformed).
QString classInDomXml(const QString &xml)
{
    QXmlStreamReader reader(xml);
    QString found;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("widget"))
            found = reader.attributes().value(QLatin1String("class")).toString();
    }
    return reader.hasError() ? QString() : found;
}

} // namespace

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pluginLoads()
    {
        QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
        QVERIFY2(loader.load(), qPrintable(loader.errorString()));
        QCOMPARE(loader.metaData().value("IID").toString(), QString("org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"));
        QVERIFY(collection());

        // One host per widget module built beside the kit; the ready-made
        // fields are not among the hosts (the text field has its own below).
        int expected = 0;
        for (const QString &path : knownModules()) {
            if (!path.endsWith(QLatin1String(".text_field")) && !path.endsWith(QLatin1String(".select_field")))
                expected += moduleBuilt(path) ? 1 : 0;
        }
#ifdef TESSERA_DESIGNER_TEXT_FIELD
        ++expected;
#endif
        const QList<QDesignerCustomWidgetInterface *> widgets = collection()->customWidgets();
        QCOMPARE(widgets.size(), expected);
        QStringList names;
        for (QDesignerCustomWidgetInterface *w : widgets)
            names << w->name();
        names.removeDuplicates();
        QCOMPARE(names.size(), widgets.size());
    }

    void everyWidgetIsCreatedThroughThePlugin_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("hosted");
        const QList<std::pair<const char *, const char *>> hosts{
            {"tessera.material.button.busy_trigger", "BusyTrigger"},
            {"tessera.material.button.popup_trigger", "PopupTrigger"},
            {"tessera.material.button.orb_action", "OrbAction"},
            {"tessera.material.textfield.field_shell", "FieldShell"},
            {"tessera.material.textfield.knob_field", "KnobField"},
            {"tessera.material.textfield.stepper_field", "StepperField"},
            {"tessera.material.textfield.calendar_field", "CalendarField"},
            {"tessera.material.textfield.chip_stack", "ChipStack"},
        };
        for (const auto &[path, cls] : hosts) {
            if (moduleBuilt(QString::fromLatin1(path)))
                QTest::newRow(cls) << QStringLiteral("tessera::designer::%1Host").arg(QLatin1String(cls))
                                   << QStringLiteral("tessera::%1").arg(QLatin1String(cls));
        }
#ifdef TESSERA_DESIGNER_TEXT_FIELD
        QTest::newRow("TextField") << QString("tessera::designer::TextFieldHost") << QString("tessera::TextField");
#endif
    }
    void everyWidgetIsCreatedThroughThePlugin()
    {
        QFETCH(QString, host);
        QFETCH(QString, hosted);
        QDesignerCustomWidgetInterface *w = interfaceFor(host);
        QVERIFY2(w, qPrintable(host + " is not in the collection"));
        w->initialize(nullptr);
        QVERIFY(w->isInitialized());
        QCOMPARE(w->group(), QString("tessera"));
        QVERIFY(!w->includeFile().isEmpty());
        QVERIFY(!w->isContainer());
        QCOMPARE(classInDomXml(w->domXml()), host);

        QWidget form;
        QWidget *created = w->createWidget(&form);
        QVERIFY(created);
        QCOMPARE(created->parentWidget(), &form);
        QCOMPARE(QString::fromLatin1(created->metaObject()->className()), host);
        // The real widget sits inside, and styles itself like any other.
        QWidget *inner = nullptr;
        for (QWidget *child : created->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (QString::fromLatin1(child->metaObject()->className()) == hosted)
                inner = child;
        }
        QVERIFY2(inner, qPrintable(hosted + " is not hosted"));
        if (auto *h = qobject_cast<designer::WidgetHost *>(created)) {
            QCOMPARE(h->widget(), inner);
            QVERIFY(h->lastError().isEmpty());
        }
        form.show();
        testsupport::drainEvents();
    }

    // What the property editor shows: the main options, designable and writable.
    void mainOptionsAreProperties_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QStringList>("properties");
        QTest::newRow("BusyTrigger") << "tessera::designer::BusyTriggerHost"
                                     << QStringList{"text", "loading", "loadingPosition", "color", "variant", "themeSize"};
        QTest::newRow("PopupTrigger") << "tessera::designer::PopupTriggerHost" << QStringList{"text", "icon", "color", "variant", "themeSize"};
        QTest::newRow("OrbAction") << "tessera::designer::OrbActionHost" << QStringList{"icon", "animate", "text", "color", "variant", "themeSize"};
        QTest::newRow("FieldShell") << "tessera::designer::FieldShellHost"
                                    << QStringList{"disabledLook", "multiline", "multiple", "themeSize"};
        QTest::newRow("KnobField") << "tessera::designer::KnobFieldHost" << QStringList{"variant", "themeSize"};
        QTest::newRow("StepperField") << "tessera::designer::StepperFieldHost" << QStringList{"variant", "themeSize"};
        QTest::newRow("CalendarField") << "tessera::designer::CalendarFieldHost" << QStringList{"variant", "themeSize"};
    }
    void mainOptionsAreProperties()
    {
        QFETCH(QString, host);
        QFETCH(QStringList, properties);
        QDesignerCustomWidgetInterface *w = interfaceFor(host);
        if (!w)
            QSKIP("module not built");
        std::unique_ptr<QWidget> created(w->createWidget(nullptr));
        const QMetaObject *meta = created->metaObject();
        for (const QString &name : properties) {
            const int index = meta->indexOfProperty(name.toLatin1().constData());
            QVERIFY2(index >= QWidget::staticMetaObject.propertyCount(), qPrintable(name));
            const QMetaProperty p = meta->property(index);
            QVERIFY2(p.isDesignable() && p.isWritable(), qPrintable(name));
        }
    }

    void aPropertyChangeRebuildsTheWidget()
    {
        if (!moduleBuilt("tessera.material.button.busy_trigger") || !moduleBuilt("tessera.material.textfield.field_shell"))
            QSKIP("modules not built");
        designer::BusyTriggerHost trigger;
        QPointer<QWidget> before = trigger.widget();
        QSignalSpy rebuilt(&trigger, &designer::WidgetHost::rebuilt);
        // What uic writes for a property set in a form.
        trigger.setText(QStringLiteral("Send"));
        QCOMPARE(trigger.text(), QString("Send"));
        QCOMPARE(rebuilt.count(), 1);
        QVERIFY(before.isNull());
        QVERIFY(trigger.widget());
        QCOMPARE(trigger.widget()->parentWidget(), &trigger);
        bool shown = false;
        for (const QLabel *label : trigger.widget()->findChildren<QLabel *>())
            shown = shown || label->text() == QLatin1String("Send");
        QVERIFY(shown);
        // Setting the same value again changes nothing.
        QVERIFY(trigger.setProperty("text", "Send"));
        QCOMPARE(rebuilt.count(), 1);

        designer::FieldShellHost field;
        QCOMPARE(field.widget()->property("disabled").toBool(), false);
        field.setProperty("disabledLook", true);
        QTRY_COMPARE(field.widget()->property("disabled").toBool(), true);
    }

    void editorFieldsTakeTheirVariant()
    {
        if (!moduleBuilt("tessera.material.textfield.stepper_field"))
            QSKIP("stepper_field not built");
        designer::StepperFieldHost host;
        QTRY_COMPARE(host.widget()->property("variant").toString(), QString("outlined"));
        host.setProperty("variant", "filled");
        QTRY_COMPARE(host.widget()->property("variant").toString(), QString("filled"));
    }

    // A refused build keeps the widget that was there and says why.
    void aRefusedBuildKeepsThePreviousWidget()
    {
        if (!moduleBuilt("tessera.material.textfield.chip_stack"))
            QSKIP("chip_stack not built");
        designer::ChipStackHost host;
        QWidget *stack = host.widget();
        QVERIFY(stack);
        QSignalSpy rebuilt(&host, &designer::WidgetHost::rebuilt);
        delete host.content();
        host.rebuild();
        QCOMPARE(rebuilt.count(), 0);
        QCOMPARE(host.widget(), stack);
        QVERIFY2(host.lastError().contains(QLatin1String("content")), qPrintable(host.lastError()));
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
