// SPDX-License-Identifier: MIT
// ctlSensorHardware: construction, the host's properties and ZovezuVavevaInit, which
// loads the three enumerations of the device's resource files and builds the lists.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"
#include "shared/ThemeColors_p.h"

using namespace HardwareControl;

const QString ctlSensorHardware::Caption = QStringLiteral("Hardware Properties");

ctlSensorHardware::ctlSensorHardware(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ctlSensorHardware>())
{
    ui->setupUi(this);
    mDesignSize = size();
    // Widgets that only a few interpretations show start hidden: the first layout then
    // has less to change on screen.
    for (QWidget *rare : { static_cast<QWidget *>(ui->lblSelector), static_cast<QWidget *>(ui->txtSelector),
             static_cast<QWidget *>(ui->lblSelectorUnit), static_cast<QWidget *>(ui->lblTherm),
             static_cast<QWidget *>(ui->cboTherm), static_cast<QWidget *>(ui->cmdTable),
             static_cast<QWidget *>(ui->cboMin), static_cast<QWidget *>(ui->cboMax),
             static_cast<QWidget *>(ui->lblReverse), static_cast<QWidget *>(ui->chkReverse) })
        rare->hide();

    // The live value is shown, not edited: locked, on the button face like a caption (the
    // theme's button face, also after the theme changes).
    MKorvane::TakeParentRole(ui->txtValue, QPalette::Base, QPalette::Button);
    ui->txtValue->setReadOnly(true);

    // Before the handlers, so that a click's first pause knows of the selection that raised it.
    watchScreenChanges();
    connectHandlers();
    MKorvane::KeepDesignFaces(this, languageFontWidgets());
    MKorvane::GuardWheel(this);

    MKorvane::LoadLanguageStrings();
    InitStrings();
}

ctlSensorHardware::~ctlSensorHardware() = default;

QSize ctlSensorHardware::sizeHint() const
{
    return mDesignSize + QSize(mCaptionGrowth, 0);
}

QSize ctlSensorHardware::minimumSizeHint() const
{
    return sizeHint();
}

void ctlSensorHardware::setDRFScope(qint32 mlngDRFScope)
{
    mlngScope = mlngDRFScope;
}

void ctlSensorHardware::setNoChangeButOKPress(bool IsChanged)
{
    mblnValueChanged = IsChanged;
}

bool ctlSensorHardware::TypeValueChanged() const
{
    // No operation of this control changes the network-variable type.
    return false;
}

bool ctlSensorHardware::ValueChanged() const
{
    return mblnValueChanged || mblnInterpretNotListed;
}

void ctlSensorHardware::setCboChanged(bool IsCboChanged)
{
    mblnCboChanged = IsCboChanged;
}

void ctlSensorHardware::setMesureUnit(qint16 MesureUnitIndex)
{
    MKorvane::setMesureUnit(MesureUnitIndex);
    // Once initialised, every shown value is read again in the new units; this property never fails.
    MKorvane::skipOnFailure([this] {
        if (mblnInitialized && MKorvane::GetFirstNetworkVariable(mobjNode))
            FillHardwareValues();
    });
}

qint16 ctlSensorHardware::MesureUnit() const
{
    return MKorvane::MesureUnit();
}

void ctlSensorHardware::setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject)
{
    // No handler here: a device-library failure reaches the host as this property's error.
    mobjNode = std::move(LonMarkObject);
    MKorvane::setObjMajorVersion(
        MKorvane::RoundToInteger(MKorvane::GetObjMajorVersion(requireObject(mobjNode)->ConfigProperties())));
    mobjNodeCps = mobjNode->ConfigProperties();
}

void ctlSensorHardware::setDeviceProgID(const QString &ProgramId)
{
    mstrDeviceProgID = ProgramId;
}

void ctlSensorHardware::setDeviceObject(DeviceAccess::AppDevicePtr strDeviceObject)
{
    mobjDevice = std::move(strDeviceObject);
}

void ctlSensorHardware::setSystem(DeviceAccess::SystemPtr lcaCurrentSystem)
{
    MKorvane::setCurrentSystem(std::move(lcaCurrentSystem));
}

void ctlSensorHardware::setChoice(const QString &strChoice)
{
    mstrChoice = strChoice;
}

