#pragma once

#include <tessera/kit/editor_field.h>
#include <tessera/material/textfield/calendar_field_export.h>

#include <QDateEdit>

#include <memory>

namespace tessera {

class CalendarFieldPrivate;

/*!
    A date editor that is also a kit field. It shows no label of its own: its look is the theme's "CalendarField" root
    style, in a rule selected by its object name and its \c variant, followed
    by the caller's \c sx; it restyles after every theme change. Subclasses
    keep reading the "CalendarField" entry.

    \code
    auto *field = new tessera::CalendarField({.sx = tessera::StyleMap{{"borderRadius", 8}}, .variant = "filled"});
    field->setCalendarPopup(true);
    layout->addWidget(field);
    \endcode
*/
class TESSERA_CALENDAR_FIELD_EXPORT CalendarField : public EditorField<QDateEdit>
{
    Q_OBJECT
    //! The variant of the theme's field styles.
    Q_PROPERTY(QString variant READ variant WRITE setVariant NOTIFY variantChanged)
    //! The size of the theme's field styles (the \c size option).
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
    //! The \c label option, stored only (a null text is no label).
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
public:
    //! A date field with every option at its default, a child of \a parent.
    explicit CalendarField(QWidget *parent = nullptr);
    //! A date field with \a options, a child of \a parent; throws OptionError naming a bad one.
    explicit CalendarField(Options options, QWidget *parent = nullptr);
    ~CalendarField() override;

Q_SIGNALS:
    //! Emitted once per change of the \c variant property.
    void variantChanged(const QString &variant);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);
    //! Emitted once per change of the \c label property.
    void labelChanged(const QString &label);

protected:
    //! Class-level and memoised: the style template for (variant, size, palette mode) of the current theme.
    static QString _get_stylesheet(const QString &_variant, const QString &_size, const QString &_theme_mode);

private:
    Q_DISABLE_COPY(CalendarField)
    friend class CalendarFieldPrivate;
    std::unique_ptr<CalendarFieldPrivate> const d;
};

} // namespace tessera
