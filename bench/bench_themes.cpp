// Figures across the widget classes:
// - a theme switch over a mix of every themed class, and over OrbAction alone
//   (the classes with a benchmark of their own are measured there), at
//   N = 100, 1000, 3000, against the raw-Qt floors;
// - the kit's own share of a switch (render + compose + memo), per class;
// - construction time and heap bytes per widget against the raw Qt base
//   with the same children;
// - memo builds per key over 1000 widgets (must be 1);
// - what skipping an unchanged re-polish saves when the same theme is set again.
//
//   bench_themes [--quick] [--only=TEXT...]
//       N = 100 only with --quick; --only keeps the sections whose label contains
//       TEXT: mix_<N>, orb_action_theme_switch_<N>, share, construct_heap, memo,
//       same_theme_again_<N>

#include "harness.h"

#include <tessera/kit/options.h>
#include <tessera/kit/qss.h>
#include <tessera/kit/restyle.h>
#include <tessera/kit/restyle_p.h>
#include <tessera/kit/state.h>
#include <tessera/kit/theme.h>
#include <tessera/material/button/busy_trigger_p.h>
#include <tessera/material/button/orb_action.h>
#include <tessera/material/button/popup_trigger.h>
#include <tessera/material/textfield/calendar_field_p.h>
#include <tessera/material/textfield/chip_stack.h>
#include <tessera/material/textfield/field_shell.h>
#include <tessera/material/textfield/knob_field_p.h>
#include <tessera/material/textfield/stepper_field_p.h>

#include <QApplication>
#include <QDateEdit>
#include <QDial>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QVBoxLayout>

#include <malloc.h>

using namespace tessera;

namespace {

const QString MoreIcon = QStringLiteral(":/round/resource_tessera/round/more_vert.svg");

// Each class with its build step reachable, so that the kit's part of a
// restyle can be timed apart from Qt's setStyleSheet().
class Shell : public FieldShell
{
public:
    explicit Shell(Options o) : FieldShell(std::move(o)) { _init_ui(); }
    void build() { _set_stylesheet(); }

protected:
    void slot_set_stylesheet() override {}
};

class Busy : public BusyTrigger
{
public:
    using BusyTrigger::BusyTrigger;
    static const LruMemo<QString> &_stylesheetMemo() { return BusyTriggerPrivate::_stylesheetMemo(); }
    void build() { _set_stylesheet(); }
};

template<typename Editor>
class Ed : public Editor
{
public:
    explicit Ed(EditorFieldOptions o = {}) : Editor(std::move(o)) {}
    static const LruMemo<QString> &memo()
    {
        if constexpr (std::is_same_v<Editor, KnobField>)
            return KnobFieldPrivate::_styleMemo();
        else if constexpr (std::is_same_v<Editor, StepperField>)
            return StepperFieldPrivate::_styleMemo();
        else
            return CalendarFieldPrivate::_styleMemo();
    }
    void build() { this->_set_stylesheet(); }
};

class Orb : public OrbAction
{
public:
    using OrbAction::OrbAction;
    void build() { _set_stylesheet(); }
};

struct ThemedClass
{
    QString name;
    std::function<QWidget *(int)> make;
    std::function<void(QWidget *)> build;
};

template<typename T>
std::function<void(QWidget *)> builder()
{
    return [](QWidget *w) { static_cast<T *>(w)->build(); };
}

std::vector<ThemedClass> themedClasses()
{
    static const char *const sizes[] = {"small", "medium", "large"};
    return {
        {"FieldShell",
         [](int i) -> QWidget * {
             return new Shell({.label = "Name", .children = QList<QWidget *>{new QLineEdit},
                               .size = QString::fromLatin1(sizes[i % 3])});
         },
         builder<Shell>()},
        {"BusyTrigger",
         [](int i) -> QWidget * {
             return new Busy({.loadingIndicator = QVariant(QStringLiteral("Saving")),
                              .color = i % 2 ? QStringLiteral("secondary") : QStringLiteral("primary")});
         },
         builder<Busy>()},
        {"KnobField", [](int) -> QWidget * { return new Ed<KnobField>; }, builder<Ed<KnobField>>()},
        {"StepperField", [](int) -> QWidget * { return new Ed<StepperField>; }, builder<Ed<StepperField>>()},
        {"CalendarField", [](int) -> QWidget * { return new Ed<CalendarField>; }, builder<Ed<CalendarField>>()},
        {"OrbAction", [](int) -> QWidget * { return new Orb({.icon = MoreIcon}); }, builder<Orb>()},
    };
}

// ---- the kit's share of a switch ------------------------------------------

// Times, on the same N settled widgets, one build step each with the theme
// already in force. Every themed class skips Qt's re-polish when its sheet
// and the properties it selects on are unchanged, so what is timed is the
// kit's own work alone: render, compose, memo, and the check that skips.
// Qt's style changes are counted to make sure nothing was applied.
double kitShareOfSwitch(const ThemedClass &cls, int n, double switchNs)
{
    auto *host = new QWidget;
    host->resize(1280, 800);
    std::vector<QWidget *> widgets;
    for (int i = 0; i < n; ++i) {
        QWidget *w = cls.make(i);
        w->setParent(host);
        w->setGeometry((i % 8) * 160, (i / 8) * 48, 156, 44);
        widgets.push_back(w);
    }
    host->show();
    bench::drainToIdle();

    struct StyleChanges : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            count += e->type() == QEvent::StyleChange;
            return false;
        }
    } changes;
    qApp->installEventFilter(&changes);
    std::vector<double> builds;
    for (int rep = 0; rep < 7; ++rep) {
        const double t0 = bench::nowNs();
        for (QWidget *w : widgets)
            cls.build(w);
        builds.push_back(bench::nowNs() - t0);
        bench::drainToIdle();
    }
    qApp->removeEventFilter(&changes);
    delete host;
    bench::drainToIdle();
    const double kit = bench::summarize(builds).median;
    bench::printFigure(QStringLiteral("kit_share_%1_%2").arg(cls.name).arg(n), 100.0 * kit / switchNs, "%",
                       QStringLiteral("goal <= 5 %; kit %1 ns per widget of a %2 ms switch%3")
                           .arg(kit / n, 0, 'f', 0)
                           .arg(switchNs / 1e6, 0, 'f', 2)
                           .arg(changes.count ? QStringLiteral("; NOT KIT ALONE: %1 style changes").arg(changes.count)
                                              : QString()));
    return kit;
}

