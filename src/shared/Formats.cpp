// SPDX-License-Identifier: MIT
// The network variable's type from SCPTnvType and its resolution through the resource
// catalog: type-tree node, format definition and unit text. Every handle opened here
// is closed before the procedure returns, also when a step fails.
#include "shared/Formats.h"

#include "device/NvTypeText.h"
#include "shared/Checked.h"
#include "shared/CpAccess.h"
#include "shared/Numbers.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <functional>
#include <utility>

namespace MKorvane {
namespace {

// Closes a handle when it goes out of scope; a failure of the close is not reported.
class HandleGuard
{
public:
    // closeNothing: close also a handle of 0, as the type-file lookup does.
    HandleGuard(qint32 handle, std::function<void(qint32)> close, bool closeNothing = false)
        : m_handle(handle)
        , m_close(std::move(close))
        , m_open(handle != 0 || closeNothing)
    {
    }
    ~HandleGuard() { closeNow(); }
    HandleGuard(const HandleGuard &) = delete;
    HandleGuard &operator=(const HandleGuard &) = delete;

    void closeNow()
    {
        if (!std::exchange(m_open, false))
            return;
        const qint32 handle = std::exchange(m_handle, 0);
        skipOnFailure([&] { m_close(handle); });
    }

private:
    qint32 m_handle;
    std::function<void(qint32)> m_close;
    bool m_open;
};

HandleGuard catalogGuard(qint32 handle)
{
    return HandleGuard(handle, [](qint32 h) { DeviceAccess::resourceCatalog().CloseCatalog(h); });
}

HandleGuard fileGuard(qint32 handle, bool closeNothing = false)
{
    return HandleGuard(
        handle, [](qint32 h) { DeviceAccess::resourceCatalog().CloseResourceFile(h); }, closeNothing);
}

// Appends a failure's description (quiet numbers excepted); for tryStep.
auto appendTo(QString &ErrMsg)
{
    return [&ErrMsg](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); };
}

// The last step of the format lookup: no definition is a failure with its own text.
bool foundFormat(const DeviceAccess::FormatDefinitionPtr &Format, const QString &typeName, QString &ErrMsg)
{
    if (Format)
        return true;
    AppendErrMsg(ErrMsg, GetStrings(QStringLiteral("Cannot find out the format definition: %s%"), { typeName }));
    return false;
}

QString secondWord(const QString &group)
{
    return fieldAt(group.trimmed().split(QLatin1Char(' ')), 1);
}

} // namespace

bool JoinProgramIdBytes(const QStringList &bytes, QString &ProgramId)
{
    ProgramId = DeviceAccess::joinProgramIdBytes(bytes);
    return true;
}

bool ParseProgramIdText(const QString &group0, QString &ProgramId, QString &ErrMsg)
{
    Q_UNUSED(ErrMsg) // a malformed group throws to the caller, which reports it
    return JoinProgramIdBytes(secondWord(group0).split(QLatin1Char(':')), ProgramId);
}

bool ParseNvTypeValue(const QString &text, qint32 &Scope, QString &ProgramId, qint32 &TypeIndex, QString &ErrMsg)
{
    if (text.isEmpty()) {
        AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("The value of NV Type is not valid.")));
        return false;
    }
    return tryStep(
        [&] {
            // The grammar the simulated device shares; a malformed text throws to tryStep.
            const DeviceAccess::NvTypeReference reference = DeviceAccess::parseNvTypeText(text);
            ProgramId = reference.programId;
            Scope = reference.scope;
            TypeIndex = reference.typeIndex;
        },
        appendTo(ErrMsg));
}

bool IsInStringArray(const QStringList &list, const QString &text)
{
    for (const QString &entry : list) {
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString AbsoluteFormatPrefix(const QString &ProgramId, qint32 Scope)
{
    return QStringLiteral("#") + ProgramId + QStringLiteral("[") + QString::number(Scope) + QStringLiteral("].");
}

bool GetDrfFileNames(const QString &ProgramId, qint32 Scope, QString &TypeFile, QString &FormatFile,
    QString &LanguageFile, QString &ErrMsg)
{
    bool result = false;
    tryStep(
        [&] {
            auto &catalog = DeviceAccess::resourceCatalog();
            const qint32 handle = catalog.OpenCatalog(true, QString());
            if (handle == 0) {
                AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("Cannot open DRF catalog!")));
                return;
            }
            HandleGuard guard = catalogGuard(handle);
            TypeFile = catalog.GetTypeFilePath(handle, ProgramId, Scope, true, 0);
            FormatFile = catalog.GetFormatFilePath(handle, ProgramId, Scope);
            LanguageFile = catalog.GetLanguageFilePath(handle, ProgramId, 0, Scope);
            guard.closeNow();
            result = true;
        },
        appendTo(ErrMsg));
    return result;
}

qint32 OpenTypeFile(const QString &ProgramId, qint32 Scope, QString &TypeFilePath)
{
    auto &catalog = DeviceAccess::resourceCatalog();
    const qint32 handle = catalog.OpenCatalog(true, QString());
    if (handle == 0)
        return 0;
    {
        HandleGuard guard = catalogGuard(handle);
        TypeFilePath = catalog.GetTypeFilePath(handle, ProgramId, Scope, false, 0);
    }
    if (TypeFilePath.isEmpty())
        return 0;
    return DeviceAccess::typeService().OpenTypeFileHandle(TypeFilePath);
}

bool GetTypeTreeNode(
    const QString &ProgramId, qint32 Scope, qint32 TypeIndex, DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ErrMsg)
{
    TreeNode = nullptr;
    return tryStep(
        [&] {
            QString path;
            const qint32 handle = OpenTypeFile(ProgramId, Scope, path);
            // Closed whatever the node lookup gives, also when the open gave 0.
            HandleGuard guard = fileGuard(handle, true);
            TreeNode = DeviceAccess::typeService().GetTreeNode(handle, ProgramId, TypeIndex);
        },
        appendTo(ErrMsg));
}

