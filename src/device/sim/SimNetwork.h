// SPDX-License-Identifier: MIT
/// @file
/// The simulated network: an in-memory network database loaded from a JSON file,
/// served through every device-access interface, with a call log, fault injection and
/// an optional latency per call. Tests, benchmarks and the host application use it;
/// the library itself never includes this folder.
#pragma once

#include "vqzovezuvavevasim_export.h"

#include "device/DeviceAccess.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <chrono>
#include <functional>
#include <memory>

namespace Sim {

struct NetworkModel; // the parsed database (SimModel.h)

/// A malformed or unreadable database file: the message names the file, the place and what is wrong.
class VQ_SIM_EXPORT LoadError : public std::runtime_error
{
public:
    /// The error with its message (already naming the file and the place).
    explicit LoadError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    /// The message, as shown to the user.
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

/// One device-library operation as it was called.
struct VQ_SIM_EXPORT CallRecord
{
    QString operation; ///< "<Interface>.<Method>", e.g. "ConfigProperty.setValueText"
    QStringList arguments; ///< the object's name first for object operations, then the arguments as text
    /// How a write (a property's value or format, a variable's name or format) or an
    /// injected fault ended the call: 0 = it did not fail; otherwise the error number.
    qint32 error = 0;
    QString errorDescription; ///<  The failure's description; empty when it did not fail.
};

/// A property of a block or of its first network variable as it reads now, for a host
/// that lists values; see Network::readings().
struct VQ_SIM_EXPORT PropertyReading
{
    QString owner; ///< the block's name, or the variable's programmatic name
    QString name; ///< the property's name; "Name" for the variable's own name
    QString text; ///< in the default format of the format locale; empty when it cannot be shown
    QString unit; ///< the format's unit text in the language in use; may be empty
    /// Equal in all four texts.
    bool operator==(const PropertyReading &other) const
    {
        return owner == other.owner && name == other.name && text == other.text && unit == other.unit;
    }
};

/// An in-memory copy of what the device library can change in a network: the value and
/// format of every property, the name, value and format of every network variable.
class VQ_SIM_EXPORT Snapshot
{
public:
    /// True for a snapshot that was never taken (default-constructed).
    bool isNull() const { return !d; }

    struct Data; // opaque: what the copy holds is the simulator's own business
    std::shared_ptr<const Data> d; ///<  The copy, shared by the copies of the snapshot.
};

/// A simulated LonWorks network behind the device interface: the network database of a
/// JSON file, served through every device-library service (implementation()), with a call
/// log, fault injection, a clock for value generators and a latency per call. Created by
/// load() or fromJson() and shared (std::shared_ptr): the objects and services it hands
/// out keep it alive. Loading and saving throw LoadError; the device operations throw
/// DeviceAccess::DeviceError as a device library does; the test access below never fails.
class VQ_SIM_EXPORT Network : public std::enable_shared_from_this<Network>
{
public:
    /// The largest database file load() reads: 64 MiB, some two thousand times the sample network.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    /// Loads a database file; throws LoadError. A folder, a device or a FIFO is refused
    /// without reading or waiting, and so is a file over MaxFileSize.
    static std::shared_ptr<Network> load(const QString &path);
    /// Parses a database from memory; sourceName stands for the file in error messages. Throws LoadError.
    static std::shared_ptr<Network> fromJson(const QByteArray &json, const QString &sourceName);
    ~Network();

    /// Saves atomically (QSaveFile): on failure the previous file stays intact. Throws LoadError
    /// with the reason. An empty path saves to the file it was loaded from; a symbolic link
    /// is followed, and a hard link is not kept (the name gets a new file).
    void save(const QString &path = QString()) const;
    /// The file it was loaded from or last saved to; empty for a network parsed from memory.
    QString filePath() const;
    /// The database as text, as save() writes it (comments and key order kept).
    QByteArray toJson() const;

    /// The device library over this network, to pass to DeviceAccess::install().
    std::shared_ptr<DeviceAccess::Implementation> implementation();

    /// The host's objects. Lookups by name ignore letter case; a missing one gives nullptr.
    DeviceAccess::SystemPtr system();
    /// The names of the devices, in database order.
    QStringList deviceNames() const;
    /// The device of that name; nullptr when there is none.
    DeviceAccess::AppDevicePtr device(const QString &deviceName);
    /// The names of a device's blocks, in database order; empty for an unknown device.
    QStringList blockNames(const QString &deviceName) const;
    /// A block of a device; nullptr when there is none.
    DeviceAccess::LonMarkObjectPtr block(const QString &deviceName, const QString &blockName);
    /// The program ID of a device, 16 hexadecimal digits, as the host passes DeviceProgID; empty for an unknown device.
    QString programId(const QString &deviceName) const;
    /// The resource-set scope of a device, as the host passes DRFScope; 0 for an unknown device.
    qint32 scope(const QString &deviceName) const;

