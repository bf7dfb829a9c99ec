// SPDX-License-Identifier: MIT
// Reading the network database: the top level, the network part (system, devices,
// blocks, variables, properties) and the values, once every type is known.
#include "device/sim/SimErrors.h"
#include "device/sim/SimJson.h"
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace Sim {
namespace {

// Values wait until every type they may depend on is known (SCPTnvType first).
struct PendingValue
{
    CpNode *cp = nullptr;
    NvNode *nv = nullptr;
    QJsonValue json;
    QString path;
};

class ModelReader
{
public:
    ModelReader(NetworkModel &model, const QString &source)
        : m_model(model)
        , m_in(source)
    {
    }

    void read(const QJsonObject &root)
    {
        m_in.onlyKeys(root, QString(),
            { "formatVersion", "catalog", "system", "devices", "resourceSets", "languages", "language" });
        m_model.comment = m_in.comment(root, QString());
        const QJsonValue version = m_in.required(root, QString(), "formatVersion");
        if (!version.isDouble() || version.toDouble() != NetworkModel::FormatVersion) {
            m_in.fail(QStringLiteral("formatVersion"),
                QStringLiteral("unsupported format version %1; this library reads version %2")
                    .arg(version.isDouble() ? numberText(version.toDouble(), -1) : jsonTypeName(version))
                    .arg(NetworkModel::FormatVersion));
        }
        if (root.contains(QLatin1String("catalog"))) {
            const QJsonObject catalog = m_in.object(root.value(QLatin1String("catalog")), QStringLiteral("catalog"));
            m_in.onlyKeys(catalog, QStringLiteral("catalog"), { "path" });
            m_model.catalogPath = m_in.string(catalog, QStringLiteral("catalog"), "path", QString());
            m_model.catalogComment = m_in.comment(catalog, QStringLiteral("catalog"));
        }
        readResourceSets(m_model, m_in, m_in.required(root, QString(), "resourceSets"));
        readLanguages(m_model, m_in, root);
        readSystem(m_in.object(m_in.required(root, QString(), "system"), QStringLiteral("system")));
        const QJsonArray devices = m_in.array(m_in.required(root, QString(), "devices"), QStringLiteral("devices"));
        for (int i = 0; i < devices.size(); ++i)
            readDevice(devices.at(i), element(QStringLiteral("devices"), i));
        resolveValues();
    }

private:
    // ---- the network part

    void readSystem(const QJsonObject &o)
    {
        const QString path = QStringLiteral("system");
        m_in.onlyKeys(o, path, { "name", "networkMode", "formatLocale" });
        m_model.system.name = m_in.string(o, path, "name", QStringLiteral("System"));
        m_model.system.comment = m_in.comment(o, path);
        m_model.system.networkMode = m_in.integer(o, path, "networkMode");
        const qint32 locale = m_in.integer(o, path, "formatLocale", MeasurementSI);
        if (locale != MeasurementSI && locale != MeasurementUS)
            m_in.fail(member(path, QStringLiteral("formatLocale")),
                QStringLiteral("expected 0 (SI) or 1 (US), found %1").arg(locale));
        m_model.system.formatLocale = qint16(locale);
    }

    void readDevice(const QJsonValue &value, const QString &path)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "name", "commissioned", "state", "programId", "scope", "blocks" });
        auto device = std::make_unique<DeviceNode>();
        device->system = &m_model.system;
        device->name = m_in.string(o, path, "name");
        if (device->name.isEmpty() || m_deviceNames.contains(device->name.toCaseFolded()))
            m_in.fail(member(path, QStringLiteral("name")), QStringLiteral("a device needs a name of its own"));
        device->commissioned = m_in.boolean(o, path, "commissioned", true);
        device->state = m_in.integer(o, path, "state", 4);
        device->programId = m_in.programId(o, path, "programId", false).toUpper();
        device->scope = m_in.integer(o, path, "scope");
        // Said here, where the mistake is, rather than as the first property whose type is missing.
        if (!Resolver(m_model).set(device->programId, device->scope))
            m_in.fail(member(path, QStringLiteral("scope")),
                QStringLiteral("no resource set of scope %1 for program ID %2")
                    .arg(device->scope)
                    .arg(device->programId));
        device->comment = m_in.comment(o, path);
        const QString blocksPath = member(path, QStringLiteral("blocks"));
        const QJsonArray blocks = m_in.array(
            o.value(QLatin1String("blocks")).isUndefined() ? QJsonArray() : o.value(QLatin1String("blocks")),
            blocksPath);
        for (int i = 0; i < blocks.size(); ++i)
            device->blocks.push_back(readBlock(blocks.at(i), element(blocksPath, i), device.get()));
        m_deviceNames.insert(device->name.toCaseFolded());
        m_model.devices.push_back(std::move(device));
    }

    std::unique_ptr<BlockNode> readBlock(const QJsonValue &value, const QString &path, DeviceNode *device)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "name", "cps", "nvs" });
        auto block = std::make_unique<BlockNode>();
        block->device = device;
        block->name = m_in.string(o, path, "name");
        block->comment = m_in.comment(o, path);
        if (block->name.isEmpty() || device->block(block->name))
            m_in.fail(
                member(path, QStringLiteral("name")), QStringLiteral("a block needs a name of its own in its device"));
        block->cps = readCps(o, path, block.get(), nullptr, block->cpsComment);
        const QString nvsPath = member(path, QStringLiteral("nvs"));
        const QJsonArray nvs = m_in.array(
            o.value(QLatin1String("nvs")).isUndefined() ? QJsonArray() : o.value(QLatin1String("nvs")), nvsPath);
        for (int i = 0; i < nvs.size(); ++i) {
            const QString nvPath = element(nvsPath, i);
            const QJsonObject n = m_in.object(nvs.at(i), nvPath);
            m_in.onlyKeys(n, nvPath, { "name", "programmaticName", "type", "value", "generator", "cps" });
            auto nv = std::make_unique<NvNode>();
            nv->block = block.get();
            nv->name = m_in.string(n, nvPath, "name");
            if (nv->name.trimmed().isEmpty())
                m_in.fail(member(nvPath, QStringLiteral("name")), QStringLiteral("a network variable needs a name"));
            nv->programmaticName = m_in.string(n, nvPath, "programmaticName", nv->name);
            nv->typeName = m_in.string(n, nvPath, "type", QString());
            nv->comment = m_in.comment(n, nvPath);
            nv->cps = readCps(n, nvPath, nullptr, nv.get(), nv->cpsComment);
            if (n.contains(QLatin1String("generator")))
                readGenerator(n.value(QLatin1String("generator")), member(nvPath, QStringLiteral("generator")), *nv);
            m_nvValues.append(PendingValue {
                nullptr, nv.get(), n.value(QLatin1String("value")), member(nvPath, QStringLiteral("value")) });
            block->nvs.push_back(std::move(nv));
        }
        return block;
    }

    void readGenerator(const QJsonValue &value, const QString &path, NvNode &nv)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "kind", "period", "amplitude", "noise" });
        ValueGenerator generator;
        generator.comment = m_in.comment(o, path);
        generator.kind = m_in.string(o, path, "kind");
        if (generator.kind != QLatin1String("wave"))
            m_in.fail(member(path, QStringLiteral("kind")),
                QStringLiteral("the only generator kind is \"wave\", found '%1'").arg(generator.kind));
        generator.period = m_in.number(o, path, "period");
        if (!(generator.period > 0))
            m_in.fail(
                member(path, QStringLiteral("period")), QStringLiteral("a period is a number of seconds above 0"));
        generator.amplitude = m_in.number(o, path, "amplitude");
        generator.noise = m_in.number(o, path, "noise", 0.0);
        if (generator.amplitude < 0 || generator.noise < 0)
            m_in.fail(path, QStringLiteral("amplitude and noise are numbers of 0 or more"));
        nv.generator = generator;
        m_generators.append({ &nv, path });
    }

    std::vector<std::unique_ptr<CpNode>> readCps(
        const QJsonObject &owner, const QString &ownerPath, BlockNode *block, NvNode *nv, QString &listComment)
    {
        std::vector<std::unique_ptr<CpNode>> cps;
        if (!owner.contains(QLatin1String("cps")))
            return cps;
        const QString path = member(ownerPath, QStringLiteral("cps"));
        const QJsonObject list = m_in.object(owner.value(QLatin1String("cps")), path);
        for (auto it = list.constBegin(); it != list.constEnd(); ++it) {
            if (m_in.isComment(it, path)) {
                listComment = it.value().toString();
                continue;
            }
            const QString cpPath = member(path, it.key());
            auto cp = std::make_unique<CpNode>();
            cp->name = it.key();
            cp->block = block;
            cp->nv = nv;
            QJsonValue value = it.value();
            QString valuePath = cpPath;
            if (value.isObject()) {
                const QJsonObject o = value.toObject();
                m_in.onlyKeys(o, cpPath, { "type", "value" });
                cp->typeName = m_in.string(o, cpPath, "type", QString());
                cp->comment = m_in.comment(o, cpPath);
                value = o.value(QLatin1String("value"));
                valuePath = member(cpPath, QStringLiteral("value"));
            }
            m_cpValues.append(PendingValue { cp.get(), nullptr, value, valuePath });
            cps.push_back(std::move(cp));
        }
        return cps;
    }

    // ---- values

    void resolveValues()
    {
        const Resolver resolver(m_model);
        auto typeOf = [&](const PendingValue &pending) {
            QString why;
            const TypeDef *type = pending.cp ? resolver.cpType(*pending.cp, &why) : resolver.nvType(*pending.nv, &why);
            if (!type)
                m_in.fail(pending.path, why);
            return type;
        };
        auto isInheriting = [&](const PendingValue &pending) {
            const DeviceNode *device = pending.cp->device();
            const TypeDef *own = resolver.typeByName(device->programId, device->scope, pending.cp->effectiveTypeName());
            return own && own->inheritsNvType;
        };
        // Properties with a type of their own (SCPTnvType among them), then the variables, then the rest.
        for (const PendingValue &pending : m_cpValues) {
            if (!isInheriting(pending))
                pending.cp->value = valueFromJson(pending, *typeOf(pending));
        }
        for (const PendingValue &pending : m_nvValues)
            pending.nv->value = valueFromJson(pending, *typeOf(pending));
        // A generator moves one number; a member, a structure or a text has no wave.
        for (const auto &[nv, path] : m_generators) {
            const TypeDef *type = resolver.nvType(*nv);
            if (type && type->valueClass != ValueClass::Number)
                m_in.fail(path,
                    QStringLiteral("only a variable holding one number can have a generator; %1 does not")
                        .arg(type->name));
        }
        for (const PendingValue &pending : m_cpValues) {
            if (isInheriting(pending))
                pending.cp->value = valueFromJson(pending, *typeOf(pending));
        }
    }

    StoredValue valueFromJson(const PendingValue &pending, const TypeDef &type) const
    {
        const QJsonValue &json = pending.json;
        if (json.isUndefined())
            return defaultValue(type);
        StoredValue value;
        if (json.isString() && type.valueClass != ValueClass::Text) {
            // A text in the type's default format, the way a user would type it.
            const FormatDef *format = Resolver::defaultFormat(type);
            const TypeDef *formatType = format ? Resolver(m_model).typeOf(*format) : nullptr;
            if (!format || !formatType)
                m_in.fail(pending.path, QStringLiteral("the type %1 has no format to read a text with").arg(type.name));
            try {
                return parseValue(json.toString(), type, *format, *formatType);
            } catch (const DeviceAccess::DeviceError &error) {
                m_in.fail(pending.path, error.description());
            }
        }
        switch (type.valueClass) {
        case ValueClass::Text:
            if (!json.isString())
                m_in.fail(pending.path, QStringLiteral("%1 holds a text, found %2").arg(type.name, jsonTypeName(json)));
            value.text = json.toString();
            break;
        case ValueClass::Fields: {
            if (!json.isArray())
                m_in.fail(pending.path,
                    QStringLiteral("%1 holds an array of %2 numbers or a text, found %3")
                        .arg(type.name)
                        .arg(type.fields.size())
                        .arg(jsonTypeName(json)));
            const QJsonArray numbers = json.toArray();
            for (int i = 0; i < numbers.size(); ++i) {
                if (!numbers.at(i).isDouble())
                    m_in.fail(element(pending.path, i),
                        QStringLiteral("expected a number, found %1").arg(jsonTypeName(numbers.at(i))));
                value.numbers.append(numbers.at(i).toDouble());
            }
            break;
        }
        case ValueClass::Enumeration:
        case ValueClass::Number:
            if (!json.isDouble())
                m_in.fail(pending.path,
                    QStringLiteral("%1 holds a number or a text, found %2").arg(type.name, jsonTypeName(json)));
            value.numbers.append(json.toDouble());
            break;
        }
        QString why;
        if (!valueFits(value, type, &why))
            m_in.fail(pending.path, why);
        return value;
    }

    NetworkModel &m_model;
    Reader m_in;
    QVector<PendingValue> m_cpValues;
    QVector<PendingValue> m_nvValues;
    QVector<std::pair<NvNode *, QString>> m_generators; // with the generator's path
    QSet<QString> m_deviceNames; // case-folded: a search of the list per device grows with its square
};

