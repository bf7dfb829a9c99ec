// SPDX-License-Identifier: MIT
// The input types of one device and their defaults: the list comes from the device's
// resource files, the defaults from the "InputDefaultValues.ini" the host ships in the
// "CommonFiles" folder beside its plug-in folder.
#pragma once

#include "defaults/CInputDefaultValues.h"

#include <QStringList>
#include <memory>

namespace Host {

class InputTypes
{
public:
    // The enumeration of input types in the sample's resource set, and the values taken:
    // value 0 means "no input type" and is not offered.
    static constexpr qint32 EnumIndex = 19;
    static constexpr qint32 EnumMin = 1;
    static constexpr qint32 EnumMax = 255;

    // The plug-in folder the host passes for a database: "Plugin" beside the file, so
    // that the defaults are found in "CommonFiles" beside it.
    static QString pluginFolder(const QString &databasePath);

    // Reads the device's input types and the defaults file. False, with the reasons
    // (one a line), when either is missing; names() is then empty.
    bool load(const QString &databasePath, const QString &programId, qint32 scope, QString &ErrMsg);

    QStringList names() const { return m_names; }
    QString defaultsFile() const { return m_defaultsFile; }

    // Writes the defaults of one input type to the block and its network variable.
    // False when the type has no defaults; ErrMsg gets every line the class reported.
    bool apply(const DeviceAccess::LonMarkObjectPtr &block, const QString &type, QString &ErrMsg);
    // The defaults file's section of one input type (letter case ignored); nullptr when it has none.
    InputDefaultSectionPtr section(const QString &type) const;

private:
    std::unique_ptr<CInputDefaultValues> m_defaults;
    QStringList m_names;
    QString m_defaultsFile;
};

} // namespace Host
