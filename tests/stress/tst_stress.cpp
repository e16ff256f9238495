// Lifetime stress: 10,000 widgets of every class (5,000 in the sanitizer
// build) are created and destroyed
// in every way Qt allows (their parent deleted, deleteLater, a direct delete,
// a State they follow deleted first) while the theme switches hundreds of
// times, with the destruction falling at every point of the restyle pipeline
// (zero-delay timer pending, deferred task pending, build done).
//
// Afterwards:
// - no styling task that was pending when its widget died has run (each
//   handle is kept past the widget and must read "cancelled");
// - the number of live QObjects made on the GUI thread is back to what it
//   was before (counted by Qt's object hooks), and every widget built was
//   destroyed;
// - the widgets that lived through it all carry the last theme's sheet.
// Anything that ran for a dead widget regardless would be a use after free,
// which the sanitizer build of this suite reports.

#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/chip_stack.h>
#include <tessera/material/textfield/field_shell.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/stepper_field.h>

#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QStyle>
#include <QTest>
#include <QTestEventLoop>
#include <QThread>

#include <algorithm>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

// Qt's object hooks (the table debugging tools use; see QtCore's qhooks_p.h):
// called for every QObject constructed and destroyed, in any thread.
extern "C" Q_DECL_IMPORT quintptr qtHookData[];

using namespace tessera;

namespace {

// ---- counting live objects -------------------------------------------------

enum HookIndex { HookDataVersion = 0, HookDataSize = 1, QtVersionIndex = 2, AddQObject = 3, RemoveQObject = 4 };
using ObjectHook = void (*)(QObject *);

// Only objects made on the GUI thread are counted, and threads are left out
// when counts are compared: a thread pool's threads (Qt's image code may
// start some for a large image) come and go on their own schedule, and the
// QThread object of one is made on the thread that started the pool's work.
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;
std::thread::id guiThread;
std::mutex liveMutex;
std::unordered_set<QObject *> liveSet;

void onAddObject(QObject *o)
{
    if (std::this_thread::get_id() == guiThread) {
        std::lock_guard lock(liveMutex);
        liveSet.insert(o);
    }
    if (previousAdd)
        previousAdd(o);
}

// The live objects that are not threads.
long liveWithoutThreads()
{
    std::lock_guard lock(liveMutex);
    return long(std::count_if(liveSet.begin(), liveSet.end(), [](QObject *o) { return !qobject_cast<QThread *>(o); }));
}

void onRemoveObject(QObject *o)
{
    {
        std::lock_guard lock(liveMutex);
        liveSet.erase(o);
    }
    if (previousRemove)
        previousRemove(o);
}

// ---- the classes under stress, each in a counting subclass ----------------

enum Class { CFieldShell, CBusy, CKnob, CStepper, CCalendar, CChipStack, CPopup, COrb, ClassCount };
const char *const classNames[ClassCount] = {"FieldShell", "BusyTrigger", "KnobField", "StepperField",
                                            "CalendarField", "ChipStack", "PopupTrigger", "OrbAction"};

int constructedCount[ClassCount] = {};
int destroyedCount[ClassCount] = {};
// Styling tasks that were still pending when their widget was destroyed.
std::vector<Task> pendingAtDestruction;

template<typename Base>
class Counted : public Base
{
public:
    template<typename... Args>
    explicit Counted(Class c, Args &&...args) : Base(std::forward<Args>(args)...), m_class(c)
    {
        ++constructedCount[c];
    }
    ~Counted() override
    {
        ++destroyedCount[m_class];
        if constexpr (std::is_base_of_v<RestyleLifecycle, Base>) {
            if (this->styleTask().isValid() && !this->styleTask().done())
                pendingAtDestruction.push_back(this->styleTask());
        }
    }

private:
    Class m_class;
};

// FieldShell is abstract: the field derived from it re-polishes on state changes.
class StressShell : public FieldShell
{
public:
    explicit StressShell(Options options) : FieldShell(std::move(options)) { _init_ui(); }

protected:
    void slot_set_stylesheet() override
    {
        if (!testAttribute(Qt::WA_WState_Polished))
            return;
        style()->unpolish(this);
        style()->polish(this);
    }
};

// The States one widget follows; a round shares them among its widgets.
struct RoundStates
{
    std::unique_ptr<State> text{new State(QStringLiteral("Label"))};
    std::unique_ptr<State> flag{new State(false)};
    std::unique_ptr<State> icon{new State(QStringLiteral(":/round/resource_tessera/round/more_vert.svg"))};
    std::unique_ptr<State> content{new State};

