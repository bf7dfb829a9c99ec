// SPDX-License-Identifier: MIT
// Loads a network database and saves it over and over, switching between the two
// variants of SaveLoopEdit.h, until it is killed. On standard output it writes "s" as a
// save starts and "d" when it is done, so that the test that kills it can tell whether
// the kill came in the middle of a save.
//   save_loop <database>
#include "helpers/SaveLoopEdit.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: save_loop <database>\n", stderr);
        return 2;
    }
    try {
        const std::shared_ptr<Sim::Network> network = Sim::Network::load(QString::fromLocal8Bit(argv[1]));
        for (int variant = 1;; variant = 1 - variant) {
            SaveLoop::applyVariant(*network, variant);
            std::fputc('s', stdout);
            std::fflush(stdout);
            network->save();
            std::fputc('d', stdout);
            std::fflush(stdout);
        }
    } catch (const Sim::LoadError &error) {
        std::fprintf(stderr, "save_loop: %s\n", error.what());
        return 1;
    }
}
