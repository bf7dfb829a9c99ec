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
#include "shared/Captions.h"
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
    MKorvane::CaptionColumn column;
    column.designEnd = ui->txtOff->x() - mCaptionGrowth - CaptionGap;
    column.needed = column.designEnd;
    // The captions have grown to their text (setCaption), the value button to its caption.
    for (const QWidget *widget :
        std::initializer_list<const QWidget *> { ui->lblSignal, ui->lblCboSignal, ui->cmdValue })
        column.needed = qMax(column.needed, widget->geometry().right() + 1);
    column.moved = { ui->txtMin, ui->cboTherm, ui->txtSelector, ui->txtMax, ui->chkReverse, ui->txtOff, ui->cmdTable,
        ui->cboMin, ui->cboMax, ui->lblSelectorUnit, ui->lblSelector, ui->lblTherm, ui->lblMax, ui->lblMin, ui->lblOff,
        ui->lblUnitOffset, ui->lblUnitMaxRange, ui->lblReverse, ui->lblUnitMinRange };
    column.widened = { ui->Frame1 };
    column.growOnly = true; // a shorter caption later leaves the column as wide as it became
    MKorvane::fitCaptionColumn(this, mCaptionGrowth, column);
}