    void toggle()
    {
        if (flag)
            flag->setValue(!flag->value().toBool());
        if (text)
            text->setValue(text->value().toString() + QLatin1Char('!'));
    }
};

QWidget *make(Class c, int index, RoundStates &s)
{
    // Vary the options a little so that several memo keys and option kinds are used.
    const bool alt = index % 2;
    switch (c) {
    case CFieldShell: {
        FieldShell::Options o;
        o.label = s.text.get();
        o.hovered = s.flag.get();
        o.focused = alt ? StateOr<bool>(s.flag.get()) : StateOr<bool>(true);
        o.size = alt ? QStringLiteral("small") : QStringLiteral("medium");
        o.children = QList<QWidget *>{new QLineEdit};
        o.sx = StyleMap{{"&:hover", StyleMap{{"color", "palette.primary.main"}}}};
        return new Counted<StressShell>(c, std::move(o));
    }
    case CBusy: {
        BusyTrigger::Options o;
        o.loading = s.flag.get();
        o.loadingIndicator = QVariant(QStringLiteral("Loading..."));
        o.color = alt ? QStringLiteral("secondary") : QStringLiteral("primary");
        o.loadingPosition = alt ? QStringLiteral("end") : QStringLiteral("start");
        return new Counted<BusyTrigger>(c, o);
    }
    case CKnob:
    case CStepper:
    case CCalendar: {
        EditorFieldOptions o;
        o.variant = alt ? QStringLiteral("filled") : QStringLiteral("outlined");
        if (alt)
            o.children = QList<QWidget *>{new QLabel(QStringLiteral("x"))};
        o.sx = QStringLiteral("QWidget { margin: 1px; }");
        if (c == CKnob)
            return new Counted<KnobField>(c, std::move(o));
        if (c == CStepper)
            return new Counted<StepperField>(c, std::move(o));
        return new Counted<CalendarField>(c, std::move(o));
    }
    case CChipStack: {
        if (s.content)
            s.content->setValue(QVariant::fromValue(WidgetList{new QLabel(QStringLiteral("chip")), new QLabel(QStringLiteral("chip"))}));
        ChipStack::Options o;
        o.content = s.content ? s.content.get() : nullptr;
        o.hidden = s.flag.get();
        if (!o.content) {
            // The content State is gone already: give this one its own.
            static State fallback;
            o.content = &fallback;
        }
        return new Counted<ChipStack>(c, o);
    }
    case CPopup: {
        PopupTrigger::Options o;
        o.icon = alt ? std::optional<QString>(QStringLiteral(":/round/resource_tessera/round/more_vert.svg")) : std::nullopt;
        o.kwargs = {{"text", QVariant::fromValue<QObject *>(s.text.get())}};
        return new Counted<PopupTrigger>(c, o);
    }
    case COrb: {
        OrbAction::Options o;
        o.icon = s.icon.get();
        o.animate = s.flag.get();
        o.kwargs = {{"color", alt ? QStringLiteral("primary") : QStringLiteral("secondary")}};
        return new Counted<OrbAction>(c, o);
    }
    case ClassCount:
        break;
    }
    return nullptr;
}

bool followsTheTheme(Class c)
{
    return c != CChipStack && c != CPopup;
}

// One event-loop pass: posted events (queued calls, zero-delay timers, tasks).
void onePass()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// How many widgets of each class are built in all; rounds of this many at once.
// The sanitizer build runs half as many, to stay near a minute on two cores.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Scale = 2;
#else
constexpr int Scale = 1;
#endif
constexpr int WidgetsPerClass = 10000 / Scale;
constexpr int MixedWidgets = 2000 / Scale;
constexpr int Batch = 100;

} // namespace

