#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/options.h>

#include <QWidget>

namespace tessera {

/*!
    A text in one of the theme's typography variants ("h6", "body1",
    "button", ...). The text is a plain text, a deferred text (DeferredText or
    a std::function<QString()>) that follows language changes, or a State
    holding either. \c sx is a style mapping whose token paths are resolved
    against the current theme ({"color": "palette.text.disabled"}); without a
    colour in \c sx the text takes the colour it inherits. Variant font and
    \c sx are applied again after every theme change. The text is shown as
    plain text, never as markup.

    \code
    auto *title = new tessera::Typography({.text = tessera::deferredTr("Form", "Settings"), .variant = "h6"});
    \endcode
*/
class TESSERA_KIT_EXPORT Typography : public QWidget
{
    Q_OBJECT
public:
    struct Options
    {
        //! QString, DeferredText, std::function<QString()>, or a State holding one of those.
        StateOr<QVariant> text{};
        QString variant = QStringLiteral("body1");
        StyleMap sx{};
    };

    //! A widget with every option at its default.
    Typography();
    explicit Typography(const Options &options);
    ~Typography() override;

    //! The text shown now.
    QString text() const;
    QString variant() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    //! The declarations now applied to the text: the variant's font, then \c sx (tokens resolved).
    QString styleText() const;

private:
    Q_DISABLE_COPY(Typography)
    void applyStyle();
    struct Private;
    Private *d;
};

} // namespace tessera
