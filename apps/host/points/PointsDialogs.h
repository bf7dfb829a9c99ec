// SPDX-License-Identifier: MIT
// The dialogs of the points list: the import preview with a checkable list of the inputs
// (apply all, or only the ticked ones) and the question before the last confirm is undone.
#pragma once

#include "PointsImport.h"

#include <QDialog>

class QTreeWidget;

namespace Host {

class ImportPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    ImportPreviewDialog(const ImportPlan &plan, QWidget *parent = nullptr);
    // The inputs ticked (after "Apply all": every input that can be applied).
    QVector<InputRef> ticked() const;

private:
    QTreeWidget *m_tree = nullptr;
};

// What undoing the input's last confirm would change; true only when Undo was clicked.
bool confirmUndo(const PreviewResult &changes, const QString &inputName, QWidget *parent);

} // namespace Host
