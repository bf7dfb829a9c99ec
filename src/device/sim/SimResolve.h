// SPDX-License-Identifier: MIT
// Lookups in the model: resource sets by program ID and scope, types by name or
// index, formats by bare or absolute name, and the types of network variables and
// configuration properties (SCPTnvType, type-inheriting properties).
#pragma once

#include "vqzovezuvavevasim_export.h"

#include "device/sim/SimModel.h"

namespace Sim {

// A format name split into its absolute prefix ("#" + program ID + "[" + scope + "].") and the rest.
struct FormatName
{
    bool absolute = false;
    QString programId;
    qint32 scope = 0;
    QString name;
};
VQ_SIM_AUTOTEST_EXPORT FormatName splitFormatName(const QString &text);

// The type a network variable's SCPTnvType names.
struct NvTypeRef
{
    QString programId; // the padded bytes joined, upper case
    qint32 scope = 0;
    qint32 index = 0;
};
// Parses SCPTnvType text in its plain ("90 00 A5 3D 0A 04 04 10 0 105") or labelled
// ("PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 105") layout with the library's grammar
// (device/NvTypeText.h). False when empty or malformed.
VQ_SIM_AUTOTEST_EXPORT bool parseNvTypeText(const QString &text, NvTypeRef &ref);

// What an empty format name stands for: the default format of the network's format
// locale, or always the SI default (test access, which must not move with the locale).
enum class Defaults { Locale, SI };

class VQ_SIM_AUTOTEST_EXPORT Resolver
{
public:
    explicit Resolver(const NetworkModel &model, Defaults defaults = Defaults::Locale)
        : m_model(model)
        , m_defaults(defaults)
    {
    }

    const ResourceSet *set(const QString &programId, qint32 scope) const;
    const ResourceSet *setOfFile(const QString &path, QString ResourceSet::*file) const;

    const TypeDef *typeByName(const QString &programId, qint32 topScope, const QString &name) const;
    // A network-variable type (or enumeration) of that index in the set; property types are not found.
    static const TypeDef *nvTypeByIndex(const ResourceSet &set, qint32 index);
    const TypeDef *enumeration(const QString &programId, qint32 scope, qint32 index) const;

    // Absolute names are looked up where their prefix points; bare ones in the program ID's chain.
    const FormatDef *format(const QString &programId, qint32 topScope, const QString &formatName) const;
    static const FormatDef *formatInSet(const ResourceSet &set, const QString &name);
    const TypeDef *typeOf(const FormatDef &format) const;
    // In the US system the "#US" variant where the type has one (for a difference, its
    // "#US_diff" variant first); otherwise the "#SI" variant, else the format named like the
    // type, else its first format.
    static const FormatDef *defaultFormat(
        const TypeDef &type, qint16 measurementSystem = MeasurementSI, bool difference = false);
    // Properties whose value is a difference of the variable's quantity (an offset, a send
    // delta): a US format locale shows them without the 32-degree shift.
    static bool isDifferenceProperty(const QString &cpName);

    // nullptr with the reason in *why when the type cannot be resolved.
    const TypeDef *nvType(const NvNode &nv, QString *why = nullptr) const;
    const TypeDef *cpType(const CpNode &cp, QString *why = nullptr) const;
    // The type a property's name or "type" names in its device's sets, before any inheriting.
    const TypeDef *namedType(const CpNode &cp) const;
    // As cpType and typeOf, throwing DeviceError when there is none.
    const TypeDef &requireCpType(const CpNode &cp) const;
    const TypeDef &requireTypeOf(const FormatDef &format) const;
    // The format a property shows its value in: the named one, or its default for an empty name.
    // Throws DeviceError when there is none.
    const FormatDef &cpFormat(const CpNode &cp, const QString &formatName) const;
    const FormatDef &nvFormat(const NvNode &nv, const QString &formatName) const;

private:
    const FormatDef &requireFormat(
        const DeviceNode *device, const TypeDef &type, const QString &formatName, bool difference = false) const;

    // The sets a program ID sees from a scope down to the standard set, highest scope first,
    // with what was found in them so far.
    NetworkModel::Chain &cachedChain(const QString &programId, qint32 topScope) const;
    ResolvedNvType resolveNvTypeText(const QString &text) const;
    static const FormatDef *findDefaultFormat(const TypeDef &type, qint16 measurementSystem, bool difference);

    const NetworkModel &m_model;
    Defaults m_defaults;
};

} // namespace Sim
