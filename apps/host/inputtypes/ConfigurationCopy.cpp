// SPDX-License-Identifier: MIT
// Saving an input's configuration as an input type's defaults, and copying it to other
// inputs through CInputDefaultValues.
#include "ConfigurationCopy.h"

#include "InputTypes.h"
#include "defaults/CInfoFromDrf.h"
#include "defaults/CInputDefaultValues.h"
#include "device/NvTypeText.h"
#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace Host {

namespace {

class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Host::ConfigurationCopy)
};

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

// What the hardware control writes (under the names of both object versions) and what
// the network control writes, the variable's name aside.
const QStringList hardwareProperties
    = { QStringLiteral("UCPTinputSignalInterpretation"), QStringLiteral("UCPTinputSignalType"),
          QStringLiteral("UCPTthermistorType"), QStringLiteral("SCPTminRnge"), QStringLiteral("SCPTmaxRnge"),
          QStringLiteral("UCPTtransTable"), QStringLiteral("UCPToffset"), QStringLiteral("SCPToffset"),
          QStringLiteral("UCPThwInOptions"), QStringLiteral("UCPTioOptions"), QStringLiteral("UCPTstepLevel") };
const QStringList networkProperties = { QStringLiteral("UCPTdefaultValue"), QStringLiteral("SCPTovrValue"),
    QStringLiteral("SCPTsndDelta"), QStringLiteral("SCPTminSendTime"), QStringLiteral("SCPTmaxSendTime") };

// The format in which CInputDefaultValues writes a property: the default one for the
// values in the variable's units, the property's own for every other.
QString writeFormat(const QString &name)
{
    static const QSet<QString> inVariableUnits = { QStringLiteral("SCPTminRnge"), QStringLiteral("SCPTmaxRnge"),
        QStringLiteral("SCPTsndDelta"), QStringLiteral("SCPTovrValue"), QStringLiteral("UCPTdefaultValue") };
    return inVariableUnits.contains(name) ? QString() : name;
}

// The defaults file holds SI values: while it is written or read, the database's default
// formats are those of the SI system.
class SiFormatLocale
{
public:
    explicit SiFormatLocale(Sim::Network &network)
        : m_network(network)
        , m_previous(network.formatLocale())
    {
        network.setFormatLocale(MEASUREMENT_SYSTEM_SI);
    }
    ~SiFormatLocale() { m_network.setFormatLocale(m_previous); }

private:
    Sim::Network &m_network;
    qint16 m_previous;
};

// Decimal numbers without trailing zeros ("28.0 28.50" gives "28 28.5"): the same values,
// and shorter, since the defaults reader sees only 498 characters of a section.
QString compactNumbers(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^-?\\d+\\.\\d+\\z"));
    QStringList fields = text.split(QLatin1Char(' '));
    for (QString &field : fields) {
        if (!decimal.match(field).hasMatch())
            continue;
        while (field.endsWith(QLatin1Char('0')))
            field.chop(1);
        if (field.endsWith(QLatin1Char('.')))
            field.chop(1);
        if (field == QLatin1String("-0"))
            field = QStringLiteral("0");
    }
    return fields.join(QLatin1Char(' '));
}

// Reads the properties of `cps` named in `wanted`, in the order of the collection.
void readProperties(const DeviceAccess::ConfigPropertiesPtr &cps, const QStringList &wanted,
    QVector<DefaultsEntry> &entries, QString &error)
{
    const qint32 count = MKorvane::deref(cps).Count();
    for (qint32 position = 1; position <= count; ++position) {
        const DeviceAccess::ConfigPropertyPtr cp = cps->Item(position);
        const QString name = MKorvane::deref(cp).Name();
        if (!wanted.contains(name))
            continue;
        const QString format = writeFormat(name);
        try {
            if (cp->Format() != format)
                cp->setFormat(format);
            entries << DefaultsEntry { name, compactNumbers(cp->ValueText()) };
        } catch (const DeviceAccess::Failure &failure) {
            MKorvane::AppendErrMsg(error, Texts::tr("%1 cannot be read: %2").arg(name, failure.description()));
        }
        if (cp->Format() != QString())
            cp->setFormat(QString());
    }
}

