// SPDX-License-Identifier: MIT
// Every device call of the controls' reads and writes failed in turn: the controls end
// their work, stop loading, report only what they may, and the database holds what the
// user meant except where a failure kept a value from being written.
#include "defaults/CInputDefaultValues.h"
#include "hardware/ctlSensorHardware.h"
#include "hardware/fTable.h"
#include "network/ctlSensorNV.h"
#include "support/FaultSweep.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <iterator>

using DeviceAccess::DeviceError;
using TestSupport::FaultSweep;
using TestSupport::SweepFault;
using TestSupport::SweepOperation;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

// A block of the sample network for each kind of input.
const QString Version1Linear = QStringLiteral("HwInput[4]"); // SNVT_temp_p, version 1, LINEAR
const QString SetpointOffset = QStringLiteral("HwInput[10]"); // SNVT_temp, version 2, SETPOINT_OFFSET
// A block of tests/data/network-nv.json.
const QString Temperature = QStringLiteral("HwInput[0]"); // SNVT_temp_p

enum Operation {
    HardwareInit,
    HardwareFill,
    HardwareGetValue,
    HardwareWrite,
    HardwareWriteUs,
    HardwareTableOk,
    NetworkInit,
    NetworkWrite,
    NetworkNameSave,
    NetworkNameReset,
    DefaultsWrite
};

// The reads of the hardware control: the message boxes of a property that cannot be read.
const QStringList ReadBoxes { "Sensor ReadCpValueToComboBox/16", "Sensor ReadCpValueToTextBox/16" };

} // namespace

class TestFaultSweep : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data();
    void sweep();

private:
    SweepOperation hardware(Operation which);
    SweepOperation network(Operation which);
    SweepOperation defaults();

    // Hands a block to a new hardware control the way a host does.
    void openHardware(Sim::Network &net, const QString &block, qint16 unit)
    {
        hardwareControl = std::make_unique<ctlSensorHardware>();
        sweeper->listen(hardwareControl.get());
        hardwareControl->setDeviceProgID(net.programId(Controller));
        hardwareControl->setDRFScope(net.scope(Controller));
        hardwareControl->setMesureUnit(unit);
        hardwareControl->setSystem(net.system());
        hardwareControl->setDeviceObject(net.device(Controller));
        hardwareControl->setNodeObject(net.block(Controller, block));
    }
    template<typename T = QLineEdit> T *hardwareField(const char *name) const
    {
        return hardwareControl->findChild<T *>(QLatin1String(name));
    }
    template<typename T = QLineEdit> T *networkField(const char *name) const
    {
        return networkControl->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<FaultSweep> sweeper;
    std::unique_ptr<ctlSensorHardware> hardwareControl;
    std::unique_ptr<ctlSensorNV> networkControl;
};

