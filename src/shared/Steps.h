// SPDX-License-Identifier: MIT
/// @file
/// "Run this step; when it fails, do this and go on": the one place where the library
/// turns a thrown failure into a number and a description.
#pragma once

#include "device/Failure.h"
#include "shared/Strings.h"

#include <QString>
#include <exception>
#include <utility>

namespace MKorvane {

/// Runs step(). When it throws, calls onFailure(number, description) and returns false.
/// Anything thrown that is not a Failure counts as a run-time failure numbered 5.
template<typename Step, typename OnFailure> bool tryStep(Step &&step, OnFailure &&onFailure)
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const DeviceAccess::Failure &failure) {
        onFailure(failure.number(), failure.description());
    } catch (const std::exception &error) {
        onFailure(qint32(DeviceAccess::RuntimeError::InvalidProcedureCall), QString::fromLocal8Bit(error.what()));
    }
    return false;
}

/// Runs step() and ignores a failure.
template<typename Step> bool skipOnFailure(Step &&step)
{
    return tryStep(std::forward<Step>(step), [](qint32, const QString &) {});
}

/// Runs step(); a failure appends "procedure : description" (untranslated) as a line of ErrMsg,
/// unless its number is one of the two quiet ones, which are never told.
template<typename Step> bool collectFailure(QString &ErrMsg, const QString &procedure, Step &&step)
{
    return tryStep(std::forward<Step>(step), [&](qint32 number, const QString &description) {
        AppendFailure(ErrMsg, number, procedure + QStringLiteral(" : ") + description);
    });
}

} // namespace MKorvane
