// SPDX-License-Identifier: MIT
#include "device/NvTypeText.h"

#include "device/Failure.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace DeviceAccess {
namespace {

constexpr qint32 OverflowNumber = 6;

const QString &at(const QStringList &fields, qsizetype index)
{
    if (index >= fields.size())
        throw RuntimeError(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return fields.at(index);
}

QString secondWord(const QString &group)
{
    return at(group.trimmed().split(QLatin1Char(' ')), 1);
}

// The rule of MKorvane::TextToLong, kept here so that the device side needs nothing of
// the library's shared module.
qint32 wholeNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = trimmed.isEmpty() ? 0.0 : QLocale().toDouble(trimmed, &ok);
    if (!ok && !trimmed.isEmpty())
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        throw RuntimeError(RuntimeError::TypeMismatch, QStringLiteral("Type mismatch"));
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        throw RuntimeError(OverflowNumber, QStringLiteral("Overflow"));
    return qint32(rounded);
}

} // namespace

QString joinProgramIdBytes(const QStringList &bytes)
{
    QString id;
    for (const QString &byte : bytes)
        id += (QStringLiteral("00") + byte.trimmed()).right(2);
    return id;
}

NvTypeReference parseNvTypeText(const QString &text)
{
    NvTypeReference reference;
    if (text.startsWith(QLatin1String("PID"))) {
        const QStringList groups = text.split(QLatin1Char(','));
        reference.programId = joinProgramIdBytes(secondWord(at(groups, 0)).split(QLatin1Char(':')));
        reference.scope = wholeNumber(secondWord(at(groups, 1)));
        reference.typeIndex = wholeNumber(secondWord(at(groups, 2)));
    } else {
        // Only the first ten fields count: a long text is not split to its end.
        const QStringList fields = text.section(QLatin1Char(' '), 0, 9).split(QLatin1Char(' '));
        QStringList bytes;
        for (int i = 0; i < 8; ++i)
            bytes.append(at(fields, i));
        reference.programId = joinProgramIdBytes(bytes);
        reference.scope = wholeNumber(at(fields, 8));
        reference.typeIndex = wholeNumber(at(fields, 9));
    }
    return reference;
}

} // namespace DeviceAccess
