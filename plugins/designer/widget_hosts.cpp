#include "widget_hosts.h"

#include <tessera/kit/registry.h>
#include <tessera/kit/state.h>

#include <QHBoxLayout>

#include <exception>

namespace tessera::designer {

namespace {

const QString textfield = QStringLiteral("tessera.material.textfield.");
const QString button = QStringLiteral("tessera.material.button.");

// Empty texts are left out, so the widget's own default applies.
void putText(QVariantMap &options, const char *name, const QString &value)
{
    if (!value.isEmpty())
        options.insert(QString::fromLatin1(name), value);
}

} // namespace

WidgetHost::WidgetHost(const QString &modulePath, QWidget *parent) : QWidget(parent), m_modulePath(modulePath)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

// The hosted widget goes first, before the objects it may still refer to
// (a ChipStack's content State is another child of the host).
WidgetHost::~WidgetHost()
{
    delete m_widget.data();
}

void WidgetHost::rebuild()
{
    QWidget *built = nullptr;
    try {
        built = tessera::create(m_modulePath, options());
    } catch (const std::exception &e) {
        m_lastError = QString::fromUtf8(e.what());
        return;
    }
    m_lastError.clear();
    delete m_widget.data();
    m_widget = built;
    layout()->addWidget(built);
    Q_EMIT rebuilt();
}

BusyTriggerHost::BusyTriggerHost(QWidget *parent) : WidgetHost(button + QStringLiteral("busy_trigger"), parent)
{
    connect(this, &BusyTriggerHost::optionsChanged, this, &WidgetHost::rebuild);
    rebuild();
}

QVariantMap BusyTriggerHost::options() const
{
    QVariantMap o{{QStringLiteral("loading"), m_loading}};
    putText(o, "text", m_text);
    putText(o, "loadingPosition", m_loadingPosition);
    putText(o, "color", m_color);
    putText(o, "variant", m_variant);
    putText(o, "size", m_themeSize);
    return o;
}

PopupTriggerHost::PopupTriggerHost(QWidget *parent) : WidgetHost(button + QStringLiteral("popup_trigger"), parent)
{
    connect(this, &PopupTriggerHost::optionsChanged, this, &WidgetHost::rebuild);
    rebuild();
}

QVariantMap PopupTriggerHost::options() const
{
    QVariantMap o;
    putText(o, "text", m_text);
    putText(o, "icon", m_icon);
    putText(o, "color", m_color);
    putText(o, "variant", m_variant);
    putText(o, "size", m_themeSize);
    return o;
}

OrbActionHost::OrbActionHost(QWidget *parent) : WidgetHost(button + QStringLiteral("orb_action"), parent)
{
    connect(this, &OrbActionHost::optionsChanged, this, &WidgetHost::rebuild);
    rebuild();
}

QVariantMap OrbActionHost::options() const
{
    QVariantMap o{{QStringLiteral("animate"), m_animate}};
    putText(o, "icon", m_icon);
    putText(o, "text", m_text);
    putText(o, "color", m_color);
    putText(o, "variant", m_variant);
    putText(o, "size", m_themeSize);
    return o;
}

FieldShellHost::FieldShellHost(QWidget *parent) : WidgetHost(textfield + QStringLiteral("field_shell"), parent)
{
    connect(this, &FieldShellHost::optionsChanged, this, &WidgetHost::rebuild);
    rebuild();
}

QVariantMap FieldShellHost::options() const
{
    QVariantMap o{{QStringLiteral("disabled"), m_disabledLook},
                  {QStringLiteral("multiline"), m_multiline},
                  {QStringLiteral("multiple"), m_multiple}};
    putText(o, "size", m_themeSize);
    return o;
}

EditorFieldHost::EditorFieldHost(const QString &modulePath, QWidget *parent) : WidgetHost(modulePath, parent)
{
    connect(this, &EditorFieldHost::optionsChanged, this, &WidgetHost::rebuild);
}

QVariantMap EditorFieldHost::options() const
{
    QVariantMap o;
    putText(o, "variant", m_variant);
    putText(o, "size", m_themeSize);
    return o;
}

KnobFieldHost::KnobFieldHost(QWidget *parent) : EditorFieldHost(textfield + QStringLiteral("knob_field"), parent)
{
    rebuild();
}

StepperFieldHost::StepperFieldHost(QWidget *parent) : EditorFieldHost(textfield + QStringLiteral("stepper_field"), parent)
{
    rebuild();
}

CalendarFieldHost::CalendarFieldHost(QWidget *parent) : EditorFieldHost(textfield + QStringLiteral("calendar_field"), parent)
{
    rebuild();
}

ChipStackHost::ChipStackHost(QWidget *parent)
    : WidgetHost(textfield + QStringLiteral("chip_stack"), parent), m_content(new State(widgetListValue({}), this))
{
    rebuild();
}

ChipStackHost::~ChipStackHost() = default;

QVariantMap ChipStackHost::options() const
{
    return {{QStringLiteral("content"), QVariant::fromValue<QObject *>(m_content.data())}};
}

} // namespace tessera::designer