SweepOperation TestFaultSweep::hardware(Operation which)
{
    SweepOperation op;
    op.device = Controller;
    // US set-point offsets take the conversions: the range minus 32, the offset through the format.
    const bool setpointOffset = which == HardwareFill || which == HardwareWriteUs;
    op.block = setpointOffset ? SetpointOffset : Version1Linear;
    if (setpointOffset)
        op.arrange = [](Sim::Network &net) { net.setFormatLocale(MEASUREMENT_SYSTEM_US); };
    op.loading = [this] { return hardwareControl->IsLoading(); };
    op.release = [this] { hardwareControl.reset(); };
    const auto open = [this, block = op.block](qint16 unit) {
        return [this, block, unit](Sim::Network &net) {
            openHardware(net, block, unit);
            hardwareControl->ZovezuVavevaInit();
        };
    };

    switch (which) {
    case HardwareInit:
        op.name = QStringLiteral("hardware ZovezuVavevaInit");
        op.prepare = [this, block = op.block](Sim::Network &net) { openHardware(net, block, MEASUREMENT_SYSTEM_SI); };
        op.act = [this] { hardwareControl->ZovezuVavevaInit(); };
        op.reports
            = QStringList { "ZovezuVavevaInit/16", "FillHardwareValues/16", "ReadValues/16", "SetSignalCombo/16" }
            + ReadBoxes;
        // Without the signal types, the lists are not built and no value is read: the control
        // stays loading until the next FillHardwareValues.
        op.mayStayLoading = [](const SweepFault &fault, const QVector<Sim::CallRecord> &calls) {
            for (int i = fault.call; i <= (fault.onward ? calls.size() : fault.call); ++i) {
                if (calls.at(i - 1).operation == QLatin1String("TypeService.GetEnumCollection")
                    && calls.at(i - 1).arguments.value(2) == QLatin1String("16"))
                    return true;
            }
            return false;
        };
        break;
    case HardwareFill:
        op.name = QStringLiteral("hardware FillHardwareValues, US set-point offset");
        op.prepare = open(MEASUREMENT_SYSTEM_US);
        op.act = [this] { hardwareControl->FillHardwareValues(); };
        op.reports = QStringList { "FillHardwareValues/16", "ReadValues/16", "SetSignalCombo/16" } + ReadBoxes;
        break;
    case HardwareGetValue:
        op.name = QStringLiteral("hardware Get Value");
        op.prepare = open(MEASUREMENT_SYSTEM_SI);
        op.act = [this] { hardwareField<QPushButton>("cmdValue")->click(); };
        op.reports = QStringList { "cmdValue_Click/16" };
        // The live value, or "N/A" when it cannot be read.
        op.check = [this](const SweepFault &) {
            const QString shown = hardwareField("txtValue")->text();
            return shown == QLatin1String("45.5") || shown == QLatin1String("N/A")
                ? QStringList()
                : QStringList { QStringLiteral("Get Value shows \"%1\"").arg(shown) };
        };
        break;
    case HardwareWrite:
        op.name = QStringLiteral("hardware WriteValue");
        op.prepare = [this, open = open(MEASUREMENT_SYSTEM_SI)](Sim::Network &net) {
            open(net);
            hardwareField<QCheckBox>("chkReverse")->click(); // stored: reverse
            hardwareField<QComboBox>("cboSignal")->setCurrentText(QStringLiteral("MILIAMPS_4_20MA"));
            hardwareField<QComboBox>("cboTherm")->setCurrentText(QStringLiteral("PT100"));
            hardwareField("txtSelector")->setText(QStringLiteral("3"));
            hardwareField("txtMin")->setText(QStringLiteral("-10"));
            hardwareField("txtMax")->setText(QStringLiteral("60"));
            hardwareField("txtOff")->setText(QStringLiteral("1.5"));
        };
        op.intended = { { "UCPTioOptions", "0 0 0 0 0 0 0 0" }, { "UCPTinputSignalType", "MILIAMPS_4_20MA" },
            { "UCPTthermistorType", "PT100" }, { "UCPTstepLevel", "3" }, { "SCPTminRnge", "-10" },
            { "SCPTmaxRnge", "60" }, { "SCPToffset", "1.5" } };
        break;
    case HardwareWriteUs:
        // The range goes back as typed in the difference format (no longer plus 32: a typed
        // difference is stored as that difference), the offset through the format.
        op.name = QStringLiteral("hardware WriteValue, US set-point offset");
        op.prepare = [this, open = open(MEASUREMENT_SYSTEM_US)](Sim::Network &net) {
            open(net);
            hardwareField<QCheckBox>("chkReverse")->click();
            hardwareField("txtMin")->setText(QStringLiteral("36")); // 36 °F difference = 20 °C
            hardwareField("txtMax")->setText(QStringLiteral("45")); // 45 °F difference = 25 °C
            hardwareField("txtOff")->setText(QStringLiteral("9")); // 9 °F difference = 5 °C
        };
        op.intended = { { "UCPThwInOptions", "1 0 0 0 0 0 0 0" }, { "SCPTminRnge", "20" }, { "SCPTmaxRnge", "25" },
            { "UCPToffset", "5" } };
        break;
    case HardwareTableOk: {
        // The editor in US units: outputs are shown in °F and stored in °C.
        op.name = QStringLiteral("hardware fTable OK");
        op.arrange = [](Sim::Network &net) {
            net.setFormatLocale(MEASUREMENT_SYSTEM_US);
            net.setStoredCpText(Controller, Version1Linear, QStringLiteral("UCPTinputSignalInterpretation"),
                QStringLiteral("TRANS_TABLE"));
        };
        op.prepare = open(MEASUREMENT_SYSTEM_US);
        QStringList shown, stored;
        for (int r = 0; r < 16; ++r) {
            shown << QString::number(r) << QString::number(-4 + 18 * r); // -20 °C and then 10 °C steps
            stored << QString::number(r) << QString::number(-20 + 10 * r);
        }
        op.act = [this, shown] {
            sweeper->seams().setModalDriver([shown](QDialog &dialog) {
                for (int k = 0; k < fTable::CellCount; ++k)
                    dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k))->setText(shown.at(k));
                dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
                if (dialog.result() != QDialog::Accepted) // a failed OK leaves the form open
                    dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
                return dialog.result();
            });
            hardwareField<QPushButton>("cmdTable")->click();
        };
        op.finish = [this] { hardwareControl->WriteValue(); };
        // A failure while the form fills its cells or captions is a plain box without a title;
        // one on OK a critical box, and the form stays open.
        op.reports = QStringList { "/0", "Sensor Configuration/16", "cmdTable_Click/16" };
        op.quietReports.insert(DeviceError::QuietNumber1026, QStringLiteral("Sensor Configuration/16"));
        op.intended = { { "UCPTtransTable", stored.join(QLatin1Char(' ')) } };
        // A failed OK leaves the form open; Cancel then keeps the stored table.
        op.mayStay = QStringList { "UCPTtransTable" };
        // A conversion that fails with 5030 is passed over: that output is stored as shown.
        op.anyValue = [](const SweepFault &fault) {
            return fault.number == DeviceError::QuietNumber5030 ? QStringList { QStringLiteral("UCPTtransTable") }
                                                                : QStringList();
        };
        break;
    }
    default:
        break;
    }
    if (which == HardwareWrite || which == HardwareWriteUs) {
        op.act = [this] { sweeper->setFailedResult(hardwareControl->WriteValue()); };
        op.reports = QStringList { "WriteValue/16" };
        // An unexpected failure numbered 5030 is told as information, 1026 as any other failure.
        op.quietReports.insert(DeviceError::QuietNumber5030, QStringLiteral("WriteValue/64"));
        op.quietReports.insert(DeviceError::QuietNumber1026, QStringLiteral("WriteValue/16"));
        op.mustTellLoss = true;
    }
    return op;
}

