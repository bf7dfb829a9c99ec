// SPDX-License-Identifier: MIT
// vq_make_network <devices> <output.json> [sample.json]: writes a network database with
// that many devices, replicated from the sample network under unique names.
#include "NetworkGenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int devices = args.size() >= 3 ? args.at(1).toInt(&ok) : 0;
    if (!ok || devices < 1) {
        std::fprintf(stderr, "usage: vq_make_network <devices> <output.json> [sample.json]\n");
        return 2;
    }
    QFile sample(args.size() >= 4 ? args.at(3) : QStringLiteral(VQ_SAMPLE_NETWORK));
    if (!sample.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vq_make_network: cannot read %s\n", qPrintable(sample.fileName()));
        return 1;
    }
    QSaveFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(Bench::replicateDevices(sample.readAll(), devices)) < 0
        || !out.commit()) {
        std::fprintf(stderr, "vq_make_network: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
