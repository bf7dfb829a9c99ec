// SPDX-License-Identifier: MIT
/// @file
/// ctlSensorNV: the embeddable control that shows and edits the network side of one
/// hardware input: the type and unit of the block's output network variable, its
/// override, default, send delta, throttle and heartbeat, and the variable's name. The
/// implementation is split by concern over ctlSensorNV*.cpp: host interface, type and
/// units, reading, writing, name and override exchange, events and strings.
#pragma once

#include "vqzovezuvaveva_export.h"

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

/// The network side of one hardware input, as an embeddable widget (see the file).
///
/// A host hands over the device objects (setSystem, setDeviceObject, setDeviceProgID,
/// setMesureUnit, setNodeObject), calls ZovezuVavevaInit, and on the user's OK calls
/// WriteValue when ValueChanged is set. Failures inside are reported through MessageEvent
/// (and a message box when the host does not take it). The control owns its widgets; the
/// device objects are shared with the host.
class VQ_EXPORT ctlSensorNV : public QWidget
{
    Q_OBJECT
    // Run-time properties of the host interface (not stored at design time).
    /// Whether the user changed something since the last read; see ValueChanged().
    Q_PROPERTY(
        bool NoChangeButOKPress READ NoChangeButOKPress WRITE setNoChangeButOKPress DESIGNABLE false STORED false)
    /// Whether OK has something to write.
    Q_PROPERTY(bool ValueChanged READ ValueChanged DESIGNABLE false STORED false)
    /// The measurement system (EMeasurementSystem), shared by every control of the process.
    Q_PROPERTY(qint16 MesureUnit READ MesureUnit WRITE setMesureUnit DESIGNABLE false STORED false)
    /// The override value as the field shows it; see setOverrideValue().
    Q_PROPERTY(QString OverrideValue READ OverrideValue WRITE setOverrideValue DESIGNABLE false STORED false)
    /// The device's program ID, 16 hexadecimal digits.
    Q_PROPERTY(QString DeviceProgID READ DeviceProgID WRITE setDeviceProgID DESIGNABLE false STORED false)
    /// Accepted from the host and kept; no effect on the control.
    Q_PROPERTY(bool ConfigClick READ ConfigClick WRITE setConfigClick DESIGNABLE false STORED false)
    /// The variable's name that SaveLcaHwInputNVName writes.
    Q_PROPERTY(QString LcaHwInputNVName READ LcaHwInputNVName WRITE setLcaHwInputNVName DESIGNABLE false STORED false)
    /// Accepted from the host and kept; no effect on the control.
    Q_PROPERTY(qint16 ListNumber READ ListNumber WRITE setListNumber DESIGNABLE false STORED false)
    /// The one design-time setting: Designer writes it into the form and the form loader restores it.
    Q_PROPERTY(bool AllowChangeNvName READ AllowChangeNvName WRITE setAllowChangeNvName)

public:
    /// An empty control at its design size; nothing is read before ZovezuVavevaInit.
    explicit ctlSensorNV(QWidget *parent = nullptr);
    ~ctlSensorNV() override;

    /// The design size, widened for longer captions: a layout never gives the control less.
    /// @{
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    ///@}

    // Host interface, in the order the host sees it. The write-only properties of the host
    // have a getter only so that Qt's property system accepts them; it returns what was
    // last assigned.

