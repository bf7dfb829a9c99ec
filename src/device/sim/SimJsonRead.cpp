// SPDX-License-Identifier: MIT
// Reading the network database: the top level, the network part (system, devices,
// blocks, variables, properties) and the values, once every type is known.
#include "device/sim/SimErrors.h"
#include "device/sim/SimJson.h"
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <unordered_map>

namespace Sim {
namespace {

// A value that waits for its type: a variable's, and a property's that takes its
// variable's type, wait until the block's SCPTnvType properties are read.
template<typename Node> struct PendingValue
{
    Node *node = nullptr;
    JsonRef value; // absent: the type's default
};

class ModelReader
{
public:
    ModelReader(NetworkModel &model, const JsonText &document, const QString &source)
        : m_model(model)
        , m_in(document, source)
        , m_document(document)
    {
    }

    void read()
    {
        const JsonRef root = m_in.object(m_document.root());
        m_in.onlyKeys(
            root, { "formatVersion", "catalog", "system", "devices", "resourceSets", "languages", "language" });
        m_model.comment = m_in.comment(root);
        const JsonRef version = m_in.required(root, "formatVersion");
        if (!version.isDouble() || version.toDouble() != NetworkModel::FormatVersion) {
            m_in.fail(version,
                QStringLiteral("unsupported format version %1; this library reads version %2")
                    .arg(version.isDouble() ? numberText(version.toDouble(), -1) : version.typeName())
                    .arg(NetworkModel::FormatVersion));
        }
        if (root.contains("catalog")) {
            const JsonRef catalog = m_in.object(root.value("catalog"));
            m_in.onlyKeys(catalog, { "path" });
            m_model.catalogPath = m_in.string(catalog, "path", QString());
            m_model.catalogComment = m_in.comment(catalog);
        }
        readResourceSets(m_model, m_in, m_in.required(root, "resourceSets"));
        readLanguages(m_model, m_in, root);
        readSystem(m_in.object(m_in.required(root, "system")));
        const JsonRef devices = m_in.array(m_in.required(root, "devices"));
        m_model.devices.reserve(devices.size());
        devices.forEach([&](const JsonRef &device) { readDevice(m_in.object(device)); });
    }

private:
    // ---- the network part

    void readSystem(const JsonRef &o)
    {
        m_in.onlyKeys(o, { "name", "networkMode", "formatLocale" });
        m_model.system.name = m_in.string(o, "name", QStringLiteral("System"));
        m_model.system.comment = m_in.comment(o);
        m_model.system.networkMode = m_in.integer(o, "networkMode");
        const qint32 locale = m_in.integer(o, "formatLocale", MeasurementSI);
        if (locale != MeasurementSI && locale != MeasurementUS)
            m_in.fail(o.value("formatLocale"), QStringLiteral("expected 0 (SI) or 1 (US), found %1").arg(locale));
        m_model.system.formatLocale = qint16(locale);
    }

    void readDevice(const JsonRef &o)
    {
        m_in.onlyKeys(o, { "name", "commissioned", "state", "programId", "scope", "blocks" });
        auto device = std::make_unique<DeviceNode>();
        device->system = &m_model.system;
        device->name = m_in.string(o, "name");
        const QString folded = device->name.toCaseFolded();
        if (device->name.isEmpty() || m_model.deviceIndex.contains(folded))
            m_in.fail(o.value("name"), QStringLiteral("a device needs a name of its own"));
        device->commissioned = m_in.boolean(o, "commissioned", true);
        device->state = m_in.integer(o, "state", 4);
        device->programId = m_in.programId(o, "programId", false).toUpper();
        device->scope = m_in.integer(o, "scope");
        // Said here, where the mistake is, rather than as the first property whose type is missing.
        if (!Resolver(m_model).set(device->programId, device->scope))
            m_in.fail(o.value("scope"),
                QStringLiteral("no resource set of scope %1 for program ID %2")
                    .arg(device->scope)
                    .arg(device->programId));
        device->comment = m_in.comment(o);
        const JsonRef blocks = m_in.optionalArray(o, "blocks");
        device->blocks.reserve(blocks.size());
        QSet<QString> blockNames; // folded: a long list costs no comparison of every pair
        blocks.forEach([&](const JsonRef &entry) {
            device->blocks.push_back(readBlock(m_in.object(entry), device.get()));
            const qsizetype before = blockNames.size();
            blockNames.insert(foldedText(device->blocks.back()->name));
            if (blockNames.size() == before)
                m_in.fail(entry.value("name"), QStringLiteral("a block needs a name of its own in its device"));
        });
        m_model.deviceIndex.insert(folded, device.get());
        m_model.devices.push_back(std::move(device));
    }

