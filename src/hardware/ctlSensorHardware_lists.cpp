// SPDX-License-Identifier: MIT
// ctlSensorHardware: the three lists built from the catalog's enumerations (signal
// interpretation, thermistor type, signal type) and the check whether the block's
// stored interpretation is among the offered ones.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

#include <QComboBox>
#include <QVector>
#include <utility>

using namespace HardwareControl;

namespace {

// Rebuilds a list the way the host toolkit's lists behave: clearing and adding items
// raise no click, and afterwards nothing is selected, even when a failure cut the
// rebuild short. The items are read from the device one by one, in order, and put into
// the list together at the end; a list that already holds exactly those items is left
// as it is (only its selection is cleared).
class ListRebuild
{
public:
    explicit ListRebuild(QComboBox *combo)
        : m_combo(combo)
        , m_blocker(combo)
    {
    }
    ~ListRebuild()
    {
        MKorvane::SetComboItems(m_combo, m_items);
        m_combo->setCurrentIndex(-1);
    }
    ListRebuild(const ListRebuild &) = delete;
    ListRebuild &operator=(const ListRebuild &) = delete;

    // Adds item `position` (1-based) of the collection: its name as text, its value as item data.
    void add(const DeviceAccess::EnumCollectionPtr &collection, int position)
    {
        const DeviceAccess::EnumMemberPtr &member = requireObject(requireObject(collection)->Item(position));
        const QString name = member->Name();
        const qint32 index = member->Index();
        m_items.append({ name, index });
    }

private:
    QComboBox *m_combo;
    QSignalBlocker m_blocker;
    QVector<std::pair<QString, qint32>> m_items;
};

// The interpretations offered for each Choice text; any other text offers them all.
const QVector<std::pair<QString, QVector<int>>> &choiceRows()
{
    static const QVector<std::pair<QString, QVector<int>>> rows = {
        { QStringLiteral("2"), { 2 } },
        { QStringLiteral("2,3,6"), { 2, 3, 6 } },
        { QStringLiteral("2,3,7"), { 2, 3, 7 } },
        { QStringLiteral("2,3"), { 2, 3 } },
        { QStringLiteral("2,4"), { 2, 4 } },
        { QStringLiteral("4"), { 4 } },
        { QStringLiteral("2,3,5"), { 2, 3, 5 } },
        { QStringLiteral("5"), { 5 } },
        { QStringLiteral("2,3,4,6"), { 2, 3, 4, 6 } },
    };
    return rows;
}

} // namespace

void ctlSensorHardware::FillInterpretationList()
{
    // The list is rebuilt only while values are being loaded.
    if (!mblnLoading)
        return;
    {
        ListRebuild list(ui->cboInput);
        bool matched = false;
        for (const auto &row : choiceRows()) {
            if (row.first == mstrChoice) {
                for (int position : row.second)
                    list.add(colEnumSignal, position);
                matched = true;
                break;
            }
        }
        if (!matched) {
            for (qint16 position = 1; position <= requireObject(colEnumSignal)->Count(); ++position)
                list.add(colEnumSignal, position);
        }
    }
    CheckInterpretationListed();
}

void ctlSensorHardware::CheckInterpretationListed()
{
    bool found = false;
    for (qint16 i = 0; i < ui->cboInput->count(); ++i) {
        const QString itemText = ui->cboInput->itemText(i);
        // The property is read once per item; a failed read counts as no match.
        MKorvane::skipOnFailure([&] {
            const QString stored = requireObject(nodeCp(CpInterpretation))->Value().toString();
            if (itemText.trimmed() == stored.trimmed())
                found = true;
        });
    }
    mblnInterpretNotListed = !found;
}

void ctlSensorHardware::FillThermistorList(const DeviceAccess::EnumCollectionPtr &ThermistorTypes)
{
    // Version-2 blocks support eight thermistor types, all others six.
    static const QVector<int> version2 = { 1, 2, 3, 4, 7, 8, 13, 25 };
    static const QVector<int> otherVersions = { 1, 3, 4, 8, 13, 25 };
    ListRebuild list(ui->cboTherm);
    for (int position : MKorvane::ObjMajorVersion() == 2 ? version2 : otherVersions)
        list.add(ThermistorTypes, position);
}

void ctlSensorHardware::SetSignalCombo(const QString &InterpretationName)
{
    if (InterpretationName == Disconnected) {
        ui->cboSignal->setVisible(false);
        return;
    }
    // Run-time failures are reported at once (the two quiet numbers never are); the procedure
    // then goes on with its next step.
    const auto step = [this](auto &&operation) {
        MKorvane::tryStep(operation, [this](qint32 number, const QString &description) {
            if (!DeviceAccess::DeviceError::isQuiet(number))
                report(description, QStringLiteral("SetSignalCombo"));
        });
    };

    if (InterpretationName == Linear || InterpretationName == TransTable || InterpretationName == Digital
        || InterpretationName == MultiLevel || InterpretationName == Setpoint) {
        step([&] {
            ListRebuild list(ui->cboSignal);
            ui->cboSignal->setVisible(true);
            for (qint16 position = 1; position <= requireObject(mcolSignalTypes)->Count(); ++position)
                list.add(mcolSignalTypes, position);
        });
    } else if (InterpretationName == StdThermistor) {
        // A thermistor is a resistance: only the first signal type applies.
        step([&] {
            ListRebuild list(ui->cboSignal);
            ui->cboSignal->setVisible(true);
            list.add(mcolSignalTypes, 1);
        });
    }

    DeviceAccess::ConfigPropertyPtr signalType;
    step([&] { signalType = nodeCp(CpSignalType); });
    step([&] {
        QString value;
        QString errMsg;
        if (MKorvane::ReadCpValue(signalType, CpSignalType, value, errMsg))
            MKorvane::SelectComboText(ui->cboSignal, value.trimmed());
        else if (!errMsg.isEmpty())
            report(errMsg, QStringLiteral("SetSignalCombo"));
    });
    // A thermistor offers one signal type; when the stored one is another (a current input
    // made a thermistor), that one is selected, so the interpretation is never written with
    // an empty signal type that the device refuses.
    if (InterpretationName == StdThermistor) {
        step([&] {
            if (ui->cboSignal->currentIndex() < 0 && ui->cboSignal->count() == 1)
                ui->cboSignal->setCurrentIndex(0);
        });
    }
}
