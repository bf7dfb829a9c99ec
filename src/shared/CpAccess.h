// SPDX-License-Identifier: MIT
// Reading and writing configuration properties as text, widgets bound to them, the
// network variable's live value, the device-state check and parent lookup.
#pragma once

#include "device/DeviceAccess.h"

#include <QString>
#include <QVector>
#include <utility>

class QComboBox;
class QLineEdit;
class QWidget;

namespace MKorvane {

// Chooses the three CP names that depend on the object's major version (1 or 2);
// any other version leaves them as they are.
void InitCpNames();

bool ReadCpValue(const DeviceAccess::ConfigPropertyPtr &cp, const QString &name, QString &Value, QString &ErrMsg);
bool WriteCpValue(
    const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, const QString &NewValue, QString &ErrMsg);
// The widget is a QLineEdit or a QComboBox; its text is written trimmed, a number typed in
// the user's locale in the device's C-locale form (DeviceValueText).
bool WriteControlTextToCp(
    QWidget *control, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, QString &ErrMsg);
void ReadCpValueToComboBox(QComboBox *combo, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName);
void ReadCpValueToTextBox(QLineEdit *box, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName);
// Gives a box a text as QLineEdit::setText does, but leaves a box that shows that text
// untouched (not edited, no selection, the cursor at the end, nothing to undo): setting
// it again would only lay the same text out anew.
void SetBoxText(QLineEdit *box, const QString &text);
// Gives a list these items (text, and the value as item data) in one insertion, as many
// addItem calls would; a list that holds exactly these items already is left as it is.
// Signals and the selection are the caller's.
void SetComboItems(QComboBox *combo, const QVector<std::pair<QString, qint32>> &items);
bool ReadNvValue(
    const DeviceAccess::NetworkVariablePtr &nv, const QString &FormatName, QString &Value, QString &ErrMsg);

// Selects the item whose text equals Text ignoring case, searching from the second item
// to the last and then the first. False (and nothing changed) when none matches.
bool SelectComboText(QComboBox *combo, const QString &Text);
void SelectFirstIfNone(QComboBox *combo);
// The exact-text search behind SelectComboText: the index found, or -1.
int FindComboText(const QComboBox *combo, const QString &Text);

QString StripFormatPrefix(const QString &formatName);

bool CheckDeviceState(DeviceAccess::SystemPtr &System, const DeviceAccess::AppDevicePtr &device, QString &ErrMsg);

bool IsObjectOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind);
DeviceAccess::ObjectPtr FindParentOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind);

} // namespace MKorvane