// ---- construction and heap -------------------------------------------------

struct Construction
{
    QString name;
    std::function<QWidget *()> ours;
    QString rawName;
    std::function<QWidget *()> raw;
};

std::vector<Construction> constructions(State *content)
{
    return {
        {"FieldShell", [] { return new Shell({.children = QList<QWidget *>{new QLineEdit}}); }, "QGroupBox+QLineEdit",
         [] {
             auto *box = new QGroupBox;
             box->setObjectName(newObjectName());
             auto *row = new QHBoxLayout(box);
             row->setContentsMargins(0, 0, 0, 0);
             row->addWidget(new QLineEdit);
             return static_cast<QWidget *>(box);
         }},
        {"BusyTrigger", [] { return new Busy({.loadingIndicator = QVariant(QStringLiteral("Saving"))}); },
         "QFrame+QWidget+QLabel",
         [] {
             auto *frame = new QFrame;
             frame->setObjectName(newObjectName());
             auto *row = new QHBoxLayout(frame);
             row->addWidget(new QWidget);
             row->addWidget(new QLabel(QStringLiteral("Saving")));
             return static_cast<QWidget *>(frame);
         }},
        {"KnobField", [] { return new Ed<KnobField>; }, "QDial", [] { return static_cast<QWidget *>(new QDial); }},
        {"StepperField", [] { return new Ed<StepperField>; }, "QSpinBox", [] { return static_cast<QWidget *>(new QSpinBox); }},
        {"CalendarField", [] { return new Ed<CalendarField>; }, "QDateEdit", [] { return static_cast<QWidget *>(new QDateEdit); }},
        {"ChipStack", [content] { return new ChipStack({.content = content}); }, "QFrame+QVBoxLayout",
         [] {
             auto *frame = new QFrame;
             auto *column = new QVBoxLayout(frame);
             column->setAlignment(Qt::AlignTop);
             return static_cast<QWidget *>(frame);
         }},
        {"PopupTrigger", [] { return new PopupTrigger({.icon = MoreIcon}); }, "QPushButton+icon",
         [] {
             auto *button = new QPushButton;
             button->setIcon(QIcon(MoreIcon));
             return static_cast<QWidget *>(button);
         }},
        {"OrbAction", [] { return new Orb({.icon = MoreIcon}); }, "QPushButton+icon",
         [] {
             auto *button = new QPushButton;
             button->setIcon(QIcon(MoreIcon));
             return static_cast<QWidget *>(button);
         }},
    };
}

