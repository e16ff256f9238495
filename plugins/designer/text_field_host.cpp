#include "text_field_host.h"

#include <QHBoxLayout>

namespace tessera::designer {

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
    TextField::Options options;
    options.label = m_label;
    options.text = m_text;
    options.placeholder = m_placeholder;
    options.multiline = m_multiline;
    options.size = m_themeSize;
    TextField *field = nullptr;
    try {
        field = new TextField(options);
    } catch (const std::exception &) {
        return;   // a size the theme lacks: the previous field stays
    }
    delete m_field.data();
    m_field = field;
    layout()->addWidget(m_field);
}

} // namespace tessera::designer