    // The case-folded form of a shared text, folded once per distinct text.
    const QString &foldedText(const QString &text)
    {
        auto known = m_folded.find(text.constData());
        if (known == m_folded.end())
            known = m_folded.emplace(text.constData(), text.toCaseFolded()).first;
        return known->second;
    }

    BlockNode *readBlock(const JsonRef &o, DeviceNode *device)
    {
        m_in.onlyKeys(o, { "name", "cps", "nvs" });
        BlockNode *block = m_model.blockStore.make();
        block->device = device;
        block->name = m_in.string(o, "name");
        block->comment = m_in.comment(o);
        if (block->name.isEmpty())
            m_in.fail(o.value("name"), QStringLiteral("a block needs a name of its own in its device"));
        readCps(o, block->cps, block, nullptr, block->cpsComment);
        const JsonRef nvs = m_in.optionalArray(o, "nvs");
        block->nvs.reserve(nvs.size());
        nvs.forEach([&](const JsonRef &entry) {
            const JsonRef n = m_in.object(entry);
            m_in.onlyKeys(n, { "name", "programmaticName", "type", "value", "generator", "cps" });
            NvNode *nv = m_model.nvStore.make();
            nv->block = block;
            nv->name = m_in.string(n, "name");
            if (nv->name.trimmed().isEmpty())
                m_in.fail(n.value("name"), QStringLiteral("a network variable needs a name"));
            nv->programmaticName = m_in.string(n, "programmaticName", nv->name);
            nv->typeName = m_in.string(n, "type", QString());
            nv->comment = m_in.comment(n);
            readCps(n, nv->cps, nullptr, nv, nv->cpsComment);
            if (n.contains("generator"))
                readGenerator(m_in.object(n.value("generator")), *nv);
            m_nvValues.push_back({ nv, n.value("value") });
            block->nvs.push_back(nv);
        });
        resolveWaitingValues();
        return block;
    }

    void readGenerator(const JsonRef &o, NvNode &nv)
    {
        m_in.onlyKeys(o, { "kind", "period", "amplitude", "noise" });
        ValueGenerator generator;
        generator.comment = m_in.comment(o);
        generator.kind = m_in.string(o, "kind");
        if (generator.kind != QLatin1String("wave"))
            m_in.fail(
                o.value("kind"), QStringLiteral("the only generator kind is \"wave\", found '%1'").arg(generator.kind));
        generator.period = m_in.number(o, "period");
        if (!(generator.period > 0))
            m_in.fail(o.value("period"), QStringLiteral("a period is a number of seconds above 0"));
        generator.amplitude = m_in.number(o, "amplitude");
        generator.noise = m_in.number(o, "noise", 0.0);
        if (generator.amplitude < 0 || generator.noise < 0)
            m_in.fail(o, QStringLiteral("amplitude and noise are numbers of 0 or more"));
        nv.generator = generator;
        m_generators.push_back({ &nv, o.element() });
    }

