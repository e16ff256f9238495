#include "restyle.h"
#include "restyle_p.h"
#include "tasks_p.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <QStyle>
#include <QVarLengthArray>

namespace tessera {

/*
    The event filter of the widgets that use RestyleLifecycle, installed when
    they subscribe to the theme, and of the widgets held by
    detail::polishWithFirstBuild() until their one polish request. One object
    filters them all, and looks at two kinds of events only:

    - Dynamic property changes, counted for _applyStyleSheet() and
      _writeProperty().
    - Qt's polish request, held back until the widget's first build. QWidget
      posts itself one when it is constructed, and the event loop delivers it
      before the kit's queue reaches the widget's first build. A widget
      polished with the plain style and then given its sheet is polished a
      second time by setStyleSheet(), and Qt keeps more for it than for one
      whose sheet was there at its first polish (a QSpinBox or a QDateEdit
      about 14 KB more, see docs/performance.md). So the request is dropped
      while the first build is pending, and the first build polishes the
      widget after applying its sheet. The first build still runs from the
      kit's queue (in view first, in slices), never inside a polish of Qt's.
      Whatever else polishes the widget earlier (showing it or its window,
      a parent's polish, a size hint) goes ahead as in Qt, and the first
      build re-polishes it, as before. Only the widget's own request is held
      unless the class asks for more: whether the widgets inside it are
      better polished with it or before it depends on the class (a
      FieldShell holds its editors' requests through
      detail::polishWithFirstBuild(); docs/design.md).
*/
class RestyleEventFilter : public QObject
{
public:
    using QObject::QObject;

    //! Filters the events of the widget of \a lifecycle from now on (once per widget).
    static void watch(RestyleLifecyclePrivate *lifecycle)
    {
        if (lifecycle->counting)
            return;
        lifecycle->self->installEventFilter(instance());
        lifecycle->counting = true;
    }

    /*
        The widgets whose polish request waits for their first build. A set
        rather than a cast to RestyleLifecycle at every request: the cast
        across the widget's bases compares type names through the whole
        hierarchy, and showing a form of 3000 new fields delivered 3000
        requests in one pass (about 2 ms of casts). It holds only widgets
        not yet built.
    */
    static void holdPolish(const QWidget *widget, bool hold)
    {
        if (hold)
            held().insert(widget);
        else
            held().remove(widget);
    }

    //! Filters the one polish request of \a inside, a widget inside a themed one.
    static void hold(QWidget *inside) { inside->installEventFilter(instance()); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::DynamicPropertyChange) {
            if (auto *lifecycle = dynamic_cast<RestyleLifecycle *>(watched))
                ++lifecycle->d->propertyChanges;
        } else if (event->type() == QEvent::PolishRequest) {
            if (held().contains(watched))
                return true;   // the first build polishes it
            if (dynamic_cast<RestyleLifecycle *>(watched))
                return false;   // built already
            // A widget held by detail::polishWithFirstBuild(): its only
            // request is seen, and it is held while the first build of the
            // themed widget it is inside now is pending.
            watched->removeEventFilter(this);
            for (QWidget *above = static_cast<QWidget *>(watched)->parentWidget(); above; above = above->parentWidget()) {
                if (auto *lifecycle = dynamic_cast<RestyleLifecycle *>(above))
                    return lifecycle->d->firstBuildPending;
            }
        }
        return false;
    }

private:
    static QSet<const QObject *> &held()
    {
        static QSet<const QObject *> widgets;   // GUI thread only, like every restyle
        return widgets;
    }

    static RestyleEventFilter *instance()
    {
        static QPointer<RestyleEventFilter> filter;
        if (!filter)
            filter = new RestyleEventFilter(QCoreApplication::instance());   // goes with the application
        return filter;
    }
};

RestyleLifecycle::RestyleLifecycle(QWidget *self) : d(std::make_unique<RestyleLifecyclePrivate>(self)) {}

RestyleLifecycle::~RestyleLifecycle()
{
    if (d->firstBuildPending)
        RestyleEventFilter::holdPolish(d->self, false);
    d->themeSubscription.release();
    _onDestroy();
}

Task RestyleLifecycle::styleTask() const
{
    return d->_setupStyleSheet;
}

