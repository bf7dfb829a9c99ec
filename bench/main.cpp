// SPDX-License-Identifier: MIT
// `make bench`: the controls against their floor, their device calls, and the room for
// the simulated network at scale. Reports only; nothing is asserted.
// Usage: vqbench [rounds] (default 25 interleaved runs per input and control), or
// vqbench --call-log: every device call of the measured operations, in order, or
// vqbench --scale [rounds [devices...]]: only the scale table.
#include "BenchSetup.h"
#include "DeviceCalls.h"
#include "InitTiming.h"
#include "ScaleTiming.h"

#include <QApplication>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

namespace {

void printMachine(int rounds)
{
    QTextStream out(stdout);
    out << "VqZovezuVaveva benchmarks: " << QSysInfo::prettyProductName() << ", " << QSysInfo::currentCpuArchitecture()
        << ", " << QThread::idealThreadCount() << " logical cores, Qt " << qVersion() << ", platform "
        << QGuiApplication::platformName() << ", " << rounds << " rounds\n\n";
}

void printScaleSection(int rounds, const QVector<int> &deviceCounts = { 100, 1000, 5000 })
{
    QTextStream out(stdout);
    out << "3. The simulated network at scale (100, 1,000 and 5,000 devices)\n"
        << "   Networks come from bench/NetworkGenerator (also the tool vq_make_network <devices> <file>).\n";
    out.flush();
    Bench::printScaleTable(Bench::measureScale(deviceCounts, rounds), rounds);
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareHeadless();
    QApplication app(argc, argv);
    const QVector<Bench::InputId> inputs = Bench::sampleInputs();
    const auto countAll = [&] {
        QVector<Bench::InputCalls> calls;
        for (Bench::Kind kind : { Bench::Kind::Hardware, Bench::Kind::Network }) {
            for (const Bench::InputId &input : inputs)
                calls << Bench::countCalls(kind, input);
        }
        return calls;
    };
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--scale")) {
        QVector<int> deviceCounts;
        for (int i = 3; i < argc; ++i)
            deviceCounts << qMax(1, QString::fromLocal8Bit(argv[i]).toInt());
        const int scaleRounds = argc > 2 ? qMax(1, QString::fromLocal8Bit(argv[2]).toInt()) : 5;
        if (deviceCounts.isEmpty())
            printScaleSection(scaleRounds);
        else
            printScaleSection(scaleRounds, deviceCounts);
        return 0;
    }
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--call-log")) {
        Bench::printCallLogs(countAll());
        return 0;
    }
    const int rounds = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 25;
    printMachine(rounds);

    QVector<std::pair<Bench::Kind, Bench::InputId>> controls;
    for (Bench::Kind kind : { Bench::Kind::Hardware, Bench::Kind::Network }) {
        for (const Bench::InputId &input : inputs)
            controls.push_back({ kind, input });
    }
    Bench::printInitTable(Bench::measureInits(controls, rounds), rounds);

    Bench::printCallTable(countAll());

    // Fewer runs at scale: one run of 5,000 devices takes seconds.
    printScaleSection(qBound(1, rounds / 5, 5));
    return 0;
}
