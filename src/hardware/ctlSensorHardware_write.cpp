// SPDX-License-Identifier: MIT
// ctlSensorHardware: writing what the user changed back to the block's configuration
// properties, in a fixed order, undoing the conversions of the reading side.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

using namespace HardwareControl;

bool ctlSensorHardware::WriteValue()
{
    MKorvane::BusyPointer busy;
    QString ErrMsg;
    bool result = false;

    // Each device operation is a step of its own: after an unexpected failure the work
    // resumes right after the operation that failed. The quiet number 5030 is only told
    // to the host as information; any other failure is critical and makes the result True.
    const auto step = [&](auto &&operation) {
        MKorvane::tryStep(operation, [&](qint32 number, const QString &description) {
            const auto raise = [this](const QString &Message, const QString &Modulename, const QString &FunctionName,
                                   qint32 TypeIndex, bool &IsReceived) {
                raiseMessageEvent(Message, Modulename, FunctionName, TypeIndex, IsReceived);
            };
            if (number == DeviceAccess::DeviceError::QuietNumber5030) {
                MKorvane::RaiseMessage(
                    description, Caption, QStringLiteral("WriteValue"), MKorvane::vbInformation, raise, false);
            } else {
                MKorvane::RaiseMessage(
                    description, Caption, QStringLiteral("WriteValue"), MKorvane::vbCritical, raise, true);
                result = true;
            }
        });
    };
    const auto writeControl = [&](QWidget *control, const QString &cpName, const QString &format) {
        // A list with nothing selected holds no choice of the user's: its empty text would only
        // be refused (a stored thermistor type that the version's list does not offer).
        if (auto *list = qobject_cast<QComboBox *>(control); list && list->currentIndex() < 0)
            return;
        DeviceAccess::ConfigPropertyPtr cp;
        step([&] { cp = nodeCp(cpName); });
        step([&] { MKorvane::WriteControlTextToCp(control, cp, format, ErrMsg); });
    };

    if (mblnValueChanged || mblnInterpretNotListed) {
        // Reverse flag: the other fields of the options go back as they were read.
        {
            const QString optionsName = MKorvane::OptionsCpName();
            DeviceAccess::ConfigPropertyPtr options;
            QString text;
            bool read = false;
            step([&] { options = nodeCp(optionsName); });
            step([&] { read = MKorvane::ReadCpValue(options, optionsName, text, ErrMsg); });
            if (read) {
                step([&] {
                    QStringList fields = text.split(QLatin1Char(' '));
                    const int p = MKorvane::ObjMajorVersion() == 1 ? 7 : 0;
                    // A field that already says what the box shows stays as it was read: only "1"
                    // ticks the box, so another value there ("2") is not the user's to replace.
                    QString &flag = fieldAt(fields, p);
                    if ((flag.trimmed() == QLatin1String("1")) != ui->chkReverse->isChecked())
                        flag = ui->chkReverse->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
                    MKorvane::WriteCpValue(options, optionsName, fields.join(QLatin1Char(' ')), ErrMsg);
                });
            }
        }

        writeControl(ui->cboInput, CpInterpretation, CpInterpretation);
        writeControl(ui->cboSignal, CpSignalType, CpSignalType);
        writeControl(ui->cboTherm, CpThermistorType, CpThermistorType);
        if (!MKorvane::StepLevelCpName().isEmpty())
            writeControl(ui->txtSelector, MKorvane::StepLevelCpName(), MKorvane::StepLevelCpName());

        QString interpretation;
        QString fmt;
        step([&] {
            interpretation = ui->cboInput->currentText();
            fmt = rangeFormat();
        });

        if (mblnIsEnumFormat) {
            writeControl(ui->cboMin, CpMinRange, fmt);
            writeControl(ui->cboMax, CpMaxRange, fmt);
        } else if (MKorvane::MesureUnit() == MEASUREMENT_SYSTEM_US
            && fmt.contains(QStringLiteral("#US_diff"), Qt::CaseSensitive)) {
            // The limits show as differences in °F (see ReadValues), which is what the difference
            // format takes: the typed number is written as it is, without adding 32 degrees.
            const auto writeDifference = [&](QLineEdit *box, const QString &cpName, const QString &invalid) {
                const QString text = box->text();
                if (!MKorvane::IsNumeric(text)) {
                    MKorvane::AppendErrMsg(ErrMsg, MKorvane::GetLanguageString(invalid));
                    return;
                }
                DeviceAccess::ConfigPropertyPtr cp;
                step([&] { cp = nodeCp(cpName); });
                step([&] { MKorvane::WriteCpValue(cp, fmt, MKorvane::DeviceValueText(text.trimmed()), ErrMsg); });
            };
            writeDifference(ui->txtMin, CpMinRange, QStringLiteral("Min Value is invalid."));
            writeDifference(ui->txtMax, CpMaxRange, QStringLiteral("Max Value is invalid."));
        } else {
            writeControl(ui->txtMin, CpMinRange, fmt);
            writeControl(ui->txtMax, CpMaxRange, fmt);
        }

        DeviceAccess::ConfigPropertyPtr table;
        step([&] { table = nodeCp(CpTransTable); });
        if (interpretation != MultiLevel) {
            if (interpretation == TransTable && mblnTableChanged)
                step([&] { MKorvane::WriteCpValue(table, CpTransTable, mstrTableEdited, ErrMsg); });
            step([&] {
                bool ok = false;
                WriteOffsetValue(ErrMsg, ok);
            });
        } else if (MKorvane::ObjMajorVersion() == 1) {
            // Version 1 keeps the multi-level value in field 30 of the table; the offset box shows it.
            QString text;
            bool read = false;
            step([&] { read = MKorvane::ReadCpValue(table, CpTransTable, text, ErrMsg); });
            if (read) {
                step([&] {
                    QStringList fields = text.split(QLatin1Char(' '));
                    fieldAt(fields, MultiLevelField) = MKorvane::DeviceValueText(ui->txtOff->text());
                    MKorvane::WriteCpValue(table, CpTransTable, fields.join(QLatin1Char(' ')), ErrMsg);
                });
            }
        } else if (mblnTableChanged) {
            step([&] { MKorvane::WriteCpValue(table, CpTransTable, mstrTableEdited, ErrMsg); });
        }
    }

    report(ErrMsg, QStringLiteral("WriteValue"));
    return result;
}

