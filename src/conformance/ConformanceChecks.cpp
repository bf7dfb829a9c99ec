// SPDX-License-Identifier: MIT
// The checks, in the order in which the library meets the device library: services,
// the host's objects, the block's properties and variable, the resource catalog with its
// handles, types, formats and units, enumerations, display strings, and last the writes.
#include "conformance/ConformanceRunner_p.h"
#include "device/NvTypeText.h"

#include <QtMath>
#include <optional>

namespace Conformance {
namespace {

// The library's name for its display strings, as it asks the language service.
const QString ApplicationName = QStringLiteral("VkZovezuVaveva");
// The enumeration of signal interpretations that the hardware control lists.
constexpr qint32 SignalInterpretationEnum = 17;
constexpr qint32 SignalInterpretationLowest = 0;
constexpr qint32 SignalInterpretationHighest = 6;
// A name no device has: a lookup of it must fail.
const QString MissingName = QStringLiteral("UCPTnoSuchProperty_Q7x");

// What the checks learn on the way and later checks use.
struct Context
{
    DeviceAccess::Implementation &implementation;
    const KnownDevice &known;
    std::shared_ptr<DeviceAccess::ResourceCatalog> catalog;
    std::shared_ptr<DeviceAccess::TypeService> types;
    std::shared_ptr<DeviceAccess::FormatCatalog> formats;
    std::shared_ptr<DeviceAccess::FormatService> formatService;
    std::shared_ptr<DeviceAccess::LanguageService> language;
    std::shared_ptr<DeviceAccess::LanguageFileService> languageFiles;
    DeviceAccess::ConfigPropertiesPtr properties;
    DeviceAccess::ConfigPropertyPtr property;
    DeviceAccess::NetworkVariablePtr variable;
    std::optional<DeviceAccess::Failure> missingKeyFailure;
    QString missingKeyOther; // what was thrown instead of a Failure
    DeviceAccess::NvTypeReference type;
    QString typeFile, formatFile, languageFile;
    DeviceAccess::TypeTreeNodePtr node;
    QString formatName; // as found in the format file, e.g. "SNVT_temp_p#SI"
    QString longFormat; // made absolute with the program ID and scope
    DeviceAccess::FormatDefinitionPtr format;
};

bool sameText(const QString &a, const QString &b)
{
    if (a.trimmed() == b.trimmed())
        return true;
    bool aNumber = false, bNumber = false;
    const double x = a.trimmed().toDouble(&aNumber);
    const double y = b.trimmed().toDouble(&bNumber);
    return aNumber && bNumber && qFuzzyCompare(1.0 + x, 1.0 + y);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Empty when calling throws a Failure (as required), otherwise what happened.
template<typename Call> QString mustFail(const QString &what, Call call)
{
    try {
        call();
    } catch (const DeviceAccess::Failure &) {
        return QString();
    } catch (const std::exception &error) {
        return what + QStringLiteral(" threw a std::exception without a number: ")
            + QString::fromLocal8Bit(error.what());
    }
    return what + QStringLiteral(" did not fail");
}

QString objectKindsOf(const Context &c)
{
    const auto &k = c.known;
    if (!k.system || !k.device || !k.block)
        return QStringLiteral("the description lacks the system, the device or the block");
    if (k.system->ObjectKind() != DeviceAccess::ObjectKindSystem)
        return QStringLiteral("the system's kind is %1").arg(k.system->ObjectKind());
    if (k.device->ObjectKind() != DeviceAccess::ObjectKindAppDevice)
        return QStringLiteral("the device's kind is %1").arg(k.device->ObjectKind());
    if (k.block->ObjectKind() != DeviceAccess::ObjectKindLonMarkObject)
        return QStringLiteral("the block's kind is %1").arg(k.block->ObjectKind());
    return QString();
}

QString parentsOf(const Context &c)
{
    // The library walks up from the device to find the system; the walk must end.
    DeviceAccess::ObjectPtr object = c.known.device->Parent();
    bool system = false;
    for (int depth = 0; object; ++depth) {
        if (depth > 100)
            return QStringLiteral("the device's parents do not end (a cycle?)");
        system = system || object->ObjectKind() == DeviceAccess::ObjectKindSystem;
        object = object->Parent();
    }
    return system ? QString() : QStringLiteral("no parent of the device is a System (kind 3)");
}

QString onlineOf(const Context &c)
{
    if (!c.known.device->Commissioned())
        return QStringLiteral("the device reads as not commissioned");
    if (c.known.device->State() != DeviceAccess::AppDevice::StateConfiguredOnline)
        return QStringLiteral("the device's State is %1").arg(c.known.device->State());
    if (c.known.system->NetworkMode() != DeviceAccess::System::NetworkModeAttached)
        return QStringLiteral("the system's NetworkMode is %1").arg(c.known.system->NetworkMode());
    return QString();
}

QString servicesOf(Context &c)
{
    c.catalog = c.implementation.createResourceCatalog();
    c.types = c.implementation.createTypeService();
    c.formats = c.implementation.createFormatCatalog();
    c.formatService = c.implementation.createFormatService();
    c.language = c.implementation.createLanguageService();
    c.languageFiles = c.implementation.createLanguageFileService();
    QStringList missing;
    if (!c.catalog)
        missing << QStringLiteral("ResourceCatalog");
    if (!c.types)
        missing << QStringLiteral("TypeService");
    if (!c.formats)
        missing << QStringLiteral("FormatCatalog");
    if (!c.formatService)
        missing << QStringLiteral("FormatService");
    if (!c.language)
        missing << QStringLiteral("LanguageService");
    if (!c.languageFiles)
        missing << QStringLiteral("LanguageFileService");
    return missing.isEmpty() ? QString() : QStringLiteral("no ") + missing.join(QStringLiteral(", no "));
}

QString propertiesOneBased(Context &c)
{
    c.properties = c.known.block->ConfigProperties();
    if (!c.properties)
        return QStringLiteral("the block's ConfigProperties is nothing");
    const qint32 count = c.properties->Count();
    if (count < 1)
        return QStringLiteral("Count is %1").arg(count);
    bool knownSeen = false;
    for (qint32 position = 1; position <= count; ++position) {
        const DeviceAccess::ConfigPropertyPtr property = c.properties->Item(position);
        if (!property)
            return QStringLiteral("Item(%1) of %2 is nothing").arg(position).arg(count);
        knownSeen = knownSeen || property->Name().compare(c.known.propertyName, Qt::CaseInsensitive) == 0;
    }
    if (!knownSeen)
        return QStringLiteral("Item(1) to Item(%1) do not include %2").arg(count).arg(c.known.propertyName);
    QString wrong = mustFail(QStringLiteral("Item(0)"), [&] { c.properties->Item(0); });
    if (wrong.isEmpty())
        wrong = mustFail(QStringLiteral("Item(Count + 1)"), [&] { c.properties->Item(count + 1); });
    return wrong;
}

QString propertyByName(Context &c)
{
    c.properties = c.known.block->ConfigProperties();
    c.property = c.properties ? c.properties->Item(c.known.propertyName) : nullptr;
    if (!c.property)
        return QStringLiteral("Item(%1) is nothing").arg(quoted(c.known.propertyName));
    if (c.property->Name().compare(c.known.propertyName, Qt::CaseInsensitive) != 0)
        return QStringLiteral("Item(%1) is named %2").arg(quoted(c.known.propertyName), quoted(c.property->Name()));
    return QString();
}

QString keysIgnoreCase(Context &c)
{
    const QString name = c.known.propertyName;
    QString swapped;
    for (const QChar ch : name)
        swapped += ch.isUpper() ? ch.toLower() : ch.toUpper();
    for (const QString &key : { name.toLower(), name.toUpper(), swapped }) {
        try {
            const DeviceAccess::ConfigPropertyPtr property = c.properties->Item(key);
            if (!property || property->Name().compare(name, Qt::CaseInsensitive) != 0)
                return QStringLiteral("Item(%1) does not give %2").arg(quoted(key), name);
        } catch (const DeviceAccess::Failure &failure) {
            return QStringLiteral("Item(%1) failed: %2")
                .arg(quoted(key), describeFailure(failure.number(), failure.description()));
        }
    }
    return QString();
}

QString missingKey(Context &c)
{
    try {
        const DeviceAccess::ConfigPropertyPtr property = c.properties->Item(MissingName);
        return property
            ? QStringLiteral("Item(%1) gave a property named %2").arg(quoted(MissingName), quoted(property->Name()))
            : QStringLiteral("Item(%1) gave nothing instead of failing").arg(quoted(MissingName));
    } catch (const DeviceAccess::Failure &failure) {
        c.missingKeyFailure = failure;
    } catch (const std::exception &error) {
        c.missingKeyOther = QString::fromLocal8Bit(error.what());
    }
    return QString();
}

QString failureCarriesNumber(const Context &c)
{
    if (!c.missingKeyFailure)
        return QStringLiteral("threw a std::exception, not a DeviceError with a number: ") + c.missingKeyOther;
    const DeviceAccess::Failure &failure = *c.missingKeyFailure;
    if (failure.number() == 0)
        return QStringLiteral("its number is 0");
    if (DeviceAccess::DeviceError::isQuiet(failure.number()))
        return QStringLiteral("its number %1 is one of the two quiet ones, which the library never reports")
            .arg(failure.number());
    if (failure.description().trimmed().isEmpty())
        return QStringLiteral("failure %1 has no description").arg(failure.number());
    return QString();
}

QString defaultFormat(const Context &c)
{
    const QString format = c.property->Format();
    if (!format.isEmpty())
        return QStringLiteral("Format reads %1 before any was set").arg(quoted(format));
    return QString();
}

QString knownValue(const Context &c)
{
    const QString text = c.property->ValueText();
    if (!sameText(text, c.known.propertyValueText))
        return QStringLiteral("ValueText reads %1, not %2").arg(quoted(text), quoted(c.known.propertyValueText));
    return QString();
}

QString variablesOneBased(Context &c)
{
    const DeviceAccess::NetworkVariablesPtr variables = c.known.block->NetworkVariables();
    if (!variables)
        return QStringLiteral("the block's NetworkVariables is nothing");
    const qint32 count = variables->Count();
    if (count < 1)
        return QStringLiteral("Count is %1").arg(count);
    c.variable = variables->Item(1);
    if (!c.variable)
        return QStringLiteral("Item(1) is nothing");
    if (c.variable->ObjectKind() != DeviceAccess::ObjectKindNetworkVariable)
        return QStringLiteral("Item(1)'s kind is %1").arg(c.variable->ObjectKind());
    if (!c.known.networkVariableName.isEmpty()
        && c.variable->ProgrammaticName().compare(c.known.networkVariableName, Qt::CaseInsensitive) != 0)
        return QStringLiteral("Item(1) is %1, not %2")
            .arg(quoted(c.variable->ProgrammaticName()), c.known.networkVariableName);
    QString wrong = mustFail(QStringLiteral("Item(0)"), [&] { variables->Item(0); });
    if (wrong.isEmpty())
        wrong = mustFail(QStringLiteral("Item(Count + 1)"), [&] { variables->Item(count + 1); });
    return wrong;
}

QString variableType(Context &c)
{
    const DeviceAccess::ConfigPropertiesPtr properties = c.variable->ConfigProperties();
    const DeviceAccess::ConfigPropertyPtr nvType
        = properties ? properties->Item(QStringLiteral("SCPTnvType")) : nullptr;
    if (!nvType)
        return QStringLiteral("the variable has no SCPTnvType");
    const QString text = nvType->ValueText();
    try {
        c.type = DeviceAccess::parseNvTypeText(text);
    } catch (const DeviceAccess::Failure &failure) {
        return QStringLiteral("SCPTnvType reads %1, which is neither \"90 00 A5 3D 0A 04 04 10 0 105\" nor "
                              "\"PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 105\" (%2)")
            .arg(quoted(text), failure.description());
    }
    return QString();
}

QString catalogPaths(Context &c)
{
    const qint32 handle = c.catalog->OpenCatalog(true, QString());
    if (handle == 0)
        return QStringLiteral("OpenCatalog(read-only) gave 0");
    QString wrong;
    try {
        c.typeFile = c.catalog->GetTypeFilePath(handle, c.type.programId, c.type.scope, true, 0);
        c.formatFile = c.catalog->GetFormatFilePath(handle, c.type.programId, c.type.scope);
        c.languageFile = c.catalog->GetLanguageFilePath(handle, c.type.programId, 0, c.type.scope);
    } catch (...) {
        c.catalog->CloseCatalog(handle);
        throw;
    }
    c.catalog->CloseCatalog(handle);
    QStringList empty;
    if (c.typeFile.isEmpty())
        empty << QStringLiteral("type file");
    if (c.formatFile.isEmpty())
        empty << QStringLiteral("format file");
    if (c.languageFile.isEmpty())
        empty << QStringLiteral("language file");
    if (!empty.isEmpty())
        return QStringLiteral("no path of the %1 of program ID %2, scope %3")
            .arg(empty.join(QStringLiteral(", ")), c.type.programId)
            .arg(c.type.scope);
    return QString();
}

QString typeNode(Context &c)
{
    // The catalog is closed by now: the library opens the type file from the path alone.
    const qint32 handle = c.types->OpenTypeFileHandle(c.typeFile);
    if (handle == 0)
        return QStringLiteral("OpenTypeFileHandle(%1), after the catalog was closed, gave 0").arg(quoted(c.typeFile));
    try {
        c.node = c.types->GetTreeNode(handle, c.type.programId, c.type.typeIndex);
    } catch (...) {
        c.catalog->CloseResourceFile(handle);
        throw;
    }
    c.catalog->CloseResourceFile(handle);
    if (!c.node)
        return QStringLiteral("GetTreeNode gave nothing for type index %1").arg(c.type.typeIndex);
    if (c.node->Name().isEmpty())
        return QStringLiteral("the type-tree node of index %1 has no name").arg(c.type.typeIndex);
    return QString();
}

QString formatNames(Context &c)
{
    // As the library picks the format of an SI display: the type's own name, or its "#SI" variant.
    const QString typeName = c.node->Name();
    QStringList names;
    bool hasVariants = false;
    c.formats->GetFormatNames(c.formatFile, typeName, names, hasVariants);
    const auto has = [&](const QString &name) { return names.contains(name, Qt::CaseInsensitive); };
    c.formatName = hasVariants && has(typeName + QStringLiteral("#SI")) ? typeName + QStringLiteral("#SI")
        : !hasVariants || has(typeName)                                 ? typeName
                                                                        : QString();
    if (c.formatName.isEmpty())
        return QStringLiteral("GetFormatNames lists %1 for %2 (with variants) but neither %2 nor %2#SI")
            .arg(names.join(QStringLiteral(", ")), typeName);
    c.format = c.formats->FindFormat(c.formatFile, c.formatName);
    if (!c.format)
        return QStringLiteral("FindFormat(%1) gave nothing").arg(quoted(c.formatName));
    c.longFormat = QStringLiteral("#%1[%2].%3").arg(c.type.programId).arg(c.type.scope).arg(c.formatName);
    return QString();
}

QString unknownFormat(const Context &c)
{
    try {
        if (c.formats->FindFormat(c.formatFile, MissingName))
            return QStringLiteral("FindFormat(%1) gave a definition").arg(quoted(MissingName));
    } catch (const DeviceAccess::Failure &) {
        // Also taken: the library reports the failure instead of its own text.
    }
    return QString();
}

QString formatRange(const Context &c)
{
    QString messages; // an implementation may write here; the library raises what it reads
    const DeviceAccess::FormatInfoPtr info
        = c.formats->GetFormatInfo(c.type.programId, c.formatName, messages, nullptr);
    if (!info)
        return QStringLiteral("GetFormatInfo(%1) gave nothing").arg(quoted(c.formatName));
    const DeviceAccess::RangeNodePtr range = info->GetRangeNode();
    if (!range)
        return QStringLiteral("GetRangeNode gave nothing");
    double low = 0, high = 0;
    bool exists = false;
    range->GetRange(low, high, exists);
    if (exists && !(low <= high))
        return QStringLiteral("GetRange gives a minimum %1 above the maximum %2").arg(low).arg(high);
    return QString();
}

QString formatConversion(const Context &c)
{
    const DeviceAccess::FormatObjectPtr object = c.formatService->GetFormat(c.longFormat, c.type.programId);
    if (!object)
        return QStringLiteral("GetFormat(%1) gave nothing").arg(quoted(c.longFormat));
    for (const double value : { 0.0, 21.5, -40.0 }) {
        const double back = object->ConvertFromDisplay(object->ConvertToDisplay(value, c.longFormat), c.longFormat);
        if (qAbs(back - value) > 1e-6 * qMax(1.0, qAbs(value)))
            return QStringLiteral("ConvertFromDisplay(ConvertToDisplay(%1)) is %2").arg(value).arg(back);
    }
    return QString();
}

QString unitText(const Context &c)
{
    const qint32 handle = c.languageFiles->OpenLanguageFile(c.languageFile);
    if (handle == 0)
        return QStringLiteral("OpenLanguageFile(%1), after the catalog was closed, gave 0").arg(quoted(c.languageFile));
    QString text;
    const qint32 unit = c.format->UnitIndex() != 0 ? c.format->UnitIndex() : c.node->UnitIndex();
    try {
        if (unit != 0)
            text = c.languageFiles->GetLanguageText(handle, unit);
    } catch (...) {
        c.catalog->CloseResourceFile(handle);
        throw;
    }
    c.catalog->CloseResourceFile(handle);
    if (unit != 0 && text.isEmpty())
        return QStringLiteral("GetLanguageText gave no text for unit index %1").arg(unit);
    return QString();
}

QString handlesClose(const Context &c)
{
    // Every handle is closed once, right after its last use; the type-file lookup also
    // closes a handle of 0, whose failure the library ignores, so only a return is needed.
    try {
        c.catalog->CloseResourceFile(0);
    } catch (const DeviceAccess::Failure &) {
    }
    const qint32 first = c.catalog->OpenCatalog(true, QString());
    c.catalog->CloseCatalog(first);
    const qint32 second = c.catalog->OpenCatalog(true, QString());
    c.catalog->CloseCatalog(second);
    if (first == 0 || second == 0)
        return QStringLiteral("OpenCatalog gave 0 after a catalog was closed");
    return QString();
}

QString enumerationMembers(const Context &c)
{
    const DeviceAccess::EnumCollectionPtr members = c.types->GetEnumCollection(c.known.programId, c.known.scope,
        SignalInterpretationEnum, SignalInterpretationLowest, SignalInterpretationHighest);
    if (!members || members->Count() == 0)
        return QStringLiteral("GetEnumCollection(%1, %2, %3, %4, %5) gave no members")
            .arg(c.known.programId)
            .arg(c.known.scope)
            .arg(SignalInterpretationEnum)
            .arg(SignalInterpretationLowest)
            .arg(SignalInterpretationHighest);
    qint32 previous = SignalInterpretationLowest - 1;
    for (qint32 position = 1; position <= members->Count(); ++position) {
        const DeviceAccess::EnumMemberPtr member = members->Item(position);
        if (!member || member->Name().isEmpty())
            return QStringLiteral("member %1 is nothing or has no name").arg(position);
        if (member->Index() <= previous || member->Index() > SignalInterpretationHighest)
            return QStringLiteral("member %1 (%2 = %3) is out of value order or outside %4..%5")
                .arg(position)
                .arg(member->Name())
                .arg(member->Index())
                .arg(SignalInterpretationLowest)
                .arg(SignalInterpretationHighest);
        previous = member->Index();
    }
    return QString();
}

QString displayStrings(const Context &c)
{
    if (!c.language->GetStringsChangeTime().isValid())
        return QStringLiteral("GetStringsChangeTime is not a valid time");
    const DeviceAccess::StringCollectionPtr strings = c.language->GetApplicationStrings(ApplicationName);
    for (qint32 position = 1; strings && position <= strings->Count(); ++position) {
        if (strings->Item(position).isNull())
            return QStringLiteral("display string %1 is null").arg(position);
    }
    c.language->GetFontName();
    c.language->GetFontCharset();
    return QString();
}

QString writeFormat(const Context &c)
{
    return c.known.propertyFormat.isEmpty() ? c.longFormat : c.known.propertyFormat;
}

QString formatThenValue(const Context &c)
{
    // What the library does to write: set Format, write the text in it, set Format back to empty.
    const QString format = writeFormat(c);
    c.property->setFormat(format);
    if (c.property->Format().compare(format, Qt::CaseInsensitive) != 0) {
        const QString read = c.property->Format();
        c.property->setFormat(QString());
        return QStringLiteral("Format reads %1 after it was set to %2").arg(quoted(read), quoted(format));
    }
    const QString shown = c.property->ValueText();
    bool numeric = false;
    const double value = shown.trimmed().toDouble(&numeric);
    QString wrong;
    if (numeric) {
        const QString other = QString::number(value + 1);
        c.property->setValueText(other);
        const QString read = c.property->ValueText();
        if (!sameText(read, other))
            wrong = QStringLiteral("in %1, %2 written reads back as %3").arg(format, quoted(other), quoted(read));
    }
    c.property->setValueText(shown);
    c.property->setFormat(QString());
    if (!wrong.isEmpty())
        return wrong;
    if (!c.property->Format().isEmpty())
        return QStringLiteral("Format reads %1 after it was set to empty").arg(quoted(c.property->Format()));
    const QString after = c.property->ValueText();
    if (!sameText(after, c.known.propertyValueText))
        return QStringLiteral("after writing %1 back in %2 the default format reads %3, not %4")
            .arg(quoted(shown), format, quoted(after), quoted(c.known.propertyValueText));
    return QString();
}

QString badTextRefused(const Context &c)
{
    const QString format = writeFormat(c);
    c.property->setFormat(format);
    const QString before = c.property->ValueText();
    QString wrong = mustFail(QStringLiteral("setValueText(\"#not a value#\")"),
        [&] { c.property->setValueText(QStringLiteral("#not a value#")); });
    const QString after = c.property->ValueText();
    if (!sameText(after, before)) {
        c.property->setValueText(before);
        wrong += (wrong.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("the value changed to ")
            + quoted(after);
    }
    c.property->setFormat(QString());
    return wrong;
}

QString variableValue(const Context &c)
{
    c.variable->setFormat(c.longFormat);
    const QString text = c.variable->ValueText();
    c.variable->setFormat(QString());
    if (text.trimmed().isEmpty())
        return QStringLiteral("ValueText in %1 is empty").arg(c.longFormat);
    return QString();
}

} // namespace

Report run(DeviceAccess::Implementation &implementation, const KnownDevice &device)
{
    Context c { implementation, device, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {} };
    CheckRunner r;
    const auto with = [&c](QString (*check)(Context &)) { return [&c, check] { return check(c); }; };
    const auto read = [&c](QString (*check)(const Context &)) { return [&c, check] { return check(c); }; };

    r.run(QStringLiteral("services.created"),
        QStringLiteral("every service factory of the implementation gives a service"), {}, with(servicesOf));
    r.run(QStringLiteral("objects.kinds"),
        QStringLiteral("System, AppDevice and LonMarkObject report kinds 3, 7 and 28"), {}, read(objectKindsOf));
    r.run(QStringLiteral("objects.parents"), QStringLiteral("the device's Parent chain ends and passes the System"),
        { QStringLiteral("objects.kinds") }, read(parentsOf));
    r.run(QStringLiteral("device.online"),
        QStringLiteral(
            "the device is commissioned and configured on line (State 4), the network attached (NetworkMode 2)"),
        { QStringLiteral("objects.kinds") }, read(onlineOf));
    r.run(QStringLiteral("properties.oneBased"),
        QStringLiteral("ConfigProperties.Item(1) to Item(Count) are the properties; Item(0) and Item(Count + 1) fail"),
        { QStringLiteral("objects.kinds") }, with(propertiesOneBased));
    r.run(QStringLiteral("properties.byName"),
        QStringLiteral("ConfigProperties.Item(name) gives the property of that Name"),
        { QStringLiteral("objects.kinds") }, with(propertyByName));
    r.run(QStringLiteral("properties.keysIgnoreCase"),
        QStringLiteral("ConfigProperties.Item(name) compares names without letter case"),
        { QStringLiteral("properties.byName") }, with(keysIgnoreCase));
    r.run(QStringLiteral("properties.missingKey"),
        QStringLiteral("ConfigProperties.Item of a name the block does not have fails; it does not give nothing"),
        { QStringLiteral("properties.byName") }, with(missingKey));
    r.run(QStringLiteral("failures.numberAndDescription"),
        QStringLiteral("a failure is a DeviceError with a number (not 0, not a quiet one) and a description"),
        { QStringLiteral("properties.missingKey") }, read(failureCarriesNumber));
    r.run(QStringLiteral("property.defaultFormat"),
        QStringLiteral("a property's Format reads empty while it shows its default format"),
        { QStringLiteral("properties.byName") }, read(defaultFormat));
    r.run(QStringLiteral("property.knownValue"),
        QStringLiteral("ValueText in the default format reads the known value"),
        { QStringLiteral("properties.byName") }, read(knownValue));
    r.run(QStringLiteral("networkVariables.oneBased"),
        QStringLiteral("NetworkVariables.Item(1) is the input's variable (kind 22); Item(0) and Item(Count + 1) fail"),
        { QStringLiteral("objects.kinds") }, with(variablesOneBased));
    r.run(QStringLiteral("networkVariable.type"),
        QStringLiteral("the variable's SCPTnvType reads in one of its two layouts"),
        { QStringLiteral("networkVariables.oneBased") }, with(variableType));
    r.run(QStringLiteral("catalog.paths"),
        QStringLiteral(
            "OpenCatalog gives a handle that names the type, format and language files; CloseCatalog closes it"),
        { QStringLiteral("services.created"), QStringLiteral("networkVariable.type") }, with(catalogPaths));
    r.run(QStringLiteral("types.treeNode"),
        QStringLiteral(
            "a type file opens from its path after the catalog is closed and GetTreeNode gives the variable's type"),
        { QStringLiteral("catalog.paths") }, with(typeNode));
    r.run(QStringLiteral("formats.definition"),
        QStringLiteral("GetFormatNames lists the type's formats and FindFormat finds the one for SI"),
        { QStringLiteral("types.treeNode") }, with(formatNames));
    r.run(QStringLiteral("formats.missingIsNothing"),
        QStringLiteral("FindFormat of a name the file does not have gives nothing"),
        { QStringLiteral("formats.definition") }, read(unknownFormat));
    r.run(QStringLiteral("formats.range"),
        QStringLiteral("GetFormatInfo gives a RangeNode whose range, where it exists, has its minimum first"),
        { QStringLiteral("formats.definition") }, read(formatRange));
    r.run(QStringLiteral("formats.conversion"),
        QStringLiteral("GetFormat gives a FormatObject whose ConvertFromDisplay undoes ConvertToDisplay"),
        { QStringLiteral("formats.definition") }, read(formatConversion));
    r.run(QStringLiteral("units.text"),
        QStringLiteral(
            "a language file opens from its path after the catalog is closed and gives the format's unit text"),
        { QStringLiteral("formats.definition") }, read(unitText));
    r.run(QStringLiteral("handles.close"),
        QStringLiteral("closing a handle returns (also for 0) and a closed catalog can be opened again"),
        { QStringLiteral("catalog.paths") }, read(handlesClose));
    r.run(QStringLiteral("enumerations.members"),
        QStringLiteral(
            "GetEnumCollection gives the signal interpretations 1-based in value order within the bounds asked"),
        { QStringLiteral("services.created") }, read(enumerationMembers));
    r.run(QStringLiteral("language.strings"),
        QStringLiteral("the language service gives a valid change time and the display strings (or nothing)"),
        { QStringLiteral("services.created") }, read(displayStrings));
    r.run(QStringLiteral("networkVariable.value"),
        QStringLiteral("after setting a variable's Format, ValueText reads its value in it"),
        { QStringLiteral("formats.definition") }, read(variableValue));
    const QStringList writes { QStringLiteral("property.knownValue"), QStringLiteral("formats.definition") };
    const auto write = [&](const QString &name, const QString &requirement, QString (*check)(const Context &)) {
        if (device.allowWrites)
            r.run(name, requirement, writes, read(check));
        else
            r.skip(name, requirement, QStringLiteral("writes are not allowed on this device"));
    };
    write(QStringLiteral("property.formatThenValue"),
        QStringLiteral("after setting Format, ValueText reads and writes in it; an empty Format is the default again"),
        formatThenValue);
    write(QStringLiteral("property.badTextRefused"),
        QStringLiteral("a value text the format cannot parse fails and changes nothing"), badTextRefused);
    return r.report();
}

} // namespace Conformance
