// SPDX-License-Identifier: MIT
// Designer's description of one of the library's controls.
#include "ControlPlugin.h"

#include "shared/Seams.h"

#include <QIcon>
#include <QtDebug>

ControlPlugin::ControlPlugin(const QString &className, const QString &objectName, const QString &includeFile,
    const QString &toolTip, Factory create, QObject *parent)
    : QObject(parent)
    , m_className(className)
    , m_objectName(objectName)
    , m_includeFile(includeFile)
    , m_toolTip(toolTip)
    , m_create(std::move(create))
{
}

QIcon ControlPlugin::icon() const
{
    return QIcon();
}

QString ControlPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\"/></ui>")
        .arg(m_className, m_objectName);
}

QWidget *ControlPlugin::createWidget(QWidget *parent)
{
    // At design time no device library is installed, so translating the captions fails.
    // The plugin carries its own copy of the library's module state: routing its message
    // boxes to the log keeps Designer free of pop-ups without touching the host's state.
    MKorvane::setMessageBoxHandler([](const QString &text, int, const QString &title) {
        qInfo().noquote() << title << ":" << text;
        return MKorvane::vbOK;
    });
    return m_create(parent);
}
