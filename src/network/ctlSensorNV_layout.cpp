// SPDX-License-Identifier: MIT
// ctlSensorNV: room for translated row captions. The form gives the caption column the
// width its English captions need; a language with longer ones moves the value and unit
// columns right and widens the control, so that no caption is cut off. Only the captions
// that are not hidden are measured (a label measures its text again only after a change);
// a row shown later fits the column again then.
#include "network/ctlSensorNV.h"
#include "shared/Captions.h"
#include "ui_ctlSensorNV.h"

void ctlSensorNV::fitCaptionColumn()
{
    const QList<QLabel *> captions
        = { ui->lblOverride, ui->lblDefault, ui->lblSendDelta, ui->lblThrottle, ui->lblHeartbeat };
    MKorvane::CaptionColumn column;
    column.designEnd = ui->txtOver->x() - CaptionGap - mCaptionGrowth;
    column.needed = column.designEnd;
    for (QLabel *caption : captions) {
        if (!caption->isHidden())
            column.needed = qMax(column.needed, ui->lblOverride->x() + caption->sizeHint().width());
        column.captions.append(caption);
    }
    column.moved = { ui->txtOver, ui->cboOverride, ui->lblOver, ui->txtDefault, ui->cboDefault, ui->lblDef, ui->txtSend,
        ui->lblSendD, ui->txtThrottle, lblUnit.at(1), ui->txtHeart, lblUnit.at(0), ui->cmdChange };
    column.widened = { ui->txtHwInputNVName, ui->fraNV };
    column.growOnly = false; // the column narrows again when a wide row is hidden
    MKorvane::fitCaptionColumn(this, mCaptionGrowth, column);
}
