// SPDX-License-Identifier: MIT
// The resource catalog, the type service and the resource objects they hand out
// (type-tree nodes and enumeration members).
#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimServices.h"
#include "device/sim/SimView.h"

#include <map>
#include <tuple>

namespace Sim {
namespace {

using namespace DeviceAccess;

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

class SimTreeNode : public ItemView<TypeTreeNode, const TypeDef>
{
public:
    SimTreeNode(CorePtr core, const TypeDef *type)
        : ItemView(std::move(core), type, "TypeTreeNode")
    {
    }
    qint32 Kind() const override
    {
        enter("Kind");
        return m_item->kind;
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    qint32 UnitIndex() const override
    {
        enter("UnitIndex");
        return m_item->unitIndex;
    }
    double Scope() const override
    {
        enter("Scope");
        return isEnum() ? m_item->set->scope : 0;
    }
    double TypeIndex() const override
    {
        enter("TypeIndex");
        return isEnum() ? m_item->index : 0;
    }
    double LowestValue() const override
    {
        enter("LowestValue");
        return isEnum() ? m_item->lowestMember() : 0;
    }
    double HighestValue() const override
    {
        enter("HighestValue");
        return isEnum() ? m_item->highestMember() : 0;
    }

private:
    bool isEnum() const { return m_item->valueClass == ValueClass::Enumeration; }
};

class SimEnumMember : public ItemView<EnumMember, const EnumMemberDef>
{
public:
    SimEnumMember(CorePtr core, const EnumMemberDef *member)
        : ItemView(std::move(core), member, "EnumMember")
    {
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    qint32 Index() const override
    {
        enter("Index");
        return m_item->value;
    }
};

class SimResourceCatalog : public ResourceCatalog
{
public:
    explicit SimResourceCatalog(CorePtr core)
        : m_core(std::move(core))
    {
    }
    qint32 OpenCatalog(bool readOnly, const QString &path) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.OpenCatalog"), [&] {
            return QStringList { boolText(readOnly), path };
        });
        if (!m_core->catalogAvailable)
            return 0;
        if (!path.isEmpty() && path.compare(m_core->model.catalogPath, Qt::CaseInsensitive) != 0)
            return 0;
        return m_core->handles.open(HandleKind::Catalog, path, nullptr);
    }
    void CloseCatalog(qint32 catalogHandle) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.CloseCatalog"),
            [&] { return QStringList { QString::number(catalogHandle) }; });
        m_core->handles.close(catalogHandle, { HandleKind::Catalog });
    }
    QString GetTypeFilePath(
        qint32 catalogHandle, const QString &programId, qint32 scope, bool flag, qint32 number) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.GetTypeFilePath"), [&] {
            return QStringList { QString::number(catalogHandle), programId, QString::number(scope), boolText(flag),
                QString::number(number) };
        });
        return file(catalogHandle, programId, scope, &ResourceSet::typeFile);
    }
    QString GetFormatFilePath(qint32 catalogHandle, const QString &programId, qint32 scope) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.GetFormatFilePath"), [&] {
            return QStringList { QString::number(catalogHandle), programId, QString::number(scope) };
        });
        return file(catalogHandle, programId, scope, &ResourceSet::formatFile);
    }
    QString GetLanguageFilePath(qint32 catalogHandle, const QString &programId, qint32 reserved, qint32 scope) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.GetLanguageFilePath"), [&] {
            return QStringList { QString::number(catalogHandle), programId, QString::number(reserved),
                QString::number(scope) };
        });
        return file(catalogHandle, programId, scope, &ResourceSet::languageFile);
    }
    void CloseResourceFile(qint32 fileHandle) override
    {
        m_core->enterWithArguments(QStringLiteral("ResourceCatalog.CloseResourceFile"),
            [&] { return QStringList { QString::number(fileHandle) }; });
        // Closing "nothing" (a failed open gave 0) is harmless, as callers close unconditionally.
        if (fileHandle != 0)
            m_core->handles.close(fileHandle, { HandleKind::TypeFile, HandleKind::LanguageFile });
    }

private:
    // The path of the set's file; empty when the catalog knows no set for the program ID and scope.
    QString file(qint32 catalogHandle, const QString &programId, qint32 scope, QString ResourceSet::*which) const
    {
        m_core->handles.get(catalogHandle, { HandleKind::Catalog });
        const ResourceSet *set = Resolver(m_core->model).set(programId, scope);
        return set ? (*set).*which : QString();
    }
    CorePtr m_core;
};

class SimTypeService : public TypeService
{
public:
    explicit SimTypeService(CorePtr core)
        : m_core(std::move(core))
    {
    }
    qint32 OpenTypeFileHandle(const QString &path) override
    {
        m_core->enter(QStringLiteral("TypeService.OpenTypeFileHandle"), { path });
        const ResourceSet *set = Resolver(m_core->model).setOfFile(path, &ResourceSet::typeFile);
        return set ? m_core->handles.open(HandleKind::TypeFile, path, set) : 0;
    }
    TypeTreeNodePtr GetTreeNode(qint32 typeFileHandle, const QString &programId, qint32 typeIndex) override
    {
        m_core->enterWithArguments(QStringLiteral("TypeService.GetTreeNode"), [&] {
            return QStringList { QString::number(typeFileHandle), programId, QString::number(typeIndex) };
        });
        const OpenHandle &handle = m_core->handles.get(typeFileHandle, { HandleKind::TypeFile });
        const TypeDef *type = Resolver::nvTypeByIndex(*handle.set, typeIndex);
        return type ? std::make_shared<SimTreeNode>(m_core, type) : nullptr;
    }
    EnumCollectionPtr GetEnumCollection(
        const QString &programId, qint32 scope, qint32 enumIndex, qint32 lowest, qint32 highest) override
    {
        m_core->enterWithArguments(QStringLiteral("TypeService.GetEnumCollection"), [&] {
            return QStringList { programId, QString::number(scope), QString::number(enumIndex), QString::number(lowest),
                QString::number(highest) };
        });
        const TypeDef *type = Resolver(m_core->model).enumeration(programId, scope, enumIndex);
        if (!type)
            return nullptr;
        // Each call hands out a collection of its own, so that a caller who changes it changes
        // no other's; the copy shares the member objects, which only read the model.
        return std::make_shared<EnumCollection>(members(*type, lowest, highest));
    }

private:
    // The members of an enumeration between two values, in value order, made on the first
    // request: the types do not change after loading, and every initialisation of a control
    // asks for the same lists again.
    const EnumCollection &members(const TypeDef &type, qint32 lowest, qint32 highest)
    {
        const auto key = std::make_tuple(&type, lowest, highest);
        auto known = m_members.find(key);
        if (known == m_members.end()) {
            EnumCollection collection;
            for (const EnumMemberDef &member : type.members) { // kept in value order
                if (member.value >= lowest && member.value <= highest)
                    collection.Add(std::make_shared<SimEnumMember>(m_core, &member), member.name);
            }
            known = m_members.emplace(key, std::move(collection)).first;
        }
        return known->second;
    }

    CorePtr m_core;
    std::map<std::tuple<const TypeDef *, qint32, qint32>, EnumCollection> m_members;
};

} // namespace

std::shared_ptr<DeviceAccess::ResourceCatalog> makeResourceCatalog(const CorePtr &core)
{
    return std::make_shared<SimResourceCatalog>(core);
}

std::shared_ptr<DeviceAccess::TypeService> makeTypeService(const CorePtr &core)
{
    return std::make_shared<SimTypeService>(core);
}

} // namespace Sim