    // The properties in the order of their names' code points, as the saved file lists them.
    void readCps(const JsonRef &owner, std::vector<CpNode *> &cps, BlockNode *block, NvNode *nv, QString &listComment)
    {
        const JsonRef listValue = owner.value("cps");
        if (listValue.isUndefined())
            return;
        const JsonRef list = m_in.objectKeysCheckedByCaller(listValue);
        m_entries.clear();
        int comments = 0;
        list.forEach([&](const JsonRef &entry) {
            if (m_in.isComment(entry)) {
                listComment = entry.toString();
                ++comments;
            } else {
                m_entries.push_back(entry);
            }
        });
        // A saved list is in order already; sorted, a repeated key lies next to the other.
        const auto byKey = [](const JsonRef &a, const JsonRef &b) { return a.keyBytes() < b.keyBytes(); };
        if (!std::is_sorted(m_entries.begin(), m_entries.end(), byKey))
            std::sort(m_entries.begin(), m_entries.end(), byKey);
        if (comments > 1
            || std::adjacent_find(m_entries.begin(), m_entries.end(),
                   [](const JsonRef &a, const JsonRef &b) { return a.keyBytes() == b.keyBytes(); })
                != m_entries.end())
            m_in.refuseRepeatedKeys(list);
        cps.reserve(m_entries.size());
        std::vector<ListedName> &previous = nv ? m_previousNvCps : m_previousBlockCps;
        const DeviceNode *device = block ? block->device : nv->block->device;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const JsonRef &entry = m_entries[i];
            CpNode *cp = m_model.cpStore.make();
            cp->block = block;
            cp->nv = nv;
            JsonRef value = entry;
            if (entry.isObject()) {
                cp->name = m_in.keyText(entry);
                m_in.refuseRepeatedKeys(entry);
                m_in.onlyKeys(entry, { "type", "value" });
                cp->setTypeName(m_in.string(entry, "type", QString()));
                cp->setComment(m_in.comment(entry));
                value = entry.value("value");
                findNamedType(*cp);
            } else if (i < previous.size() && previous[i].sameAs(entry.keyBytes(), *device)) {
                // As in the list of this kind read before: a copy of a device.
                cp->name = *previous[i].name;
                cp->namedType = previous[i].type;
            } else {
                cp->name = m_in.keyText(entry);
                findNamedType(*cp);
                if (previous.size() <= i)
                    previous.resize(i + 1);
                previous[i] = ListedName { entry.keyBytes(), &cp->name, device->programId.constData(), device->scope,
                    *cp->namedType };
            }
            // A property with a type of its own is read here, while its place in the text is
            // still in the cache; one that takes its variable's type waits for SCPTnvType.
            const TypeDef *own = *cp->namedType;
            if (!own) {
                QString why;
                Resolver(m_model).cpType(*cp, &why);
                m_in.fail(value, why);
            }
            if (own->inheritsNvType)
                m_cpValues.push_back({ cp, value });
            else
                cp->value = valueFromJson(value, *own);
            cps.push_back(cp);
        }
    }

    // The type a property's name or "type" names in its device's resource sets, as
    // Resolver::namedType finds it, remembered by the shared texts of program ID and name:
    // the thousandth copy of a device costs no string hashing.
    void findNamedType(const CpNode &cp)
    {
        const DeviceNode *device = cp.device();
        const QString &name = cp.effectiveTypeName();
        const NamedTypeKey key { device->programId.constData(), device->scope, name.constData() };
        auto known = m_namedTypes.find(key);
        if (known == m_namedTypes.end())
            known = m_namedTypes.emplace(key, Resolver(m_model).namedType(cp)).first;
        cp.namedType = known->second;
    }

    // ---- values

    // The values of the block read last that waited for their types: its variables', then
    // its properties' that take a variable's type.
    void resolveWaitingValues()
    {
        const Resolver resolver(m_model);
        auto typeOf = [&](const auto &pending) {
            QString why;
            const TypeDef *type;
            if constexpr (std::is_same_v<std::decay_t<decltype(*pending.node)>, CpNode>)
                type = resolver.cpType(*pending.node, &why);
            else
                type = resolver.nvType(*pending.node, &why);
            if (!type)
                m_in.fail(pending.value, why);
            return type;
        };
        for (const PendingValue<NvNode> &pending : m_nvValues)
            pending.node->value = valueFromJson(pending.value, *typeOf(pending));
        // A generator moves one number; a member, a structure or a text has no wave.
        for (const auto &[nv, element] : m_generators) {
            const TypeDef *type = resolver.nvType(*nv);
            if (type && type->valueClass != ValueClass::Number)
                m_in.fail(JsonRef(element),
                    QStringLiteral("only a variable holding one number can have a generator; %1 does not")
                        .arg(type->name));
        }
        for (const PendingValue<CpNode> &pending : m_cpValues)
            pending.node->value = valueFromJson(pending.value, *typeOf(pending));
        m_nvValues.clear();
        m_generators.clear();
        m_cpValues.clear();
    }

