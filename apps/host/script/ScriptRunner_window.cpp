// SPDX-License-Identifier: MIT
// The script commands that act on the window: databases, devices and inputs, input
// types, units, language, the unsaved-changes answer, OK, Cancel, preview, copy, save.
#include "ScriptRunner.h"

#include "ScriptFeatures.h"
#include "ScriptMessages.h"
#include "ScriptRunner_p.h"
#include "device/sim/SimNetwork.h"
#include "page/PageMessage.h"
#include "shared/Enumerations.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QComboBox>
#include <QJsonArray>
#include <QTreeWidget>

namespace Host {

using namespace ScriptText;

ScriptRunner::Outcome ScriptRunner::open(const QString &path, bool reset)
{
    if (!m_window.openDatabase(path, reset))
        return failed(QStringLiteral("the database %1 was not opened")
                          .arg(path.isEmpty() ? QStringLiteral("(working copy)") : path));
    QString detail = QStringLiteral("opened %1").arg(m_window.databasePath());
    if (m_window.readOnly())
        detail += QStringLiteral(" read-only: another host has it open, so nothing can be saved to it");
    if (!m_window.currentInput().isEmpty())
        detail += QStringLiteral(", showing %1 / %2").arg(m_window.currentDevice(), m_window.currentInput());
    return { true, detail, {} };
}

ScriptRunner::Outcome ScriptRunner::reload()
{
    if (!m_window.network())
        return failed(noPageReason());
    // The window comes back to the input shown; a script checks that it is still there.
    const InputRef shown { m_window.currentDevice(), m_window.currentInput() };
    if (!m_window.reloadDatabase())
        return failed(QStringLiteral("the database %1 was not read again").arg(m_window.databasePath()));
    if (!shown.block.isEmpty() && !m_window.selectInput(shown.device, shown.block))
        return failed(QStringLiteral("read %1 again, but %2 / %3 is not there")
                          .arg(m_window.databasePath(), shown.device, shown.block));
    return { true,
        QStringLiteral("read %1 again, showing %2 / %3")
            .arg(m_window.databasePath(), m_window.currentDevice(), m_window.currentInput()),
        {} };
}

ScriptRunner::Outcome ScriptRunner::device(const QString &name)
{
    const QString deviceName = findName(m_window.deviceNames(), name);
    if (deviceName.isEmpty())
        return failed(
            QStringLiteral("no device %1; the devices are %2").arg(quoted(name), listed(m_window.deviceNames())));
    if (!m_window.selectDevice(deviceName))
        return failed(QStringLiteral("%1 was not shown").arg(quoted(deviceName)));
    // A device is chosen to configure it; one that cannot be configured is a failure.
    if (!m_window.deviceProblem().isEmpty())
        return failed(QStringLiteral("%1 cannot be configured now: %2").arg(deviceName, m_window.deviceProblem()));
    return { true, QStringLiteral("showing %1 / %2").arg(deviceName, m_window.currentInput()), {} };
}

ScriptRunner::Outcome ScriptRunner::input(const QString &deviceName, const QString &blockName)
{
    if (!m_window.network())
        return failed(noPageReason());
    const QString device = findName(m_window.deviceNames(), deviceName);
    if (device.isEmpty())
        return failed(deviceName.isEmpty() ? QStringLiteral("no device is chosen; name it: input DEVICE INPUT")
                                           : QStringLiteral("no device %1; the devices are %2")
                                                 .arg(quoted(deviceName), listed(m_window.deviceNames())));
    const QStringList blocks = m_window.network()->blockNames(device);
    const QString block = findName(blocks, blockName);
    if (block.isEmpty())
        return failed(
            QStringLiteral("%1 has no input %2; its inputs are %3").arg(device, quoted(blockName), listed(blocks)));
    if (!m_window.selectInput(device, block)) {
        if (m_messages->stayed())
            return failed(QStringLiteral("%1 / %2 was not shown").arg(device, block));
        // Not choosable: the tree says why.
        QString why;
        const auto tree = m_window.findChild<QTreeWidget *>(QStringLiteral("hostTree"));
        for (QTreeWidgetItem *item : tree->findItems(block, Qt::MatchFixedString | Qt::MatchRecursive)) {
            if (item->parent() && item->parent()->text(0) == device)
                why = item->toolTip(0);
        }
        return failed(QStringLiteral("%1 / %2 cannot be chosen%3")
                          .arg(device, block, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    if (!m_window.page())
        return failed(noPageReason());
    return { true, QStringLiteral("showing %1 / %2").arg(device, block), {} };
}

ScriptRunner::Outcome ScriptRunner::inputType(const QString &type)
{
    if (!m_window.page())
        return failed(noPageReason());
    const auto combo = m_window.findChild<QComboBox *>(QStringLiteral("hostInputType"));
    if (!combo->isEnabled())
        return failed(QStringLiteral("no input types to choose: %1").arg(combo->toolTip()));
    QStringList types;
    for (int i = 0; i < combo->count(); ++i)
        types << combo->itemText(i);
    const QString chosen = findName(types, type);
    if (chosen.isEmpty())
        return failed(QStringLiteral("no input type %1; the device offers %2").arg(quoted(type), listed(types)));
    combo->setCurrentIndex(int(types.indexOf(chosen)));
    const InputRef shown = m_window.page()->input();
    const bool written = m_window.applyDefaults(chosen);
    if (!written && m_messages->stayed())
        return failed(QStringLiteral("the defaults of %1 were not written").arg(chosen));
    if (!written)
        return failed(QStringLiteral("the defaults of %1 were not all written to %2").arg(chosen, shown.block));
    return { true, QStringLiteral("the defaults of %1 were written to %2 and saved").arg(chosen, shown.block), {} };
}

ScriptRunner::Outcome ScriptRunner::units(const QString &system)
{
    const QString s = system.toUpper();
    if (s != QLatin1String("SI") && s != QLatin1String("US"))
        return failed(QStringLiteral("units takes SI or US, not %1").arg(quoted(system)));
    if (!m_window.network())
        return failed(noPageReason());
    if (!m_window.setMeasurementSystem(s == QLatin1String("SI") ? MEASUREMENT_SYSTEM_SI : MEASUREMENT_SYSTEM_US))
        return failed(QStringLiteral("the units stay as they were"));
    return { true, QStringLiteral("units %1").arg(s), {} };
}

ScriptRunner::Outcome ScriptRunner::language(const QString &code)
{
    if (!m_window.network())
        return failed(noPageReason());
    const QStringList languages = m_window.network()->languages();
    const QString found = findName(languages, code);
    if (found.isEmpty())
        return failed(
            QStringLiteral("the database has no language %1; it has %2").arg(quoted(code), listed(languages)));
    m_window.setLanguage(found);
    return { true, QStringLiteral("language %1").arg(found), {} };
}

ScriptRunner::Outcome ScriptRunner::answer(const QString &answer)
{
    const QString a = answer.toLower();
    if (a == QLatin1String("write"))
        m_messages->setAnswer(UnsavedAnswer::Write);
    else if (a == QLatin1String("discard"))
        m_messages->setAnswer(UnsavedAnswer::Discard);
    else if (a == QLatin1String("stay"))
        m_messages->setAnswer(UnsavedAnswer::Stay);
    else
        return failed(QStringLiteral("answer takes write, discard or stay, not %1").arg(quoted(answer)));
    return { true, QStringLiteral("changes not written are answered with %1 from here on").arg(a), {} };
}

ScriptRunner::Outcome ScriptRunner::preview()
{
    if (!hasPreview())
        return failed(QStringLiteral("not available in this build"));
    if (!m_window.page())
        return failed(noPageReason());
    const ScriptFeatureResult result = previewPendingWrites(m_window);
    for (const QString &message : result.messages)
        m_messages->note(QStringLiteral("preview"), PageMessage::Information, message);
    QJsonArray changes;
    for (const PreviewChange &change : result.changes)
        changes.append(
            QJsonObject { { QStringLiteral("owner"), change.owner }, { QStringLiteral("property"), change.property },
                { QStringLiteral("old"), change.oldValue }, { QStringLiteral("new"), change.newValue },
                { QStringLiteral("unit"), change.unit }, { QStringLiteral("failed"), change.failed },
                { QStringLiteral("messages"), QJsonArray::fromStringList(change.messages) } });
    return { result.ok, result.detail, { { QStringLiteral("changes"), changes } } };
}

ScriptRunner::Outcome ScriptRunner::ok()
{
    InputPage *page = m_window.page();
    if (!page)
        return failed(noPageReason());
    const InputRef shown = page->input();
    const bool pending = page->valueChanged();
    // Apply rather than the window's OK: the same writes and save, and the window stays
    // for the next command.
    const bool applied = m_window.apply();
    // Every property the device took, read back: what was sent and what it reports.
    QJsonArray readBack;
    QStringList mismatches;
    const PageOutcome &written = m_window.lastWrite();
    for (const auto &[side, one] : { std::pair<const char *, const ControlOutcome *> { "hardware", &written.hardware },
             std::pair<const char *, const ControlOutcome *> { "network", &written.network } }) {
        for (const ReadBackItem &item : one->readBack) {
            readBack.append(QJsonObject { { QStringLiteral("side"), QLatin1String(side) },
                { QStringLiteral("owner"), item.owner }, { QStringLiteral("property"), item.property },
                { QStringLiteral("field"), item.field }, { QStringLiteral("sent"), item.sent },
                { QStringLiteral("reported"), item.reported }, { QStringLiteral("same"), item.same } });
            if (!item.same)
                mismatches << item.text();
        }
    }
    const QJsonObject extra { { QStringLiteral("readBack"), readBack } };
    if (!mismatches.isEmpty())
        return failed(
            QStringLiteral("%1: written, but %2").arg(shown.block, mismatches.join(QStringLiteral("; "))), extra);
    if (!applied)
        return failed(
            QStringLiteral("%1: not everything was written and saved; the edits are kept").arg(shown.block), extra);
    return { true,
        pending ? QStringLiteral("%1: written and saved").arg(shown.block)
                : QStringLiteral("%1: nothing to write").arg(shown.block),
        extra };
}

ScriptRunner::Outcome ScriptRunner::cancel()
{
    InputPage *page = m_window.page();
    if (!page)
        return failed(noPageReason());
    const bool pending = page->valueChanged();
    m_window.discard();
    return { true,
        pending ? QStringLiteral("the edits were discarded; the controls read the device again")
                : QStringLiteral("nothing to discard"),
        {} };
}

ScriptRunner::Outcome ScriptRunner::copy(const QStringList &targets)
{
    if (!hasCopy())
        return failed(QStringLiteral("not available in this build"));
    if (!m_window.page())
        return failed(noPageReason());
    // "DEVICE/INPUT", or an input of the device shown. Misspelt names copy nothing.
    QList<InputRef> inputs;
    for (const QString &target : targets) {
        const int slash = int(target.lastIndexOf(QLatin1Char('/')));
        const QString deviceName = slash < 0 ? m_window.currentDevice() : target.left(slash);
        const QString blockName = slash < 0 ? target : target.mid(slash + 1);
        const QString device = findName(m_window.deviceNames(), deviceName);
        if (device.isEmpty())
            return failed(QStringLiteral("no device %1; nothing was copied").arg(quoted(deviceName)));
        const QString block = findName(m_window.network()->blockNames(device), blockName);
        if (block.isEmpty())
            return failed(QStringLiteral("%1 has no input %2; nothing was copied").arg(device, quoted(blockName)));
        inputs << InputRef { device, block };
    }
    // The stored configuration is copied: edits not written are settled first, as the
    // window's "Copy to inputs..." does.
    if (m_window.page()->valueChanged()) {
        switch (askUnsaved(&m_window, QStringLiteral("copy the configuration"))) {
        case UnsavedAnswer::Write:
            if (!m_window.apply())
                return failed(QStringLiteral("the edits were not all written; nothing was copied"));
            break;
        case UnsavedAnswer::Discard:
            m_window.discard();
            break;
        case UnsavedAnswer::Stay:
            return failed(QStringLiteral("nothing was copied"));
        }
    }
    const ScriptFeatureResult result = copyToInputs(m_window, inputs);
    QJsonArray outcomes;
    for (const CopyTargetOutcome &one : result.targets)
        outcomes.append(QJsonObject { { QStringLiteral("device"), one.target.device },
            { QStringLiteral("input"), one.target.block },
            { QStringLiteral("result"), one.written ? QStringLiteral("ok") : QStringLiteral("failed") },
            { QStringLiteral("reason"), one.reason },
            { QStringLiteral("written"), QJsonArray::fromStringList(one.properties) },
            { QStringLiteral("failed"), QJsonArray::fromStringList(one.failed) },
            { QStringLiteral("putBack"), QJsonArray::fromStringList(one.restored) },
            { QStringLiteral("notPutBack"), QJsonArray::fromStringList(one.notRestored) } });
    return { result.ok, result.detail, { { QStringLiteral("targets"), outcomes } } };
}

ScriptRunner::Outcome ScriptRunner::save(const QString &path)
{
    if (!m_window.network())
        return failed(noPageReason());
    const QString target = path.isEmpty() ? m_window.databasePath() : path;
    QString error;
    if (!m_window.saveDatabase(path, &error))
        return failed(QStringLiteral("not saved: %1").arg(error));
    QString detail = QStringLiteral("saved %1").arg(target);
    if (m_window.page() && m_window.page()->valueChanged())
        detail += QStringLiteral(" (the edits not written stay in the fields; ok writes them)");
    return { true, detail, {} };
}

} // namespace Host
