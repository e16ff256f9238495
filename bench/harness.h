#pragma once

// A small benchmark harness for tessera (no framework needed).
//
//   bench::timeNs(fn)               robust per-call time of a callable, in ns
//   bench::drainToIdle()            runs the event loop until nothing is left to do
//   bench::measureThemeSwitch(...)  a theme switch over N widgets against two raw-Qt floors
//   bench::printFigure / printRatio one machine-readable line per figure
//
// Every time is CPU time of the GUI thread (see nowNs()).
//
// Output lines (one per figure, easy to grep):
//   figure <name> <value> <unit>      e.g. "figure get_qss_style_10_decls 812.4 ns"
//   ratio <name> <N> <value>          ours / best raw-Qt floor for a theme switch
//                                     (median of the repetitions' paired ratios; the
//                                     medians' and the fastest samples' ratios are in the note)
// plus human-readable lines starting with "  " that give the absolute times.
//
// Fairness of the theme-switch figures: the N widgets are children of the
// content of a shown 1280x800 scroll area (offscreen platform), placed in a
// grid; those below the viewport are out of view. Our switch and both floors act on the very same widgets in the very
// same host, with the same final style sheets (captured from our own
// switch: each widget's sheet, and the sheet of every inner widget that the
// switch changes), and every figure runs until the event loop is idle, so
// that re-polishing, layout requests and painting are paid alike. Work a
// widget does on a theme change besides style sheets (re-tinting an icon,
// say) has no raw-Qt counterpart here and counts as ours.

#include <tessera/kit/theme.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace bench {

//! Summary of a set of samples (all in the same unit).
struct Stats
{
    double median = 0;
    double min = 0;
    double max = 0;
    int samples = 0;
};

inline Stats summarize(std::vector<double> values)
{
    Stats s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    s.samples = int(n);
    return s;
}

/*!
    The clock of every figure: CPU time of the calling (GUI) thread, in ns.
    The machine is shared, so wall time would count other processes' work;
    everything measured here runs on the GUI thread, so its CPU time is the
    cost itself. (Qt starts no helper thread for styling or painting offscreen.)
*/
inline double nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

//! Keeps the optimiser from dropping a computed value.
template<typename T>
inline void keep(T &&value)
{
    asm volatile("" : : "g"(&value) : "memory");
}

/*!
    Per-call time of \a fn in nanoseconds. The callable is first warmed up,
    then the number of calls per sample is calibrated so that one sample takes
    at least \a minSampleNs; the median of \a samples samples is returned with
    the fastest and slowest sample.
*/
template<typename Fn>
Stats timeNs(Fn &&fn, int samples = 15, double minSampleNs = 2e6)
{
    for (int i = 0; i < 3; ++i)
        fn();
    long iterations = 1;
    for (;;) {
        const double t0 = nowNs();
        for (long i = 0; i < iterations; ++i)
            fn();
        const double elapsed = nowNs() - t0;
        if (elapsed >= minSampleNs || iterations >= (1L << 30))
            break;
        iterations = elapsed <= 0 ? iterations * 10
                                  : std::max(iterations * 2, long(double(iterations) * minSampleNs * 1.2 / elapsed));
    }
    std::vector<double> perCall;
    perCall.reserve(std::size_t(samples));
    for (int s = 0; s < samples; ++s) {
        const double t0 = nowNs();
        for (long i = 0; i < iterations; ++i)
            fn();
        perCall.push_back((nowNs() - t0) / double(iterations));
    }
    return summarize(std::move(perCall));
}

