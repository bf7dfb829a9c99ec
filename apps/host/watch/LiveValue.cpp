// SPDX-License-Identifier: MIT
// Reading one input's live value.
#include "LiveValue.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

namespace Host {

namespace {

QString firstLine(const QString &text)
{
    return text.section(QStringLiteral("\r\n"), 0, 0).trimmed();
}

} // namespace

LiveValue::LiveValue(Sim::Network &network, const InputRef &input, qint16 measurementSystem, bool setpointOffset)
{
    QString errMsg;
    MKorvane::tryStep(
        [&] {
            m_system = network.system();
            m_device = network.device(input.device);
            m_block = network.block(input.device, input.block);
            DeviceAccess::TypeTreeNodePtr node;
            QString programId;
            QString longFormat;
            qint32 typeIndex = 0;
            qint32 baseKind = 0;
            if (!MKorvane::GetNvTypeFormat(MKorvane::GetFirstNetworkVariable(m_block), measurementSystem, node,
                    programId, longFormat, m_unit, typeIndex, baseKind, errMsg))
                return;
            QString diffFormat;
            MKorvane::AdjustFormatForUnits(longFormat, measurementSystem, diffFormat, m_format, errMsg);
            if (setpointOffset && !diffFormat.isEmpty())
                m_format = diffFormat;
        },
        [&](qint32, const QString &description) { errMsg = description; });
    if (m_format.isEmpty())
        m_problem = errMsg.isEmpty() ? tr("the input has no format to read its value in") : firstLine(errMsg);
}

LiveReading LiveValue::read() const
{
    LiveReading reading;
    if (!m_problem.isEmpty()) {
        reading.problem = m_problem;
        return reading;
    }
    QString errMsg;
    MKorvane::tryStep(
        [&] {
            DeviceAccess::SystemPtr system = m_system;
            if (!MKorvane::CheckDeviceState(system, m_device, errMsg))
                return;
            if (MKorvane::ReadNvValue(MKorvane::GetFirstNetworkVariable(m_block), m_format, reading.text, errMsg))
                reading.ok = MKorvane::IsNumeric(reading.text);
        },
        [&](qint32, const QString &description) { errMsg = description; });
    if (reading.ok)
        reading.value = MKorvane::Val(reading.text);
    else
        reading.problem = errMsg.isEmpty() ? tr("not a number: %1").arg(reading.text) : firstLine(errMsg);
    return reading;
}

} // namespace Host
