// SPDX-License-Identifier: MIT
// Replicating the sample network's devices.
#include "NetworkGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace Bench {

QByteArray replicateDevices(const QByteArray &sampleJson, int deviceCount)
{
    QJsonObject root = QJsonDocument::fromJson(sampleJson).object();
    const QJsonArray sample = root.value(QStringLiteral("devices")).toArray();
    QJsonArray devices;
    for (int i = 0; i < deviceCount && !sample.isEmpty(); ++i) {
        QJsonObject device = sample.at(i % sample.size()).toObject();
        if (const int copy = i / int(sample.size()); copy > 0)
            device.insert(QStringLiteral("name"),
                QStringLiteral("%1 copy %2").arg(device.value(QStringLiteral("name")).toString()).arg(copy));
        devices.append(device);
    }
    root.insert(QStringLiteral("devices"), devices);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace Bench
