#pragma once

#include <tessera/kit/kit_export.h>

#include <QStringList>
#include <QWidget>

class QLineEdit;

namespace tessera {

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
    Q_PROPERTY(QStringList values READ values WRITE setValues NOTIFY valuesChanged)
public:
    struct Options
    {
        QStringList values{};
        QString placeholder{};
    };

    //! An empty editor.
    PyLineEditMultiple();
    explicit PyLineEditMultiple(const Options &options);
    ~PyLineEditMultiple() override;

    QStringList values() const;
    void setValues(const QStringList &values);
    void addValue(const QString &value);
    void removeValue(int index);
    QLineEdit *lineEdit() const;

Q_SIGNALS:
    void valuesChanged(const QStringList &values);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Q_DISABLE_COPY(PyLineEditMultiple)
    bool addValueInternal(const QString &value);
    void rebuildChips();
    void restyle();
    struct Private;
    Private *d;
};

} // namespace tessera
