// SPDX-License-Identifier: MIT
// The process-wide values that every control instance shares (the last assignment wins).
#pragma once

#include "device/DeviceAccess.h"

#include <QDateTime>

namespace MKorvane {

struct ProcessState
{
    qint16 measurementSystem = 0; // EMeasurementSystem
    DeviceAccess::SystemPtr system;
    qint16 objMajorVersion = 0;
    QString offsetCpName;
    QString optionsCpName;
    QString stepLevelCpName;
    DeviceAccess::StringCollectionPtr displayStrings; // created empty on first use
    QDateTime displayStringsLoadTime; // invalid until the first successful load
};

// The one instance; prefer the accessors below.
ProcessState &processState();

qint16 MesureUnit();
void setMesureUnit(qint16 measurementSystem);
DeviceAccess::SystemPtr CurrentSystem();
void setCurrentSystem(DeviceAccess::SystemPtr system);
qint16 ObjMajorVersion();
void setObjMajorVersion(qint16 version);
QString OffsetCpName();
QString OptionsCpName();
QString StepLevelCpName();

} // namespace MKorvane
