// SPDX-License-Identifier: MIT
// The dialog that shows a preview of pending writes: one line per property that would
// change or fail, then the messages the write would raise and each control's outcome.
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

} // namespace Host
