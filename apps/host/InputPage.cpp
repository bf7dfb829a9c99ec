// SPDX-License-Identifier: MIT
// One hardware input's configuration page.
#include "InputPage.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"
#include "shared/MKorvane.h"

#include <QHBoxLayout>

namespace Host {

namespace {

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
}

} // namespace

InputPage::InputPage(QWidget *parent)
    : QWidget(parent)
    , m_hardware(new ctlSensorHardware(this))
    , m_network(new ctlSensorNV(this))
{
    m_hardware->setObjectName(QStringLiteral("ctlSensorHardware"));
    m_network->setObjectName(QStringLiteral("ctlSensorNV"));
    auto row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_hardware, 0, Qt::AlignTop);
    row->addWidget(m_network, 0, Qt::AlignTop);
    row->addStretch(1);

    relayMessages(m_hardware);
    relayMessages(m_network);
    // The network side reads its values as differences while the input is a set-point offset.
    connect(
        m_hardware, &ctlSensorHardware::OnSetpointOffSetEvent, this,
        [this](bool &IsSetpointOffSet) {
            m_network->UpdateSetpointOffSet(IsSetpointOffSet);
            emit message(IsSetpointOffSet ? tr("Setpoint offset mode") : tr("Absolute value mode"));
        },
        Qt::DirectConnection);
}

InputPage::~InputPage()
{
    // The controls hold device objects of the network; they go before the page's owner
    // lets the network go.
    delete m_hardware;
    delete m_network;
}

void InputPage::relayMessages(QObject *control)
{
    const auto take = [this](const QString &Message, const QString &Modulename, const QString &FunctionName,
                          qint32 TypeIndex, bool &IsReceived) {
        emit message(tr("[%1 %2, style %3] %4").arg(Modulename, FunctionName).arg(TypeIndex).arg(oneLine(Message)));
        IsReceived = true;
    };
    // Direct connections: IsReceived travels back by reference before the signal returns.
    if (auto hardware = qobject_cast<ctlSensorHardware *>(control))
        connect(hardware, &ctlSensorHardware::MessageEvent, this, take, Qt::DirectConnection);
    else if (auto network = qobject_cast<ctlSensorNV *>(control))
        connect(network, &ctlSensorNV::MessageEvent, this, take, Qt::DirectConnection);
}

bool InputPage::open(Sim::Network &network, const QString &deviceName, const QString &blockName, const QString &choice,
    qint16 measurementSystem)
{
    MKorvane::BusyPointer busy;
    const bool handedOver = MKorvane::tryStep(
        [&] {
            // The order in which the controls expect their objects.
            m_hardware->setSystem(network.system());
            m_hardware->setDeviceObject(network.device(deviceName));
            m_hardware->setDeviceProgID(network.programId(deviceName));
            m_hardware->setDRFScope(network.scope(deviceName));
            m_hardware->setChoice(choice);
            m_hardware->setMesureUnit(measurementSystem);
            m_hardware->setNodeObject(network.block(deviceName, blockName));

            m_network->setSystem(network.system());
            m_network->setDeviceObject(network.device(deviceName));
            m_network->setDeviceProgID(network.programId(deviceName));
            m_network->setMesureUnit(measurementSystem);
            m_network->setNodeObject(network.block(deviceName, blockName));
        },
        [&](qint32 number, const QString &description) {
            emit message(
                tr("Cannot hand %1 to the controls (error %2): %3").arg(blockName).arg(number).arg(description));
        });
    if (!handedOver)
        return false;
    // The network side first: the hardware side announces a set-point offset while it
    // initialises, and only an initialised network control takes that mode.
    // A block without a network variable fails the network control's initialisation.
    const auto initialise = [this, &blockName](QWidget *control, auto &&init) {
        return MKorvane::tryStep(init, [&](qint32 number, const QString &description) {
            emit message(tr("%1 cannot show %2 (error %3): %4")
                             .arg(control->objectName(), blockName)
                             .arg(number)
                             .arg(description));
        });
    };
    const bool networkShown = initialise(m_network, [this] { m_network->ZovezuVavevaInit(); });
    const bool hardwareShown = initialise(m_hardware, [this] { m_hardware->ZovezuVavevaInit(); });
    return networkShown && hardwareShown;
}

bool InputPage::valueChanged() const
{
    return m_hardware->ValueChanged() || m_network->ValueChanged();
}

bool InputPage::write()
{
    MKorvane::BusyPointer busy;
    // Each control's WriteValue returns True when a write failed.
    const bool hardwareFailed = m_hardware->WriteValue();
    const bool networkFailed = m_network->WriteValue();
    return !hardwareFailed && !networkFailed;
}

void InputPage::setMesureUnit(qint16 measurementSystem)
{
    MKorvane::BusyPointer busy;
    // Both re-read every value in the new units.
    m_hardware->setMesureUnit(measurementSystem);
    m_network->setMesureUnit(measurementSystem);
}

void InputPage::reInitializeStrings()
{
    m_hardware->ReInitializeStrings();
    m_network->ReInitializeStrings();
}

} // namespace Host
