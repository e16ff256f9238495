#include "gallery.h"

#include <tessera/kit/theme.h>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace gallery {

namespace {
QList<Page> &registry()
{
    static QList<Page> list;
    return list;
}

// A QLabel that re-reads its deferred text on every language change.
class TrLabel : public QLabel
{
public:
    TrLabel(tessera::DeferredText text, QWidget *parent) : QLabel(parent), m_text(std::move(text))
    {
        setText(tessera::translate(m_text));
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { setText(tessera::translate(m_text)); });
    }

private:
    tessera::DeferredText m_text;
};
} // namespace

bool registerPage(Page page)
{
    registry().append(std::move(page));
    return true;
}

QList<Page> pages()
{
    QList<Page> list = registry();
    std::stable_sort(list.begin(), list.end(), [](const Page &a, const Page &b) { return a.order < b.order; });
    return list;
}

QWidget *caption(const tessera::DeferredText &text, QWidget *parent)
{
    auto *label = new TrLabel(text, parent);
    label->setObjectName(QStringLiteral("galleryCaption"));
    // Secondary text: the placeholder colour of the palette the theme gives.
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setWordWrap(true);
    return label;
}

QVBoxLayout *pageColumn(QWidget *page, int spacing)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(spacing);
    return layout;
}

QGridLayout *gridOn(QWidget *box, int columnSpacing, int rowSpacing)
{
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(columnSpacing);
    grid->setVerticalSpacing(rowSpacing);
    return grid;
}

QWidget *row(const QList<QWidget *> &widgets, int spacing)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget *w : widgets)
        layout->addWidget(w, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return box;
}

QWidget *section(const tessera::DeferredText &title, QWidget *content, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("gallerySection"));
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(8);
    auto *heading = new TrLabel(title, box);
    heading->setObjectName(QStringLiteral("galleryHeading"));
    layout->addWidget(heading);
    layout->addWidget(content);
    return box;
}

} // namespace gallery
