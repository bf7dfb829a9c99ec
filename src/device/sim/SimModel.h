// SPDX-License-Identifier: MIT
// The in-memory network database of the simulated network: the network part
// (system, devices, blocks, network variables, configuration properties) and the
// resource sets (types, formats, unit texts) and language tables it is described by.
#pragma once

#include "vqzovezuvavevasim_export.h"

#include "device/sim/SimGenerator.h"

#include <QHash>
#include <QJsonValue>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <QVector>
#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <vector>

namespace Sim {

// How the values of a type are held.
enum class ValueClass {
    Number, // one number in SI base units
    Enumeration, // one member value
    Fields, // one number per field of a structure
    Text, // the raw text of a text-like property
};

// A stored value: written once, shown in whatever format is asked for.
struct StoredValue
{
    QVector<double> numbers;
    QString text;

    bool operator==(const StoredValue &other) const { return numbers == other.numbers && text == other.text; }
};

// Range and resolution of a number, in SI base units. Resolution 0 = continuous.
struct NumericLimits
{
    double minimum = 0;
    double maximum = 0;
    bool hasRange = false;
    double resolution = 0;
};

struct FieldDef
{
    QString name;
    NumericLimits limits;
};

// What a text-like value must look like: blank-separated fields, or a named layout.
struct TextRule
{
    int minFields = 0; // 0 = no lower bound
    int maxFields = 0; // 0 = no upper bound
    bool numeric = false; // every field must be a number
    QString layout; // "nvType": the SCPTnvType text in one of its two layouts
};

struct EnumMemberDef
{
    QString name;
    qint32 value = 0;
};

struct ResourceSet;
struct FormatDef;

struct VQ_SIM_AUTOTEST_EXPORT TypeDef
{
    QString name;
    qint32 index = -1; // -1 = addressed by name only
    qint32 kind = 0;
    qint32 unitIndex = 0;
    bool cpType = false; // a property type: never found by index as a network-variable type
    bool inheritsNvType = false; // the property takes the type of its network variable
    ValueClass valueClass = ValueClass::Number;
    NumericLimits limits;
    QVector<EnumMemberDef> members; // ascending by value
    QVector<FieldDef> fields;
    TextRule text;
    const ResourceSet *set = nullptr;

    qint32 lowestMember() const { return members.isEmpty() ? 0 : members.first().value; }
    qint32 highestMember() const { return members.isEmpty() ? 0 : members.last().value; }
    const EnumMemberDef *member(qint32 value) const;
    const EnumMemberDef *member(const QString &name) const;

    // Texts this type's text rule accepted: the same texts recur on every copy of a device.
    mutable QSet<QString> acceptedTexts;
    // Resolver::defaultFormat per measurement system and difference flag, once asked for
    // (the formats of a set do not change after loading).
    mutable const FormatDef *defaultFormats[4] = {};
    mutable quint8 defaultFormatsKnown = 0;
};

// display = stored * scale + offset, shown with `decimals` (-1 = shortest exact text).
struct FormatDef
{
    QString name;
    QString typeName;
    qint32 unitIndex = 0;
    double scale = 1;
    double offset = 0;
    int decimals = -1;
    QVector<int> fieldDecimals; // structures: per field
    const ResourceSet *set = nullptr;
    // The type typeName names, once found; forgotten with the chains (NetworkModel::forgetChains).
    mutable const TypeDef *type = nullptr;
};

struct VQ_SIM_AUTOTEST_EXPORT ResourceSet
{
    QString programId; // empty: shared by every program ID (the standard set)
    qint32 scope = 0;
    QString typeFile;
    QString formatFile;
    QString languageFile;
    std::vector<TypeDef> types;
    std::vector<FormatDef> formats;
    QMap<QString, QMap<qint32, QString>> unitTexts; // language code -> unit index -> text

