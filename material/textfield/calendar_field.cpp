#include "calendar_field_p.h"

#include <tessera/kit/editor_field_p.h>
#include <tessera/kit/registry.h>

namespace tessera {

namespace {
EditorStyleTemplate &styleTemplate()
{
    static EditorStyleTemplate instance(QStringLiteral("CalendarField"));
    return instance;
}
} // namespace

CalendarField::CalendarField(QWidget *parent) : CalendarField(Options{}, parent) {}

CalendarField::CalendarField(Options options, QWidget *parent)
    : EditorField(std::move(options), &CalendarField::_get_stylesheet, parent), d(std::make_unique<CalendarFieldPrivate>())
{
}

CalendarField::~CalendarField() = default;

QString CalendarField::_get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode)
{
    return styleTemplate().get(_variant, _size, _theme_mode);
}

const LruMemo<QString> &CalendarFieldPrivate::_styleMemo()
{
    return styleTemplate().memo();
}

} // namespace tessera

TESSERA_REGISTER_MODULE("tessera.material.textfield.calendar_field", CalendarField, [](const QVariantMap &options) -> QWidget * {
    return new tessera::CalendarField(tessera::EditorFieldOptions::fromVariantMap(options));
})
