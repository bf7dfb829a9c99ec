// SPDX-License-Identifier: MIT
/// @file
/// CInfoFromDrf: reads one enumeration (the input types, the signal interpretations, ...)
/// out of the type file of a device's resource set, identified by program ID and scope.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

#include <QString>

/// Reads enumerations out of a device's resource set (see above); a plain value type.
class VQ_EXPORT CInfoFromDrf
{
public:
    /// The program ID of the resource set, 16 hexadecimal digits.
    /// @{
    QString ProgramId() const { return m_programId; }
    void setProgramId(const QString &Value) { m_programId = Value; }
    ///@}

    /// The scope of the resource set.
    /// @{
    qint32 Scope() const { return m_scope; }
    void setScope(qint32 Value) { m_scope = Value; }
    ///@}

    /// Fills ColEnumInputTypes with the members of enumeration EnumIndex whose values lie in
    /// [EnumMin, EnumMax]. Failures append their translated text or description to ErrMsg.
    /// True once the enumeration was fetched; the collection is left alone when it was not.
    /// Each call hands out a collection of its own, never one shared with an earlier call.
    bool GetEnumeration(DeviceAccess::EnumCollectionPtr &ColEnumInputTypes, qint32 EnumIndex, qint32 EnumMin,
        qint32 EnumMax, QString &ErrMsg);

private:
    QString m_programId;
    qint32 m_scope = 0;
};
