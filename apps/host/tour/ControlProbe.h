// SPDX-License-Identifier: MIT
// Reads back what a control shows: its visible named widgets with their texts, in
// reading order. The screenshot tour prints it beside each picture.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace Host {

// One line per visible named widget of the control: "txtMin = 0", "cboInput = LINEAR",
// "chkReverse = [x]", "lblUnitMaxRange: °C". Labels and frames without text are left out.
QStringList describeVisibleFields(const QWidget *control);

// The current text of a named combo box inside the control, empty when there is none.
QString comboText(const QWidget *control, const QString &objectName);

} // namespace Host
