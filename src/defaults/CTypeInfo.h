// SPDX-License-Identifier: MIT
/// @file
/// CTypeInfo: one preferred network-variable type, a type name and its index. A plain
/// value holder: both start empty / 0 and are only stored and returned.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/Collection.h"

#include <QString>
#include <memory>

/// A preferred network-variable type that the host offers the network control (see above).
class VQ_EXPORT CTypeInfo
{
public:
    /// The type's name, e.g. "SNVT_temp_p".
    /// @{
    QString TypeName() const { return m_typeName; }
    void setTypeName(const QString &strTypeName) { m_typeName = strTypeName; }
    ///@}

    /// The type's index in its resource set.
    /// @{
    qint16 Index() const { return m_index; }
    void setIndex(qint16 intIndex) { m_index = intIndex; }
    ///@}

private:
    QString m_typeName;
    qint16 m_index = 0;
};

/// A preferred type, shared with the host.
using CTypeInfoPtr = std::shared_ptr<CTypeInfo>;
/// The preferred types, in the order the host added them.
using CTypeInfoCollection = DeviceAccess::Collection<CTypeInfoPtr>;
