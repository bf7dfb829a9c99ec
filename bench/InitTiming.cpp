// SPDX-License-Identifier: MIT
// Initialisation against the like-for-like floor.
#include "InitTiming.h"

#include "Floor.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QTextStream>
#include <QWidget>

namespace Bench {

namespace {

// Counts the paint events of a form and all its widgets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *form)
    {
        form->installEventFilter(this);
        for (QWidget *child : form->findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// Counts the control's pauses for pending events while it lives.
class PauseCounter
{
public:
    PauseCounter()
    {
        MKorvane::setEventProcessor([this] {
            ++count;
            QCoreApplication::processEvents();
        });
    }
    ~PauseCounter() { MKorvane::setEventProcessor({}); }
    int count = 0;
};

struct Run
{
    double cpu = 0;
    int paints = 0;
    int pauses = 0;
};

// One initialisation of a control that exists already and, when `shown`, is on screen and
// painted, with the paints it leaves.
Run projectRun(Kind kind, const InputId &input, const std::shared_ptr<Sim::Network> &network, bool shown)
{
    ControlSetup setup(kind, input, network);
    if (shown)
        setup.widget()->show();
    // What building the control posted is not the initialisation's.
    flushScreen();
    PaintCounter paints(setup.widget());
    PauseCounter pauses;
    const double start = threadCpuMicroseconds();
    setup.init();
    flushScreen();
    return { threadCpuMicroseconds() - start, paints.count, pauses.count };
}

// The like-for-like floor: the bare form, built beforehand in the state the control has
// before its initialisation and, when `shown`, on screen and painted, is filled from
// memory with what the control shows after it, and painted. The initialisation never
// builds widgets, so neither does the measured part of the floor.
Run floorRun(const FormState &blank, const FormState &filled, bool shown)
{
    FloorForm floor(blank);
    if (shown)
        floor.widget()->show();
    flushScreen();
    PaintCounter paints(floor.widget());
    const double start = threadCpuMicroseconds();
    floor.fill(filled);
    flushScreen();
    return { threadCpuMicroseconds() - start, paints.count, 0 };
}

QString num(double value, int width, int precision = 0)
{
    return QString::number(value, 'f', precision).rightJustified(width);
}

// min, median and max of a ratio, then whether the median meets `limit`.
QString ratioColumns(const Spread &ratio, bool met)
{
    return num(ratio.min, 6, 2) + num(ratio.median, 7, 2) + num(ratio.max, 6, 2) + QLatin1String("  ")
        + metText(met).leftJustified(6);
}

} // namespace

QVector<InitTiming> measureInits(const QVector<std::pair<Kind, InputId>> &controls, int rounds)
{
    // One network for all runs: initialising writes nothing. The host does not log device
    // calls unless asked; a log that grows all run would weigh on the timed initialisations
    // (vqbench --call-log reads the calls from a network of its own).
    const auto network = freshNetwork();
    network->setLogging(false);
    struct Samples
    {
        FormState blank, filled;
        QVector<double> shownInit, shownFloor, shownRatio, hiddenInit, hiddenFloor, hiddenRatio, paints, floorPaints,
            pauses;
    };
    QVector<InitTiming> results(controls.size());
    QVector<Samples> samples(controls.size());
    for (int i = 0; i < controls.size(); ++i) {
        results[i].kind = controls[i].first;
        results[i].input = controls[i].second;
        ControlSetup setup(controls[i].first, controls[i].second, network);
        samples[i].blank = captureForm(setup.widget());
        setup.init();
        samples[i].filled = captureForm(setup.widget());
        results[i].comparable = sameWidgets(samples[i].blank, samples[i].filled);
        if (!results[i].comparable)
            samples[i].blank = samples[i].filled; // the floor then only shows the same screen again
        if (auto combo = setup.widget()->findChild<QComboBox *>(QStringLiteral("cboInput")))
            results[i].interpretation = combo->currentText();
    }

    // Round robin over the controls, each project run next to its floor run, so that a
    // busy moment of the machine weighs on both sides of a ratio alike.
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < controls.size(); ++i) {
            Samples &s = samples[i];
            const Run project = projectRun(controls[i].first, controls[i].second, network, true);
            const Run floor = floorRun(s.blank, s.filled, true);
            s.shownInit << project.cpu;
            s.shownFloor << floor.cpu;
            s.shownRatio << project.cpu / floor.cpu;
            s.paints << project.paints;
            s.pauses << project.pauses;
            s.floorPaints << floor.paints;
            const Run hiddenProject = projectRun(controls[i].first, controls[i].second, network, false);
            const Run hiddenFloor = floorRun(s.blank, s.filled, false);
            s.hiddenInit << hiddenProject.cpu;
            s.hiddenFloor << hiddenFloor.cpu;
            s.hiddenRatio << hiddenProject.cpu / hiddenFloor.cpu;
        }
    }
    for (int i = 0; i < controls.size(); ++i) {
        const Samples &s = samples[i];
        InitTiming &r = results[i];
        r.shownInit = spread(s.shownInit);
        r.shownFloor = spread(s.shownFloor);
        r.shownRatio = spread(s.shownRatio);
        r.hiddenInit = spread(s.hiddenInit);
        r.hiddenFloor = spread(s.hiddenFloor);
        r.hiddenRatio = spread(s.hiddenRatio);
        r.paints = spread(s.paints);
        r.floorPaints = spread(s.floorPaints);
        r.pauses = spread(s.pauses);
    }
    return results;
}

void printInitTable(const QVector<InitTiming> &timings, int rounds)
{
    QTextStream out(stdout);
    out << "1. ZovezuVavevaInit against the like-for-like floor\n"
        << "   init: one ZovezuVavevaInit of a control already built and, for \"shown\", on screen and\n"
        << "   painted, and the paints it leaves. floor: a bare form with the same widgets in the same\n"
        << "   places, built beforehand as the control is before its initialisation (and shown and\n"
        << "   painted alike), filled from memory with what the control shows after it, and painted.\n"
        << "   CPU time of the UI thread in microseconds (medians), " << rounds << " rounds, project and floor\n"
        << "   interleaved, round robin over the controls; ratio: of runs side by side, smallest, median and\n"
        << "   largest. Targets, met when the median meets them: shown init <= " << shownInitTarget
        << " x floor, hidden\n"
        << "   init <= " << hiddenInitTarget << " x floor, paints per shown init <= the floor's + " << extraPaintsTarget
        << ". Paints: paint events of the form\n"
        << "   and its widgets per run, median (smallest-largest); pauses: the control's pauses for pending\n"
        << "   events per shown init (median).\n\n";
    int width = 30;
    for (const InitTiming &t : timings)
        width = qMax(width, int(t.input.label().size()) + 2);
    const QString lead = QString().leftJustified(width + 27);
    out << lead << "| shown: CPU us, ratio to the floor           | hidden: CPU us, ratio to the floor          "
        << "| paints per shown init          |\n"
        << QStringLiteral("control   input").leftJustified(width + 10)
        << QStringLiteral("interpretation").leftJustified(17)
        << "|  floor    init   min median   max  <= " << QString::number(shownInitTarget, 'f', 1)
        << "  |  floor    init   min median   max  <= " << QString::number(hiddenInitTarget, 'f', 1)
        << "  |  init   range  floor  <= floor+" << extraPaintsTarget << " | pauses\n";
    int incomparable = 0;
    for (const InitTiming &t : timings) {
        const QString name = kindName(t.kind) + QLatin1Char(' ') + t.input.label();
        const bool shownMet = noteTarget(name + QStringLiteral(": shown init / floor"), t.shownRatio, shownInitTarget,
            QStringLiteral("<= %1").arg(shownInitTarget, 0, 'f', 2));
        const bool hiddenMet = noteTarget(name + QStringLiteral(": hidden init / floor"), t.hiddenRatio,
            hiddenInitTarget, QStringLiteral("<= %1").arg(hiddenInitTarget, 0, 'f', 2));
        // The paints against the floor's median plus two, as a spread of the control's own paints.
        const bool paintsMet = noteTarget(name + QStringLiteral(": paints per shown init"), t.paints,
            t.floorPaints.median + extraPaintsTarget,
            QStringLiteral("<= %1 (floor + %2)").arg(t.floorPaints.median + extraPaintsTarget).arg(extraPaintsTarget));
        incomparable += t.comparable ? 0 : 1;
        out << kindName(t.kind).leftJustified(10) << t.input.label().leftJustified(width)
            << (t.interpretation + (t.comparable ? QString() : QStringLiteral(" *"))).leftJustified(17) << "|"
            << num(t.shownFloor.median, 7) << num(t.shownInit.median, 8) << ratioColumns(t.shownRatio, shownMet)
            << "  |" << num(t.hiddenFloor.median, 7) << num(t.hiddenInit.median, 8)
            << ratioColumns(t.hiddenRatio, hiddenMet) << "  |" << num(t.paints.median, 6)
            << QStringLiteral("%1-%2").arg(t.paints.min).arg(t.paints.max).rightJustified(8)
            << num(t.floorPaints.median, 7) << "  " << metText(paintsMet).leftJustified(11) << " |"
            << num(t.pauses.median, 7) << "\n";
    }
    if (incomparable)
        out << "\n   * the control has other widgets after its initialisation than before; its floor starts from\n"
            << "     the screen after it (" << incomparable << " controls)\n";
    out << "\n";
    out.flush();
}

} // namespace Bench
