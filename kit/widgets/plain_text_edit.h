#pragma once

#include <tessera/kit/kit_export.h>

#include <QPlainTextEdit>

#include <memory>

class PyPlainTextEditPrivate;

/*!
    The kit's plain-text editor. Its Qt class name is exactly "PyPlainTextEdit"
    (the class is declared outside the tessera namespace for that reason; a
    namespaced class would be named "tessera::PyPlainTextEdit"), so the
    style-sheet type selector PyPlainTextEdit matches it and its subclasses.
    It is also reachable as tessera::PyPlainTextEdit.

    \code
    auto *notes = new tessera::PyPlainTextEdit;
    notes->setPlaceholderText("Notes");
    \endcode
*/
class TESSERA_KIT_EXPORT PyPlainTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    //! An empty editor, a child of \a parent.
    explicit PyPlainTextEdit(QWidget *parent = nullptr);
    ~PyPlainTextEdit() override;

private:
    Q_DISABLE_COPY(PyPlainTextEdit)
    // The editor holds no state of its own; the pointer keeps the class's
    // size when it gains some (null until then, so nothing is allocated).
    std::unique_ptr<PyPlainTextEditPrivate> const d;
};

namespace tessera {
//! The kit's plain-text editor under the kit's namespace.
using PyPlainTextEdit = ::PyPlainTextEdit;
}
