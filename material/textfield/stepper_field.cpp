#include "stepper_field_p.h"

#include <tessera/kit/editor_field_p.h>
#include <tessera/kit/registry.h>

namespace tessera {

namespace {
EditorStyleTemplate &styleTemplate()
{
    static EditorStyleTemplate instance(QStringLiteral("StepperField"));
    return instance;
}
} // namespace

StepperField::StepperField(QWidget *parent) : StepperField(Options{}, parent) {}

StepperField::StepperField(Options options, QWidget *parent)
    : EditorField(std::move(options), &StepperField::_get_stylesheet, parent), d(std::make_unique<StepperFieldPrivate>())
{
}

StepperField::~StepperField() = default;

QString StepperField::_get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode)
{
    return styleTemplate().get(_variant, _size, _theme_mode);
}

const LruMemo<QString> &StepperFieldPrivate::_styleMemo()
{
    return styleTemplate().memo();
}

} // namespace tessera

TESSERA_REGISTER_MODULE("tessera.material.textfield.stepper_field", StepperField, [](const QVariantMap &options) -> QWidget * {
    return new tessera::StepperField(tessera::EditorFieldOptions::fromVariantMap(options));
})