    /// Another view of the input changed the override (ClassId 26, ObjectName "Override"; any
    /// other pair is ignored): the field takes NewValue, the control is marked changed, and
    /// no ValueChangeEvent goes back.
    void ValueChange(const QString &NewValue, qint16 ClassId, const QString &ObjectName);
    /// The user's edits flag (the same as ValueChanged); the host may reset it.
    /// @{
    void setNoChangeButOKPress(bool IsChanged);
    bool NoChangeButOKPress() const { return mblnValueChanged; }
    ///@}
    /// Whether the user changed something since the last read: OK then calls WriteValue.
    bool ValueChanged() const { return mblnValueChanged; }
    /// True while the control fills its own widgets (its change handlers then mark nothing).
    bool IsLoading() const { return mblnLoading; }
    /// Whether the user may edit the variable's name (the name box is read-only otherwise).
    /// @{
    bool AllowChangeNvName() const { return mblnAllowChangeNvName; }
    void setAllowChangeNvName(bool Value);
    ///@}
    /// The process-wide measurement system (EMeasurementSystem); read at ZovezuVavevaInit.
    /// @{
    void setMesureUnit(qint16 MesureUnitIndex);
    qint16 MesureUnit() const;
    ///@}
    /// The input's functional block (shared with the host). Throws DeviceAccess::Failure for
    /// a failure of the device library.
    void setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject);
    /// Puts a value into the override field as if the user typed it (marks the control changed
    /// and raises ValueChangeEvent when it differs).
    void setOverrideValue(const QString &Value);
    /// The override field's text.
    QString OverrideValue() const;
    /// The device's program ID, 16 hexadecimal digits, which selects the resource set.
    /// @{
    void setDeviceProgID(const QString &ProgramId);
    QString DeviceProgID() const { return mstrDeviceProgId; }
    ///@}
    /// The device (shared with the host), whose state is checked before writing.
    void setDeviceObject(DeviceAccess::AppDevicePtr AppDevice);
    /// Accepted from the host and kept; no effect on the control.
    /// @{
    void setConfigClick(bool Value);
    bool ConfigClick() const { return mblnConfigClick; }
    ///@}
    /// The network system, kept process-wide (MKorvane::CurrentSystem).
    void setSystem(DeviceAccess::SystemPtr lcaCurrentSystem);
    /// The name SaveLcaHwInputNVName writes to the variable.
    /// @{
    void setLcaHwInputNVName(const QString &Name);
    QString LcaHwInputNVName() const { return mstrLcaHwInputNVName; }
    ///@}
    /// Gives the variable back its programmatic name. False with the failure appended to
    /// ErrorMsg (a quiet number counts as success).
    bool ResetLcaHwInputNVName(QString &ErrorMsg);
    /// Writes NewLcaHwInputNVName (or, when empty, LcaHwInputNVName) as the variable's name.
    /// False with the reason appended to ErrorMsg: an empty name, or the device's failure.
    bool SaveLcaHwInputNVName(QString &ErrorMsg, const QString &NewLcaHwInputNVName = QString());
    /// Accepted from the host and kept; no effect on the control.
    /// @{
    void setListNumber(qint16 Number);
    qint16 ListNumber() const { return mintListNumber; }
    ///@}
    /// The host's preferred types (PreferredTypes): empties the list, and adds one at its end.
    /// @{
    void ClearPreferedTypesList();
    void AddPreferedType(const QString &TypeName, qint16 Index);
    ///@}
    /// Resolves the type and reads the values; what fails inside is reported through
    /// MessageEvent. A block without a network variable is a DeviceAccess::Failure thrown
    /// to the caller, as are the device library's failures of NodeObject.
    void ZovezuVavevaInit();
    /// Kept for the host interface: the control never changes the type; it reads the values
    /// again and reports a failure through MessageEvent.
    void OpenChangeType();
    /// Reads the values again from the device.
    void FillValue();
    /// Accepted for the host; the control offers no type list and does nothing.
    void FillTypeList(const QString &strTemp, qint16 intIndex);
    /// The hardware control's set-point-offset mode (OnSetpointOffSetEvent, relayed by the
    /// host): override and default are then shown and written as differences. Ignored before
    /// ZovezuVavevaInit.
    void UpdateSetpointOffSet(bool Value);
    /// Writes the shown values when the user changed something. Returns True when a write
    /// failed (reported through MessageEvent), False otherwise (also when there was nothing to write).
    bool WriteValue();
    /// Applies the language's face and captions (the display strings already loaded).
    void InitStrings();
    /// Reloads the display strings when the language changed, then InitStrings().
    void ReInitializeStrings();
    /// The format of the variable's type in a measurement system (LongFormat). False with the
    /// reason appended to ErrMsg.
    bool GetNVTypeFormatName(const DeviceAccess::NetworkVariablePtr &NetworkVariable, qint16 MesureUnitIndex,
        QString &LongFormat, QString &ErrMsg);

    /// Addition to the host interface: whether WriteValue writes the send delta of the
    /// variable shown. False for a structure other than the switch type, whose send delta
    /// the control cannot write: WriteValue then returns True without a message although
    /// everything else was written, and a host tells that True from a failure with this.
    /// True for every other type (an enumeration writes 0, "send on every change"). It
    /// follows the type resolved by the last ZovezuVavevaInit or change of type.
    bool WritesSendDelta() const;

    /// The preferred types the host gave, in the order given; the control only holds them.
    const CTypeInfoCollection &PreferredTypes() const { return mcolPreferredTypes; }

signals:
    /// Parameters by reference: connect with direct connections only.
    /// A message for the host: Message, the control's caption (Modulename), the procedure
    /// (FunctionName), the message style (TypeIndex, 16 critical, 64 information). Set
    /// IsReceived to True to keep the control's own message box away.
    void MessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
        bool &IsReceived);
    /// The user changed the override: NewValue, ClassId 26, ObjectName "Override". A host passes
    /// it to ValueChange of the other views of the input.
    void ValueChangeEvent(const QString &NewValue, qint16 ClassId, const QString &ObjectName);
    /// A key pressed in the control or a field: virtual-key number and shift state
    /// (MKorvane::VirtualKeyCode, MKorvane::ShiftState).
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    /// Declared for the host; this control never raises it.
    void OnChangeType();

private:
    /// Type and units (ctlSensorNV_type.cpp)
    void LoadNvType(const DeviceAccess::NetworkVariablePtr &NV, QString &ErrMsg);
    void ShowTypeAndUnits(const QString &LongFormat, const QString &UnitText, const QString &NvName);
    void ShowEnumControls(bool TextMode);
    bool FillEnumCombos(const DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg);
    void ShowSendDelta(bool Visible);

    /// Reading (ctlSensorNV_read.cpp)
    void ReadValues();

    /// Writing (ctlSensorNV_write.cpp)
    bool WriteNvValues();
    bool WriteSendDeltaValue(const DeviceAccess::ConfigPropertyPtr &CP, QString &ErrMsg);

    /// Events (ctlSensorNV_events.cpp)
    void connectHandlers();
    QList<QWidget *> languageFontWidgets() const;
    void markChanged();
    void cboDefault_Click();
    void txtOver_Change();
    void cboOverride_Click();
    void cmdChange_Click();
    void raiseOverrideChange(const QString &NewValue);

    /// Layout (ctlSensorNV_layout.cpp)
    void fitCaptionColumn();

    /// Helpers shared by the files of the control.
    DeviceAccess::ConfigPropertiesPtr nvCps() const;
    void report(const QString &ErrMsg, const QString &procedure);

    std::unique_ptr<Ui::ctlSensorNV> ui;
    QVector<QLabel *> lblUnit; ///< lblUnit(0) beside the heartbeat, lblUnit(1) beside the throttle

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
    qint16 mintListNumber = 0; ///< accepted and ignored
    QSize mDesignSize; ///< the size of the form file
    /// How much wider than designed the caption column is for the current language.
    int mCaptionGrowth = 0;
    static constexpr int CaptionGap = 6; ///< between a row caption and its value
};
