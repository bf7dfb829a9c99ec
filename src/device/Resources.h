// SPDX-License-Identifier: MIT
// The resource-file objects that the device library's services return: type-tree
// nodes, format definitions, range information, format objects and enumeration members.
#pragma once

#include "device/Collection.h"

#include <QString>
#include <memory>

namespace DeviceAccess {

// Base kinds of type-tree nodes that the library recognises by number.
enum BaseKind : qint32 {
    BaseKindEnumeration = 7,
    BaseKindStructure = 9,
};

class TypeTreeNode
{
public:
    virtual ~TypeTreeNode() = default;
    virtual qint32 Kind() const = 0;
    virtual QString Name() const = 0;
    // Index of the unit text in the language file; 0 = none.
    virtual qint32 UnitIndex() const = 0;
    // Enumerations only (0 otherwise): where the members are defined and their value range.
    virtual double Scope() const = 0;
    virtual double TypeIndex() const = 0;
    virtual double LowestValue() const = 0;
    virtual double HighestValue() const = 0;
};

class FormatDefinition
{
public:
    virtual ~FormatDefinition() = default;
    virtual QString Name() const = 0;
    // Index of the unit text in the language file; 0 = none.
    virtual qint32 UnitIndex() const = 0;
};

class RangeNode
{
public:
    virtual ~RangeNode() = default;
    // The numeric range of the format's values, as shown; exists is False when the type has none.
    virtual void GetRange(double &minValue, double &maxValue, bool &exists) const = 0;
};

class FormatInfo
{
public:
    virtual ~FormatInfo() = default;
    virtual std::shared_ptr<RangeNode> GetRangeNode() const = 0;
};

// Converts numbers between the stored (raw, SI base) value and the value shown in a format.
class FormatObject
{
public:
    virtual ~FormatObject() = default;
    virtual double ConvertToDisplay(double value, const QString &formatName) const = 0;
    virtual double ConvertFromDisplay(double value, const QString &formatName) const = 0;
};

class EnumMember
{
public:
    virtual ~EnumMember() = default;
    virtual QString Name() const = 0;
    // The member's numeric value.
    virtual qint32 Index() const = 0;
};

using TypeTreeNodePtr = std::shared_ptr<TypeTreeNode>;
using FormatDefinitionPtr = std::shared_ptr<FormatDefinition>;
using RangeNodePtr = std::shared_ptr<RangeNode>;
using FormatInfoPtr = std::shared_ptr<FormatInfo>;
using FormatObjectPtr = std::shared_ptr<FormatObject>;
using EnumMemberPtr = std::shared_ptr<EnumMember>;
using EnumCollection = Collection<EnumMemberPtr>;
using EnumCollectionPtr = std::shared_ptr<EnumCollection>;
using StringCollection = Collection<QString>;
using StringCollectionPtr = std::shared_ptr<StringCollection>;

} // namespace DeviceAccess
