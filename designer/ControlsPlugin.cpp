// SPDX-License-Identifier: MIT
#include "ControlsPlugin.h"

#include "ControlPlugin.h"
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"

ControlsPlugin::ControlsPlugin(QObject *parent)
    : QObject(parent)
{
    m_widgets.append(new ControlPlugin(
        QStringLiteral("ctlSensorHardware"), QStringLiteral("sensorHardware"),
        QStringLiteral("hardware/ctlSensorHardware.h"),
        QStringLiteral("Hardware input: signal type, interpretation, range, offset and transfer table"),
        [](QWidget *parent) { return new ctlSensorHardware(parent); }, this));
    m_widgets.append(new ControlPlugin(
        QStringLiteral("ctlSensorNV"), QStringLiteral("sensorNV"), QStringLiteral("network/ctlSensorNV.h"),
        QStringLiteral(
            "Network variable of an input: type, unit, override, default, send delta, throttle, heartbeat and name"),
        [](QWidget *parent) { return new ctlSensorNV(parent); }, this));
}

QList<QDesignerCustomWidgetInterface *> ControlsPlugin::customWidgets() const
{
    return m_widgets;
}