SweepOperation TestFaultSweep::network(Operation which)
{
    SweepOperation op;
    op.device = Controller;
    op.block = Temperature;
    op.loading = [this] { return networkControl->IsLoading(); };
    op.release = [this] { networkControl.reset(); };
    const auto open = [this](Sim::Network &net) {
        networkControl = std::make_unique<ctlSensorNV>();
        sweeper->listen(networkControl.get());
        networkControl->setSystem(net.system());
        networkControl->setDeviceObject(net.device(Controller));
        networkControl->setDeviceProgID(net.programId(Controller));
        networkControl->setMesureUnit(MEASUREMENT_SYSTEM_SI);
        networkControl->setNodeObject(net.block(Controller, Temperature));
    };
    if (which == NetworkInit) {
        op.name = QStringLiteral("network ZovezuVavevaInit");
        op.prepare = open;
        op.act = [this] { networkControl->ZovezuVavevaInit(); };
        op.reports = QStringList { "ZovezuVavevaInit/16", "ReadValues/16", "Sensor ReadCpValueToTextBox/16" };
        // A block without its variable fails the call to the host.
        op.mayThrow = true;
        return op;
    }
    if (which == NetworkNameSave || which == NetworkNameReset) {
        const bool save = which == NetworkNameSave;
        const QString procedure
            = save ? QStringLiteral("SaveLcaHwInputNVName") : QStringLiteral("ResetLcaHwInputNVName");
        op.name = QStringLiteral("network ") + procedure;
        op.prepare = [this, open](Sim::Network &net) {
            open(net);
            networkControl->ZovezuVavevaInit();
        };
        op.act = [this, save, procedure] {
            QString errMsg;
            const bool done = save ? networkControl->SaveLcaHwInputNVName(errMsg, QStringLiteral("nvoRenamed"))
                                   : networkControl->ResetLcaHwInputNVName(errMsg);
            sweeper->setFailedResult(!done);
            sweeper->reportLines(procedure, errMsg);
        };
        op.reports = QStringList { "ReadValues/16" };
        op.intended = { { "nv name", save ? QStringLiteral("nvoRenamed") : QStringLiteral("nvoHwInput[0]") } };
        op.mustTellLoss = true;
        return op;
    }
    op.name = QStringLiteral("network WriteValue");
    op.prepare = [this, open](Sim::Network &net) {
        open(net);
        networkControl->ZovezuVavevaInit();
        networkControl->setAllowChangeNvName(true);
        networkField("txtDefault")->setText(QStringLiteral("18.5"));
        networkField("txtOver")->setText(QStringLiteral("23"));
        networkField("txtSend")->setText(QStringLiteral("0.4"));
        networkField("txtThrottle")->setText(QStringLiteral("2"));
        networkField("txtHeart")->setText(QStringLiteral("90"));
        networkField("txtHwInputNVName")->setText(QStringLiteral("nvoRenamed"));
    };
    op.act = [this] { sweeper->setFailedResult(networkControl->WriteValue()); };
    op.reports = QStringList { "ReadValues/16" };
    op.intended = { { "nv/UCPTdefaultValue", "18.5" }, { "nv/SCPTovrValue", "23" }, { "nv/SCPTsndDelta", "0.4" },
        { "nv/SCPTminSendTime", "2" }, { "nv/SCPTmaxSendTime", "90" }, { "nv name", "nvoRenamed" } };
    // A failure outside the single writes skips the rest.
    op.lookupsSkipTheRest = true;
    op.mustTellLoss = true;
    return op;
}

