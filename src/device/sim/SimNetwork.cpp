// SPDX-License-Identifier: MIT
// The facade of the simulated network: loading and saving, the host's objects, test
// access to stored values, and the controls of the call journal and the language.
#include "device/sim/SimNetwork.h"

#include "device/sim/SimCore.h"
#include "device/sim/SimFile.h"
#include "device/sim/SimJson.h"
#include "device/sim/SimObjects.h"
#include "device/sim/SimServices.h"
#include "device/sim/SimSnapshot.h"

#include <QFileInfo>
#include <new>
#include <stdexcept>
#include <thread>

namespace Sim {
namespace {

class SimImplementation : public DeviceAccess::Implementation
{
public:
    explicit SimImplementation(CorePtr core)
        : m_core(std::move(core))
    {
    }
    std::shared_ptr<DeviceAccess::ResourceCatalog> createResourceCatalog() override
    {
        return makeResourceCatalog(m_core);
    }
    std::shared_ptr<DeviceAccess::TypeService> createTypeService() override { return makeTypeService(m_core); }
    std::shared_ptr<DeviceAccess::FormatCatalog> createFormatCatalog() override { return makeFormatCatalog(m_core); }
    std::shared_ptr<DeviceAccess::FormatService> createFormatService() override { return makeFormatService(m_core); }
    std::shared_ptr<DeviceAccess::LanguageService> createLanguageService() override
    {
        return makeLanguageService(m_core);
    }
    std::shared_ptr<DeviceAccess::LanguageFileService> createLanguageFileService() override
    {
        return makeLanguageFileService(m_core);
    }

private:
    CorePtr m_core;
};

} // namespace

struct Network::Private
{
    CorePtr core = std::make_shared<Core>();

    DeviceNode *deviceNode(const QString &deviceName) const { return core->model.device(deviceName); }

    BlockNode *blockNode(const QString &deviceName, const QString &blockName) const
    {
        DeviceNode *device = deviceNode(deviceName);
        return device ? device->block(blockName) : nullptr;
    }

