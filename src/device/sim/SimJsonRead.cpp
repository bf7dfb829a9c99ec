// SPDX-License-Identifier: MIT
// Reading the network database: the top level, the network part (system, devices,
// blocks, variables, properties) and the values, once every type is known.
#include "device/sim/SimErrors.h"
#include "device/sim/SimJson.h"
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <unordered_map>

namespace Sim {
namespace {

// Values wait until every type they may depend on is known (SCPTnvType first).
struct PendingValue
{
    CpNode *cp = nullptr;
    NvNode *nv = nullptr;
    JsonRef json; // absent: the type's default
};

class ModelReader
{
public:
    ModelReader(NetworkModel &model, const QString &source)
        : m_model(model)
        , m_in(source)
    {
    }

    void read(const JsonDom &document)
    {
        const JsonRef root = document.root();
        m_valueCount = document.valueCount();
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
        m_model.devices.reserve(size_t(devices.size()));
        for (int i = 0; i < devices.size(); ++i) {
            readDevice(m_in.object(devices.at(i)));
            if (i == 0) { // devices are much alike: room for as many values per device as the first has
                m_cpValues.reserve(std::min(m_cpValues.size() * size_t(devices.size()), m_valueCount));
                m_nvValues.reserve(std::min(m_nvValues.size() * size_t(devices.size()), m_valueCount));
            }
        }
        resolveValues();
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
        device->blocks.reserve(size_t(blocks.size()));
        QSet<QString> blockNames; // folded: a long list costs no comparison of every pair
        for (int i = 0; i < blocks.size(); ++i) {
            device->blocks.push_back(readBlock(m_in.object(blocks.at(i)), device.get()));
            const qsizetype before = blockNames.size();
            blockNames.insert(device->blocks.back()->name.toCaseFolded());
            if (blockNames.size() == before)
                m_in.fail(blocks.at(i).value("name"), QStringLiteral("a block needs a name of its own in its device"));
        }
        m_model.deviceIndex.insert(folded, device.get());
        m_model.devices.push_back(std::move(device));
    }

    std::unique_ptr<BlockNode> readBlock(const JsonRef &o, DeviceNode *device)
    {
        m_in.onlyKeys(o, { "name", "cps", "nvs" });
        auto block = std::make_unique<BlockNode>();
        block->device = device;
        block->name = m_in.string(o, "name");
        block->comment = m_in.comment(o);
        if (block->name.isEmpty())
            m_in.fail(o.value("name"), QStringLiteral("a block needs a name of its own in its device"));
        block->cps = readCps(o, block.get(), nullptr, block->cpsComment);
        const JsonRef nvs = m_in.optionalArray(o, "nvs");
        block->nvs.reserve(size_t(nvs.size()));
        for (int i = 0; i < nvs.size(); ++i) {
            const JsonRef n = m_in.object(nvs.at(i));
            m_in.onlyKeys(n, { "name", "programmaticName", "type", "value", "generator", "cps" });
            auto nv = std::make_unique<NvNode>();
            nv->block = block.get();
            nv->name = m_in.string(n, "name");
            if (nv->name.trimmed().isEmpty())
                m_in.fail(n.value("name"), QStringLiteral("a network variable needs a name"));
            nv->programmaticName = m_in.string(n, "programmaticName", nv->name);
            nv->typeName = m_in.string(n, "type", QString());
            nv->comment = m_in.comment(n);
            nv->cps = readCps(n, nullptr, nv.get(), nv->cpsComment);
            if (n.contains("generator"))
                readGenerator(m_in.object(n.value("generator")), *nv);
            m_nvValues.push_back(PendingValue { nullptr, nv.get(), n.value("value") });
            block->nvs.push_back(std::move(nv));
        }
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
        m_generators.append({ &nv, o });
    }