qint32 objectVersion(const DeviceAccess::LonMarkObjectPtr &block)
{
    return MKorvane::deref(MKorvane::deref(block).ConfigProperties())
        .Item(QStringLiteral("SCPTobjMajVer"))
        ->Value()
        .toInt();
}

// The type of the block's first network variable, as its SCPTnvType names it:
// "<program ID>[<scope>] <index>". Failures pass to the caller.
QString variableType(const DeviceAccess::LonMarkObjectPtr &block)
{
    const DeviceAccess::NetworkVariablePtr nv = MKorvane::GetFirstNetworkVariable(block);
    const DeviceAccess::NvTypeReference type = DeviceAccess::parseNvTypeText(
        MKorvane::deref(MKorvane::deref(MKorvane::deref(nv).ConfigProperties()).Item(QStringLiteral("SCPTnvType")))
            .ValueText());
    return QStringLiteral("%1[%2] %3").arg(type.programId.toUpper()).arg(type.scope).arg(type.typeIndex);
}

// Why the target cannot take the source's configuration; empty when it can.
QString whyNotTarget(Sim::Network &network, const InputRef &source, const InputRef &target)
{
    const auto sourceBlock = network.block(source.device, source.block);
    const auto targetBlock = network.block(target.device, target.block);
    if (!targetBlock)
        return Texts::tr("%1 has no input %2.").arg(target.device, target.block);
    if (!sourceBlock)
        return Texts::tr("%1 has no input %2.").arg(source.device, source.block);
    if (sourceBlock == targetBlock
        || (source.device.compare(target.device, Qt::CaseInsensitive) == 0
            && source.block.compare(target.block, Qt::CaseInsensitive) == 0))
        return Texts::tr("it is the input copied from.");
    if (network.programId(target.device).compare(network.programId(source.device), Qt::CaseInsensitive) != 0)
        return Texts::tr("its device has another program ID (%1).").arg(network.programId(target.device));
    QString why;
    try {
        if (objectVersion(targetBlock) != objectVersion(sourceBlock))
            return Texts::tr("its block has object version %1, the source %2.")
                .arg(objectVersion(targetBlock))
                .arg(objectVersion(sourceBlock));
        const QString targetType = variableType(targetBlock);
        const QString sourceType = variableType(sourceBlock);
        if (targetType.compare(sourceType, Qt::CaseInsensitive) != 0)
            return Texts::tr("its network variable has another type (%1; the source's: %2).")
                .arg(targetType, sourceType);
        DeviceAccess::SystemPtr system = network.system();
        QString state;
        if (!MKorvane::CheckDeviceState(system, network.device(target.device), state))
            why = state.isEmpty() ? Texts::tr("its device cannot be configured now.") : oneLine(state);
    } catch (const DeviceAccess::Failure &failure) {
        why = failure.description();
    }
    return why;
}

// A property of the block (hardware side) or of its first variable (network side).
DeviceAccess::ConfigPropertyPtr propertyOf(const DeviceAccess::LonMarkObjectPtr &block, const QString &name)
{
    const DeviceAccess::ConfigPropertiesPtr cps = networkProperties.contains(name)
        ? MKorvane::deref(MKorvane::GetFirstNetworkVariable(block)).ConfigProperties()
        : MKorvane::deref(block).ConfigProperties();
    return MKorvane::deref(cps).Item(name);
}

// What the device took and refused while one target was written, from the call log.
void collectWrites(const QVector<Sim::CallRecord> &calls, CopyTargetResult &t)
{
    for (const Sim::CallRecord &call : calls) {
        if (call.operation != QLatin1String("ConfigProperty.setValueText") || call.arguments.isEmpty())
            continue;
        const QString &name = call.arguments.first();
        if (call.error == 0 || DeviceAccess::DeviceError::isQuiet(call.error)) {
            if (!t.properties.contains(name))
                t.properties << name;
        } else {
            t.properties.removeAll(name);
            t.failed << CopyProperty { name, oneLine(call.errorDescription) };
        }
    }
}

