// SPDX-License-Identifier: MIT
/// @file
/// Reading and writing configuration properties as text, widgets bound to them, the
/// network variable's live value, the device-state check and parent lookup.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

#include <QString>
#include <QVector>
#include <utility>

class QComboBox;
class QLineEdit;
class QWidget;

namespace MKorvane {

/// Chooses the three CP names that depend on the object's major version (1 or 2);
/// any other version leaves them as they are.
VQ_EXPORT void InitCpNames();

/// Reads the property's ValueText into Value (name is not used). False when it failed: the
/// failure's description is appended to ErrMsg (quiet numbers excepted).
VQ_EXPORT bool ReadCpValue(
    const DeviceAccess::ConfigPropertyPtr &cp, const QString &name, QString &Value, QString &ErrMsg);
/// Writes NewValue to the property in FormatName (the property's format is set for the write
/// and set back after). False when it failed: a missing property or the device library's
/// failure is appended to ErrMsg; a quiet number counts as success.
VQ_EXPORT bool WriteCpValue(
    const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, const QString &NewValue, QString &ErrMsg);
/// The widget is a QLineEdit or a QComboBox; its text is written trimmed, a number typed in
/// the user's locale in the device's C-locale form (DeviceValueText).
VQ_EXPORT bool WriteControlTextToCp(
    QWidget *control, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, QString &ErrMsg);
/// Selects the list item whose text is the property's value (letter case ignored). A failed
/// read selects nothing and is shown in a message box.
VQ_EXPORT void ReadCpValueToComboBox(
    QComboBox *combo, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName);
/// Puts the property's value into the text box; a failed read is shown in a message box.
VQ_EXPORT void ReadCpValueToTextBox(
    QLineEdit *box, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName);
/// Gives a box a text as QLineEdit::setText does, but leaves a box that shows that text
/// untouched (not edited, no selection, the cursor at the end, nothing to undo): setting
/// it again would only lay the same text out anew.
VQ_EXPORT void SetBoxText(QLineEdit *box, const QString &text);
/// Gives a list these items (text, and the value as item data) in one insertion, as many
/// addItem calls would; a list that holds exactly these items already is left as it is, and
/// one that holds their texts in order takes their values in place. Signals and the
/// selection are the caller's.
VQ_EXPORT void SetComboItems(QComboBox *combo, const QVector<std::pair<QString, qint32>> &items);
/// Reads the variable's value in FormatName into Value. False when it failed: the failure is
/// appended to ErrMsg.
VQ_EXPORT bool ReadNvValue(
    const DeviceAccess::NetworkVariablePtr &nv, const QString &FormatName, QString &Value, QString &ErrMsg);

/// Selects the item whose text equals Text ignoring case, searching from the second item
/// to the last and then the first. False (and nothing changed) when none matches.
VQ_EXPORT bool SelectComboText(QComboBox *combo, const QString &Text);
/// Selects the first item of a list that has items and no selection; nullptr is ignored.
VQ_EXPORT void SelectFirstIfNone(QComboBox *combo);
/// The exact-text search behind SelectComboText: the index found, or -1.
VQ_EXPORT int FindComboText(const QComboBox *combo, const QString &Text);

/// The format name without its absolute prefix ("#<program ID>[<scope>]."): the text after the first ".".
VQ_EXPORT QString StripFormatPrefix(const QString &formatName);

/// Whether the device can be written to now: commissioned, configured and on line, on a
/// network that is attached. False with the reason appended to ErrMsg; a failure of the
/// device library gives False without a text. A null System is looked up as the device's parent.
VQ_EXPORT bool CheckDeviceState(
    DeviceAccess::SystemPtr &System, const DeviceAccess::AppDevicePtr &device, QString &ErrMsg);

/// Whether the object is of one of the known kinds (DeviceAccess::ObjectKind) and of that kind; false for nullptr.
VQ_EXPORT bool IsObjectOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind);
/// The nearest parent of that kind; nullptr when there is none (or the chain loops).
VQ_EXPORT DeviceAccess::ObjectPtr FindParentOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind);

} // namespace MKorvane