int lineOf(const QByteArray &json, int offset, int &column)
{
    int line = 1;
    int lineStart = 0;
    for (int i = 0; i < offset && i < json.size(); ++i) {
        if (json.at(i) == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    column = offset - lineStart + 1;
    return line;
}

// UTF-16 and UTF-32 texts, with or without a byte-order mark: JSON text begins with an
// ASCII character, so zero bytes among the first four give the encoding away.
const char *wideEncoding(const QByteArray &json)
{
    const auto at = [&](int i) { return i < json.size() ? quint8(json.at(i)) : 0xFFu; };
    if ((at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0) || (at(0) == 0 && at(1) == 0)
        || (at(1) == 0 && at(2) == 0 && at(3) == 0))
        return "UTF-32";
    if ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF) || at(0) == 0 || at(1) == 0)
        return "UTF-16";
    return nullptr;
}

} // namespace

void readModel(NetworkModel &model, const QByteArray &json, const QString &sourceName)
{
    if (const char *encoding = wideEncoding(json))
        throw LoadError(QStringLiteral("%1: the file is %2 text; a network database is read as UTF-8: save it as UTF-8")
                            .arg(sourceName, QLatin1String(encoding)));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        int column = 0;
        const int line = lineOf(json, error.offset, column);
        throw LoadError(QStringLiteral("%1: line %2, column %3 (offset %4): %5")
                            .arg(sourceName)
                            .arg(line)
                            .arg(column)
                            .arg(error.offset)
                            .arg(error.errorString()));
    }
    if (!document.isObject())
        throw LoadError(QStringLiteral("%1: (top level): expected an object").arg(sourceName));
    refuseDuplicateKeys(json, sourceName);
    ModelReader(model, sourceName).read(document.object());
}

} // namespace Sim