    std::vector<std::unique_ptr<CpNode>> readCps(
        const JsonRef &owner, BlockNode *block, NvNode *nv, QString &listComment)
    {
        std::vector<std::unique_ptr<CpNode>> cps;
        if (!owner.contains("cps"))
            return cps;
        const JsonRef list = m_in.object(owner.value("cps"));
        cps.reserve(size_t(list.size()));
        for (int i = 0; i < list.size(); ++i) {
            const JsonRef entry = list.at(i);
            if (m_in.isComment(entry)) {
                listComment = entry.toString();
                continue;
            }
            auto cp = std::make_unique<CpNode>();
            cp->name = m_in.keyText(entry);
            cp->block = block;
            cp->nv = nv;
            JsonRef value = entry;
            if (entry.isObject()) {
                m_in.onlyKeys(entry, { "type", "value" });
                cp->typeName = m_in.string(entry, "type", QString());
                cp->comment = m_in.comment(entry);
                value = entry.value("value");
            }
            findNamedType(*cp);
            m_cpValues.push_back(PendingValue { cp.get(), nullptr, value });
            cps.push_back(std::move(cp));
        }
        return cps;
    }

    // The type a property's name or "type" names in its device's resource sets, as
    // Resolver::namedType finds it, remembered by the shared texts of program ID and name:
    // the thousandth copy of a device costs no string hashing.
    void findNamedType(const CpNode &cp)
    {
        const DeviceNode *device = cp.device();
        const QString name = cp.effectiveTypeName();
        const NamedTypeKey key { device->programId.constData(), device->scope, name.constData() };
        auto known = m_namedTypes.find(key);
        if (known == m_namedTypes.end())
            known = m_namedTypes.emplace(key, Resolver(m_model).namedType(cp)).first;
        cp.namedType = known->second;
    }

    // ---- values

    void resolveValues()
    {
        const Resolver resolver(m_model);
        auto typeOf = [&](const PendingValue &pending) {
            QString why;
            const TypeDef *type = pending.cp ? resolver.cpType(*pending.cp, &why) : resolver.nvType(*pending.nv, &why);
            if (!type)
                m_in.fail(pending.json, why);
            return type;
        };
        auto isInheriting = [&](const PendingValue &pending) {
            const TypeDef *own = resolver.namedType(*pending.cp);
            return own && own->inheritsNvType;
        };
        // Properties with a type of their own (SCPTnvType among them), then the variables, then the rest.
        std::vector<bool> inheriting(m_cpValues.size());
        for (size_t i = 0; i < m_cpValues.size(); ++i) {
            inheriting[i] = isInheriting(m_cpValues[i]);
            if (!inheriting[i])
                m_cpValues[i].cp->value = valueFromJson(m_cpValues[i], *typeOf(m_cpValues[i]));
        }
        for (const PendingValue &pending : m_nvValues)
            pending.nv->value = valueFromJson(pending, *typeOf(pending));
        // A generator moves one number; a member, a structure or a text has no wave.
        for (const auto &[nv, generator] : m_generators) {
            const TypeDef *type = resolver.nvType(*nv);
            if (type && type->valueClass != ValueClass::Number)
                m_in.fail(generator,
                    QStringLiteral("only a variable holding one number can have a generator; %1 does not")
                        .arg(type->name));
        }
        for (size_t i = 0; i < m_cpValues.size(); ++i) {
            if (inheriting[i])
                m_cpValues[i].cp->value = valueFromJson(m_cpValues[i], *typeOf(m_cpValues[i]));
        }
    }

    StoredValue valueFromJson(const PendingValue &pending, const TypeDef &type) const
    {
        const JsonRef &json = pending.json;
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
            // Shared texts are remembered: copies of a device repeat the same values.
            const bool shared = !json.stringBytes().isNull();
            const TextValueKey key { text.constData(), &type };
            if (const auto known = m_textValues.find(key); shared && known != m_textValues.end())
                return known->second;
            try {
                value = parseValue(text, type, *format, *formatType);
            } catch (const DeviceAccess::DeviceError &error) {
                m_in.fail(json, error.description());
            }
            if (shared)
                m_textValues.emplace(key, value);
            return value;
        }
        switch (type.valueClass) {
        case ValueClass::Text:
            if (!json.isString())
                m_in.fail(json, QStringLiteral("%1 holds a text, found %2").arg(type.name, json.typeName()));
            value.text = m_in.stringText(json);
            break;
        case ValueClass::Fields: {
            if (!json.isArray())
                m_in.fail(json,
                    QStringLiteral("%1 holds an array of %2 numbers or a text, found %3")
                        .arg(type.name)
                        .arg(type.fields.size())
                        .arg(json.typeName()));
            value.numbers.reserve(json.size());
            for (int i = 0; i < json.size(); ++i) {
                if (!json.at(i).isDouble())
                    m_in.fail(json.at(i), QStringLiteral("expected a number, found %1").arg(json.at(i).typeName()));
                value.numbers.append(json.at(i).toDouble());
            }
            break;
        }
        case ValueClass::Enumeration:
        case ValueClass::Number:
            if (!json.isDouble())
                m_in.fail(
                    json, QStringLiteral("%1 holds a number or a text, found %2").arg(type.name, json.typeName()));
            value.numbers.reserve(1);
            value.numbers.append(json.toDouble());
            break;
        }
        QString why;
        if (!valueFits(value, type, &why))
            m_in.fail(json, why);
        return value;
    }

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