void RestyleLifecycle::_subscribeToTheme()
{
    d->themeSubscription << QObject::connect(theme->signal, &ThemeSignal::changed, d->self, [this] { _onThemeChanged(); });
    // Qt's first polish of the widget waits for its first build (see RestyleEventFilter).
    d->firstBuildPending = !d->self->testAttribute(Qt::WA_WState_Polished);
    if (d->firstBuildPending)
        RestyleEventFilter::holdPolish(d->self, true);
    RestyleEventFilter::watch(d.get());
    detail::nextPass(d->self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_onThemeChanged()
{
    detail::nextPass(d->self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_scheduleSetStyleSheet()
{
    // A new handle replaces the previous one without cancelling it: every
    // trigger leads to one complete build.
    d->_setupStyleSheet = detail::restyleLater(d->self, [this] { _lazy_set_stylesheet(); });
}

void RestyleLifecycle::_lazy_set_stylesheet()
{
    if (!d->firstBuildPending)
        return _set_stylesheet();
    // The first build: the widget's polish request waited for it. The widget
    // is polished now, with its sheet in place, even when the build fails.
    d->firstBuildPending = false;
    RestyleEventFilter::holdPolish(d->self, false);
    const auto polish = qScopeGuard([self = d->self] { self->ensurePolished(); });
    _set_stylesheet();
}

namespace detail {

void followTheme(QWidget *widget, std::function<void()> restyle)
{
    QObject::connect(useTheme()->signal, &ThemeSignal::changed, widget, [widget, restyle = std::move(restyle)] {
        nextPass(widget, [widget, restyle] { restyleLater(widget, restyle); });
    });
}

void polishWithFirstBuild(QWidget *widget)
{
    if (!widget->testAttribute(Qt::WA_WState_Polished) && !dynamic_cast<RestyleLifecycle *>(widget))
        RestyleEventFilter::hold(widget);
}

} // namespace detail

void RestyleLifecycle::_onDestroy()
{
    if (d->_setupStyleSheet.isValid() && !d->_setupStyleSheet.done())
        d->_setupStyleSheet.cancel();
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

// Whether a style sheet may select on dynamic properties of widgets other
// than the one named \a objectName: an attribute selector ("[x=y]") outside
// the first compound of a selector that starts with "#objectName" (a later
// compound, or a selector naming something else), or a text not understood
// (a comment). Properties of the widget itself are taken care of by the
// change counter.
bool mayReachOtherWidgets(QStringView sheet, QStringView objectName)
{
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
            if (c == u'/' && i + 1 < n && sheet[i + 1] == u'*')
                return true;   // comments: not worth reading, apply always
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
                if (!(inFirstCompound && ownCompound) || end == start)
                    return true;
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
    return false;
}

// The most unused room a kept sheet may carry, in characters.
constexpr qsizetype SpareCharactersKept = 64;

} // namespace

bool RestyleLifecycle::_applyStyleSheet(const QString &sheet)
{
    RestyleLifecyclePrivate::Applied &applied = d->applied;
    const QString name = d->self->objectName();
    if (applied.valid && applied.propertyChanges == d->propertyChanges && applied.sheet == sheet
        && applied.objectName == name && d->self->styleSheet() == sheet) {
        // Read only now, on the way that saves a whole re-polish, and once per sheet.
        if (applied.mayReachOthers < 0)
            applied.mayReachOthers = mayReachOtherWidgets(sheet, name);
        if (!applied.mayReachOthers)
            return false;
    }
    RestyleEventFilter::watch(d.get());
    // The widget keeps the text as long as it keeps the sheet (its styleSheet
    // property and the record below share it). A text composed by appending
    // may hold room for twice its length (QString grows by doubling; a
    // field shell's sheet of 2000 characters held 8192), so a roomy one is
    // kept at its own length.
    QString kept = sheet;
    if (kept.capacity() - kept.size() > SpareCharactersKept)
        kept.squeeze();
    d->self->setStyleSheet(kept);
    // Recorded after the call: a property that changes later makes the next call apply again.
    if (applied.sheet != kept || applied.objectName != name)
        applied.mayReachOthers = -1;
    applied.sheet = kept;
    applied.objectName = name;
    applied.propertyChanges = d->propertyChanges;
    applied.valid = true;
    return true;
}

void RestyleLifecycle::_writeProperty(const char *name, const QString &value)
{
    if (d->written.name == name && d->written.propertyChanges == d->propertyChanges && d->written.value == value)
        return;   // the property still holds this value: setProperty() would do nothing
    RestyleEventFilter::watch(d.get());   // before writing: a change made afterwards by anyone is seen
    d->self->setProperty(name, value);
    d->written = {name, value, d->propertyChanges};
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
    // Asked for on every memoised build: the last key is kept (GUI thread only).
    static quint64 identity = 0;
    static QStringList key;
    if (key.isEmpty() || identity != theme->identity() || key.constFirst() != theme->palette().mode) {
        identity = theme->identity();
        key = QStringList{theme->palette().mode, QString::number(identity)};
    }
    return key;
}

QString &fillObjectName(QString &sheet, const QString &objectName)
{
    // Done for every memoised build of every widget. The placeholder's places
    // are found from its first character (a vectorised search) and the filled
    // text is made in one allocation: QString::replace() sets up a search
    // table on every call and grows the text as it goes.
    const QStringView text(sheet);
    const QChar first = ObjectNamePlaceholder.front();
    QVarLengthArray<qsizetype, 16> places;
    for (qsizetype i = text.indexOf(first); i >= 0; i = text.indexOf(first, i + 1)) {
        if (text.sliced(i).startsWith(ObjectNamePlaceholder)) {
            places.append(i);
            i += ObjectNamePlaceholder.size() - 1;
        }
    }
    if (places.isEmpty())
        return sheet;
    QString filled(text.size() + places.size() * (objectName.size() - ObjectNamePlaceholder.size()), Qt::Uninitialized);
    QChar *out = filled.data();
    const auto copy = [&out](QStringView piece) {
        std::copy(piece.begin(), piece.end(), out);
        out += piece.size();
    };
    qsizetype from = 0;
    for (qsizetype place : places) {
        copy(text.sliced(from, place - from));
        copy(objectName);
        from = place + ObjectNamePlaceholder.size();
    }
    copy(text.sliced(from));
    sheet = std::move(filled);
    return sheet;
}

} // namespace tessera
