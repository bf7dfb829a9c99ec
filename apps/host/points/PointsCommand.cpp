// SPDX-License-Identifier: MIT
// Export and import of a points list without a window.
#include "PointsCommand.h"

#include "PointsImport.h"
#include "PointsList.h"
#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"
#include "window/DatabaseStamp.h"
#include "window/HostSession.h"

#include <QFile>
#include <QTextStream>

namespace Host {

namespace {

bool open(const QString &database, bool reset, OpenResult &opened)
{
    opened = openNetwork(database, reset);
    if (!opened.network) {
        QTextStream(stderr) << "vqhost: cannot load the network database"
                            << (opened.path.isEmpty() ? QString() : QStringLiteral(" ") + opened.path) << ": "
                            << opened.error << "\n";
        return false;
    }
    DeviceAccess::install(opened.network->implementation());
    MKorvane::LoadLanguageStrings();
    return true;
}

} // namespace

int runExport(const QString &file, const QString &database, bool reset, const QString &units)
{
    qint16 system = 0;
    if (!units.isEmpty() && !parseSystemName(units, system)) {
        QTextStream(stderr) << "vqhost: unknown units \"" << units << "\" (SI or US) (see --help)\n";
        return 2;
    }
    OpenResult opened;
    if (!open(database, reset, opened))
        return 1;
    if (units.isEmpty())
        system = opened.network->formatLocale();
    QString error;
    int unread = 0;
    if (!exportPoints(*opened.network, system, file, error, &unread)) {
        QTextStream(stderr) << "vqhost: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Exported the points list of " << opened.path << " in " << systemName(system) << " units to "
                        << file << "\n";
    if (unread > 0) {
        QTextStream(stderr) << "vqhost: " << unread << " input(s) could not be read and are not in the list\n";
        return 1;
    }
    return 0;
}

int runImport(const QString &file, const QString &database, bool reset, bool dryRun)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QFile csv(file);
    if (!csv.open(QIODevice::ReadOnly)) {
        err << "vqhost: cannot read " << file << ": " << csv.errorString() << "\n";
        return 1;
    }
    PointsList list;
    QString error;
    if (!readPointsCsv(csv.readAll(), list, error)) {
        err << "vqhost: " << file << ": " << error << "\n";
        return 1;
    }
    OpenResult opened;
    if (!open(database, reset, opened))
        return 1;
    // A write needs the database to itself: another host that has it open would save over it.
    DatabaseLock lock;
    if (!dryRun && lock.lock(opened.path) != DatabaseLock::Locked) {
        err << "vqhost: " << opened.path << " is open in another host ("
            << (lock.holder().isEmpty() ? lock.problem() : lock.holder()) << "); nothing was imported\n";
        return 1;
    }
    const ImportPlan plan = planImport(*opened.network, list);
    out << plan.text() << "\n";
    if (dryRun) {
        out << "Dry run: nothing was written.\n";
        return plan.problemCount() > 0 ? 1 : 0;
    }
    ImportSummary summary = applyImport(*opened.network, list, plan, {}, false);
    summary.saveWanted = true; // saved here, after the check for another writer
    // Another program that wrote the file meanwhile would lose its change: not saved then.
    if (summary.wrote) {
        if (!DatabaseStamp::ofFile(opened.path).sameContent(opened.stamp)) {
            summary.error
                = QStringLiteral("The database was not saved: another program changed %1 meanwhile.").arg(opened.path);
        } else {
            try {
                opened.network->save();
                summary.saved = true;
            } catch (const Sim::LoadError &failure) {
                summary.error = QStringLiteral("The database was not saved: %1").arg(failure.message());
            }
        }
    }
    out << summary.text() << "\n";
    out.flush();
    if (!summary.succeeded()) {
        err << "vqhost: " << summary.count(InputResult::NotWritten) << " input(s) not written"
            << (summary.error.isEmpty() ? QString() : QStringLiteral("; ") + summary.error) << "\n";
        return 1;
    }
    return 0;
}

} // namespace Host