// All or nothing: every property that no longer holds what it held before the copy is
// written back, in the format it was read in.
void putBack(const DeviceAccess::LonMarkObjectPtr &block, const InputConfiguration &before, CopyTargetResult &t)
{
    for (const DefaultsEntry &entry : before.entries) {
        DeviceAccess::ConfigPropertyPtr cp;
        QString now;
        QString errMsg;
        const QString format = writeFormat(entry.key);
        MKorvane::skipOnFailure([&] {
            cp = propertyOf(block, entry.key);
            if (cp->Format() != format)
                cp->setFormat(format);
            now = compactNumbers(cp->ValueText());
        });
        MKorvane::skipOnFailure([&] {
            if (cp && cp->Format() != QString())
                cp->setFormat(QString());
        });
        if (cp && now == entry.value)
            continue; // untouched, or written with the value it had
        if (cp && MKorvane::WriteCpValue(cp, format, entry.value, errMsg) && errMsg.isEmpty())
            t.restored << entry.key;
        else
            t.notRestored << CopyProperty { entry.key,
                oneLine(errMsg.isEmpty() ? Texts::tr("the property cannot be reached") : errMsg) };
    }
}

} // namespace

QStringList inputTypeNames(const QString &programId, qint32 scope, QString &error)
{
    CInfoFromDrf info;
    info.setProgramId(programId);
    info.setScope(scope);
    DeviceAccess::EnumCollectionPtr types;
    QString errMsg;
    QStringList names;
    if (info.GetEnumeration(types, InputTypes::EnumIndex, InputTypes::EnumMin, InputTypes::EnumMax, errMsg) && types) {
        for (const DeviceAccess::EnumMemberPtr &member : *types)
            names << member->Name().trimmed();
    }
    if (names.isEmpty())
        error = Texts::tr("The device has no input types. %1").arg(oneLine(errMsg)).trimmed();
    return names;
}

InputConfiguration readInputConfiguration(Sim::Network &network, const InputRef &input)
{
    InputConfiguration configuration;
    const auto block = network.block(input.device, input.block);
    if (!block) {
        configuration.error = Texts::tr("%1 has no input %2.").arg(input.device, input.block);
        return configuration;
    }
    SiFormatLocale si(network);
    try {
        readProperties(block->ConfigProperties(), hardwareProperties, configuration.entries, configuration.error);
        readProperties(MKorvane::GetFirstNetworkVariable(block)->ConfigProperties(), networkProperties,
            configuration.entries, configuration.error);
    } catch (const DeviceAccess::Failure &failure) {
        MKorvane::AppendErrMsg(configuration.error, failure.description());
    }
    if (configuration.error.isEmpty() && configuration.entries.isEmpty())
        configuration.error = Texts::tr("%1 has none of the properties the controls write.").arg(input.block);
    if (!configuration.error.isEmpty())
        configuration.entries.clear(); // never half a configuration
    return configuration;
}

bool saveAsInputType(Sim::Network &network, const InputRef &source, const QString &inputType,
    const QString &defaultsFile, QString &error)
{
    // CInputDefaultValues reads only the sections named after the device's input types.
    const QStringList types = inputTypeNames(network.programId(source.device), network.scope(source.device), error);
    if (!types.contains(inputType.trimmed(), Qt::CaseInsensitive)) {
        if (!types.isEmpty())
            error = Texts::tr("%1 is not an input type of the device (%2).")
                        .arg(inputType, types.join(QStringLiteral(", ")));
        return false;
    }
    const InputConfiguration configuration = readInputConfiguration(network, source);
    if (!configuration.error.isEmpty()) {
        error = configuration.error;
        return false;
    }
    return writeDefaultsSection(defaultsFile, inputType.trimmed(), configuration.entries, error);
}

