#pragma once

#include <text_field/text_field.h>

#include <QPointer>
#include <QWidget>

namespace examples {

/*!
    The example text field (examples/text_field) in Qt Designer: built anew
    from its properties like the kit's hosts. It lives in the plugin only,
    as the example itself is not installed.
*/
class TextFieldHost : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString label MEMBER m_label NOTIFY optionsChanged)
    Q_PROPERTY(QString text MEMBER m_text NOTIFY optionsChanged)
    Q_PROPERTY(QString placeholderText MEMBER m_placeholder NOTIFY optionsChanged)
    Q_PROPERTY(bool multiline MEMBER m_multiline NOTIFY optionsChanged)
    Q_PROPERTY(QString themeSize MEMBER m_themeSize NOTIFY optionsChanged)
public:
    explicit TextFieldHost(QWidget *parent = nullptr);
    ~TextFieldHost() override;
    TextField *widget() const { return m_field; }

Q_SIGNALS:
    void optionsChanged();

private:
    void rebuild();

    QString m_label = QStringLiteral("Label");
    QString m_text;
    QString m_placeholder;
    bool m_multiline = false;
    QString m_themeSize = QStringLiteral("medium");
    QPointer<TextField> m_field;
};

} // namespace examples