void ctlSensorHardware::WriteOffsetValue(QString &ErrMsg, bool &ok)
{
    ok = false;
    MKorvane::collectFailure(ErrMsg, QStringLiteral("WriteOffsetValue"), [&] {
        QString text = ui->txtOff->text().trimmed();
        // Structures other than the switch type have no offset.
        if (MKorvane::IsUnsupportedStructure(mlngFieldType, mlngTypeIndex))
            return;
        if (mblnIsEnumFormat) {
            // An enumerated input writes 0, but not over a stored offset the user left alone.
            if (text == mstrOffsetShown.trimmed()) {
                ok = true;
                return;
            }
            text = QStringLiteral("0");
        }

        QString format;
        if (MKorvane::ObjMajorVersion() != 2) {
            // The device library parses the text in the same format in which it was shown.
            format = mblnIsEnumFormat ? SignedShortFormat : mstrDiffFormat;
            text = MKorvane::DeviceValueText(text);
        } else {
            // Version 2 stores the offset in SI base units in the property's own format.
            double shown = 0;
            if (MKorvane::IsNumeric(text) && MKorvane::IsUsNumericKind(mlngFieldType)
                && MKorvane::ParseDeviceNumber(MKorvane::DeviceValueText(text), shown)) {
                const DeviceAccess::FormatObjectPtr converter
                    = DeviceAccess::formatService().GetFormat(mstrDiffFormat, mstrDeviceProgID);
                text = MKorvane::DeviceNumberText(requireObject(converter)->ConvertFromDisplay(shown, mstrDiffFormat));
            } else {
                text = MKorvane::DeviceValueText(text);
            }
            format = MKorvane::OffsetCpName();
        }
        ok = MKorvane::WriteCpValue(nodeCp(MKorvane::OffsetCpName()), format, text, ErrMsg);
    });
}
