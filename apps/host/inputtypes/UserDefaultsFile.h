// SPDX-License-Identifier: MIT
// Writing one section of a defaults file in the "InputDefaultValues.ini" format, so that
// engineers can keep a configuration as an input type's defaults and CInputDefaultValues
// reads it back exactly as it was saved.
#pragma once

#include <QString>
#include <QVector>

namespace Host {

// One entry of a section: a property name and its value as text.
struct DefaultsEntry
{
    QString key;
    QString value;
    bool operator==(const DefaultsEntry &other) const { return key == other.key && value == other.value; }
};

// Adds the section to the file, or replaces the entries of the first section of that
// name (letter case ignored), keeping its comment lines, every other section and every
// comment of the file. The file and its folder are created when missing. The file is
// written atomically, and only when the section reads back entry for entry through the
// profile reader that CInputDefaultValues uses (within its 500-character buffer, with
// its value cleaning); otherwise it stays as it was and `error` says why.
bool writeDefaultsSection(
    const QString &path, const QString &section, const QVector<DefaultsEntry> &entries, QString &error);

} // namespace Host
