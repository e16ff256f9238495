// The Qt Designer plugin: the kit's widgets themselves, in one collection
// under the "tessera" group of the widget box. Designer and uic build them
// with their (QWidget *parent) constructors and edit them through their
// properties (text, color, variant, themeSize, loading, ...), so a form holds
// the real widget and a connection made to it stays.

#include <tessera/material/button/busy_trigger.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/chip_stack.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/select_field.h>
#include <tessera/material/textfield/stepper_field.h>
#include <tessera/material/textfield/text_field.h>

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>

#include <memory>
#include <vector>

namespace {

struct Entry
{
    QString className;   // as uic writes it
    QString includeFile; // what uic includes for it
    QString objectName;  // the name a new instance gets in a form
    QString toolTip;
    QString defaults;    // <property> elements a new instance starts with
    QWidget *(*make)(QWidget *parent);
};

class WidgetInterface : public QDesignerCustomWidgetInterface
{
public:
    explicit WidgetInterface(Entry entry) : m_entry(std::move(entry)) {}

    QString name() const override { return m_entry.className; }
    QString group() const override { return QStringLiteral("tessera"); }
    QString toolTip() const override { return m_entry.toolTip; }
    QString whatsThis() const override { return m_entry.toolTip; }
    QString includeFile() const override { return m_entry.includeFile; }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    QWidget *createWidget(QWidget *parent) override { return m_entry.make(parent); }
    bool isInitialized() const override { return m_initialized; }
    void initialize(QDesignerFormEditorInterface *) override { m_initialized = true; }
    QString domXml() const override
    {
        return QStringLiteral("<ui language=\"c++\">\n <widget class=\"%1\" name=\"%2\">%3</widget>\n</ui>\n")
            .arg(m_entry.className, m_entry.objectName, m_entry.defaults);
    }

private:
    Entry m_entry;
    bool m_initialized = false;
};

template<typename Widget>
QWidget *make(QWidget *parent)
{
    return new Widget(parent);
}

QString textProperty(const char *name, const char *value)
{
    return QStringLiteral("<property name=\"%1\"><string>%2</string></property>")
        .arg(QLatin1String(name), QLatin1String(value));
}

} // namespace

class TesseraDesignerWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TesseraDesignerWidgets(QObject *parent = nullptr) : QObject(parent)
    {
        using namespace tessera;
        const QString button = QStringLiteral("tessera/material/button/");
        const QString textfield = QStringLiteral("tessera/material/textfield/");
        // FieldShell is not offered: it is an abstract base for field classes.
        const std::vector<Entry> entries{
            {QStringLiteral("tessera::BusyTrigger"), button + QStringLiteral("busy_trigger.h"),
             QStringLiteral("busyTrigger"), QStringLiteral("A button-styled frame with a label and a loading icon"),
             textProperty("text", "Button"), &make<BusyTrigger>},
            {QStringLiteral("tessera::PopupTrigger"), button + QStringLiteral("popup_trigger.h"),
             QStringLiteral("popupTrigger"), QStringLiteral("A button that opens its popup menu beside itself"),
             textProperty("text", "Menu"), &make<PopupTrigger>},
            {QStringLiteral("tessera::OrbAction"), button + QStringLiteral("orb_action.h"), QStringLiteral("orbAction"),
             QStringLiteral("A floating action button"), textProperty("iconSource", "round:add"), &make<OrbAction>},
            {QStringLiteral("tessera::KnobField"), textfield + QStringLiteral("knob_field.h"), QStringLiteral("knobField"),
             QStringLiteral("A dial styled as a kit field"), {}, &make<KnobField>},
            {QStringLiteral("tessera::StepperField"), textfield + QStringLiteral("stepper_field.h"),
             QStringLiteral("stepperField"), QStringLiteral("A spin box styled as a kit field"), {}, &make<StepperField>},
            {QStringLiteral("tessera::CalendarField"), textfield + QStringLiteral("calendar_field.h"),
             QStringLiteral("calendarField"), QStringLiteral("A date editor styled as a kit field"), {},
             &make<CalendarField>},
            {QStringLiteral("tessera::ChipStack"), textfield + QStringLiteral("chip_stack.h"), QStringLiteral("chipStack"),
             QStringLiteral("A stack of the widgets held by an observable value (content())"), {}, &make<ChipStack>},
            {QStringLiteral("tessera::TextField"), textfield + QStringLiteral("text_field.h"), QStringLiteral("textField"),
             QStringLiteral("A labelled text input with helper text, error, counter and clear button"),
             textProperty("label", "Label"), &make<TextField>},
            {QStringLiteral("tessera::SelectField"), textfield + QStringLiteral("select_field.h"),
             QStringLiteral("selectField"), QStringLiteral("A labelled choice from a list"),
             textProperty("label", "Label"), &make<SelectField>},
        };
        for (const Entry &entry : entries)
            m_owned.push_back(std::make_unique<WidgetInterface>(entry));
        for (const auto &w : m_owned)
            m_widgets.append(w.get());
    }

    QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return m_widgets; }

private:
    std::vector<std::unique_ptr<WidgetInterface>> m_owned;
    QList<QDesignerCustomWidgetInterface *> m_widgets;
};

#include "designer_plugin.moc"
