#include <tessera/kit/options.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/restyle_p.h>

#include "testsupport.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QScreen>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace tessera;

namespace {

// A minimal themed widget: counts its builds and can be told to fail.
class Probe : public QFrame, public RestyleLifecycle
{
public:
    explicit Probe(int *destroyedBuilds = nullptr) : RestyleLifecycle(this), m_destroyedBuilds(destroyedBuilds)
    {
        setObjectName(newObjectName());
        theme = useTheme();
        _subscribeToTheme();
    }
    ~Probe() override { m_alive = false; }

    int builds = 0;
    static inline int allBuilds = 0;   // builds of every probe
    int lastBuildSerial = 0;   // when this probe last built, counted over all probes
    bool fail = false;
    std::chrono::microseconds slowness{0};   // how long each build takes
    std::function<void()> onBuild;
    using RestyleLifecycle::_onThemeChanged;
    using RestyleLifecycle::_scheduleSetStyleSheet;
    using RestyleLifecycle::styleTask;

protected:
    void _set_stylesheet(const StyleMap &) override
    {
        if (!m_alive && m_destroyedBuilds)
            ++*m_destroyedBuilds;
        ++builds;
        lastBuildSerial = ++allBuilds;
        if (onBuild)
            onBuild();
        QElapsedTimer busy;
        busy.start();
        while (busy.nsecsElapsed() < std::chrono::nanoseconds(slowness).count()) {
        }
        if (fail)
            throw StyleLookupError("root");
        const char *colour = useTheme()->palette().mode == u"dark" ? "white" : "black";
        setStyleSheet(QStringLiteral("#%1 { color: %2; background: %2; }").arg(objectName(), colour));
    }

private:
    int *m_destroyedBuilds;
    bool m_alive = true;
};

// Records, for every Polish event of the probe, how many builds it had run
// and the sheet it carried.
class PolishSpy : public QObject
{
public:
    explicit PolishSpy(Probe *probe) : m_probe(probe) {}
    struct Seen
    {
        int builds;
        QString sheet;
    };
    QList<Seen> seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Polish)
            seen.append({m_probe->builds, m_probe->styleSheet()});
        return false;
    }

private:
    Probe *m_probe;
};

} // namespace

