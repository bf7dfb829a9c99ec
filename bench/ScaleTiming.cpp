// SPDX-License-Identifier: MIT
// Scale measurements of the simulated network against Qt's JSON on the same text.
#include "ScaleTiming.h"

#include "BenchSetup.h"
#include "NetworkGenerator.h"

#include "device/DeviceAccess.h"
#include "device/sim/SimNetwork.h"
#include "shared/ProcessState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <malloc.h>

namespace Bench {
namespace {

// Heap bytes in use: what the process holds, not what the allocator kept for later.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

template<typename Work> double cpuOf(Work &&work)
{
    const double start = threadCpuMicroseconds();
    work();
    return threadCpuMicroseconds() - start;
}

// The last copy of the sample's first input device: its distance from the front grows with the database.
InputId lastCopyOf(const InputId &input, int devices, int sampleDevices)
{
    const int copies = devices / sampleDevices - 1;
    return { copies > 0 ? QStringLiteral("%1 copy %2").arg(input.device).arg(copies) : input.device, input.block };
}

} // namespace

QVector<ScaleRow> measureScale(const QVector<int> &deviceCounts, int rounds)
{
    const QByteArray sample = sampleNetworkJson();
    const int sampleDevices
        = int(QJsonDocument::fromJson(sample).object().value(QStringLiteral("devices")).toArray().size());
    const InputId input = sampleInputs().value(0);
    QVector<ScaleRow> rows;
    for (int devices : deviceCounts) {
        const QByteArray json = replicateDevices(sample, devices);
        ScaleRow row;
        row.devices = devices;
        row.fileBytes = json.size();
        QVector<double> qtParse, load, qtWrite, save, open, held, qtRelease, release;
        for (int round = 0; round < rounds; ++round) {
            QJsonDocument document;
            qtParse << cpuOf([&] { document = QJsonDocument::fromJson(json); });
            qtWrite << cpuOf([&] { (void)document.toJson(QJsonDocument::Indented); });
            qtRelease << cpuOf([&] { document = QJsonDocument(); });
            std::shared_ptr<Sim::Network> network;
            const qint64 before = heapInUse();
            load << cpuOf([&] { network = Sim::Network::fromJson(json, QStringLiteral("generated")); });
            held << double(heapInUse() - before);
            save << cpuOf([&] { (void)network->toJson(); });
            const InputId last = lastCopyOf(input, devices, sampleDevices);
            open << cpuOf([&] {
                ControlSetup setup(Kind::Hardware, last, network);
                setup.init();
            });
            // Destroyed here, not in the next round's opening, which would replace the installed
            // device library and the controls' shared system, the last holders of this network.
            release << cpuOf([&] {
                MKorvane::setCurrentSystem(nullptr);
                DeviceAccess::install(nullptr);
                network.reset();
            });
        }
        row.qtParse = median(qtParse);
        row.load = median(load);
        row.heldBytes = qint64(median(held));
        row.qtWrite = median(qtWrite);
        row.save = median(save);
        row.openInput = median(open);
        row.qtRelease = median(qtRelease);
        row.release = median(release);
        rows << row;
    }
    return rows;
}

void printScaleTable(const QVector<ScaleRow> &rows, int rounds)
{
    QTextStream out(stdout);
    out << "   CPU time of the UI thread in milliseconds, medians of " << rounds
        << " runs per size. load: Sim::Network::fromJson against QJsonDocument::fromJson of the same text\n"
        << "   (target 2.0); memory: heap in use after the load minus before, against the file size (target 4.0);\n"
        << "   save: Sim::Network::toJson against QJsonDocument::toJson of the parsed text (target 1.5); open input:\n"
        << "   a hardware control opened and initialised on the last copy of HwInput[0]'s device; release: the\n"
        << "   network destroyed against the parsed QJsonDocument destroyed (no target).\n\n";
    out << "devices   file KB   Qt parse      load  ratio | memory KB  ratio |  Qt write      save  ratio | open "
           "input |  Qt free   release  ratio\n";
    const auto ms = [](double us) { return QString::number(us / 1000.0, 'f', 1).rightJustified(9); };
    const auto ratio = [](double a, double b) { return QString::number(b > 0 ? a / b : 0, 'f', 2).rightJustified(6); };
    for (const ScaleRow &row : rows) {
        out << QString::number(row.devices).rightJustified(7)
            << QString::number(row.fileBytes / 1024).rightJustified(10) << ' ' << ms(row.qtParse) << ' ' << ms(row.load)
            << ' ' << ratio(row.load, row.qtParse) << " |" << QString::number(row.heldBytes / 1024).rightJustified(10)
            << ' ' << ratio(double(row.heldBytes), double(row.fileBytes)) << " |" << ms(row.qtWrite) << ' '
            << ms(row.save) << ' ' << ratio(row.save, row.qtWrite) << " |  " << ms(row.openInput) << " |"
            << ms(row.qtRelease) << ' ' << ms(row.release) << ' ' << ratio(row.release, row.qtRelease) << "\n";
    }
    out << "\n";
    out.flush();
}

} // namespace Bench
