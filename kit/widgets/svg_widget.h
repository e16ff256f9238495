#pragma once

#include <tessera/kit/kit_export.h>

#include <QWidget>

#include <memory>

namespace tessera {

class PySvgWidgetPrivate;

/*!
    A monochrome SVG icon from the kit's resources, named "set:name"
    ("eos-icons:loading"), tinted with a theme colour given as a token path
    ("palette.grey._500") or a colour text, re-resolved on every theme change
    and drawn sharp at any device pixel ratio. The loading icon spins while
    the widget is visible; no timer runs while it is hidden.

    \code
    auto *spinner = new tessera::PySvgWidget({.key = "eos-icons:loading", .color = "palette.primary.main"});
    \endcode

    The key may also be a resource path (":/icons/...svg"). An unknown key or
    a missing file draws nothing and prints nothing.
*/
class TESSERA_KIT_EXPORT PySvgWidget : public QWidget
{
    Q_OBJECT
public:
    //! Which icon, in which colour and size.
    struct Options
    {
        QString key{};                                           //!< "set:name" or a resource path.
        QString color = QStringLiteral("palette.text.primary");  //!< A token path or a colour text.
        int size = 20;   //!< icon edge in device-independent pixels
    };

    //! A widget with every option at its default, a child of \a parent.
    explicit PySvgWidget(QWidget *parent = nullptr);
    //! A widget with \a options, a child of \a parent.
    explicit PySvgWidget(const Options &options, QWidget *parent = nullptr);
    ~PySvgWidget() override;

    //! The icon's key, as given.
    QString key() const;
    //! The colour now in use (the token resolved against the current theme).
    QColor resolvedColor() const;
    //! The resource path the key maps to (empty when the key is unknown).
    static QString resourcePath(const QString &key);
    //! Whether the icon is animated (spins while visible) and its timer is running now.
    bool isSpinning() const;

    QSize sizeHint() const override;               //!< \reimp

protected:
    void paintEvent(QPaintEvent *event) override;  //!< \reimp
    void showEvent(QShowEvent *event) override;    //!< \reimp
    void hideEvent(QHideEvent *event) override;    //!< \reimp

private:
    Q_DISABLE_COPY(PySvgWidget)
    std::unique_ptr<PySvgWidgetPrivate> const d;
};

} // namespace tessera
