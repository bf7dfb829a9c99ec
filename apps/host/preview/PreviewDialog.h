// SPDX-License-Identifier: MIT
// The dialog that shows a preview of pending writes: one line per property that would
// change or fail, then the messages the write would raise and each control's outcome.
// Long values wrap in their column, so every column is in view at the dialog's size.
#pragma once

#include "WritePreview.h"

#include <QDialog>

namespace Host {

class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    PreviewDialog(const PreviewResult &result, const QString &inputName, QWidget *parent = nullptr);
};

// The question before an input type's defaults are written to an input: every property
// that would change, now and after in the units shown (the variable's name included),
// and what would fail. Runs through the modal seam; true only when Yes was clicked.
bool confirmDefaults(const PreviewResult &changes, const QString &type, const QString &inputName, QWidget *parent);

} // namespace Host
