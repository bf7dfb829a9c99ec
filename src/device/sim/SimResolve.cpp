// SPDX-License-Identifier: MIT
// Lookups in the model, and the small accessors of the model's nodes.
#include "device/sim/SimResolve.h"

#include "device/sim/SimErrors.h"

#include "device/Collection.h"
#include "device/Failure.h"
#include "device/NvTypeText.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace Sim {

// ---- model accessors

using DeviceAccess::sameIgnoringCase;

const EnumMemberDef *TypeDef::member(qint32 value) const
{
    for (const EnumMemberDef &m : members) {
        if (m.value == value)
            return &m;
    }
    return nullptr;
}

const EnumMemberDef *TypeDef::member(const QString &memberName) const
{
    for (const EnumMemberDef &m : members) {
        if (sameIgnoringCase(m.name, memberName))
            return &m;
    }
    return nullptr;
}

bool ResourceSet::matches(const QString &id) const
{
    return programId.isEmpty() || programId.compare(id, Qt::CaseInsensitive) == 0;
}

const TypeDef *ResourceSet::type(const QString &name) const
{
    if (m_typesByName.size() != qsizetype(types.size())) {
        m_typesByName.clear();
        m_typesByFoldedName.clear();
        m_typesByName.reserve(qsizetype(types.size()));
        m_typesByFoldedName.reserve(qsizetype(types.size()));
        for (size_t i = 0; i < types.size(); ++i) {
            m_typesByName.insert(types[i].name, qsizetype(i));
            m_typesByFoldedName.insert(types[i].name.toCaseFolded(), qsizetype(i));
        }
    }
    // Names differ in letter case only across sets, never within one: the name as written
    // is the common case and costs no folded copy.
    auto found = m_typesByName.constFind(name);
    if (found == m_typesByName.constEnd()) {
        found = m_typesByFoldedName.constFind(name.toCaseFolded());
        if (found == m_typesByFoldedName.constEnd())
            return nullptr;
    }
    return &types[size_t(*found)];
}

const DeviceNode *CpNode::device() const
{
    const BlockNode *owner = block ? block : (nv ? nv->block : nullptr);
    return owner ? owner->device : nullptr;
}

template<typename Node> static Node *byName(const std::vector<Node *> &nodes, const QString &name)
{
    for (Node *node : nodes) {
        if (sameIgnoringCase(node->name, name))
            return node;
    }
    return nullptr;
}

CpNode *NvNode::cp(const QString &cpName) const
{
    return byName(cps, cpName);
}

CpNode *BlockNode::cp(const QString &cpName) const
{
    return byName(cps, cpName);
}

BlockNode *DeviceNode::block(const QString &blockName) const
{
    return byName(blocks, blockName);
}

namespace {

#ifdef __linux__
constexpr size_t HugePage = size_t(2) << 20;

size_t wholeHugePages(size_t bytes)
{
    return (bytes + HugePage - 1) / HugePage * HugePage;
}
#endif

} // namespace

