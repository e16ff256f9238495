#pragma once

#include <tessera/designer/designer_export.h>
#include <tessera/kit/state.h>

#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>

// A host property: its getter, and a setter that builds the widget anew on a change.
#define TESSERA_HOST_OPTION(Type, name, setter)                                                   \
    Type name() const { return m_##name; }                                                         \
    void setter(const Type &value)                                                                 \
    {                                                                                              \
        if (m_##name == value)                                                                     \
            return;                                                                                \
        m_##name = value;                                                                          \
        Q_EMIT optionsChanged();                                                                   \
    }

namespace tessera::designer {

/*!
    A widget of the kit as Qt Designer and uic handle it. The kit's widgets
    take their options once, at construction; forms need a widget built with
    nothing but a parent and edited through properties. A host is that widget:
    it builds the real one by module path (tessera::create) from its
    properties, shows it filling the host, and builds it anew whenever a
    property changes. Properties carry the option names, except where
    QWidget has the name already: the "size" option is the property
    themeSize, FieldShell's "disabled" option is disabledLook. A change that the widget refuses (an OptionError) keeps
    the previous widget and is reported by lastError().

    \code
    auto *host = new tessera::designer::BusyTriggerHost(form);
    host->setProperty("text", "Send");
    auto *trigger = host->widget();   // the tessera::BusyTrigger itself
    \endcode

    Link Tessera::designer when a form uses these classes.
*/
class TESSERA_DESIGNER_EXPORT WidgetHost : public QWidget
{
    Q_OBJECT
public:
    ~WidgetHost() override;

    //! The hosted widget (null until one could be built).
    QWidget *widget() const { return m_widget; }
    //! The module path the hosted widget is built from.
    QString modulePath() const { return m_modulePath; }
    //! Why the last build was refused; empty after a successful one.
    QString lastError() const { return m_lastError; }

    //! Builds the hosted widget again from the current properties.
    void rebuild();

Q_SIGNALS:
    //! Emitted after a new hosted widget replaced the previous one.
    void rebuilt();

protected:
    WidgetHost(const QString &modulePath, QWidget *parent);
    //! The named options for tessera::create, from the host's properties.
    virtual QVariantMap options() const = 0;

private:
    Q_DISABLE_COPY(WidgetHost)
    QString m_modulePath;
    QString m_lastError;
    QPointer<QWidget> m_widget;
};

//! Hosts a tessera::BusyTrigger.
class TESSERA_DESIGNER_EXPORT BusyTriggerHost : public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY optionsChanged)
    Q_PROPERTY(bool loading READ loading WRITE setLoading NOTIFY optionsChanged)
    Q_PROPERTY(QString loadingPosition READ loadingPosition WRITE setLoadingPosition NOTIFY optionsChanged)
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY optionsChanged)
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY optionsChanged)
public:
    TESSERA_HOST_OPTION(QString, text, setText)
    TESSERA_HOST_OPTION(bool, loading, setLoading)
    TESSERA_HOST_OPTION(QString, loadingPosition, setLoadingPosition)
    TESSERA_HOST_OPTION(QString, color, setColor)
    TESSERA_HOST_OPTION(QString, variant, setVariant)
    TESSERA_HOST_OPTION(QString, themeSize, setThemeSize)
    explicit BusyTriggerHost(QWidget *parent = nullptr);
Q_SIGNALS:
    void optionsChanged();

protected:
    QVariantMap options() const override;

private:
    QString m_text = QStringLiteral("Save");
    bool m_loading = false;
    QString m_loadingPosition = QStringLiteral("start");
    QString m_color = QStringLiteral("primary");
    QString m_variant = QStringLiteral("contained");
    QString m_themeSize = QStringLiteral("medium");
};

//! Hosts a tessera::PopupTrigger (its menu is set in code).
class TESSERA_DESIGNER_EXPORT PopupTriggerHost : public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY optionsChanged)
    Q_PROPERTY(QString icon READ icon WRITE setIcon NOTIFY optionsChanged)
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY optionsChanged)
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY optionsChanged)
public:
    TESSERA_HOST_OPTION(QString, text, setText)
    TESSERA_HOST_OPTION(QString, icon, setIcon)
    TESSERA_HOST_OPTION(QString, color, setColor)
    TESSERA_HOST_OPTION(QString, variant, setVariant)
    TESSERA_HOST_OPTION(QString, themeSize, setThemeSize)
    explicit PopupTriggerHost(QWidget *parent = nullptr);
Q_SIGNALS:
    void optionsChanged();

protected:
    QVariantMap options() const override;