    /// Test access that is not logged and never fails: the stored value of a block's CP
    /// (or of its first network variable's CP when nvCp is true) as text in its default
    /// format for the SI system, whatever the format locale, so that tests stay stable.
    QString storedCpText(
        const QString &deviceName, const QString &blockName, const QString &cpName, bool nvCp = false) const;
    /// Stores a value as text in the same format (not logged); throws std::invalid_argument for
    /// a property that does not exist or a text it cannot hold.
    void setStoredCpText(const QString &deviceName, const QString &blockName, const QString &cpName,
        const QString &text, bool nvCp = false);

    /// Every property of a block and of its first network variable, and the variable's
    /// name, as they read now (unlogged, never fails). Empty for a block that does not exist.
    QVector<PropertyReading> readings(const QString &deviceName, const QString &blockName) const;

    /// Dry runs: snapshot() copies what device operations can change; restore() puts it
    /// back exactly, so the database's text (toJson) and every format are as they were.
    /// Objects handed out before stay valid. Not part of it: the call journal (the log,
    /// the call count, injected faults: a dry run's calls stay logged, a fault it met
    /// once is spent), the language, the format locale and open resource handles.
    /// restore() throws std::invalid_argument for a snapshot of another network.
    Snapshot snapshot() const;
    /// @copydoc snapshot()
    void restore(const Snapshot &snapshot);

    /// Call log: every device-library operation with its arguments.
    const QVector<CallRecord> &callLog() const;
    /// Empties the call log (the call count too).
    void clearCallLog();
    int callCount(const QString &operation = QString()) const; ///< empty = all operations
    /// Whether calls are logged (on after loading); setLogging(false) stops the log, not the count.
    /// @{
    bool logging() const;
    void setLogging(bool on);
    ///@}

    /// Fault injection. failCall: the nth call from now (1 = the next) fails; failFromCall: that
    /// call and every one after it fail; failOperation: calls of that operation
    /// ("ConfigProperty.setValueText") fail, optionally only while the object's name (first
    /// argument) equals objectName. Once: only the first matching call.
    void failCall(int nth, qint32 errorNumber, const QString &description = QString());
    /// @copydoc failCall()
    void failFromCall(int nth, qint32 errorNumber, const QString &description = QString());
    /// @copydoc failCall()
    void failOperation(const QString &operation, qint32 errorNumber, bool once = false,
        const QString &objectName = QString(), const QString &description = QString());
    /// A property that takes every write and stores `text` (in its default format for the SI
    /// system, as setStoredCpText reads it) instead of what was written: a device that
    /// reports another value than the one it was sent. Throws std::invalid_argument when
    /// the property does not exist or cannot hold the text. clearFaults() ends it too.
    void storeDifferentValue(const QString &deviceName, const QString &blockName, const QString &cpName,
        const QString &text, bool nvCp = false);
    /// Ends every injected fault (failCall, failFromCall, failOperation, storeDifferentValue).
    void clearFaults();

    /// Resource handles (catalogs, type files, language files) open right now, e.g. "type file 3: <path>".
    int openHandleCount() const;
    /// @copydoc openHandleCount()
    QStringList openHandles() const;
    /// False makes OpenCatalog return 0, as when the catalog cannot be opened.
    void setCatalogAvailable(bool available);

    /// The clock that moves network variables with a value generator. It stands at 0 (every
    /// variable reads what it stores) until startClock(); setClock() replaces it with the
    /// seconds a test wants (an empty function gives the network its own clock back).
    void startClock();
    /// @copydoc startClock()
    void setClock(std::function<double()> seconds);

    /// Latency added to every call (for demos and benchmarks).
    void setLatency(std::chrono::microseconds latency);

    /// Language of the language service ("en", "de"); switching moves its change time.
    QStringList languages() const;
    /// @copydoc languages()
    QString language() const;
    /// @copydoc languages()
    void setLanguage(const QString &code);
    /// Sets the change time explicitly (tests of the reload rule).
    void setStringsChangeTime(const QDateTime &time);

    /// The database's format locale, the measurement system that a property's or variable's
    /// default format (an empty Format) follows: 0 = SI, 1 = US. In US a type with per-system
    /// variants shows its "#US" variant by default. Throws std::invalid_argument for other values.
    qint16 formatLocale() const;
    /// @copydoc formatLocale()
    void setFormatLocale(qint16 measurementSystem);

    /// The parsed database itself, for the project's own tests and tools (its type is not installed).
    NetworkModel &model();

private:
    Network();
    struct Private;
    std::unique_ptr<Private> d;
    friend struct Private;
};

} // namespace Sim
