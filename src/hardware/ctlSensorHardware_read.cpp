// SPDX-License-Identifier: MIT
// ctlSensorHardware: reading the device — the format of the input's network variable,
// every configuration property into its widget (with the unit conversions of offsets
// and differential temperatures), the transfer table and the live value.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

using namespace HardwareControl;

void ctlSensorHardware::FillHardwareValues()
{
    MKorvane::BusyPointer busy;
    // Values and layout are shown together, once they are all in place.
    const MKorvane::ScreenChanges::Hold hold(mScreen);
    const MKorvane::CaptionBatch captions;
    QString ErrMsg;
    // Every step that fails is skipped and the next one runs.
    MKorvane::skipOnFailure([&] {
        mblnLoading = true;
        MKorvane::InitCpNames();
    });
    MKorvane::skipOnFailure([&] { ReadNvFormat(MKorvane::GetFirstNetworkVariable(mobjNode), ErrMsg); });
    MKorvane::skipOnFailure([&] { ReadValues(false); });
    mblnLoading = false;
    report(ErrMsg, QStringLiteral("FillHardwareValues"));
}

void ctlSensorHardware::ReadNvFormat(const DeviceAccess::NetworkVariablePtr &nv, QString &ErrMsg)
{
    // An unexpected failure ends the procedure; what was set stays.
    MKorvane::collectFailure(ErrMsg, QStringLiteral("ReadNvFormat"), [&] {
        DeviceAccess::TypeTreeNodePtr node;
        QString programId;
        QString longFormat;
        QString unitText;
        if (!MKorvane::GetNvTypeFormat(nv, MKorvane::MesureUnit(), node, programId, longFormat, unitText, mlngTypeIndex,
                mlngFieldType, ErrMsg))
            return;

        mblnIsExistRange = false;
        if (MKorvane::IsNumericKind(mlngFieldType) || mlngFieldType == DeviceAccess::BaseKindEnumeration) {
            const QString shortFormat = MKorvane::StripFormatPrefix(longFormat);
            const DeviceAccess::FormatInfoPtr info
                = DeviceAccess::formatCatalog().GetFormatInfo(programId, shortFormat, ErrMsg, nullptr);
            bool has = false;
            requireObject(requireObject(info)->GetRangeNode())->GetRange(mdblMinValue, mdblMaxValue, has);
            if (has)
                mblnIsExistRange = true;
        }

        mstrFormatType = longFormat;
        mstrUnit = unitText;
        // A switch offset is a percentage on the newer objects.
        if (longFormat.contains(QStringLiteral("snvt_switch"), Qt::CaseInsensitive))
            mstrDisplayUnit = MKorvane::ObjMajorVersion() == 1 ? unitText : QStringLiteral("percent");
        else
            mstrDisplayUnit = unitText;
        ReInitializeDisplayStrings(unitText, mstrDisplayUnit);

        const QString resolved = mstrFormatType;
        MKorvane::AdjustFormatForUnits(resolved, MKorvane::MesureUnit(), mstrDiffFormat, mstrFormatType, ErrMsg);

        if (MKorvane::GetFormatEnumCollection(node, programId, mblnIsEnumFormat, mcolFormatEnum, ErrMsg)) {
            bool ok = false;
            FillEnumRangeCombos(mcolFormatEnum, ErrMsg, ok);
        }
    });
}

void ctlSensorHardware::FillEnumRangeCombos(const DeviceAccess::EnumCollectionPtr &col, QString &ErrMsg, bool &ok)
{
    const bool a = MKorvane::FillComboFromCollection(ui->cboMin, col, ErrMsg);
    const bool b = MKorvane::FillComboFromCollection(ui->cboMax, col, ErrMsg);
    ok = a && b;
}