bool GetFormatDefinition(const QString &FormatFile, qint16 MesureUnit, DeviceAccess::FormatDefinitionPtr &Format,
    const QString &typeName, QString &LongFormat, QString &ErrMsg)
{
    if (FormatFile.isEmpty())
        return false;
    Format = nullptr;
    return tryStep(
               [&] {
                   auto &catalog = DeviceAccess::formatCatalog();
                   QStringList names;
                   bool hasVariants = false;
                   catalog.GetFormatNames(FormatFile, typeName, names, hasVariants);
                   if (hasVariants) {
                       const QString suffix = MesureUnit == 0 ? QStringLiteral("#SI") : QStringLiteral("#US");
                       if (IsInStringArray(names, typeName)) {
                           Format = catalog.FindFormat(FormatFile, typeName);
                           LongFormat = typeName;
                       }
                       if (!typeName.contains(QLatin1Char('#')) && IsInStringArray(names, typeName + suffix)) {
                           Format = catalog.FindFormat(FormatFile, typeName + suffix);
                           LongFormat = typeName + suffix;
                       }
                   } else {
                       Format = catalog.FindFormat(FormatFile, typeName);
                       LongFormat = typeName;
                   }
               },
               appendTo(ErrMsg))
        && foundFormat(Format, typeName, ErrMsg);
}

bool GetFormatUnitText(const QString &LanguageFile, const DeviceAccess::FormatDefinitionPtr &Format,
    const DeviceAccess::TypeTreeNodePtr &TreeNode, QString &UnitText, QString &ErrMsg)
{
    UnitText.clear();
    if (LanguageFile.isEmpty()) {
        AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("No DRF language was found!")));
        return false;
    }
    bool result = false;
    tryStep(
        [&] {
            auto &files = DeviceAccess::languageFileService();
            const qint32 handle = files.OpenLanguageFile(LanguageFile);
            if (handle == 0) {
                AppendErrMsg(ErrMsg, GetStrings(QStringLiteral("Cannot open language file '%s%'!"), { LanguageFile }));
                return;
            }
            HandleGuard guard = fileGuard(handle);
            const qint32 formatUnit = Format ? Format->UnitIndex() : 0;
            if (Format && formatUnit != 0) {
                UnitText = files.GetLanguageText(handle, formatUnit);
            } else if (!Format && !TreeNode) {
                AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("No valid  language was found!")));
                return;
            } else if (TreeNode) {
                const qint32 nodeUnit = TreeNode->UnitIndex();
                if (nodeUnit == 0) {
                    AppendErrMsg(ErrMsg, GetLanguageString(QStringLiteral("Language Unit Index was not valid!")));
                    return;
                }
                UnitText = files.GetLanguageText(handle, nodeUnit);
            }
            result = true;
        },
        appendTo(ErrMsg));
    return result;
}

bool GetNvTypeFormat(const DeviceAccess::NetworkVariablePtr &nv, qint16 MesureUnit,
    DeviceAccess::TypeTreeNodePtr &TreeNode, QString &ProgramId, QString &LongFormat, QString &UnitText,
    qint32 &TypeIndex, qint32 &BaseKind, QString &ErrMsg)
{
    bool result = false;
    tryStep(
        [&] {
            QString text;
            const DeviceAccess::ConfigPropertyPtr nvType
                = deref(deref(nv).ConfigProperties()).Item(QStringLiteral("SCPTnvType"));
            if (!ReadCpValue(nvType, QStringLiteral("SCPTnvType"), text, ErrMsg))
                return;
            qint32 scope = 0;
            if (!ParseNvTypeValue(text, scope, ProgramId, TypeIndex, ErrMsg))
                return;
            const QString prefix = AbsoluteFormatPrefix(ProgramId, scope);

            QString typeFile, formatFile, languageFile;
            if (!GetDrfFileNames(ProgramId, scope, typeFile, formatFile, languageFile, ErrMsg))
                return;

            QString typeName;
            // A type file that cannot be read leaves the type name empty; the format lookup decides.
            if (GetTypeTreeNode(ProgramId, scope, TypeIndex, TreeNode, ErrMsg)) {
                if (!TreeNode) {
                    AppendErrMsg(ErrMsg,
                        GetStrings(QStringLiteral("Failed to get the TreeNode object with programId: %s1%, "
                                                  "scope: %s2% and TypeIndex: %s3%."),
                            { ProgramId, scope, TypeIndex }));
                    return;
                }
                typeName = TreeNode->Name();
                BaseKind = TreeNode->Kind();
            }

            DeviceAccess::FormatDefinitionPtr format;
            if (!GetFormatDefinition(formatFile, MesureUnit, format, typeName, LongFormat, ErrMsg))
                return;
            if (!format) {
                AppendErrMsg(ErrMsg,
                    GetStrings(QStringLiteral("Failed to get the Format object with programId: %s1%, "
                                              "scope: %s2% and TypeIndex: %s3%."),
                        { ProgramId, scope, TypeIndex }));
            }

            // The unit text is a nicety: its problems are not the caller's.
            QString unitErrors;
            QString unit;
            UnitText.clear();
            if (GetFormatUnitText(languageFile, format, TreeNode, unit, unitErrors))
                UnitText = unit;

            if (!LongFormat.startsWith(QLatin1Char('#')))
                LongFormat = prefix + LongFormat;
            result = true;
        },
        appendTo(ErrMsg));
    return result;
}

} // namespace MKorvane
