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
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

using namespace HardwareControl;

namespace {

// The key code a host of the control expects: the virtual-key numbering, in which
// letters and digits are their upper-case character codes.
qint16 virtualKeyCode(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Space)
        return qint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return qint16(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return qint16(key & 0x7fff);
    }
}

// Shift 1, Ctrl 2, Alt 4.
qint16 shiftState(Qt::KeyboardModifiers modifiers)
{
    qint16 shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

} // namespace

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
    for (QWidget *widget : { static_cast<QWidget *>(ui->cboInput), static_cast<QWidget *>(ui->cboMax),
             static_cast<QWidget *>(ui->cboMin), static_cast<QWidget *>(ui->cboSignal),
             static_cast<QWidget *>(ui->cboTherm), static_cast<QWidget *>(ui->chkReverse),
             static_cast<QWidget *>(ui->cmdTable), static_cast<QWidget *>(ui->cmdValue),
             static_cast<QWidget *>(ui->txtMax), static_cast<QWidget *>(ui->txtMin), static_cast<QWidget *>(ui->txtOff),
             static_cast<QWidget *>(ui->txtSelector), static_cast<QWidget *>(ui->txtValue) })
        widget->installEventFilter(this);
    installEventFilter(this);
}

bool ctlSensorHardware::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // A key that a child leaves unused travels on to the control as the same event:
        // it was forwarded already. The mark lasts until the event loop runs again.
        if (watched != this) {
            forwardKeyDown(static_cast<QKeyEvent *>(event));
            mpForwardedKey = event;
            QTimer::singleShot(0, this, [this] { mpForwardedKey = nullptr; });
        } else if (event == mpForwardedKey) {
            mpForwardedKey = nullptr;
        } else {
            forwardKeyDown(static_cast<QKeyEvent *>(event));
        }
    } else if (event->type() == QEvent::FocusOut && (watched == ui->txtSelector || watched == ui->txtValue)) {
        // Only a move to another widget validates, not a window or popup taking the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            validateOnLeaving(static_cast<QLineEdit *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void ctlSensorHardware::forwardKeyDown(const QKeyEvent *event)
{
    qint16 KeyCode = virtualKeyCode(event->key());
    qint16 Shift = shiftState(event->modifiers());
    emit KeyDown(KeyCode, Shift);
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

void ctlSensorHardware::cboSignal_Click()
{
    MKorvane::DoEvents();
    const QString unit = MKorvane::GetSignalUnit(ui->cboSignal->currentText());
    MKorvane::DoEvents();
    setCaption(ui->lblSelectorUnit, unit);
    MKorvane::DoEvents();
    if (ui->cboInput->currentText() == MultiLevel)
        setCaption(ui->lblUnitOffset, unit);
    MKorvane::DoEvents();
    mblnValueChanged = true;
}

void ctlSensorHardware::cboInput_Click()
{
    // Every step that fails is skipped.
    const auto step = [](auto &&operation) { MKorvane::skipOnFailure(operation); };
    bool multi = false;
    bool selectorVisible = false;

    step([&] { ShowInterpretationLayout(mstrUnit, mstrDisplayUnit); });
    MKorvane::DoEvents();
    step([&] { multi = ui->cboInput->currentText() == MultiLevel; });
    MKorvane::DoEvents();
    step([&] {
        selectorVisible = MKorvane::ObjMajorVersion() == 1 && multi;
        ui->lblSelector->setVisible(selectorVisible);
    });
    MKorvane::DoEvents();
    step([&] { ui->txtSelector->setVisible(selectorVisible); });
    MKorvane::DoEvents();
    step([&] { ui->lblSelectorUnit->setVisible(selectorVisible); });
    MKorvane::DoEvents();
    step([&] {
        if (ui->cboInput->currentText() == SetpointOffset) {
            mblnIsSetpointOffset = true;
            ReadValues(true);
            emit OnSetpointOffSetEvent(mblnIsSetpointOffset);
        } else if (mblnIsSetpointOffset) {
            // Leaving set-point-offset mode: the range is read again as absolute values.
            mblnIsSetpointOffset = false;
            ReadValues(true);
            emit OnSetpointOffSetEvent(mblnIsSetpointOffset);
        } else {
            ReadTransTableAndMultiLevel();
        }
    });
    MKorvane::DoEvents();
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
            // A control created without a device library (in Designer) keeps its design-time fonts.
            if (DeviceAccess::installed()) {
                const QString name = DeviceAccess::languageService().GetFontName();
                const qint16 charset = DeviceAccess::languageService().GetFontCharset();
                for (QWidget *widget : { static_cast<QWidget *>(ui->Frame1), static_cast<QWidget *>(ui->cmdValue),
                         static_cast<QWidget *>(ui->cmdTable), static_cast<QWidget *>(ui->lblSelectorUnit),
                         static_cast<QWidget *>(ui->lblSelector), static_cast<QWidget *>(ui->lblTherm),
                         static_cast<QWidget *>(ui->lblMax), static_cast<QWidget *>(ui->lblMin),
                         static_cast<QWidget *>(ui->lblOff), static_cast<QWidget *>(ui->lblSignal),
                         static_cast<QWidget *>(ui->lblReverse), static_cast<QWidget *>(ui->lblCboSignal) })
                    widget->setFont(MKorvane::MakeFont(widget->font(), name, charset));
            }
            const auto text = [](const char *key) { return MKorvane::GetLanguageString(QString::fromLatin1(key)); };
            ui->Frame1->setTitle(text("Hardware Properties"));
            ui->cmdValue->setText(text("Get Value"));
            ui->cmdTable->setText(text("TransTable"));
            setCaption(ui->lblSelectorUnit, text("OHM"));
            setCaption(ui->lblSelector, text("Increment"));
            setCaption(ui->lblTherm, text("Thermistor type"));
            setCaption(ui->lblMax, text("Max. Value"));
            setCaption(ui->lblMin, text("Min. Value"));
            setCaption(ui->lblOff, text("Offset"));
            setCaption(ui->lblSignal, text("Input Signal Interpretation"));
            setCaption(ui->lblReverse, text("Reverse"));
            setCaption(ui->lblCboSignal, text("Signal type"));
        },
        [this](qint32, const QString &description) { report(description, QStringLiteral("InitStrings")); });
}

void ctlSensorHardware::ReInitializeStrings()
{
    MKorvane::LoadLanguageStrings();
    InitStrings();
}
