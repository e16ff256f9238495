#include "text_field_host.h"

#include <text_field/text_field.h>

#include <QHBoxLayout>

namespace examples {

TextFieldHost::TextFieldHost(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(this, &TextFieldHost::optionsChanged, this, &TextFieldHost::rebuild);
    rebuild();
}

TextFieldHost::~TextFieldHost()
{
    delete m_field.data();
}

void TextFieldHost::rebuild()
{
    delete m_field.data();
    TextField::Options options;
    if (!m_label.isEmpty())
        options.label = m_label;
    options.multiline = m_multiline;
    options.size = m_themeSize;
    m_field = new TextField(options);
    m_field->setText(m_text);
    m_field->setPlaceholderText(m_placeholder);
    layout()->addWidget(m_field);
}

} // namespace examples
