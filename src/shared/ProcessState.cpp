// SPDX-License-Identifier: MIT
// The process-wide values shared by every control instance.
#include "shared/ProcessState.h"
#include "shared/ProcessStateTesting.h"

namespace MKorvane {

ProcessState &processState()
{
    static ProcessState state;
    return state;
}

qint16 MesureUnit()
{
    return processState().measurementSystem;
}

void setMesureUnit(qint16 measurementSystem)
{
    processState().measurementSystem = measurementSystem;
}

DeviceAccess::SystemPtr CurrentSystem()
{
    return processState().system;
}

void setCurrentSystem(DeviceAccess::SystemPtr system)
{
    processState().system = std::move(system);
}

qint16 ObjMajorVersion()
{
    return processState().objMajorVersion;
}

void setObjMajorVersion(qint16 version)
{
    processState().objMajorVersion = version;
}

QString OffsetCpName()
{
    return processState().offsetCpName;
}

QString OptionsCpName()
{
    return processState().optionsCpName;
}

QString StepLevelCpName()
{
    return processState().stepLevelCpName;
}

void resetForTests()
{
    processState() = ProcessState {};
}

} // namespace MKorvane
