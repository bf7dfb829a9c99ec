// SPDX-License-Identifier: MIT
// Initialisation against the floor.
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

Run projectRun(Kind kind, const InputId &input, const std::shared_ptr<Sim::Network> &network, bool shown)
{
    ControlSetup setup(kind, input, network);
    if (shown) {
        setup.widget()->show();
        flushScreen();
    }
    PaintCounter paints(setup.widget());
    PauseCounter pauses;
    const double start = threadCpuMicroseconds();
    setup.init();
    flushScreen();
    return { threadCpuMicroseconds() - start, paints.count, pauses.count };
}

// The floor from nothing: the bare form is built, filled from memory and, when shown,
// put on screen and painted. That is what Qt alone costs to show the same screen.
Run floorRun(const FormState &filled, bool shown)
{
    const double start = threadCpuMicroseconds();
    FloorForm floor(filled);
    PaintCounter paints(floor.widget());
    if (shown)
        floor.widget()->show();
    flushScreen();
    return { threadCpuMicroseconds() - start, paints.count, 0 };
}

QString num(double value, int width, int precision = 0)
{
    return QString::number(value, 'f', precision).rightJustified(width);
}

} // namespace

QVector<InitTiming> measureInits(const QVector<std::pair<Kind, InputId>> &controls, int rounds)
{
    // One network for all runs: initialising writes nothing.
    const auto network = freshNetwork();
    struct Samples
    {
        FormState filled;
        QVector<double> shownInit, shownFloor, shownRatio, hiddenInit, hiddenFloor, hiddenRatio, paints, floorPaints,
            pauses;
    };
    QVector<InitTiming> results(controls.size());
    QVector<Samples> samples(controls.size());
    for (int i = 0; i < controls.size(); ++i) {
        results[i].kind = controls[i].first;
        results[i].input = controls[i].second;
        ControlSetup setup(controls[i].first, controls[i].second, network);
        setup.init();
        samples[i].filled = captureForm(setup.widget());
        if (auto combo = setup.widget()->findChild<QComboBox *>(QStringLiteral("cboInput")))
            results[i].interpretation = combo->currentText();
    }

    // Round robin over the controls, each project run next to its floor run, so that a
    // busy moment of the machine weighs on both sides of a ratio alike.
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < controls.size(); ++i) {
            Samples &s = samples[i];
            const Run project = projectRun(controls[i].first, controls[i].second, network, true);
            const Run floor = floorRun(s.filled, true);
            s.shownInit << project.cpu;
            s.shownFloor << floor.cpu;
            s.shownRatio << project.cpu / floor.cpu;
            s.paints << project.paints;
            s.pauses << project.pauses;
            s.floorPaints << floor.paints;
            const Run hiddenProject = projectRun(controls[i].first, controls[i].second, network, false);
            const Run hiddenFloor = floorRun(s.filled, false);
            s.hiddenInit << hiddenProject.cpu;
            s.hiddenFloor << hiddenFloor.cpu;
            s.hiddenRatio << hiddenProject.cpu / hiddenFloor.cpu;
        }
    }
    for (int i = 0; i < controls.size(); ++i) {
        const Samples &s = samples[i];
        InitTiming &r = results[i];
        r.shownInit = median(s.shownInit);
        r.shownFloor = median(s.shownFloor);
        r.shownRatio = median(s.shownRatio);
        r.hiddenInit = median(s.hiddenInit);
        r.hiddenFloor = median(s.hiddenFloor);
        r.hiddenRatio = median(s.hiddenRatio);
        r.paints = median(s.paints);
        r.floorPaints = median(s.floorPaints);
        r.pauses = median(s.pauses);
    }
    return results;
}

double printInitTable(const QVector<InitTiming> &timings, int rounds)
{
    QTextStream out(stdout);
    out << "1. ZovezuVavevaInit against the floor\n"
        << "   floor: a bare form with the same kinds of widgets in the same places, built and filled from\n"
        << "   memory with what the control shows after initialising, then shown and painted. init: one\n"
        << "   ZovezuVavevaInit of a control that is on screen, and the paints it leaves. CPU time of the UI\n"
        << "   thread in microseconds, medians of " << rounds << " runs, project and floor interleaved; ratio:\n"
        << "   the median of the ratios of runs side by side (target 2.0). Hidden: the same with neither\n"
        << "   on screen (the library's own work). Paints: paint events of the form and its widgets per run;\n"
        << "   pauses: the control's pauses for pending events.\n\n";
    int width = 30;
    for (const InitTiming &t : timings)
        width = qMax(width, int(t.input.label().size()) + 2);
    out << QStringLiteral("control   input").leftJustified(width + 10)
        << QStringLiteral("interpretation").leftJustified(17)
        << "  floor    init  ratio |  floor    init  ratio | paints floor pauses\n"
        << QString().leftJustified(width + 27) << "shown                 | hidden                |\n";
    double worst = 0;
    for (const InitTiming &t : timings) {
        worst = qMax(worst, t.shownRatio);
        out << kindName(t.kind).leftJustified(10) << t.input.label().leftJustified(width)
            << t.interpretation.leftJustified(17) << num(t.shownFloor, 7) << num(t.shownInit, 8)
            << num(t.shownRatio, 7, 2) << " |" << num(t.hiddenFloor, 7) << num(t.hiddenInit, 8)
            << num(t.hiddenRatio, 7, 2) << " |" << num(t.paints, 7) << num(t.floorPaints, 6) << num(t.pauses, 7)
            << "\n";
    }
    out << "\n   largest ratio with the control shown: " << QString::number(worst, 'f', 2) << " (target 2.0)\n\n";
    out.flush();
    return worst;
}

} // namespace Bench
