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

    mblnIsExistRange = IsExistRange;
    mdblMinValue = MinValue;
    mdblMaxValue = MaxValue;
    mstrFormatType = FormatType;
    mstrProgramId = ProgramId;
    mlngFieldType = FieldType;

    ui->lblResis->setText(InputLabal);
    ui->Label1->setText(OutputLabel);
    mCurve->setAxisCaptions(InputLabal, OutputLabel);

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

    // An empty stored table leaves the cells with their design text and no fields; OK then
    // fills the entries up to 32 with empty ones, as it does for a short table.
    if (mstrCPTransTableValue.isEmpty())
        return;

    CellValues = mstrCPTransTableValue.split(QLatin1Char(' '), Qt::KeepEmptyParts);

    QString tip;
    if (IsExistRange)
        step([&] { tip = MKorvane::GetStrings(QStringLiteral("Value in [%s1%, %s2%]"), { MinValue, MaxValue }); });

    for (int k = 0; k < CellCount; ++k) {
        QLineEdit *cell = txtTable.at(k);
        if (k % 2 == 0) {
            step([&] { cell->setText(MKorvane::fieldAt(CellValues, k)); });
            continue;
        }
        if (!convert) {
            step([&] { cell->setText(MKorvane::fieldAt(CellValues, k)); });
        } else if (convertible) {
            step([&] {
                const double shown = format->ConvertToDisplay(numberOf(MKorvane::fieldAt(CellValues, k)), FormatType);
                cell->setText(MKorvane::NumberText(shown));
            });
        }
        cell->setToolTip(tip);
    }
}
