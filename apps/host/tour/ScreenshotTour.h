// SPDX-License-Identifier: MIT
// The demo without a display: the host window, drawn offscreen, shows each input of the
// network in turn; a picture of the window is saved per input and what the control
// showed is printed.
#pragma once

#include <QString>

namespace Host {

// picture: the path of the first picture, e.g. docs/host-hardware.png; the others are
// named after it with the device and input appended. Returns the process exit code.
int runScreenshotTour(const QString &database, bool reset, const QString &picture);

} // namespace Host
