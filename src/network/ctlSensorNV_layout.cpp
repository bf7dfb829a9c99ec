// SPDX-License-Identifier: MIT
// ctlSensorNV: room for translated row captions. The form gives the caption column the
// width its English captions need; a language with longer ones moves the value and unit
// columns right and widens the control, so that no caption is cut off. Only the captions
// that are not hidden are measured (a label measures its text again only after a change);
// a row shown later fits the column again then.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

void ctlSensorNV::fitCaptionColumn()
{
    const QList<QLabel *> captions
        = { ui->lblOverride, ui->lblDefault, ui->lblSendDelta, ui->lblThrottle, ui->lblHeartbeat };
    const int designWidth = ui->txtOver->x() - CaptionGap - ui->lblOverride->x() - mCaptionGrowth;
    int needed = designWidth;
    for (const QLabel *caption : captions) {
        if (!caption->isHidden())
            needed = qMax(needed, caption->sizeHint().width());
    }
    const int shift = needed - designWidth - mCaptionGrowth;
    if (shift == 0)
        return;

    for (QLabel *caption : captions)
        caption->resize(needed, caption->height());
    for (QWidget *widget : { static_cast<QWidget *>(ui->txtOver), static_cast<QWidget *>(ui->cboOverride),
             static_cast<QWidget *>(ui->lblOver), static_cast<QWidget *>(ui->txtDefault),
             static_cast<QWidget *>(ui->cboDefault), static_cast<QWidget *>(ui->lblDef),
             static_cast<QWidget *>(ui->txtSend), static_cast<QWidget *>(ui->lblSendD),
             static_cast<QWidget *>(ui->txtThrottle), static_cast<QWidget *>(lblUnit.at(1)),
             static_cast<QWidget *>(ui->txtHeart), static_cast<QWidget *>(lblUnit.at(0)),
             static_cast<QWidget *>(ui->cmdChange) })
        widget->move(widget->x() + shift, widget->y());
    ui->txtHwInputNVName->resize(ui->txtHwInputNVName->width() + shift, ui->txtHwInputNVName->height());
    ui->fraNV->resize(ui->fraNV->width() + shift, ui->fraNV->height());
    mCaptionGrowth += shift;
    resize(sizeHint());
    updateGeometry();
}
