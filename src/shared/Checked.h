// SPDX-License-Identifier: MIT
/// @file
/// Checked access that turns a missing field or object into a RuntimeError instead of
/// undefined behaviour: an index past the end of a list, an object that is nothing.
#pragma once

#include "device/Failure.h"

#include <QString>
#include <memory>

namespace MKorvane {

/// Item index (0-based) of a list; throws RuntimeError "Subscript out of range" past the end.
template<typename List> const auto &fieldAt(const List &list, qsizetype index)
{
    if (index < 0 || index >= qsizetype(list.size()))
        throw DeviceAccess::RuntimeError(
            DeviceAccess::RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return list.at(index);
}

/// The object behind a pointer; throws RuntimeError "Object variable not set" for nothing.
template<typename T> T &deref(const std::shared_ptr<T> &object)
{
    if (!object)
        throw DeviceAccess::RuntimeError(
            DeviceAccess::RuntimeError::ObjectNotSet, QStringLiteral("Object variable not set"));
    return *object;
}

/// The object behind a plain pointer; throws RuntimeError "Object variable not set" for nullptr.
template<typename T> T &deref(T *object)
{
    if (!object)
        throw DeviceAccess::RuntimeError(
            DeviceAccess::RuntimeError::ObjectNotSet, QStringLiteral("Object variable not set"));
    return *object;
}

} // namespace MKorvane
