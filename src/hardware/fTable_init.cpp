// SPDX-License-Identifier: MIT
// fTable: filling the form from the stored table text.
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"

#include "device/DeviceAccess.h"
#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/Steps.h"
#include "shared/Strings.h"
#include "shared/Units.h"

#include "ui_fTable.h"

#include <QLineEdit>

// Every step that fails shows its failure once and filling goes on with the next step, so a
// short or damaged table text still opens: the cells it cannot fill keep their text.
void fTable::InitForm(const QString &FormatType, const QString &ProgramId, qint32 FieldType, const QString &InputLabal,
    const QString &OutputLabel, bool IsExistRange, double MinValue, double MaxValue)
{
    const auto step = [](auto &&action) { MKorvane::tryStep(action, &fTable::showStepFailure); };
    // The cells are filled one after the other: the curve is drawn once, with all of them.
    const auto drawCurve = holdCurve();

    mblnIsExistRange = IsExistRange;
    mdblMinValue = MinValue;
    mdblMaxValue = MaxValue;
    mstrFormatType = FormatType;
    mstrProgramId = ProgramId;
    mlngFieldType = FieldType;

    ui->lblResis->setText(InputLabal);
    ui->Label1->setText(OutputLabel);
    mCurve->setAxisCaptions(InputLabal, OutputLabel);
    // Each cell is named by its column's caption and its row, for screen readers.
    for (int k = 0; k < CellCount; ++k)
        txtTable.at(k)->setAccessibleName(QStringLiteral("%1 %2").arg(k % 2 ? OutputLabel : InputLabal).arg(k / 2 + 1));
    // The curve marks outputs out of range as OK would refuse them: the values as shown.
    mCurve->setRange(IsExistRange, MinValue, MaxValue);

    // On version-1 blocks the last input is also the multi-level value: said where it is typed
    // and marked on the curve, instead of being shown as a value of its own.
    constexpr int lastInput = CellCount - 2;
    mCurve->setSharedRow(mblnLastInputIsMultiLevel ? lastInput / 2 : -1);
    step([&] {
        txtTable.at(lastInput)->setToolTip(mblnLastInputIsMultiLevel
                ? MKorvane::GetLanguageString(QStringLiteral("This input is also the multi-level value."))
                : QString());
    });

    const bool convert = MKorvane::IsUsNumericKind(FieldType);
    DeviceAccess::FormatObjectPtr format;
    // Without the format no output can be converted: the user hears of it once, here, and the
    // output cells keep their text rather than each telling the same.
    step([&] {
        format = DeviceAccess::formatService().GetFormat(FormatType, ProgramId);
        if (convert)
            MKorvane::deref(format);
    });
    const bool convertible = !convert || format;

    mShownTexts.fill(QString(), CellCount);
    mShownFilled.fill(false, CellCount);
    // An empty stored table leaves the cells with their design text and no fields; OK then
    // fills the entries up to 32 with empty ones, as it does for a short table.
    if (mstrCPTransTableValue.isEmpty())
        return;

    CellValues = mstrCPTransTableValue.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    mStoredFields = CellValues;
    // Remembers what a cell shows for its stored field, once it is filled.
    const auto shown = [&](int k, const QString &text) {
        txtTable.at(k)->setText(text);
        mShownTexts[k] = text;
        mShownFilled[k] = true;
    };

    QString tip;
    if (IsExistRange)
        step([&] { tip = MKorvane::GetStrings(QStringLiteral("Value in [%s1%, %s2%]"), { MinValue, MaxValue }); });

    for (int k = 0; k < CellCount; ++k) {
        QLineEdit *cell = txtTable.at(k);
        if (k % 2 == 0) {
            step([&] { shown(k, MKorvane::fieldAt(CellValues, k)); });
            continue;
        }
        if (!convert) {
            step([&] { shown(k, MKorvane::fieldAt(CellValues, k)); });
        } else if (convertible) {
            step([&] {
                const double stored = numberOf(MKorvane::fieldAt(CellValues, k));
                shown(k,
                    MKorvane::ShortestExactText(format->ConvertToDisplay(stored, FormatType), stored,
                        [&](double value) { return format->ConvertFromDisplay(value, FormatType); }));
            });
        }
        cell->setToolTip(tip);
    }
}
