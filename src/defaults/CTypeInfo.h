// SPDX-License-Identifier: MIT
// CTypeInfo: one preferred network-variable type, a type name and its index. A plain
// value holder: both start empty / 0 and are only stored and returned.
#pragma once

#include "device/Collection.h"

#include <QString>
#include <memory>

class CTypeInfo
{
public:
    QString TypeName() const { return m_typeName; }
    void setTypeName(const QString &strTypeName) { m_typeName = strTypeName; }

    qint16 Index() const { return m_index; }
    void setIndex(qint16 intIndex) { m_index = intIndex; }

private:
    QString m_typeName;
    qint16 m_index = 0;
};

using CTypeInfoPtr = std::shared_ptr<CTypeInfo>;
using CTypeInfoCollection = DeviceAccess::Collection<CTypeInfoPtr>;