void ctlSensorHardware::ReadValues(bool KeepSelections)
{
    QString ErrMsg;
    // A failing step (a missing property, a malformed device text) adds its line and the
    // read goes on, so that the widgets already filled keep their values and the read
    // always ends with mblnLoading False.
    const auto step
        = [&](auto &&operation) { MKorvane::collectFailure(ErrMsg, QStringLiteral("ReadValues"), operation); };

    mblnLoading = true;
    if (!KeepSelections) {
        step([&] { MKorvane::ReadCpValueToComboBox(ui->cboTherm, nodeCp(CpThermistorType), CpThermistorType); });
        step([&] { MKorvane::ReadCpValueToComboBox(ui->cboInput, nodeCp(CpInterpretation), CpInterpretation); });
        step([&] { MKorvane::ReadCpValueToComboBox(ui->cboSignal, nodeCp(CpSignalType), CpSignalType); });
    }
    step([&] { setWidthTwips(ui->txtValue, mblnIsEnumFormat ? 1905 : 735); });

    QString fmt;
    step([&] { fmt = rangeFormat(); });
    step([&] { MKorvane::ReadCpValueToTextBox(ui->txtMin, nodeCp(CpMinRange), fmt); });
    step([&] { MKorvane::ReadCpValueToTextBox(ui->txtMax, nodeCp(CpMaxRange), fmt); });

    if (mblnIsEnumFormat) {
        step([&] {
            MKorvane::SelectComboText(ui->cboMin, ui->txtMin->text().trimmed());
            MKorvane::SelectComboText(ui->cboMax, ui->txtMax->text().trimmed());
            MKorvane::SelectFirstIfNone(ui->cboMin);
            MKorvane::SelectFirstIfNone(ui->cboMax);
            ui->cboMin->setToolTip(ui->txtMin->toolTip());
            ui->cboMax->setToolTip(ui->txtMax->toolTip());
        });
    }

    // The limits of a set-point offset are differences: the device's default format shows them
    // as Fahrenheit temperatures (5 K as 41.0), and 32 less is the difference in °F (9.0), the
    // text that the difference format takes back unchanged.
    if (MKorvane::MesureUnit() == MEASUREMENT_SYSTEM_US && !mblnIsEnumFormat
        && fmt.contains(QStringLiteral("#US_diff"), Qt::CaseSensitive)) {
        for (QLineEdit *box : { ui->txtMin, ui->txtMax }) {
            step([&] {
                if (MKorvane::IsNumeric(box->text()))
                    box->setText(MKorvane::OneDecimalText(MKorvane::Val(box->text()) - 32));
            });
        }
    }

    step([&] { ReadOffsetValue(ErrMsg); });

    if (!MKorvane::StepLevelCpName().isEmpty()) {
        step([&] {
            MKorvane::ReadCpValueToTextBox(
                ui->txtSelector, nodeCp(MKorvane::StepLevelCpName()), MKorvane::StepLevelCpName());
        });
    }

    step([&] {
        QString options;
        if (MKorvane::ReadCpValue(nodeCp(MKorvane::OptionsCpName()), MKorvane::OptionsCpName(), options, ErrMsg)) {
            QStringList fields = options.split(QLatin1Char(' '));
            const int p = MKorvane::ObjMajorVersion() == 1 ? 7 : 0;
            ui->chkReverse->setChecked(fieldAt(fields, p).trimmed() == QLatin1String("1"));
        }
    });

    step([&] { ShowInterpretationLayout(mstrUnit, mstrDisplayUnit); });
    if (!KeepSelections) {
        step([&] {
            if (ui->cboInput->currentIndex() == -1 && ui->cboInput->count() > 0)
                ui->cboInput->setCurrentIndex(0);
        });
    }
    step([&] { ArrangeRangeControls(); });
    step([&] { ReadTransTableAndMultiLevel(); });
    step([&] {
        // A live value that cannot be read shows "N/A" and is not reported here.
        QString ownErrMsg;
        bool ok = false;
        ReadCurrentValue(ownErrMsg, ok);
    });

    mblnLoading = false;
    mblnValueChanged = false;
    report(ErrMsg, QStringLiteral("ReadValues"));
}

void ctlSensorHardware::ReadOffsetValue(QString &ErrMsg)
{
    MKorvane::collectFailure(ErrMsg, QStringLiteral("ReadOffsetValue"), [&] {
        if (MKorvane::ObjMajorVersion() != 2) {
            // The device library formats the value, so a US difference format gives US difference units.
            MKorvane::ReadCpValueToTextBox(
                ui->txtOff, nodeCp(MKorvane::OffsetCpName()), mblnIsEnumFormat ? SignedShortFormat : mstrDiffFormat);
            mstrOffsetShown = ui->txtOff->text();
            return;
        }
        // Version 2 stores the offset in SI base units in the property's own format.
        QString value;
        if (MKorvane::ReadCpValue(nodeCp(MKorvane::OffsetCpName()), MKorvane::OffsetCpName(), value, ErrMsg)) {
            bool ok = false;
            ConvertOffsetValueFromSIBase(value, mstrDiffFormat, ErrMsg, ok);
            MKorvane::SetBoxText(ui->txtOff, value);
            mstrOffsetShown = value;
            ui->txtOff->setToolTip(MKorvane::GetLanguageString(QStringLiteral("Format name")) + QStringLiteral(": ")
                + MKorvane::StripFormatPrefix(MKorvane::OffsetCpName()));
        }
    });
}

