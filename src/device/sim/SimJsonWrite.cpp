// SPDX-License-Identifier: MIT
// Writing the network database: the network part from the model, the resource sets
// and languages as they were read.
#include "device/sim/SimJson.h"
#include "device/sim/SimResolve.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Sim {
namespace {

// The comment the object carried in the file goes back where it was.
void insertComment(QJsonObject &o, const QString &comment)
{
    if (!comment.isNull())
        o.insert(QStringLiteral("comment"), comment);
}

QJsonObject cpsToJson(
    const NetworkModel &model, const std::vector<std::unique_ptr<CpNode>> &cps, const QString &listComment)
{
    const Resolver resolver(model);
    QJsonObject list;
    insertComment(list, listComment);
    for (const auto &cp : cps) {
        const TypeDef *type = resolver.cpType(*cp);
        const QJsonValue value = type ? valueToJson(cp->value, *type) : QJsonValue();
        if (cp->typeName.isEmpty() && cp->comment.isNull()) {
            list.insert(cp->name, value);
        } else {
            QJsonObject entry;
            insertComment(entry, cp->comment);
            if (!cp->typeName.isEmpty())
                entry.insert(QStringLiteral("type"), cp->typeName);
            entry.insert(QStringLiteral("value"), value);
            list.insert(cp->name, entry);
        }
    }
    return list;
}

QJsonObject generatorToJson(const ValueGenerator &generator)
{
    QJsonObject o;
    insertComment(o, generator.comment);
    o.insert(QStringLiteral("kind"), generator.kind);
    o.insert(QStringLiteral("period"), generator.period);
    o.insert(QStringLiteral("amplitude"), generator.amplitude);
    if (generator.noise != 0)
        o.insert(QStringLiteral("noise"), generator.noise);
    return o;
}

QJsonObject nvToJson(const NetworkModel &model, const NvNode &nv)
{
    QJsonObject o;
    insertComment(o, nv.comment);
    o.insert(QStringLiteral("name"), nv.name);
    o.insert(QStringLiteral("programmaticName"), nv.programmaticName);
    if (!nv.typeName.isEmpty())
        o.insert(QStringLiteral("type"), nv.typeName);
    if (const TypeDef *type = Resolver(model).nvType(nv))
        o.insert(QStringLiteral("value"), valueToJson(nv.value, *type));
    if (nv.generator)
        o.insert(QStringLiteral("generator"), generatorToJson(*nv.generator));
    if (!nv.cps.empty() || !nv.cpsComment.isNull())
        o.insert(QStringLiteral("cps"), cpsToJson(model, nv.cps, nv.cpsComment));
    return o;
}

QJsonObject deviceToJson(const NetworkModel &model, const DeviceNode &device)
{
    QJsonArray blocks;
    for (const auto &block : device.blocks) {
        QJsonObject b;
        insertComment(b, block->comment);
        b.insert(QStringLiteral("name"), block->name);
        b.insert(QStringLiteral("cps"), cpsToJson(model, block->cps, block->cpsComment));
        QJsonArray nvs;
        for (const auto &nv : block->nvs)
            nvs.append(nvToJson(model, *nv));
        b.insert(QStringLiteral("nvs"), nvs);
        blocks.append(b);
    }
    QJsonObject o;
    insertComment(o, device.comment);
    o.insert(QStringLiteral("name"), device.name);
    o.insert(QStringLiteral("commissioned"), device.commissioned);
    o.insert(QStringLiteral("state"), device.state);
    o.insert(QStringLiteral("programId"), device.programId);
    o.insert(QStringLiteral("scope"), device.scope);
    o.insert(QStringLiteral("blocks"), blocks);
    return o;
}

} // namespace

QJsonValue valueToJson(const StoredValue &value, const TypeDef &type)
{
    switch (type.valueClass) {
    case ValueClass::Text:
        return value.text;
    case ValueClass::Fields: {
        QJsonArray numbers;
        for (double number : value.numbers)
            numbers.append(number);
        return numbers;
    }
    case ValueClass::Enumeration:
        if (const EnumMemberDef *m = type.member(qint32(value.numbers.value(0))))
            return m->name;
        break;
    case ValueClass::Number:
        break;
    }
    return value.numbers.value(0);
}

QByteArray writeModel(const NetworkModel &model)
{
    QJsonObject root;
    insertComment(root, model.comment);
    root.insert(QStringLiteral("formatVersion"), NetworkModel::FormatVersion);
    if (!model.catalogPath.isEmpty() || !model.catalogComment.isNull()) {
        QJsonObject catalog;
        insertComment(catalog, model.catalogComment);
        if (!model.catalogPath.isEmpty())
            catalog.insert(QStringLiteral("path"), model.catalogPath);
        root.insert(QStringLiteral("catalog"), catalog);
    }
    QJsonObject system { { QStringLiteral("name"), model.system.name },
        { QStringLiteral("networkMode"), model.system.networkMode } };
    insertComment(system, model.system.comment);
    if (model.system.formatLocale != MeasurementSI) // absent means SI: files without a locale stay as they were
        system.insert(QStringLiteral("formatLocale"), model.system.formatLocale);
    root.insert(QStringLiteral("system"), system);
    QJsonArray devices;
    for (const auto &device : model.devices)
        devices.append(deviceToJson(model, *device));
    root.insert(QStringLiteral("devices"), devices);
    root.insert(QStringLiteral("resourceSets"), model.resourceSource);
    if (!model.languageSource.isUndefined())
        root.insert(QStringLiteral("languages"), model.languageSource);
    root.insert(QStringLiteral("language"), model.language);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace Sim
