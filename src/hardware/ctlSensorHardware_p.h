// SPDX-License-Identifier: MIT
// Small helpers shared by the implementation files of ctlSensorHardware: checked field
// access, checked object access, twips geometry and the names the control compares.
#pragma once

#include "shared/Checked.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace HardwareControl {

// Interpretation and signal-type names the control recognises (exact, case-sensitive).
inline const QString Disconnected = QStringLiteral("DISCONNECTED");
inline const QString Linear = QStringLiteral("LINEAR");
inline const QString TransTable = QStringLiteral("TRANS_TABLE");
inline const QString Digital = QStringLiteral("DIGITAL");
inline const QString MultiLevel = QStringLiteral("MULTI_LEVEL");
inline const QString StdThermistor = QStringLiteral("STD_THERMISTOR");
inline const QString SetpointOffset = QStringLiteral("SETPOINT_OFFSET");
inline const QString Setpoint = QStringLiteral("SETPOINT");

// CP names that do not depend on the object version.
inline const QString CpInterpretation = QStringLiteral("UCPTinputSignalInterpretation");
inline const QString CpSignalType = QStringLiteral("UCPTinputSignalType");
inline const QString CpThermistorType = QStringLiteral("UCPTthermistorType");
inline const QString CpTransTable = QStringLiteral("UCPTtransTable");
inline const QString CpMinRange = QStringLiteral("SCPTminRnge");
inline const QString CpMaxRange = QStringLiteral("SCPTmaxRnge");
inline const QString SignedShortFormat = QStringLiteral("UCPTsignedShort");

// The transfer-table field that holds the multi-level value on version-1 objects.
constexpr int MultiLevelField = 30;

// Field i of a blank-separated text, for writing; a missing field is the shared
// checked failure "Subscript out of range", never undefined behaviour.
inline QString &fieldAt(QStringList &fields, int i)
{
    MKorvane::fieldAt(fields, i);
    return fields[i];
}

// The object itself; nothing is the shared checked failure "Object variable not set".
template<typename T> const std::shared_ptr<T> &requireObject(const std::shared_ptr<T> &object)
{
    MKorvane::deref(object);
    return object;
}

// Positions and sizes given in twips (15 twips = 1 pixel).
constexpr int TwipsPerPixel = 15;

inline void setTopTwips(QWidget *widget, int top)
{
    widget->move(widget->x(), top / TwipsPerPixel);
}

inline void setWidthTwips(QWidget *widget, int width)
{
    widget->resize(width / TwipsPerPixel, widget->height());
}

inline int topTwips(const QWidget *widget)
{
    return widget->y() * TwipsPerPixel;
}

} // namespace HardwareControl