void ctlSensorHardware::ConvertOffsetValueFromSIBase(
    QString &Value, const QString &FormatName, QString &ErrMsg, bool &ok)
{
    ok = false;
    MKorvane::collectFailure(ErrMsg, QStringLiteral("ConvertOffsetValueFromSIBase"), [&] {
        if (MKorvane::IsNumeric(Value) && MKorvane::IsUsNumericKind(mlngFieldType)) {
            const DeviceAccess::FormatObjectPtr format
                = DeviceAccess::formatService().GetFormat(FormatName, mstrDeviceProgID);
            const double stored = MKorvane::Val(Value);
            Value = MKorvane::ShortestExactText(requireObject(format)->ConvertToDisplay(stored, FormatName), stored,
                [&](double shown) { return format->ConvertFromDisplay(shown, FormatName); });
        }
        ok = true;
    });
}

void ctlSensorHardware::ReadTransTableAndMultiLevel()
{
    // Reading failures of the properties are not reported; a table too short for the
    // multi-level field is a run-time failure for the caller.
    if (mstrTransTable.isEmpty()) {
        MKorvane::skipOnFailure([&] {
            QString errMsg;
            MKorvane::ReadCpValue(nodeCp(CpTransTable), CpTransTable, mstrTransTable, errMsg);
        });
    }
    if (mstrTransTable.isEmpty() || MKorvane::ObjMajorVersion() != 1)
        return;

    // The stored interpretation is read as before, but field 30 keeps what the device holds
    // whichever interpretation is on screen: on version-1 blocks it is both row 16's input and
    // the multi-level value, so a 0 put there would reach the device with the next table or
    // multi-level value that the user confirms without having typed it.
    MKorvane::skipOnFailure([&] {
        QString stored;
        QString errMsg;
        MKorvane::ReadCpValue(nodeCp(CpInterpretation), CpInterpretation, stored, errMsg);
    });

    if (ui->cboInput->currentText() != MultiLevel) {
        MKorvane::ReadCpValueToTextBox(
            ui->txtOff, nodeCp(MKorvane::OffsetCpName()), mblnIsEnumFormat ? SignedShortFormat : mstrDiffFormat);
        mstrOffsetShown = ui->txtOff->text();
    } else {
        if (mstrMultiLevel.isEmpty()) {
            QStringList fields = mstrTransTable.split(QLatin1Char(' '));
            mstrMultiLevel = fieldAt(fields, MultiLevelField).trimmed();
        }
        MKorvane::SetBoxText(ui->txtOff, mstrMultiLevel);
    }
}

void ctlSensorHardware::ReadCurrentValue(QString &ErrMsg, bool &ok)
{
    ok = false;
    QString fmt;
    const bool completed = MKorvane::tryStep(
        [&] {
            fmt = rangeFormat();
            // The check may find the network's System object and keeps it for the process.
            if (MKorvane::CheckDeviceState(MKorvane::processState().system, mobjDevice, ErrMsg)) {
                const DeviceAccess::NetworkVariablePtr nv = MKorvane::GetFirstNetworkVariable(mobjNode);
                QString value;
                if (MKorvane::ReadNvValue(nv, fmt, value, ErrMsg)) {
                    MKorvane::SetBoxText(ui->txtValue, value);
                    ok = true;
                }
            }
            if (!ok)
                MKorvane::SetBoxText(ui->txtValue, MKorvane::GetLanguageString(QStringLiteral("N/A")));
        },
        [&](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });
    if (!completed) {
        ok = false;
        return;
    }
    ui->txtValue->setToolTip(MKorvane::GetLanguageString(QStringLiteral("Format Type")) + QStringLiteral(": ")
        + MKorvane::StripFormatPrefix(fmt));
}
