// SPDX-License-Identifier: MIT
// Turning stored values into text in a format and back.
#include "device/sim/SimValues.h"

#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"

#include <QLocale>
#include <QStringTokenizer>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace Sim {
namespace {

bool isScalar(ValueClass c)
{
    return c == ValueClass::Number || c == ValueClass::Enumeration;
}

// The member of that value. A number that is not a 32-bit integer (1e20, NaN) has none and
// is never converted, since the conversion would be undefined.
const EnumMemberDef *memberOf(const TypeDef &type, double value)
{
    if (!(value == std::nearbyint(value) && value >= std::numeric_limits<qint32>::min()
            && value <= std::numeric_limits<qint32>::max()))
        return nullptr;
    return type.member(qint32(value));
}

bool nearlyAtMost(double a, double b)
{
    return a <= b + 1e-9 * std::max(1.0, std::fabs(b));
}

// Rounds to the resolution the way the device stores the value (as a whole number of steps).
double quantize(double value, double resolution)
{
    if (resolution <= 0)
        return value;
    const double steps = std::nearbyint(value / resolution);
    const double perUnit = 1.0 / resolution;
    if (std::fabs(perUnit - std::nearbyint(perUnit)) < 1e-9)
        return steps / std::nearbyint(perUnit); // exact for resolutions like 0.01
    return steps * resolution;
}

// Removes the noise of binary arithmetic (0.30000000000000004) without losing real digits:
// the value rounded to twelve significant digits, as QString::number(value, 'g', 12) rounds
// it (the nearest, an exact tie away from zero), read back.
double clean(double value)
{
    // Whole numbers below 10^12 have twelve digits at most: nothing to round, but -0 becomes
    // 0 as it does through the text (NaN and the infinities take the text's way, which keeps them).
    if (std::abs(value) < 1e12 && value == std::trunc(value))
        return value + 0.0;
    // std::to_chars rounds an exact tie to even: a value that is exactly a thirteen-digit
    // decimal ending in 5 goes the way of Qt's text. Thirteen digits in scientific form keep
    // their zeros, so the thirteenth is the one before the exponent.
    char text[48];
    std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 12);
    const char *exponent = std::find(text, written.ptr, 'e');
    double back = 0;
    if (written.ec != std::errc()
        || (exponent != written.ptr && exponent[-1] == '5' && std::from_chars(text, written.ptr, back).ec == std::errc()
            && back == value))
        return QString::number(value, 'g', 12).toDouble();
    written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 11);
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

[[noreturn]] void refuseText(const QString &text, const FormatDef &format, const QString &why = QString())
{
    Errors::raise(Errors::InvalidValueText,
        QStringLiteral("The text '%1' is not a valid value in the format %2%3.")
            .arg(text, format.name, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
}

void checkLimits(double value, const NumericLimits &limits, const QString &what)
{
    if (limits.hasRange && (!nearlyAtMost(limits.minimum, value) || !nearlyAtMost(value, limits.maximum))) {
        Errors::raise(Errors::ValueOutOfRange,
            QStringLiteral("The value %1 lies outside the range %2 to %3 of %4.")
                .arg(numberText(value, -1), numberText(limits.minimum, -1), numberText(limits.maximum, -1), what));
    }
}

// A scalar of the format's type stored as a value of valueType.
double storeScalar(double value, const TypeDef &valueType)
{
    if (valueType.valueClass == ValueClass::Enumeration) {
        if (!memberOf(valueType, value)) {
            Errors::raise(Errors::ValueOutOfRange,
                QStringLiteral("%1 is not a member of %2.").arg(numberText(value, -1), valueType.name));
        }
        return value;
    }
    const double stored = quantize(value, valueType.limits.resolution);
    checkLimits(stored, valueType.limits, valueType.name);
    return stored;
}

QString checkTextOnce(const QString &text, const TypeDef &type)
{
    const TextRule &rule = type.text;
    if (rule.layout == QLatin1String("nvType")) {
        NvTypeRef ref;
        return parseNvTypeText(text, ref) ? QString() : QStringLiteral("not a network-variable type reference");
    }
    // Counted and walked in place: a long text costs no list of its fields.
    const qsizetype fieldCount = text.count(QLatin1Char(' ')) + 1;
    if (rule.minFields > 0 && fieldCount < rule.minFields)
        return QStringLiteral("%1 fields where at least %2 are needed").arg(fieldCount).arg(rule.minFields);
    if (rule.maxFields > 0 && fieldCount > rule.maxFields)
        return QStringLiteral("%1 fields where at most %2 are allowed").arg(fieldCount).arg(rule.maxFields);
    if (rule.numeric) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        qsizetype i = 0;
        for (const QStringView field : QStringTokenizer(text, QLatin1Char(' '))) {
            bool ok = false;
            double number = 0;
            if (!field.isEmpty() && !field.front().isSpace() && !field.back().isSpace())
                number = c.toDouble(field, &ok);
            if (!ok || !std::isfinite(number)) {
                const QString shown
                    = field.size() > 40 ? field.left(40).toString() + QStringLiteral("…") : field.toString();
                return QStringLiteral("field %1 ('%2') is not a number").arg(i).arg(shown);
            }
            ++i;
        }
    }
    return QString();
}

QString checkText(const QString &text, const TypeDef &type)
{
    if (type.acceptedTexts.contains(text))
        return QString();
    QString why = checkTextOnce(text, type);
    if (why.isEmpty()) {
        if (type.acceptedTexts.size() > 1024) // texts written one by one must not pile up
            type.acceptedTexts.clear();
        type.acceptedTexts.insert(text);
    }
    return why;
}

void requireFit(const TypeDef &valueType, const FormatDef &format, const TypeDef &formatType)
{
    const bool fits = (isScalar(valueType.valueClass) && isScalar(formatType.valueClass))
        || (valueType.valueClass == ValueClass::Fields && formatType.valueClass == ValueClass::Fields
            && valueType.fields.size() == formatType.fields.size())
        || (valueType.valueClass == ValueClass::Text && formatType.valueClass == ValueClass::Text);
    if (!fits) {
        Errors::raise(Errors::FormatDoesNotFit,
            QStringLiteral("The format %1 cannot show a value of %2.").arg(format.name, valueType.name));
    }
}

int fieldDecimals(const FormatDef &format, int field)
{
    return field < format.fieldDecimals.size() ? format.fieldDecimals.at(field) : format.decimals;
}

} // namespace

