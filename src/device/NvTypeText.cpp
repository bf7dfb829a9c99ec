// SPDX-License-Identifier: MIT
// The fields are views into the text: the simulated device reads this text for every
// value whose type follows its variable, so the grammar allocates only its results.
#include "device/NvTypeText.h"

#include "device/Failure.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace DeviceAccess {
namespace {

constexpr qint32 OverflowNumber = 6;

using Fields = QList<QStringView>;

QStringView at(const Fields &fields, qsizetype index)
{
    if (index >= fields.size())
        throw RuntimeError(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return fields.at(index);
}

QStringView secondWord(QStringView group)
{
    return at(group.trimmed().split(QLatin1Char(' ')), 1);
}

void appendByte(QString &id, QStringView byte)
{
    byte = byte.trimmed();
    if (byte.size() < 2)
        id += QString(2 - byte.size(), QLatin1Char('0'));
    id += byte.right(2);
}

template<typename List> QString joinBytes(const List &bytes)
{
    QString id;
    for (const auto &byte : bytes)
        appendByte(id, byte);
    return id;
}

// The rule of MKorvane::TextToLong, kept here so that the device side needs nothing of
// the library's shared module.
qint32 wholeNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    bool ok = false;
    // Plain digits read the same in every locale: the common case needs no locale at all.
    const qint32 plain = trimmed.toInt(&ok);
    if (ok)
        return plain;
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
    return joinBytes(bytes);
}

NvTypeReference parseNvTypeText(const QString &text)
{
    NvTypeReference reference;
    const QStringView view(text);
    if (view.startsWith(QLatin1String("PID"))) {
        const Fields groups = view.split(QLatin1Char(','));
        reference.programId = joinBytes(secondWord(at(groups, 0)).split(QLatin1Char(':')));
        reference.scope = wholeNumber(secondWord(at(groups, 1)));
        reference.typeIndex = wholeNumber(secondWord(at(groups, 2)));
    } else {
        // Only the first ten fields count: a long text is not split to its end.
        qsizetype end = -1;
        for (int blank = 0; blank < 10; ++blank) {
            end = view.indexOf(QLatin1Char(' '), end + 1);
            if (end < 0)
                break;
        }
        const Fields fields = (end < 0 ? view : view.left(end)).split(QLatin1Char(' '));
        for (int i = 0; i < 8; ++i)
            appendByte(reference.programId, at(fields, i));
        reference.scope = wholeNumber(at(fields, 8));
        reference.typeIndex = wholeNumber(at(fields, 9));
    }
    return reference;
}

} // namespace DeviceAccess