void putBackConfiguration(Sim::Network &network, const InputRef &input, const InputConfiguration &before,
    QStringList &restored, QVector<CopyProperty> &notRestored)
{
    const auto block = network.block(input.device, input.block);
    CopyTargetResult t;
    if (!block) {
        for (const DefaultsEntry &entry : before.entries)
            t.notRestored << CopyProperty { entry.key,
                Texts::tr("%1 has no input %2.").arg(input.device, input.block) };
    } else {
        SiFormatLocale si(network);
        putBack(block, before, t);
    }
    restored = t.restored;
    notRestored = t.notRestored;
}

QVector<InputRef> copyTargets(Sim::Network &network, const InputRef &source)
{
    QVector<InputRef> targets;
    for (const QString &device : network.deviceNames()) {
        for (const QString &block : network.blockNames(device)) {
            const InputRef target { device, block };
            if (whyNotTarget(network, source, target).isEmpty())
                targets << target;
        }
    }
    return targets;
}

int CopySummary::writtenCount() const
{
    return int(std::count_if(targets.begin(), targets.end(), [](const CopyTargetResult &t) { return t.written; }));
}

bool CopySummary::succeeded() const
{
    return error.isEmpty() && (saved || !saveWanted) && writtenCount() == targets.size();
}

QString CopySummary::text() const
{
    const auto listed = [](const QVector<CopyProperty> &properties) {
        QStringList parts;
        for (const CopyProperty &p : properties)
            parts << (p.reason.isEmpty() ? p.property : QStringLiteral("%1 (%2)").arg(p.property, p.reason));
        return parts.join(QStringLiteral(", "));
    };
    QStringList lines;
    lines << Texts::tr("Configuration of %1 / %2 copied to %3 of %4 inputs.")
                 .arg(source.device, source.block)
                 .arg(writtenCount())
                 .arg(targets.size());
    for (const CopyTargetResult &t : targets) {
        const QString input = QStringLiteral("%1 / %2").arg(t.target.device, t.target.block);
        if (t.written) {
            lines << Texts::tr("%1: written: %2.").arg(input, t.properties.join(QStringLiteral(", ")));
            continue;
        }
        QString line = t.failed.isEmpty() ? Texts::tr("%1: not written: %2").arg(input, oneLine(t.reason))
                                          : Texts::tr("%1: not written: failed: %2").arg(input, listed(t.failed));
        if (!t.failed.isEmpty() || !t.restored.isEmpty() || !t.notRestored.isEmpty()) {
            line += t.restored.isEmpty() ? Texts::tr("; nothing had to be put back")
                                         : Texts::tr("; put back: %1").arg(t.restored.join(QStringLiteral(", ")));
            if (!t.notRestored.isEmpty())
                line += Texts::tr("; NOT put back: %1").arg(listed(t.notRestored));
            line += QLatin1Char('.');
        }
        lines << line;
    }
    if (!error.isEmpty())
        lines << error;
    return lines.join(QLatin1Char('\n'));
}

QJsonObject CopySummary::toJson() const
{
    const auto properties = [](const QVector<CopyProperty> &list) {
        QJsonArray array;
        for (const CopyProperty &p : list)
            array.append(
                QJsonObject { { QStringLiteral("property"), p.property }, { QStringLiteral("reason"), p.reason } });
        return array;
    };
    QJsonArray list;
    for (const CopyTargetResult &t : targets) {
        list.append(
            QJsonObject { { QStringLiteral("device"), t.target.device }, { QStringLiteral("input"), t.target.block },
                { QStringLiteral("written"), t.written }, { QStringLiteral("reason"), oneLine(t.reason) },
                { QStringLiteral("properties"), QJsonArray::fromStringList(t.properties) },
                { QStringLiteral("failed"), properties(t.failed) },
                { QStringLiteral("restored"), QJsonArray::fromStringList(t.restored) },
                { QStringLiteral("notRestored"), properties(t.notRestored) } });
    }
    return QJsonObject { { QStringLiteral("device"), source.device }, { QStringLiteral("input"), source.block },
        { QStringLiteral("targets"), list }, { QStringLiteral("saved"), saved }, { QStringLiteral("error"), error } };
}

