// SPDX-License-Identifier: MIT
// Configuration properties read and written as text, and the widgets bound to them.
#include "shared/CpAccess.h"

#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStandardItemModel>

namespace MKorvane {
namespace {

// The shared tail of the two widget readers: the message box for a failed read.
void showReadFailure(const DeviceAccess::ConfigPropertyPtr &cp, const QString &error, const QString &title)
{
    const QString text = QStringLiteral("Error: ") + error + QStringLiteral("\r\n")
        + GetStrings(QStringLiteral("(Reading %s% Value)"), { deref(cp).Name() });
    MsgBox(text, vbCritical, title);
}

void setFormatToolTip(QWidget *widget, const QString &FormatName, const QString &title)
{
    tryStep(
        [&] {
            // Read again, a box keeps its format: its tool tip is left alone then.
            const QString tip = GetLanguageString(QStringLiteral("Format name")) + QStringLiteral(": ")
                + StripFormatPrefix(FormatName);
            if (deref(widget).toolTip() != tip)
                widget->setToolTip(tip);
        },
        [&](qint32 number, const QString &description) {
            if (!DeviceAccess::DeviceError::isQuiet(number))
                MsgBox(description, vbCritical, title);
        });
}

} // namespace

void InitCpNames()
{
    ProcessState &state = processState();
    switch (state.objMajorVersion) {
    case 1:
        state.offsetCpName = QStringLiteral("SCPToffset");
        state.optionsCpName = QStringLiteral("UCPTioOptions");
        state.stepLevelCpName = QStringLiteral("UCPTstepLevel");
        break;
    case 2:
        state.offsetCpName = QStringLiteral("UCPToffset");
        state.optionsCpName = QStringLiteral("UCPThwInOptions");
        state.stepLevelCpName = QString();
        break;
    default:
        // Another version keeps the names of the previous object.
        break;
    }
}

bool ReadCpValue(const DeviceAccess::ConfigPropertyPtr &cp, const QString &name, QString &Value, QString &ErrMsg)
{
    Q_UNUSED(name)
    return tryStep([&] { Value = deref(cp).ValueText(); },
        [&](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); });
}

bool WriteCpValue(
    const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, const QString &NewValue, QString &ErrMsg)
{
    if (!cp) {
        AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("ConfigProperty is nothing.")));
        return false;
    }
    bool restoreFormat = false;
    bool result = false;
    tryStep(
        [&] {
            if (cp->Format() != FormatName) {
                cp->setFormat(FormatName);
                restoreFormat = true;
            }
            cp->setValueText(NewValue);
            result = true;
        },
        [&](qint32 number, const QString &description) {
            // The two quiet numbers mean the device took the write as it is.
            result = DeviceAccess::DeviceError::isQuiet(number);
            AppendFailure(ErrMsg, number, description);
        });
    if (restoreFormat) {
        // The property never stays in a format that this procedure set.
        tryStep([&] { cp->setFormat(QString()); },
            [&](qint32 number, const QString &description) {
                if (DeviceAccess::DeviceError::isQuiet(number))
                    return;
                AppendErrMsg(ErrMsg, description);
                result = false;
            });
    }
    return result;
}

bool WriteControlTextToCp(
    QWidget *control, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName, QString &ErrMsg)
{
    QString text;
    const bool read = tryStep(
        [&] {
            if (auto *box = qobject_cast<QLineEdit *>(&deref(control)))
                text = box->text();
            else if (auto *combo = qobject_cast<QComboBox *>(control))
                text = combo->currentText();
            else
                throw DeviceAccess::RuntimeError(438, QStringLiteral("Object doesn't support this property or method"));
        },
        [&](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); });
    if (!read)
        return false;
    // The user types numbers in the user's locale; the device reads them in the C locale.
    return WriteCpValue(cp, FormatName, DeviceValueText(text.trimmed()), ErrMsg);
}

void ReadCpValueToComboBox(QComboBox *combo, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName)
{
    const QString title = QStringLiteral("Sensor ReadCpValueToComboBox");
    tryStep(
        [&] {
            QString error;
            QString value;
            if (ReadCpValue(cp, QString(), value, error)) {
                SelectComboText(&deref(combo), value.trimmed());
            } else {
                deref(combo).setCurrentIndex(-1);
                showReadFailure(cp, error, title);
            }
        },
        [&](qint32 number, const QString &description) {
            if (!DeviceAccess::DeviceError::isQuiet(number))
                MsgBox(description, vbCritical, title);
        });
    setFormatToolTip(combo, FormatName, title);
}

void ReadCpValueToTextBox(QLineEdit *box, const DeviceAccess::ConfigPropertyPtr &cp, const QString &FormatName)
{
    const QString title = QStringLiteral("Sensor ReadCpValueToTextBox");
    tryStep(
        [&] {
            QString error;
            QString value;
            if (ReadCpValue(cp, QString(), value, error)) {
                SetBoxText(&deref(box), value);
            } else {
                SetBoxText(&deref(box), QString());
                showReadFailure(cp, error, title);
            }
        },
        [&](qint32 number, const QString &description) {
            if (!DeviceAccess::DeviceError::isQuiet(number))
                MsgBox(description, vbCritical, title);
        });
    setFormatToolTip(box, FormatName, title);
}