double toDisplay(double stored, const FormatDef &format)
{
    return clean(stored * format.scale + format.offset);
}

double fromDisplay(double shown, const FormatDef &format)
{
    return clean((shown - format.offset) / format.scale);
}

QString numberText(double value, int decimals)
{
    // The shortest exact text in plain decimals (100000, not 1e+05) where that stays
    // readable; the exponent form only for magnitudes that would need long runs of zeros.
    const double magnitude = std::abs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e15);
    QString text = decimals >= 0 ? QString::number(value, 'f', decimals)
                                 : QString::number(value, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (QChar c : text.mid(1)) {
            if (c != QLatin1Char('0') && c != QLatin1Char('.'))
                allZero = false;
        }
        if (allZero)
            text.remove(0, 1);
    }
    return text;
}

bool parseNumber(const QString &text, double &value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double parsed = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

QString formatValue(
    const StoredValue &value, const TypeDef &valueType, const FormatDef &format, const TypeDef &formatType)
{
    requireFit(valueType, format, formatType);
    switch (formatType.valueClass) {
    case ValueClass::Text:
        return value.text;
    case ValueClass::Fields: {
        QStringList parts;
        // A structure format converts every field alike (the six temperatures of SNVT_temp_setpt).
        for (int i = 0; i < value.numbers.size(); ++i)
            parts.append(numberText(toDisplay(value.numbers.at(i), format), fieldDecimals(format, i)));
        return parts.join(QLatin1Char(' '));
    }
    case ValueClass::Enumeration: {
        const double number = value.numbers.value(0);
        const EnumMemberDef *member = memberOf(formatType, std::nearbyint(number));
        return member ? member->name : numberText(number, -1);
    }
    case ValueClass::Number:
        break;
    }
    return numberText(toDisplay(value.numbers.value(0), format), format.decimals);
}

StoredValue parseValue(
    const QString &text, const TypeDef &valueType, const FormatDef &format, const TypeDef &formatType)
{
    requireFit(valueType, format, formatType);
    StoredValue result;
    switch (formatType.valueClass) {
    case ValueClass::Text: {
        QString why = checkText(text, formatType);
        if (why.isEmpty() && &valueType != &formatType)
            why = checkText(text, valueType);
        if (!why.isEmpty())
            refuseText(text, format, why);
        result.text = text;
        return result;
    }
    case ValueClass::Fields: {
        const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != valueType.fields.size()) {
            refuseText(
                text, format, QStringLiteral("%1 fields are needed, separated by blanks").arg(valueType.fields.size()));
        }
        for (int i = 0; i < parts.size(); ++i) {
            double number = 0;
            if (!parseNumber(parts.at(i), number))
                refuseText(text, format, QStringLiteral("field %1 is not a number").arg(i));
            const FieldDef &field = valueType.fields.at(i);
            number = quantize(fromDisplay(number, format), field.limits.resolution);
            checkLimits(number, field.limits, valueType.name + QLatin1Char('.') + field.name);
            result.numbers.append(number);
        }
        return result;
    }
    case ValueClass::Enumeration: {
        const QString name = text.trimmed();
        const EnumMemberDef *member = formatType.member(name);
        double number = 0;
        if (!member && parseNumber(name, number))
            member = memberOf(formatType, number);
        if (!member)
            refuseText(text, format, QStringLiteral("no member of %1 has that name").arg(formatType.name));
        result.numbers.append(storeScalar(member->value, valueType));
        return result;
    }
    case ValueClass::Number:
        break;
    }
    double shown = 0;
    if (!parseNumber(text, shown))
        refuseText(text, format);
    const double stored = fromDisplay(shown, format);
    if (&formatType != &valueType)
        checkLimits(quantize(stored, formatType.limits.resolution), formatType.limits, formatType.name);
    result.numbers.append(storeScalar(stored, valueType));
    return result;
}

