#pragma once

#include <tessera/kit/kit_export.h>
#include <tessera/kit/options.h>

#include <QLabel>

#include <memory>

namespace tessera {

class TypographyPrivate;

/*!
    A text in one of the theme's typography variants ("h6", "body1",
    "button", ...). The text is a plain text, a deferred text (DeferredText or
    a std::function<QString()>) that follows language changes, or a State
    holding either. \c sx is a style mapping whose token paths are resolved
    against the current theme ({"color": "palette.text.disabled"}); without a
    colour in \c sx the text takes the colour it inherits. Variant font and
    \c sx are applied again after every theme change. The text is shown as
    plain text, never as markup.

    A Typography is the QLabel that shows the text: its style sheet is the
    kit's (the variant's font, then \c sx) and is written again after every
    theme change, so a sheet set on it by the caller does not last. Set the
    text through Typography (setText(), setTextOption() or the \c text
    property): QLabel::setText() is not virtual, so a call through a QLabel
    pointer changes only what is shown, without textChanged(), and a
    deferred text or State the Typography follows writes its own text again
    at its next change.

    \code
    auto *title = new tessera::Typography({.text = tessera::deferredTr("Form", "Settings"), .variant = "h6"});
    \endcode
*/
class TESSERA_KIT_EXPORT Typography : public QLabel
{
    Q_OBJECT
    //! The text shown (a write replaces a State or deferred text with this plain text).
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
public:
    //! What a Typography shows and how.
    struct Options
    {
        //! QString, DeferredText, std::function<QString()>, or a State holding one of those.
        StateOr<QVariant> text{};
        QString variant = QStringLiteral("body1");  //!< The theme's typography variant.
        StyleMap sx{};                              //!< Declarations applied after the variant's.
    };

    //! A widget with every option at its default, a child of \a parent.
    explicit Typography(QWidget *parent = nullptr);
    //! A widget with \a options, a child of \a parent.
    explicit Typography(const Options &options, QWidget *parent = nullptr);
    ~Typography() override;

    //! The text shown now.
    QString text() const;
    //! Shows \a text as it is; a State the text followed is no longer followed.
    void setText(const QString &text);
    //! Replaces the text option: a text, a deferred text or a State holding one.
    void setTextOption(const StateOr<QVariant> &text);
    //! The typography variant in use.
    QString variant() const;

    QSize sizeHint() const override;          //!< \reimp
    QSize minimumSizeHint() const override;   //!< \reimp

    //! The declarations now applied to the text: the variant's font, then \c sx (tokens resolved).
    QString styleText() const;

Q_SIGNALS:
    //! Emitted once per change of the text shown (a new text, a followed State, the language).
    void textChanged(const QString &text);

private:
    Q_DISABLE_COPY(Typography)
    void applyStyle();
    void refreshText();
    void followText();
    std::unique_ptr<TypographyPrivate> const d;
};

} // namespace tessera
