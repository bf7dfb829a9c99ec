// SPDX-License-Identifier: MIT
/// @file
/// The process-wide values that every control instance shares (the last assignment wins).
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

#include <QDateTime>

namespace MKorvane {

/// The state that every control instance of the process shares, in the shared library's
/// one instance (so also with controls created by a plug-in such as the Designer plugin).
struct VQ_EXPORT ProcessState
{
    qint16 measurementSystem = 0; ///< EMeasurementSystem
    DeviceAccess::SystemPtr system; ///<  The current system (CurrentSystem); null until a control is given one.
    qint16 objMajorVersion = 0; ///<  The major version of the last block initialised (1 or 2); 0 before.
    QString offsetCpName; ///<  The offset property's name for that version.
    QString optionsCpName; ///<  The options property's name for that version.
    QString stepLevelCpName; ///<  The step-level property's name for that version.
    DeviceAccess::StringCollectionPtr displayStrings; ///< created empty on first use
    QDateTime displayStringsLoadTime; ///< invalid until the first successful load
};

/// The one instance; prefer the accessors below.
VQ_EXPORT ProcessState &processState();

/// The measurement system of every control (EMeasurementSystem); the last assignment wins.
/// @{
VQ_EXPORT qint16 MesureUnit();
VQ_EXPORT void setMesureUnit(qint16 measurementSystem);
///@}
/// The network system the controls work in; the last assignment wins.
/// @{
VQ_EXPORT DeviceAccess::SystemPtr CurrentSystem();
VQ_EXPORT void setCurrentSystem(DeviceAccess::SystemPtr system);
///@}
/// The major version of the block last initialised, which chooses the names below (InitCpNames).
/// @{
VQ_EXPORT qint16 ObjMajorVersion();
VQ_EXPORT void setObjMajorVersion(qint16 version);
///@}
/// The names of the offset, options and step-level properties for that version.
/// @{
VQ_EXPORT QString OffsetCpName();
VQ_EXPORT QString OptionsCpName();
VQ_EXPORT QString StepLevelCpName();
///@}

} // namespace MKorvane
