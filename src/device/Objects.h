// SPDX-License-Identifier: MIT
// The network-database objects that the host hands over or the device library
// returns. Every operation may throw DeviceError.
#pragma once

#include "device/Collection.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace DeviceAccess {

// Object kinds by which a parent is recognised; 1 and 5 are other database objects.
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
using ObjectPtr = std::shared_ptr<Object>;
using ConfigPropertyPtr = std::shared_ptr<ConfigProperty>;
using ConfigPropertiesPtr = std::shared_ptr<ConfigProperties>;
using NetworkVariablePtr = std::shared_ptr<NetworkVariable>;
using NetworkVariablesPtr = std::shared_ptr<NetworkVariables>;

class Object
{
public:
    virtual ~Object() = default;
    // The owning object, or nullptr at the top of the chain.
    virtual ObjectPtr Parent() const = 0;
    virtual qint32 ObjectKind() const = 0;
};

class ConfigProperty : public Object
{
public:
    virtual QString Name() const = 0;
    // The format in which ValueText is given; empty means the property's own default format.
    virtual QString Format() const = 0;
    virtual void setFormat(const QString &format) = 0;
    // The value as text in the current format; a text the format cannot parse is refused.
    virtual QString ValueText() const = 0;
    virtual void setValueText(const QString &text) = 0;
    // The value as the property's default format gives it (a number or a text).
    virtual QVariant Value() const = 0;
};

class ConfigProperties : public Object
{
public:
    virtual qint32 Count() const = 0;
    // By name (letter case ignored) or by position from 1; a missing item throws DeviceError.
    virtual ConfigPropertyPtr Item(const QString &name) const = 0;
    virtual ConfigPropertyPtr Item(qint32 position) const = 0;
};

class NetworkVariable : public Object
{
public:
    virtual QString Name() const = 0;
    virtual void setName(const QString &name) = 0;
    virtual QString ProgrammaticName() const = 0;
    // The format in which ValueText is given (write only in the device library).
    virtual void setFormat(const QString &format) = 0;
    virtual QString ValueText() const = 0;
    virtual ConfigPropertiesPtr ConfigProperties() const = 0;
};

class NetworkVariables : public Object
{
public:
    virtual qint32 Count() const = 0;
    // By position from 1; a missing item throws DeviceError.
    virtual NetworkVariablePtr Item(qint32 position) const = 0;
};

// A functional block.
class LonMarkObject : public Object
{
public:
    virtual QString Name() const = 0;
    virtual ConfigPropertiesPtr ConfigProperties() const = 0;
    // Item 1 is the output network variable of the hardware input.
    virtual NetworkVariablesPtr NetworkVariables() const = 0;
};

class AppDevice : public Object
{
public:
    // State 4: configured and on line.
    static constexpr qint32 StateConfiguredOnline = 4;

    virtual bool Commissioned() const = 0;
    virtual QString Name() const = 0;
    virtual qint32 State() const = 0;
};

class System : public Object
{
public:
    // Network mode 2: the network is attached.
    static constexpr qint32 NetworkModeAttached = 2;

    virtual qint32 NetworkMode() const = 0;
};

using LonMarkObjectPtr = std::shared_ptr<LonMarkObject>;
using AppDevicePtr = std::shared_ptr<AppDevice>;
using SystemPtr = std::shared_ptr<System>;

} // namespace DeviceAccess
