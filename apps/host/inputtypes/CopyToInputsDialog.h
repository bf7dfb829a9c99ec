// SPDX-License-Identifier: MIT
// "Copy to inputs": the inputs that may take the shown input's configuration (same
// program ID, same object version) in a tree of devices, to tick.
#pragma once

#include "page/ControlHandover.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace Sim {
class Network;
}

namespace Host {

class CopyToInputsDialog : public QDialog
{
    Q_OBJECT

public:
    CopyToInputsDialog(Sim::Network &network, const InputRef &source, QWidget *parent = nullptr);

    QVector<InputRef> ticked() const;
    // Ticks or clears one input; false when it is not offered.
    bool tick(const InputRef &input, bool on = true);

private:
    void updateCopyButton();

    QTreeWidget *m_tree = nullptr;
    QPushButton *m_copy = nullptr;
};

} // namespace Host
