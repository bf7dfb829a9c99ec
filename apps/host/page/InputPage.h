// SPDX-License-Identifier: MIT
// One hardware input's configuration page: the hardware control and the network
// control side by side, handed their device objects the way the library expects,
// with their events relayed between them and into the host's message pane. It knows
// which control wrote what, and with which messages.
#pragma once

#include "ControlHandover.h"
#include "PageMessage.h"
#include "WriteOutcome.h"
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class QDialog;

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

    // Hands both controls the objects of one input and initialises them, the network
    // control first. False (and a message) when a control could not show the input.
    bool open(Sim::Network &network, const InputRef &input, const QString &choice, qint16 measurementSystem);
    bool open(Sim::Network &network, const QString &deviceName, const QString &blockName, const QString &choice,
        qint16 measurementSystem)
    {
        return open(network, InputRef { deviceName, blockName }, choice, measurementSystem);
    }
    InputRef input() const { return m_input; }

    ctlSensorHardware *hardwareControl() const { return m_hardware; }
    ctlSensorNV *networkControl() const { return m_network; }
    // The mode the hardware side last announced.
    bool setpointOffset() const { return m_setpointOffset; }

    // True when either control holds an edit of the user that is not written: a field of it
    // shows something else than right after opening. Reading the live value, an editor
    // closed with Cancel or a field typed back to its old value is no edit, nor is a stored
    // interpretation the hardware control does not offer (see write()). A table confirmed
    // in the hardware control's editor with other values than it read counts too.
    bool valueChanged() const;
    bool hardwareEdited() const;
    bool networkEdited() const;

    // Writes the hardware control when the user changed something on it, then the network
    // control when the user changed something on it (hardwareEdited(), networkEdited()), and tells per control what
    // happened, counting every message a control raised while it wrote. Afterwards every property the device took is
    // read back and compared with what was sent (ControlOutcome::readBack).
    PageOutcome write();

    void setMesureUnit(qint16 measurementSystem);
    void reInitializeStrings();

signals:
    void message(const Host::PageMessage &message);
    // A field of either control changed (the window asks valueChanged()).
    void edited();
    // The hardware side entered (true) or left a set-point-offset interpretation.
    void setpointOffsetChanged(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void relayMessages();
    // Runs read, which has both controls read their values again; what their fields show
    // then is what was read, except that a field that showed an edit before stays edited.
    void reread(const std::function<void()> &read);
    void tableEditorClosed(const QDialog &editor, int result);
    void take(const QString &side, const QString &Message, const QString &Modulename, const QString &FunctionName,
        qint32 TypeIndex);
    // silentTrue: when not empty, a True from WriteValue without any message is no failure but this note.
    ControlOutcome writeOne(bool changed, const std::function<bool()> &write, const QString &silentTrue = QString());
    QString networkSilentTrue() const;
    void reportInterpretationNotOffered();

    QPointer<ctlSensorHardware> m_hardware;
    const QObject *m_watchedControl = nullptr; // m_hardware, for the event filter
    QPointer<ctlSensorNV> m_network;
    InputRef m_input;
    Sim::Network *m_net = nullptr; // the network shown, for reading back what was written
    QString m_doing; // what the user is doing, for the headlines of messages
    ControlOutcome *m_collecting = nullptr; // the outcome of the write in progress
    bool m_setpointOffset = false;
    // Per field name, what the editable fields showed when the values were read.
    QHash<QString, QString> m_readHardware;
    QHash<QString, QString> m_readNetwork;
    QString m_tableRead; // the table the editor first started from
    bool m_tableEditorSeen = false;
    bool m_tableEdited = false; // the editor's last OK took other values than were read
};

// Calls changed() after each change of a field inside the control (text, choice, click).
void watchFields(QWidget *control, const std::function<void()> &changed);

} // namespace Host
