// SPDX-License-Identifier: MIT
// ctlSensorHardware: the embeddable control that shows and edits the hardware side of
// one hardware input (signal type, interpretation, range, offset, reverse flag,
// thermistor type, increment, transfer table). The implementation is split by concern
// over ctlSensorHardware*.cpp: host interface, lists, layout, reading, writing, events.
#pragma once

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

class ctlSensorHardware : public QWidget
{
    Q_OBJECT
    // Run-time properties of the host interface (not stored at design time).
    Q_PROPERTY(qint32 DRFScope READ DRFScope WRITE setDRFScope DESIGNABLE false STORED false)
    Q_PROPERTY(
        bool NoChangeButOKPress READ NoChangeButOKPress WRITE setNoChangeButOKPress DESIGNABLE false STORED false)
    Q_PROPERTY(bool TypeValueChanged READ TypeValueChanged DESIGNABLE false STORED false)
    Q_PROPERTY(bool ValueChanged READ ValueChanged DESIGNABLE false STORED false)
    Q_PROPERTY(bool CboChanged READ CboChanged WRITE setCboChanged DESIGNABLE false STORED false)
    Q_PROPERTY(qint16 MesureUnit READ MesureUnit WRITE setMesureUnit DESIGNABLE false STORED false)
    Q_PROPERTY(QString DeviceProgID READ DeviceProgID WRITE setDeviceProgID DESIGNABLE false STORED false)
    Q_PROPERTY(QString Choice READ Choice WRITE setChoice DESIGNABLE false STORED false)
    Q_PROPERTY(QString InputChoice READ InputChoice WRITE setInputChoice DESIGNABLE false STORED false)

public:
    explicit ctlSensorHardware(QWidget *parent = nullptr);
    ~ctlSensorHardware() override;

    // The caption under which the control reports its messages.
    static const QString Caption;

    // Signal interpretations read from the catalog by ZovezuVavevaInit.
    DeviceAccess::EnumCollectionPtr colEnumSignal;
    // Kept for the host; the control itself never uses it.
    DeviceAccess::EnumCollectionPtr colenum;

    const DeviceAccess::EnumCollectionPtr &ColEnumSignal() const { return colEnumSignal; }
    void setColEnumSignal(DeviceAccess::EnumCollectionPtr collection) { colEnumSignal = std::move(collection); }
    const DeviceAccess::EnumCollectionPtr &Colenum() const { return colenum; }
    void setColenum(DeviceAccess::EnumCollectionPtr collection) { colenum = std::move(collection); }

    // Host interface. The write-only properties of the host have a getter only so that
    // Qt's property system accepts them; it returns what was last assigned.
    void setDRFScope(qint32 mlngDRFScope);
    qint32 DRFScope() const { return mlngScope; }
    void setNoChangeButOKPress(bool IsChanged);
    bool NoChangeButOKPress() const { return mblnValueChanged; }
    bool TypeValueChanged() const;
    bool ValueChanged() const;
    // True while the control fills its own widgets (its change handlers then mark nothing).
    bool IsLoading() const { return mblnLoading; }
    void setCboChanged(bool IsCboChanged);
    bool CboChanged() const { return mblnCboChanged; }
    void setMesureUnit(qint16 MesureUnitIndex);
    qint16 MesureUnit() const;
    void setNodeObject(DeviceAccess::LonMarkObjectPtr LonMarkObject);
    void setDeviceProgID(const QString &ProgramId);
    QString DeviceProgID() const { return mstrDeviceProgID; }
    void setDeviceObject(DeviceAccess::AppDevicePtr strDeviceObject);
    void setSystem(DeviceAccess::SystemPtr lcaCurrentSystem);
    void setChoice(const QString &strChoice);
    QString Choice() const { return mstrChoice; }
    void setInputChoice(const QString &strInputChoice);
    QString InputChoice() const { return mstrInputChoice; }

    void ZovezuVavevaInit();
    void FillHardwareValues();
    bool WriteValue();
    void InitStrings();
    void ReInitializeStrings();

    // The control places its widgets itself: a layout gives it the size it was designed
    // with, and less would cut widgets off.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Parameters by reference: connect with direct connections only.
    void OnSetpointOffSetEvent(bool &IsSetpointOffSet);
    void MessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
        bool &IsReceived);
    void KeyDown(qint16 &KeyCode, qint16 &Shift);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lists (ctlSensorHardware_lists.cpp)
    void FillInterpretationList();
    void CheckInterpretationListed();
    void FillThermistorList(const DeviceAccess::EnumCollectionPtr &ThermistorTypes);
    void SetSignalCombo(const QString &InterpretationName);

    // Layout (ctlSensorHardware_layout.cpp)
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

    // Reading (ctlSensorHardware_read.cpp)
    void ReadNvFormat(const DeviceAccess::NetworkVariablePtr &nv, QString &ErrMsg);
    void FillEnumRangeCombos(const DeviceAccess::EnumCollectionPtr &col, QString &ErrMsg, bool &ok);
    void ReadValues(bool KeepSelections);
    void ReadOffsetValue(QString &ErrMsg);
    void ConvertOffsetValueFromSIBase(QString &Value, const QString &FormatName, QString &ErrMsg, bool &ok);
    void ReadTransTableAndMultiLevel();
    void ReadCurrentValue(QString &ErrMsg, bool &ok);

    // Writing (ctlSensorHardware_write.cpp)
    void WriteOffsetValue(QString &ErrMsg, bool &ok);

    // Events (ctlSensorHardware_events.cpp)
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

    // Helpers shared by the files of the control.
    DeviceAccess::ConfigPropertyPtr nodeCp(const QString &name) const;
    QString rangeFormat() const;
    void report(const QString &ErrMsg, const QString &procedure);
    void raiseMessageEvent(const QString &Message, const QString &Modulename, const QString &FunctionName,
        qint32 TypeIndex, bool &IsReceived);

    std::unique_ptr<Ui::ctlSensorHardware> ui;
    // What changed on screen since the last pause for pending events.
    MKorvane::ScreenChanges *mScreen = nullptr;
    QSize mDesignSize; // the size of the form file
    int mCaptionGrowth = 0; // how far the right column moved for longer captions
    static constexpr int CaptionGap = 6; // between the left column's captions and the right column

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
    // The offset as the last read of it showed it: an enumerated input writes its 0 only over
    // an offset that the user changed.
    QString mstrOffsetShown;

    bool mblnIsSetpointOffset = false;
    bool mblnTableChanged = false;
    QString mstrTableEdited;

    // Accepted from the host; they have no effect on the control.
    bool mblnCboChanged = false;
    QString mstrInputChoice;
};
