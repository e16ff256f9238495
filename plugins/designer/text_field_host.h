#pragma once

#include <tessera/material/textfield/text_field.h>

#include <QPointer>
#include <QWidget>

namespace tessera::designer {

/*!
    The kit's text field in Qt Designer: built anew from its properties like
    the other hosts. It lives in the plugin only.
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

} // namespace tessera::designer
