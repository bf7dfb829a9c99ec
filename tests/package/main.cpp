// SPDX-License-Identifier: MIT
// Links the installed library and simulated network and uses one procedure of each.
#include <device/sim/SimNetwork.h>
#include <shared/MKorvane.h>

#include <cstdio>

int main()
{
    QString prefix, base, suffix;
    MKorvane::SplitFormatName(QStringLiteral("#9000A53D0A040410[3].SNVT_temp_p#US"), prefix, base, suffix);
    if (base != QLatin1String("SNVT_temp_p") || suffix != QLatin1String("#US")) {
        std::puts("consumer: unexpected split");
        return 1;
    }
    try {
        Sim::Network::fromJson("{", QStringLiteral("broken.json"));
        std::puts("consumer: a broken database was accepted");
        return 1;
    } catch (const Sim::LoadError &) {
    }
    std::puts("consumer: ok");
    return 0;
}
