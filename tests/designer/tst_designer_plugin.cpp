// The Qt Designer plugin as Designer uses it: loaded with QPluginLoader, its
// collection asked for the widgets, each one created through the plugin with
// a parent and edited through its properties; and a form made with it read
// as Designer reads it.

#include <tessera/material/button/busy_trigger.h>
#include <tessera/material/textfield/stepper_field.h>
#include <tessera/kit/registry.h>

#include "testsupport.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>


#include <QFile>
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
        QStringList names;
        for (QDesignerCustomWidgetInterface *w : collection()->customWidgets())
            names << w->name();
        names.sort();
        QCOMPARE(names, (QStringList{"tessera::BusyTrigger", "tessera::CalendarField", "tessera::ChipStack",
                                     "tessera::KnobField", "tessera::OrbAction", "tessera::PopupTrigger",
                                     "tessera::SelectField", "tessera::StepperField", "tessera::TextField"}));
    }

    // Each widget as Designer creates it, with what the property editor shows.
    void everyWidgetIsCreatedThroughThePlugin_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("properties");
        const QStringList button{"text", "color", "variant", "themeSize", "disabled"};
        const QStringList field{"variant", "themeSize", "label"};
        QTest::newRow("BusyTrigger") << "tessera::BusyTrigger"
                                     << QStringList{"loading", "loadingPosition", "text", "color", "variant", "themeSize"};
        QTest::newRow("PopupTrigger") << "tessera::PopupTrigger" << button + QStringList{"iconSource"};
        QTest::newRow("OrbAction") << "tessera::OrbAction" << button + QStringList{"iconSource", "animate"};
        QTest::newRow("KnobField") << "tessera::KnobField" << field;
        QTest::newRow("StepperField") << "tessera::StepperField" << field;
        QTest::newRow("CalendarField") << "tessera::CalendarField" << field;
        QTest::newRow("ChipStack") << "tessera::ChipStack" << QStringList{};
        QTest::newRow("TextField") << "tessera::TextField"
                                   << QStringList{"label", "text", "placeholder", "helperText", "error", "themeSize"};
        QTest::newRow("SelectField") << "tessera::SelectField"
                                     << QStringList{"label", "items", "currentIndex", "helperText", "error", "themeSize"};
    }
    void everyWidgetIsCreatedThroughThePlugin()
    {
        QFETCH(QString, cls);
        QFETCH(QStringList, properties);
        QDesignerCustomWidgetInterface *w = interfaceFor(cls);
        QVERIFY2(w, qPrintable(cls + " is not in the collection"));
        w->initialize(nullptr);
        QVERIFY(w->isInitialized());
        QCOMPARE(w->group(), QString("tessera"));
        QVERIFY(w->includeFile().startsWith("tessera/material/"));
        QVERIFY(!w->isContainer());
        QCOMPARE(classInDomXml(w->domXml()), cls);

        QWidget form;
        QPointer<QWidget> created = w->createWidget(&form);
        QVERIFY(created);
        QCOMPARE(created->parentWidget(), &form);
        QCOMPARE(QString::fromLatin1(created->metaObject()->className()), cls);
        const QMetaObject *meta = created->metaObject();
        for (const QString &name : properties) {
            const int index = meta->indexOfProperty(name.toLatin1().constData());
            QVERIFY2(index >= QWidget::staticMetaObject.propertyCount(), qPrintable(name));
            const QMetaProperty p = meta->property(index);
            QVERIFY2(p.isDesignable() && p.isWritable() && p.hasNotifySignal(), qPrintable(name));
        }
        form.show();
        testsupport::drainEvents();
        QVERIFY(created);
    }

    // A property edit changes the widget in place: connections made to it stay.
    void anEditKeepsTheWidget()
    {
        QWidget form;
        QPointer<QWidget> trigger = interfaceFor("tessera::BusyTrigger")->createWidget(&form);
        QVERIFY(trigger);
        QSignalSpy edited(trigger.data(), SIGNAL(colorChanged(QString)));
        QVERIFY(trigger->setProperty("color", "secondary"));
        testsupport::drainEvents();
        QVERIFY(trigger);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(trigger->parentWidget(), &form);
        QVERIFY(!trigger->styleSheet().isEmpty());
    }

    // The example form, read as Designer reads it: each widget is created
    // through the plugin with the form as parent, then each property the form
    // sets is written with setProperty(); the values arrive as the form says.
    void theExampleFormLoads()
    {
        QFile file(QStringLiteral(EXAMPLE_FORM));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QWidget form;
        QXmlStreamReader reader(&file);
        QWidget *current = nullptr;
        QByteArray property;
        int created = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            if (reader.name() == QLatin1String("widget")) {
                current = nullptr;
                if (QDesignerCustomWidgetInterface *w = interfaceFor(reader.attributes().value("class").toString())) {
                    current = w->createWidget(&form);
                    current->setObjectName(reader.attributes().value("name").toString());
                    ++created;
                }
            } else if (reader.name() == QLatin1String("property")) {
                property = reader.attributes().value("name").toLatin1();
            } else if (current && reader.name() == QLatin1String("string")) {
                QVERIFY2(current->setProperty(property.constData(), reader.readElementText()), property.constData());
            } else if (current && reader.name() == QLatin1String("bool")) {
                QVERIFY2(current->setProperty(property.constData(), reader.readElementText() == QLatin1String("true")),
                         property.constData());
            }
        }
        QVERIFY(!reader.hasError());
        QCOMPARE(created, 2);
        auto *send = form.findChild<BusyTrigger *>("send");
        auto *count = form.findChild<StepperField *>("count");
        QVERIFY(send && count);
        QCOMPARE(send->text(), QString("Send"));
        QCOMPARE(send->color(), QString("secondary"));
        QCOMPARE(send->themeSize(), QString("small"));
        QVERIFY(send->isLoading());
        QCOMPARE(count->variant(), QString("filled"));
        QCOMPARE(count->label(), QString("Copies"));
        form.show();
        testsupport::drainEvents();
        QVERIFY(count->styleSheet().contains("[variant=filled]"));
        std::unique_ptr<QWidget> secondary(create("tessera.material.button.busy_trigger",
                                                  {{"color", "secondary"}, {"size", "small"}}));
        testsupport::drainEvents();
        QCOMPARE(send->styleSheet(), secondary->styleSheet().replace(secondary->objectName(), send->objectName()));
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