    // Test access: a missing object is a mistake in the test, said loudly.
    CpNode &cpNode(const QString &deviceName, const QString &blockName, const QString &cpName, bool nvCp) const
    {
        BlockNode *block = blockNode(deviceName, blockName);
        if (!block)
            throw std::invalid_argument(
                QStringLiteral("no block %1 in device %2").arg(blockName, deviceName).toStdString());
        CpNode *cp = nullptr;
        if (!nvCp)
            cp = block->cp(cpName);
        else if (!block->nvs.empty())
            cp = block->nvs.front()->cp(cpName);
        if (!cp)
            throw std::invalid_argument(
                QStringLiteral("no property %1 at %2/%3").arg(cpName, deviceName, blockName).toStdString());
        return *cp;
    }
};

Network::Network()
    : d(std::make_unique<Private>())
{
}

Network::~Network() = default;

std::shared_ptr<Network> Network::load(const QString &path)
{
    std::shared_ptr<Network> network = fromJson(readDatabaseFile(path), path);
    network->d->core->filePath = QFileInfo(path).absoluteFilePath();
    return network;
}

std::shared_ptr<Network> Network::fromJson(const QByteArray &json, const QString &sourceName)
{
    std::shared_ptr<Network> network(new Network());
    try {
        readModel(network->d->core->model, json, sourceName);
    } catch (const std::bad_alloc &) {
        // What is half read is dropped with the network; the message says what happened.
        network.reset();
        throw LoadError(QStringLiteral("%1: there is not enough memory to load the %2 bytes of the database")
                            .arg(sourceName)
                            .arg(json.size()));
    }
    network->d->core->stringsChangeTime = QDateTime::currentDateTime();
    return network;
}

void Network::save(const QString &path) const
{
    const QString target = path.isEmpty() ? d->core->filePath : path;
    if (target.isEmpty())
        throw LoadError(QStringLiteral("(no file): the network was not loaded from a file; give a path to save to"));
    QByteArray text;
    try {
        text = toJson();
    } catch (const std::bad_alloc &) {
        throw LoadError(
            QStringLiteral("%1: cannot be written: there is not enough memory to build the text to save").arg(target));
    }
    writeDatabaseFile(target, text);
}

QString Network::filePath() const
{
    return d->core->filePath;
}

QByteArray Network::toJson() const
{
    return writeModel(d->core->model);
}

std::shared_ptr<DeviceAccess::Implementation> Network::implementation()
{
    return std::make_shared<SimImplementation>(d->core);
}

DeviceAccess::SystemPtr Network::system()
{
    return makeSystem(d->core);
}

QStringList Network::deviceNames() const
{
    QStringList names;
    for (const auto &device : d->core->model.devices)
        names.append(device->name);
    return names;
}

DeviceAccess::AppDevicePtr Network::device(const QString &deviceName)
{
    return makeDevice(d->core, d->deviceNode(deviceName));
}

QStringList Network::blockNames(const QString &deviceName) const
{
    QStringList names;
    if (const DeviceNode *device = d->deviceNode(deviceName)) {
        for (const auto &block : device->blocks)
            names.append(block->name);
    }
    return names;
}

DeviceAccess::LonMarkObjectPtr Network::block(const QString &deviceName, const QString &blockName)
{
    return makeBlock(d->core, d->blockNode(deviceName, blockName));
}

QString Network::programId(const QString &deviceName) const
{
    const DeviceNode *device = d->deviceNode(deviceName);
    return device ? device->programId : QString();
}

qint32 Network::scope(const QString &deviceName) const
{
    const DeviceNode *device = d->deviceNode(deviceName);
    return device ? device->scope : 0;
}

QString Network::storedCpText(
    const QString &deviceName, const QString &blockName, const QString &cpName, bool nvCp) const
{
    return defaultText(d->core->model, d->cpNode(deviceName, blockName, cpName, nvCp));
}

void Network::setStoredCpText(
    const QString &deviceName, const QString &blockName, const QString &cpName, const QString &text, bool nvCp)
{
    setDefaultText(d->core->model, d->cpNode(deviceName, blockName, cpName, nvCp), text);
}

QVector<PropertyReading> Network::readings(const QString &deviceName, const QString &blockName) const
{
    const BlockNode *block = d->blockNode(deviceName, blockName);
    return block ? readingsOf(d->core->model, *block) : QVector<PropertyReading>();
}

Snapshot Network::snapshot() const
{
    Snapshot copy;
    copy.d = takeSnapshot(*d->core);
    return copy;
}

void Network::restore(const Snapshot &snapshot)
{
    if (snapshot.isNull())
        throw std::invalid_argument("an empty snapshot cannot be restored");
    restoreSnapshot(*d->core, *snapshot.d);
}

const QVector<CallRecord> &Network::callLog() const
{
    return d->core->journal.log;
}

void Network::clearCallLog()
{
    d->core->journal.log.clear();
}

int Network::callCount(const QString &operation) const
{
    if (operation.isEmpty())
        return d->core->journal.log.size();
    int count = 0;
    for (const CallRecord &record : d->core->journal.log)
        count += record.operation == operation ? 1 : 0;
    return count;
}

bool Network::logging() const
{
    return d->core->journal.logging;
}

void Network::setLogging(bool on)
{
    d->core->journal.logging = on;
}

void Network::failCall(int nth, qint32 errorNumber, const QString &description)
{
    if (nth < 1)
        throw std::invalid_argument("failCall counts from 1 (the next call)");
    Fault fault;
    fault.atCall = d->core->journal.calls + nth;
    fault.number = errorNumber;
    fault.description = description;
    fault.once = true;
    d->core->journal.faults.append(fault);
}

void Network::failFromCall(int nth, qint32 errorNumber, const QString &description)
{
    failCall(nth, errorNumber, description);
    d->core->journal.faults.last().once = false;
}

void Network::failOperation(
    const QString &operation, qint32 errorNumber, bool once, const QString &objectName, const QString &description)
{
    Fault fault;
    fault.operation = operation;
    fault.objectName = objectName;
    fault.number = errorNumber;
    fault.description = description;
    fault.once = once;
    d->core->journal.faults.append(fault);
}

void Network::storeDifferentValue(
    const QString &deviceName, const QString &blockName, const QString &cpName, const QString &text, bool nvCp)
{
    CpNode &cp = d->cpNode(deviceName, blockName, cpName, nvCp);
    if (cp.nv && cp.name.compare(QLatin1String("SCPTnvType"), Qt::CaseInsensitive) == 0)
        throw std::invalid_argument("SCPTnvType changes the variable's type; it cannot store another value");
    // The text is checked now, on a copy, so that a write never meets a text it cannot store.
    CpNode trial = cp;
    try {
        setDefaultText(d->core->model, trial, text);
    } catch (const DeviceAccess::DeviceError &error) {
        throw std::invalid_argument(
            QStringLiteral("%1 cannot store '%2': %3").arg(cpName, text, error.description()).toStdString());
    }
    d->core->journal.storedInstead.insert(&cp, text);
}

void Network::clearFaults()
{
    d->core->journal.faults.clear();
    d->core->journal.storedInstead.clear();
}

int Network::openHandleCount() const
{
    return d->core->handles.handles.size();
}

QStringList Network::openHandles() const
{
    QStringList list;
    const auto &handles = d->core->handles.handles;
    for (auto it = handles.cbegin(); it != handles.cend(); ++it) {
        const char *kind = it->kind == HandleKind::Catalog
            ? "catalog"
            : (it->kind == HandleKind::TypeFile ? "type file" : "language file");
        list.append(QStringLiteral("%1 %2: %3").arg(QLatin1String(kind)).arg(it.key()).arg(it->path));
    }
    return list;
}

void Network::setCatalogAvailable(bool available)
{
    d->core->catalogAvailable = available;
}

void Network::startClock()
{
    d->core->clock.start();
}

void Network::setClock(std::function<double()> seconds)
{
    d->core->clock.setSource(std::move(seconds));
}

void Network::setLatency(std::chrono::microseconds latency)
{
    d->core->journal.latency = latency;
}

QStringList Network::languages() const
{
    QStringList codes;
    for (const LanguageDef &language : d->core->model.languages)
        codes.append(language.code);
    return codes;
}

QString Network::language() const
{
    return d->core->model.language;
}

void Network::setLanguage(const QString &code)
{
    const LanguageDef *language = d->core->model.languageDef(code);
    if (!language)
        throw std::invalid_argument(QStringLiteral("no language '%1'").arg(code).toStdString());
    d->core->model.language = language->code;
    // Readers reload when their last load is earlier than the change time. The change time
    // counts on from the previous one and lies past the millisecond of the switch, so every
    // load made before the switch is earlier than it, and no two switches share a time,
    // whatever the clock does. The switch then waits for the clock to reach it, so that a
    // load made after the switch is not earlier and does not reload again. A time set far
    // ahead (setStringsChangeTime) is counted on from without waiting for it.
    constexpr qint64 longestWaitMs = 100;
    const QDateTime entered = QDateTime::currentDateTime();
    QDateTime changed = d->core->stringsChangeTime.isValid() ? d->core->stringsChangeTime.addMSecs(1) : entered;
    if (changed <= entered)
        changed = entered.addMSecs(1);
    d->core->stringsChangeTime = changed;
    if (entered.msecsTo(changed) > longestWaitMs)
        return;
    while (QDateTime::currentDateTime() < changed)
        std::this_thread::yield();
}

void Network::setStringsChangeTime(const QDateTime &time)
{
    d->core->stringsChangeTime = time;
}

qint16 Network::formatLocale() const
{
    return d->core->model.system.formatLocale;
}

void Network::setFormatLocale(qint16 measurementSystem)
{
    if (measurementSystem != MeasurementSI && measurementSystem != MeasurementUS)
        throw std::invalid_argument(
            QStringLiteral("no measurement system %1 (0 = SI, 1 = US)").arg(measurementSystem).toStdString());
    d->core->model.system.formatLocale = measurementSystem;
}

NetworkModel &Network::model()
{
    return d->core->model;
}

} // namespace Sim
