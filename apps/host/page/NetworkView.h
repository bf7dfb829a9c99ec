// SPDX-License-Identifier: MIT
// A second view of an input's network side: its own ctlSensorNV on the same input in a
// window of its own. The host keeps the override value of every view of an input in
// step (ValueChangeEvent of one, ValueChange of the others). Only the override can be
// edited here; the other fields are written from the input page. A view follows the
// input the window shows; while the window shows none, it takes no edit and says why.
#pragma once

#include "ControlHandover.h"
#include "PageMessage.h"
#include "network/ctlSensorNV.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace Sim {
class Network;
}

namespace Host {

class NetworkView : public QWidget
{
    Q_OBJECT

public:
    explicit NetworkView(QWidget *parent = nullptr);
    ~NetworkView() override;

    // Hands the control its objects and reads the input; false (and a message) on failure.
    bool open(Sim::Network &network, const InputRef &input, qint16 measurementSystem, bool setpointOffset);
    // No input to show: the control takes no edit and the reason is shown above it.
    void suspend(const QString &reason);
    InputRef input() const { return m_input; }
    ctlSensorNV *control() const { return m_control; }

    void setSetpointOffset(bool on) { m_control->UpdateSetpointOffSet(on); }
    void setMesureUnit(qint16 measurementSystem) { m_control->setMesureUnit(measurementSystem); }
    void reInitializeStrings() { m_control->ReInitializeStrings(); }

signals:
    void message(const Host::PageMessage &message);

private:
    void lockAllButOverride();

    QPointer<ctlSensorNV> m_control;
    QLabel *m_note = nullptr;
    InputRef m_input;
};

} // namespace Host
