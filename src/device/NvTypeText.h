// SPDX-License-Identifier: MIT
/// @file
/// The grammar of an SCPTnvType text: which program ID, scope and type index it names.
/// The library reads the variable's type with it, and the simulated device accepts
/// exactly the texts it accepts, so that a text one takes the other takes too.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>
#include <QStringList>

namespace DeviceAccess {

/// What an SCPTnvType text names: the resource set (program ID and scope) and the type in it.
struct VQ_EXPORT NvTypeReference
{
    QString programId; ///< the eight bytes joined, two digits each, letter case as given
    qint32 scope = 0; ///<  The resource-set scope (0 to 6 in practice).
    qint32 typeIndex = 0; ///<  The index of the type within its resource set.
};

/// Reads an SCPTnvType text in one of its two layouts:
/// - plain: "90 00 A5 3D 0A 04 04 10 0 105": fields split at single blanks; fields 0 to 7
///   are the program-ID bytes, field 8 the scope, field 9 the index, further fields ignored;
/// - labelled (starts with "PID"): "PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 105": three
///   comma-separated groups, each trimmed and split at single blanks; the second word of
///   group 0 holds the bytes separated by ":", those of groups 1 and 2 the scope and index.
/// Each byte is trimmed and padded to two digits with leading zeros (its last two
/// characters are kept). Scope and index are numbers read as the library reads a whole
/// number from text: blanks trimmed, the user's locale or the C locale, rounded.
/// Throws RuntimeError: 9 for a missing field or group, 13 for a scope or index that is
/// not a number, 6 for one beyond 32 bits.
VQ_EXPORT NvTypeReference parseNvTypeText(const QString &text);

/// The program ID of byte texts: each trimmed and padded as above, then joined.
VQ_EXPORT QString joinProgramIdBytes(const QStringList &bytes);

} // namespace DeviceAccess
