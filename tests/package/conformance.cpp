// SPDX-License-Identifier: MIT
// The conformance suite as an integrator links it: here run on the simulated network.
// Usage: conformance <network.json>; exit status 0 when every check passed.
#include <conformance/Conformance.h>
#include <device/sim/SimNetwork.h>

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const std::shared_ptr<Sim::Network> network = Sim::Network::load(QString::fromLocal8Bit(argv[1]));
    const QString device = QStringLiteral("HWI-Controller 1");
    Conformance::KnownDevice known;
    known.system = network->system();
    known.device = network->device(device);
    known.programId = network->programId(device);
    known.scope = network->scope(device);
    known.block = network->block(device, QStringLiteral("HwInput[0]"));
    known.propertyName = QStringLiteral("SCPTmaxRnge");
    known.propertyValueText = QStringLiteral("50");
    const Conformance::Report report = Conformance::run(*network->implementation(), known);
    if (!report.passed())
        std::fputs(qPrintable(report.toText()), stderr);
    return report.passed() ? 0 : 1;
}
