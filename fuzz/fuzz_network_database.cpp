// SPDX-License-Identifier: MIT
// Fuzzes the network database reader. Any input either loads or is refused with a
// LoadError; a network that loads shows every stored value in its default format and
// writes a database in Qt's own layout that loads again to the same text.
#include "../tests/support/SavedTextOracle.h"
#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    std::shared_ptr<Sim::Network> network;
    try {
        network = Sim::Network::fromJson(json, QStringLiteral("fuzz"));
    } catch (const Sim::LoadError &) {
        return 0;
    }
    for (const auto &device : network->model().devices) {
        for (const auto &block : device->blocks) {
            for (const auto &cp : block->cps) {
                try {
                    network->storedCpText(device->name, block->name, cp->name);
                } catch (const DeviceAccess::DeviceError &) {
                    // a value that no format of its type can show is allowed to say so
                } catch (const std::invalid_argument &) {
                    // two blocks or properties whose names differ only in letter case
                }
            }
        }
    }
    const QByteArray written = network->toJson();
    if (TestSupport::qtWrittenSave(written) != written)
        std::abort(); // the text Qt writes for the same document, byte for byte
    try {
        if (Sim::Network::fromJson(written, QStringLiteral("written"))->toJson() != written)
            std::abort();
    } catch (const Sim::LoadError &) {
        std::abort(); // what was written must load again
    }
    return 0;
}
