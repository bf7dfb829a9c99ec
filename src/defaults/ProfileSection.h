// SPDX-License-Identifier: MIT
/// @file
/// ProfileFile: a Windows-style profile (INI) file read one section at a time into a
/// fixed-size buffer, the way the platform's profile-section reader fills it.
///
/// Reading the file:
/// - Line ends CRLF, LF or a lone CR. A UTF-8 byte-order mark is skipped; a UTF-16 one
///   selects UTF-16. Without one the bytes are UTF-8 when they are valid UTF-8, otherwise
///   Windows-1252 (the Western code page: "°C" may be the single byte 0xB0).
/// - A file that cannot be opened, is not a regular file (a folder, a FIFO, a device: never
///   read, never waited on), is larger than MaxFileSize, or holds a NUL or another
///   control character besides tab, LF, VT, FF and CR is not read at all: status() tells
///   why and every section reads as missing.
///
/// Sections and lines:
/// - A section starts at a line that, trimmed, begins with "[" and holds a "]"; its name is
///   the text between them, trimmed; anything after the "]" is ignored. Names are matched
///   without regard to letter case; of two sections with the same name the first counts.
/// - A section's lines run to the next section line. Each is trimmed; empty lines are
///   skipped. A line starting with ";" (a comment) is delivered as it is. In a line with
///   "=", the blanks around the key and around the value are dropped ("Key = 1" arrives
///   as "Key=1"); further "=" stay in the value.
///
/// The buffer rule (that of the platform's reader): the lines are copied one after
/// another, each ended by a NUL, and the block is ended by a second NUL. When this does
/// not fit into bufferSize characters, the data is cut after bufferSize - 2 characters and
/// the two NULs follow; the line that crosses the limit arrives cut short and the lines
/// after it are not delivered. Characters are UTF-16 code units.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

/// A profile (INI) file read by the rules above; a value type that holds the decoded lines.
class VQ_EXPORT ProfileFile
{
public:
    /// Whether the file was read.
    enum class Status {
        Ok, ///<  Read and decoded.
        Unreadable, ///< cannot be opened or read, or is not a regular file
        TooLarge, ///< larger than MaxFileSize
        NotText, ///< a NUL or another control character: not a profile file
    };

    /// A defaults file is a few kilobytes; anything this large is not one.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    ProfileFile() = default;
    /// Reads and decodes the file at once; a later change of the file is not seen.
    explicit ProfileFile(const QString &path);
    /// The same from bytes in memory.
    static ProfileFile fromData(const QByteArray &data);

    /// Whether the file was read; when not, every section reads as missing.
    Status status() const { return m_status; }
    /// Why the file was not read, in English; empty when it was.
    QString errorString() const { return m_error; }

    /// Copies the section into `block` by the buffer rule above and returns the number of
    /// characters copied without the final NUL: 0 (and an empty block) for a missing or
    /// empty section or a file not read; bufferSize - 2 when the section was cut.
    qint32 readSection(const QString &name, QString &block, qint32 bufferSize) const;

    /// The section's lines as delivered, before the buffer rule; empty when missing.
    QStringList sectionLines(const QString &name) const;

    /// Text of profile-file bytes by the encoding rules above.
    static QString decode(const QByteArray &data);

private:
    void parse(const QByteArray &data);

    Status m_status = Status::Unreadable;
    QString m_error;
    QStringList m_lines; ///< the file's lines, trimmed
};
