// SPDX-License-Identifier: MIT
#include "ControlsPlugin.h"

#include "HardwareControlPlugin.h"
#include "NetworkControlPlugin.h"

ControlsPlugin::ControlsPlugin(QObject *parent)
    : QObject(parent)
{
    m_widgets.append(new HardwareControlPlugin(this));
    m_widgets.append(new NetworkControlPlugin(this));
}

QList<QDesignerCustomWidgetInterface *> ControlsPlugin::customWidgets() const
{
    return m_widgets;
}
