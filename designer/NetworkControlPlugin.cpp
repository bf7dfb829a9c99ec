// SPDX-License-Identifier: MIT
// Designer's description of ctlSensorNV: where it sits in the widget box and how it is created.
#include "NetworkControlPlugin.h"

#include "network/ctlSensorNV.h"
#include "shared/Seams.h"

#include <QIcon>
#include <QtDebug>

NetworkControlPlugin::NetworkControlPlugin(QObject *parent)
    : QObject(parent)
{
}

QString NetworkControlPlugin::name() const
{
    return QStringLiteral("ctlSensorNV");
}

QString NetworkControlPlugin::group() const
{
    return QStringLiteral("VqZovezuVaveva");
}

QString NetworkControlPlugin::toolTip() const
{
    return QStringLiteral(
        "Network variable of an input: type, unit, override, default, send delta, throttle, heartbeat and name");
}

QString NetworkControlPlugin::whatsThis() const
{
    return toolTip();
}

QString NetworkControlPlugin::includeFile() const
{
    return QStringLiteral("network/ctlSensorNV.h");
}

QIcon NetworkControlPlugin::icon() const
{
    return QIcon();
}

bool NetworkControlPlugin::isContainer() const
{
    return false;
}

QString NetworkControlPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"ctlSensorNV\" name=\"ctlSensorNV\"/></ui>");
}

bool NetworkControlPlugin::isInitialized() const
{
    return m_initialized;
}

void NetworkControlPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QWidget *NetworkControlPlugin::createWidget(QWidget *parent)
{
    // At design time no device library is installed, so translating the captions fails.
    // The plugin carries its own copy of the library's module state: routing its message
    // boxes to the log keeps Designer free of pop-ups without touching the host's state.
    MKorvane::setMessageBoxHandler([](const QString &text, int, const QString &title) {
        qInfo().noquote() << title << ":" << text;
        return MKorvane::vbOK;
    });
    return new ctlSensorNV(parent);
}
