#pragma once

// Kit-internal: not installed, not part of the API. The editor-field modules
// include it as <tessera/kit/editor_field_p.h>.

#include <tessera/kit/editor_field.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/kit/theme.h>

#include <QString>
#include <QStringList>

#include <utility>

namespace tessera {

//! The private data of EditorFieldBase: the field's options.
class EditorFieldPrivate
{
public:
    EditorFieldPrivate(QWidget *self, EditorFieldBase::StylesheetGetter getStylesheet)
        : self(self), getStylesheet(getStylesheet)
    {
    }

    QWidget *const self;
    EditorFieldBase::StylesheetGetter const getStylesheet;
    //! The children option, guarded: the row's widgets may be deleted by their owner later.
    std::optional<WidgetList> _children;
    std::optional<QString> _label;   //!< The label option (stored only).
    EditorFieldBase::ChangeHandler _onChange;   //!< The change handler option (stored only).
    Sx _sx;   //!< The caller's extra style, rendered after the template.
    QString _variant;   //!< The variant: the "variant" property and the template key.
    QString _size;   //!< The size: a template key only.
};

/*!
    The class-level style template of one editor-field class: the rule for the
    component's root style, selected by the object-name placeholder and the
    variant, memoised per (variant, size, palette mode, theme) in an LRU memo of
    128 entries that is never cleared. Each editor-field class owns exactly one
    instance (in its own library) and fixes the theme component it reads, so a
    subclass keeps reading its base class's entry.
*/
class EditorStyleTemplate
{
public:
    //! The template of the theme component \a componentKey ("KnobField").
    explicit EditorStyleTemplate(QString componentKey) : m_componentKey(std::move(componentKey)) {}

    //! The theme component whose root style the template holds.
    QString componentKey() const { return m_componentKey; }

    /*!
        The template text for \a variant. \a size and \a themeMode only key the
        memo, together with the identity of the current theme, so that two
        themes of one palette mode never share a text. Throws when the current
        theme lacks the component or its "styles"; nothing is memoised then.
    */
    QString get(const QString &variant, const QString &size, const QString &themeMode)
    {
        QStringList key;
        key.reserve(5);
        key << variant << size << themeMode << themeMemoKey(useTheme());
        return m_memo.get(key, [&] { return build(variant); });
    }

    //! The memo of template texts, for inspection.
    const LruMemo<QString> &memo() const { return m_memo; }

private:
    QString build(const QString &variant) const
    {
        const Theme *current = useTheme();
        const StyleMap &component = current->components().mapAt(m_componentKey);
        // A missing or non-mapping "styles" cannot answer the "root" lookup;
        // a missing "root" is passed on as none and renders as nothing.
        const StyleValue *styles = component.find(u"styles");
        const StyleMap *stylesMap = styles ? styles->mapIf() : nullptr;
        if (!stylesMap)
            throw StyleLookupError(m_componentKey + QStringLiteral(".styles"));
        const QString rootQss = get_qss_style(stylesMap->find(u"root"));
        // An optional "focus" style: the keyboard focus look, in a second rule.
        const QString focusQss = get_qss_style(stylesMap->find(u"focus"));

        QString text;
        const auto rule = [&](QStringView state, const QString &declarations) {
            text += QStringLiteral("\n                #");
            text += ObjectNamePlaceholder;
            text += QStringLiteral("[variant=");
            text += variant;
            text += u']';
            text += state;
            text += QStringLiteral(" {\n                    ");
            text += declarations;
            text += QStringLiteral("\n                }");
        };
        rule(u"", rootQss);
        if (!focusQss.isEmpty())
            rule(u":focus", focusQss);
        text += QStringLiteral("\n            ");
        return text;
    }

    QString m_componentKey;
    LruMemo<QString> m_memo;
};

} // namespace tessera
