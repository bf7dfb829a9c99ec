// SPDX-License-Identifier: MIT
// Runs the conformance suite against the simulated network, on a database file and one
// device of it. The database is loaded into memory and never saved: the write checks
// put back what they change, and the file stays as it was in any case.
// Exit status: 0 every check passed, 1 a check failed, 2 bad options or an unreadable database.
#include "conformance/Conformance.h"
#include "device/sim/SimNetwork.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks the simulated network's device library against what VqZovezuVaveva relies on, on one known device."));
    parser.addHelpOption();
    const QCommandLineOption database(
        QStringLiteral("database"), QStringLiteral("The network database file."), QStringLiteral("path"));
    const QCommandLineOption device(
        QStringLiteral("device"), QStringLiteral("The device's name."), QStringLiteral("name"));
    const QCommandLineOption block(
        QStringLiteral("block"), QStringLiteral("A hardware input's functional block."), QStringLiteral("name"));
    const QCommandLineOption variable(QStringLiteral("variable"),
        QStringLiteral("The programmatic name of the block's network variable 1 (optional)."), QStringLiteral("name"));
    const QCommandLineOption property(
        QStringLiteral("property"), QStringLiteral("A property of the block."), QStringLiteral("name"));
    const QCommandLineOption value(QStringLiteral("value"),
        QStringLiteral("The property's value text in its default format."), QStringLiteral("text"));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("The absolute format to write the property in (default: the variable's)."),
        QStringLiteral("name"));
    const QCommandLineOption readOnly(QStringLiteral("read-only"), QStringLiteral("Skip the checks that write."));
    parser.addOptions({ database, device, block, variable, property, value, format, readOnly });
    parser.process(app);

    for (const QCommandLineOption &required : { database, device, block, property, value }) {
        if (!parser.isSet(required)) {
            std::fprintf(
                stderr, "vq_conformance: --%s is required (see --help)\n", qPrintable(required.names().first()));
            return 2;
        }
    }
    std::shared_ptr<Sim::Network> network;
    try {
        network = Sim::Network::load(parser.value(database));
    } catch (const Sim::LoadError &error) {
        std::fprintf(stderr, "vq_conformance: %s\n", qPrintable(error.message()));
        return 2;
    }

    Conformance::KnownDevice known;
    known.system = network->system();
    known.device = network->device(parser.value(device));
    known.block = network->block(parser.value(device), parser.value(block));
    if (!known.device || !known.block) {
        std::fprintf(stderr, "vq_conformance: the database has no device \"%s\" with a block \"%s\"\n",
            qPrintable(parser.value(device)), qPrintable(parser.value(block)));
        return 2;
    }
    known.programId = network->programId(parser.value(device));
    known.scope = network->scope(parser.value(device));
    known.networkVariableName = parser.value(variable);
    known.propertyName = parser.value(property);
    known.propertyValueText = parser.value(value);
    known.propertyFormat = parser.value(format);
    known.allowWrites = !parser.isSet(readOnly);

    const Conformance::Report report = Conformance::run(*network->implementation(), known);
    std::fputs(qPrintable(report.toText()), stdout);
    return report.passed() ? 0 : 1;
}