private:
    QString m_text = QStringLiteral("Options");
    QString m_icon;
    QString m_color = QStringLiteral("primary");
    QString m_variant = QStringLiteral("outlined");
    QString m_themeSize = QStringLiteral("medium");
};

//! Hosts a tessera::OrbAction.
class TESSERA_DESIGNER_EXPORT OrbActionHost : public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(QString icon READ icon WRITE setIcon NOTIFY optionsChanged)
    Q_PROPERTY(bool animate READ animate WRITE setAnimate NOTIFY optionsChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY optionsChanged)
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY optionsChanged)
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY optionsChanged)
public:
    TESSERA_HOST_OPTION(QString, icon, setIcon)
    TESSERA_HOST_OPTION(bool, animate, setAnimate)
    TESSERA_HOST_OPTION(QString, text, setText)
    TESSERA_HOST_OPTION(QString, color, setColor)
    TESSERA_HOST_OPTION(QString, variant, setVariant)
    TESSERA_HOST_OPTION(QString, themeSize, setThemeSize)
    explicit OrbActionHost(QWidget *parent = nullptr);
Q_SIGNALS:
    void optionsChanged();

protected:
    QVariantMap options() const override;

private:
    QString m_icon;
    bool m_animate = false;
    QString m_text;
    QString m_color; // empty: the orb's own defaults
    QString m_variant;
    QString m_themeSize;
};

/*!
    Hosts a tessera::FieldShell: the empty frame that fields derive from. Its
    title is shown by the derived field, so the host offers the frame's
    state and size only (the example text field's host has a label).
*/
class TESSERA_DESIGNER_EXPORT FieldShellHost : public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(bool disabledLook READ disabledLook WRITE setDisabledLook NOTIFY optionsChanged)
    Q_PROPERTY(bool multiline READ multiline WRITE setMultiline NOTIFY optionsChanged)
    Q_PROPERTY(bool multiple READ multiple WRITE setMultiple NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY optionsChanged)
public:
    TESSERA_HOST_OPTION(bool, disabledLook, setDisabledLook)
    TESSERA_HOST_OPTION(bool, multiline, setMultiline)
    TESSERA_HOST_OPTION(bool, multiple, setMultiple)
    TESSERA_HOST_OPTION(QString, themeSize, setThemeSize)
    explicit FieldShellHost(QWidget *parent = nullptr);
Q_SIGNALS:
    void optionsChanged();

protected:
    QVariantMap options() const override;

private:
    bool m_disabledLook = false;
    bool m_multiline = false;
    bool m_multiple = false;
    QString m_themeSize = QStringLiteral("medium");
};

//! Hosts one of the editor fields (KnobField, StepperField, CalendarField), which show no label.
class TESSERA_DESIGNER_EXPORT EditorFieldHost : public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY optionsChanged)
public:
    TESSERA_HOST_OPTION(QString, variant, setVariant)
    TESSERA_HOST_OPTION(QString, themeSize, setThemeSize)
Q_SIGNALS:
    void optionsChanged();

protected:
    EditorFieldHost(const QString &modulePath, QWidget *parent);
    QVariantMap options() const override;

private:
    QString m_variant = QStringLiteral("outlined");
    QString m_themeSize = QStringLiteral("medium");
};

//! Hosts a tessera::KnobField.
class TESSERA_DESIGNER_EXPORT KnobFieldHost : public EditorFieldHost
{
    Q_OBJECT
public:
    explicit KnobFieldHost(QWidget *parent = nullptr);
};

//! Hosts a tessera::StepperField.
class TESSERA_DESIGNER_EXPORT StepperFieldHost : public EditorFieldHost
{
    Q_OBJECT
public:
    explicit StepperFieldHost(QWidget *parent = nullptr);
};

//! Hosts a tessera::CalendarField.
class TESSERA_DESIGNER_EXPORT CalendarFieldHost : public EditorFieldHost
{
    Q_OBJECT
public:
    explicit CalendarFieldHost(QWidget *parent = nullptr);
};

/*!
    Hosts a tessera::ChipStack. The stack shows the widgets of its content
    State; the host owns that State (content()), which is empty until code
    fills it.
*/
class TESSERA_DESIGNER_EXPORT ChipStackHost : public WidgetHost
{
    Q_OBJECT
public:
    explicit ChipStackHost(QWidget *parent = nullptr);
    ~ChipStackHost() override;
    //! The State whose widgets the stack shows.
    State *content() const { return m_content; }

protected:
    QVariantMap options() const override;

private:
    QPointer<State> m_content;
};

} // namespace tessera::designer
