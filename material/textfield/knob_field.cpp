#include "knob_field_p.h"

#include <tessera/kit/editor_field_p.h>
#include <tessera/kit/registry.h>

namespace tessera {

namespace {
EditorStyleTemplate &styleTemplate()
{
    static EditorStyleTemplate instance(QStringLiteral("KnobField"));
    return instance;
}
} // namespace

KnobField::KnobField(QWidget *parent) : KnobField(Options{}, parent) {}

KnobField::KnobField(Options options, QWidget *parent)
    : EditorField(std::move(options), &KnobField::_get_stylesheet, parent), d(std::make_unique<KnobFieldPrivate>())
{
}

KnobField::~KnobField() = default;

QString KnobField::_get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode)
{
    return styleTemplate().get(_variant, _size, _theme_mode);
}

const LruMemo<QString> &KnobFieldPrivate::_styleMemo()
{
    return styleTemplate().memo();
}

} // namespace tessera

TESSERA_REGISTER_MODULE("tessera.material.textfield.knob_field", KnobField, [](const QVariantMap &options) -> QWidget * {
    return new tessera::KnobField(tessera::EditorFieldOptions::fromVariantMap(options));
})