class tst_Restyle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { setTheme("light"); testsupport::drainEvents(); }

    void firstBuildAfterTwoPassesNeverInConstructor()
    {
        Probe p;
        QCOMPARE(p.builds, 0);
        QVERIFY(!p.styleTask().isValid());   // no handle before the timer fires
        QCoreApplication::processEvents();          // the timer hop
        QTRY_COMPARE(p.builds, 1);
        QVERIFY(p.styleTask().done());
        QVERIFY(p.styleSheet().contains("black"));
    }

    // Qt polishes a themed widget once its first sheet is in place (polished
    // first and restyled, a widget keeps more memory), even when that build
    // fails. Showing it polishes it at once.
    void firstPolishWaitsForTheFirstBuild_data()
    {
        QTest::addColumn<bool>("fail");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("buildsAtPolish");
        QTest::newRow("left to the event loop") << false << false << 1;
        QTest::newRow("first build fails") << true << false << 1;
        QTest::newRow("shown at once") << false << true << 0;
    }

    void firstPolishWaitsForTheFirstBuild()
    {
        QFETCH(bool, fail);
        QFETCH(bool, shown);
        QFETCH(int, buildsAtPolish);
        Probe p;
        p.fail = fail;
        PolishSpy spy(&p);
        p.installEventFilter(&spy);
        if (shown)
            p.show();
        testsupport::drainEvents();
        QCOMPARE(p.builds, 1);
        QVERIFY(p.testAttribute(Qt::WA_WState_Polished));
        QCOMPARE(spy.seen.size(), 1);   // once
        QCOMPARE(spy.seen[0].builds, buildsAtPolish);
        QCOMPARE(spy.seen[0].sheet.isEmpty(), buildsAtPolish == 0 || fail);
    }

    void everyTriggerBuildsNoCoalescing()
    {
        Probe p;
        QTRY_COMPARE(p.builds, 1);
        setTheme("dark");
        setTheme("dark");
        QCOMPARE(p.builds, 1);   // never inside the signal
        testsupport::drainEvents();
        QCOMPARE(p.builds, 3);
        QVERIFY(p.styleSheet().contains("white"));
    }

    void switchRestylesManyWidgetsInOrder()
    {
        std::vector<std::unique_ptr<Probe>> probes;
        for (int i = 0; i < 40; ++i)
            probes.push_back(std::make_unique<Probe>());
        testsupport::drainEvents();
        probes[7].reset();   // gone before the switch
        setTheme("dark");
        probes[21].reset();   // gone between the switch and its timer
        testsupport::runTimerHop();
        for (const auto &p : probes) {
            if (!p)
                continue;
            QCOMPARE(p->builds, 1);   // the timers fired: every task waits, none ran
            QVERIFY(p->styleTask().isValid() && !p->styleTask().done());
        }
        // The builds start in a later pass: at once, or after the timers'
        // round when the pass of hops held the loop for a whole slice.
        QTRY_VERIFY(std::any_of(probes.begin(), probes.end(), [](const auto &p) { return p && p->builds == 2; }));
        testsupport::drainEvents();
        int previous = 0;
        for (const auto &p : probes) {
            if (!p)
                continue;
            QCOMPARE(p->builds, 2);
            QVERIFY(p->styleSheet().contains("white"));
            QVERIFY2(p->lastBuildSerial > previous, "widgets restyle in the order they subscribed");
            previous = p->lastBuildSerial;
        }
    }

    void inViewFirstThenOutOfViewThenHidden()
    {
        // A window with a scroll area (one probe at the top, one far below,
        // made first) and a hidden page with a third probe, made before both.
        QWidget window;
        window.resize(400, 300);
        auto *pages = new QStackedWidget(&window);
        pages->setGeometry(0, 0, 400, 300);
        auto *area = new QScrollArea;
        auto *hiddenPage = new QWidget;
        auto *hidden = new Probe;
        hidden->setParent(hiddenPage);
        auto *content = new QWidget;
        content->resize(380, 3000);
        auto *below = new Probe;
        below->setParent(content);
        below->setGeometry(0, 2500, 100, 30);
        auto *top = new Probe;
        top->setParent(content);
        top->setGeometry(0, 0, 100, 30);
        area->setWidget(content);
        pages->addWidget(area);
        pages->addWidget(hiddenPage);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        testsupport::drainEvents();
        // Construction, and then a switch: the same order both times.
        for (const char *next : {"light", "dark"}) {
            if (QByteArray(next) == "dark") {
                setTheme(next);
                testsupport::drainEvents();
            }
            QVERIFY(top->lastBuildSerial < below->lastBuildSerial);
            QVERIFY(below->lastBuildSerial < hidden->lastBuildSerial);
            for (Probe *p : {top, below, hidden})
                QVERIFY(p->styleSheet().contains(QByteArray(next) == "dark" ? "white" : "black"));
        }
        QCOMPARE(hidden->builds, 2);   // nothing skipped: the hidden page carries the new sheet too
    }

    void switchRepaintsWhatTheWindowShows()
    {
        // Three probes in a shown window: the switch reaches the screen for
        // each, and updates that the application disabled on a probe, or on a
        // widget inside one, stay disabled.
        QWidget window;
        window.resize(300, 100);
        Probe plain, heldByApp, holdingChild;
        auto *child = new QWidget(&holdingChild);
        for (Probe *p : {&plain, &heldByApp, &holdingChild})
            p->setParent(&window);
        plain.setGeometry(0, 0, 100, 100);
        heldByApp.setGeometry(100, 0, 100, 100);
        holdingChild.setGeometry(200, 0, 100, 100);
        child->setGeometry(0, 0, 10, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        testsupport::drainEvents();
        const auto shown = [&window](int x) { return window.screen()->grabWindow(window.winId()).toImage().pixelColor(x, 50); };
        QCOMPARE(shown(50), QColor(Qt::black));
        heldByApp.setUpdatesEnabled(false);
        child->setUpdatesEnabled(false);
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(shown(50), QColor(Qt::white));
        QCOMPARE(shown(250), QColor(Qt::white));
        QVERIFY(plain.updatesEnabled() && holdingChild.updatesEnabled());
        QVERIFY(!heldByApp.updatesEnabled() && !child->updatesEnabled());
        QVERIFY(heldByApp.styleSheet().contains("white"));
    }

    void slowSwitchShowsWhatIsInViewBeforeHiddenWork()
    {
        // A page of probes whose builds take 1 ms each, several slices of
        // them, and a hidden page of probes: when the first hidden probe
        // builds, the window already shows the new look of every probe in
        // view, switch after switch.
        using namespace std::chrono_literals;
        QStackedWidget window;
        window.resize(400, 200);
        auto *shownPage = new QWidget;
        auto *hiddenPage = new QWidget;
        std::vector<Probe *> shown, hidden;
        for (int i = 0; i < 40; ++i) {
            shown.push_back(new Probe);
            shown.back()->setParent(shownPage);
            shown.back()->setGeometry(i % 8 * 50, i / 8 * 40, 50, 40);
            shown.back()->slowness = 1ms;
            hidden.push_back(new Probe);
            hidden.back()->setParent(hiddenPage);
        }
        window.addWidget(shownPage);
        window.addWidget(hiddenPage);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        testsupport::drainEvents();
        QColor expected;
        int checked = 0;
        QStringList stale;
        hidden.front()->onBuild = [&] {
            const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
            for (const Probe *p : shown) {
                if (screen.pixelColor(p->geometry().center()) != expected)
                    stale.append(p->objectName());
            }
            ++checked;
        };
        for (const char *next : {"dark", "light", "dark"}) {
            expected = QByteArray(next) == "dark" ? Qt::white : Qt::black;
            setTheme(next);
            testsupport::drainEvents();
        }
        QCOMPARE(checked, 3);
        QVERIFY2(stale.isEmpty(), qPrintable(stale.join(u' ')));
    }

    void switchRepaintsPartsAndRowsScrolledIntoView()
    {
        // Probes in a scroll area, the first with a themed probe inside it:
        // after a switch the screen shows the new look for both, and for
        // the rows out of view once they are scrolled into view.
        QScrollArea area;
        area.setFrameShape(QFrame::NoFrame);
        area.resize(200, 100);
        auto *content = new QWidget;
        content->resize(200, 10 * 50);
        std::vector<Probe *> rows;
        for (int i = 0; i < 10; ++i) {
            rows.push_back(new Probe);
            rows.back()->setParent(content);
            rows.back()->setGeometry(0, i * 50, 200, 50);
        }
        auto *part = new Probe;
        part->setParent(rows.front());
        part->setGeometry(0, 0, 20, 20);
        area.setWidget(content);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        testsupport::drainEvents();
        const auto shown = [&area](QPoint at) {
            return area.screen()->grabWindow(area.winId()).toImage().pixelColor(area.viewport()->mapTo(&area, at));
        };
        QCOMPARE(shown({10, 10}), QColor(Qt::black));
        setTheme("dark");
        testsupport::drainEvents();
        QCOMPARE(shown({10, 10}), QColor(Qt::white));    // the part
        QCOMPARE(shown({100, 30}), QColor(Qt::white));   // the probe it is in
        QCOMPARE(shown({100, 75}), QColor(Qt::white));   // the next row, in view
        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
        testsupport::drainEvents();
        QCOMPARE(shown({100, 75}), QColor(Qt::white));   // the last row, out of view during the switch
    }

    void loopTurnsDuringALongSwitch()
    {
        // 3000 probes in a shown scroll area. An event posted right after the
        // switch, and posted again until it sees the first restyled probe,
        // runs before the last probe is restyled; the probe it deletes, still
        // queued, never builds.
        constexpr int count = 3000;
        QScrollArea area;
        area.resize(400, 300);
        auto *content = new QWidget;
        content->resize(380, count * 20);
        std::vector<QPointer<Probe>> probes;
        for (int i = 0; i < count; ++i) {
            auto *p = new Probe;
            p->setParent(content);
            p->setGeometry(0, i * 20, 100, 18);
            probes.emplace_back(p);
        }
        area.setWidget(content);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        testsupport::drainEvents();
        const auto restyled = [&probes] {
            return int(std::count_if(probes.begin(), probes.end(), [](const auto &p) { return p && p->builds == 2; }));
        };
        int seen = -1;
        int deletedBuilds = -1;
        std::function<void()> poll = [&] {
            if (restyled() == 0) {
                QMetaObject::invokeMethod(&area, poll, Qt::QueuedConnection);
                return;
            }
            seen = restyled();
            deletedBuilds = probes.back()->builds;
            delete probes.back();
        };
        const int buildsBefore = Probe::allBuilds;
        setTheme("dark");
        QMetaObject::invokeMethod(&area, poll, Qt::QueuedConnection);
        testsupport::drainEvents();
        QVERIFY2(seen > 0 && seen < count - 1, qPrintable(QString::number(seen)));
        QVERIFY(!probes.back());
        QCOMPARE(deletedBuilds, 1);   // still queued when it went
        QCOMPARE(restyled(), count - 1);   // every other probe carries the new sheet
        QCOMPARE(Probe::allBuilds - buildsBefore, count - 1);   // and nothing else built
    }

    void newHandleReplacesOldWithoutCancelling()
    {
        Probe p;
        testsupport::drainEvents();
        p._scheduleSetStyleSheet();
        const Task first = p.styleTask();
        p._scheduleSetStyleSheet();
        QVERIFY(!first.done());
        testsupport::drainEvents();
        QVERIFY(first.done() && !first.cancelled());
        QCOMPARE(p.builds, 3);
    }

    void destructionCancelsPendingWork()
    {
        int lateBuilds = 0;
        // Destroyed before the timer fired.
        {
            Probe p(&lateBuilds);
        }
        // Destroyed after the timer fired, before the task ran.
        Task pending;
        {
            auto *p = new Probe(&lateBuilds);
            testsupport::runTimerHop();   // fire the zero-delay timer only
            QVERIFY(p->styleTask().isValid());
            pending = p->styleTask();
            delete p;
        }
        QVERIFY(pending.cancelled());
        // Several pending tasks and timers, then deleteLater during a theme switch.
        auto *p = new Probe(&lateBuilds);
        p->_scheduleSetStyleSheet();
        p->_scheduleSetStyleSheet();
        setTheme("dark");
        QPointer<Probe> guard(p);
        p->deleteLater();
        testsupport::drainEvents();
        QVERIFY(!guard);
        QCOMPARE(lateBuilds, 0);
    }

    void failingBuildKeepsPreviousSheetAndLoopRuns()
    {
        Probe p;
        testsupport::drainEvents();
        const QString before = p.styleSheet();
        p.fail = true;
        setTheme("dark");
        testsupport::drainEvents();
        QVERIFY(p.styleTask().failed());
        QCOMPARE(p.styleSheet(), before);
        p.fail = false;
        setTheme("light");
        testsupport::drainEvents();
        QVERIFY(!p.styleTask().failed());
        QVERIFY(p.styleSheet().contains("black"));
    }

    void lruDropsExactlyTheLeastRecentlyUsed()
    {
        LruMemo<QString> memo;
        for (int i = 0; i < 128; ++i)
            memo.get({QString::number(i)}, [i] { return QString::number(i * 2); });
        QCOMPARE(memo.size(), 128);
        QCOMPARE(memo.builds(), 128);
        // Touch key 0 so key 1 becomes the least recently used.
        QCOMPARE(memo.get({"0"}, [] { return QString("rebuilt"); }), QString("0"));
        QCOMPARE(memo.hits(), 1);
        memo.get({"128"}, [] { return QString("x"); });
        QCOMPARE(memo.size(), 128);
        QVERIFY(memo.contains({"0"}));
        QVERIFY(!memo.contains({"1"}));
        QVERIFY(memo.contains({"2"}));
        QVERIFY(memo.contains({"128"}));
        QCOMPARE(memo.keys().first(), QStringList({"128"}));
        QCOMPARE(memo.keys().last(), QStringList({"2"}));
    }

    void lruMemoisesNothingForAFailedBuild()
    {
        LruMemo<QString> memo;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, memo.get({"k"}, []() -> QString { throw std::runtime_error("x"); }));
        QVERIFY(!memo.contains({"k"}));
        QCOMPARE(memo.builds(), 0);
        QCOMPARE(memo.get({"k"}, [] { return QString("ok"); }), QString("ok"));
    }

    void themeKeyTellsThemesOfOneModeApart()
    {
        const QStringList light = themeMemoKey(useTheme());
        const QString sameMode = testsupport::registerVariant("light", [](StyleMap &) {});
        setTheme(sameMode);
        QVERIFY(themeMemoKey(useTheme()) != light);
        QCOMPARE(themeMemoKey(useTheme()).first(), light.first());
        setTheme("light");
        QCOMPARE(themeMemoKey(useTheme()), light);
    }

    void sxForms()
    {
        const QString n = "abc";
        QCOMPARE(Sx().render(n), QString());
        QCOMPARE(Sx("").render(n), QString());
        QCOMPARE(Sx(StyleMap()).render(n), QString());
        QCOMPARE(Sx("#abc { color: red; }").render(n), QString("#abc { color: red; }"));
        QCOMPARE(Sx(StyleMap{{"color", "red"}}).render(n), QString("#abc { color: red; }"));
        QCOMPARE(Sx(Sx::Function([] { return QVariant(StyleMap{{"color", "red"}}); })).render(n), QString("#abc { color: red; }"));
        QCOMPARE(Sx(Sx::Function([] { return QVariant(QString("raw")); })).render(n), QString("raw"));
        QCOMPARE(Sx(Sx::Function([] { return QVariant(42); })).render(n), QString());
        int calls = 0;
        Sx counted(Sx::Function([&] { ++calls; return QVariant(); }));
        counted.render(n);
        QCOMPARE(calls, 1);
        State s;
        QCOMPARE(Sx(&s).render(n), QString());
    }

    void objectNameFillsEveryPlaceholder()
    {
        const QString p = ObjectNamePlaceholder.toString();
        const auto filled = [](QString sheet, const QString &name) { return fillObjectName(sheet, name); };
        QCOMPARE(filled("#" + p + " { x: 1; }\n#" + p + "::title { y: _; }", "abc"), QString("#abc { x: 1; }\n#abc::title { y: _; }"));
        QCOMPARE(filled(p, "a-much-longer-name-than-the-placeholder-itself"), QString("a-much-longer-name-than-the-placeholder-itself"));
        QCOMPARE(filled(p + p, "n"), QString("nn"));   // side by side
        QCOMPARE(filled("_" + p + "_", "n"), QString("_n_"));   // after an underscore of its own
        QCOMPARE(filled(p.chopped(1) + " #" + p, "n"), p.chopped(1) + " #n");   // a cut-off copy stays
        QCOMPARE(filled("no placeholder _ here", "n"), QString("no placeholder _ here"));
        QCOMPARE(filled(QString(), "n"), QString());
        QCOMPARE(filled("#" + p, QString()), QString("#"));
    }

    void objectNamesAreFreshUuids()
    {
        const QString a = newObjectName(), b = newObjectName();
        QVERIFY(testsupport::isUuidText(a));
        QVERIFY(a != b);
    }
};

QTEST_MAIN(tst_Restyle)
#include "tst_restyle.moc"
