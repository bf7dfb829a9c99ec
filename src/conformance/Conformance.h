// SPDX-License-Identifier: MIT
/// @file
/// The conformance suite: checks an implementation of the device library against what
/// this library relies on, on one device that the integrator knows, and reports check by
/// check what the implementation does differently.
#pragma once

#include "vqzovezuvavevaconformance_export.h"

#include "device/DeviceAccess.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace Conformance {

/// One device of the integrator's network, as the host would hand it to the controls.
struct VQ_CONFORMANCE_EXPORT KnownDevice
{
    DeviceAccess::SystemPtr system; ///<  The network system, as the host passes System.
    DeviceAccess::AppDevicePtr device; ///<  The device, as the host passes DeviceObject.
    QString programId; ///< 16 hexadecimal digits, as the host passes DeviceProgID
    qint32 scope = 0; ///< as the host passes DRFScope
    DeviceAccess::LonMarkObjectPtr block; ///< a hardware input's functional block
    /// The programmatic name of the block's network variable 1 (the input's output variable).
    QString networkVariableName;
    /// A property of the block and its value text in the property's default format.
    QString propertyName;
    QString propertyValueText; ///<  The value text of propertyName in its default format.
    /// The absolute format in which the property is written; empty: the format of the
    /// network variable's type as the library resolves it (right for range properties).
    QString propertyFormat;
    /// Write checks write the known value back in the given format and try a text that no
    /// format parses; false leaves the device untouched and skips them.
    bool allowWrites = true;
};

/// How a check ended: passed, failed, or skipped (it could not run, e.g. writes not allowed).
enum class Outcome { Passed, Failed, Skipped };

/// The outcome of one check.
struct VQ_CONFORMANCE_EXPORT CheckResult
{
    QString name; ///< stable, e.g. "properties.keysIgnoreCase"
    QString requirement; ///< what the library relies on
    Outcome outcome = Outcome::Passed; ///<  How the check ended.
    QString detail; ///< for a failure: what the implementation did; for a skip: why
};

/// What run() found, check by check.
struct VQ_CONFORMANCE_EXPORT Report
{
    QVector<CheckResult> checks; ///<  Every check in the order run.
    /// Whether no check failed (skipped checks do not fail the report).
    bool passed() const;
    /// The names of the checks that failed, in order.
    QStringList failedChecks() const;
    /// One line per check: "PASS|FAIL|SKIP name: requirement", a failure's detail indented below.
    QString toText() const;
};

/// Runs every check against the implementation without installing it: the services are
/// created from it here, so the process's installed device library is not touched.
/// Never throws; whatever the implementation throws is reported by the check that met it.
VQ_CONFORMANCE_EXPORT Report run(DeviceAccess::Implementation &implementation, const KnownDevice &device);

} // namespace Conformance
