// SPDX-License-Identifier: MIT
// Scale measurements of the simulated network against Qt's JSON and simdjson on the same text.
#include "ScaleTiming.h"

#include "MemoryPeak.h"
#include "NetworkGenerator.h"

#include "device/DeviceAccess.h"
#include "device/sim/SimNetwork.h"
#include "shared/ProcessState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTextStream>
#include <memory>
#include <simdjson.h>
#include <vector>

namespace Bench {
namespace {

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

// The padded copy of the text is made beforehand.
bool simdjsonParse(simdjson::dom::parser &parser, const simdjson::padded_string &text)
{
    simdjson::dom::element root;
    return parser.parse(text).get(root) == simdjson::SUCCESS;
}

bool simdjsonParseNew(const simdjson::padded_string &text)
{
    simdjson::dom::parser parser;
    return simdjsonParse(parser, text);
}

struct Samples
{
    QVector<double> qtParse, simdjsonParse, simdjsonNewParser, load, loadToQt, loadToSimdjson, loadResident,
        loadResidentToFile, loadHeap, loadHeld, qtParseResident, simdjsonResident, simdjsonHeap, qtWrite, save,
        saveToQt, openInput, qtRelease, release;
};

} // namespace

QVector<ScaleRow> measureScale(const QVector<int> &deviceCounts, int rounds)
{
    const QByteArray sample = sampleNetworkJson();
    const int sampleDevices
        = int(QJsonDocument::fromJson(sample).object().value(QStringLiteral("devices")).toArray().size());
    const InputId input = sampleInputs().value(0);
    const QString fileName = QStringLiteral("generated");

    QVector<QByteArray> texts;
    std::vector<simdjson::padded_string> padded;
    // simdjson's parse alone: each size's parser allocates its buffers in a first parse, untimed.
    std::vector<std::unique_ptr<simdjson::dom::parser>> parsers;
    QVector<ScaleRow> rows;
    for (int devices : deviceCounts) {
        texts << replicateDevices(sample, devices);
        padded.emplace_back(texts.back().constData(), size_t(texts.back().size()));
        parsers.push_back(std::make_unique<simdjson::dom::parser>());
        ScaleRow row;
        row.devices = devices;
        row.fileBytes = texts.back().size();
        row.simdjsonAccepted = simdjsonParse(*parsers.back(), padded.back());
        rows << row;
    }
    QVector<Samples> samples(rows.size());

    // Round robin over the sizes; each figure's runs side by side with the ones it is compared to.
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < rows.size(); ++i) {
            const QByteArray &json = texts[i];
            Samples &s = samples[i];
            QJsonDocument document;
            const double qtParse = cpuOf([&] { document = QJsonDocument::fromJson(json); });
            const double simdjson = cpuOf([&] { (void)simdjsonParse(*parsers[size_t(i)], padded[size_t(i)]); });
            std::shared_ptr<Sim::Network> network;
            const double load = cpuOf([&] { network = Sim::Network::fromJson(json, fileName); });
            s.simdjsonNewParser << cpuOf([&] { (void)simdjsonParseNew(padded[size_t(i)]); });
            s.qtParse << qtParse;
            s.simdjsonParse << simdjson;
            s.load << load;
            s.loadToQt << load / qtParse;
            s.loadToSimdjson << load / simdjson;

            const double qtWrite = cpuOf([&] { (void)document.toJson(QJsonDocument::Indented); });
            const double save = cpuOf([&] { (void)network->toJson(); });
            s.qtWrite << qtWrite;
            s.save << save;
            s.saveToQt << save / qtWrite;

            const InputId last = lastCopyOf(input, rows[i].devices, sampleDevices);
            s.openInput << cpuOf([&] {
                ControlSetup setup(Kind::Hardware, last, network);
                setup.init();
            });
            s.qtRelease << cpuOf([&] { document = QJsonDocument(); });
            // Destroyed here, not in the next round's opening, which would replace the installed
            // device library and the controls' shared system, the last holders of this network.
            s.release << cpuOf([&] {
                MKorvane::setCurrentSystem(nullptr);
                DeviceAccess::install(nullptr);
                network.reset();
            });

            // Memory in runs of their own: counting slows every allocation down.
            const double file = double(json.size());
            const std::int64_t resident = residentPeakOf([&] { network = Sim::Network::fromJson(json, fileName); });
            network.reset();
            if (resident >= 0) {
                s.loadResident << double(resident);
                s.loadResidentToFile << double(resident) / file;
                s.qtParseResident << double(residentPeakOf([&] { (void)QJsonDocument::fromJson(json); }));
                s.simdjsonResident << double(residentPeakOf([&] { (void)simdjsonParseNew(padded[size_t(i)]); }));
            }
            if (heapCounting()) {
                const HeapFigures loaded = heapOf([&] { network = Sim::Network::fromJson(json, fileName); });
                network.reset();
                s.loadHeap << double(loaded.peak);
                s.loadHeld << double(loaded.end);
                s.simdjsonHeap << double(heapOf([&] { (void)simdjsonParseNew(padded[size_t(i)]); }).peak);
            }
        }
    }
    for (int i = 0; i < rows.size(); ++i) {
        const Samples &s = samples[i];
        ScaleRow &r = rows[i];
        r.qtParse = spread(s.qtParse);
        r.simdjsonParse = spread(s.simdjsonParse);
        r.load = spread(s.load);
        r.loadToQt = spread(s.loadToQt);
        r.loadToSimdjson = spread(s.loadToSimdjson);
        r.simdjsonNewParser = spread(s.simdjsonNewParser);
        r.loadResident = spread(s.loadResident);
        r.loadResidentToFile = spread(s.loadResidentToFile);
        r.loadHeap = spread(s.loadHeap);
        r.loadHeld = spread(s.loadHeld);
        r.qtParseResident = spread(s.qtParseResident);
        r.simdjsonResident = spread(s.simdjsonResident);
        r.simdjsonHeap = spread(s.simdjsonHeap);
        r.qtWrite = spread(s.qtWrite);
        r.save = spread(s.save);
        r.saveToQt = spread(s.saveToQt);
        r.openInput = spread(s.openInput);
        r.qtRelease = spread(s.qtRelease);
        r.release = spread(s.release);
    }
    return rows;
}

