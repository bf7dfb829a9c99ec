// SPDX-License-Identifier: MIT
// Reading the resource sets (types, formats, unit texts) and the language tables of
// the network database.
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimResolve.h"

#include <QSet>

namespace Sim {
namespace {

// Adds the key; false when it was there already.
bool insertNew(QSet<QString> &keys, const QString &key)
{
    const qsizetype before = keys.size();
    keys.insert(key);
    return keys.size() != before;
}

class SectionReader
{
public:
    SectionReader(NetworkModel &model, const Reader &in)
        : m_model(model)
        , m_in(in)
    {
    }

    void readResourceSets(const JsonRef &value) const
    {
        const JsonRef sets = m_in.array(value);
        m_model.resourceSource = m_in.keptAsRead(sets);
        sets.forEach([&](const JsonRef &set) { readResourceSet(m_in.object(set)); });
        for (int i = 0; i < int(m_model.resourceSets.size()); ++i) {
            const ResourceSet &set = *m_model.resourceSets.at(size_t(i));
            for (int f = 0; f < int(set.formats.size()); ++f) {
                if (!Resolver(m_model).typeOf(set.formats.at(size_t(f)))) {
                    m_in.fail(sets.at(size_t(i)).value("formats").at(size_t(f)).value("type"),
                        QStringLiteral("no type '%1' in this resource set or a lower scope")
                            .arg(set.formats.at(size_t(f)).typeName));
                }
            }
        }
    }

    void readResourceSet(const JsonRef &o) const
    {
        m_in.onlyKeys(
            o, { "programId", "scope", "typeFile", "formatFile", "languageFile", "types", "formats", "unitTexts" });
        auto set = std::make_unique<ResourceSet>();
        set->programId = m_in.programId(o, "programId", true).toUpper();
        set->scope = m_in.integer(o, "scope");
        if (set->scope < 0)
            m_in.fail(o.value("scope"), QStringLiteral("a scope is 0 or more"));
        set->typeFile = m_in.string(o, "typeFile");
        set->formatFile = m_in.string(o, "formatFile");
        set->languageFile = m_in.string(o, "languageFile");
        // Names seen are kept folded in sets, so that a long list costs no comparison of
        // every entry with every other.
        if (m_setKeys.contains({ set->programId, set->scope }))
            m_in.fail(o, QStringLiteral("a second resource set for the same program ID and scope"));
        m_setKeys.insert({ set->programId, set->scope });
        const JsonRef types = m_in.optionalArray(o, "types");
        set->types.reserve(size_t(types.size()));
        QSet<QString> names;
        types.forEach([&](const JsonRef &entry) {
            set->types.push_back(readType(m_in.object(entry), *set));
            if (!insertNew(names, set->types.back().name.toCaseFolded()))
                m_in.fail(entry.value("name"), QStringLiteral("a second type named %1").arg(set->types.back().name));
        });
        const JsonRef formats = m_in.optionalArray(o, "formats");
        names.clear();
        formats.forEach([&](const JsonRef &entry) {
            set->formats.push_back(readFormat(m_in.object(entry), *set));
            if (!insertNew(names, set->formats.back().name.toCaseFolded()))
                m_in.fail(
                    entry.value("name"), QStringLiteral("a second format named %1").arg(set->formats.back().name));
        });
        if (o.contains("unitTexts"))
            readUnitTexts(m_in.object(o.value("unitTexts")), *set);
        m_model.resourceSets.push_back(std::move(set));
        m_model.forgetChains(); // a lookup made while reading must not miss this set
    }

    NumericLimits readLimits(const JsonRef &o) const
    {
        NumericLimits limits;
        const bool hasMin = o.contains("min");
        if (hasMin != o.contains("max"))
            m_in.fail(o, QStringLiteral("\"min\" and \"max\" come together"));
        if (hasMin) {
            limits.hasRange = true;
            limits.minimum = m_in.number(o, "min");
            limits.maximum = m_in.number(o, "max");
            if (limits.minimum > limits.maximum)
                m_in.fail(o.value("min"), QStringLiteral("\"min\" is above \"max\""));
        }
        limits.resolution = m_in.number(o, "resolution", 0.0);
        if (limits.resolution < 0)
            m_in.fail(o.value("resolution"), QStringLiteral("a resolution is 0 or more"));
        return limits;
    }

