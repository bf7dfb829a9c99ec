// SPDX-License-Identifier: MIT
// What an input held before its last confirm, and putting it back.
#include "LastConfirm.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QCoreApplication>

namespace Host {

namespace {

class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Host::LastConfirm)
};

QString variableNameOf(Sim::Network &network, const InputRef &input, QString &error)
{
    QString name;
    MKorvane::tryStep(
        [&] { name = MKorvane::GetFirstNetworkVariable(network.block(input.device, input.block))->Name(); },
        [&](qint32, const QString &description) { error = description; });
    return name;
}

} // namespace

LastConfirm readLastConfirm(Sim::Network &network, const InputRef &input)
{
    LastConfirm state;
    state.input = input;
    state.before = readInputConfiguration(network, input);
    QString error;
    state.variableName = variableNameOf(network, input, error);
    if (state.before.error.isEmpty() && !error.isEmpty())
        state.before.error = error;
    return state;
}

LastConfirm resolveLastConfirm(Sim::Network &network, const LastConfirm &state)
{
    if (state.snapshot.isNull())
        return state;
    const Sim::Snapshot now = network.snapshot();
    network.restore(state.snapshot);
    const LastConfirm read = readLastConfirm(network, state.input);
    network.restore(now);
    return read;
}

QString RestoreOutcome::text() const
{
    QStringList parts;
    parts << (restored.isEmpty() ? Texts::tr("nothing had to be put back")
                                 : Texts::tr("put back: %1").arg(restored.join(QStringLiteral(", "))));
    QStringList refused;
    for (const CopyProperty &p : notRestored)
        refused << QStringLiteral("%1 (%2)").arg(p.property, p.reason);
    if (!refused.isEmpty())
        parts << Texts::tr("NOT put back: %1").arg(refused.join(QStringLiteral(", ")));
    if (!mismatches.isEmpty())
        parts << Texts::tr("still differs: %1").arg(mismatches.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

RestoreOutcome restoreLastConfirm(Sim::Network &network, const LastConfirm &state)
{
    RestoreOutcome outcome;
    if (!state.valid()) {
        outcome.notRestored << CopyProperty { state.input.block, Texts::tr("nothing was read before the write") };
        return outcome;
    }
    putBackConfiguration(network, state.input, state.before, outcome.restored, outcome.notRestored);
    QString error;
    if (variableNameOf(network, state.input, error) != state.variableName) {
        MKorvane::tryStep(
            [&] {
                MKorvane::GetFirstNetworkVariable(network.block(state.input.device, state.input.block))
                    ->setName(state.variableName);
                outcome.restored << QStringLiteral("Name");
            },
            [&](qint32, const QString &description) {
                outcome.notRestored << CopyProperty { QStringLiteral("Name"), description };
            });
    }
    // Read back: the input holds again what it held.
    const LastConfirm now = readLastConfirm(network, state.input);
    if (!now.before.error.isEmpty())
        outcome.mismatches << now.before.error;
    for (const DefaultsEntry &entry : state.before.entries) {
        const auto found = std::find_if(now.before.entries.begin(), now.before.entries.end(),
            [&](const DefaultsEntry &e) { return e.key == entry.key; });
        if (found == now.before.entries.end() || found->value != entry.value)
            outcome.mismatches << entry.key;
    }
    if (now.variableName != state.variableName)
        outcome.mismatches << QStringLiteral("Name");
    return outcome;
}

PreviewResult previewRestore(Sim::Network &network, const LastConfirm &state)
{
    return previewWrite(network, state.input, [&](PreviewResult &preview) {
        const RestoreOutcome outcome = restoreLastConfirm(network, state);
        for (const CopyProperty &p : outcome.notRestored)
            preview.messages << QStringLiteral("%1: %2").arg(p.property, p.reason);
        if (!outcome.mismatches.isEmpty())
            preview.messages << outcome.text();
    });
}

} // namespace Host
