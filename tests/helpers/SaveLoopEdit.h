// SPDX-License-Identifier: MIT
// The edit that the save-loop helper and the test that kills it both make: the transfer
// table of every block set to one of two texts. The test takes the database texts it
// expects from this edit; the helper saves them in turn.
#pragma once

#include "device/sim/SimNetwork.h"

namespace SaveLoop {

inline QString tableText(int variant)
{
    return variant == 0
        ? QStringLiteral("0 0 1 10 2 20 3 30 4 40 5 50 6 60 7 70 8 80 9 90 10 100 11 110 12 120 13 130 14 140 15 150")
        : QStringLiteral("0 5 1 15 2 25 3 35 4 45 5 55 6 65 7 75 8 85 9 95 10 105 11 115 12 125 13 135 14 145 15 155");
}

inline void applyVariant(Sim::Network &network, int variant)
{
    for (const QString &device : network.deviceNames()) {
        for (const QString &block : network.blockNames(device))
            network.setStoredCpText(device, block, QStringLiteral("UCPTtransTable"), tableText(variant));
    }
}

} // namespace SaveLoop