void SetBoxText(QLineEdit *box, const QString &text)
{
    if (box->text() == text && !box->isModified() && !box->hasSelectedText()
        && box->cursorPosition() == box->text().size() && !box->isUndoAvailable() && !box->isRedoAvailable())
        return;
    box->setText(text);
}

void SetComboItems(QComboBox *combo, const QVector<std::pair<QString, qint32>> &items)
{
    bool sameTexts = combo->count() == items.size();
    bool same = sameTexts;
    for (int i = 0; sameTexts && i < items.size(); ++i) {
        const QVariant data = combo->itemData(i);
        sameTexts = combo->itemText(i) == items.at(i).first;
        same = same && sameTexts && data.typeId() == QMetaType::Int && data.toInt() == items.at(i).second;
    }
    if (same)
        return;
    if (sameTexts) {
        // A list of names that gets its numbers takes them in place: rebuilding it would make
        // the list select and lay out its items once more.
        for (int i = 0; i < items.size(); ++i)
            combo->setItemData(i, items.at(i).second);
        return;
    }
    combo->clear();
    auto *model = qobject_cast<QStandardItemModel *>(combo->model());
    if (!model || combo->maxCount() < items.size()) {
        for (const auto &[text, value] : items)
            combo->addItem(text, value);
        return;
    }
    QList<QStandardItem *> rows;
    rows.reserve(items.size());
    for (const auto &[text, value] : items) {
        auto *row = new QStandardItem(text);
        row->setData(value, Qt::UserRole);
        rows.append(row);
    }
    model->invisibleRootItem()->insertRows(0, rows);
}

bool ReadNvValue(const DeviceAccess::NetworkVariablePtr &nv, const QString &FormatName, QString &Value, QString &ErrMsg)
{
    return tryStep(
        [&] {
            deref(nv).setFormat(FormatName);
            Value = nv->ValueText();
        },
        [&](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); });
}

int FindComboText(const QComboBox *combo, const QString &Text)
{
    if (!combo)
        return -1;
    const int count = combo->count();
    // The exact-text search starting at index 0 looks at the items after it first.
    for (int step = 1; step <= count; ++step) {
        const int i = step % count;
        if (combo->itemText(i).compare(Text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool SelectComboText(QComboBox *combo, const QString &Text)
{
    const int index = FindComboText(combo, Text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    return true;
}

void SelectFirstIfNone(QComboBox *combo)
{
    if (combo && combo->count() >= 1 && combo->currentIndex() == -1)
        combo->setCurrentIndex(0);
}

QString StripFormatPrefix(const QString &formatName)
{
    const qsizetype dot = formatName.indexOf(QLatin1Char('.'));
    return dot < 0 ? formatName : formatName.mid(dot + 1);
}

bool CheckDeviceState(DeviceAccess::SystemPtr &System, const DeviceAccess::AppDevicePtr &device, QString &ErrMsg)
{
    bool result = false;
    // A failure of the device library means "not now", without a text.
    skipOnFailure([&] {
        DeviceAccess::AppDevice &appDevice = deref(device);
        if (!appDevice.Commissioned()) {
            AppendErrMsg(
                ErrMsg, GetStrings(QStringLiteral("The device '%s%' is not commissioned!"), { appDevice.Name() }));
            return;
        }
        if (appDevice.State() != DeviceAccess::AppDevice::StateConfiguredOnline) {
            AppendErrMsg(
                ErrMsg, GetStrings(QStringLiteral("The device '%s%' is not Config Online!"), { appDevice.Name() }));
            return;
        }
        if (!System)
            System = std::dynamic_pointer_cast<DeviceAccess::System>(
                FindParentOfKind(device, DeviceAccess::ObjectKindSystem));
        if (!System) {
            result = true;
            return;
        }
        if (System->NetworkMode() == DeviceAccess::System::NetworkModeAttached)
            result = true;
        else
            AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("The network is OffNet!")));
    });
    return result;
}

bool IsObjectOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind)
{
    if (!object)
        return false;
    switch (kind) {
    case DeviceAccess::ObjectKindOther1:
    case DeviceAccess::ObjectKindSystem:
    case DeviceAccess::ObjectKindOther5:
    case DeviceAccess::ObjectKindAppDevice:
    case DeviceAccess::ObjectKindNetworkVariable:
    case DeviceAccess::ObjectKindLonMarkObject:
        return object->ObjectKind() == kind;
    default:
        return false;
    }
}

DeviceAccess::ObjectPtr FindParentOfKind(const DeviceAccess::ObjectPtr &object, qint32 kind)
{
    if (!object)
        return nullptr;
    // A database is a shallow tree; the bound only protects against a parent cycle.
    constexpr int MaxDepth = 1000;
    DeviceAccess::ObjectPtr parent = object->Parent();
    for (int depth = 0; parent && !IsObjectOfKind(parent, kind); ++depth) {
        if (depth >= MaxDepth)
            return nullptr;
        parent = parent->Parent();
    }
    return parent;
}

} // namespace MKorvane
