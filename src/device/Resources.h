// SPDX-License-Identifier: MIT
/// @file
/// The resource-file objects that the device library's services return: type-tree
/// nodes, format definitions, range information, format objects and enumeration members.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/Collection.h"

#include <QString>
#include <memory>

namespace DeviceAccess {

/// Base kinds of type-tree nodes that the library recognises by number.
enum BaseKind : qint32 {
    BaseKindEnumeration = 7,
    BaseKindStructure = 9,
};

/// A type of a type file, as TypeService::GetTreeNode returns it. Implemented by the device
/// library; every operation may throw DeviceError.
class VQ_EXPORT TypeTreeNode
{
public:
    virtual ~TypeTreeNode() = default;
    /// The base kind of the type (BaseKind values among others).
    virtual qint32 Kind() const = 0;
    /// The type's name, e.g. "SNVT_temp_p".
    virtual QString Name() const = 0;
    /// Index of the unit text in the language file; 0 = none.
    virtual qint32 UnitIndex() const = 0;
    /// Enumerations only (0 otherwise): where the members are defined and their value range.
    /// @{
    virtual double Scope() const = 0;
    virtual double TypeIndex() const = 0;
    virtual double LowestValue() const = 0;
    virtual double HighestValue() const = 0;
    ///@}
};

/// A format of a format file. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT FormatDefinition
{
public:
    virtual ~FormatDefinition() = default;
    /// The format's name, e.g. "SNVT_temp_p#US".
    virtual QString Name() const = 0;
    /// Index of the unit text in the language file; 0 = none.
    virtual qint32 UnitIndex() const = 0;
};

/// The range of a format's values. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT RangeNode
{
public:
    virtual ~RangeNode() = default;
    /// The numeric range of the format's values, as shown; exists is False when the type has none.
    virtual void GetRange(double &minValue, double &maxValue, bool &exists) const = 0;
};

/// What the device library knows of a format for a network variable; may throw DeviceError.
class VQ_EXPORT FormatInfo
{
public:
    virtual ~FormatInfo() = default;
    /// The range of the format's values; nullptr when the device library has none.
    virtual std::shared_ptr<RangeNode> GetRangeNode() const = 0;
};

/// Converts numbers between the stored (raw, SI base) value and the value shown in a format.
class VQ_EXPORT FormatObject
{
public:
    virtual ~FormatObject() = default;
    /// A stored value (SI base units) as the format shows it; may throw DeviceError.
    virtual double ConvertToDisplay(double value, const QString &formatName) const = 0;
    /// A value as the format shows it, back in SI base units; may throw DeviceError.
    virtual double ConvertFromDisplay(double value, const QString &formatName) const = 0;
};

/// A member of an enumeration type. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT EnumMember
{
public:
    virtual ~EnumMember() = default;
    /// The member's name as the type file gives it.
    virtual QString Name() const = 0;
    /// The member's numeric value.
    virtual qint32 Index() const = 0;
};

/// Shared handles of the resource objects; the device library and its users share them.
/// @{
using TypeTreeNodePtr = std::shared_ptr<TypeTreeNode>;
using FormatDefinitionPtr = std::shared_ptr<FormatDefinition>;
using RangeNodePtr = std::shared_ptr<RangeNode>;
using FormatInfoPtr = std::shared_ptr<FormatInfo>;
using FormatObjectPtr = std::shared_ptr<FormatObject>;
using EnumMemberPtr = std::shared_ptr<EnumMember>;
using EnumCollection = Collection<EnumMemberPtr>;
using EnumCollectionPtr = std::shared_ptr<EnumCollection>;
///@}
/// The display strings of an application, keyed by the upper-cased English text.
/// @{
using StringCollection = Collection<QString>;
using StringCollectionPtr = std::shared_ptr<StringCollection>;
///@}

} // namespace DeviceAccess