    StoredValue valueFromJson(const JsonRef &json, const TypeDef &type) const
    {
        if (json.isUndefined()) {
            // A default text of many fields is built in memory: all of them together are
            // held to what a database file can hold, so that a short file cannot ask for
            // gigabytes and what loads can be saved.
            if (type.valueClass == ValueClass::Text && type.text.numeric && type.text.minFields > 0) {
                m_defaultTextSize += qint64(type.text.minFields) * 2 - 1;
                if (m_defaultTextSize > Network::MaxFileSize)
                    m_in.fail(json,
                        QStringLiteral("a default text of %1 fields, with the default texts before it, holds "
                                       "more than %2 bytes, more than a database holds; give the value")
                            .arg(type.text.minFields)
                            .arg(Network::MaxFileSize));
            }
            return defaultValue(type);
        }
        StoredValue value;
        if (json.isString() && type.valueClass != ValueClass::Text) {
            // A text in the type's default format, the way a user would type it.
            const FormatDef *format = Resolver::defaultFormat(type);
            const TypeDef *formatType = format ? Resolver(m_model).typeOf(*format) : nullptr;
            if (!format || !formatType)
                m_in.fail(json, QStringLiteral("the type %1 has no format to read a text with").arg(type.name));
            const QString text = m_in.stringText(json);
            return remembered(text, type, [&] {
                try {
                    return parseValue(text, type, *format, *formatType);
                } catch (const DeviceAccess::DeviceError &error) {
                    m_in.fail(json, error.description());
                }
            });
        }
        switch (type.valueClass) {
        case ValueClass::Text: {
            if (!json.isString())
                m_in.fail(json, QStringLiteral("%1 holds a text, found %2").arg(type.name, json.typeName()));
            value.text = m_in.stringText(json);
            return remembered(value.text, type, [&] {
                QString why;
                if (!valueFits(value, type, &why))
                    m_in.fail(json, why);
                return value;
            });
        }
        case ValueClass::Fields: {
            if (!json.isArray())
                m_in.fail(json,
                    QStringLiteral("%1 holds an array of %2 numbers or a text, found %3")
                        .arg(type.name)
                        .arg(type.fields.size())
                        .arg(json.typeName()));
            value.numbers.reserve(qsizetype(json.size()));
            json.forEach([&](const JsonRef &number) {
                if (!number.isDouble())
                    m_in.fail(number, QStringLiteral("expected a number, found %1").arg(number.typeName()));
                value.numbers.append(number.toDouble());
            });
            break;
        }
        case ValueClass::Enumeration:
        case ValueClass::Number:
            if (!json.isDouble())
                m_in.fail(
                    json, QStringLiteral("%1 holds a number or a text, found %2").arg(type.name, json.typeName()));
            // Equal numbers of one type share one stored value: copies of a device repeat them.
            if (const auto known = m_numberValues.find({ json.toDouble(), &type }); known != m_numberValues.end())
                return known->second;
            value.numbers.reserve(1);
            value.numbers.append(json.toDouble());
            break;
        }
        QString why;
        if (!valueFits(value, type, &why))
            m_in.fail(json, why);
        if (type.valueClass == ValueClass::Number || type.valueClass == ValueClass::Enumeration)
            m_numberValues.emplace(NumberValueKey { json.toDouble(), &type }, value);
        return value;
    }