struct BuildCost
{
    double constructNs = 0;   // per widget, the constructor alone
    double settleNs = 0;      // per widget, constructor and event loop until idle (first styling pass)
    double heapBytes = 0;     // per widget, once settled
};

// With a \a host, each widget is put into it and shown as it is made, as a
// program adds widgets to a form on screen: Qt polishes it at once, before
// its first style pass. Without, the widgets are left to the event loop.
// Qt's pixmap cache is emptied before each reading: it is one cache for the
// whole program (10 MB at most) where the style keeps what it painted, full
// or not depending on what ran before, so it is no part of a widget's heap
// (a shown KnobField read 4 KB over its raw base only because the raw base
// was measured after it, when the cache was full; both paint the same).
BuildCost measureBuild(const std::function<QWidget *()> &make, int n, QWidget *host = nullptr)
{
    std::vector<double> construct, settle, heap;
    for (int rep = 0; rep < 5; ++rep) {
        bench::drainToIdle();
        QPixmapCache::clear();
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        std::vector<QWidget *> widgets;
        widgets.reserve(std::size_t(n));
        const double t0 = bench::nowNs();
        for (int i = 0; i < n; ++i) {
            widgets.push_back(make());
            if (host) {
                widgets.back()->setParent(host);
                widgets.back()->setGeometry((i % 8) * 160, (i / 8) * 48, 150, 40);
                widgets.back()->show();
            }
        }
        const double t1 = bench::nowNs();
        bench::drainToIdle();
        const double t2 = bench::nowNs();
        QPixmapCache::clear();
        const std::size_t after = mallinfo2().uordblks;
        construct.push_back((t1 - t0) / n);
        settle.push_back((t2 - t0) / n);
        heap.push_back(double(after - before) / n);
        for (QWidget *w : widgets)
            delete w;
        bench::drainToIdle();
    }
    return {bench::summarize(construct).median, bench::summarize(settle).median, bench::summarize(heap).median};
}

// ---- memo builds per key ---------------------------------------------------

template<typename Make, typename Memo>
void memoBuildsPerKey(const QString &name, Make make, Memo memo)
{
    // A theme nobody has styled with yet: every key this run uses is new.
    tessera::setTheme(tessera::registerTheme(QStringLiteral("bench-memo-") + name, tessera::themeData(QStringLiteral("light"))));
    bench::drainToIdle();
    const int buildsBefore = memo().builds();
    const int keysBefore = memo().size();
    std::vector<QWidget *> widgets;
    for (int i = 0; i < 1000; ++i)
        widgets.push_back(make());
    bench::drainToIdle();
    const int builds = memo().builds() - buildsBefore;
    const int keys = std::max(1, memo().size() - keysBefore);
    bench::printFigure(QStringLiteral("memo_builds_per_key_%1").arg(name), double(builds) / keys, "builds",
                       QStringLiteral("must be 1; %1 builds for %2 new key(s) over 1000 widgets").arg(builds).arg(keys));
    for (QWidget *w : widgets)
        delete w;
    tessera::setTheme(QStringLiteral("light"));
    bench::drainToIdle();
}

// ---- skipping an unchanged re-polish --------------------------------------

// A themed frame whose sheet follows the theme's KnobField root, applied
// either with setStyleSheet() or through the lifecycle's _applyStyleSheet().
class Swatch : public QFrame, public RestyleLifecycle
{
public:
    explicit Swatch(bool skipUnchanged) : RestyleLifecycle(this), m_skip(skipUnchanged)
    {
        setObjectName(newObjectName());
        auto *row = new QHBoxLayout(this);
        row->addWidget(new QLabel(QStringLiteral("label")));
        row->addWidget(new QLineEdit);
        theme = useTheme();
        _subscribeToTheme();
    }

protected:
    void _set_stylesheet(const StyleMap &) override
    {
        const StyleMap &root = useTheme()->components().mapAt(u"KnobField").mapAt(u"styles").mapAt(u"root");
        const QString sheet = QStringLiteral("#%1 { %2 }\n#%1[focused=true] { border: 1px solid red; }")
                                  .arg(objectName(), get_qss_style(root));
        if (m_skip)
            _applyStyleSheet(sheet);
        else
            setStyleSheet(sheet);
    }

private:
    bool m_skip;
};

