// SPDX-License-Identifier: MIT
// `make bench`: the controls against their floor, their device calls, and the simulated
// network at scale. Every figure is taken in interleaved rounds (at least 7) and printed
// as smallest, median and largest; a target counts as met when its median meets it.
// Reports only; nothing is asserted.
// Usage: vqbench [rounds] (9 by default), or
// vqbench --call-log: every device call of the measured operations, in order, or
// vqbench --scale [rounds [devices...]]: only the scale table, or
// vqbench --init [rounds]: only the initialisation table (to profile the controls alone).
#include "BenchSetup.h"
#include "DeviceCalls.h"
#include "InitTiming.h"
#include "ScaleTiming.h"

#include <QApplication>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

namespace {

constexpr int minimumRounds = 7;
constexpr int defaultRounds = 9;

int roundsFrom(const char *argument)
{
    const int asked = argument ? QString::fromLocal8Bit(argument).toInt() : defaultRounds;
    if (asked < minimumRounds) {
        QTextStream(stderr) << "vqbench: " << asked << " rounds asked for; taking " << minimumRounds
                            << ", the fewest whose median says something\n";
        return minimumRounds;
    }
    return asked;
}

void printMachine(int rounds)
{
    QTextStream out(stdout);
    out << "VqZovezuVaveva benchmarks: " << QSysInfo::prettyProductName() << ", " << QSysInfo::currentCpuArchitecture()
        << ", " << QThread::idealThreadCount() << " logical cores, Qt " << qVersion() << ", platform "
        << QGuiApplication::platformName() << ", " << rounds << " rounds\n"
        << "load average at the start: " << Bench::loadAverage() << "\n\n";
}

void printScaleSection(int rounds, const QVector<int> &deviceCounts)
{
    QTextStream out(stdout);
    out << "3. The simulated network at scale\n"
        << "   Networks come from bench/NetworkGenerator (also the tool vq_make_network <devices> <file>).\n";
    out.flush();
    Bench::printScaleTable(Bench::measureScale(deviceCounts, rounds), rounds);
}

// Every target with its median, the ones missed first, and the load average at the end.
void printSummary()
{
    QTextStream out(stdout);
    int met = 0;
    for (const Bench::Target &target : Bench::targets())
        met += target.met ? 1 : 0;
    out << "Targets met by the median: " << met << " of " << Bench::targets().size() << "\n";
    for (const Bench::Target &target : Bench::targets()) {
        if (target.met)
            continue;
        out << "   MISSED " << target.figure << ": median " << QString::number(target.value.median, 'f', 2) << " ("
            << QString::number(target.value.min, 'f', 2) << "-" << QString::number(target.value.max, 'f', 2)
            << "), target " << target.limit << "\n";
    }
    out << "load average at the end: " << Bench::loadAverage() << "\n";
    out.flush();
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
    const QVector<int> sizes = { 100, 1000, 5000 };
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--scale")) {
        QVector<int> deviceCounts;
        for (int i = 3; i < argc; ++i)
            deviceCounts << qMax(1, QString::fromLocal8Bit(argv[i]).toInt());
        const int rounds = roundsFrom(argc > 2 ? argv[2] : nullptr);
        printMachine(rounds);
        printScaleSection(rounds, deviceCounts.isEmpty() ? sizes : deviceCounts);
        printSummary();
        return 0;
    }
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--call-log")) {
        Bench::printCallLogs(countAll());
        return 0;
    }
    const bool initOnly = argc > 1 && QLatin1String(argv[1]) == QLatin1String("--init");
    const int rounds = roundsFrom(argc > 1 + int(initOnly) ? argv[1 + int(initOnly)] : nullptr);
    printMachine(rounds);

    QVector<std::pair<Bench::Kind, Bench::InputId>> controls;
    for (Bench::Kind kind : { Bench::Kind::Hardware, Bench::Kind::Network }) {
        for (const Bench::InputId &input : inputs)
            controls.push_back({ kind, input });
    }
    Bench::printInitTable(Bench::measureInits(controls, rounds), rounds);
    if (initOnly) {
        printSummary();
        return 0;
    }

    Bench::printCallTable(countAll());

    printScaleSection(rounds, sizes);
    printSummary();
    return 0;
}
