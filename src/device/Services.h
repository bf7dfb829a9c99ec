// SPDX-License-Identifier: MIT
/// @file
/// The device library's process-wide resource services. Handles are 32-bit numbers;
/// 0 means that nothing was opened. Every operation may throw DeviceError.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/Objects.h"
#include "device/Resources.h"

#include <QDateTime>
#include <QStringList>

namespace DeviceAccess {

/// The resource catalog: where the type, format and language files of a resource set
/// (program ID and scope) lie. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT ResourceCatalog
{
public:
    virtual ~ResourceCatalog() = default;
    /// Opens the catalog (an empty path: the device library's own); 0 when it cannot be opened.
    virtual qint32 OpenCatalog(bool readOnly, const QString &path) = 0;
    /// Closes a handle of OpenCatalog.
    virtual void CloseCatalog(qint32 catalogHandle) = 0;
    /// The path of the type file of a resource set; flag and number are passed as the library
    /// always passes them (false, 0).
    virtual QString GetTypeFilePath(
        qint32 catalogHandle, const QString &programId, qint32 scope, bool flag, qint32 number)
        = 0;
    /// The path of the format file of a resource set.
    virtual QString GetFormatFilePath(qint32 catalogHandle, const QString &programId, qint32 scope) = 0;
    /// The path of the language file of a resource set; reserved is passed as 0.
    virtual QString GetLanguageFilePath(qint32 catalogHandle, const QString &programId, qint32 reserved, qint32 scope)
        = 0;
    /// Closes a type-file or language-file handle.
    virtual void CloseResourceFile(qint32 fileHandle) = 0;
};

/// The type files and enumerations. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT TypeService
{
public:
    virtual ~TypeService() = default;
    /// Opens a type file; closed with ResourceCatalog::CloseResourceFile. 0 when nothing was opened.
    virtual qint32 OpenTypeFileHandle(const QString &path) = 0;
    /// nullptr when the type file holds no type of that index.
    virtual TypeTreeNodePtr GetTreeNode(qint32 typeFileHandle, const QString &programId, qint32 typeIndex) = 0;
    /// The members whose values lie in [lowest, highest], in value order; nullptr when there is no such enumeration.
    virtual EnumCollectionPtr GetEnumCollection(
        const QString &programId, qint32 scope, qint32 enumIndex, qint32 lowest, qint32 highest)
        = 0;
};

/// The format files. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT FormatCatalog
{
public:
    virtual ~FormatCatalog() = default;
    /// The format names of the file that belong to the type, and whether the type has per-system variants.
    virtual void GetFormatNames(
        const QString &formatFile, const QString &typeName, QStringList &names, bool &hasVariants)
        = 0;
    /// nullptr when the file has no format of that name.
    virtual FormatDefinitionPtr FindFormat(const QString &formatFile, const QString &formatName) = 0;
    /// What is known of a format for a network variable; errMsg receives the device library's
    /// message when it has none to give.
    virtual FormatInfoPtr GetFormatInfo(
        const QString &programId, const QString &formatName, QString &errMsg, const NetworkVariablePtr &networkVariable)
        = 0;
};

/// Converts values by format. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT FormatService
{
public:
    virtual ~FormatService() = default;
    /// The converter of a format of a resource set.
    virtual FormatObjectPtr GetFormat(const QString &formatName, const QString &programId) = 0;
};

/// The language the user chose and the display strings in it. Implemented by the device
/// library; may throw DeviceError.
class VQ_EXPORT LanguageService
{
public:
    virtual ~LanguageService() = default;
    /// When the display strings last changed (a language switch); the library reloads them after.
    virtual QDateTime GetStringsChangeTime() = 0;
    /// Keyed by the English text trimmed and upper-cased; the value is the text to show.
    virtual StringCollectionPtr GetApplicationStrings(const QString &application) = 0;
    /// The face the language is shown in; the controls apply it to their named widgets.
    virtual QString GetFontName() = 0;
    /// The character set of the face (kept for the interface; Qt fonts do not use it).
    virtual qint16 GetFontCharset() = 0;
};

/// The language files: the unit texts by index. Implemented by the device library; may throw DeviceError.
class VQ_EXPORT LanguageFileService
{
public:
    virtual ~LanguageFileService() = default;
    /// Opens a language file; closed with ResourceCatalog::CloseResourceFile. 0 when nothing was opened.
    virtual qint32 OpenLanguageFile(const QString &path) = 0;
    /// The unit text of an index in the language of the service.
    virtual QString GetLanguageText(qint32 languageFileHandle, qint32 unitIndex) = 0;
};

} // namespace DeviceAccess