    NetworkModel &m_model;
    Reader m_in;
    mutable std::unordered_map<TextValueKey, StoredValue, TextValueKeyHash> m_textValues;
    size_t m_valueCount = 0; // of the document: more values than that cannot come
    mutable qint64 m_defaultTextSize = 0; // the characters of the default texts built so far
    std::unordered_map<NamedTypeKey, const TypeDef *, NamedTypeKeyHash> m_namedTypes;
    std::vector<PendingValue> m_cpValues;
    std::vector<PendingValue> m_nvValues;
    QVector<std::pair<NvNode *, JsonRef>> m_generators;
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
// ASCII character, so without a mark its first two characters show as a text character
// and zero bytes in the places the encoding puts them. Other zero bytes are no encoding.
const char *wideEncoding(const QByteArray &json)
{
    const auto at = [&](qsizetype i) { return i < json.size() ? quint8(json.at(i)) : 0xFFu; };
    if ((at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0)
        || (at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF))
        return "UTF-32";
    if ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))
        return "UTF-16";
    const auto isText = [](quint8 c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'; };
    // Two characters of `width` bytes, the text byte at `place` in each and zeros elsewhere.
    const auto looksLike = [&](int width, int place) {
        for (int unit = 0; unit < 2; ++unit) {
            for (int i = 0; i < width; ++i) {
                const quint8 byte = at(qsizetype(unit * width + i));
                if (i == place ? !isText(byte) : byte != 0)
                    return false;
            }
        }
        return true;
    };
    if (looksLike(4, 0) || looksLike(4, 3))
        return "UTF-32";
    if (looksLike(2, 0) || looksLike(2, 1))
        return "UTF-16";
    return nullptr;
}

} // namespace

void readModel(NetworkModel &model, const QByteArray &json, const QString &sourceName)
{
    if (const char *encoding = wideEncoding(json))
        throw LoadError(QStringLiteral("%1: the file is %2 text; a network database is read as UTF-8: save it as UTF-8")
                            .arg(sourceName, QLatin1String(encoding)));
    // A text never holds a zero byte (a string writes it \u0000): binary data, or a byte
    // that Qt's lenient reader would take into a name no one can choose.
    if (const qsizetype zero = json.indexOf('\0'); zero >= 0) {
        int column = 0;
        const int line = lineOf(json, int(zero), column);
        throw LoadError(QStringLiteral("%1: line %2, column %3 (offset %4): a zero byte (NUL), which a text never "
                                       "holds; a network database is UTF-8 text, and a string writes it \\u0000")
                            .arg(sourceName)
                            .arg(line)
                            .arg(column)
                            .arg(zero));
    }
    std::unique_ptr<JsonDom> document = JsonDom::parse(json);
    if (!document) {
        // Not plain JSON: Qt's reader decides, with its messages and its leniencies.
        QJsonParseError error;
        const QJsonDocument qtDocument = QJsonDocument::fromJson(json, &error);
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
        if (!qtDocument.isObject())
            throw LoadError(QStringLiteral("%1: (top level): expected an object").arg(sourceName));
        refuseDuplicateKeys(json, sourceName);
        const QJsonObject root = qtDocument.object();
        ModelReader(model, sourceName).read(*JsonDom::fromQt(root));
        // The sections kept as read stay Qt's own: a rebuilt object would order keys
        // beyond the first plane of Unicode differently.
        model.resourceSource = root.value(QLatin1String("resourceSets"));
        model.languageSource = root.value(QLatin1String("languages"));
        return;
    }
    ModelReader(model, sourceName).read(*document);
}

} // namespace Sim
