// SPDX-License-Identifier: MIT
// `make bench`: the controls against their floor, their device calls, and the room for
// the simulated network at scale. Reports only; nothing is asserted.
// Usage: vqbench [rounds] (default 25 interleaved runs per input and control), or
// vqbench --call-log: every device call of the measured operations, in order.
#include "BenchSetup.h"
#include "DeviceCalls.h"
#include "InitTiming.h"
#include "NetworkGenerator.h"

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

void printScaleSection()
{
    QTextStream out(stdout);
    out << "3. The simulated network at scale (100, 1,000 and 5,000 devices)\n"
        << "   Networks come from bench/NetworkGenerator (also the tool vq_make_network <devices> <file>):\n";
    for (int devices : { 100, 1000, 5000 }) {
        const QByteArray json = Bench::replicateDevices(Bench::sampleNetworkJson(), devices);
        out << "     " << QString::number(devices).rightJustified(5)
            << " devices: " << QString::number(json.size() / 1024.0, 'f', 0) << " KB\n";
    }
    out << "   Scale table (load, memory, save and opening an input against Qt's own JSON): not measured here yet.\n\n";
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

    printScaleSection();
    return 0;
}
