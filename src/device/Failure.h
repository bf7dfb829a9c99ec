// SPDX-License-Identifier: MIT
/// @file
/// The failures that travel through the library: device-library errors and the
/// library's own run-time errors. Both carry a number and a description.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>
#include <exception>
#include <string>

namespace DeviceAccess {

/// Base of every failure the library catches as "a run-time failure".
class VQ_EXPORT Failure : public std::exception
{
public:
    /// A failure with its error number and its description (shown to the user as it is).
    Failure(qint32 number, QString description)
        : m_number(number)
        , m_description(std::move(description))
        , m_what(m_description.toStdString())
    {
    }
    /// The error number: a device-library number (DeviceError) or a run-time error number (RuntimeError).
    qint32 number() const noexcept { return m_number; }
    /// The description, as the device library or the library gave it.
    const QString &description() const noexcept { return m_description; }
    /// The description as UTF-8 text, for code that catches std::exception.
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    std::string m_what;
};

/// A failure raised by the device library.
class VQ_EXPORT DeviceError : public Failure
{
public:
    /// The device library's object-error base; its errors are numbered from here.
    static constexpr qint32 ObjectErrorBase = qint32(0x80040000u);
    /// The two numbers that are never reported; on writes they count as success.
    static constexpr qint32 QuietNumber5030 = ObjectErrorBase + 5030;
    static constexpr qint32 QuietNumber1026 = ObjectErrorBase + 1026; ///<  The second quiet number.

    using Failure::Failure;

    /// Whether a number is one of the two quiet numbers, which are never reported.
    static bool isQuiet(qint32 number) noexcept { return number == QuietNumber5030 || number == QuietNumber1026; }
    /// Whether this failure carries one of the two quiet numbers.
    bool isQuiet() const noexcept { return isQuiet(number()); }
};

/// A run-time failure inside the library that is not a device error (an index past
/// the end of a field list, a missing object). The numbers follow the classic
/// run-time error numbers so that hosts see familiar values.
class VQ_EXPORT RuntimeError : public Failure
{
public:
    static constexpr qint32 InvalidProcedureCall
        = 5; ///<  "Invalid procedure call or argument": also any failure that is not a Failure.
    static constexpr qint32 SubscriptOutOfRange = 9; ///<  "Subscript out of range": a position or field past the end.
    static constexpr qint32 TypeMismatch = 13; ///<  "Type mismatch": a text that is not a number where one is needed.
    static constexpr qint32 ObjectNotSet = 91; ///<  "Object variable not set": a missing object.

    using Failure::Failure;
};

} // namespace DeviceAccess