/*!
    Runs the GUI event loop until it is idle: posted events (queued calls,
    zero-delay timers, deferred tasks, layout and update requests) and
    deferred deletes are handled until two passes in a row find nothing.
    Returns the number of busy passes.
*/
inline int drainToIdle()
{
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    int busy = 0;
    int quiet = 0;
    while (quiet < 2) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool didWork = dispatcher ? dispatcher->processEvents(QEventLoop::AllEvents)
                                        : (QCoreApplication::processEvents(), false);
        if (didWork) {
            ++busy;
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return busy;
}

inline void printFigure(const QString &name, double value, const char *unit, const QString &note = {})
{
    // Small figures (ratios, shares) keep three decimals; times and sizes one.
    std::printf(std::abs(value) < 10 ? "figure %s %.3f %s%s%s\n" : "figure %s %.1f %s%s%s\n", qPrintable(name), value,
                unit, note.isEmpty() ? "" : "  # ", qPrintable(note));
    std::fflush(stdout);
}

//! A timed figure: its median, with the fastest and slowest sample in the note.
inline void printStats(const QString &name, const Stats &s, const char *unit, const QString &note = {})
{
    printFigure(name, s.median, unit,
                QStringLiteral("median of %1, min %2, max %3%4")
                    .arg(s.samples)
                    .arg(s.min, 0, 'f', 1)
                    .arg(s.max, 0, 'f', 1)
                    .arg(note.isEmpty() ? QString() : QStringLiteral("; ") + note));
}

inline void printRatio(const QString &name, int n, double value)
{
    std::printf("ratio %s %d %.3f\n", qPrintable(name), n, value);
    std::fflush(stdout);
}

//! "stall": the longest gap of a 1 ms timer during the switch (goal <= 16 ms).
inline void printStall(const QString &name, int n, const Stats &wall, const Stats &cpu)
{
    printFigure(QStringLiteral("stall_%1_%2").arg(name).arg(n), wall.median / 1e6, "ms",
                QStringLiteral("goal <= 16; longest gap of a 1 ms timer, wall time, median of %1 switches, max %2; "
                               "GUI-thread CPU time in that gap %3 ms (max %4)")
                    .arg(wall.samples)
                    .arg(wall.max / 1e6, 0, 'f', 1)
                    .arg(cpu.median / 1e6, 0, 'f', 1)
                    .arg(cpu.max / 1e6, 0, 'f', 1));
}

//! "in_view": until every widget in view has its new sheet, beside the raw floor for those widgets alone.
inline void printInView(const QString &name, int n, const Stats &ours, const Stats &floor, int count)
{
    const double goal = 1.2 * floor.median + 16e6;
    printFigure(QStringLiteral("in_view_%1_%2").arg(name).arg(n), ours.median / 1e6, "ms",
                QStringLiteral("%1 widgets in view; raw floor for them alone %2 ms; goal <= 1.2 x floor + 16 = %3 ms%4; "
                               "median of %5, max %6")
                    .arg(count)
                    .arg(floor.median / 1e6, 0, 'f', 2)
                    .arg(goal / 1e6, 0, 'f', 1)
                    .arg(ours.median <= goal ? QString() : QStringLiteral(" MISSED"))
                    .arg(ours.samples)
                    .arg(ours.max / 1e6, 0, 'f', 1));
}

inline void printNote(const QString &text)
{
    std::printf("  %s\n", qPrintable(text));
    std::fflush(stdout);
}

//! Builds the widget number \a index (without a parent; the harness re-parents it).
using IndexedFactory = std::function<QWidget *(int index)>;

struct SwitchOptions
{
    //! Measured switches (each followed by the floors); 0: 15 up to N = 1000, 9 above.
    int repetitions = 0;
    //! The two themes switched between.
    QString themeA = QStringLiteral("light");
    QString themeB = QStringLiteral("dark");
    //! Size of the shown host window; widgets are laid in a grid of cells of this size.
    QSize hostSize{1280, 800};
    QSize cell{160, 48};
};

/*!
    The longest gap the event loop leaves between two ticks of a 1 ms precise
    timer, from start() until stop(): what a user sees as a frozen window.
    Wall time is what the user sees; the GUI thread's CPU time within the
    same gap tells the work apart from a shared machine's other processes.
*/
struct StallMeter
{
    double maxWallNs = 0;
    double maxCpuNs = 0;
    double maxStyledWallNs = 0;   //!< the longest gap in which a widget took a new style sheet (trackStyling())

    //! Also notes which gaps a widget's style sheet changed in (an application-wide event filter).
    void trackStyling() { qApp->installEventFilter(&m_styleSpy); }

    void start()
    {
        m_wall.start();
        m_lastWall = 0;
        m_lastCpu = nowNs();
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.start(1);
    }
    void stop()
    {
        tick();
        m_timer.stop();
        qApp->removeEventFilter(&m_styleSpy);
    }

private:
    void tick()
    {
        const double wall = double(m_wall.nsecsElapsed());
        const double cpu = nowNs();
        if (wall - m_lastWall > maxWallNs) {
            maxWallNs = wall - m_lastWall;
            maxCpuNs = cpu - m_lastCpu;
        }
        if (m_styleSpy.styled)
            maxStyledWallNs = std::max(maxStyledWallNs, wall - m_lastWall);
        m_styleSpy.styled = false;
        m_lastWall = wall;
        m_lastCpu = cpu;
    }

    struct StyleSpy : QObject
    {
        bool styled = false;
        bool eventFilter(QObject *, QEvent *event) override
        {
            styled = styled || event->type() == QEvent::StyleChange;
            return false;
        }
    };

    QTimer m_timer;
    QElapsedTimer m_wall;
    double m_lastWall = 0;
    double m_lastCpu = 0;
    StyleSpy m_styleSpy;
};

/*!
    Notes the moment (GUI-thread CPU time) when every watched widget is
    styled as \a done tells, from the style changes Qt sends them, and the
    moment when every one of them has been painted since (what the user
    sees).
*/
class InViewWatch : public QObject
{
public:
    using Done = std::function<bool(const QWidget *, std::size_t index)>;
    InViewWatch(const std::vector<QWidget *> &widgets, Done done) : m_widgets(widgets), m_isDone(std::move(done)) {}
    double doneNs = 0;
    double paintedNs = 0;   //!< when the last of them was painted with its new sheet

    void start(double t0)
    {
        m_done.assign(m_widgets.size(), false);
        m_painted.assign(m_widgets.size(), false);
        m_left = 0;
        for (std::size_t i = 0; i < m_widgets.size(); ++i) {
            m_widgets[i]->installEventFilter(this);
            m_done[i] = m_isDone(m_widgets[i], i);
            m_left += !m_done[i];
        }
        m_unpainted = m_left;
        if (!m_left)
            doneNs = t0;
    }
    void stop()
    {
        for (QWidget *w : m_widgets)
            w->removeEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool restyled = event->type() == QEvent::StyleChange && m_left > 0;
        const bool painted = event->type() == QEvent::Paint && m_unpainted > 0;
        if (!restyled && !painted)
            return false;
        const auto at = std::find(m_widgets.begin(), m_widgets.end(), watched);
        if (at == m_widgets.end())
            return false;
        const std::size_t i = std::size_t(at - m_widgets.begin());
        if (restyled && !m_done[i] && m_isDone(*at, i)) {
            m_done[i] = true;
            if (--m_left == 0)
                doneNs = nowNs();
        }
        if (painted && m_done[i] && !m_painted[i]) {
            m_painted[i] = true;
            if (--m_unpainted == 0)
                paintedNs = nowNs();
        }
        return false;
    }

private:
    std::vector<QWidget *> m_widgets;
    Done m_isDone;
    std::vector<bool> m_done;
    std::vector<bool> m_painted;
    int m_left = 0;
    int m_unpainted = 0;
};

/*!
    The host of the theme-switch figures: a shown 1280x800 QScrollArea whose
    content holds the widgets in a grid of fixed cells (eight columns of
    160x48 by default, placed by hand), as a form in a scrolled view; the rows
    below the viewport are out of view. No layout manager: a layout over N
    widgets is activated again after every slice of a restyle that changes
    some of them, an O(N) cost of Qt's that docs/performance.md reports apart.
*/
class ScrollHost
{
public:
    explicit ScrollHost(const SwitchOptions &options)
        : m_cell(options.cell), m_columns(std::max(1, options.hostSize.width() / options.cell.width()))
    {
        m_area.resize(options.hostSize);
        m_content = new QWidget;
        m_area.setWidget(m_content);
    }
    ~ScrollHost()
    {
        m_area.hide();
        delete m_area.takeWidget();
        drainToIdle();
    }

    QWidget *add(QWidget *w)
    {
        w->setParent(m_content);
        w->setGeometry((m_count % m_columns) * m_cell.width(), (m_count / m_columns) * m_cell.height(),
                       m_cell.width() - 4, m_cell.height() - 4);
        ++m_count;
        m_content->resize(m_columns * m_cell.width(), ((m_count + m_columns - 1) / m_columns) * m_cell.height());
        return w;
    }
    void show()
    {
        m_area.show();
        drainToIdle();
    }
    //! Shown, and intersecting the viewport.
    bool inView(const QWidget *w) const
    {
        if (!w || !w->isVisible())
            return false;
        const QWidget *viewport = m_area.viewport();
        return QRect(w->mapTo(viewport, QPoint(0, 0)), w->size()).intersects(viewport->rect());
    }
    QScrollArea &area() { return m_area; }

private:
    QScrollArea m_area;
    QWidget *m_content = nullptr;
    QSize m_cell;
    int m_columns;
    int m_count = 0;
};

struct SwitchFigures
{
    QString name;
    int n = 0;
    Stats ours;          //!< ns, setTheme() until every sheet is applied and the loop is idle
    Stats loopFloor;     //!< ns, a plain loop of setStyleSheet() with the same sheets, then idle
    Stats postedFloor;   //!< ns, one queued call per widget doing setStyleSheet(), then idle
    Stats twoHop;        //!< ns, two chained queued calls per widget, then setStyleSheet() (not a floor)
    double ratio = 0;         //!< median over the repetitions of ours / the best floor's sample of that repetition
    double mediansRatio = 0;  //!< ours / best floor (medians), for the record
    double fastestRatio = 0;  //!< ours / best floor (fastest samples), for the record
    Stats stallWall;     //!< ns, the longest gap between two ticks of a 1 ms timer during a switch (wall time)
    Stats stallCpu;      //!< ns, the GUI thread's CPU time within that longest gap
    Stats inView;        //!< ns, setTheme() until every widget in view carries its new sheet
    Stats inViewFloor;   //!< ns, a plain loop of setStyleSheet() over the widgets in view alone
    Stats inViewPainted; //!< ns, setTheme() until every widget in view has been painted with its new sheet
    int inViewCount = 0;
    int mismatches = 0;  //!< widgets whose sheet after our switch was not the expected one
    bool ok = false;
};

/*!
    Measures a theme switch over \a n widgets made by \a make, against two
    raw-Qt floors measured in the same run on the same widgets with the same
    final style sheets. Prints a "ratio" line and the absolute times.

    Order within one repetition, so that every step really changes the sheets:
    our switch (A->B), the plain-loop floor (B->A sheets), the posted-call
    floor (A->B sheets), the two-hop figure (B->A) and the plain loop again
    (A->B, a second sample); the next repetition runs the other way round.

    The ratio pairs each repetition's switch with the best floor's samples of
    the same repetition (the floor with the lower median; for the plain loop,
    the mean of its two samples), and reports the median of those ratios. The
    samples of one repetition are taken within a fraction of a second of each
    other, so a slower phase of the shared machine slows both sides of a pair;
    a ratio of medians would compare samples taken at different times.
*/
inline SwitchFigures measureThemeSwitch(const QString &name, int n, const IndexedFactory &make,
                                        const SwitchOptions &options = {})
{
    SwitchFigures out;
    out.name = name;
    out.n = n;

    tessera::setTheme(options.themeA);
    drainToIdle();

    ScrollHost host(options);
    std::vector<QPointer<QWidget>> widgets;
    widgets.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        widgets.emplace_back(host.add(make(i)));
    host.show();

    // Every widget and everything inside it: a themed widget may restyle its
    // children too (a label, an icon), and the floors must apply the same sheets.
    std::vector<std::vector<QPointer<QWidget>>> members(widgets.size());
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        members[i].emplace_back(widgets[i]);
        const QList<QWidget *> inside = widgets[i]->findChildren<QWidget *>();
        for (QWidget *child : inside)
            members[i].emplace_back(child);
    }
    const auto capture = [&members] {
        std::vector<QStringList> sheets(members.size());
        for (std::size_t i = 0; i < members.size(); ++i) {
            for (const auto &w : members[i])
                sheets[i].append(w ? w->styleSheet() : QString());
        }
        return sheets;
    };
    // The two sheet sets, from our own switches (the second one also warms up).
    std::vector<QStringList> captured[2];
    captured[0] = capture();
    tessera::setTheme(options.themeB);
    drainToIdle();
    captured[1] = capture();
    int unchanged = 0;
    for (int i = 0; i < n; ++i)
        unchanged += captured[0][std::size_t(i)][0] == captured[1][std::size_t(i)][0];
    if (unchanged) {
        printNote(QStringLiteral("%1: %2 of %3 widgets keep the same sheet in both themes; not a themed switch")
                      .arg(name)
                      .arg(unchanged)
                      .arg(n));
        return out;
    }
    // What the floors apply: each widget's sheet, and each inner widget's sheet that the switch changes.
    struct Target
    {
        QPointer<QWidget> widget;
        QString sheet[2];
    };
    std::vector<Target> targets;
    int innerSheets = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
        for (qsizetype k = 0; k < qsizetype(members[i].size()); ++k) {
            if (k > 0 && captured[0][i][k] == captured[1][i][k])
                continue;
            targets.push_back({members[i][std::size_t(k)], {captured[0][i][k], captured[1][i][k]}});
            innerSheets += k > 0;
        }
    }

    const QString themes[2] = {options.themeA, options.themeB};
    int current = 1;   // the theme (and sheet set) now in force
    const int repetitions = options.repetitions > 0 ? options.repetitions : n <= 1000 ? 15 : 9;
    std::vector<double> ours, loop, posted, twoHop;
    for (int rep = 0; rep < repetitions; ++rep) {
        const int target = 1 - current;

        double t0 = nowNs();
        tessera::setTheme(themes[target]);
        drainToIdle();
        ours.push_back(nowNs() - t0);
        for (const Target &t : targets)
            out.mismatches += !t.widget || t.widget->styleSheet() != t.sheet[target];

        // Floor (a): a plain loop back to the other sheets.
        t0 = nowNs();
        for (const Target &t : targets)
            t.widget->setStyleSheet(t.sheet[current]);
        drainToIdle();
        loop.push_back(nowNs() - t0);

        // Floor (b): one posted call per widget, forward again to our theme's sheets.
        t0 = nowNs();
        for (const Target &t : targets) {
            QWidget *w = t.widget;
            QMetaObject::invokeMethod(w, [w, sheet = t.sheet[target]] { w->setStyleSheet(sheet); }, Qt::QueuedConnection);
        }
        drainToIdle();
        posted.push_back(nowNs() - t0);

        // For the record (not a floor of the ratio): two chained posted calls per
        // widget, the shape of the restyle pipeline (a zero-delay timer, then a
        // deferred task), back again; then the plain loop forward once more.
        t0 = nowNs();
        for (const Target &t : targets) {
            QWidget *w = t.widget;
            QMetaObject::invokeMethod(
                w,
                [w, sheet = t.sheet[current]] {
                    QMetaObject::invokeMethod(w, [w, sheet] { w->setStyleSheet(sheet); }, Qt::QueuedConnection);
                },
                Qt::QueuedConnection);
        }
        drainToIdle();
        twoHop.push_back(nowNs() - t0);
        t0 = nowNs();
        for (const Target &t : targets)
            t.widget->setStyleSheet(t.sheet[target]);
        drainToIdle();
        loop.push_back(nowNs() - t0);

        current = target;
    }

    // Stall and in-view figures, in repetitions of their own (the ticking
    // timer and the watch would otherwise weigh on the ratio's samples).
    std::vector<QWidget *> inView;
    std::vector<const Target *> inViewTargets;
    for (const Target &t : targets) {
        if (host.inView(t.widget))
            inViewTargets.push_back(&t);
    }
    for (const auto &w : widgets) {
        if (host.inView(w))
            inView.push_back(w);
    }
    std::vector<double> stallWall, stallCpu, inViewNs, inViewFloor, inViewPainted;
    for (int rep = 0; rep < 5; ++rep) {
        const int target = 1 - current;
        std::vector<QString> expected;
        for (QWidget *w : inView) {
            const auto found = std::find_if(targets.begin(), targets.end(), [w](const Target &t) { return t.widget == w; });
            expected.push_back(found != targets.end() ? found->sheet[target] : QString());
        }
        InViewWatch watch(inView, [&expected](const QWidget *w, std::size_t i) { return w->styleSheet() == expected[i]; });
        StallMeter stall;
        const double t0 = nowNs();
        watch.start(t0);
        stall.start();
        tessera::setTheme(themes[target]);
        drainToIdle();
        stall.stop();
        watch.stop();
        stallWall.push_back(stall.maxWallNs);
        stallCpu.push_back(stall.maxCpuNs);
        inViewNs.push_back(watch.doneNs > 0 ? watch.doneNs - t0 : nowNs() - t0);
        inViewPainted.push_back(watch.paintedNs > 0 ? watch.paintedNs - t0 : nowNs() - t0);
        for (const Target &t : targets)
            out.mismatches += !t.widget || t.widget->styleSheet() != t.sheet[target];
        // The floor for those widgets alone: a plain loop of their sheets (the other way round), then back.
        for (int back = 0; back < 2; ++back) {
            const int sheet = back ? target : current;
            const double f0 = nowNs();
            for (const Target *t : inViewTargets)
                t->widget->setStyleSheet(t->sheet[sheet]);
            inViewFloor.push_back(nowNs() - f0);
            drainToIdle();
        }
        current = target;
    }
    out.stallWall = summarize(stallWall);
    out.stallCpu = summarize(stallCpu);
    out.inView = summarize(inViewNs);
    out.inViewFloor = summarize(inViewFloor);
    out.inViewPainted = summarize(inViewPainted);
    out.inViewCount = int(inView.size());

    out.ours = summarize(ours);
    out.loopFloor = summarize(loop);
    out.postedFloor = summarize(posted);
    out.twoHop = summarize(twoHop);
    // The best floor is the one with the lower median; each repetition's switch
    // is divided by that floor's sample(s) of the same repetition. The medians'
    // ratio and the fastest samples' ratio are given too: the work is the same
    // every time, so on a shared machine a slower sample mostly measures the
    // neighbours (the loop floor has twice the samples of ours, which favours
    // raw Qt in the medians' figure).
    const bool loopIsBest = out.loopFloor.median <= out.postedFloor.median;
    std::vector<double> paired;
    for (int rep = 0; rep < repetitions; ++rep) {
        const std::size_t r = std::size_t(rep);
        const double floorSample = loopIsBest ? (loop[2 * r] + loop[2 * r + 1]) / 2 : posted[r];
        if (floorSample > 0)
            paired.push_back(ours[r] / floorSample);
    }
    out.ratio = summarize(paired).median;
    const double floor = std::min(out.loopFloor.median, out.postedFloor.median);
    out.mediansRatio = floor > 0 ? out.ours.median / floor : 0;
    const double fastestFloor = std::min(out.loopFloor.min, out.postedFloor.min);
    out.fastestRatio = fastestFloor > 0 ? out.ours.min / fastestFloor : 0;
    out.ok = out.mismatches == 0;

    printRatio(name, n, out.ratio);
    printStall(name, n, out.stallWall, out.stallCpu);
    printInView(name, n, out.inView, out.inViewFloor, out.inViewCount);
    printNote(QStringLiteral("%1 N=%2: every widget in view painted with its new sheet %3 ms after setTheme() (median of %4, max %5)")
                  .arg(name)
                  .arg(n)
                  .arg(out.inViewPainted.median / 1e6, 0, 'f', 1)
                  .arg(out.inViewPainted.samples)
                  .arg(out.inViewPainted.max / 1e6, 0, 'f', 1));
    printNote(QStringLiteral("%1 N=%2: medians of %3: ours %4 ms, loop floor %5 ms, posted floor %6 ms, ratio %12; "
                             "fastest: %7 / %8 / %9 ms, ratio %10%11")
                  .arg(name)
                  .arg(n)
                  .arg(repetitions)
                  .arg(out.ours.median / 1e6, 0, 'f', 2)
                  .arg(out.loopFloor.median / 1e6, 0, 'f', 2)
                  .arg(out.postedFloor.median / 1e6, 0, 'f', 2)
                  .arg(out.ours.min / 1e6, 0, 'f', 2)
                  .arg(out.loopFloor.min / 1e6, 0, 'f', 2)
                  .arg(out.postedFloor.min / 1e6, 0, 'f', 2)
                  .arg(out.fastestRatio, 0, 'f', 3)
                  .arg(out.ok ? QString() : QStringLiteral("  WRONG SHEETS: %1").arg(out.mismatches))
                  .arg(out.mediansRatio, 0, 'f', 3));
    printFigure(QStringLiteral("two_hop_ratio_%1_%2").arg(name).arg(n), out.twoHop.median > 0 ? out.ours.median / out.twoHop.median : 0,
                "x", QStringLiteral("ours / two chained posted calls per widget (%1 ms), the pipeline's own shape in raw Qt")
                         .arg(out.twoHop.median / 1e6, 0, 'f', 2));
    if (innerSheets)
        printNote(QStringLiteral("%1 N=%2: the floors also apply %3 sheets of inner widgets that the switch changes")
                      .arg(name)
                      .arg(n)
                      .arg(innerSheets));
    return out;
}

