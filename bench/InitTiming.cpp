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

InitTiming measureInit(Kind kind, const InputId &input, int rounds)
{
    // One network for all runs: initialising writes nothing.
    const auto network = freshNetwork();
    InitTiming result;
    result.input = input;
    result.kind = kind;

    FormState filled;
    {
        ControlSetup setup(kind, input, network);
        setup.init();
        filled = captureForm(setup.widget());
        if (auto combo = setup.widget()->findChild<QComboBox *>(QStringLiteral("cboInput")))
            result.interpretation = combo->currentText();
    }

    QVector<double> shownInit, shownFloor, hiddenInit, hiddenFloor, paints, floorPaints, pauses;
    for (int round = 0; round < rounds; ++round) {
        const Run project = projectRun(kind, input, network, true);
        const Run floor = floorRun(filled, true);
        shownInit << project.cpu;
        shownFloor << floor.cpu;
        paints << project.paints;
        pauses << project.pauses;
        floorPaints << floor.paints;
        hiddenInit << projectRun(kind, input, network, false).cpu;
        hiddenFloor << floorRun(filled, false).cpu;
    }
    result.shownInit = median(shownInit);
    result.shownFloor = median(shownFloor);
    result.hiddenInit = median(hiddenInit);
    result.hiddenFloor = median(hiddenFloor);
    result.paints = median(paints);
    result.floorPaints = median(floorPaints);
    result.pauses = median(pauses);
    return result;
}

double printInitTable(const QVector<InitTiming> &timings, int rounds)
{
    QTextStream out(stdout);
    out << "1. ZovezuVavevaInit against the floor\n"
        << "   floor: a bare form with the same kinds of widgets in the same places, built and filled from\n"
        << "   memory with what the control shows after initialising, then shown and painted. init: one\n"
        << "   ZovezuVavevaInit of a control that is on screen, and the paints it leaves. CPU time of the UI\n"
        << "   thread in microseconds, medians of " << rounds << " runs, project and floor interleaved (ratio\n"
        << "   target 2.0). Hidden: the same with neither on screen (the library's own work). Paints: paint\n"
        << "   events of the form and its widgets per run; pauses: the control's pauses for pending events.\n\n";
    int width = 30;
    for (const InitTiming &t : timings)
        width = qMax(width, int(t.input.label().size()) + 2);
    out << QStringLiteral("control   input").leftJustified(width + 10)
        << QStringLiteral("interpretation").leftJustified(17)
        << "  floor    init  ratio |  floor    init  ratio | paints floor pauses\n"
        << QString().leftJustified(width + 27) << "shown                 | hidden                |\n";
    double worst = 0;
    for (const InitTiming &t : timings) {
        worst = qMax(worst, t.shownRatio());
        out << kindName(t.kind).leftJustified(10) << t.input.label().leftJustified(width)
            << t.interpretation.leftJustified(17) << num(t.shownFloor, 7) << num(t.shownInit, 8)
            << num(t.shownRatio(), 7, 2) << " |" << num(t.hiddenFloor, 7) << num(t.hiddenInit, 8)
            << num(t.hiddenRatio(), 7, 2) << " |" << num(t.paints, 7) << num(t.floorPaints, 6) << num(t.pauses, 7)
            << "\n";
    }
    out << "\n   largest ratio with the control shown: " << QString::number(worst, 'f', 2) << " (target 2.0)\n\n";
    out.flush();
    return worst;
}

} // namespace Bench
