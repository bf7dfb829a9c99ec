// SPDX-License-Identifier: MIT
// The window's tree of devices and inputs.
#include "DeviceTree.h"

#include "HostWindow.h"
#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"
#include "window/ThemeColors.h"

namespace Host {

namespace {

constexpr int NameRole = Qt::UserRole;
constexpr int ProblemRole = Qt::UserRole + 1;

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

} // namespace

DeviceTree::DeviceTree(QWidget *parent)
    : QTreeWidget(parent)
{
}

void DeviceTree::fill(Sim::Network &network)
{
    clear();
    DeviceAccess::SystemPtr system = network.system();
    for (const QString &deviceName : network.deviceNames()) {
        QString problem;
        if (!MKorvane::CheckDeviceState(system, network.device(deviceName), problem))
            problem = problem.isEmpty() ? HostWindow::tr("The state of the device cannot be read.") : oneLine(problem);
        auto device = new QTreeWidgetItem(this, { deviceName, problem.isEmpty() ? HostWindow::tr("ready") : problem });
        device->setData(0, NameRole, deviceName);
        device->setData(0, ProblemRole, problem);
        device->setToolTip(1, problem);
        if (!problem.isEmpty())
            device->setForeground(1, problemColor(palette()));
        for (const QString &blockName : network.blockNames(deviceName)) {
            auto input = new QTreeWidgetItem(device, { blockName });
            input->setData(0, NameRole, blockName);
            if (!problem.isEmpty()) {
                // Not choosable: the device cannot be configured now.
                input->setFlags(input->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
                input->setToolTip(0, HostWindow::tr("Cannot be chosen: %1").arg(problem));
            }
        }
    }
    expandAll();
    fitNameColumn();
}

void DeviceTree::retranslate()
{
    setHeaderLabels({ HostWindow::tr("Device / input"), HostWindow::tr("State") });
    fitNameColumn();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, ProblemRole).toString().isEmpty())
            topLevelItem(i)->setText(1, HostWindow::tr("ready"));
    }
}

// Every device and input name whole, with room before the state: sized over all rows, not
// only those in view, and a little wider than the longest name, so that no font's
// rounding cuts a name or runs it into the state.
void DeviceTree::fitNameColumn()
{
    resizeColumnToContents(0);
    setColumnWidth(0, columnWidth(0) + fontMetrics().horizontalAdvance(QStringLiteral("   ")));
}

QTreeWidgetItem *DeviceTree::deviceItem(const QString &deviceName) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->text(0).compare(deviceName, Qt::CaseInsensitive) == 0)
            return topLevelItem(i);
    }
    return nullptr;
}

void DeviceTree::stayOn(QTreeWidgetItem *item)
{
    setCurrentItem(item);
    // The tree goes on with the click or key after its signal and selects the item the
    // user left; once it is done, the selection comes back to the input still shown.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QTreeWidgetItem *shown = currentItem())
                setCurrentItem(shown, 0, QItemSelectionModel::ClearAndSelect);
        },
        Qt::QueuedConnection);
}

QTreeWidgetItem *DeviceTree::inputItem(QTreeWidgetItem *device, const QString &blockName)
{
    for (int i = 0; i < device->childCount(); ++i) {
        if (device->child(i)->text(0).compare(blockName, Qt::CaseInsensitive) == 0)
            return device->child(i);
    }
    return nullptr;
}

QString DeviceTree::currentDevice() const
{
    const QTreeWidgetItem *item = currentItem();
    return item ? (item->parent() ? item->parent() : item)->text(0) : QString();
}

QString DeviceTree::currentInput() const
{
    const QTreeWidgetItem *item = currentItem();
    return item && item->parent() ? item->text(0) : QString();
}

QStringList DeviceTree::inputNames() const
{
    QStringList names;
    if (const QTreeWidgetItem *device = deviceItem(currentDevice())) {
        for (int i = 0; i < device->childCount(); ++i)
            names << device->child(i)->text(0);
    }
    return names;
}

QString DeviceTree::problemOf(const QTreeWidgetItem *item)
{
    const QTreeWidgetItem *device = isDevice(item) ? item : item->parent();
    return device->data(0, ProblemRole).toString();
}

} // namespace Host
