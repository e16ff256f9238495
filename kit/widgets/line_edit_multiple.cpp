#include "line_edit_multiple.h"

#include "options.h"
#include "qss.h"
#include "restyle_p.h"
#include "theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace tessera {

namespace {

QString token(const char *path, const char *fallback)
{
    return useTheme()->resolveToken(QString::fromLatin1(path)).value_or(QString::fromLatin1(fallback));
}

} // namespace

class PyLineEditMultiplePrivate
{
public:
    QStringList values;
    QHBoxLayout *layout = nullptr;
    QLineEdit *edit = nullptr;
    QList<QWidget *> chips;
};

PyLineEditMultiple::PyLineEditMultiple(QWidget *parent) : PyLineEditMultiple(Options{}, parent) {}

PyLineEditMultiple::PyLineEditMultiple(const Options &options, QWidget *parent) : QWidget(parent), d(std::make_unique<PyLineEditMultiplePrivate>())
{
    setObjectName(newObjectName());
    setAttribute(Qt::WA_StyledBackground);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);

    d->layout = new QHBoxLayout(this);
    d->layout->setContentsMargins(6, 4, 6, 4);
    d->layout->setSpacing(4);
    d->edit = new QLineEdit(this);
    d->edit->setObjectName(QStringLiteral("lineEditMultipleInput"));
    d->edit->setFrame(false);
    d->edit->setPlaceholderText(options.placeholder);
    d->edit->installEventFilter(this);
    d->layout->addWidget(d->edit, 1);
    setFocusProxy(d->edit);

    connect(d->edit, &QLineEdit::returnPressed, this, [this] {
        const QString text = d->edit->text();
        if (addValueInternal(text))
            d->edit->clear();
    });
    connect(d->edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        // A comma ends a value; several may arrive at once when text is pasted.
        if (!text.contains(u','))
            return;
        QStringList parts = text.split(u',');
        const QString rest = parts.takeLast();
        QStringList next = d->values;
        for (const QString &part : std::as_const(parts)) {
            const QString value = part.trimmed();
            if (!value.isEmpty() && !next.contains(value))
                next.append(value);
        }
        d->edit->setText(rest.trimmed().isEmpty() ? QString() : rest);
        setValues(next);
    });
    detail::followTheme(this, [this] { restyle(); });

    QStringList initial;
    for (const QString &v : options.values) {
        const QString value = v.trimmed();
        if (!value.isEmpty() && !initial.contains(value))
            initial.append(value);
    }
    d->values = initial;
    rebuildChips();
    restyle();
}

PyLineEditMultiple::~PyLineEditMultiple()
{
}

QStringList PyLineEditMultiple::values() const
{
    return d->values;
}

void PyLineEditMultiple::setValues(const QStringList &values)
{
    QStringList clean;
    for (const QString &v : values) {
        const QString value = v.trimmed();
        if (!value.isEmpty() && !clean.contains(value))
            clean.append(value);
    }
    if (clean == d->values)
        return;
    d->values = clean;
    rebuildChips();
    Q_EMIT valuesChanged(d->values);
}

void PyLineEditMultiple::addValue(const QString &value)
{
    addValueInternal(value);
}

bool PyLineEditMultiple::addValueInternal(const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || d->values.contains(v))
        return false;
    setValues(d->values + QStringList{v});
    return true;
}

void PyLineEditMultiple::removeValue(int index)
{
    if (index < 0 || index >= d->values.size())
        return;
    QStringList next = d->values;
    next.removeAt(index);
    setValues(next);
}

QLineEdit *PyLineEditMultiple::lineEdit() const
{
    return d->edit;
}