    // The value a shared text gives a type, made by `make` the first time: copies of a device
    // repeat the same texts, which are then parsed and checked once.
    template<typename Make> StoredValue remembered(const QString &text, const TypeDef &type, Make &&make) const
    {
        const TextValueKey key { text.constData(), &type };
        auto known = m_textValues.find(key);
        if (known == m_textValues.end())
            known = m_textValues.emplace(key, make()).first;
        return known->second;
    }

    // A property of a list read before, by its place in the list: the same name in a device
    // of the same program ID and scope is the same shared text of the same type.
    struct ListedName
    {
        std::string_view key;
        const QString *name = nullptr; // of a property in the model
        const QChar *programId = nullptr; // by address, as NamedTypeKey
        qint32 scope = 0;
        const TypeDef *type = nullptr;
        bool sameAs(std::string_view otherKey, const DeviceNode &device) const
        {
            return key == otherKey && programId == device.programId.constData() && scope == device.scope;
        }
    };

    // Program ID, scope and name by the address of their texts: all of them stay in the
    // model while it is read, so an address is not used again for another text.
    struct NamedTypeKey
    {
        const QChar *programId;
        qint32 scope;
        const QChar *name;
        bool operator==(const NamedTypeKey &other) const
        {
            return programId == other.programId && scope == other.scope && name == other.name;
        }
    };
    struct NamedTypeKeyHash
    {
        size_t operator()(const NamedTypeKey &key) const
        {
            const std::hash<const void *> hash;
            return hash(key.programId) ^ (hash(key.name) * 31) ^ size_t(key.scope);
        }
    };

    // A text value by the address of its shared text and its type; the text is held by the
    // table of shared texts while the model is read.
    struct TextValueKey
    {
        const QChar *text;
        const TypeDef *type;
        bool operator==(const TextValueKey &other) const { return text == other.text && type == other.type; }
    };
    struct TextValueKeyHash
    {
        size_t operator()(const TextValueKey &key) const
        {
            return std::hash<const void *>()(key.text) ^ (std::hash<const void *>()(key.type) * 31);
        }
    };

    // A number by its bits and its type.
    struct NumberValueKey
    {
        double number;
        const TypeDef *type;
        bool operator==(const NumberValueKey &other) const
        {
            return memcmp(&number, &other.number, sizeof number) == 0 && type == other.type;
        }
    };
    struct NumberValueKeyHash
    {
        size_t operator()(const NumberValueKey &key) const
        {
            quint64 bits = 0;
            memcpy(&bits, &key.number, sizeof bits);
            return std::hash<quint64>()(bits) ^ (std::hash<const void *>()(key.type) * 31);
        }
    };

    NetworkModel &m_model;
    Reader m_in;
    const JsonText &m_document;
    mutable std::unordered_map<TextValueKey, StoredValue, TextValueKeyHash> m_textValues;
    mutable std::unordered_map<NumberValueKey, StoredValue, NumberValueKeyHash> m_numberValues;
    std::vector<JsonRef> m_entries; // of the property list being read
    std::vector<ListedName> m_previousBlockCps, m_previousNvCps;
    mutable qint64 m_defaultTextSize = 0; // the characters of the default texts built so far
    std::unordered_map<NamedTypeKey, const TypeDef *, NamedTypeKeyHash> m_namedTypes;
    // By the address of a shared text, which the model holds while it is read.
    std::unordered_map<const QChar *, QString> m_folded;
    std::vector<PendingValue<CpNode>> m_cpValues;
    std::vector<PendingValue<NvNode>> m_nvValues;
    std::vector<std::pair<NvNode *, JsonRef::Element>> m_generators;
};

} // namespace

void readModel(NetworkModel &model, const QByteArray &json, const QString &sourceName)
{
    const JsonText document(json, sourceName);
    try {
        ModelReader(model, document, sourceName).read();
    } catch (const LoadError &) {
        // A key given twice is the first thing to say, wherever the reading stopped: what
        // went wrong after it may be the other value's doing.
        if (const QString place = repeatedKeyPlace(json); !place.isEmpty())
            throw LoadError(QStringLiteral("%1: %2").arg(sourceName, place));
        throw;
    }
}

} // namespace Sim