double sameThemeAgain(bool skip, int n)
{
    auto *host = new QWidget;
    host->resize(1280, 800);
    for (int i = 0; i < n; ++i) {
        auto *w = new Swatch(skip);
        w->setParent(host);
        w->setGeometry((i % 8) * 160, (i / 8) * 48, 156, 44);
    }
    host->show();
    bench::drainToIdle();
    std::vector<double> times;
    for (int rep = 0; rep < 7; ++rep) {
        const double t0 = bench::nowNs();
        tessera::setTheme(QStringLiteral("light"));
        bench::drainToIdle();
        times.push_back(bench::nowNs() - t0);
    }
    delete host;
    bench::drainToIdle();
    return bench::summarize(times).median;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tessera::setTheme(QStringLiteral("light"));
    const std::vector<int> sizes = bench::switchSizes(argc, argv);
    bool ok = true;

    // A mix of every themed class, and OrbAction alone.
    const std::vector<ThemedClass> classes = themedClasses();
    for (int n : sizes) {
        if (!bench::wanted(argc, argv, QStringLiteral("mix_%1").arg(n)))
            continue;
        const bench::SwitchFigures mix = bench::measureThemeSwitch(QStringLiteral("mix"), n, [&classes](int i) {
            return classes[std::size_t(i) % classes.size()].make(i / int(classes.size()));
        });
        ok = ok && mix.ok;
    }
    for (int n : sizes) {
        if (!bench::wanted(argc, argv, QStringLiteral("orb_action_theme_switch_%1").arg(n)))
            continue;
        const bench::SwitchFigures orb = bench::measureThemeSwitch(QStringLiteral("orb_action_theme_switch"), n, classes.back().make);
        ok = ok && orb.ok;
    }

    // The kit's share, per class, of a switch over 1000 of its widgets.
    const int shareN = sizes.size() > 1 ? 1000 : 100;
    for (const ThemedClass &cls : classes) {
        if (!bench::wanted(argc, argv, QStringLiteral("share")))
            break;
        bench::SwitchOptions quiet;
        quiet.repetitions = 5;
        const bench::SwitchFigures f = bench::measureThemeSwitch(cls.name + QStringLiteral("_for_share"), shareN, cls.make, quiet);
        ok = ok && f.ok;
        kitShareOfSwitch(cls, shareN, f.ours.median);
    }

    // Construction and heap, against the raw base with the same children.
    State content;
    for (const Construction &c : constructions(&content)) {
        if (!bench::wanted(argc, argv, QStringLiteral("construct_heap")))
            break;
        // The raw base given the very sheet our widget ends up with (its own name put in).
        QWidget *sample = c.ours();
        bench::drainToIdle();
        const QString sheet = sample->styleSheet();
        const QString sampleName = sample->objectName();
        // The properties the sheet selects on ("#name[variant=outlined]"), as
        // the sample holds them (a declared property of our class, such as the
        // editor fields' "variant", or a dynamic one): the raw base gets each
        // as a dynamic property. Without them it would match none of its rules.
        // Qt's own bookkeeping properties ("_q_...") are not copied.
        QList<QPair<QByteArray, QVariant>> properties;
        {
            static const QRegularExpression attribute(QStringLiteral("\\[\\s*([A-Za-z_][A-Za-z0-9_-]*)"));
            QSet<QByteArray> names;
            for (auto it = attribute.globalMatch(sheet); it.hasNext();)
                names.insert(it.next().captured(1).toLatin1());
            for (const QByteArray &name : std::as_const(names)) {
                if (!name.startsWith("_q_") && sample->property(name).isValid())
                    properties.append({name, sample->property(name)});
            }
        }
        // Sheets of inner widgets (a BusyTrigger's text label): the raw base's
        // inner widget of the same class, in the same order, gets the same sheet.
        struct Inner
        {
            QByteArray className;
            int index;
            QString sheet;
        };
        // Our inner widgets are matched by the Qt class they are (a Typography
        // is the raw base's QLabel).
        const auto qtClass = [](const QWidget *w) {
            const QMetaObject *meta = w->metaObject();
            while (QByteArrayView(meta->className()).startsWith("tessera::"))
                meta = meta->superClass();
            return QByteArray(meta->className());
        };
        QList<Inner> inner;
        {
            QHash<QByteArray, int> seen;
            for (const QWidget *child : sample->findChildren<QWidget *>()) {
                const QByteArray cls = qtClass(child);
                const int index = seen[cls]++;
                if (!child->styleSheet().isEmpty())
                    inner.append({cls, index, child->styleSheet()});
            }
        }
        delete sample;
        bench::drainToIdle();
        const auto rawStyled = [&c, sheet, sampleName, properties, inner, qtClass]() -> QWidget * {
            QWidget *w = c.raw();
            for (const auto &[property, value] : properties)
                w->setProperty(property, value);
            if (!inner.isEmpty()) {
                QHash<QByteArray, int> seen;
                for (QWidget *child : w->findChildren<QWidget *>()) {
                    const QByteArray cls = qtClass(child);
                    const int index = seen[cls]++;
                    for (const Inner &in : inner) {
                        if (in.className == cls && in.index == index)
                            child->setStyleSheet(in.sheet);
                    }
                }
            }
            if (!sheet.isEmpty()) {
                const QString name = newObjectName();
                w->setObjectName(name);
                QString own = sheet;
                w->setStyleSheet(sampleName.isEmpty() ? own : own.replace(sampleName, name));
            }
            return w;
        };

        const BuildCost ours = measureBuild(c.ours, 1000);
        const BuildCost raw = measureBuild(c.raw, 1000);
        const BuildCost styled = measureBuild(rawStyled, 1000);
        bench::printFigure(QStringLiteral("construct_%1").arg(c.name), ours.constructNs, "ns",
                           QStringLiteral("constructor alone; %1: %2 ns; ratio %3")
                               .arg(c.rawName)
                               .arg(raw.constructNs, 0, 'f', 0)
                               .arg(ours.constructNs / raw.constructNs, 0, 'f', 2));
        bench::printFigure(QStringLiteral("construct_and_settle_%1").arg(c.name), ours.settleNs, "ns",
                           QStringLiteral("until idle, first style sheet applied; %1 with the same sheet: %2 ns; ratio %3")
                               .arg(c.rawName)
                               .arg(styled.settleNs, 0, 'f', 0)
                               .arg(ours.settleNs / styled.settleNs, 0, 'f', 2));
        bench::printFigure(QStringLiteral("heap_bytes_%1").arg(c.name), ours.heapBytes, "bytes",
                           QStringLiteral("%1 with the same sheet: %2 bytes, ratio %3; without a sheet: %4 bytes")
                               .arg(c.rawName)
                               .arg(styled.heapBytes, 0, 'f', 0)
                               .arg(ours.heapBytes / styled.heapBytes, 0, 'f', 2)
                               .arg(raw.heapBytes, 0, 'f', 0));
        // The same, each widget shown in a shown host as it is made.
        QWidget host;
        host.resize(1280, 800);
        host.show();
        bench::drainToIdle();
        const BuildCost oursShown = measureBuild(c.ours, 1000, &host);
        const BuildCost styledShown = measureBuild(rawStyled, 1000, &host);
        bench::printFigure(QStringLiteral("heap_bytes_shown_%1").arg(c.name), oursShown.heapBytes, "bytes",
                           QStringLiteral("each shown in a shown host as it is made; %1 with the same sheet: %2 bytes, ratio %3")
                               .arg(c.rawName)
                               .arg(styledShown.heapBytes, 0, 'f', 0)
                               .arg(oursShown.heapBytes / styledShown.heapBytes, 0, 'f', 2));
    }

    // Memo builds per key.
    if (bench::wanted(argc, argv, QStringLiteral("memo"))) {
        memoBuildsPerKey(QStringLiteral("BusyTrigger"), [] { return new Busy; }, []() -> const LruMemo<QString> & { return Busy::_stylesheetMemo(); });
        memoBuildsPerKey(QStringLiteral("KnobField"), [] { return new Ed<KnobField>; }, []() -> const LruMemo<QString> & { return Ed<KnobField>::memo(); });
        memoBuildsPerKey(QStringLiteral("StepperField"), [] { return new Ed<StepperField>; }, []() -> const LruMemo<QString> & { return Ed<StepperField>::memo(); });
        memoBuildsPerKey(QStringLiteral("CalendarField"), [] { return new Ed<CalendarField>; }, []() -> const LruMemo<QString> & { return Ed<CalendarField>::memo(); });
    }

    // The same theme set again: re-polishing an unchanged sheet, or skipping it.
    for (int n : sizes) {
        if (!bench::wanted(argc, argv, QStringLiteral("same_theme_again_%1").arg(n)))
            continue;
        const double plain = sameThemeAgain(false, n);
        const double skipping = sameThemeAgain(true, n);
        bench::printFigure(QStringLiteral("same_theme_again_skip_over_plain_%1").arg(n), skipping / plain, "x",
                           QStringLiteral("plain %1 ms, skipping %2 ms").arg(plain / 1e6, 0, 'f', 2).arg(skipping / 1e6, 0, 'f', 2));
    }
    return ok ? 0 : 1;
}
