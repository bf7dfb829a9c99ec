// SPDX-License-Identifier: MIT
// The failures that travel through the library: device-library errors and the
// library's own run-time errors. Both carry a number and a description.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace DeviceAccess {

// Base of every failure the library catches as "a run-time failure".
class Failure : public std::exception
{
public:
    Failure(qint32 number, QString description)
        : m_number(number)
        , m_description(std::move(description))
        , m_what(m_description.toStdString())
    {
    }
    qint32 number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    std::string m_what;
};

// A failure raised by the device library.
class DeviceError : public Failure
{
public:
    // The device library's object-error base; its errors are numbered from here.
    static constexpr qint32 ObjectErrorBase = qint32(0x80040000u);
    // The two numbers that are never reported; on writes they count as success.
    static constexpr qint32 QuietNumber5030 = ObjectErrorBase + 5030;
    static constexpr qint32 QuietNumber1026 = ObjectErrorBase + 1026;

    using Failure::Failure;

    static bool isQuiet(qint32 number) noexcept { return number == QuietNumber5030 || number == QuietNumber1026; }
    bool isQuiet() const noexcept { return isQuiet(number()); }
};

// A run-time failure inside the library that is not a device error (an index past
// the end of a field list, a missing object). The numbers follow the classic
// run-time error numbers so that hosts see familiar values.
class RuntimeError : public Failure
{
public:
    static constexpr qint32 InvalidProcedureCall = 5;
    static constexpr qint32 SubscriptOutOfRange = 9;
    static constexpr qint32 TypeMismatch = 13;
    static constexpr qint32 ObjectNotSet = 91;

    using Failure::Failure;
};

} // namespace DeviceAccess