bool PyLineEditMultiple::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->edit) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Backspace && d->edit->text().isEmpty() && d->edit->selectedText().isEmpty()
                && !d->values.isEmpty()) {
                removeValue(int(d->values.size()) - 1);
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            setProperty("focused", event->type() == QEvent::FocusIn);
            style()->unpolish(this);
            style()->polish(this);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PyLineEditMultiple::rebuildChips()
{
    for (QWidget *chip : std::as_const(d->chips)) {
        d->layout->removeWidget(chip);
        chip->hide();
        chip->deleteLater();
    }
    d->chips.clear();
    for (int i = 0; i < d->values.size(); ++i) {
        auto *chip = new QWidget(this);
        chip->setObjectName(QStringLiteral("lineEditMultipleChip"));
        chip->setAttribute(Qt::WA_StyledBackground);
        chip->setCursor(Qt::ArrowCursor);
        auto *row = new QHBoxLayout(chip);
        row->setContentsMargins(10, 2, 4, 2);
        row->setSpacing(2);
        auto *label = new QLabel(chip);
        label->setObjectName(QStringLiteral("lineEditMultipleChipText"));
        label->setTextFormat(Qt::PlainText);
        label->setText(d->values[i]);
        row->addWidget(label);
        auto *close = new QToolButton(chip);
        close->setObjectName(QStringLiteral("lineEditMultipleChipRemove"));
        close->setText(QStringLiteral("\u00d7"));
        close->setAutoRaise(true);
        close->setCursor(Qt::PointingHandCursor);
        close->setFocusPolicy(Qt::NoFocus);
        close->setAccessibleName(tr("Remove %1").arg(d->values[i]));
        const QString value = d->values[i];
        connect(close, &QToolButton::clicked, this, [this, value] {
            // Removing by value: the chip's index may have moved since it was built.
            removeValue(int(d->values.indexOf(value)));
        });
        row->addWidget(close);
        d->layout->insertWidget(i, chip);
        d->chips.append(chip);
    }
    updateGeometry();
}

void PyLineEditMultiple::restyle()
{
    const QString id = u'#' + objectName();
    const QString paper = token("palette.background.paper", "#ffffff");
    // The outline of fields and editors (3:1 against the paper in both built-in themes).
    const QString border = token("palette.grey._600", "#757575");
    const QString hoverBorder = token("palette.text.primary", "#212121");
    const QString focus = token("palette.primary.main", "#1976d2");
    const QString text = token("palette.text.primary", "#212121");
    const QString placeholder = token("palette.text.disabled", "#9e9e9e");
    const QString chip = token("palette.action.selected", "rgba(0, 0, 0, 0.08)");
    const QString chipHover = token("palette.action.focus", "rgba(0, 0, 0, 0.12)");
    const QString secondary = token("palette.text.secondary", "#666666");
    const QString sheet =
        QStringLiteral("%1 {\n    background-color: %2; border: 1px solid %3; border-radius: 4px; min-height: 28px;\n}\n"
                       "%1:hover {\n    border-color: %4;\n}\n"
                       "%1[focused=true] {\n    border: 2px solid %5;\n}\n"
                       "%1 QLineEdit {\n    background: transparent; border: none; color: %6; font-size: 14px; "
                       "padding: 2px 0px; min-width: 60px;\n}\n"
                       "%1 #lineEditMultipleChip {\n    background-color: %7; border-radius: 12px;\n}\n"
                       "%1 #lineEditMultipleChipText {\n    color: %6; font-size: 13px;\n}\n"
                       "%1 #lineEditMultipleChipRemove {\n    color: %8; border: none; background: transparent; "
                       "font-size: 14px; padding: 0px 4px; border-radius: 8px;\n}\n"
                       "%1 #lineEditMultipleChipRemove:hover {\n    background-color: %9; color: %6;\n}\n")
            .arg(id, paper, border, hoverBorder, focus, text, chip, secondary, chipHover);
    setStyleSheet(sheet);
    QPalette pal = d->edit->palette();
    if (const QColor c = QColor::fromString(placeholder); c.isValid())
        pal.setColor(QPalette::PlaceholderText, c);
    d->edit->setPalette(pal);
}

} // namespace tessera