void *allocateNodeBlock(size_t bytes)
{
#ifdef __linux__
    // A mapping of its own, aligned to 2 MiB: the hint for large pages then covers only the
    // nodes, and not heap memory that later holds other things.
    if (bytes >= HugePage) {
        const size_t size = wholeHugePages(bytes);
        void *mapped = mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto first = reinterpret_cast<uintptr_t>(mapped);
        const uintptr_t start = (first + HugePage - 1) / HugePage * HugePage;
        if (start > first)
            munmap(mapped, start - first);
        if (const uintptr_t end = first + size + HugePage; end > start + size)
            munmap(reinterpret_cast<void *>(start + size), end - (start + size));
        // A hint only: where the system declines, the block has pages of 4 KiB.
        (void)madvise(reinterpret_cast<void *>(start), size, MADV_HUGEPAGE);
        return reinterpret_cast<void *>(start);
    }
#endif
    void *block = std::malloc(bytes);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void releaseNodeBlock(void *block, size_t bytes)
{
#ifdef __linux__
    if (bytes >= HugePage) {
        munmap(block, wholeHugePages(bytes));
        return;
    }
#endif
    std::free(block);
}

DeviceNode *NetworkModel::device(const QString &deviceName) const
{
    return deviceIndex.value(deviceName.toCaseFolded());
}

const LanguageDef *NetworkModel::languageDef(const QString &code) const
{
    for (const LanguageDef &def : languages) {
        if (def.code.compare(code, Qt::CaseInsensitive) == 0)
            return &def;
    }
    return nullptr;
}

// ---- names and SCPTnvType text

namespace {

// What a chain's sets hold under a name (the first set's, highest scope first), looked for
// once and kept in `found`; `find` looks in one set.
template<typename T, typename Find>
const T *foundInChain(
    QHash<QString, const T *> &found, const QVector<const ResourceSet *> &sets, const QString &name, Find find)
{
    if (const auto known = found.constFind(name); known != found.constEnd())
        return *known;
    const T *result = nullptr;
    for (const ResourceSet *set : sets) {
        if ((result = find(*set)))
            break;
    }
    if (found.size() > 4096) // names asked for one by one must not pile up
        found.clear();
    found.insert(name, result);
    return result;
}

// The pattern's work for a name of printable ASCII characters, done by hand: such names come
// with every read in an absolute format, and the pattern costs more than the read. False for
// any other name, which the pattern then judges.
bool splitPrintableAbsoluteName(const QString &text, FormatName &result)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    const auto isHex = [&](QChar c) {
        const char16_t lower = c.unicode() | 0x20;
        return isDigit(c) || (lower >= u'a' && lower <= u'f');
    };
    const auto bare = [&] {
        result.name = text;
        return true;
    };
    qsizetype i = 1; // after "#"
    const qsizetype hexStart = i;
    while (i < text.size() && isHex(text.at(i)))
        ++i;
    const qsizetype hexEnd = i;
    if (hexEnd == hexStart || i >= text.size() || text.at(i) != QLatin1Char('['))
        return bare();
    const qsizetype scopeStart = ++i;
    if (i < text.size() && text.at(i) == QLatin1Char('-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < text.size() && isDigit(text.at(i)))
        ++i;
    if (i == digitsStart || i + 1 >= text.size() || text.at(i) != QLatin1Char(']')
        || text.at(i + 1) != QLatin1Char('.'))
        return bare();
    result.absolute = true;
    result.programId = text.mid(hexStart, hexEnd - hexStart).toUpper();
    result.scope = QStringView(text).mid(scopeStart, i - scopeStart).toInt();
    result.name = text.mid(i + 2);
    return true;
}

} // namespace

// "\z", not "$": "$" also matches before a final line break, which would drop it from the name.
FormatName splitFormatName(const QString &text)
{
    static const QRegularExpression prefix(QStringLiteral("^#([0-9A-Fa-f]+)\\[(-?\\d+)\\]\\.(.*)\\z"));
    FormatName result;
    if (!text.startsWith(QLatin1Char('#'))) { // most names are bare: no pattern to run
        result.name = text;
        return result;
    }
    if (splitPrintableAbsoluteName(text, result))
        return result;
    const QRegularExpressionMatch match = prefix.match(text);
    if (match.hasMatch()) {
        result.absolute = true;
        result.programId = match.captured(1).toUpper();
        result.scope = match.captured(2).toInt();
        result.name = match.captured(3);
    } else {
        result.name = text;
    }
    return result;
}

bool parseNvTypeText(const QString &text, NvTypeRef &ref)
{
    // The library's own grammar: the device takes every text the library reads.
    if (text.isEmpty())
        return false;
    try {
        const DeviceAccess::NvTypeReference parsed = DeviceAccess::parseNvTypeText(text);
        ref.programId = parsed.programId.toUpper();
        ref.scope = parsed.scope;
        ref.index = parsed.typeIndex;
        return true;
    } catch (const DeviceAccess::Failure &) {
        return false;
    }
}

// ---- resource sets, types and formats

const ResourceSet *Resolver::set(const QString &programId, qint32 scope) const
{
    // A set made for the program ID wins over a shared one of the same scope.
    const ResourceSet *shared = nullptr;
    for (const auto &s : m_model.resourceSets) {
        if (s->scope != scope || !s->matches(programId))
            continue;
        if (!s->programId.isEmpty())
            return s.get();
        if (!shared)
            shared = s.get();
    }
    return shared;
}

NetworkModel::Chain &Resolver::cachedChain(const QString &programId, qint32 topScope) const
{
    if (m_model.lastChain && m_model.lastChainKey.second == topScope && m_model.lastChainKey.first == programId)
        return *m_model.lastChain;
    const QPair<QString, qint32> key(programId, topScope);
    if (const auto known = m_model.chains.find(key); known != m_model.chains.end()) {
        m_model.lastChain = &*known;
        m_model.lastChainKey = key;
        return *known;
    }
    NetworkModel::Chain chain;
    for (qint32 scope = topScope; scope >= 0; --scope) {
        if (const ResourceSet *s = set(programId, scope))
            chain.sets.append(s);
    }
    if (m_model.chains.size() > 256) // program IDs asked for one by one must not pile up
        m_model.forgetChains();
    // An insertion may move the chains kept so far.
    m_model.lastChain = &*m_model.chains.insert(key, chain);
    m_model.lastChainKey = key;
    return *m_model.lastChain;
}

const ResourceSet *Resolver::setOfFile(const QString &path, QString ResourceSet::*file) const
{
    if (path.isEmpty())
        return nullptr;
    for (const auto &s : m_model.resourceSets) {
        if ((*s).*file == path)
            return s.get();
    }
    for (const auto &s : m_model.resourceSets) {
        if (((*s).*file).compare(path, Qt::CaseInsensitive) == 0)
            return s.get();
    }
    return nullptr;
}

const TypeDef *Resolver::typeByName(const QString &programId, qint32 topScope, const QString &name) const
{
    NetworkModel::Chain &chain = cachedChain(programId, topScope);
    return foundInChain(chain.types, chain.sets, name, [&](const ResourceSet &set) { return set.type(name); });
}

const TypeDef *Resolver::nvTypeByIndex(const ResourceSet &set, qint32 index)
{
    for (const TypeDef &type : set.types) {
        if (!type.cpType && type.index == index)
            return &type;
    }
    return nullptr;
}

const TypeDef *Resolver::enumeration(const QString &programId, qint32 scope, qint32 index) const
{
    const ResourceSet *s = set(programId, scope);
    if (!s)
        return nullptr;
    for (const TypeDef &type : s->types) {
        if (type.valueClass == ValueClass::Enumeration && type.index == index)
            return &type;
    }
    return nullptr;
}

const FormatDef *Resolver::formatInSet(const ResourceSet &set, const QString &name)
{
    const QString bare = splitFormatName(name).name;
    for (const FormatDef &format : set.formats) {
        if (sameIgnoringCase(format.name, bare))
            return &format;
    }
    // A bare type name of a type with per-system variants means its SI variant.
    if (!bare.contains(QLatin1Char('#')))
        return formatInSet(set, bare + QStringLiteral("#SI"));
    return nullptr;
}

const FormatDef *Resolver::format(const QString &programId, qint32 topScope, const QString &formatName) const
{
    const FormatName split = splitFormatName(formatName);
    NetworkModel::Chain &chain
        = split.absolute ? cachedChain(split.programId, split.scope) : cachedChain(programId, topScope);
    return foundInChain(
        chain.formats, chain.sets, split.name, [&](const ResourceSet &set) { return formatInSet(set, split.name); });
}

const TypeDef *Resolver::typeOf(const FormatDef &format) const
{
    if (!format.set)
        return nullptr;
    // A type not found is looked for again: it may come with a set still loading.
    if (!format.type)
        format.type = typeByName(format.set->programId, format.set->scope, format.typeName);
    return format.type;
}

bool Resolver::isDifferenceProperty(const QString &cpName)
{
    return cpName.compare(QLatin1String("SCPToffset"), Qt::CaseInsensitive) == 0
        || cpName.compare(QLatin1String("SCPTsndDelta"), Qt::CaseInsensitive) == 0;
}

const FormatDef *Resolver::defaultFormat(const TypeDef &type, qint16 measurementSystem, bool difference)
{
    const int slot = (measurementSystem == MeasurementUS ? 2 : 0) + (difference ? 1 : 0);
    if (!(type.defaultFormatsKnown & (1u << slot))) {
        type.defaultFormats[slot] = findDefaultFormat(type, measurementSystem, difference);
        type.defaultFormatsKnown |= quint8(1u << slot);
    }
    return type.defaultFormats[slot];
}

const FormatDef *Resolver::findDefaultFormat(const TypeDef &type, qint16 measurementSystem, bool difference)
{
    if (!type.set)
        return nullptr;
    if (difference && measurementSystem == MeasurementUS) {
        for (const FormatDef &format : type.set->formats) {
            if (sameIgnoringCase(format.typeName, type.name)
                && format.name.endsWith(QStringLiteral("#US_diff"), Qt::CaseInsensitive))
                return &format;
        }
    }
    const QString preferred = measurementSystem == MeasurementUS ? QStringLiteral("#US") : QStringLiteral("#SI");
    const FormatDef *si = nullptr;
    const FormatDef *named = nullptr;
    const FormatDef *first = nullptr;
    for (const FormatDef &format : type.set->formats) {
        if (!sameIgnoringCase(format.typeName, type.name))
            continue;
        if (format.name.endsWith(preferred, Qt::CaseInsensitive))
            return &format;
        if (!si && format.name.endsWith(QStringLiteral("#SI"), Qt::CaseInsensitive))
            si = &format;
        if (!named && sameIgnoringCase(format.name, type.name))
            named = &format;
        if (!first)
            first = &format;
    }
    return si ? si : (named ? named : first);
}

const TypeDef *Resolver::nvType(const NvNode &nv, QString *why) const
{
    auto failWith = [why](const QString &reason) -> const TypeDef * {
        if (why)
            *why = reason;
        return nullptr;
    };
    if (!nv.nvTypeCp)
        nv.nvTypeCp = nv.cp(QStringLiteral("SCPTnvType"));
    if (const CpNode *nvTypeCp = *nv.nvTypeCp) {
        const QString &text = nvTypeCp->value.text;
        if (nv.resolvedNvType && nv.resolvedNvTypeText.constData() == text.constData()
            && nv.resolvedNvTypeText.size() == text.size())
            return nv.resolvedNvType;
        auto resolved = m_model.resolvedNvTypes.constFind(nvTypeCp->value.text);
        if (resolved == m_model.resolvedNvTypes.constEnd()) {
            if (m_model.resolvedNvTypes.size() > 1024) // texts written one by one must not pile up
                m_model.resolvedNvTypes.clear();
            resolved = m_model.resolvedNvTypes.insert(nvTypeCp->value.text, resolveNvTypeText(nvTypeCp->value.text));
        }
        nv.resolvedNvTypeText = text;
        nv.resolvedNvType = resolved->type;
        return resolved->type ? resolved->type : failWith(resolved->failure);
    }
    if (nv.typeName.isEmpty())
        return failWith(QStringLiteral("the network variable has neither SCPTnvType nor a type"));
    if (!nv.namedType) {
        const DeviceNode *device = nv.block ? nv.block->device : nullptr;
        nv.namedType = device ? typeByName(device->programId, device->scope, nv.typeName) : nullptr;
    }
    const TypeDef *type = *nv.namedType;
    if (!type || type->cpType)
        return failWith(QStringLiteral("unknown network-variable type '%1'").arg(nv.typeName));
    return type;
}

ResolvedNvType Resolver::resolveNvTypeText(const QString &text) const
{
    ResolvedNvType result;
    NvTypeRef ref;
    if (!parseNvTypeText(text, ref)) {
        result.failure = QStringLiteral("SCPTnvType '%1' is not a valid type reference").arg(text);
    } else if (const ResourceSet *s = set(ref.programId, ref.scope); !s) {
        result.failure
            = QStringLiteral("no resource set for program ID %1, scope %2").arg(ref.programId).arg(ref.scope);
    } else if (!(result.type = nvTypeByIndex(*s, ref.index))) {
        result.failure
            = QStringLiteral("scope %1 has no network-variable type of index %2").arg(ref.scope).arg(ref.index);
    }
    return result;
}

const TypeDef *Resolver::namedType(const CpNode &cp) const
{
    if (!cp.namedType) {
        const DeviceNode *device = cp.device();
        cp.namedType = device ? typeByName(device->programId, device->scope, cp.effectiveTypeName()) : nullptr;
    }
    return *cp.namedType;
}

const TypeDef *Resolver::cpType(const CpNode &cp, QString *why) const
{
    const TypeDef *type = namedType(cp);
    if (!type) {
        if (why)
            *why = QStringLiteral("unknown property type '%1'").arg(cp.effectiveTypeName());
        return nullptr;
    }
    if (!type->inheritsNvType)
        return type;
    const NvNode *nv = cp.nv;
    if (!nv && cp.block && !cp.block->nvs.empty())
        nv = cp.block->nvs.front();
    if (!nv) {
        if (why)
            *why = QStringLiteral("'%1' takes the type of a network variable, and the block has none").arg(type->name);
        return nullptr;
    }
    return nvType(*nv, why);
}

const TypeDef &Resolver::requireCpType(const CpNode &cp) const
{
    QString why;
    const TypeDef *type = cpType(cp, &why);
    if (!type)
        Errors::raise(Errors::UnknownResource, QStringLiteral("The property %1 has no type: %2.").arg(cp.name, why));
    return *type;
}

const TypeDef &Resolver::requireTypeOf(const FormatDef &format) const
{
    const TypeDef *type = typeOf(format);
    if (!type)
        Errors::raise(Errors::UnknownResource, QStringLiteral("The format %1 has no type.").arg(format.name));
    return *type;
}

const FormatDef &Resolver::requireFormat(
    const DeviceNode *device, const TypeDef &type, const QString &formatName, bool difference) const
{
    const FormatDef *format = nullptr;
    if (formatName.isEmpty())
        format
            = defaultFormat(type, m_defaults == Defaults::SI ? MeasurementSI : m_model.system.formatLocale, difference);
    else if (device)
        format = this->format(device->programId, device->scope, formatName);
    else
        format = this->format(QString(), 0, formatName);
    if (!format) {
        Errors::raise(Errors::UnknownFormat,
            formatName.isEmpty() ? QStringLiteral("The type %1 has no format.").arg(type.name)
                                 : QStringLiteral("The format '%1' was not found.").arg(formatName));
    }
    return *format;
}

const FormatDef &Resolver::cpFormat(const CpNode &cp, const QString &formatName) const
{
    const TypeDef &type = requireCpType(cp);
    // The property's own type name as format means its default format; for a property that
    // takes the type of its network variable ("SCPToffset") there is no format of that name.
    const DeviceNode *device = cp.device();
    if (!formatName.isEmpty() && sameIgnoringCase(splitFormatName(formatName).name, cp.effectiveTypeName())
        && !(device && format(device->programId, device->scope, formatName)))
        return requireFormat(device, type, QString(), isDifferenceProperty(cp.name));
    return requireFormat(device, type, formatName, formatName.isEmpty() && isDifferenceProperty(cp.name));
}

const FormatDef &Resolver::nvFormat(const NvNode &nv, const QString &formatName) const
{
    QString why;
    const TypeDef *type = nvType(nv, &why);
    if (!type)
        Errors::raise(
            Errors::UnknownResource, QStringLiteral("The network variable %1 has no type: %2.").arg(nv.name, why));
    return requireFormat(nv.block ? nv.block->device : nullptr, *type, formatName);
}

} // namespace Sim
