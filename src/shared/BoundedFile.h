// SPDX-License-Identifier: MIT
/// @file
/// Reading a whole file that was named to the library or the host (a network database, a
/// defaults file, a script) without being fooled by what is not a file: only a regular
/// file (a symbolic link to one counts) of at most a given size is read. A FIFO is opened
/// without waiting for a writer, and the kind and size are checked on the open descriptor
/// before a byte is read, so that a device such as /dev/zero is never read from.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QByteArray>
#include <QString>

class QIODevice;

/// The outcome of a bounded read: the bytes, or why there are none.
struct VQ_EXPORT BoundedRead
{
    /// Why nothing was read.
    enum class Failure {
        None, ///<  The bytes were read.
        CannotOpen, ///< reason: the system's words
        NotRegular, ///< reason: what it is instead ("a folder", "a FIFO (named pipe)", "a device", "a socket")
        TooLarge, ///< size: the bytes found, more than allowed
        ReadFailed, ///< reason: the system's words
    };
    QByteArray data; ///<  The bytes read; empty on a failure.
    Failure failure = Failure::None; ///<  Why nothing was read.
    QString reason; ///<  The system's words or what the path is instead (see Failure).
    qint64 size = 0; ///<  For TooLarge: the bytes found.

    /// Whether the bytes were read.
    bool ok() const { return failure == Failure::None; }
};

/// The bytes of the regular file at path, or why not. `spare` bytes of room are kept
/// allocated after the end (QByteArray::capacity), for a parser that reads a little past
/// the end of its text and would otherwise copy it.
VQ_EXPORT BoundedRead readBoundedFile(const QString &path, qint64 maxSize, qint64 spare = 0);

/// The bytes of an open stream (standard input) up to its end, or TooLarge after maxSize
/// bytes: a stream that never ends is not read on for ever.
VQ_EXPORT BoundedRead readBoundedStream(QIODevice &stream, qint64 maxSize);

/// What the path names when it is there and is not a regular file (a symbolic link is
/// followed): "a folder", "a FIFO (named pipe)", "a device", "a socket"; empty for a
/// regular file or nothing.
VQ_EXPORT QString notRegularFileKind(const QString &path);
