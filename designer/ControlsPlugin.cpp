// SPDX-License-Identifier: MIT
#include "ControlsPlugin.h"

#include "HardwareControlPlugin.h"

ControlsPlugin::ControlsPlugin(QObject *parent)
    : QObject(parent)
{
    m_widgets.append(new HardwareControlPlugin(this));
}

QList<QDesignerCustomWidgetInterface *> ControlsPlugin::customWidgets() const
{
    return m_widgets;
}
