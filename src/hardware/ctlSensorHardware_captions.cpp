// SPDX-License-Identifier: MIT
// ctlSensorHardware: room for translated captions. The form places its widgets for the
// English captions. A language whose interpretation or signal-type caption is longer than
// the left column moves the whole right column (range, offset, increment, thermistor and
// table widgets with their captions and units) right and widens the frame and the
// control, as the network control does with its caption column. Wrapping is no choice
// here: a second line would run into the list below the caption. A button grows to its
// caption; nothing stands to its right. Where the texts fit, every widget keeps its place.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include <QStyle>

using namespace HardwareControl;

namespace {

// The width a button's caption needs: its text, the style's margin and the frame on both
// sides. Its size hint would also add the style's minimum width, which the form's narrow
// buttons never had, so an English caption that fits keeps its button as designed.
int buttonCaptionWidth(const QPushButton *button)
{
    const QStyle *style = button->style();
    return button->fontMetrics().horizontalAdvance(button->text())
        + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
        + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
}

} // namespace

void ctlSensorHardware::fitCaptionColumns()
{
    for (QPushButton *button : { ui->cmdValue, ui->cmdTable })
        button->resize(qMax(button->width(), buttonCaptionWidth(button)), button->height());

    // The left column ends a gap before the right column's design place.
    const int designRight = ui->txtOff->x() - mCaptionGrowth - CaptionGap;
    int needed = designRight;
    // The captions have grown to their text (setCaption), the value button to its caption.
    for (const QWidget *widget : { static_cast<QWidget *>(ui->lblSignal), static_cast<QWidget *>(ui->lblCboSignal),
             static_cast<QWidget *>(ui->cmdValue) })
        needed = qMax(needed, widget->geometry().right() + 1);
    // Grows only: a shorter caption later leaves the column as wide as it became.
    const int shift = needed - designRight - mCaptionGrowth;
    if (shift <= 0)
        return;

    for (QWidget *widget : { static_cast<QWidget *>(ui->txtMin), static_cast<QWidget *>(ui->cboTherm),
             static_cast<QWidget *>(ui->txtSelector), static_cast<QWidget *>(ui->txtMax),
             static_cast<QWidget *>(ui->chkReverse), static_cast<QWidget *>(ui->txtOff),
             static_cast<QWidget *>(ui->cmdTable), static_cast<QWidget *>(ui->cboMin),
             static_cast<QWidget *>(ui->cboMax), static_cast<QWidget *>(ui->lblSelectorUnit),
             static_cast<QWidget *>(ui->lblSelector), static_cast<QWidget *>(ui->lblTherm),
             static_cast<QWidget *>(ui->lblMax), static_cast<QWidget *>(ui->lblMin), static_cast<QWidget *>(ui->lblOff),
             static_cast<QWidget *>(ui->lblUnitOffset), static_cast<QWidget *>(ui->lblUnitMaxRange),
             static_cast<QWidget *>(ui->lblReverse), static_cast<QWidget *>(ui->lblUnitMinRange) })
        widget->move(widget->x() + shift, widget->y());
    ui->Frame1->resize(ui->Frame1->width() + shift, ui->Frame1->height());
    mCaptionGrowth += shift;
    resize(sizeHint());
    updateGeometry();
}
