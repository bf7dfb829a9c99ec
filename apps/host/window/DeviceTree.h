// SPDX-License-Identifier: MIT
// The window's tree of devices and their hardware inputs (functional blocks), with each
// device's state. The inputs of a device that cannot be configured now cannot be chosen;
// their tool tip says why.
#pragma once

#include <QTreeWidget>

namespace Sim {
class Network;
}

namespace Host {

class DeviceTree : public QTreeWidget
{
public:
    explicit DeviceTree(QWidget *parent = nullptr);

    // Every device of the network with its inputs (none chosen yet).
    void fill(Sim::Network &network);
    void retranslate();

    QTreeWidgetItem *deviceItem(const QString &deviceName) const;
    // Goes back to the item the user left (the input still shown), also after the click or
    // key that chose another item is done.
    void stayOn(QTreeWidgetItem *item);
    static QTreeWidgetItem *inputItem(QTreeWidgetItem *device, const QString &blockName);
    QString currentDevice() const;
    QString currentInput() const;
    QStringList inputNames() const; // of the current device
    static bool isDevice(const QTreeWidgetItem *item) { return item && !item->parent(); }
    // Empty when the device of this item can be configured now; else why not.
    static QString problemOf(const QTreeWidgetItem *item);

private:
    void fitNameColumn();
};

} // namespace Host
