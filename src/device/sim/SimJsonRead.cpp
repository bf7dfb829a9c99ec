// SPDX-License-Identifier: MIT
// Reading the network database: a strict reader that names the place of every
// problem, then the resource sets, languages and the network part in that order.
#include "device/sim/SimErrors.h"
#include "device/sim/SimJson.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <cmath>
#include <optional>

namespace Sim {
namespace {

QString member(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString element(const QString &path, int index)
{
    return path + QStringLiteral("[%1]").arg(index);
}

QString jsonTypeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a Boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// Typed access to the document that fails with the file, the path and the reason.
class Reader
{
public:
    explicit Reader(QString source)
        : m_source(std::move(source))
    {
    }

    [[noreturn]] void fail(const QString &path, const QString &what) const
    {
        throw LoadError(
            QStringLiteral("%1: %2: %3").arg(m_source, path.isEmpty() ? QStringLiteral("(top level)") : path, what));
    }

    QJsonObject object(const QJsonValue &value, const QString &path) const
    {
        if (!value.isObject())
            fail(path, QStringLiteral("expected an object, found %1").arg(jsonTypeName(value)));
        return value.toObject();
    }

    QJsonArray array(const QJsonValue &value, const QString &path) const
    {
        if (!value.isArray())
            fail(path, QStringLiteral("expected an array, found %1").arg(jsonTypeName(value)));
        return value.toArray();
    }

    // Unknown keys are refused so that a misspelt key does not pass silently; "comment" is always allowed.
    void onlyKeys(const QJsonObject &object, const QString &path, std::initializer_list<const char *> keys) const
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() == QLatin1String("comment"))
                continue;
            bool known = false;
            for (const char *key : keys)
                known = known || it.key() == QLatin1String(key);
            if (!known)
                fail(member(path, it.key()), QStringLiteral("unknown key"));
        }
    }

    QJsonValue required(const QJsonObject &object, const QString &path, const char *key) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            fail(path, QStringLiteral("missing \"%1\"").arg(QLatin1String(key)));
        return value;
    }

    QString string(const QJsonObject &object, const QString &path, const char *key,
        std::optional<QString> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isString())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected a string, found %1").arg(jsonTypeName(present)));
        return present.toString();
    }

    double number(const QJsonObject &object, const QString &path, const char *key,
        std::optional<double> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isDouble())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected a number, found %1").arg(jsonTypeName(present)));
        return present.toDouble();
    }

    qint32 integer(const QJsonObject &object, const QString &path, const char *key,
        std::optional<qint32> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const double number = this->number(object, path, key);
        if (number != std::nearbyint(number) || number < -2147483648.0 || number > 2147483647.0)
            fail(member(path, QLatin1String(key)), QStringLiteral("expected a whole number, found %1").arg(number));
        return qint32(number);
    }

    bool boolean(const QJsonObject &object, const QString &path, const char *key,
        std::optional<bool> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isBool())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected true or false, found %1").arg(jsonTypeName(present)));
        return present.toBool();
    }

    QString programId(const QJsonObject &object, const QString &path, const char *key, bool allowEmpty) const
    {
        static const QRegularExpression hex16(QStringLiteral("^[0-9A-Fa-f]{16}$"));
        const QString id = string(object, path, key, allowEmpty ? std::optional<QString>(QString()) : std::nullopt);
        if (!(allowEmpty && id.isEmpty()) && !hex16.match(id).hasMatch())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("a program ID is 16 hexadecimal digits, found '%1'").arg(id));
        return id;
    }

private:
    QString m_source;
};

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
        const QJsonValue version = m_in.required(root, QString(), "formatVersion");
        if (!version.isDouble() || version.toDouble() != NetworkModel::FormatVersion) {
            m_in.fail(QStringLiteral("formatVersion"),
                QStringLiteral("unsupported format version %1; this library reads version %2")
                    .arg(version.isDouble() ? QString::number(version.toDouble()) : jsonTypeName(version))
                    .arg(NetworkModel::FormatVersion));
        }
        if (root.contains(QLatin1String("catalog"))) {
            const QJsonObject catalog = m_in.object(root.value(QLatin1String("catalog")), QStringLiteral("catalog"));
            m_in.onlyKeys(catalog, QStringLiteral("catalog"), { "path" });
            m_model.catalogPath = m_in.string(catalog, QStringLiteral("catalog"), "path", QString());
        }
        readResourceSets(m_in.required(root, QString(), "resourceSets"));
        readLanguages(root);
        readSystem(m_in.object(m_in.required(root, QString(), "system"), QStringLiteral("system")));
        const QJsonArray devices = m_in.array(m_in.required(root, QString(), "devices"), QStringLiteral("devices"));
        for (int i = 0; i < devices.size(); ++i)
            readDevice(devices.at(i), element(QStringLiteral("devices"), i));
        resolveValues();
    }

