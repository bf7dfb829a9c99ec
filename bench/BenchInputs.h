// SPDX-License-Identifier: MIT
// What the benchmarks share: the sample network's hardware inputs, a hardware control
// handed one of them in the host's calling order, and the device calls counted by
// operation from the simulated network's call log.
#pragma once

#include <QMap>
#include <QString>
#include <QVector>
#include <memory>

class ctlSensorHardware;

namespace Sim {
class Network;
}

namespace Bench {

struct InputId
{
    QString device;
    QString block;
    QString label() const { return device + QLatin1Char('/') + block; }
};

// Device calls of one measured step, by operation ("ConfigProperty.ValueText" -> 12).
using CallCounts = QMap<QString, int>;
int total(const CallCounts &counts);

// The sample network's bytes, read once; each measurement loads its own network from
// them so that no measurement sees another's writes.
QByteArray sampleNetworkJson();
std::shared_ptr<Sim::Network> freshNetwork();

// The inputs of every device that can be configured.
QVector<InputId> sampleInputs();

// A control on a fresh network, handed one input, not yet initialised. Messages that
// the control raises are counted, never shown.
struct Setup
{
    std::shared_ptr<Sim::Network> network;
    std::unique_ptr<ctlSensorHardware> control;
    QStringList messages; // "FunctionName: Message"
    explicit Setup(const InputId &input);
    ~Setup();
};

// The device calls of one ZovezuVavevaInit, and of one WriteValue after ticking
// chkReverse, for one input; the interpretation the control showed.
struct InputCalls
{
    InputId input;
    QString interpretation;
    CallCounts init;
    CallCounts write;
    CallCounts typeFormat; // one MKorvane::GetNvTypeFormat of the input's variable
    bool writeFailed = false;
    QStringList messages; // raised by the control during the measured steps
};
InputCalls countCalls(const InputId &input);

// Message boxes become counted no-ops; the offscreen platform is chosen without a display.
void prepareHeadless();

// Prints the call tables for all inputs.
void printCallTables(const QVector<InputCalls> &calls);

} // namespace Bench
