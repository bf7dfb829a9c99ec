// SPDX-License-Identifier: MIT
// What the benchmarks share: the sample network's inputs, a control of either kind
// handed one of them in the host's calling order, the screen flushed the way the host's
// event loop would, and the thread's CPU clock.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QWidget;
class ctlSensorHardware;
class ctlSensorNV;

namespace Sim {
class Network;
}

namespace Bench {

struct InputId
{
    QString device;
    QString block;
    QString label() const;
};

enum class Kind { Hardware, Network };
QString kindName(Kind kind);

// The sample network's bytes, read once; each setup parses its own network from them so
// that no measurement sees another's writes.
QByteArray sampleNetworkJson();
std::shared_ptr<Sim::Network> freshNetwork();

// The inputs of every device that can be configured.
QVector<InputId> sampleInputs();

// A control on a network (installed as the device library), handed one input as the host
// does, not yet initialised. Messages the control raises are taken, never shown.
class ControlSetup
{
public:
    ControlSetup(Kind kind, const InputId &input, std::shared_ptr<Sim::Network> network = freshNetwork());
    ~ControlSetup();

    Kind kind() const { return m_kind; }
    QWidget *widget() const;
    ctlSensorHardware *hardware() const { return m_hardware.get(); }
    ctlSensorNV *nv() const { return m_nv.get(); }
    Sim::Network &network() const { return *m_network; }
    const QStringList &messages() const { return m_messages; }

    void init();
    bool writeValue(); // true: the control reported a failure
    void reInitializeStrings();
    void setMesureUnit(qint16 system);

private:
    Kind m_kind;
    std::shared_ptr<Sim::Network> m_network;
    std::unique_ptr<ctlSensorHardware> m_hardware;
    std::unique_ptr<ctlSensorNV> m_nv;
    QStringList m_messages;
};

// Message boxes become no-ops; the offscreen platform is chosen without a display.
void prepareHeadless();

// Processes pending events until nothing is left to paint, as the host's loop would.
void flushScreen();

// CPU time of this thread in microseconds.
double threadCpuMicroseconds();

// The smallest, middle and largest of a figure's runs.
struct Spread
{
    double min = 0, median = 0, max = 0;
};
Spread spread(QVector<double> values);

// The first three fields of /proc/loadavg (1, 5 and 15 minutes), or "unknown".
QString loadAverage();

// A target of the benchmark, judged by the median of its runs.
struct Target
{
    QString figure; // what is measured, e.g. "hardware HWI-Controller 1/HwInput[2]: shown init / floor"
    QString limit; // e.g. "<= 1.30"
    Spread value;
    bool met = false;
};
// Notes a target as met when `value.median <= limit`; returns whether it is.
bool noteTarget(const QString &figure, const Spread &value, double limit, const QString &limitText);
const QVector<Target> &targets();
// "met" or "MISSED", for the tables.
QString metText(bool met);

} // namespace Bench