private:
    // ---- resources

    void readResourceSets(const QJsonValue &value)
    {
        m_model.resourceSource = value;
        const QString path = QStringLiteral("resourceSets");
        const QJsonArray sets = m_in.array(value, path);
        for (int i = 0; i < sets.size(); ++i)
            readResourceSet(sets.at(i), element(path, i));
        for (int i = 0; i < int(m_model.resourceSets.size()); ++i) {
            const ResourceSet &set = *m_model.resourceSets.at(size_t(i));
            for (int f = 0; f < int(set.formats.size()); ++f) {
                if (!Resolver(m_model).typeOf(set.formats.at(size_t(f)))) {
                    m_in.fail(member(element(element(path, i) + QStringLiteral(".formats"), f), QStringLiteral("type")),
                        QStringLiteral("no type '%1' in this resource set or a lower scope")
                            .arg(set.formats.at(size_t(f)).typeName));
                }
            }
        }
    }

    void readResourceSet(const QJsonValue &value, const QString &path)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path,
            { "programId", "scope", "typeFile", "formatFile", "languageFile", "types", "formats", "unitTexts" });
        auto set = std::make_unique<ResourceSet>();
        set->programId = m_in.programId(o, path, "programId", true).toUpper();
        set->scope = m_in.integer(o, path, "scope");
        if (set->scope < 0)
            m_in.fail(member(path, QStringLiteral("scope")), QStringLiteral("a scope is 0 or more"));
        set->typeFile = m_in.string(o, path, "typeFile");
        set->formatFile = m_in.string(o, path, "formatFile");
        set->languageFile = m_in.string(o, path, "languageFile");
        for (const auto &other : m_model.resourceSets) {
            if (other->scope == set->scope && other->programId.compare(set->programId, Qt::CaseInsensitive) == 0)
                m_in.fail(path, QStringLiteral("a second resource set for the same program ID and scope"));
        }
        const QJsonArray types
            = m_in.array(o.value(QLatin1String("types")).isUndefined() ? QJsonArray() : o.value(QLatin1String("types")),
                member(path, QStringLiteral("types")));
        set->types.reserve(size_t(types.size()));
        for (int i = 0; i < types.size(); ++i)
            set->types.push_back(readType(types.at(i), element(member(path, QStringLiteral("types")), i), *set));
        const QJsonArray formats = m_in.array(
            o.value(QLatin1String("formats")).isUndefined() ? QJsonArray() : o.value(QLatin1String("formats")),
            member(path, QStringLiteral("formats")));
        for (int i = 0; i < formats.size(); ++i)
            set->formats.push_back(
                readFormat(formats.at(i), element(member(path, QStringLiteral("formats")), i), *set));
        if (o.contains(QLatin1String("unitTexts")))
            readUnitTexts(o.value(QLatin1String("unitTexts")), member(path, QStringLiteral("unitTexts")), *set);
        m_model.resourceSets.push_back(std::move(set));
    }

    NumericLimits readLimits(const QJsonObject &o, const QString &path) const
    {
        NumericLimits limits;
        const bool hasMin = o.contains(QLatin1String("min"));
        if (hasMin != o.contains(QLatin1String("max")))
            m_in.fail(path, QStringLiteral("\"min\" and \"max\" come together"));
        if (hasMin) {
            limits.hasRange = true;
            limits.minimum = m_in.number(o, path, "min");
            limits.maximum = m_in.number(o, path, "max");
            if (limits.minimum > limits.maximum)
                m_in.fail(member(path, QStringLiteral("min")), QStringLiteral("\"min\" is above \"max\""));
        }
        limits.resolution = m_in.number(o, path, "resolution", 0.0);
        if (limits.resolution < 0)
            m_in.fail(member(path, QStringLiteral("resolution")), QStringLiteral("a resolution is 0 or more"));
        return limits;
    }

    TypeDef readType(const QJsonValue &value, const QString &path, const ResourceSet &set) const
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path,
            { "name", "index", "kind", "unitIndex", "property", "inheritsNvType", "min", "max", "resolution", "members",
                "fields", "text" });
        TypeDef type;
        type.set = &set;
        type.name = m_in.string(o, path, "name");
        if (type.name.isEmpty())
            m_in.fail(member(path, QStringLiteral("name")), QStringLiteral("a type needs a name"));
        for (const TypeDef &other : set.types) {
            if (other.name.compare(type.name, Qt::CaseInsensitive) == 0)
                m_in.fail(
                    member(path, QStringLiteral("name")), QStringLiteral("a second type named %1").arg(type.name));
        }
        type.index = m_in.integer(o, path, "index", -1);
        type.kind = m_in.integer(o, path, "kind", 0);
        type.unitIndex = m_in.integer(o, path, "unitIndex", 0);
        type.cpType = m_in.boolean(o, path, "property", false);
        type.inheritsNvType = m_in.boolean(o, path, "inheritsNvType", false);
        type.limits = readLimits(o, path);
        const int definitions = int(o.contains(QLatin1String("members"))) + int(o.contains(QLatin1String("fields")))
            + int(o.contains(QLatin1String("text")));
        if (definitions > 1)
            m_in.fail(path, QStringLiteral("a type has at most one of \"members\", \"fields\" and \"text\""));
        if (o.contains(QLatin1String("members"))) {
            type.valueClass = ValueClass::Enumeration;
            const QString membersPath = member(path, QStringLiteral("members"));
            const QJsonObject members = m_in.object(o.value(QLatin1String("members")), membersPath);
            QSet<qint32> values;
            for (auto it = members.begin(); it != members.end(); ++it) {
                const qint32 memberValue = m_in.integer(members, membersPath, it.key().toUtf8().constData());
                if (values.contains(memberValue))
                    m_in.fail(
                        member(membersPath, it.key()), QStringLiteral("a second member of value %1").arg(memberValue));
                values.insert(memberValue);
                type.members.append(EnumMemberDef { it.key(), memberValue });
            }
            std::sort(type.members.begin(), type.members.end(),
                [](const EnumMemberDef &a, const EnumMemberDef &b) { return a.value < b.value; });
        } else if (o.contains(QLatin1String("fields"))) {
            type.valueClass = ValueClass::Fields;
            const QString fieldsPath = member(path, QStringLiteral("fields"));
            const QJsonArray fields = m_in.array(o.value(QLatin1String("fields")), fieldsPath);
            if (fields.isEmpty())
                m_in.fail(fieldsPath, QStringLiteral("a structure has at least one field"));
            for (int i = 0; i < fields.size(); ++i) {
                const QString fieldPath = element(fieldsPath, i);
                const QJsonObject f = m_in.object(fields.at(i), fieldPath);
                m_in.onlyKeys(f, fieldPath, { "name", "min", "max", "resolution" });
                type.fields.append(FieldDef { m_in.string(f, fieldPath, "name"), readLimits(f, fieldPath) });
            }
        } else if (o.contains(QLatin1String("text"))) {
            type.valueClass = ValueClass::Text;
            const QString textPath = member(path, QStringLiteral("text"));
            const QJsonObject t = m_in.object(o.value(QLatin1String("text")), textPath);
            m_in.onlyKeys(t, textPath, { "minFields", "maxFields", "numeric", "layout" });
            type.text.minFields = m_in.integer(t, textPath, "minFields", 0);
            type.text.maxFields = m_in.integer(t, textPath, "maxFields", 0);
            type.text.numeric = m_in.boolean(t, textPath, "numeric", false);
            type.text.layout = m_in.string(t, textPath, "layout", QString());
            if (!type.text.layout.isEmpty() && type.text.layout != QLatin1String("nvType"))
                m_in.fail(member(textPath, QStringLiteral("layout")), QStringLiteral("the only layout is \"nvType\""));
            if (type.text.maxFields > 0 && type.text.maxFields < type.text.minFields)
                m_in.fail(member(textPath, QStringLiteral("maxFields")), QStringLiteral("below \"minFields\""));
        }
        return type;
    }

    FormatDef readFormat(const QJsonValue &value, const QString &path, const ResourceSet &set) const
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "name", "type", "unitIndex", "scale", "offset", "decimals", "fieldDecimals" });
        FormatDef format;
        format.set = &set;
        format.name = m_in.string(o, path, "name");
        if (format.name.isEmpty() || format.name.startsWith(QLatin1Char('#')))
            m_in.fail(member(path, QStringLiteral("name")), QStringLiteral("a format needs a name without prefix"));
        for (const FormatDef &other : set.formats) {
            if (other.name.compare(format.name, Qt::CaseInsensitive) == 0)
                m_in.fail(
                    member(path, QStringLiteral("name")), QStringLiteral("a second format named %1").arg(format.name));
        }
        format.typeName = m_in.string(o, path, "type");
        format.unitIndex = m_in.integer(o, path, "unitIndex", 0);
        format.scale = m_in.number(o, path, "scale", 1.0);
        if (format.scale == 0)
            m_in.fail(member(path, QStringLiteral("scale")), QStringLiteral("a scale cannot be 0"));
        format.offset = m_in.number(o, path, "offset", 0.0);
        format.decimals = m_in.integer(o, path, "decimals", -1);
        if (format.decimals < -1 || format.decimals > 15)
            m_in.fail(member(path, QStringLiteral("decimals")), QStringLiteral("decimals lie between -1 and 15"));
        if (o.contains(QLatin1String("fieldDecimals"))) {
            const QString listPath = member(path, QStringLiteral("fieldDecimals"));
            const QJsonArray list = m_in.array(o.value(QLatin1String("fieldDecimals")), listPath);
            for (int i = 0; i < list.size(); ++i) {
                if (!list.at(i).isDouble() || list.at(i).toDouble() != std::nearbyint(list.at(i).toDouble())
                    || list.at(i).toDouble() < -1 || list.at(i).toDouble() > 15)
                    m_in.fail(element(listPath, i), QStringLiteral("expected a whole number from -1 to 15"));
                format.fieldDecimals.append(list.at(i).toInt());
            }
        }
        return format;
    }

    void readUnitTexts(const QJsonValue &value, const QString &path, ResourceSet &set) const
    {
        const QJsonObject languages = m_in.object(value, path);
        for (auto language = languages.begin(); language != languages.end(); ++language) {
            const QString languagePath = member(path, language.key());
            const QJsonObject texts = m_in.object(language.value(), languagePath);
            for (auto text = texts.begin(); text != texts.end(); ++text) {
                bool ok = false;
                const qint32 index = text.key().toInt(&ok);
                if (!ok || index <= 0)
                    m_in.fail(
                        member(languagePath, text.key()), QStringLiteral("a unit index is a whole number above 0"));
                if (!text.value().isString())
                    m_in.fail(member(languagePath, text.key()),
                        QStringLiteral("expected a string, found %1").arg(jsonTypeName(text.value())));
                set.unitTexts[language.key()].insert(index, text.value().toString());
            }
        }
    }

    // ---- languages and the network part

    void readLanguages(const QJsonObject &root)
    {
        const QString path = QStringLiteral("languages");
        if (root.contains(path)) {
            m_model.languageSource = root.value(path);
            const QJsonArray languages = m_in.array(root.value(path), path);
            for (int i = 0; i < languages.size(); ++i)
                m_model.languages.push_back(readLanguage(languages.at(i), element(path, i)));
        } else {
            LanguageDef english;
            english.code = QStringLiteral("en");
            english.name = QStringLiteral("English");
            english.fontName = QStringLiteral("MS Sans Serif");
            m_model.languages.push_back(english);
        }
        m_model.language = m_in.string(root, QString(), "language", m_model.languages.front().code);
        if (!m_model.languageDef(m_model.language))
            m_in.fail(
                QStringLiteral("language"), QStringLiteral("no language '%1' in \"languages\"").arg(m_model.language));
    }

    LanguageDef readLanguage(const QJsonValue &value, const QString &path) const
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "code", "name", "fontName", "charset", "strings" });
        LanguageDef language;
        language.code = m_in.string(o, path, "code");
        if (language.code.isEmpty() || m_model.languageDef(language.code))
            m_in.fail(member(path, QStringLiteral("code")), QStringLiteral("a language needs a code of its own"));
        language.name = m_in.string(o, path, "name", language.code);
        language.fontName = m_in.string(o, path, "fontName", QString());
        const qint32 charset = m_in.integer(o, path, "charset", 0);
        if (charset < 0 || charset > 255)
            m_in.fail(
                member(path, QStringLiteral("charset")), QStringLiteral("a character set lies between 0 and 255"));
        language.charset = qint16(charset);
        if (o.contains(QLatin1String("strings"))) {
            const QString stringsPath = member(path, QStringLiteral("strings"));
            const QJsonObject applications = m_in.object(o.value(QLatin1String("strings")), stringsPath);
            for (auto app = applications.begin(); app != applications.end(); ++app) {
                const QString appPath = member(stringsPath, app.key());
                const QJsonObject texts = m_in.object(app.value(), appPath);
                QMap<QString, QString> &table = language.applications[app.key()];
                for (auto text = texts.begin(); text != texts.end(); ++text) {
                    const QString key = text.key().trimmed().toUpper();
                    if (!text.value().isString())
                        m_in.fail(member(appPath, text.key()),
                            QStringLiteral("expected a string, found %1").arg(jsonTypeName(text.value())));
                    if (key.isEmpty() || table.contains(key))
                        m_in.fail(member(appPath, text.key()), QStringLiteral("an empty or repeated key"));
                    table.insert(key, text.value().toString());
                }
            }
        }
        return language;
    }

    void readSystem(const QJsonObject &o)
    {
        const QString path = QStringLiteral("system");
        m_in.onlyKeys(o, path, { "name", "networkMode" });
        m_model.system.name = m_in.string(o, path, "name", QStringLiteral("System"));
        m_model.system.networkMode = m_in.integer(o, path, "networkMode");
    }

    void readDevice(const QJsonValue &value, const QString &path)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "name", "commissioned", "state", "programId", "scope", "blocks" });
        auto device = std::make_unique<DeviceNode>();
        device->system = &m_model.system;
        device->name = m_in.string(o, path, "name");
        if (device->name.isEmpty() || m_model.device(device->name))
            m_in.fail(member(path, QStringLiteral("name")), QStringLiteral("a device needs a name of its own"));
        device->commissioned = m_in.boolean(o, path, "commissioned", true);
        device->state = m_in.integer(o, path, "state", 4);
        device->programId = m_in.programId(o, path, "programId", false).toUpper();
        device->scope = m_in.integer(o, path, "scope");
        const QString blocksPath = member(path, QStringLiteral("blocks"));
        const QJsonArray blocks = m_in.array(
            o.value(QLatin1String("blocks")).isUndefined() ? QJsonArray() : o.value(QLatin1String("blocks")),
            blocksPath);
        for (int i = 0; i < blocks.size(); ++i)
            device->blocks.push_back(readBlock(blocks.at(i), element(blocksPath, i), device.get()));
        m_model.devices.push_back(std::move(device));
    }

    std::unique_ptr<BlockNode> readBlock(const QJsonValue &value, const QString &path, DeviceNode *device)
    {
        const QJsonObject o = m_in.object(value, path);
        m_in.onlyKeys(o, path, { "name", "cps", "nvs" });
        auto block = std::make_unique<BlockNode>();
        block->device = device;
        block->name = m_in.string(o, path, "name");
        if (block->name.isEmpty() || device->block(block->name))
            m_in.fail(
                member(path, QStringLiteral("name")), QStringLiteral("a block needs a name of its own in its device"));
        block->cps = readCps(o, path, block.get(), nullptr);
        const QString nvsPath = member(path, QStringLiteral("nvs"));
        const QJsonArray nvs = m_in.array(
            o.value(QLatin1String("nvs")).isUndefined() ? QJsonArray() : o.value(QLatin1String("nvs")), nvsPath);
        for (int i = 0; i < nvs.size(); ++i) {
            const QString nvPath = element(nvsPath, i);
            const QJsonObject n = m_in.object(nvs.at(i), nvPath);
            m_in.onlyKeys(n, nvPath, { "name", "programmaticName", "type", "value", "cps" });
            auto nv = std::make_unique<NvNode>();
            nv->block = block.get();
            nv->name = m_in.string(n, nvPath, "name");
            if (nv->name.trimmed().isEmpty())
                m_in.fail(member(nvPath, QStringLiteral("name")), QStringLiteral("a network variable needs a name"));
            nv->programmaticName = m_in.string(n, nvPath, "programmaticName", nv->name);
            nv->typeName = m_in.string(n, nvPath, "type", QString());
            nv->cps = readCps(n, nvPath, nullptr, nv.get());
            m_nvValues.append(PendingValue {
                nullptr, nv.get(), n.value(QLatin1String("value")), member(nvPath, QStringLiteral("value")) });
            block->nvs.push_back(std::move(nv));
        }
        return block;
    }

    std::vector<std::unique_ptr<CpNode>> readCps(
        const QJsonObject &owner, const QString &ownerPath, BlockNode *block, NvNode *nv)
    {
        std::vector<std::unique_ptr<CpNode>> cps;
        if (!owner.contains(QLatin1String("cps")))
            return cps;
        const QString path = member(ownerPath, QStringLiteral("cps"));
        const QJsonObject list = m_in.object(owner.value(QLatin1String("cps")), path);
        for (auto it = list.begin(); it != list.end(); ++it) {
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

} // namespace

void readModel(NetworkModel &model, const QByteArray &json, const QString &sourceName)
{
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
    ModelReader(model, sourceName).read(document.object());
}

} // namespace Sim