/*!
    Building \a n widgets from scratch into the scroll host (hidden while it
    is filled, then shown, as a form is), and their first styling: the
    longest gap of a 1 ms timer once the host is shown, and the time from
    then until every widget in view has a style sheet. The constructors and
    the show are the caller's own work and are only reported.

    \a raw builds the plain Qt counterpart (no sheet): a form of those, built
    and shown the same way in the same run (alternating with ours), gives the
    longest gap that Qt's own work after the show leaves (the first paint,
    the window's activation, the polish and update requests every new widget
    posts), printed beside ours. The longest gap in which widgets took their
    first sheets (a style change) is printed too: the styling's own share of
    the stall, in slices, apart from Qt's work for the show.
*/
inline void measureBuildFromScratch(const QString &name, int n, const IndexedFactory &make, const IndexedFactory &raw,
                                    const SwitchOptions &options = {})
{
    tessera::setTheme(options.themeA);
    drainToIdle();
    struct Samples
    {
        std::vector<double> stallWall, stallCpu, styledWall, inView, build, show;
    } ours, plain;
    int inViewCount = 0;
    for (int rep = 0; rep < 10; ++rep) {
        const bool isOurs = rep % 2 == 0;
        Samples &s = isOurs ? ours : plain;
        ScrollHost host(options);
        const double t0 = nowNs();
        std::vector<QWidget *> widgets;
        for (int i = 0; i < n; ++i)
            widgets.push_back(host.add(isOurs ? make(i) : raw(i)));
        const double shown = nowNs();
        host.area().show();
        const double t1 = nowNs();
        std::vector<QWidget *> inView;
        for (QWidget *w : widgets) {
            if (host.inView(w))
                inView.push_back(w);
        }
        InViewWatch watch(inView, [](const QWidget *w, std::size_t) { return !w->styleSheet().isEmpty(); });
        StallMeter stall;
        if (isOurs) {
            inViewCount = int(inView.size());
            watch.start(t1);
            stall.trackStyling();
        }
        stall.start();
        drainToIdle();
        stall.stop();
        watch.stop();
        s.build.push_back(shown - t0);
        s.show.push_back(t1 - shown);
        s.stallWall.push_back(stall.maxWallNs);
        s.stallCpu.push_back(stall.maxCpuNs);
        s.styledWall.push_back(stall.maxStyledWallNs);
        if (isOurs)
            s.inView.push_back(watch.doneNs > 0 ? watch.doneNs - t1 : nowNs() - t1);
    }
    const QString label = QStringLiteral("build_%1").arg(name);
    const Stats plainStall = summarize(plain.stallWall);
    printStall(label, n, summarize(ours.stallWall), summarize(ours.stallCpu));
    printNote(QStringLiteral("%1 N=%2: a plain Qt form of the same size (no sheet), built and shown alike: longest gap "
                             "%3 ms (max %4; CPU %5 ms); constructors %6 ms, show() %7 ms; ours: constructors %8 ms, "
                             "show() %9 ms")
                  .arg(label)
                  .arg(n)
                  .arg(plainStall.median / 1e6, 0, 'f', 1)
                  .arg(plainStall.max / 1e6, 0, 'f', 1)
                  .arg(summarize(plain.stallCpu).median / 1e6, 0, 'f', 1)
                  .arg(summarize(plain.build).median / 1e6, 0, 'f', 1)
                  .arg(summarize(plain.show).median / 1e6, 0, 'f', 1)
                  .arg(summarize(ours.build).median / 1e6, 0, 'f', 1)
                  .arg(summarize(ours.show).median / 1e6, 0, 'f', 1));
    const Stats styled = summarize(ours.styledWall);
    printNote(QStringLiteral("%1 N=%2: the longest gap in which widgets took their first sheets %3 ms (max %4)")
                  .arg(label)
                  .arg(n)
                  .arg(styled.median / 1e6, 0, 'f', 1)
                  .arg(styled.max / 1e6, 0, 'f', 1));
    const Stats inView = summarize(ours.inView);
    printFigure(QStringLiteral("in_view_%1_%2").arg(label).arg(n), inView.median / 1e6, "ms",
                QStringLiteral("%1 widgets in view; from the show until each has its first sheet; median of %2, max %3")
                    .arg(inViewCount)
                    .arg(inView.samples)
                    .arg(inView.max / 1e6, 0, 'f', 1));
}

//! The N values that the theme-switch benchmarks use; "--quick" on the command line keeps the first only.
inline std::vector<int> switchSizes(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--quick")
            return {100};
    }
    return {100, 1000, 3000};
}

/*!
    Whether the figure named \a label is wanted: every one, unless the command
    line has "--only=TEXT" options, which keep the labels containing one of
    the TEXTs (e.g. "--only=stepper_field_theme_switch_3000 --only=build").
*/
inline bool wanted(int argc, char **argv, const QString &label)
{
    bool filtered = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!arg.startsWith(QLatin1String("--only=")))
            continue;
        filtered = true;
        if (label.contains(arg.mid(7)))
            return true;
    }
    return !filtered;
}

} // namespace bench