class tst_Stress : public QObject
{
    Q_OBJECT

    long m_baseline = 0;
    std::unordered_map<QObject *, QByteArray> m_baselineSet;   // object -> class name
    QRandomGenerator m_random{20240611};
    QString m_themes[2] = {QStringLiteral("light"), QStringLiteral("dark")};
    int m_current = 0;
    int m_switches = 0;

    void switchTheme()
    {
        m_current = 1 - m_current;
        setTheme(m_themes[m_current]);
        ++m_switches;
    }

    // Builds, churns and destroys WidgetsPerClass widgets of the classes in \a classes.
    void churn(const QList<Class> &classes, int widgets)
    {
        const int rounds = widgets / Batch;
        for (int round = 0; round < rounds; ++round) {
            RoundStates states;
            const int mode = round % 4;   // how this round's widgets die
            std::vector<QPointer<QWidget>> batch;
            std::unique_ptr<QWidget> parent;
            if (mode == 0) {
                parent = std::make_unique<QWidget>();
                parent->resize(400, 300);
            }
            for (int i = 0; i < Batch; ++i) {
                QWidget *w = make(classes[i % classes.size()], i, states);
                if (parent)
                    w->setParent(parent.get());
                batch.emplace_back(w);
            }
            if (parent && round % 8 == 0)
                parent->show();   // now and then the polished path too

            // The theme switches while styling is at some point of its pipeline.
            switchTheme();
            for (int p = int(m_random.bounded(4)); p > 0; --p)
                onePass();
            states.toggle();
            if (m_random.bounded(3) == 0)
                switchTheme();
            for (int p = int(m_random.bounded(3)); p > 0; --p)
                onePass();

            switch (mode) {
            case 0:
                parent.reset();   // the parent takes its children with it
                break;
            case 1:
                for (auto &w : batch)
                    w->deleteLater();
                break;
            case 2:
                for (auto &w : batch)
                    delete w.data();
                break;
            case 3:
                // The States go first; the widgets read them as none from then on.
                states.text.reset();
                states.flag.reset();
                states.icon.reset();
                states.content.reset();
                switchTheme();
                onePass();
                for (auto &w : batch) {
                    if (m_random.bounded(2))
                        delete w.data();
                    else
                        w->deleteLater();
                }
                break;
            }
            for (int p = int(m_random.bounded(2)); p > 0; --p)
                onePass();
            // States that outlive their widgets change: nothing may still listen for the dead.
            states.toggle();
            testsupport::drainEvents(2);
            for (const auto &w : batch)
                QVERIFY(!w);
        }
    }

