// SPDX-License-Identifier: MIT
// ctlSensorHardware: reactions to the user — change flags, a new interpretation or
// signal type, the "Get Value" and "TransTable" buttons, numeric checks on leaving two
// boxes, key forwarding to the host — and the display strings and fonts of the captions.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "hardware/fTable.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

using namespace HardwareControl;

void ctlSensorHardware::connectHandlers()
{
    connect(ui->cboMin, &QComboBox::currentIndexChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->cboMax, &QComboBox::currentIndexChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->chkReverse, &QCheckBox::toggled, this, &ctlSensorHardware::markChanged);
    connect(ui->txtMin, &QLineEdit::textChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->txtMax, &QLineEdit::textChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->txtSelector, &QLineEdit::textChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->txtValue, &QLineEdit::textChanged, this, &ctlSensorHardware::markChanged);
    connect(ui->cboTherm, &QComboBox::currentIndexChanged, this, &ctlSensorHardware::cboTherm_Click);
    connect(ui->txtOff, &QLineEdit::textChanged, this, &ctlSensorHardware::txtOff_Change);
    connect(ui->cboSignal, &QComboBox::currentIndexChanged, this, &ctlSensorHardware::cboSignal_Click);
    connect(ui->cboInput, &QComboBox::currentIndexChanged, this, &ctlSensorHardware::cboInput_Click);
    connect(ui->cmdValue, &QPushButton::clicked, this, &ctlSensorHardware::cmdValue_Click);
    connect(ui->cmdTable, &QPushButton::clicked, this, &ctlSensorHardware::cmdTable_Click);

    // Key presses of these widgets and of the control itself reach the host.
    new MKorvane::KeyDownRelay(this,
        { ui->cboInput, ui->cboMax, ui->cboMin, ui->cboSignal, ui->cboTherm, ui->chkReverse, ui->cmdTable, ui->cmdValue,
            ui->txtMax, ui->txtMin, ui->txtOff, ui->txtSelector, ui->txtValue },
        [this](qint16 &KeyCode, qint16 &Shift) { emit KeyDown(KeyCode, Shift); });
    ui->txtSelector->installEventFilter(this);
    ui->txtValue->installEventFilter(this);
}