void printScaleTable(const QVector<ScaleRow> &rows, int rounds)
{
    QTextStream out(stdout);
    out << "   CPU time of the UI thread, " << rounds
        << " rounds through every size; ratios of runs side by side, smallest, median, largest.\n"
        << "   load: Sim::Network::fromJson of the text; Qt parse: QJsonDocument::fromJson of it; simdjson parse:\n"
        << "   simdjson::dom::parser::parse of it by a parser whose buffers a first parse allocated (the padded\n"
        << "   copy made beforehand); with a new parser: the same, buffers allocated each time (no target).\n"
        << "   resident: the most resident memory during the load above the level before it (the kernel's\n"
        << "   high-water mark, reset before the load); heap: the most heap bytes allocated during the load,\n"
        << "   written or not, counted by vqbench's allocator; held: heap still allocated after it. Memory is\n"
        << "   taken in loads of its own. save: Sim::Network::toJson against QJsonDocument::toJson of the parsed\n"
        << "   text. open input: a hardware control opened and initialised on the last copy of HwInput[0]'s\n"
        << "   device. release: the network destroyed, against the parsed QJsonDocument destroyed. A target is\n"
        << "   met when the median meets it.\n";
    if (!heapCounting())
        out << "   (no heap figures: this build has no counting allocator)\n";
    out << "\n";

    const auto cell
        = [](double value, int precision) { return QString::number(value, 'f', precision).rightJustified(11); };
    const auto line = [&](const QString &figure, const Spread &value, int precision, double scale = 1) {
        out << "   " << figure.leftJustified(40) << cell(value.min / scale, precision)
            << cell(value.median / scale, precision) << cell(value.max / scale, precision);
    };
    const auto plain = [&](const QString &figure, const Spread &value, int precision, double scale = 1) {
        line(figure, value, precision, scale);
        out << "\n";
    };
    const auto kilobytes = [&](const QString &figure, const Spread &value, double file) {
        line(figure, value, 0, 1024);
        out << QStringLiteral("   %1 x file\n").arg(value.median / file, 0, 'f', 2);
    };
    const auto target = [&](const ScaleRow &row, const QString &figure, const Spread &value, double limit) {
        line(figure, value, 2);
        const bool met = noteTarget(QStringLiteral("%1 devices: %2").arg(row.devices).arg(figure), value, limit,
            QStringLiteral("<= %1").arg(limit, 0, 'f', 2));
        out << "   <= " << QString::number(limit, 'f', 2) << "  " << metText(met) << "\n";
    };
    const QLocale english(QLocale::English);
    for (const ScaleRow &row : rows) {
        const double file = double(row.fileBytes);
        out << "   " << english.toString(row.devices) << " devices, file " << english.toString(row.fileBytes / 1024)
            << " KB\n"
            << "   " << QStringLiteral("figure").leftJustified(40) << "        min     median        max   target\n";
        plain(QStringLiteral("Qt parse ms"), row.qtParse, 2, 1000);
        plain(QStringLiteral("simdjson parse ms"), row.simdjsonParse, 2, 1000);
        plain(QStringLiteral("simdjson parse with a new parser ms"), row.simdjsonNewParser, 2, 1000);
        if (!row.simdjsonAccepted)
            out << "   (simdjson refused the text: its figures mean nothing)\n";
        plain(QStringLiteral("load ms"), row.load, 2, 1000);
        target(row, QStringLiteral("load / Qt parse"), row.loadToQt, loadToQtTarget);
        target(row, QStringLiteral("load / simdjson parse"), row.loadToSimdjson, loadToSimdjsonTarget);
        if (!row.loadResident.max) {
            out << "   (no resident figures: /proc/self/clear_refs or /proc/self/status cannot be used)\n";
        } else {
            plain(QStringLiteral("peak resident during the load KB"), row.loadResident, 0, 1024);
            target(row, QStringLiteral("peak resident during the load / file"), row.loadResidentToFile,
                loadPeakToFileTarget);
            kilobytes(QStringLiteral("peak resident during Qt parse KB"), row.qtParseResident, file);
            kilobytes(QStringLiteral("peak resident, simdjson new parser KB"), row.simdjsonResident, file);
        }
        if (heapCounting()) {
            kilobytes(QStringLiteral("peak heap during the load KB"), row.loadHeap, file);
            kilobytes(QStringLiteral("heap held after the load KB"), row.loadHeld, file);
            kilobytes(QStringLiteral("peak heap, simdjson new parser KB"), row.simdjsonHeap, file);
        }
        plain(QStringLiteral("Qt write ms"), row.qtWrite, 2, 1000);
        plain(QStringLiteral("save ms"), row.save, 2, 1000);
        target(row, QStringLiteral("save / Qt write"), row.saveToQt, saveToQtTarget);
        plain(QStringLiteral("open input ms"), row.openInput, 2, 1000);
        plain(QStringLiteral("Qt free ms"), row.qtRelease, 2, 1000);
        plain(QStringLiteral("release ms"), row.release, 2, 1000);
        out << "\n";
    }
    out.flush();
}

} // namespace Bench