    void verifyNothingRanForTheDead(bool themed)
    {
        testsupport::drainEvents();
        // The churn did destroy widgets while their styling task was pending.
        QCOMPARE(!pendingAtDestruction.empty(), themed);
        for (const Task &task : pendingAtDestruction)
            QVERIFY2(task.cancelled(), "a styling task pending at its widget's destruction ran");
        pendingAtDestruction.clear();
        for (int c = 0; c < ClassCount; ++c)
            QCOMPARE(destroyedCount[c], constructedCount[c]);
        const long live = liveWithoutThreads();
        if (live != m_baseline) {
            // Name what differs, for the failure message.
            std::vector<QObject *> extra;
            std::vector<QByteArray> gone;
            {
                std::lock_guard lock(liveMutex);
                for (QObject *o : liveSet) {
                    if (!m_baselineSet.count(o) && !qobject_cast<QThread *>(o))
                        extra.push_back(o);
                }
                for (const auto &[o, name] : m_baselineSet) {
                    if (!liveSet.count(o) && !name.contains("Thread"))
                        gone.push_back(name);
                }
            }
            for (QObject *o : extra)
                qWarning() << "alive, not in the baseline:" << o->metaObject()->className() << o->objectName();
            for (const QByteArray &name : gone)
                qWarning() << "in the baseline, destroyed since:" << name;
        }
        QCOMPARE(live, m_baseline);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The hook table must be the one this suite was written against.
        QVERIFY(qtHookData[HookDataSize] > RemoveQObject);
        QCOMPARE(qtHookData[QtVersionIndex], quintptr(QT_VERSION));
        guiThread = std::this_thread::get_id();
        previousAdd = reinterpret_cast<ObjectHook>(qtHookData[AddQObject]);
        previousRemove = reinterpret_cast<ObjectHook>(qtHookData[RemoveQObject]);
        qtHookData[AddQObject] = reinterpret_cast<quintptr>(&onAddObject);
        qtHookData[RemoveQObject] = reinterpret_cast<quintptr>(&onRemoveObject);

        // Warm up: one of each class, both themes, so that objects Qt and the
        // kit create once for the whole application exist before the baseline.
        setTheme(m_themes[m_current]);
        {
            RoundStates states;
            QWidget host;
            for (int c = 0; c < ClassCount; ++c)
                make(Class(c), c, states)->setParent(&host);
            host.show();
            testsupport::drainEvents();
            states.toggle();   // loading on: the spinner starts Qt's animation timers
            testsupport::drainEvents();
            switchTheme();
            testsupport::drainEvents();
            switchTheme();
            testsupport::drainEvents();
        }
        testsupport::drainEvents();
        QTestEventLoop::instance();   // made by Qt Test on a first failure; exists from now on
        pendingAtDestruction.clear();
        m_baseline = liveWithoutThreads();
        std::lock_guard lock(liveMutex);
        for (QObject *o : liveSet)
            m_baselineSet.emplace(o, o->metaObject()->className());
    }

    void churnOneClassWhileThemesSwitch_data()
    {
        QTest::addColumn<int>("cls");
        for (int c = 0; c < ClassCount; ++c)
            QTest::newRow(classNames[c]) << c;
    }
    void churnOneClassWhileThemesSwitch()
    {
        QFETCH(int, cls);
        const Class c = Class(cls);
        const int before = constructedCount[c];

        // Survivors live through the whole churn and follow the States they were given.
        auto survivorStates = std::make_unique<RoundStates>();
        std::vector<std::unique_ptr<QWidget>> survivors;
        for (int i = 0; i < 2; ++i)
            survivors.emplace_back(make(c, i, *survivorStates));
        QStringList sheets[2];
        for (int t = 0; t < 2; ++t) {
            switchTheme();
            testsupport::drainEvents();
            for (const auto &w : survivors)
                sheets[m_current].append(w->styleSheet());
        }

        const int switchesBefore = m_switches;
        churn({c}, WidgetsPerClass);
        QVERIFY(m_switches - switchesBefore >= WidgetsPerClass / Batch);
        QCOMPARE(constructedCount[c] - before, WidgetsPerClass + 2);

        survivorStates->toggle();
        switchTheme();
        testsupport::drainEvents();
        for (std::size_t i = 0; i < survivors.size(); ++i) {
            QCOMPARE(survivors[i]->styleSheet(), sheets[m_current][qsizetype(i)]);
            if (followsTheTheme(c))
                QVERIFY(sheets[0][qsizetype(i)] != sheets[1][qsizetype(i)]);
        }
        survivors.clear();
        survivorStates.reset();
        verifyNothingRanForTheDead(c != CChipStack);
    }

    void churnAllClassesTogether()
    {
        QList<Class> all;
        for (int c = 0; c < ClassCount; ++c)
            all.append(Class(c));
        churn(all, MixedWidgets);
        verifyNothingRanForTheDead(true);
        qInfo("%d theme switches in all", m_switches);
        QVERIFY(m_switches >= 800 / Scale);
    }

    void cleanupTestCase()
    {
        qtHookData[AddQObject] = reinterpret_cast<quintptr>(previousAdd);
        qtHookData[RemoveQObject] = reinterpret_cast<quintptr>(previousRemove);
    }
};

QTEST_MAIN(tst_Stress)
#include "tst_stress.moc"
