// SPDX-License-Identifier: MIT
// One hardware input's configuration page: the hardware control and the network
// control side by side, handed their device objects the way the library expects,
// with their events relayed between them and into the host's message pane.
#pragma once

#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"

#include <QPointer>
#include <QWidget>

namespace Sim {
class Network;
}

namespace Host {

class InputPage : public QWidget
{
    Q_OBJECT

public:
    explicit InputPage(QWidget *parent = nullptr);
    ~InputPage() override;

    // Hands both controls the objects of one input and initialises them. False (and a
    // message) when the objects could not be handed over.
    bool open(Sim::Network &network, const QString &deviceName, const QString &blockName, const QString &choice,
        qint16 measurementSystem);

    ctlSensorHardware *hardwareControl() const { return m_hardware; }
    ctlSensorNV *networkControl() const { return m_network; }

    // True when either control holds an edit that is not written.
    bool valueChanged() const;

    // Writes both controls. True when every write succeeded.
    bool write();

    void setMesureUnit(qint16 measurementSystem);
    void reInitializeStrings();

signals:
    // A line for the host's message pane.
    void message(const QString &line);

private:
    void relayMessages(QObject *control);

    QPointer<ctlSensorHardware> m_hardware;
    QPointer<ctlSensorNV> m_network;
};

} // namespace Host
