// SPDX-License-Identifier: MIT
// Networks of any size for the scale measurements of the simulated network: the sample
// database with its devices replicated round robin under unique names.
#pragma once

#include <QByteArray>

namespace Bench {

// A database with `deviceCount` devices: the sample's devices first, then copies named
// "<name> copy <n>". Everything else (resources, languages, system) stays as it is.
QByteArray replicateDevices(const QByteArray &sampleJson, int deviceCount);

} // namespace Bench
