#include "testsupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QRegularExpression>

namespace testsupport {

void drainEvents(int passes)
{
    for (int i = 0; i < passes; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // A restyle of many widgets takes as many passes as it has slices: go on
    // until two passes in a row find nothing to do.
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    for (int quiet = 0, i = 0; dispatcher && quiet < 2 && i < 100000; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        quiet = dispatcher->processEvents(QEventLoop::AllEvents) ? 0 : quiet + 1;
    }
}

void runTimerHop()
{
    QCoreApplication::sendPostedEvents();
}

QString registerVariant(const QString &base, const std::function<void(tessera::StyleMap &)> &edit)
{
    static int counter = 0;
    tessera::StyleMap data = tessera::themeData(base);
    edit(data);
    const QString name = QStringLiteral("%1-test-%2").arg(base).arg(++counter);
    data.insert(QStringLiteral("name"), name);
    return tessera::registerTheme(name, data);
}

QString registerWithout(const QString &base, const QString &dottedPath)
{
    return registerVariant(base, [&](tessera::StyleMap &data) { data.removePath(dottedPath); });
}

void setPath(tessera::StyleMap &map, const QString &dottedPath, const tessera::StyleValue &value)
{
    const qsizetype dot = dottedPath.indexOf(u'.');
    if (dot < 0) {
        map.insert(dottedPath, value);
        return;
    }
    const QString head = dottedPath.left(dot);
    const tessera::StyleValue *child = map.find(head);
    tessera::StyleMap nested = child && child->isMap() ? child->map() : tessera::StyleMap();
    setPath(nested, dottedPath.mid(dot + 1), value);
    map.insert(head, nested);
}

bool isUuidText(const QString &name)
{
    static const QRegularExpression re(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
    return re.match(name).hasMatch();
}

QStringList lines(const QString &text)
{
    return text.split(u'\n');
}

} // namespace testsupport