    bool matches(const QString &id) const;
    // The type of that name, letter case ignored; nullptr when the set has none.
    const TypeDef *type(const QString &name) const;

private:
    // Every value of every device looks its type up by name: indexes by name as written and
    // case-folded, made on the first lookup (and again should the list have grown since).
    // Positions rather than pointers, so that a copy of the set stays right.
    mutable QHash<QString, qsizetype> m_typesByName;
    mutable QHash<QString, qsizetype> m_typesByFoldedName;
};

struct BlockNode;
struct NvNode;
struct DeviceNode;

// Memory for the nodes of a NodeStore: a large block on memory pages of 2 MiB where the
// system offers them, which a database of thousands of devices fills in a few page faults
// where there would be hundreds.
void *allocateNodeBlock(size_t bytes);
void releaseNodeBlock(void *block, size_t bytes);

// Nodes of one kind, made in blocks rather than one allocation each: a database of
// thousands of devices holds hundreds of thousands of properties. The blocks grow with
// the store, and a node is made only when it is asked for, so that memory not used yet
// is not touched either. A node lives as long as its store.
template<typename T> class NodeStore
{
public:
    NodeStore() = default;
    NodeStore(const NodeStore &) = delete;
    NodeStore &operator=(const NodeStore &) = delete;
    ~NodeStore()
    {
        for (const Block &block : m_blocks) {
            for (size_t i = 0; i < block.used; ++i)
                block.nodes[i].~T();
            releaseNodeBlock(block.nodes, block.size * sizeof(T));
        }
    }

    T *make()
    {
        if (m_blocks.empty() || m_blocks.back().used == m_blocks.back().size) {
            const size_t size
                = m_blocks.empty() ? FirstBlockSize : std::min(m_blocks.back().size * 2, LargestBlockSize);
            m_blocks.push_back({ static_cast<T *>(allocateNodeBlock(size * sizeof(T))), size, 0 });
        }
        Block &block = m_blocks.back();
        T *node = new (block.nodes + block.used) T();
        ++block.used;
        return node;
    }

private:
    struct Block
    {
        T *nodes;
        size_t size;
        size_t used;
    };
    static constexpr size_t FirstBlockSize = 256;
    static constexpr size_t LargestBlockSize = std::max<size_t>((size_t(8) << 20) / sizeof(T), FirstBlockSize);
    std::vector<Block> m_blocks;
};

struct VQ_SIM_AUTOTEST_EXPORT CpNode
{
    QString name;
    StoredValue value;
    BlockNode *block = nullptr; // the owner: a block ...
    NvNode *nv = nullptr; // ... or a network variable

    // Few properties of a database name a type of their own, carry a comment or are given a
    // format at run time: those texts are kept apart, so that the hundreds of thousands of
    // properties of a large database take a third less memory to fill while it loads.
    // The property type as named in the database; empty = the property's own name.
    const QString &typeName() const { return m_rare ? m_rare->typeName : Rare::none(); }
    void setTypeName(const QString &text) { setRare(&Rare::typeName, text); }
    // Of the { "type", "value" } form; null = none.
    const QString &comment() const { return m_rare ? m_rare->comment : Rare::none(); }
    void setComment(const QString &text) { setRare(&Rare::comment, text); }
    // Run-time state: the format of ValueText; empty = the default format.
    const QString &format() const { return m_rare ? m_rare->format : Rare::none(); }
    void setFormat(const QString &text) { setRare(&Rare::format, text); }

    const QString &effectiveTypeName() const { return typeName().isEmpty() ? name : typeName(); }
    const DeviceNode *device() const;

    // Found once (Resolver::namedType): names, owners and resource sets do not change after loading.
    mutable std::optional<const TypeDef *> namedType;

private:
    struct Rare : QSharedData
    {
        QString typeName;
        QString comment;
        QString format;
        static const QString &none()
        {
            static const QString null;
            return null;
        }
    };
    void setRare(QString Rare::*member, const QString &text)
    {
        if (!m_rare && text.isNull())
            return;
        if (!m_rare)
            m_rare = new Rare;
        (*m_rare).*member = text;
    }
    QSharedDataPointer<Rare> m_rare; // null while all three are null
};

struct VQ_SIM_AUTOTEST_EXPORT NvNode
{
    QString name;
    QString programmaticName;
    QString typeName; // optional when the variable has SCPTnvType
    StoredValue value;
    QString format; // run-time state, as for properties
    QString comment;
    QString cpsComment; // the comment of its "cps" object
    std::vector<CpNode *> cps; // in the model's store
    std::optional<ValueGenerator> generator; // moves the value it reads while the clock runs
    BlockNode *block = nullptr;

