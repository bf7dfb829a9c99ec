// SPDX-License-Identifier: MIT
/// @file
/// The network variable's type from SCPTnvType, and its format, base kind and unit
/// text through the device's resource catalog.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

#include <QStringList>

namespace MKorvane {

/// Reads an SCPTnvType text (DeviceAccess::parseNvTypeText) into its parts. False with a
/// translated message appended to ErrMsg for an empty or malformed text.
VQ_EXPORT bool ParseNvTypeValue(
    const QString &text, qint32 &Scope, QString &ProgramId, qint32 &TypeIndex, QString &ErrMsg);
/// The program ID of byte texts (DeviceAccess::joinProgramIdBytes); always True.
VQ_EXPORT bool JoinProgramIdBytes(const QStringList &bytes, QString &ProgramId);
/// The program ID of the labelled layout's first group ("PID 90:00:..."); a malformed group
/// throws RuntimeError to the caller.
VQ_EXPORT bool ParseProgramIdText(const QString &group0, QString &ProgramId, QString &ErrMsg);
/// Whether the list holds the text, letter case ignored.
VQ_EXPORT bool IsInStringArray(const QStringList &list, const QString &text);

/// "#" + program ID + "[" + scope + "]."
VQ_EXPORT QString AbsoluteFormatPrefix(const QString &ProgramId, qint32 Scope);

/// The type, format and language files of a resource set through the resource catalog.
/// False with the reason appended to ErrMsg (no catalog, a failure of the device library).
VQ_EXPORT bool GetDrfFileNames(const QString &ProgramId, qint32 Scope, QString &TypeFile, QString &FormatFile,
    QString &LanguageFile, QString &ErrMsg);
/// Opens the type file of a resource set and gives its path; the handle, or 0 when there is
/// none. The caller closes it (ResourceCatalog::CloseResourceFile). Throws DeviceError.
VQ_EXPORT qint32 OpenTypeFile(const QString &ProgramId, qint32 Scope, QString &TypeFilePath);
/// The type of an index in the type file of a resource set. False with the reason appended to ErrMsg.
VQ_EXPORT bool GetTypeTreeNode(
    const QString &ProgramId, qint32 Scope, qint32 TypeIndex, DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ErrMsg);
/// The format of the type for the measurement system (its "#US" or "#SI" variant when it has
/// variants) and its long name. False for an empty file name, or with the reason appended to ErrMsg.
VQ_EXPORT bool GetFormatDefinition(const QString &FormatFile, qint16 MesureUnit,
    DeviceAccess::FormatDefinitionPtr &Format, const QString &typeName, QString &LongFormat, QString &ErrMsg);
/// The unit text of the format (or of the type when the format has none) in the current
/// language. False with the reason appended to ErrMsg.
VQ_EXPORT bool GetFormatUnitText(const QString &LanguageFile, const DeviceAccess::FormatDefinitionPtr &Format,
    const DeviceAccess::TypeTreeNodePtr &TreeNode, QString &UnitText, QString &ErrMsg);

/// The whole resolution for one network variable.
VQ_EXPORT bool GetNvTypeFormat(const DeviceAccess::NetworkVariablePtr &nv, qint16 MesureUnit,
    DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ProgramId, QString &LongFormat, QString &UnitText,
    qint32 &TypeIndex, qint32 &BaseKind, QString &ErrMsg);

} // namespace MKorvane