StoredValue defaultValue(const TypeDef &type)
{
    StoredValue value;
    switch (type.valueClass) {
    case ValueClass::Text:
        if (type.text.numeric && type.text.minFields > 0) {
            // "0 0 … 0", built in one piece: a count in the millions takes no list of texts.
            QString zeros(qsizetype(type.text.minFields) * 2 - 1, QLatin1Char(' '));
            QChar *digits = zeros.data();
            for (qsizetype i = 0; i < zeros.size(); i += 2)
                digits[i] = QLatin1Char('0');
            value.text = zeros;
        }
        break;
    case ValueClass::Fields:
        for (const FieldDef &field : type.fields)
            value.numbers.append(
                field.limits.hasRange ? std::clamp(0.0, field.limits.minimum, field.limits.maximum) : 0);
        break;
    case ValueClass::Enumeration:
        value.numbers.append(type.member(0) || type.members.isEmpty() ? 0 : type.members.first().value);
        break;
    case ValueClass::Number:
        value.numbers.append(type.limits.hasRange ? std::clamp(0.0, type.limits.minimum, type.limits.maximum) : 0);
        break;
    }
    return value;
}

bool valueFits(const StoredValue &value, const TypeDef &type, QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    switch (type.valueClass) {
    case ValueClass::Text: {
        const QString reason = checkText(value.text, type);
        return reason.isEmpty() ? true : fail(reason);
    }
    case ValueClass::Fields:
        if (value.numbers.size() != type.fields.size())
            return fail(QStringLiteral("%1 needs %2 fields").arg(type.name).arg(type.fields.size()));
        for (int i = 0; i < value.numbers.size(); ++i) {
            const NumericLimits &limits = type.fields.at(i).limits;
            if (limits.hasRange
                && (!nearlyAtMost(limits.minimum, value.numbers.at(i))
                    || !nearlyAtMost(value.numbers.at(i), limits.maximum)))
                return fail(QStringLiteral("field %1 lies outside its range").arg(type.fields.at(i).name));
        }
        return true;
    case ValueClass::Enumeration:
        if (value.numbers.size() != 1 || !memberOf(type, value.numbers.first()))
            return fail(QStringLiteral("not a member of %1").arg(type.name));
        return true;
    case ValueClass::Number:
        if (value.numbers.size() != 1)
            return fail(QStringLiteral("%1 holds one number").arg(type.name));
        if (type.limits.hasRange
            && (!nearlyAtMost(type.limits.minimum, value.numbers.first())
                || !nearlyAtMost(value.numbers.first(), type.limits.maximum)))
            return fail(QStringLiteral("%1 lies outside the range %2 to %3")
                            .arg(numberText(value.numbers.first(), -1), numberText(type.limits.minimum, -1),
                                numberText(type.limits.maximum, -1)));
        return true;
    }
    return true;
}

QVariant variantOf(const TypeDef &type, const QString &defaultText)
{
    if (type.valueClass == ValueClass::Number) {
        double number = 0;
        return parseNumber(defaultText, number) ? QVariant(number) : QVariant(defaultText);
    }
    return QVariant(defaultText);
}

} // namespace Sim