    TypeDef readType(const JsonRef &o, const ResourceSet &set) const
    {
        m_in.onlyKeys(o,
            { "name", "index", "kind", "unitIndex", "property", "inheritsNvType", "min", "max", "resolution", "members",
                "fields", "text" });
        TypeDef type;
        type.set = &set;
        type.name = m_in.string(o, "name");
        if (type.name.isEmpty())
            m_in.fail(o.value("name"), QStringLiteral("a type needs a name"));
        type.index = m_in.integer(o, "index", -1);
        type.kind = m_in.integer(o, "kind", 0);
        type.unitIndex = m_in.integer(o, "unitIndex", 0);
        type.cpType = m_in.boolean(o, "property", false);
        type.inheritsNvType = m_in.boolean(o, "inheritsNvType", false);
        type.limits = readLimits(o);
        const int definitions = int(o.contains("members")) + int(o.contains("fields")) + int(o.contains("text"));
        if (definitions > 1)
            m_in.fail(o, QStringLiteral("a type has at most one of \"members\", \"fields\" and \"text\""));
        if (o.contains("members")) {
            type.valueClass = ValueClass::Enumeration;
            const JsonRef members = m_in.object(o.value("members"));
            QSet<qint32> values;
            members.forEach([&](const JsonRef &entry) {
                if (m_in.isComment(entry))
                    return;
                const double number = entry.isDouble() ? entry.toDouble() : 0.5;
                // Checked before the conversion, which is undefined outside 32 bits.
                if (number != std::nearbyint(number) || number < -2147483648.0 || number > 2147483647.0)
                    m_in.fail(entry, QStringLiteral("a member's value is a whole number"));
                const qint32 memberValue = qint32(number);
                if (values.contains(memberValue))
                    m_in.fail(entry, QStringLiteral("a second member of value %1").arg(memberValue));
                values.insert(memberValue);
                type.members.append(EnumMemberDef { entry.key(), memberValue });
            });
            std::sort(type.members.begin(), type.members.end(),
                [](const EnumMemberDef &a, const EnumMemberDef &b) { return a.value < b.value; });
        } else if (o.contains("fields")) {
            type.valueClass = ValueClass::Fields;
            const JsonRef fields = m_in.array(o.value("fields"));
            if (fields.size() == 0)
                m_in.fail(fields, QStringLiteral("a structure has at least one field"));
            fields.forEach([&](const JsonRef &entry) {
                const JsonRef f = m_in.object(entry);
                m_in.onlyKeys(f, { "name", "min", "max", "resolution" });
                type.fields.append(FieldDef { m_in.string(f, "name"), readLimits(f) });
            });
        } else if (o.contains("text")) {
            type.valueClass = ValueClass::Text;
            const JsonRef t = m_in.object(o.value("text"));
            m_in.onlyKeys(t, { "minFields", "maxFields", "numeric", "layout" });
            type.text.minFields = fieldCount(t, "minFields");
            type.text.maxFields = fieldCount(t, "maxFields");
            type.text.numeric = m_in.boolean(t, "numeric", false);
            type.text.layout = m_in.string(t, "layout", QString());
            if (!type.text.layout.isEmpty() && type.text.layout != QLatin1String("nvType"))
                m_in.fail(t.value("layout"), QStringLiteral("the only layout is \"nvType\""));
            if (type.text.maxFields > 0 && type.text.maxFields < type.text.minFields)
                m_in.fail(t.value("maxFields"), QStringLiteral("below \"minFields\""));
        }
        return type;
    }

    // A text of n fields takes at least 2n - 1 characters (one digit each and a blank
    // between): a count beyond what a database file can hold is no count, and a default
    // text of that many fields is never built.
    qint32 fieldCount(const JsonRef &text, std::string_view key) const
    {
        constexpr qint64 most = (Network::MaxFileSize + 1) / 2;
        const qint32 count = m_in.integer(text, key, 0);
        if (count < 0 || count > most)
            m_in.fail(text.value(key),
                QStringLiteral("a number of fields lies between 0 and %1 (a text of more fields does not fit in a "
                               "database of %2 MiB), found %3")
                    .arg(most)
                    .arg(Network::MaxFileSize / (1024 * 1024))
                    .arg(count));
        return count;
    }

