#include "restyle.h"

#include <QStyle>
#include <QTimer>

namespace tessera {

RestyleLifecycle::RestyleLifecycle(QWidget *self) : m_self(self) {}

RestyleLifecycle::~RestyleLifecycle()
{
    _onDestroy();
}

void RestyleLifecycle::_subscribeToTheme()
{
    QObject::connect(theme->signal, &ThemeSignal::changed, m_self, [this] { _onThemeChanged(); });
    QTimer::singleShot(0, m_self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_onThemeChanged()
{
    QTimer::singleShot(0, m_self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_scheduleSetStyleSheet()
{
    // A new handle replaces the previous one without cancelling it: every
    // trigger leads to one complete build.
    _setupStyleSheet = runLater(m_self, [this] { _lazy_set_stylesheet(); });
}

void RestyleLifecycle::_lazy_set_stylesheet()
{
    _set_stylesheet();
}

void RestyleLifecycle::_onDestroy()
{
    if (_setupStyleSheet.isValid() && !_setupStyleSheet.done())
        _setupStyleSheet.cancel();
}

namespace {

bool isSelectorSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool continuesName(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'\\' || c.unicode() >= 0x80;
}

// The dynamic properties a style sheet selects on for the widget named
// \a objectName itself: the attribute selectors ("[focused=true]") of the
// first compound of selectors that start with "#objectName". Sets \a foreign
// when an attribute selector may concern another widget (a later compound, or
// a selector that does not start with the widget's name), or when the text is
// not understood.
QList<QByteArray> ownSelectedProperties(QStringView sheet, QStringView objectName, bool *foreign)
{
    QList<QByteArray> names;
    *foreign = false;
    const qsizetype n = sheet.size();
    qsizetype i = 0;
    const auto skipString = [&](QChar quote) {
        for (++i; i < n && sheet[i] != quote; ++i) {
            if (sheet[i] == u'\\')
                ++i;
        }
    };
    while (i < n) {
        // One selector list, up to the opening brace of its block.
        bool inFirstCompound = true;
        bool ownCompound = false;
        bool atSelectorStart = true;
        for (; i < n && sheet[i] != u'{'; ++i) {
            const QChar c = sheet[i];
            if (c == u'/' && i + 1 < n && sheet[i + 1] == u'*') {
                *foreign = true;   // comments: not worth reading, apply always
                return names;
            }
            if (atSelectorStart) {
                if (isSelectorSpace(c))
                    continue;
                atSelectorStart = false;
                inFirstCompound = true;
                ownCompound = c == u'#' && sheet.mid(i + 1).startsWith(objectName)
                    && (i + 1 + objectName.size() >= n || !continuesName(sheet[i + 1 + objectName.size()]));
            }
            if (c == u',') {
                atSelectorStart = true;
            } else if (c == u'"' || c == u'\'') {
                skipString(c);
            } else if (c == u'[') {
                const qsizetype start = i + 1;
                qsizetype end = start;
                while (end < n && (continuesName(sheet[end]) && sheet[end] != u'\\'))
                    ++end;
                if (!(inFirstCompound && ownCompound) || end == start) {
                    *foreign = true;
                    return names;
                }
                names.append(sheet.mid(start, end - start).toUtf8());
                for (i = end; i < n && sheet[i] != u']'; ++i) {
                    if (sheet[i] == u'"' || sheet[i] == u'\'')
                        skipString(sheet[i]);
                }
            } else if (isSelectorSpace(c) || c == u'>' || c == u'+' || c == u'~') {
                inFirstCompound = false;
            }
        }
        // Skip the block.
        for (; i < n && sheet[i] != u'}'; ++i) {
            if (sheet[i] == u'"' || sheet[i] == u'\'')
                skipString(sheet[i]);
        }
        ++i;
    }
    return names;
}

} // namespace

bool RestyleLifecycle::_applyStyleSheet(const QString &sheet)
{
    const QString name = m_self->objectName();
    if (!m_applied.alwaysApply && m_applied.sheet == sheet && m_self->styleSheet() == sheet
        && m_applied.objectName == name) {
        bool same = true;
        for (const auto &[property, value] : std::as_const(m_applied.properties)) {
            if (m_self->property(property.constData()) != value) {
                same = false;
                break;
            }
        }
        if (same)
            return false;
    }
    m_self->setStyleSheet(sheet);
    // Recorded after the call: a property that changes later makes the next call apply again.
    bool foreign = false;
    const QList<QByteArray> properties = ownSelectedProperties(sheet, name, &foreign);
    m_applied.sheet = sheet;
    m_applied.objectName = name;
    m_applied.alwaysApply = foreign;
    m_applied.properties.clear();
    for (const QByteArray &property : properties)
        m_applied.properties.append({property, m_self->property(property.constData())});
    return true;
}

void repolish(QWidget *widget)
{
    if (!widget->testAttribute(Qt::WA_WState_Polished))
        return;
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    const QList<QWidget *> inside = widget->findChildren<QWidget *>();
    for (QWidget *child : inside) {
        child->style()->unpolish(child);
        child->style()->polish(child);
    }
    widget->update();
}

QStringList themeMemoKey(const Theme *theme)
{
    return {theme->palette.mode, QString::number(theme->identity())};
}

} // namespace tessera
