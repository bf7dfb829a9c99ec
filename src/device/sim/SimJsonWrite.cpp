// SPDX-License-Identifier: MIT
// Writing the network database: the network part from the model, the resource sets
// and languages as they were read. The text is written directly, in the layout Qt's
// indented writer gives a QJsonObject tree of the same document (SimJsonText.h): the
// keys of every object below are written in that order, alphabetical by UTF-16 unit.
#include "device/sim/SimJson.h"
#include "device/sim/SimJsonText.h"
#include "device/sim/SimResolve.h"

#include <algorithm>

namespace Sim {
namespace {

class ModelWriter
{
public:
    explicit ModelWriter(const NetworkModel &model)
        : m_model(model)
        , m_resolver(model)
    {
    }

    QByteArray write()
    {
        m_out.beginObject();
        if (!m_model.catalogPath.isEmpty() || !m_model.catalogComment.isNull()) {
            m_out.key(QLatin1String("catalog"));
            m_out.beginObject();
            comment(m_model.catalogComment);
            if (!m_model.catalogPath.isEmpty()) {
                m_out.key(QLatin1String("path"));
                m_out.string(m_model.catalogPath);
            }
            m_out.endObject();
        }
        comment(m_model.comment);
        m_out.key(QLatin1String("devices"));
        m_out.beginArray();
        for (const auto &device : m_model.devices) {
            const qsizetype before = m_out.size();
            writeDevice(*device);
            if (device == m_model.devices.front()) // the copies of a device are about as long as the first
                m_out.reserve((m_out.size() - before) * qsizetype(m_model.devices.size()) * 9 / 8 + 65536);
        }
        m_out.endArray();
        m_out.key(QLatin1String("formatVersion"));
        m_out.integer(NetworkModel::FormatVersion);
        m_out.key(QLatin1String("language"));
        m_out.string(m_model.language);
        if (!m_model.languageSource.isUndefined()) {
            m_out.key(QLatin1String("languages"));
            m_out.value(m_model.languageSource);
        }
        if (!m_model.resourceSource.isUndefined()) {
            m_out.key(QLatin1String("resourceSets"));
            m_out.value(m_model.resourceSource);
        }
        m_out.key(QLatin1String("system"));
        writeSystem(m_model.system);
        m_out.endObject();
        return m_out.take();
    }

private:
    // The comment the object carried in the file goes back where it was.
    void comment(const QString &text)
    {
        if (!text.isNull()) {
            m_out.key(QLatin1String("comment"));
            m_out.string(text);
        }
    }

    void writeSystem(const SystemNode &system)
    {
        m_out.beginObject();
        comment(system.comment);
        if (system.formatLocale != MeasurementSI) { // absent means SI: files without a locale stay as they were
            m_out.key(QLatin1String("formatLocale"));
            m_out.integer(system.formatLocale);
        }
        m_out.key(QLatin1String("name"));
        m_out.string(system.name);
        m_out.key(QLatin1String("networkMode"));
        m_out.integer(system.networkMode);
        m_out.endObject();
    }

    void writeDevice(const DeviceNode &device)
    {
        m_out.beginObject();
        m_out.key(QLatin1String("blocks"));
        m_out.beginArray();
        for (const auto &block : device.blocks)
            writeBlock(*block);
        m_out.endArray();
        comment(device.comment);
        m_out.key(QLatin1String("commissioned"));
        m_out.boolean(device.commissioned);
        m_out.key(QLatin1String("name"));
        m_out.string(device.name);
        m_out.key(QLatin1String("programId"));
        m_out.string(device.programId);
        m_out.key(QLatin1String("scope"));
        m_out.integer(device.scope);
        m_out.key(QLatin1String("state"));
        m_out.integer(device.state);
        m_out.endObject();
    }

    void writeBlock(const BlockNode &block)
    {
        m_out.beginObject();
        comment(block.comment);
        m_out.key(QLatin1String("cps"));
        writeCps(block.cps, block.cpsComment);
        m_out.key(QLatin1String("name"));
        m_out.string(block.name);
        m_out.key(QLatin1String("nvs"));
        m_out.beginArray();
        for (const auto &nv : block.nvs)
            writeNv(*nv);
        m_out.endArray();
        m_out.endObject();
    }

