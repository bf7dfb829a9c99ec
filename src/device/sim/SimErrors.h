// SPDX-License-Identifier: MIT
// The error numbers of the simulated device library. They lie in the object-error
// range of the real library and avoid its two quiet numbers, so a test that sees one
// knows it came from a refusal and not from a fault it injected.
#pragma once

#include "device/Failure.h"

namespace Sim::Errors {

constexpr qint32 Base = DeviceAccess::DeviceError::ObjectErrorBase;
constexpr qint32 NoSuchItem = Base + 4001; // a property, variable or position that does not exist
constexpr qint32 InvalidHandle = Base + 4002; // a handle that is not open, or of the wrong kind
constexpr qint32 UnknownFormat = Base + 4003; // no format of that name for the program ID
constexpr qint32 InvalidValueText = Base + 4004; // a value text the format cannot parse
constexpr qint32 ValueOutOfRange = Base + 4005; // a value outside the type's range
constexpr qint32 FormatDoesNotFit = Base + 4006; // a format of a type whose values cannot hold the value
constexpr qint32 UnknownResource = Base + 4007; // a resource file, type or text that does not exist
constexpr qint32 InvalidName = Base + 4008; // an empty network-variable name
constexpr qint32 InjectedFault = Base + 4099; // the default number of an injected fault

[[noreturn]] inline void raise(qint32 number, const QString &description)
{
    throw DeviceAccess::DeviceError(number, description);
}

} // namespace Sim::Errors
