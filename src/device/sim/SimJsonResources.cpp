// SPDX-License-Identifier: MIT
// Reading the resource sets (types, formats, unit texts) and the language tables of
// the network database.
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimResolve.h"

#include <QSet>

namespace Sim {
namespace {

class SectionReader
{
public:
    SectionReader(NetworkModel &model, const Reader &in)
        : m_model(model)
        , m_in(in)
    {
    }

    void readResourceSets(const QJsonValue &value) const
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

    void readResourceSet(const QJsonValue &value, const QString &path) const
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
        m_model.chains.clear(); // a lookup made while reading must not miss this set
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
            for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
                if (m_in.isComment(it, membersPath))
                    continue;
                const double number = it.value().toDouble(0.5);
                // Checked before the conversion, which is undefined outside 32 bits.
                if (!it.value().isDouble() || number != std::nearbyint(number) || number < -2147483648.0
                    || number > 2147483647.0)
                    m_in.fail(member(membersPath, it.key()), QStringLiteral("a member's value is a whole number"));
                const qint32 memberValue = qint32(number);
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
        for (auto language = languages.constBegin(); language != languages.constEnd(); ++language) {
            if (m_in.isComment(language, path))
                continue;
            const QString languagePath = member(path, language.key());
            const QJsonObject texts = m_in.object(language.value(), languagePath);
            for (auto text = texts.constBegin(); text != texts.constEnd(); ++text) {
                if (m_in.isComment(text, languagePath))
                    continue;
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

    void readLanguages(const QJsonObject &root) const
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
            for (auto app = applications.constBegin(); app != applications.constEnd(); ++app) {
                if (m_in.isComment(app, stringsPath))
                    continue;
                const QString appPath = member(stringsPath, app.key());
                const QJsonObject texts = m_in.object(app.value(), appPath);
                QMap<QString, QString> &table = language.applications[app.key()];
                for (auto text = texts.constBegin(); text != texts.constEnd(); ++text) {
                    if (m_in.isComment(text, appPath))
                        continue;
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

private:
    NetworkModel &m_model;
    const Reader &m_in;
};

} // namespace

void readResourceSets(NetworkModel &model, const Reader &in, const QJsonValue &value)
{
    SectionReader(model, in).readResourceSets(value);
}

void readLanguages(NetworkModel &model, const Reader &in, const QJsonObject &root)
{
    SectionReader(model, in).readLanguages(root);
}

} // namespace Sim
