// SPDX-License-Identifier: MIT
// ctlSensorNV: the embeddable control that shows and edits the network side of one
// hardware input: the type and unit of the block's output network variable, its
// override, default, send delta, throttle and heartbeat, and the variable's name. The
// implementation is split by concern over ctlSensorNV*.cpp: host interface, type and
// units, reading, writing, name and override exchange, events and strings.
#pragma once

#include "defaults/CTypeInfo.h"
#include "device/DeviceAccess.h"

#include <QSize>
#include <QString>
#include <QVector>
#include <QWidget>
#include <memory>

class QLabel;

namespace Ui {
class ctlSensorNV;
}

class ctlSensorNV : public QWidget
{
    Q_OBJECT
    // Run-time properties of the host interface (not stored at design time).
    Q_PROPERTY(
        bool NoChangeButOKPress READ NoChangeButOKPress WRITE setNoChangeButOKPress DESIGNABLE false STORED false)
    Q_PROPERTY(bool ValueChanged READ ValueChanged DESIGNABLE false STORED false)
    Q_PROPERTY(qint16 MesureUnit READ MesureUnit WRITE setMesureUnit DESIGNABLE false STORED false)
    Q_PROPERTY(QString OverrideValue READ OverrideValue WRITE setOverrideValue DESIGNABLE false STORED false)
    Q_PROPERTY(QString DeviceProgID READ DeviceProgID WRITE setDeviceProgID DESIGNABLE false STORED false)
    Q_PROPERTY(bool ConfigClick READ ConfigClick WRITE setConfigClick DESIGNABLE false STORED false)
    Q_PROPERTY(QString LcaHwInputNVName READ LcaHwInputNVName WRITE setLcaHwInputNVName DESIGNABLE false STORED false)
    Q_PROPERTY(qint16 ListNumber READ ListNumber WRITE setListNumber DESIGNABLE false STORED false)
    // The one design-time setting: Designer writes it into the form and the form loader restores it.
    Q_PROPERTY(bool AllowChangeNvName READ AllowChangeNvName WRITE setAllowChangeNvName)

public:
    explicit ctlSensorNV(QWidget *parent = nullptr);
    ~ctlSensorNV() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Host interface, in the order the host sees it. The write-only properties of the host
    // have a getter only so that Qt's property system accepts them; it returns what was
    // last assigned.
    void ValueChange(const QString &NewValue, qint16 ClassId, const QString &ObjectName);
    void setNoChangeButOKPress(bool IsChanged);
    bool NoChangeButOKPress() const { return mblnValueChanged; }
    bool ValueChanged() const { return mblnValueChanged; }
    // True while the control fills its own widgets (its change handlers then mark nothing).
    bool IsLoading() const { return mblnLoading; }
    bool AllowChangeNvName() const { return mblnAllowChangeNvName; }
    void setAllowChangeNvName(bool Value);
    void setMesureUnit(qint16 MesureUnitIndex);
    qint16 MesureUnit() const;
    void setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject);
    void setOverrideValue(const QString &Value);
    QString OverrideValue() const;
    void setDeviceProgID(const QString &ProgramId);
    QString DeviceProgID() const { return mstrDeviceProgId; }
    void setDeviceObject(DeviceAccess::AppDevicePtr AppDevice);
    void setConfigClick(bool Value);
    bool ConfigClick() const { return mblnConfigClick; }
    void setSystem(DeviceAccess::SystemPtr lcaCurrentSystem);
    void setLcaHwInputNVName(const QString &Name);
    QString LcaHwInputNVName() const { return mstrLcaHwInputNVName; }
    bool ResetLcaHwInputNVName(QString &ErrorMsg);
    bool SaveLcaHwInputNVName(QString &ErrorMsg, const QString &NewLcaHwInputNVName = QString());
    void setListNumber(qint16 Number);
    qint16 ListNumber() const { return mintListNumber; }
    void ClearPreferedTypesList();
    void AddPreferedType(const QString &TypeName, qint16 Index);
    // Resolves the type and reads the values; what fails inside is reported through
    // MessageEvent. A block without a network variable is a DeviceAccess::Failure thrown
    // to the caller, as are the device library's failures of NodeObject.
    void ZovezuVavevaInit();
    void OpenChangeType();
    void FillValue();
    void FillTypeList(const QString &strTemp, qint16 intIndex);
    void UpdateSetpointOffSet(bool Value);
    bool WriteValue();
    void InitStrings();
    void ReInitializeStrings();
    bool GetNVTypeFormatName(const DeviceAccess::NetworkVariablePtr &NetworkVariable, qint16 MesureUnitIndex,
        QString &LongFormat, QString &ErrMsg);

    // Addition to the host interface: whether WriteValue writes the send delta of the
    // variable shown. False for a structure other than the switch type, whose send delta
    // the control cannot write: WriteValue then returns True without a message although
    // everything else was written, and a host tells that True from a failure with this.
    // True for every other type (an enumeration writes 0, "send on every change"). It
    // follows the type resolved by the last ZovezuVavevaInit or change of type.
    bool WritesSendDelta() const;

    // The preferred types the host gave, in the order given; the control only holds them.
    const CTypeInfoCollection &PreferredTypes() const { return mcolPreferredTypes; }

