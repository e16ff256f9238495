#pragma once

#include <tessera/kit/kit_export.h>

#include <QStringList>
#include <QWidget>

#include <memory>

class QLineEdit;

namespace tessera {

class PyLineEditMultiplePrivate;

/*!
    A line edit that holds several values: each entered value becomes a chip
    before the text cursor (Return or a comma adds one, Backspace in an empty
    editor removes the last, a chip's close mark removes it). Values are
    trimmed; empty values and values already held are not added.

    \code
    auto *tags = new tessera::PyLineEditMultiple({.values = {"qt", "c++"}, .placeholder = "Add tag"});
    \endcode
*/
class TESSERA_KIT_EXPORT PyLineEditMultiple : public QWidget
{
    Q_OBJECT
    //! The values held, in order.
    Q_PROPERTY(QStringList values READ values WRITE setValues NOTIFY valuesChanged)
public:
    //! The values to start with and the editor's placeholder text.
    struct Options
    {
        QStringList values{};     //!< Added in order, as addValue() would.
        QString placeholder{};    //!< Shown in the empty editor.
    };

    //! An editor with every option at its default, a child of \a parent.
    explicit PyLineEditMultiple(QWidget *parent = nullptr);
    //! An editor with \a options, a child of \a parent.
    explicit PyLineEditMultiple(const Options &options, QWidget *parent = nullptr);
    ~PyLineEditMultiple() override;

    //! The values held, in order.
    QStringList values() const;
    //! Replaces the values with \a values (trimmed, empty and repeated ones left out).
    void setValues(const QStringList &values);
    //! Adds \a value as the last chip unless it is empty or already held.
    void addValue(const QString &value);
    //! Removes the value at \a index; an index out of range changes nothing.
    void removeValue(int index);
    //! The editor in which values are typed.
    QLineEdit *lineEdit() const;

Q_SIGNALS:
    //! Emitted with the new \a values whenever a value was added or removed.
    void valuesChanged(const QStringList &values);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;   //!< \reimp

private:
    Q_DISABLE_COPY(PyLineEditMultiple)
    bool addValueInternal(const QString &value);
    void rebuildChips();
    void restyle();
    std::unique_ptr<PyLineEditMultiplePrivate> const d;
};

} // namespace tessera