    FormatDef readFormat(const JsonRef &o, const ResourceSet &set) const
    {
        m_in.onlyKeys(o, { "name", "type", "unitIndex", "scale", "offset", "decimals", "fieldDecimals" });
        FormatDef format;
        format.set = &set;
        format.name = m_in.string(o, "name");
        if (format.name.isEmpty() || format.name.startsWith(QLatin1Char('#')))
            m_in.fail(o.value("name"), QStringLiteral("a format needs a name without prefix"));
        format.typeName = m_in.string(o, "type");
        format.unitIndex = m_in.integer(o, "unitIndex", 0);
        format.scale = m_in.number(o, "scale", 1.0);
        if (format.scale == 0)
            m_in.fail(o.value("scale"), QStringLiteral("a scale cannot be 0"));
        format.offset = m_in.number(o, "offset", 0.0);
        format.decimals = m_in.integer(o, "decimals", -1);
        if (format.decimals < -1 || format.decimals > 15)
            m_in.fail(o.value("decimals"), QStringLiteral("decimals lie between -1 and 15"));
        if (o.contains("fieldDecimals")) {
            const JsonRef list = m_in.array(o.value("fieldDecimals"));
            list.forEach([&](const JsonRef &entry) {
                const double decimals = entry.toDouble();
                if (!entry.isDouble() || decimals != std::nearbyint(decimals) || decimals < -1 || decimals > 15)
                    m_in.fail(entry, QStringLiteral("expected a whole number from -1 to 15"));
                format.fieldDecimals.append(int(decimals));
            });
        }
        return format;
    }

    void readUnitTexts(const JsonRef &languages, ResourceSet &set) const
    {
        languages.forEach([&](const JsonRef &language) {
            if (m_in.isComment(language))
                return;
            const JsonRef texts = m_in.object(language);
            texts.forEach([&](const JsonRef &text) {
                if (m_in.isComment(text))
                    return;
                bool ok = false;
                const qint32 index = text.key().toInt(&ok);
                if (!ok || index <= 0)
                    m_in.fail(text, QStringLiteral("a unit index is a whole number above 0"));
                if (!text.isString())
                    m_in.fail(text, QStringLiteral("expected a string, found %1").arg(text.typeName()));
                set.unitTexts[language.key()].insert(index, text.toString());
            });
        });
    }

    void readLanguages(const JsonRef &root) const
    {
        if (root.contains("languages")) {
            const JsonRef languages = m_in.array(root.value("languages"));
            if (languages.size() == 0)
                m_in.fail(languages, QStringLiteral("a list of languages holds at least one language"));
            m_model.languageSource = m_in.keptAsRead(languages);
            languages.forEach(
                [&](const JsonRef &language) { m_model.languages.push_back(readLanguage(m_in.object(language))); });
        } else {
            LanguageDef english;
            english.code = QStringLiteral("en");
            english.name = QStringLiteral("English");
            english.fontName = QStringLiteral("MS Sans Serif");
            m_model.languages.push_back(english);
        }
        m_model.language = m_in.string(root, "language", m_model.languages.front().code);
        if (!m_model.languageDef(m_model.language))
            m_in.fail(
                QStringLiteral("language"), QStringLiteral("no language '%1' in \"languages\"").arg(m_model.language));
    }

    LanguageDef readLanguage(const JsonRef &o) const
    {
        m_in.onlyKeys(o, { "code", "name", "fontName", "charset", "strings" });
        LanguageDef language;
        language.code = m_in.string(o, "code");
        if (language.code.isEmpty() || !insertNew(m_languageCodes, language.code.toCaseFolded()))
            m_in.fail(o.value("code"), QStringLiteral("a language needs a code of its own"));
        language.name = m_in.string(o, "name", language.code);
        language.fontName = m_in.string(o, "fontName", QString());
        const qint32 charset = m_in.integer(o, "charset", 0);
        if (charset < 0 || charset > 255)
            m_in.fail(o.value("charset"), QStringLiteral("a character set lies between 0 and 255"));
        language.charset = qint16(charset);
        if (o.contains("strings")) {
            const JsonRef applications = m_in.object(o.value("strings"));
            applications.forEach([&](const JsonRef &app) {
                if (m_in.isComment(app))
                    return;
                const JsonRef texts = m_in.object(app);
                QMap<QString, QString> &table = language.applications[app.key()];
                texts.forEach([&](const JsonRef &text) {
                    if (m_in.isComment(text))
                        return;
                    const QString key = text.key().trimmed().toUpper();
                    if (!text.isString())
                        m_in.fail(text, QStringLiteral("expected a string, found %1").arg(text.typeName()));
                    if (key.isEmpty() || table.contains(key))
                        m_in.fail(text, QStringLiteral("an empty or repeated key"));
                    table.insert(key, text.toString());
                });
            });
        }
        return language;
    }

private:
    NetworkModel &m_model;
    const Reader &m_in;
    mutable QSet<std::pair<QString, qint32>> m_setKeys; // program ID (upper case) and scope
    mutable QSet<QString> m_languageCodes; // folded
};

} // namespace

void readResourceSets(NetworkModel &model, const Reader &in, const JsonRef &value)
{
    SectionReader(model, in).readResourceSets(value);
}

void readLanguages(NetworkModel &model, const Reader &in, const JsonRef &root)
{
    SectionReader(model, in).readLanguages(root);
}

} // namespace Sim
