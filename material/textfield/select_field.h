#pragma once

#include <tessera/material/textfield/select_field_export.h>

#include <tessera/kit/options.h>
#include <tessera/kit/state.h>

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QWidget>

#include <memory>
#include <optional>

namespace tessera {

class SelectFieldPrivate;

/*!
    A labelled choice from a list, ready for forms: a QComboBox inside the
    kit's themed field frame, with an optional placeholder, helper line and
    error text. Its look comes from the theme's field styles and follows
    theme switches; hover and focus show in the frame's border and title.

    \code
    auto *country = new tessera::SelectField({.label = "Country", .items = {"France", "Italy", "Spain"}});
    auto *plan = new tessera::SelectField({.label = "Plan", .items = {{"Free", 0}, {"Team", 12}}, .placeholder = "Choose"});
    connect(plan, &tessera::SelectField::currentIndexChanged, ...);
    \endcode

    The label, placeholder, helper and error texts may each be given as a
    State holding a text or a deferred text: the field then follows the
    State and the language. Writing the property replaces such a binding.
    The combo box's accessible name is the label, its accessible description
    the error or else the helper text; Tab reaches it, and the keyboard works
    as in any QComboBox.

    Property writes validate like the constructor: a wrong value throws
    OptionError naming the property, and nothing changes.
*/
class TESSERA_SELECT_FIELD_EXPORT SelectField : public QWidget
{
    Q_OBJECT
    //! The frame's title and the combo box's accessible name.
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    //! The items: texts, or [text, data] lists for items that carry data.
    Q_PROPERTY(QVariantList items READ items WRITE setItems NOTIFY itemsChanged)
    //! The index of the selected item, -1 while none is (the field's user property).
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged USER true)
    //! The text of the selected item, empty while none is.
    Q_PROPERTY(QString currentText READ currentText WRITE setCurrentText NOTIFY currentTextChanged)
    //! The text shown while no item is selected.
    Q_PROPERTY(QString placeholder READ placeholder WRITE setPlaceholder NOTIFY placeholderChanged)
    //! The line under the frame, shown while there is no error.
    Q_PROPERTY(QString helperText READ helperText WRITE setHelperText NOTIFY helperTextChanged)
    //! The error text: while it is non-empty the frame shows its error look and this text replaces the helper line.
    Q_PROPERTY(QString error READ error WRITE setError NOTIFY errorChanged)
    //! The size of the theme's field styles (the \c size option).
    Q_PROPERTY(QString themeSize READ themeSize WRITE setThemeSize NOTIFY themeSizeChanged)
    //! Whether the field is disabled (the inverse of QWidget::enabled).
    Q_PROPERTY(bool disabled READ isDisabled WRITE setDisabled NOTIFY disabledChanged)
    //! The caller's extra style for the frame.
    Q_PROPERTY(tessera::Sx sx READ sx WRITE setSx NOTIFY sxChanged)

public:
    //! One entry of the list: its text, and data the application keeps with it.
    struct Item
    {
        //! An item showing \a text and carrying \a data.
        Item(const QString &text, const QVariant &data = {}) : text(text), data(data) {}
        //! An item showing \a text (UTF-8) and carrying \a data.
        Item(const char *text, const QVariant &data = {}) : text(QString::fromUtf8(text)), data(data) {}
        QString text;    //!< What the list shows.
        QVariant data;   //!< What the application keeps with it (currentData()).
        //! Items are equal when their texts and data are.
        friend bool operator==(const Item &a, const Item &b) { return a.text == b.text && a.data == b.data; }
    };

    //! The field's options; the properties of the same names change them later.
    struct Options
    {
        //! The frame's title and the combo box's accessible name: a text, or a State (text or deferred text).
        StateOr<QString> label = {};
        //! The entries of the list, in order.
        QList<Item> items = {};
        //! The item shown first; none: the first item, or no item when there is a placeholder.
        std::optional<int> currentIndex = std::nullopt;
        //! Selects the item with this text (when given with currentIndex, both must name the same item).
        QString currentText = {};
        //! Shown while no item is selected.
        StateOr<QString> placeholder = {};
        //! A line under the frame.
        StateOr<QString> helperText = {};
        //! Non-empty: the frame shows its error look and this text replaces the helper text.
        StateOr<QString> error = {};
        //! A size of the theme's field styles ("small", "medium", "large").
        QString size = QStringLiteral("medium");
        //! Whether the field starts disabled.
        bool disabled = false;
        //! The caller's extra style for the frame, rendered for "#" and the frame's object name.
        Sx sx = {};
    };

