// SPDX-License-Identifier: MIT
// Cleaning of the defaults file's value texts.
#include "defaults/DefaultValueText.h"

#include "shared/Numbers.h"

namespace DefaultValueText {

QString ParseValue(const QString &raw)
{
    QString value = raw;
    if (const qsizetype semicolon = value.indexOf(QLatin1Char(';')); semicolon >= 0)
        value = value.left(semicolon).trimmed();
    if (const qsizetype tab = value.indexOf(QLatin1Char('\t')); tab >= 0)
        value = value.left(tab).trimmed();
    // The text inside the first parentheses: a ")" before the first "(" closes nothing.
    if (const qsizetype open = value.indexOf(QLatin1Char('(')); open >= 0) {
        if (const qsizetype close = value.indexOf(QLatin1Char(')'), open + 1); close > open)
            value = value.mid(open + 1, close - open - 1).trimmed();
    }
    return StripUnit(value.trimmed());
}

QString StripUnit(const QString &text)
{
    QString unit;
    if (text.contains(QLatin1Char('s'), Qt::CaseInsensitive))
        unit = QStringLiteral("s");
    else if (text.contains(QStringLiteral("\u00B0C"), Qt::CaseInsensitive))
        unit = QStringLiteral("\u00B0C");
    else if (text.contains(QLatin1String("ppm"), Qt::CaseInsensitive))
        unit = QStringLiteral("ppm");
    else
        return text;
    const QString head = text.section(unit, 0, 0).trimmed();
    return IsNumberText(head) ? text.left(head.size()) : text;
}

bool IsNumberText(const QString &text)
{
    if (MKorvane::IsNumeric(text))
        return true;
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char(' ') && c != QLatin1Char('.')
            && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

} // namespace DefaultValueText
