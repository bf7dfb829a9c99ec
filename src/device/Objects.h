// SPDX-License-Identifier: MIT
/// @file
/// The network-database objects that the host hands over or the device library
/// returns. Every operation may throw DeviceError.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/Collection.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace DeviceAccess {

/// Object kinds by which a parent is recognised; 1 and 5 are other database objects.
enum ObjectKind : qint32 {
    ObjectKindOther1 = 1,
    ObjectKindSystem = 3,
    ObjectKindOther5 = 5,
    ObjectKindAppDevice = 7,
    ObjectKindNetworkVariable = 22,
    ObjectKindLonMarkObject = 28,
};

class Object;
class ConfigProperty;
class ConfigProperties;
class NetworkVariable;
class NetworkVariables;
/// Shared handles of the database objects: the device library and the host share them; the
/// controls keep theirs until the host hands over others.
/// @{
using ObjectPtr = std::shared_ptr<Object>;
using ConfigPropertyPtr = std::shared_ptr<ConfigProperty>;
using ConfigPropertiesPtr = std::shared_ptr<ConfigProperties>;
using NetworkVariablePtr = std::shared_ptr<NetworkVariable>;
using NetworkVariablesPtr = std::shared_ptr<NetworkVariables>;
///@}

/// Base of every network-database object. Implemented by the device library; every
/// operation may throw DeviceError.
class VQ_EXPORT Object
{
public:
    virtual ~Object() = default;
    /// The owning object, or nullptr at the top of the chain.
    virtual ObjectPtr Parent() const = 0;
    /// The object kind (an ObjectKind value) by which a parent is recognised.
    virtual qint32 ObjectKind() const = 0;
};

/// A configuration property (CP) of a block or of a network variable.
class VQ_EXPORT ConfigProperty : public Object
{
public:
    /// The property's name, e.g. "SCPTmaxRnge".
    virtual QString Name() const = 0;
    /// The format in which ValueText is given; empty means the property's own default format.
    virtual QString Format() const = 0;
    /// Sets the format of ValueText; an unknown format throws DeviceError.
    virtual void setFormat(const QString &format) = 0;
    /// The value as text in the current format; a text the format cannot parse is refused.
    virtual QString ValueText() const = 0;
    /// Writes the value as text in the current format; a text the format cannot parse throws DeviceError.
    virtual void setValueText(const QString &text) = 0;
    /// The value as the property's default format gives it (a number or a text).
    virtual QVariant Value() const = 0;
};

/// The configuration properties of a block or of a network variable.
class VQ_EXPORT ConfigProperties : public Object
{
public:
    /// The number of properties.
    virtual qint32 Count() const = 0;
    /// By name (letter case ignored) or by position from 1; a missing item throws DeviceError.
    virtual ConfigPropertyPtr Item(const QString &name) const = 0;
    /// @copydoc Item(const QString &) const
    virtual ConfigPropertyPtr Item(qint32 position) const = 0;
};

/// A network variable of a block: the input's output variable for the controls.
class VQ_EXPORT NetworkVariable : public Object
{
public:
    /// The variable's name as the network database shows it.
    virtual QString Name() const = 0;
    /// Renames the variable; a name the device library refuses throws DeviceError.
    virtual void setName(const QString &name) = 0;
    /// The name the device's program gives the variable, e.g. "nvoHwInput[0]"; never changes.
    virtual QString ProgrammaticName() const = 0;
    /// The format in which ValueText is given (write only in the device library).
    virtual void setFormat(const QString &format) = 0;
    /// The current value as text in the format last set.
    virtual QString ValueText() const = 0;
    /// The variable's own configuration properties.
    virtual ConfigPropertiesPtr ConfigProperties() const = 0;
};

/// The network variables of a block.
class VQ_EXPORT NetworkVariables : public Object
{
public:
    /// The number of variables.
    virtual qint32 Count() const = 0;
    /// By position from 1; a missing item throws DeviceError.
    virtual NetworkVariablePtr Item(qint32 position) const = 0;
};

/// A functional block.
class VQ_EXPORT LonMarkObject : public Object
{
public:
    /// The block's name, e.g. "HwInput[0]".
    virtual QString Name() const = 0;
    /// The block's configuration properties.
    virtual ConfigPropertiesPtr ConfigProperties() const = 0;
    /// Item 1 is the output network variable of the hardware input.
    virtual NetworkVariablesPtr NetworkVariables() const = 0;
};

/// An application device: the controller whose input the controls configure.
class VQ_EXPORT AppDevice : public Object
{
public:
    /// State 4: configured and on line.
    static constexpr qint32 StateConfiguredOnline = 4;

    /// Whether the device is commissioned; the controls write only to a commissioned device.
    virtual bool Commissioned() const = 0;
    /// The device's name.
    virtual QString Name() const = 0;
    /// The device state; StateConfiguredOnline when it can be written to.
    virtual qint32 State() const = 0;
};

/// The network system the devices belong to.
class VQ_EXPORT System : public Object
{
public:
    /// Network mode 2: the network is attached.
    static constexpr qint32 NetworkModeAttached = 2;

    /// The network mode; NetworkModeAttached when writes reach the devices.
    virtual qint32 NetworkMode() const = 0;
};

/// Shared handles of the block, device and system objects that the host hands over.
/// @{
using LonMarkObjectPtr = std::shared_ptr<LonMarkObject>;
using AppDevicePtr = std::shared_ptr<AppDevice>;
using SystemPtr = std::shared_ptr<System>;
///@}

} // namespace DeviceAccess
