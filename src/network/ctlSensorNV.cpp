// SPDX-License-Identifier: MIT
// ctlSensorNV: construction, the host's properties and ZovezuVavevaInit, which resolves
// the network variable's type into formats and widgets and reads the five values.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

ctlSensorNV::ctlSensorNV(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ctlSensorNV>())
{
    ui->setupUi(this);
    // The form's size: every row fits, and the fields are placed by hand.
    mDesignSize = size();
    lblUnit = { ui->lblUnit_0, ui->lblUnit_1 };
    // Until a type says otherwise the values are plain text: the lists, which lie over the
    // text boxes in the form, are hidden.
    ui->cboOverride->hide();
    ui->cboDefault->hide();
    connectHandlers();
    MKorvane::KeepDesignFaces(this, languageFontWidgets());
    MKorvane::GuardWheel(this);

    setAllowChangeNvName(false);
    MKorvane::LoadLanguageStrings();
    InitStrings();
}

ctlSensorNV::~ctlSensorNV() = default;

QSize ctlSensorNV::sizeHint() const
{
    return mDesignSize + QSize(mCaptionGrowth, 0);
}

QSize ctlSensorNV::minimumSizeHint() const
{
    return sizeHint();
}

void ctlSensorNV::setNoChangeButOKPress(bool IsChanged)
{
    mblnValueChanged = IsChanged;
}

qint16 ctlSensorNV::MesureUnit() const
{
    return MKorvane::MesureUnit();
}

void ctlSensorNV::setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject)
{
    // No handler here: a device-library failure reaches the host as this property's error.
    mobjNode = std::move(LonMarkObject);
    MKorvane::setObjMajorVersion(
        MKorvane::RoundToInteger(MKorvane::GetObjMajorVersion(MKorvane::deref(mobjNode).ConfigProperties())));
    mobjNodeCps = mobjNode->ConfigProperties();
}

void ctlSensorNV::setDeviceProgID(const QString &ProgramId)
{
    mstrDeviceProgId = ProgramId;
}

void ctlSensorNV::setDeviceObject(DeviceAccess::AppDevicePtr AppDevice)
{
    mobjDevice = std::move(AppDevice);
}

void ctlSensorNV::setConfigClick(bool Value)
{
    mblnConfigClick = Value;
}

void ctlSensorNV::setSystem(DeviceAccess::SystemPtr lcaCurrentSystem)
{
    MKorvane::setCurrentSystem(std::move(lcaCurrentSystem));
}

void ctlSensorNV::setListNumber(qint16 Number)
{
    // Kept for the host's property system; the control does not use it.
    mintListNumber = Number;
}

void ctlSensorNV::ZovezuVavevaInit()
{
    // Without a block or a network variable the call fails to the host; the pointer still
    // goes back to the default.
    struct DefaultPointerOnFailure
    {
        bool failed = true;
        ~DefaultPointerOnFailure()
        {
            if (failed)
                MKorvane::setMousePointer(MKorvane::vbDefault);
        }
    } pointer;
    MKorvane::setMousePointer(MKorvane::vbHourglass);

    MKorvane::InitCpNames();
    const DeviceAccess::NetworkVariablePtr NV = MKorvane::GetFirstNetworkVariable(mobjNode);
    QString ErrMsg;
    LoadNvType(NV, ErrMsg);
    ReadValues();
    mblnValueChanged = false;
    mblnInitialized = true;
    pointer.failed = false;
    MKorvane::setMousePointer(MKorvane::vbDefault);
    ui->cmdChange->setVisible(false);
    report(ErrMsg, QStringLiteral("ZovezuVavevaInit"));
}

DeviceAccess::ConfigPropertiesPtr ctlSensorNV::nvCps() const
{
    return MKorvane::deref(MKorvane::GetFirstNetworkVariable(mobjNode)).ConfigProperties();
}

bool ctlSensorNV::WritesSendDelta() const
{
    // The same test as the write's: such a structure's send delta is neither shown nor written.
    return !MKorvane::IsUnsupportedStructure(mlngBaseKind, mlngTypeIndex);
}

void ctlSensorNV::report(const QString &ErrMsg, const QString &procedure)
{
    // The frame's caption, in the user's language, names the control in every report.
    MKorvane::ReportError(ErrMsg, ui->fraNV->title(), procedure,
        [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
            bool &IsReceived) { emit MessageEvent(Message, Modulename, FunctionName, TypeIndex, IsReceived); });
}
