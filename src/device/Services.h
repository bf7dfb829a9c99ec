// SPDX-License-Identifier: MIT
// The device library's process-wide resource services. Handles are 32-bit numbers;
// 0 means that nothing was opened. Every operation may throw DeviceError.
#pragma once

#include "device/Objects.h"
#include "device/Resources.h"

#include <QDateTime>
#include <QStringList>

namespace DeviceAccess {

class ResourceCatalog
{
public:
    virtual ~ResourceCatalog() = default;
    virtual qint32 OpenCatalog(bool readOnly, const QString &path) = 0;
    virtual void CloseCatalog(qint32 catalogHandle) = 0;
    virtual QString GetTypeFilePath(
        qint32 catalogHandle, const QString &programId, qint32 scope, bool flag, qint32 number)
        = 0;
    virtual QString GetFormatFilePath(qint32 catalogHandle, const QString &programId, qint32 scope) = 0;
    virtual QString GetLanguageFilePath(qint32 catalogHandle, const QString &programId, qint32 reserved, qint32 scope)
        = 0;
    // Closes a type-file or language-file handle.
    virtual void CloseResourceFile(qint32 fileHandle) = 0;
};

class TypeService
{
public:
    virtual ~TypeService() = default;
    virtual qint32 OpenTypeFileHandle(const QString &path) = 0;
    // nullptr when the type file holds no type of that index.
    virtual TypeTreeNodePtr GetTreeNode(qint32 typeFileHandle, const QString &programId, qint32 typeIndex) = 0;
    // The members whose values lie in [lowest, highest], in value order; nullptr when there is no such enumeration.
    virtual EnumCollectionPtr GetEnumCollection(
        const QString &programId, qint32 scope, qint32 enumIndex, qint32 lowest, qint32 highest)
        = 0;
};

class FormatCatalog
{
public:
    virtual ~FormatCatalog() = default;
    // The format names of the file that belong to the type, and whether the type has per-system variants.
    virtual void GetFormatNames(
        const QString &formatFile, const QString &typeName, QStringList &names, bool &hasVariants)
        = 0;
    // nullptr when the file has no format of that name.
    virtual FormatDefinitionPtr FindFormat(const QString &formatFile, const QString &formatName) = 0;
    virtual FormatInfoPtr GetFormatInfo(
        const QString &programId, const QString &formatName, QString &errMsg, const NetworkVariablePtr &networkVariable)
        = 0;
};

class FormatService
{
public:
    virtual ~FormatService() = default;
    virtual FormatObjectPtr GetFormat(const QString &formatName, const QString &programId) = 0;
};

class LanguageService
{
public:
    virtual ~LanguageService() = default;
    virtual QDateTime GetStringsChangeTime() = 0;
    // Keyed by the English text trimmed and upper-cased; the value is the text to show.
    virtual StringCollectionPtr GetApplicationStrings(const QString &application) = 0;
    virtual QString GetFontName() = 0;
    virtual qint16 GetFontCharset() = 0;
};

class LanguageFileService
{
public:
    virtual ~LanguageFileService() = default;
    virtual qint32 OpenLanguageFile(const QString &path) = 0;
    virtual QString GetLanguageText(qint32 languageFileHandle, qint32 unitIndex) = 0;
};

} // namespace DeviceAccess