CopySummary copyConfiguration(
    Sim::Network &network, const InputRef &source, const QVector<InputRef> &targets, bool save)
{
    CopySummary summary;
    summary.source = source;
    summary.saveWanted = save;
    for (const InputRef &target : targets) {
        CopyTargetResult result;
        result.target = target;
        summary.targets << result;
    }

    const auto fail = [&summary](const QString &why) {
        summary.error = why;
        for (CopyTargetResult &t : summary.targets)
            t.reason = Texts::tr("nothing was copied.");
        return summary;
    };
    const InputConfiguration configuration = readInputConfiguration(network, source);
    if (!configuration.error.isEmpty())
        return fail(
            Texts::tr("The configuration of %1 cannot be read: %2").arg(source.block, oneLine(configuration.error)));

    // The configuration travels as an input type's section of a defaults file of its own,
    // so the database's defaults file stays as it is.
    const QString programId = network.programId(source.device);
    const qint32 scope = network.scope(source.device);
    QString error;
    // Any input type carries the copy; the file is private to it.
    const QString type = inputTypeNames(programId, scope, error).value(0);
    QTemporaryDir folder;
    if (type.isEmpty())
        return fail(error);
    if (!folder.isValid())
        return fail(Texts::tr("No folder for the copy's defaults file: %1").arg(folder.errorString()));
    if (!writeDefaultsSection(
            folder.filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini")), type, configuration.entries, error))
        return fail(error);
    CInputDefaultValues defaults;
    QString pluginFolder = folder.filePath(QStringLiteral("Plugin"));
    QString errMsg;
    if (!defaults.ChargeInputDefaultValues(
            pluginFolder, programId, scope, InputTypes::EnumIndex, InputTypes::EnumMin, InputTypes::EnumMax, errMsg))
        return fail(oneLine(errMsg));

    bool anyWrite = false;
    {
        MKorvane::BusyPointer busy;
        SiFormatLocale si(network);
        for (CopyTargetResult &t : summary.targets) {
            t.reason = whyNotTarget(network, source, t.target);
            if (!t.reason.isEmpty())
                continue;
            const auto block = network.block(t.target.device, t.target.block);
            // What the target holds now, to write back should any of its properties fail.
            const InputConfiguration before = readInputConfiguration(network, t.target);
            QString name;
            DeviceAccess::NetworkVariablePtr variable;
            MKorvane::tryStep(
                [&] {
                    variable = MKorvane::GetFirstNetworkVariable(block);
                    name = variable->Name();
                },
                [&](qint32, const QString &description) { MKorvane::AppendErrMsg(t.reason, description); });
            if (!before.error.isEmpty() || name.isEmpty()) {
                t.reason = Texts::tr("its values cannot be read first, so they could not be put back after a "
                                     "failure; nothing was written: %1")
                               .arg(oneLine(before.error.isEmpty() ? t.reason : before.error));
                continue;
            }
            const qsizetype logStart = network.callLog().size();
            defaults.setHardwareInputObject(block);
            anyWrite = true;
            const bool written = defaults.WriteDefaultValues(type, QString(), t.reason);
            if (network.callLog().size() >= logStart)
                collectWrites(network.callLog().mid(logStart), t);
            // The defaults give the variable its programmatic name; a copy keeps the target's.
            MKorvane::tryStep([&] { variable->setName(name); },
                [&](qint32, const QString &description) { MKorvane::AppendErrMsg(t.reason, description); });
            t.written = written && t.reason.isEmpty() && t.failed.isEmpty();
            if (t.written)
                continue;
            if (t.reason.isEmpty())
                t.reason = Texts::tr("the write was interrupted.");
            putBack(block, before, t);
        }
    }
    if (anyWrite && save) {
        summary.saved = saveAfterWrites(network, summary.error);
    }
    return summary;
}

bool saveAfterWrites(Sim::Network &network, QString &error)
{
    try {
        network.save();
        return true;
    } catch (const Sim::LoadError &failure) {
        error = Texts::tr("The database was not saved: %1").arg(failure.message());
        return false;
    }
}

} // namespace Host
