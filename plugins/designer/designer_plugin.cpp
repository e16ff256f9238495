// The Qt Designer plugin: every widget of the kit (through its host, see
// widget_hosts.h) in one collection under the "tessera" group of the widget
// box, with its main options as properties.

#include "widget_hosts.h"

#ifdef TESSERA_DESIGNER_TEXT_FIELD
#include "text_field_host.h"
#endif

#include <tessera/kit/registry.h>

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Entry
{
    QString className;   // the host class, as uic writes it
    QString includeFile; // what uic includes for it
    QString objectName;  // the name a new instance gets in a form
    QString toolTip;
    std::function<QWidget *(QWidget *)> make;
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
        return QStringLiteral("<ui language=\"c++\">\n <widget class=\"%1\" name=\"%2\"/>\n</ui>\n")
            .arg(m_entry.className, m_entry.objectName);
    }

private:
    Entry m_entry;
    bool m_initialized = false;
};

template<typename Host>
std::function<QWidget *(QWidget *)> maker()
{
    return [](QWidget *parent) { return new Host(parent); };
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
        using namespace tessera::designer;
        const QString hosts = QStringLiteral("tessera/designer/widget_hosts.h");
        const std::vector<std::pair<QString, Entry>> entries{
            {QStringLiteral("tessera.material.button.busy_trigger"),
             {QStringLiteral("tessera::designer::BusyTriggerHost"), hosts, QStringLiteral("busyTrigger"),
              QStringLiteral("A button-styled frame with a label and a loading icon"), maker<BusyTriggerHost>()}},
            {QStringLiteral("tessera.material.button.popup_trigger"),
             {QStringLiteral("tessera::designer::PopupTriggerHost"), hosts, QStringLiteral("popupTrigger"),
              QStringLiteral("A button that opens its popup menu beside itself"), maker<PopupTriggerHost>()}},
            {QStringLiteral("tessera.material.button.orb_action"),
             {QStringLiteral("tessera::designer::OrbActionHost"), hosts, QStringLiteral("orbAction"),
              QStringLiteral("A floating action button"), maker<OrbActionHost>()}},
            {QStringLiteral("tessera.material.textfield.field_shell"),
             {QStringLiteral("tessera::designer::FieldShellHost"), hosts, QStringLiteral("fieldShell"),
              QStringLiteral("The titled frame of the kit's input fields"), maker<FieldShellHost>()}},
            {QStringLiteral("tessera.material.textfield.knob_field"),
             {QStringLiteral("tessera::designer::KnobFieldHost"), hosts, QStringLiteral("knobField"),
              QStringLiteral("A dial styled as a kit field"), maker<KnobFieldHost>()}},
            {QStringLiteral("tessera.material.textfield.stepper_field"),
             {QStringLiteral("tessera::designer::StepperFieldHost"), hosts, QStringLiteral("stepperField"),
              QStringLiteral("A spin box styled as a kit field"), maker<StepperFieldHost>()}},
            {QStringLiteral("tessera.material.textfield.calendar_field"),
             {QStringLiteral("tessera::designer::CalendarFieldHost"), hosts, QStringLiteral("calendarField"),
              QStringLiteral("A date editor styled as a kit field"), maker<CalendarFieldHost>()}},
            {QStringLiteral("tessera.material.textfield.chip_stack"),
             {QStringLiteral("tessera::designer::ChipStackHost"), hosts, QStringLiteral("chipStack"),
              QStringLiteral("A stack of the widgets held by an observable value"), maker<ChipStackHost>()}},
        };
        // Only the modules that are installed beside the kit.
        for (const auto &[path, entry] : entries) {
            try {
                tessera::loadModule(path);
            } catch (const std::exception &) {
                continue;
            }
            m_owned.push_back(std::make_unique<WidgetInterface>(entry));
        }
#ifdef TESSERA_DESIGNER_TEXT_FIELD
        m_owned.push_back(std::make_unique<WidgetInterface>(
            Entry{QStringLiteral("tessera::designer::TextFieldHost"), QStringLiteral("text_field_host.h"), QStringLiteral("textField"),
                  QStringLiteral("A labelled text input"), maker<TextFieldHost>()}));
#endif
        for (const auto &w : m_owned)
            m_widgets.append(w.get());
    }

    QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return m_widgets; }

private:
    std::vector<std::unique_ptr<WidgetInterface>> m_owned;
    QList<QDesignerCustomWidgetInterface *> m_widgets;
};

#include "designer_plugin.moc"