    void writeNv(const NvNode &nv)
    {
        m_out.beginObject();
        comment(nv.comment);
        if (!nv.cps.empty() || !nv.cpsComment.isNull()) {
            m_out.key(QLatin1String("cps"));
            writeCps(nv.cps, nv.cpsComment);
        }
        if (nv.generator) {
            m_out.key(QLatin1String("generator"));
            writeGenerator(*nv.generator);
        }
        m_out.key(QLatin1String("name"));
        m_out.string(nv.name);
        m_out.key(QLatin1String("programmaticName"));
        m_out.string(nv.programmaticName);
        if (!nv.typeName.isEmpty()) {
            m_out.key(QLatin1String("type"));
            m_out.string(nv.typeName);
        }
        if (const TypeDef *type = m_resolver.nvType(nv)) {
            m_out.key(QLatin1String("value"));
            writeValue(nv.value, *type);
        }
        m_out.endObject();
    }

    void writeGenerator(const ValueGenerator &generator)
    {
        m_out.beginObject();
        m_out.key(QLatin1String("amplitude"));
        m_out.number(generator.amplitude);
        comment(generator.comment);
        m_out.key(QLatin1String("kind"));
        m_out.string(generator.kind);
        if (generator.noise != 0) {
            m_out.key(QLatin1String("noise"));
            m_out.number(generator.noise);
        }
        m_out.key(QLatin1String("period"));
        m_out.number(generator.period);
        m_out.endObject();
    }

    // A property list is keyed by the properties' names, so its keys are sorted here. As
    // in a QJsonObject, the last of two equal keys wins (a property named "comment" over
    // the list's comment).
    void writeCps(const std::vector<CpNode *> &cps, const QString &listComment)
    {
        m_members.clear();
        if (!listComment.isNull())
            m_members.push_back(Member { u"comment", nullptr });
        for (const auto &cp : cps)
            m_members.push_back(Member { cp->name, cp });
        const auto byKey = [](const Member &a, const Member &b) { return jsonKeyLess(a.key, b.key); };
        if (!std::is_sorted(m_members.begin(), m_members.end(), byKey))
            std::stable_sort(m_members.begin(), m_members.end(), byKey);

        m_out.beginObject();
        for (size_t i = 0; i < m_members.size(); ++i) {
            if (i + 1 < m_members.size() && m_members[i + 1].key == m_members[i].key)
                continue;
            m_out.key(m_members[i].key);
            if (m_members[i].cp)
                writeCp(*m_members[i].cp);
            else
                m_out.string(listComment);
        }
        m_out.endObject();
    }

    void writeCp(const CpNode &cp)
    {
        const TypeDef *type = m_resolver.cpType(cp);
        if (cp.typeName().isEmpty() && cp.comment().isNull()) {
            writeValueOrNull(cp.value, type);
            return;
        }
        m_out.beginObject();
        comment(cp.comment());
        if (!cp.typeName().isEmpty()) {
            m_out.key(QLatin1String("type"));
            m_out.string(cp.typeName());
        }
        m_out.key(QLatin1String("value"));
        writeValueOrNull(cp.value, type);
        m_out.endObject();
    }

    void writeValueOrNull(const StoredValue &value, const TypeDef *type)
    {
        if (type)
            writeValue(value, *type);
        else
            m_out.null();
    }

    // Whether readModel takes a text for a value of this type: only in its default format.
    bool namesReadBack(const TypeDef &type) const
    {
        const FormatDef *format = Resolver::defaultFormat(type);
        return format && m_resolver.typeOf(*format);
    }

    // A stored value as readModel accepts it back: numbers at full precision, a member by
    // its name (by its value where the type has no format), a structure as an array, a text as a string.
    void writeValue(const StoredValue &value, const TypeDef &type)
    {
        switch (type.valueClass) {
        case ValueClass::Text:
            m_out.string(value.text);
            return;
        case ValueClass::Fields:
            m_out.beginArray();
            for (double number : value.numbers)
                m_out.number(number);
            m_out.endArray();
            return;
        case ValueClass::Enumeration:
            // A name reads back only through a format of the type: without one, the value.
            if (const EnumMemberDef *m = type.member(qint32(value.numbers.value(0))); m && namesReadBack(type)) {
                m_out.string(m->name);
                return;
            }
            break;
        case ValueClass::Number:
            break;
        }
        m_out.number(value.numbers.value(0));
    }

    struct Member
    {
        QStringView key;
        const CpNode *cp; // nullptr: the list's comment
    };

    const NetworkModel &m_model;
    const Resolver m_resolver;
    JsonTextWriter m_out;
    std::vector<Member> m_members; // of the property list being written (lists do not nest)
};

} // namespace

QByteArray writeModel(const NetworkModel &model)
{
    return ModelWriter(model).write();
}

} // namespace Sim
