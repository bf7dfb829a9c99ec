// SPDX-License-Identifier: MIT
/// @file
/// The enumerations published with the controls.
#pragma once

/// The measurement system in which the controls show values (MesureUnit).
enum EMeasurementSystem {
    MEASUREMENT_SYSTEM_SI = 0, ///<  Metric units.
    MEASUREMENT_SYSTEM_US = 1, ///<  US customary units.
};

/// Bounds and catalog index of the signal-interpretation enumeration.
enum EEnumIndexSignalInterpret {
    ENUM_SIGNAL_INTERPRET_MIN_INDEX = 0,
    ENUM_SIGNAL_INTERPRET_MAX_INDEX = 6,
    ENUM_INDEX_SIGNAL_INTERPRET = 17,
};
