// SPDX-License-Identifier: MIT
/// @file
/// ctlSensorHardware: the embeddable control that shows and edits the hardware side of
/// one hardware input (signal type, interpretation, range, offset, reverse flag,
/// thermistor type, increment, transfer table). The implementation is split by concern
/// over ctlSensorHardware*.cpp: host interface, lists, layout, reading, writing, events.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"
#include "shared/Enumerations.h"

#include <QString>
#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace MKorvane {
class ScreenChanges;
}

namespace Ui {
class ctlSensorHardware;
}

/// The hardware side of one hardware input, as an embeddable widget (see the file).
///
/// A host hands over the device objects (setSystem, setDeviceObject, setDeviceProgID,
/// setDRFScope, setChoice, setMesureUnit, setNodeObject), calls ZovezuVavevaInit, and on
/// the user's OK calls WriteValue when NoChangeButOKPress is set. Failures inside are
/// reported through MessageEvent (and a message box when the host does not take it);
/// the setters of device objects may throw DeviceAccess::Failure. The control owns its
/// widgets; the device objects are shared with the host.
class VQ_EXPORT ctlSensorHardware : public QWidget
{
    Q_OBJECT
    // Run-time properties of the host interface (not stored at design time).
    /// The scope of the device's resource set (write-only for the host).
    Q_PROPERTY(qint32 DRFScope READ DRFScope WRITE setDRFScope DESIGNABLE false STORED false)
    /// Whether the user changed something since the last read; see NoChangeButOKPress().
    Q_PROPERTY(
        bool NoChangeButOKPress READ NoChangeButOKPress WRITE setNoChangeButOKPress DESIGNABLE false STORED false)
    /// Always False: this control never changes the variable's type.
    Q_PROPERTY(bool TypeValueChanged READ TypeValueChanged DESIGNABLE false STORED false)
    /// Whether OK has something to write; see ValueChanged().
    Q_PROPERTY(bool ValueChanged READ ValueChanged DESIGNABLE false STORED false)
    /// Accepted from the host and kept; no effect on the control.
    Q_PROPERTY(bool CboChanged READ CboChanged WRITE setCboChanged DESIGNABLE false STORED false)
    /// The measurement system (EMeasurementSystem), shared by every control of the process.
    Q_PROPERTY(qint16 MesureUnit READ MesureUnit WRITE setMesureUnit DESIGNABLE false STORED false)
    /// The device's program ID, 16 hexadecimal digits.
    Q_PROPERTY(QString DeviceProgID READ DeviceProgID WRITE setDeviceProgID DESIGNABLE false STORED false)
    /// Which signal interpretations the list offers; see setChoice().
    Q_PROPERTY(QString Choice READ Choice WRITE setChoice DESIGNABLE false STORED false)
    /// Accepted from the host and kept; no effect on the control.
    Q_PROPERTY(QString InputChoice READ InputChoice WRITE setInputChoice DESIGNABLE false STORED false)

public:
    /// An empty control at its design size; nothing is read before ZovezuVavevaInit.
    explicit ctlSensorHardware(QWidget *parent = nullptr);
    ~ctlSensorHardware() override;

    /// The caption under which the control reports its messages.
    static const QString Caption;

    /// Signal interpretations read from the catalog by ZovezuVavevaInit.
    DeviceAccess::EnumCollectionPtr colEnumSignal;
    /// Kept for the host; the control itself never uses it.
    DeviceAccess::EnumCollectionPtr colenum;

    /// The signal interpretations (colEnumSignal).
    /// @{
    const DeviceAccess::EnumCollectionPtr &ColEnumSignal() const { return colEnumSignal; }
    void setColEnumSignal(DeviceAccess::EnumCollectionPtr collection) { colEnumSignal = std::move(collection); }
    ///@}
    /// The host's collection (colenum).
    /// @{
    const DeviceAccess::EnumCollectionPtr &Colenum() const { return colenum; }
    void setColenum(DeviceAccess::EnumCollectionPtr collection) { colenum = std::move(collection); }
    ///@}

