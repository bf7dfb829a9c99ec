// SPDX-License-Identifier: MIT
// Controls on the sample network in the host's calling order, and the clock.
#include "BenchSetup.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"
#include "shared/MKorvane.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace Bench {

QString InputId::label() const
{
    return device + QLatin1Char('/') + block;
}

QString kindName(Kind kind)
{
    return kind == Kind::Hardware ? QStringLiteral("hardware") : QStringLiteral("network");
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
    return Sim::Network::fromJson(sampleNetworkJson(), QStringLiteral(VQ_SAMPLE_NETWORK));
}

QVector<InputId> sampleInputs()
{
    const auto network = freshNetwork();
    DeviceAccess::install(network->implementation());
    QVector<InputId> inputs;
    for (const QString &device : network->deviceNames()) {
        QString errMsg;
        DeviceAccess::SystemPtr system = network->system();
        if (!MKorvane::CheckDeviceState(system, network->device(device), errMsg))
            continue;
        for (const QString &block : network->blockNames(device))
            inputs.append({ device, block });
    }
    return inputs;
}

ControlSetup::ControlSetup(Kind kind, const InputId &input, std::shared_ptr<Sim::Network> network)
    : m_kind(kind)
    , m_network(std::move(network))
{
    // A host installs its device library once; so do the runs on one network.
    static std::weak_ptr<Sim::Network> installed;
    if (installed.lock() != m_network) {
        DeviceAccess::install(m_network->implementation());
        installed = m_network;
    }
    auto take = [this](const QString &Message, const QString &, const QString &FunctionName, qint32, bool &IsReceived) {
        m_messages << FunctionName + QStringLiteral(": ")
                + QString(Message).replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
        IsReceived = true;
    };
    // The host's calling order.
    if (kind == Kind::Hardware) {
        m_hardware = std::make_unique<ctlSensorHardware>();
        QObject::connect(
            m_hardware.get(), &ctlSensorHardware::MessageEvent, m_hardware.get(), take, Qt::DirectConnection);
        m_hardware->setSystem(m_network->system());
        m_hardware->setDeviceObject(m_network->device(input.device));
        m_hardware->setDeviceProgID(m_network->programId(input.device));
        m_hardware->setDRFScope(m_network->scope(input.device));
        m_hardware->setChoice(QString());
        m_hardware->setMesureUnit(MEASUREMENT_SYSTEM_SI);
        m_hardware->setNodeObject(m_network->block(input.device, input.block));
    } else {
        m_nv = std::make_unique<ctlSensorNV>();
        QObject::connect(m_nv.get(), &ctlSensorNV::MessageEvent, m_nv.get(), take, Qt::DirectConnection);
        m_nv->setSystem(m_network->system());
        m_nv->setDeviceObject(m_network->device(input.device));
        m_nv->setDeviceProgID(m_network->programId(input.device));
        m_nv->setMesureUnit(MEASUREMENT_SYSTEM_SI);
        m_nv->setNodeObject(m_network->block(input.device, input.block));
    }
}

ControlSetup::~ControlSetup() = default;

QWidget *ControlSetup::widget() const
{
    return m_hardware ? static_cast<QWidget *>(m_hardware.get()) : static_cast<QWidget *>(m_nv.get());
}

void ControlSetup::init()
{
    if (m_hardware) {
        m_hardware->ZovezuVavevaInit();
        return;
    }
    try {
        m_nv->ZovezuVavevaInit();
    } catch (const DeviceAccess::Failure &failure) {
        m_messages << QStringLiteral("ZovezuVavevaInit: ") + failure.description();
    }
}

bool ControlSetup::writeValue()
{
    return m_hardware ? m_hardware->WriteValue() : m_nv->WriteValue();
}

void ControlSetup::reInitializeStrings()
{
    if (m_hardware)
        m_hardware->ReInitializeStrings();
    else
        m_nv->ReInitializeStrings();
}

void ControlSetup::setMesureUnit(qint16 system)
{
    if (m_hardware)
        m_hardware->setMesureUnit(system);
    else
        m_nv->setMesureUnit(system);
}

void prepareHeadless()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MKorvane::setMessageBoxHandler([](const QString &, int, const QString &) { return MKorvane::vbOK; });
}

void flushScreen()
{
    // Exposure and repaints arrive as posted events; two rounds take what the first one posts.
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

double threadCpuMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

Spread spread(QVector<double> values)
{
    if (values.isEmpty())
        return {};
    std::sort(values.begin(), values.end());
    const int n = int(values.size());
    return { values.front(), n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2, values.back() };
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    if (fields.size() < 3)
        return QStringLiteral("unknown");
    return QStringLiteral("%1 %2 %3 (1, 5, 15 minutes)")
        .arg(QString::fromLatin1(fields[0]), QString::fromLatin1(fields[1]), QString::fromLatin1(fields[2]));
}

namespace {
QVector<Target> &targetList()
{
    static QVector<Target> list;
    return list;
}
} // namespace

bool noteTarget(const QString &figure, const Spread &value, double limit, const QString &limitText)
{
    const bool met = value.median <= limit;
    targetList().append({ figure, limitText, value, met });
    return met;
}

const QVector<Target> &targets()
{
    return targetList();
}

QString metText(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace Bench