    CpNode *cp(const QString &cpName) const;

    // Found once, as a property's: the type its "type" names, and its SCPTnvType property.
    mutable std::optional<const TypeDef *> namedType;
    mutable std::optional<const CpNode *> nvTypeCp;
    // The type its SCPTnvType text named when last asked, with that text held: a text
    // written since is another string, so the address tells whether it is the same one.
    mutable QString resolvedNvTypeText;
    mutable const TypeDef *resolvedNvType = nullptr;
};

struct VQ_SIM_AUTOTEST_EXPORT BlockNode
{
    QString name;
    QString comment;
    QString cpsComment;
    std::vector<CpNode *> cps; // in the model's stores
    std::vector<NvNode *> nvs;
    DeviceNode *device = nullptr;

    CpNode *cp(const QString &cpName) const;
};

// Measurement systems a network's default formats can follow.
constexpr qint16 MeasurementSI = 0;
constexpr qint16 MeasurementUS = 1;

struct SystemNode
{
    QString name;
    qint32 networkMode = 2;
    // The database's format locale: which per-system variant an empty format name shows.
    qint16 formatLocale = MeasurementSI;
    QString comment;
};

struct VQ_SIM_AUTOTEST_EXPORT DeviceNode
{
    QString name;
    bool commissioned = true;
    qint32 state = 4;
    QString programId;
    qint32 scope = 0;
    QString comment;
    std::vector<BlockNode *> blocks; // in the model's store
    SystemNode *system = nullptr;

    BlockNode *block(const QString &blockName) const;
};

struct LanguageDef
{
    QString code;
    QString name;
    QString fontName;
    qint16 charset = 0;
    QMap<QString, QMap<QString, QString>> applications; // application -> key (trimmed, upper case) -> text
};

// What an SCPTnvType text names: every copy of a device repeats the same few texts.
struct ResolvedNvType
{
    const TypeDef *type = nullptr; // the type the text names
    QString failure; // why there is none
};

struct VQ_SIM_AUTOTEST_EXPORT NetworkModel
{
    static constexpr int FormatVersion = 1;

    QString catalogPath; // the path OpenCatalog accepts besides the empty one
    QString catalogComment;
    QString comment; // the top level's
    SystemNode system;
    // The blocks, variables and properties of every device (the lists hold their addresses).
    NodeStore<BlockNode> blockStore;
    NodeStore<NvNode> nvStore;
    NodeStore<CpNode> cpStore;
    std::vector<std::unique_ptr<DeviceNode>> devices;
    // The devices by case-folded name, filled with the list: every call names its device,
    // and a search of thousands would make each call grow with the network.
    QHash<QString, DeviceNode *> deviceIndex;
    std::vector<std::unique_ptr<ResourceSet>> resourceSets;
    std::vector<LanguageDef> languages;
    QString language; // the language in use
    // The resource and language sections as loaded, written back unchanged on save.
    QJsonValue resourceSource;
    QJsonValue languageSource;
    // SCPTnvType texts resolved so far, by text: a variable's type is asked for on every read.
    mutable QHash<QString, ResolvedNvType> resolvedNvTypes;
    // The resource sets a program ID sees from a scope down, highest first, and the types and
    // formats found in them by name, by program ID and scope: every value looks its type and
    // its format up. The sets do not change after loading.
    struct Chain
    {
        QVector<const ResourceSet *> sets;
        QHash<QString, const TypeDef *> types;
        QHash<QString, const FormatDef *> formats; // by the name without its absolute prefix
    };
    mutable QHash<QPair<QString, qint32>, Chain> chains;
    // The chain asked for last: the values of one device ask for the same one in a row.
    mutable Chain *lastChain = nullptr;
    mutable QPair<QString, qint32> lastChainKey;
    // Forgets what the chains found, and so the types the formats found through them: a set
    // added while loading may hold a type that wins over the one found before.
    void forgetChains() const
    {
        chains.clear();
        lastChain = nullptr;
        for (const auto &set : resourceSets) {
            for (const FormatDef &format : set->formats)
                format.type = nullptr;
        }
    }

    DeviceNode *device(const QString &deviceName) const;
    const LanguageDef *languageDef(const QString &code) const;
};

} // namespace Sim
