// SPDX-License-Identifier: MIT
// Benchmarks of the hardware control on the sample network (Google Benchmark): first
// the device calls that one initialisation and one write make per input, then the CPU
// time of one ZovezuVavevaInit and one GetNvTypeFormat per input. Nothing is asserted.
#include "BenchInputs.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/MKorvane.h"

#include <QApplication>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

// Keeps each run's CPU time so that the summary can relate it to the call counts.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    QMap<QString, double> cpuMicroseconds;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                cpuMicroseconds[QString::fromStdString(run.benchmark_name())] = seconds * 1e6;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void initialise(benchmark::State &state, const Bench::InputId &input)
{
    Bench::Setup setup(input);
    setup.network->setLogging(false); // measure the library, not the call log
    for (auto _ : state)
        setup.control->ZovezuVavevaInit();
}

void resolveFormat(benchmark::State &state, const Bench::InputId &input)
{
    const auto network = Bench::freshNetwork();
    network->setLogging(false);
    const auto nv = MKorvane::GetFirstNetworkVariable(network->block(input.device, input.block));
    for (auto _ : state) {
        DeviceAccess::TypeTreeNodePtr node;
        QString programId, longFormat, unitText, errMsg;
        qint32 typeIndex = 0, baseKind = 0;
        benchmark::DoNotOptimize(MKorvane::GetNvTypeFormat(
            nv, MEASUREMENT_SYSTEM_SI, node, programId, longFormat, unitText, typeIndex, baseKind, errMsg));
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    Bench::prepareHeadless();
    QApplication app(argc, argv);

    const QVector<Bench::InputId> inputs = Bench::sampleInputs();
    QVector<Bench::InputCalls> calls;
    for (const Bench::InputId &input : inputs)
        calls << Bench::countCalls(input);
    Bench::printCallTables(calls);

    for (const Bench::InputId &input : inputs) {
        benchmark::RegisterBenchmark(("ZovezuVavevaInit/" + input.label()).toStdString().c_str(), initialise, input)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("GetNvTypeFormat/" + input.label()).toStdString().c_str(), resolveFormat, input)
            ->Unit(benchmark::kMicrosecond);
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    QTextStream out(stdout);
    out << "\nCPU time per device call (one initialisation, simulated network without latency)\n";
    int width = 8;
    for (const Bench::InputCalls &c : std::as_const(calls))
        width = qMax(width, int(c.input.label().size()) + 2);
    out << QStringLiteral("input").leftJustified(width) << "init us  calls  us/call\n";
    for (const Bench::InputCalls &c : std::as_const(calls)) {
        const double us = reporter.cpuMicroseconds.value(QStringLiteral("ZovezuVavevaInit/") + c.input.label(), -1);
        if (us < 0)
            continue; // filtered out on the command line
        const int n = Bench::total(c.init);
        out << c.input.label().leftJustified(width) << QString::number(us, 'f', 1).rightJustified(7)
            << QString::number(n).rightJustified(7) << QString::number(n ? us / n : 0.0, 'f', 2).rightJustified(9)
            << "\n";
    }
    return 0;
}