SweepOperation TestFaultSweep::defaults()
{
    SweepOperation op;
    op.name = QStringLiteral("CInputDefaultValues WriteDefaultValues");
    op.device = Controller;
    op.block = Version1Linear;
    // The variable is renamed first, so that its reset shows.
    op.arrange = [](Sim::Network &net) {
        net.setLogging(false);
        net.block(Controller, Version1Linear)->NetworkVariables()->Item(1)->setName(QStringLiteral("nvoSomething"));
        net.setLogging(true);
    };
    auto inputDefaults = std::make_shared<std::unique_ptr<CInputDefaultValues>>();
    auto folder = std::make_shared<QTemporaryDir>();
    op.prepare = [inputDefaults, folder](Sim::Network &net) {
        QDir(folder->path()).mkpath(QStringLiteral("CommonFiles"));
        QFile ini(folder->filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini")));
        if (!ini.exists() && ini.open(QIODevice::WriteOnly)) {
            ini.write("[Room_Temp_NTC10k]\n"
                      "UCPTinputSignalInterpretation = STD_THERMISTOR\n"
                      "UCPTinputSignalType = RESISTANCE\n"
                      "SCPTminRnge = -15 °C\n"
                      "SCPTmaxRnge = 45 °C\n"
                      "SCPToffset = 0.5\n"
                      "SCPTovrValue = 19 °C\n"
                      "UCPTdefaultValue = 18 °C\n"
                      "SCPTsndDelta = 0.3 °C\n"
                      "SCPTmaxSendTime = 120 s\n");
            ini.close();
        }
        *inputDefaults = std::make_unique<CInputDefaultValues>();
        QString path = folder->filePath(QStringLiteral("Plugin"));
        QString errMsg;
        (*inputDefaults)
            ->ChargeInputDefaultValues(path, net.programId(Controller), net.scope(Controller), 19, 0, 7, errMsg);
        if (!errMsg.isEmpty())
            throw std::runtime_error(errMsg.toStdString());
        (*inputDefaults)->setHardwareInputObject(net.block(Controller, Version1Linear));
    };
    op.act = [this, inputDefaults] {
        QString errMsg;
        sweeper->setFailedResult(
            !(*inputDefaults)->WriteDefaultValues(QStringLiteral("Room_Temp_NTC10k"), QString(), errMsg));
        sweeper->reportLines(QStringLiteral("WriteDefaultValues"), errMsg);
    };
    op.release = [inputDefaults] { inputDefaults->reset(); };
    op.intended = { { "UCPTinputSignalInterpretation", "STD_THERMISTOR" }, { "UCPTinputSignalType", "RESISTANCE" },
        { "SCPTminRnge", "-15" }, { "SCPTmaxRnge", "45" }, { "SCPToffset", "0.5" }, { "nv/SCPTovrValue", "19" },
        { "nv/UCPTdefaultValue", "18" }, { "nv/SCPTsndDelta", "0.3" }, { "nv/SCPTmaxSendTime", "120" },
        { "nv name", "nvoHwInput[4]" } };
    op.mustTellLoss = true;
    return op;
}

void TestFaultSweep::sweep_data()
{
    QTest::addColumn<int>("operation");
    // Named so that one operation can be run alone (tst_fault_sweep sweep:"hardware Get Value").
    const char *const names[] = { "hardware ZovezuVavevaInit", "hardware FillHardwareValues, US set-point offset",
        "hardware Get Value", "hardware WriteValue", "hardware WriteValue, US set-point offset", "hardware fTable OK",
        "network ZovezuVavevaInit", "network WriteValue", "network SaveLcaHwInputNVName",
        "network ResetLcaHwInputNVName", "WriteDefaultValues" };
    static_assert(std::size(names) == DefaultsWrite + 1, "a name for every operation");
    for (int which = HardwareInit; which <= DefaultsWrite; ++which)
        QTest::newRow(names[which]) << which;
}

void TestFaultSweep::sweep()
{
    QFETCH(int, operation);
    const auto which = Operation(operation);
    const bool onNetwork = which >= NetworkInit && which <= NetworkNameReset;
    sweeper = std::make_unique<FaultSweep>(onNetwork ? QStringLiteral("network-nv.json") : QString());
    const SweepOperation op = which == DefaultsWrite ? defaults() : onNetwork ? network(which) : hardware(which);
    const QStringList violations = sweeper->run(op);
    qInfo("%s: %d runs over %d device calls, %lld violations", qPrintable(op.name), sweeper->runs(),
        sweeper->cleanCalls(), static_cast<long long>(violations.size()));
    sweeper.reset();
    for (const QString &violation : violations)
        qWarning("%s", qPrintable(violation));
    QVERIFY2(violations.isEmpty(), "the violations are listed above");
}

QTEST_MAIN(TestFaultSweep)
#include "tst_fault_sweep.moc"
