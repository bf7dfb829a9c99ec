// SPDX-License-Identifier: MIT
#include "HardwareControlPlugin.h"

#include "hardware/ctlSensorHardware.h"
#include "shared/Seams.h"

#include <QIcon>
#include <QtDebug>

HardwareControlPlugin::HardwareControlPlugin(QObject *parent)
    : QObject(parent)
{
}

QString HardwareControlPlugin::name() const
{
    return QStringLiteral("ctlSensorHardware");
}

QString HardwareControlPlugin::group() const
{
    return QStringLiteral("VqZovezuVaveva");
}

QString HardwareControlPlugin::toolTip() const
{
    return QStringLiteral("Hardware input: signal type, interpretation, range, offset and transfer table");
}

QString HardwareControlPlugin::whatsThis() const
{
    return toolTip();
}

QString HardwareControlPlugin::includeFile() const
{
    return QStringLiteral("hardware/ctlSensorHardware.h");
}

QIcon HardwareControlPlugin::icon() const
{
    return QIcon();
}

bool HardwareControlPlugin::isContainer() const
{
    return false;
}

QString HardwareControlPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"ctlSensorHardware\" name=\"ctlSensorHardware\"/></ui>");
}

bool HardwareControlPlugin::isInitialized() const
{
    return m_initialized;
}

void HardwareControlPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QWidget *HardwareControlPlugin::createWidget(QWidget *parent)
{
    // At design time no device library is installed, so translating the captions fails.
    // The plugin carries its own copy of the library's module state: routing its message
    // boxes to the log keeps Designer free of pop-ups without touching the host's state.
    MKorvane::setMessageBoxHandler([](const QString &text, int, const QString &title) {
        qInfo().noquote() << title << ":" << text;
        return MKorvane::vbOK;
    });
    return new ctlSensorHardware(parent);
}
