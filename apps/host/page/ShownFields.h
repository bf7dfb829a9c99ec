// SPDX-License-Identifier: MIT
// What a control shows, field by field: each visible value widget with the caption to
// its left and the unit to its right, as a reader of the page pairs them.
#pragma once

#include <QString>
#include <QVector>

class QWidget;

namespace Host {

struct ShownField
{
    QString field; // the widget's object name ("txtMin")
    QString caption; // the label to its left, without mnemonic and colon
    QString value; // text, chosen item, or "yes" / "no" for a box
    QString unit; // the label to its right, empty when none
};

// The control's visible fields in reading order (top to bottom, left to right).
QVector<ShownField> shownFields(const QWidget *control);

} // namespace Host
