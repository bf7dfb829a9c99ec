// SPDX-License-Identifier: MIT
// Test-only access to the process-wide state: not part of the installed headers, so a
// host cannot wipe the state that its controls share.
#pragma once

#include "shared/ProcessState.h"
#include "vqzovezuvaveva_export.h"

namespace MKorvane {

// Back to the state of a fresh process. Only test fixtures call this.
VQ_AUTOTEST_EXPORT void resetForTests();

} // namespace MKorvane
