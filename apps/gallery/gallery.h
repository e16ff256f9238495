#pragma once

#include <tessera/kit/i18n.h>

#include <QGridLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>

namespace gallery {

/*!
    One page of the gallery. Each page lives in its own file under pages/ and
    registers itself with GALLERY_PAGE, so adding a widget's page touches no
    other file.
*/
struct Page
{
    QString id;                          //!< file-name friendly id ("fields"), used for screenshots
    tessera::DeferredText title;         //!< shown in the page list, follows the language switch
    int order = 100;                     //!< position in the page list
    std::function<QWidget *()> make;     //!< builds the page content
};

bool registerPage(Page page);
QList<Page> pages();

//! A titled section for a page: a heading that follows the language, and a content area.
QWidget *section(const tessera::DeferredText &title, QWidget *content, QWidget *parent = nullptr);
//! A row of widgets, vertically centred, packed to the left with \a spacing between them.
QWidget *row(const QList<QWidget *> &widgets, int spacing = 12);
//! A label whose text follows the language switch.
QWidget *caption(const tessera::DeferredText &text, QWidget *parent = nullptr);
//! The column every page lays its sections in: the page margins, and \a spacing (-1: the style's).
QVBoxLayout *pageColumn(QWidget *page, int spacing = -1);
//! A grid laid on \a box, without margins, with the given spacing between columns and rows.
QGridLayout *gridOn(QWidget *box, int columnSpacing, int rowSpacing);

} // namespace gallery

//! Registers a page; \a title is a deferredTr("Gallery", "...") text so Linguist finds it.
#define GALLERY_PAGE(id, order, title, factory)                                                    \
    namespace {                                                                                    \
    bool registerGalleryPage()                                                                     \
    {                                                                                              \
        return ::gallery::registerPage({QStringLiteral(id), title, order, factory});               \
    }                                                                                              \
    const bool galleryPageRegistered = registerGalleryPage();                                      \
    }