void ctlSensorHardware::setInputChoice(const QString &strInputChoice)
{
    mstrInputChoice = strInputChoice;
}

void ctlSensorHardware::ZovezuVavevaInit()
{
    MKorvane::BusyPointer busy;
    // Nothing is shown before the control is complete: it paints once, when the host's
    // event loop next runs.
    const MKorvane::ScreenChanges::Hold hold(mScreen);
    const MKorvane::CaptionBatch captions;
    // Each failure is reported at once (the two quiet numbers never are) and initialisation
    // goes on with the next step.
    const auto step = [this](auto &&operation) {
        return MKorvane::tryStep(operation, [this](qint32 number, const QString &description) {
            if (!DeviceAccess::DeviceError::isQuiet(number))
                report(description, QStringLiteral("ZovezuVavevaInit"));
        });
    };

    qint32 catalog = 0;
    qint32 scope = 0;
    QString typeFilePath;
    qint32 typeFile = 0;
    DeviceAccess::EnumCollectionPtr thermistorTypes;

    // Without a device library every step would fail alike: the host hears of it once.
    if (!step([] { DeviceAccess::requireInstalled(); })) {
        mblnInitialized = true;
        mblnValueChanged = false;
        return;
    }
    step([&] { catalog = DeviceAccess::resourceCatalog().OpenCatalog(true, QString()); });
    step([&] { scope = mlngScope; });
    // The type file is looked up with scope 0, whatever the device's scope is.
    step(
        [&] { typeFilePath = DeviceAccess::resourceCatalog().GetTypeFilePath(catalog, mstrDeviceProgID, 0, true, 0); });
    step([&] { DeviceAccess::resourceCatalog().CloseCatalog(catalog); });
    step([&] { typeFile = DeviceAccess::typeService().OpenTypeFileHandle(typeFilePath); });
    step([&] {
        colEnumSignal = DeviceAccess::typeService().GetEnumCollection(mstrDeviceProgID, scope,
            ENUM_INDEX_SIGNAL_INTERPRET, ENUM_SIGNAL_INTERPRET_MIN_INDEX, ENUM_SIGNAL_INTERPRET_MAX_INDEX);
    });
    step([&] { thermistorTypes = DeviceAccess::typeService().GetEnumCollection(mstrDeviceProgID, scope, 10, 0, 24); });
    step([&] { mcolSignalTypes = DeviceAccess::typeService().GetEnumCollection(mstrDeviceProgID, scope, 16, 0, 2); });
    step([&] { DeviceAccess::resourceCatalog().CloseResourceFile(typeFile); });

    mblnLoading = true;
    if (mcolSignalTypes) {
        step([&] {
            // Names only for now; the layout rebuilds this list with item data.
            const QSignalBlocker blocker(ui->cboSignal);
            ui->cboSignal->clear();
            for (qint16 i = 1; i <= mcolSignalTypes->Count(); ++i)
                ui->cboSignal->addItem(requireObject(mcolSignalTypes->Item(i))->Name());
            ui->cboSignal->setCurrentIndex(-1);
        });
        step([&] { FillInterpretationList(); });
        step([&] { FillThermistorList(thermistorTypes); });
        step([&] { FillHardwareValues(); });
    }
    mblnInitialized = true;
    mblnValueChanged = false;
}

DeviceAccess::ConfigPropertyPtr ctlSensorHardware::nodeCp(const QString &name) const
{
    return requireObject(mobjNodeCps)->Item(name);
}

QString ctlSensorHardware::rangeFormat() const
{
    // Set-point offsets are differences: their range is read and written in the difference format.
    return ui->cboInput->currentText().compare(SetpointOffset, Qt::CaseInsensitive) == 0 ? mstrDiffFormat
                                                                                         : mstrFormatType;
}

void ctlSensorHardware::report(const QString &ErrMsg, const QString &procedure)
{
    MKorvane::ReportError(ErrMsg, Caption, procedure,
        [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
            bool &IsReceived) { raiseMessageEvent(Message, Modulename, FunctionName, TypeIndex, IsReceived); });
}

void ctlSensorHardware::raiseMessageEvent(
    const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex, bool &IsReceived)
{
    emit MessageEvent(Message, Modulename, FunctionName, TypeIndex, IsReceived);
}