signals:
    // Parameters by reference: connect with direct connections only.
    void MessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
        bool &IsReceived);
    void ValueChangeEvent(const QString &NewValue, qint16 ClassId, const QString &ObjectName);
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    // Declared for the host; this control never raises it.
    void OnChangeType();

private:
    // Type and units (ctlSensorNV_type.cpp)
    void LoadNvType(const DeviceAccess::NetworkVariablePtr &NV, QString &ErrMsg);
    void ShowTypeAndUnits(const QString &LongFormat, const QString &UnitText, const QString &NvName);
    void ShowEnumControls(bool TextMode);
    bool FillEnumCombos(const DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg);
    void ShowSendDelta(bool Visible);

    // Reading (ctlSensorNV_read.cpp)
    void ReadValues();

    // Writing (ctlSensorNV_write.cpp)
    bool WriteNvValues();
    bool WriteSendDeltaValue(const DeviceAccess::ConfigPropertyPtr &CP, QString &ErrMsg);

    // Events (ctlSensorNV_events.cpp)
    void connectHandlers();
    QList<QWidget *> languageFontWidgets() const;
    void markChanged();
    void cboDefault_Click();
    void txtOver_Change();
    void cboOverride_Click();
    void cmdChange_Click();
    void raiseOverrideChange(const QString &NewValue);

    // Layout (ctlSensorNV_layout.cpp)
    void fitCaptionColumn();

    // Helpers shared by the files of the control.
    DeviceAccess::ConfigPropertiesPtr nvCps() const;
    void report(const QString &ErrMsg, const QString &procedure);

    std::unique_ptr<Ui::ctlSensorNV> ui;
    QVector<QLabel *> lblUnit; // lblUnit(0) beside the heartbeat, lblUnit(1) beside the throttle

    QString mstrLcaHwInputNVName;
    DeviceAccess::AppDevicePtr mobjDevice;
    CTypeInfoCollection mcolPreferredTypes;
    QString mstrDeviceProgId;
    bool mblnConfigClick = false;
    bool mblnLoading = false;
    bool mblnInitialized = false;
    bool mblnValueChanged = false;
    DeviceAccess::LonMarkObjectPtr mobjNode;
    DeviceAccess::ConfigPropertiesPtr mobjNodeCps;
    QString mstrDeltaFormat;
    QString mstrNvFormat;
    DeviceAccess::EnumCollectionPtr mcolEnum;
    bool mblnIsEnum = false;
    QString mstrUnitText;
    bool mblnSetpointOffset = false;
    qint32 mlngBaseKind = 0;
    qint32 mlngTypeIndex = 0;
    bool mblnAllowChangeNvName = false;
    qint16 mintListNumber = 0; // accepted and ignored
    QSize mDesignSize; // the size of the form file
    // How much wider than designed the caption column is for the current language.
    int mCaptionGrowth = 0;
    static constexpr int CaptionGap = 6; // between a row caption and its value
};