bool ctlSensorHardware::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == ui->txtSelector || watched == ui->txtValue)) {
        // Only a move to another widget validates, not a window or popup taking the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            validateOnLeaving(static_cast<QLineEdit *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void ctlSensorHardware::validateOnLeaving(QLineEdit *box)
{
    if (MKorvane::ValidateNumeric(box->text()))
        return;
    // Give the focus back once the move that is under way has finished.
    QPointer<QLineEdit> target(box);
    QTimer::singleShot(0, box, [target] {
        if (target)
            target->setFocus(Qt::OtherFocusReason);
    });
}

void ctlSensorHardware::markChanged()
{
    if (!mblnLoading)
        mblnValueChanged = true;
}

void ctlSensorHardware::cboTherm_Click()
{
    // Also while loading: selecting the stored type marks the control until the read ends.
    mblnValueChanged = true;
}

void ctlSensorHardware::txtOff_Change()
{
    if (mblnLoading)
        return;
    mblnValueChanged = true;
    // On version-1 objects the offset box edits the multi-level value.
    if (MKorvane::ObjMajorVersion() == 1 && ui->cboInput->currentText() == MultiLevel)
        mstrMultiLevel = ui->txtOff->text();
}

// The handlers below pause for pending events before their steps, but only when
// something on screen changed since the last pause (the selection that raised the
// click counts): a pause after a step that changed nothing would show nothing. Raised
// while the control initialises, reads or applies a layout, they do not pause at all.

void ctlSensorHardware::cboSignal_Click()
{
    mScreen->pause();
    const QString unit = MKorvane::GetSignalUnit(ui->cboSignal->currentText());
    mScreen->pause();
    recaption(ui->lblSelectorUnit, unit);
    mScreen->pause();
    if (ui->cboInput->currentText() == MultiLevel)
        recaption(ui->lblUnitOffset, unit);
    mScreen->pause();
    mblnValueChanged = true;
}

void ctlSensorHardware::cboInput_Click()
{
    // Every step that fails is skipped.
    const auto step = [](auto &&operation) { MKorvane::skipOnFailure(operation); };
    bool multi = false;
    bool selectorVisible = false;

    step([&] { ShowInterpretationLayout(mstrUnit, mstrDisplayUnit); });
    mScreen->pause();
    step([&] { multi = ui->cboInput->currentText() == MultiLevel; });
    mScreen->pause();
    step([&] {
        selectorVisible = MKorvane::ObjMajorVersion() == 1 && multi;
        ui->lblSelector->setVisible(selectorVisible);
    });
    mScreen->pause();
    step([&] { ui->txtSelector->setVisible(selectorVisible); });
    mScreen->pause();
    step([&] { ui->lblSelectorUnit->setVisible(selectorVisible); });
    mScreen->pause();
    step([&] {
        if (ui->cboInput->currentText() == SetpointOffset) {
            mblnIsSetpointOffset = true;
            ReadValues(true);
            emit OnSetpointOffSetEvent(mblnIsSetpointOffset);
            // What the host shows in reply is not watched here: it gets its pause.
            mScreen->note(this);
        } else if (mblnIsSetpointOffset) {
            // Leaving set-point-offset mode: the range is read again as absolute values.
            mblnIsSetpointOffset = false;
            ReadValues(true);
            emit OnSetpointOffSetEvent(mblnIsSetpointOffset);
            mScreen->note(this);
        } else {
            ReadTransTableAndMultiLevel();
        }
    });
    mScreen->pause();
    mblnValueChanged = true;
}

void ctlSensorHardware::cmdValue_Click()
{
    QString ErrMsg;
    bool ok = false;
    ReadCurrentValue(ErrMsg, ok);
    report(ErrMsg, QStringLiteral("cmdValue_Click"));
}

void ctlSensorHardware::cmdTable_Click()
{
    MKorvane::tryStep(
        [&] {
            fTable editor(this);

            QString inUnit = ui->lblSelectorUnit->text();
            if (inUnit.compare(QStringLiteral("K Ohm"), Qt::CaseInsensitive) == 0)
                inUnit = QStringLiteral("Ohm");
            QString outLabel = MKorvane::GetLanguageString(QStringLiteral("Output Value"));
            if (MKorvane::IsNumericKind(mlngFieldType) && !mstrUnit.isEmpty())
                outLabel += QStringLiteral("\r\n(") + mstrUnit + QStringLiteral(")");
            const QString inLabel = MKorvane::GetStrings(QStringLiteral("Input Value\r\n(%s1%)"), { inUnit });

            editor.setTableChanged(mblnTableChanged);
            // Version-1 blocks keep the multi-level value in row 16's input.
            editor.setLastInputIsMultiLevel(MKorvane::ObjMajorVersion() == 1);
            // The last edit is offered again until the control is read anew.
            editor.setCPTransTableValue(mstrTableEdited.trimmed().isEmpty() ? mstrTransTable : mstrTableEdited);
            editor.InitForm(mstrFormatType, mstrDeviceProgID, mlngFieldType, inLabel, outLabel, mblnIsExistRange,
                mdblMinValue, mdblMaxValue);
            MKorvane::ShowModal(editor);

            mstrTableEdited = editor.TransTableValue();
            // After Cancel the editor hands back the flag it was given: a confirmed edit stays confirmed.
            mblnTableChanged = editor.OkORCancelClick();
            mblnValueChanged = true;
        },
        [this](qint32, const QString &description) { report(description, QStringLiteral("cmdTable_Click")); });
}

void ctlSensorHardware::InitStrings()
{
    MKorvane::tryStep(
        [&] {
            MKorvane::ApplyLanguageFont(languageFontWidgets());
            const auto text = [](const char *key) { return MKorvane::GetLanguageString(QString::fromLatin1(key)); };
            ui->Frame1->setTitle(text("Hardware Properties"));
            ui->cmdValue->setText(text("Get Value"));
            ui->cmdTable->setText(text("TransTable"));
            MKorvane::setCaption(ui->lblSelectorUnit, text("OHM"));
            MKorvane::setCaption(ui->lblSelector, text("Increment"));
            MKorvane::setCaption(ui->lblTherm, text("Thermistor type"));
            MKorvane::setCaption(ui->lblMax, text("Max. Value"));
            MKorvane::setCaption(ui->lblMin, text("Min. Value"));
            MKorvane::setCaption(ui->lblOff, text("Offset"));
            MKorvane::setCaption(ui->lblSignal, text("Input Signal Interpretation"));
            MKorvane::setCaption(ui->lblReverse, text("Reverse"));
            MKorvane::setCaption(ui->lblCboSignal, text("Signal type"));
            // The live value has no caption: screen readers name it by the button that reads it.
            ui->txtValue->setAccessibleName(ui->cmdValue->text().remove(QLatin1Char('&')));
            fitCaptionColumns();
        },
        [this](qint32, const QString &description) { report(description, QStringLiteral("InitStrings")); });
}

// The captions that take the language's face, in the order they take it; every other widget
// keeps its design face.
QList<QWidget *> ctlSensorHardware::languageFontWidgets() const
{
    return { ui->Frame1, ui->cmdValue, ui->cmdTable, ui->lblSelectorUnit, ui->lblSelector, ui->lblTherm, ui->lblMax,
        ui->lblMin, ui->lblOff, ui->lblSignal, ui->lblReverse, ui->lblCboSignal };
}

void ctlSensorHardware::ReInitializeStrings()
{
    MKorvane::LoadLanguageStrings();
    InitStrings();
}
