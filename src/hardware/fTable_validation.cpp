// SPDX-License-Identifier: MIT
// fTable: checking the cells, while typing and when the user confirms with OK.
#include "hardware/fTable.h"

#include "device/DeviceAccess.h"
#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/Seams.h"
#include "shared/Steps.h"
#include "shared/Strings.h"
#include "shared/Units.h"

#include <QLineEdit>

// A text that is not a number keeps the focus in its cell; the text stays as typed.
void fTable::txtTable_Change(int Index)
{
    QLineEdit *cell = txtTable.value(Index);
    if (cell && !MKorvane::IsNumeric(cell->text()))
        cell->setFocus();
}

bool fTable::ValidateTablePositive(const QString &text, QString &message) const
{
    if (!MKorvane::IsNumeric(text)) {
        message = MKorvane::GetLanguageString(QStringLiteral("The value must be numeric."));
        return false;
    }
    if (MKorvane::Val(text) < 0) {
        message = MKorvane::GetLanguageString(QStringLiteral("Input value must be a positive number."));
        return false;
    }
    return true;
}

// The range applies to the value as shown, before any unit conversion.
bool fTable::ValidateTableRange(const QString &text, QString &message) const
{
    if (!MKorvane::IsNumeric(text)) {
        message = MKorvane::GetLanguageString(QStringLiteral("The value must be numeric."));
        return false;
    }
    if (!mblnIsExistRange)
        return true;
    const double value = MKorvane::Val(text);
    if (mdblMinValue <= value && value <= mdblMaxValue)
        return true;
    message
        = MKorvane::GetStrings(QStringLiteral("The values can't exceed [%s1%, %s2%]"), { mdblMinValue, mdblMaxValue });
    return false;
}

QString fTable::rowsOutOfRangeLine() const
{
    QStringList rows;
    for (int r = 0; r < CellCount / 2; ++r) {
        const QString text = txtTable.at(2 * r + 1)->text().trimmed();
        if (!MKorvane::IsNumeric(text))
            continue;
        const double value = MKorvane::Val(text);
        if (!(mdblMinValue <= value && value <= mdblMaxValue))
            rows << QString::number(r + 1);
    }
    return MKorvane::GetStrings(QStringLiteral("Rows: %s1%"), { rows.join(QStringLiteral(", ")) });
}

bool fTable::shownAsStored(int k) const
{
    return k < mShownFilled.size() && mShownFilled.at(k) && k < mStoredFields.size()
        && txtTable.at(k)->text() == mShownTexts.at(k);
}

QString fTable::fieldFor(int k, const QString &typed) const
{
    return shownAsStored(k) ? mStoredFields.at(k) : MKorvane::DeviceValueText(typed);
}

// Rows are checked in order; the first invalid cell is reported and gets the focus, and the
// form stays open. Rows accepted before it keep their new values in CellValues.
void fTable::cmdOK_Click()
{
    QString Msg;
    bool failed = false;
    // A failure numbered 5030 above the object-error base is the format service's own
    // business and is passed over; any other ends the sequence with its description.
    const auto step = [&](auto &&action) {
        MKorvane::tryStep(action, [&](qint32 number, const QString &description) {
            if (number == DeviceAccess::DeviceError::QuietNumber5030)
                return;
            Msg = description;
            failed = true;
        });
        return !failed;
    };

    DeviceAccess::FormatObjectPtr format;
    const bool convert = MKorvane::IsUsNumericKind(mlngFieldType);
    bool passed = step([&] { format = DeviceAccess::formatService().GetFormat(mstrFormatType, mstrProgramId); });

    // An empty or short stored table lacks fields: OK fills them up to 32 with empty entries,
    // so the user is told about the first unfilled cell rather than about a missing field,
    // and can finish the table. A long one loses the fields beyond the 32 cells: the user
    // never saw them, and the table taken must be the one shown.
    if (passed) {
        while (CellValues.size() < CellCount)
            CellValues.append(QString());
        CellValues.erase(CellValues.begin() + CellCount, CellValues.end());
    }

    for (int r = 0; passed && r < CellCount / 2; ++r) {
        QLineEdit *input = txtTable.at(2 * r);
        QLineEdit *output = txtTable.at(2 * r + 1);
        if (!ValidateTablePositive(input->text(), Msg)) {
            input->setFocus();
            passed = false;
            break;
        }
        if (!step([&] { setFieldAt(CellValues, 2 * r, fieldFor(2 * r, input->text().trimmed())); }))
            break;
        QString value = output->text().trimmed();
        if (!ValidateTableRange(value, Msg)) {
            // The range message keeps its wording as its first line; a second line, a display
            // string of its own, names every row whose output is out of range, so the user
            // need not find them one OK at a time. The focus still goes to the first.
            if (MKorvane::IsNumeric(value))
                Msg += QStringLiteral("\r\n") + rowsOutOfRangeLine();
            output->setFocus();
            passed = false;
            break;
        }
        if (shownAsStored(2 * r + 1)) {
            value = mStoredFields.at(2 * r + 1);
        } else if (convert) {
            const bool converted = step([&] {
                value = MKorvane::DeviceNumberText(
                    MKorvane::deref(format).ConvertFromDisplay(numberOf(value), mstrFormatType));
            });
            if (!converted)
                break;
        } else {
            value = MKorvane::DeviceValueText(value);
        }
        if (!step([&] { setFieldAt(CellValues, 2 * r + 1, value); }))
            break;
    }
    passed = passed && !failed;

    if (passed) {
        mstrTransTableValue = CellValues.join(QLatin1Char(' '));
        mblnOkORCancelClick = true;
        accept();
    }
    if (!Msg.isEmpty())
        MKorvane::MsgBox(
            Msg, MKorvane::vbCritical, MKorvane::GetLanguageString(QStringLiteral("Sensor Configuration")));
}
