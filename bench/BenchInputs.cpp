// SPDX-License-Identifier: MIT
// Setting up measured controls on the sample network and counting their device calls.
#include "BenchInputs.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/MKorvane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace Bench {

namespace {

CallCounts countLog(const Sim::Network &network)
{
    CallCounts counts;
    for (const Sim::CallRecord &call : network.callLog())
        ++counts[call.operation];
    return counts;
}

QString pad(const QString &text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true);
}

QString num(double value, int width, int precision = 0)
{
    return QString::number(value, 'f', precision).rightJustified(width);
}

} // namespace

int total(const CallCounts &counts)
{
    int sum = 0;
    for (int n : counts)
        sum += n;
    return sum;
}

QByteArray sampleNetworkJson()
{
    static const QByteArray json = [] {
        QFile file(QStringLiteral(VQ_SAMPLE_NETWORK));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "bench: cannot read %s\n", VQ_SAMPLE_NETWORK);
            std::exit(1);
        }
        return file.readAll();
    }();
    return json;
}

std::shared_ptr<Sim::Network> freshNetwork()
{
    auto network = Sim::Network::fromJson(sampleNetworkJson(), QStringLiteral(VQ_SAMPLE_NETWORK));
    DeviceAccess::install(network->implementation());
    return network;
}

QVector<InputId> sampleInputs()
{
    const auto network = freshNetwork();
    QVector<InputId> inputs;
    for (const QString &device : network->deviceNames()) {
        DeviceAccess::SystemPtr system = network->system();
        QString errMsg;
        if (!MKorvane::CheckDeviceState(system, network->device(device), errMsg))
            continue;
        for (const QString &block : network->blockNames(device))
            inputs.append({ device, block });
    }
    return inputs;
}

Setup::Setup(const InputId &input)
    : network(freshNetwork())
    , control(std::make_unique<ctlSensorHardware>())
{
    QObject::connect(
        control.get(), &ctlSensorHardware::MessageEvent, control.get(),
        [this](const QString &Message, const QString &, const QString &FunctionName, qint32, bool &IsReceived) {
            messages << FunctionName + QStringLiteral(": ")
                    + QString(Message).replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
            IsReceived = true;
        },
        Qt::DirectConnection);
    // The host's calling order.
    control->setDeviceProgID(network->programId(input.device));
    control->setDRFScope(network->scope(input.device));
    control->setChoice(QString());
    control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
    control->setSystem(network->system());
    control->setDeviceObject(network->device(input.device));
    control->setNodeObject(network->block(input.device, input.block));
}

Setup::~Setup() = default;

InputCalls countCalls(const InputId &input)
{
    InputCalls result;
    result.input = input;
    Setup setup(input);
    Sim::Network &network = *setup.network;

    network.clearCallLog();
    setup.control->ZovezuVavevaInit();
    result.init = countLog(network);
    if (auto combo = setup.control->findChild<QComboBox *>(QStringLiteral("cboInput")))
        result.interpretation = combo->currentText();

    if (auto reverse = setup.control->findChild<QCheckBox *>(QStringLiteral("chkReverse")))
        reverse->setChecked(!reverse->isChecked());
    network.clearCallLog();
    result.writeFailed = setup.control->WriteValue();
    result.write = countLog(network);

    network.clearCallLog();
    MKorvane::skipOnFailure([&] {
        DeviceAccess::TypeTreeNodePtr node;
        QString programId, longFormat, unitText, errMsg;
        qint32 typeIndex = 0, baseKind = 0;
        MKorvane::GetNvTypeFormat(MKorvane::GetFirstNetworkVariable(network.block(input.device, input.block)),
            MEASUREMENT_SYSTEM_SI, node, programId, longFormat, unitText, typeIndex, baseKind, errMsg);
    });
    result.typeFormat = countLog(network);
    result.messages = setup.messages;
    return result;
}

void prepareHeadless()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MKorvane::setMessageBoxHandler([](const QString &, int, const QString &) { return MKorvane::vbOK; });
}

void printCallTables(const QVector<InputCalls> &calls)
{
    QTextStream out(stdout);
    int width = 8;
    for (const InputCalls &c : calls)
        width = qMax(width, int(c.input.label().size()) + 2);
    out << "Device calls per hardware input (simulated network, call log)\n\n";
    out << pad(QStringLiteral("input"), width) << pad(QStringLiteral("interpretation"), 17) << "  init  write  "
        << "GetNvTypeFormat  write/init\n";
    int initSum = 0, writeSum = 0, formatSum = 0;
    QStringList messages;
    for (const InputCalls &c : calls) {
        const int init = total(c.init), write = total(c.write), format = total(c.typeFormat);
        initSum += init;
        writeSum += write;
        formatSum += format;
        out << pad(c.input.label(), width) << pad(c.interpretation, 17) << num(init, 6) << num(write, 7)
            << num(format, 17) << num(init ? double(write) / init : 0.0, 12, 2)
            << (c.writeFailed ? "  (WriteValue reported a failure)" : "") << (c.messages.isEmpty() ? "" : "  *")
            << "\n";
        for (const QString &m : c.messages)
            messages << c.input.label() + QStringLiteral(" ") + m;
    }
    const double n = qMax(1, int(calls.size()));
    out << pad(QStringLiteral("per input (mean)"), width + 17) << num(initSum / n, 6, 1) << num(writeSum / n, 7, 1)
        << num(formatSum / n, 17, 1) << "\n";
    if (!messages.isEmpty()) {
        out << "* messages the control raised (taken by the benchmark, not shown):\n";
        for (const QString &m : std::as_const(messages))
            out << "  " << m << "\n";
    }
    out << "\n";

    // By operation, summed over the inputs, with the mean per input.
    QSet<QString> operations;
    for (const InputCalls &c : calls) {
        for (auto it = c.init.cbegin(); it != c.init.cend(); ++it)
            operations.insert(it.key());
        for (auto it = c.write.cbegin(); it != c.write.cend(); ++it)
            operations.insert(it.key());
    }
    QStringList sorted(operations.cbegin(), operations.cend());
    std::sort(sorted.begin(), sorted.end());
    out << pad(QStringLiteral("operation"), 44) << "init total  per input  write total  per input\n";
    for (const QString &op : std::as_const(sorted)) {
        int init = 0, write = 0;
        for (const InputCalls &c : calls) {
            init += c.init.value(op);
            write += c.write.value(op);
        }
        out << pad(op, 44) << num(init, 10) << num(init / n, 11, 1) << num(write, 13) << num(write / n, 11, 1) << "\n";
    }
    out << "\n";
    out.flush();
}

} // namespace Bench