    //! An empty field with every option at its default, a child of \a parent.
    explicit SelectField(QWidget *parent = nullptr);
    /*!
        Builds the field from \a options. Throws OptionError naming the option
        for an index or text that names no item, or a size the theme does
        not have; nothing is built then.
    */
    explicit SelectField(const Options &options, QWidget *parent = nullptr);
    ~SelectField() override;

    //! The frame's title and the combo box's accessible name.
    QString label() const;
    //! Writes the \c label property.
    void setLabel(const QString &label);

    /*!
        The items as a list whose entries are texts, or [text, data] lists for
        items that carry data. setItems() takes the same (a QStringList too),
        refuses any other entry with OptionError naming "items", and then
        selects as a new QComboBox would: the first item, or none while there
        is a placeholder.
    */
    QVariantList items() const;
    //! Writes the \c items property.
    void setItems(const QVariantList &items);
    //! The items as Item values.
    QList<Item> itemList() const;
    //! Replaces the items with \a items, selecting as setItems() does.
    void setItemList(const QList<Item> &items);

    //! The selected item's index; -1 when none is selected.
    int currentIndex() const;
    //! Writes the \c currentIndex property.
    void setCurrentIndex(int index);
    //! The text of the selected item, empty while none is.
    QString currentText() const;
    //! Selects the item with \a text; an empty text selects none.
    void setCurrentText(const QString &text);
    //! The data of the selected item (invalid when none is selected).
    QVariant currentData() const;

    //! The text shown while no item is selected.
    QString placeholder() const;
    //! Writes the \c placeholder property.
    void setPlaceholder(const QString &placeholder);
    //! The line under the frame, shown while there is no error.
    QString helperText() const;
    //! Writes the \c helperText property.
    void setHelperText(const QString &text);
    //! The error text: while it is non-empty the frame shows its error look and this text replaces the helper line.
    QString error() const;
    //! Writes the \c error property.
    void setError(const QString &error);
    //! The theme size (the "size" option; the property is named so as not to hide QWidget::size).
    QString themeSize() const;
    //! Writes the \c themeSize property.
    void setThemeSize(const QString &size);
    //! Whether the field is disabled (QWidget::setDisabled() and setEnabled() change it).
    bool isDisabled() const { return !isEnabled(); }
    //! The caller's extra style for the frame.
    Sx sx() const;
    //! Writes the \c sx property.
    void setSx(const Sx &sx);

    //! The combo box inside the frame.
    QWidget *editor() const;

Q_SIGNALS:
    //! Emitted once per change of the \c label property.
    void labelChanged(const QString &label);
    //! Emitted once per change of the \c items property.
    void itemsChanged();
    //! Emitted once per change of the \c currentIndex property.
    void currentIndexChanged(int index);
    //! Emitted once per change of the \c currentText property.
    void currentTextChanged(const QString &text);
    //! Emitted once per change of the \c placeholder property.
    void placeholderChanged(const QString &placeholder);
    //! Emitted once per change of the \c helperText property.
    void helperTextChanged(const QString &text);
    //! Emitted once per change of the \c error property.
    void errorChanged(const QString &error);
    //! Emitted once per change of the \c themeSize property.
    void themeSizeChanged(const QString &size);
    //! Emitted once per change of the \c disabled property.
    void disabledChanged(bool disabled);
    //! Emitted once per change of the \c sx property.
    void sxChanged();

private:
    Q_DISABLE_COPY(SelectField)
    friend class SelectFieldPrivate;
    std::unique_ptr<SelectFieldPrivate> const d;
};

} // namespace tessera