    /// Host interface. The write-only properties of the host have a getter only so that
    /// Qt's property system accepts them; it returns what was last assigned.
    /// @{
    void setDRFScope(qint32 mlngDRFScope);
    qint32 DRFScope() const { return mlngScope; }
    ///@}
    /// The user's edits flag: set when the user changes a value, read by the host to decide
    /// whether OK writes; the host may reset it.
    /// @{
    void setNoChangeButOKPress(bool IsChanged);
    bool NoChangeButOKPress() const { return mblnValueChanged; }
    ///@}
    /// Always False: this control never changes the network variable's type.
    bool TypeValueChanged() const;
    /// Whether OK has something to write: the user's edits, or a stored interpretation that the
    /// list does not offer (OK would store the one shown).
    bool ValueChanged() const;
    /// True while the control fills its own widgets (its change handlers then mark nothing).
    bool IsLoading() const { return mblnLoading; }
    /// Accepted from the host and kept; no effect on the control.
    /// @{
    void setCboChanged(bool IsCboChanged);
    bool CboChanged() const { return mblnCboChanged; }
    ///@}
    /// Sets the process-wide measurement system (EMeasurementSystem); an initialised control
    /// reads its values again in the new units. Never fails.
    void setMesureUnit(qint16 MesureUnitIndex);
    /// The process-wide measurement system.
    qint16 MesureUnit() const;
    /// The input's functional block (shared with the host); reads its object major version.
    /// Throws DeviceAccess::Failure for a null block or a failure of the device library.
    void setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject);
    /// The device's program ID, 16 hexadecimal digits, which selects the resource set.
    /// @{
    void setDeviceProgID(const QString &ProgramId);
    QString DeviceProgID() const { return mstrDeviceProgID; }
    ///@}
    /// The device (shared with the host), whose state is checked before writing.
    void setDeviceObject(DeviceAccess::AppDevicePtr strDeviceObject);
    /// The network system, kept process-wide (MKorvane::CurrentSystem).
    void setSystem(DeviceAccess::SystemPtr lcaCurrentSystem);
    /// Which signal interpretations the list offers: a list of positions such as "2,3,4,6" from
    /// the control's fixed set; any other text (empty) offers every interpretation.
    /// @{
    void setChoice(const QString &strChoice);
    QString Choice() const { return mstrChoice; }
    ///@}
    /// Accepted from the host and kept; no effect on the control.
    /// @{
    void setInputChoice(const QString &strInputChoice);
    QString InputChoice() const { return mstrInputChoice; }
    ///@}

    /// Reads the interpretations and every value of the input from the device and lays the
    /// control out for the interpretation. Each failure is reported through MessageEvent and
    /// the next step runs; quiet numbers are not reported.
    void ZovezuVavevaInit();
    /// Reads the values again (after the host changed something on the device).
    void FillHardwareValues();
    /// Writes the shown values to the device. Returns True when a write failed (each failure
    /// reported as a critical message; 5030 only as information), False when all went through.
    bool WriteValue();
    /// Applies the language's face and captions (the display strings already loaded).
    void InitStrings();
    /// Reloads the display strings when the language changed, then InitStrings().
    void ReInitializeStrings();

    /// The control places its widgets itself: a layout gives it the size it was designed
    /// with, and less would cut widgets off.
    QSize sizeHint() const override;
    /// The design size, widened for longer captions: a layout never gives the control less.
    QSize minimumSizeHint() const override;

signals:
    /// Parameters by reference: connect with direct connections only.
    void OnSetpointOffSetEvent(bool &IsSetpointOffSet);
    /// A message for the host: Message, the control's caption (Modulename), the procedure
    /// (FunctionName), the message style (TypeIndex, 16 critical, 64 information). Set
    /// IsReceived to True to keep the control's own message box away.
    void MessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
        bool &IsReceived);
    /// A key pressed in the control or a field: virtual-key number and shift state
    /// (MKorvane::VirtualKeyCode, MKorvane::ShiftState).
    void KeyDown(qint16 &KeyCode, qint16 &Shift);

