// SPDX-License-Identifier: MIT
// The tree of inputs to copy a configuration to.
#include "CopyToInputsDialog.h"

#include "ConfigurationCopy.h"
#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Host {

namespace {

constexpr int DeviceRole = Qt::UserRole;

QString variableName(Sim::Network &network, const InputRef &input)
{
    QString name;
    MKorvane::skipOnFailure(
        [&] { name = MKorvane::GetFirstNetworkVariable(network.block(input.device, input.block))->Name(); });
    return name;
}

} // namespace

CopyToInputsDialog::CopyToInputsDialog(Sim::Network &network, const InputRef &source, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("hostCopyDialog"));
    setWindowTitle(tr("Copy to inputs"));
    auto layout = new QVBoxLayout(this);
    const QVector<InputRef> targets = copyTargets(network, source);
    auto intro = new QLabel(this);
    intro->setWordWrap(true);
    intro->setText(targets.isEmpty()
            ? tr("No other input can take the configuration of %1 / %2: none of a device with program ID %3 has a "
                 "block of the same object version.")
                  .arg(source.device, source.block, network.programId(source.device))
            : tr("Writes every property of %1 / %2 that the two controls write to the inputs ticked below, through "
                 "the input-type defaults. Offered are the inputs of devices with program ID %3 whose block has the "
                 "same object version. The network variables keep their names.")
                  .arg(source.device, source.block, network.programId(source.device)));
    layout->addWidget(intro);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("hostCopyTargets"));
    m_tree->setAccessibleName(windowTitle());
    m_tree->setHeaderLabels({ tr("Device / input"), tr("Network variable") });
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    QTreeWidgetItem *device = nullptr;
    for (const InputRef &target : targets) {
        if (!device || device->text(0) != target.device) {
            device = new QTreeWidgetItem(m_tree, { target.device });
            device->setFlags(device->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
            device->setCheckState(0, Qt::Unchecked);
            device->setExpanded(true);
        }
        auto input = new QTreeWidgetItem(device, { target.block, variableName(network, target) });
        input->setData(0, DeviceRole, target.device);
        input->setFlags(input->flags() | Qt::ItemIsUserCheckable);
        input->setCheckState(0, Qt::Unchecked);
    }
    m_tree->setMinimumSize(420, 260);
    layout->addWidget(m_tree, 1);

    auto buttons = new QDialogButtonBox(this);
    m_copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::AcceptRole);
    m_copy->setObjectName(QStringLiteral("hostCopyOk"));
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CopyToInputsDialog::updateCopyButton);
    updateCopyButton();
}

QVector<InputRef> CopyToInputsDialog::ticked() const
{
    QVector<InputRef> inputs;
    for (int d = 0; d < m_tree->topLevelItemCount(); ++d) {
        const QTreeWidgetItem *device = m_tree->topLevelItem(d);
        for (int i = 0; i < device->childCount(); ++i) {
            if (device->child(i)->checkState(0) == Qt::Checked)
                inputs << InputRef { device->text(0), device->child(i)->text(0) };
        }
    }
    return inputs;
}

bool CopyToInputsDialog::tick(const InputRef &input, bool on)
{
    for (int d = 0; d < m_tree->topLevelItemCount(); ++d) {
        QTreeWidgetItem *device = m_tree->topLevelItem(d);
        for (int i = 0; device->text(0) == input.device && i < device->childCount(); ++i) {
            if (device->child(i)->text(0).compare(input.block, Qt::CaseInsensitive) == 0) {
                device->child(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
                return true;
            }
        }
    }
    return false;
}

void CopyToInputsDialog::updateCopyButton()
{
    const int count = int(ticked().size());
    m_copy->setEnabled(count > 0);
    m_copy->setText(count > 0 ? tr("&Copy to %n input(s)", nullptr, count) : tr("&Copy"));
}

} // namespace Host
