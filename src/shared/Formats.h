// SPDX-License-Identifier: MIT
// The network variable's type from SCPTnvType, and its format, base kind and unit
// text through the device's resource catalog.
#pragma once

#include "device/DeviceAccess.h"

#include <QStringList>

namespace MKorvane {

bool ParseNvTypeValue(const QString &text, qint32 &Scope, QString &ProgramId, qint32 &TypeIndex, QString &ErrMsg);
bool JoinProgramIdBytes(const QStringList &bytes, QString &ProgramId);
bool ParseProgramIdText(const QString &group0, QString &ProgramId, QString &ErrMsg);
bool IsInStringArray(const QStringList &list, const QString &text);

// "#" + program ID + "[" + scope + "]."
QString AbsoluteFormatPrefix(const QString &ProgramId, qint32 Scope);

bool GetDrfFileNames(const QString &ProgramId, qint32 Scope, QString &TypeFile, QString &FormatFile,
    QString &LanguageFile, QString &ErrMsg);
qint32 OpenTypeFile(const QString &ProgramId, qint32 Scope, QString &TypeFilePath);
bool GetTypeTreeNode(
    const QString &ProgramId, qint32 Scope, qint32 TypeIndex, DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ErrMsg);
bool GetFormatDefinition(const QString &FormatFile, qint16 MesureUnit, DeviceAccess::FormatDefinitionPtr &Format,
    const QString &typeName, QString &LongFormat, QString &ErrMsg);
bool GetFormatUnitText(const QString &LanguageFile, const DeviceAccess::FormatDefinitionPtr &Format,
    const DeviceAccess::TypeTreeNodePtr &TreeNode, QString &UnitText, QString &ErrMsg);

// The whole resolution for one network variable.
bool GetNvTypeFormat(const DeviceAccess::NetworkVariablePtr &nv, qint16 MesureUnit,
    DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ProgramId, QString &LongFormat, QString &UnitText,
    qint32 &TypeIndex, qint32 &BaseKind, QString &ErrMsg);

} // namespace MKorvane