protected:
    /// Runs the numeric checks of the fields as the focus leaves them.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// Lists (ctlSensorHardware_lists.cpp)
    void FillInterpretationList();
    void CheckInterpretationListed();
    void FillThermistorList(const DeviceAccess::EnumCollectionPtr &ThermistorTypes);
    void SetSignalCombo(const QString &InterpretationName);

    /// Layout (ctlSensorHardware_layout.cpp)
    void ShowInterpretationLayout(QString &Unit, QString &OffsetUnit);
    void ShowHardwareControls(bool ShowSignalLabel, bool ShowInput, bool ShowMinLabel, bool ShowMin, bool ShowMaxLabel,
        bool ShowMax, bool ShowOffset, bool ShowReverseLabel, bool ShowReverse, bool ShowThermLabel, bool ShowTherm,
        bool ShowTable);
    void ReInitializeDisplayStrings(const QString &RangeUnit, const QString &OffsetUnit);
    void ArrangeRangeControls();
    void ShowValueButton();
    void watchScreenChanges();
    void showWidget(QWidget *widget, bool visible);
    void moveWidget(QWidget *widget, int top);
    void recaption(QLabel *label, const QString &caption);

    /// Reading (ctlSensorHardware_read.cpp)
    void ReadNvFormat(const DeviceAccess::NetworkVariablePtr &nv, QString &ErrMsg);
    void FillEnumRangeCombos(const DeviceAccess::EnumCollectionPtr &col, QString &ErrMsg, bool &ok);
    void ReadValues(bool KeepSelections);
    void ReadOffsetValue(QString &ErrMsg);
    void ConvertOffsetValueFromSIBase(QString &Value, const QString &FormatName, QString &ErrMsg, bool &ok);
    void ReadTransTableAndMultiLevel();
    void ReadCurrentValue(QString &ErrMsg, bool &ok);

    /// Writing (ctlSensorHardware_write.cpp)
    void WriteOffsetValue(QString &ErrMsg, bool &ok);

    /// Events (ctlSensorHardware_events.cpp)
    void connectHandlers();
    void markChanged();
    void cboTherm_Click();
    void txtOff_Change();
    void cboSignal_Click();
    void cboInput_Click();
    void cmdValue_Click();
    void cmdTable_Click();
    void validateOnLeaving(QLineEdit *box);
    QList<QWidget *> languageFontWidgets() const;
    void fitCaptionColumns();

    /// Helpers shared by the files of the control.
    DeviceAccess::ConfigPropertyPtr nodeCp(const QString &name) const;
    QString rangeFormat() const;
    void report(const QString &ErrMsg, const QString &procedure);
    void raiseMessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName,
        qint32 TypeIndex, bool &IsReceived);

    std::unique_ptr<Ui::ctlSensorHardware> ui;
    /// What changed on screen since the last pause for pending events.
    MKorvane::ScreenChanges *mScreen = nullptr;
    QSize mDesignSize; ///< the size of the form file
    int mCaptionGrowth = 0; ///< how far the right column moved for longer captions
    static constexpr int CaptionGap = 6; ///< between the left column's captions and the right column

    DeviceAccess::EnumCollectionPtr mcolSignalTypes;
    qint32 mlngScope = 0;
    QString mstrDeviceProgID;
    QString mstrChoice;
    DeviceAccess::LonMarkObjectPtr mobjNode;
    DeviceAccess::ConfigPropertiesPtr mobjNodeCps;
    DeviceAccess::AppDevicePtr mobjDevice;
    bool mblnInitialized = false;
    bool mblnLoading = false;
    bool mblnValueChanged = false;
    bool mblnInterpretNotListed = false;
    bool mblnIsEnumFormat = false;
    QString mstrUnit;
    QString mstrDisplayUnit;

    QString mstrFormatType;
    QString mstrDiffFormat;
    qint32 mlngTypeIndex = 0;
    qint32 mlngFieldType = 0;
    DeviceAccess::EnumCollectionPtr mcolFormatEnum;
    bool mblnIsExistRange = false;
    double mdblMinValue = 0;
    double mdblMaxValue = 0;
    QString mstrTransTable;
    QString mstrMultiLevel;
    /// The offset as the last read of it showed it: an enumerated input writes its 0 only over
    /// an offset that the user changed.
    QString mstrOffsetShown;

    bool mblnIsSetpointOffset = false;
    bool mblnTableChanged = false;
    QString mstrTableEdited;

    /// Accepted from the host; they have no effect on the control.
    bool mblnCboChanged = false;
    QString mstrInputChoice;
};
