// SPDX-License-Identifier: MIT
// The host's colours that say something (a problem, a deviation), taken from the theme: a
// hue of the host's own at the lightness that keeps it readable on the palette's background.
#pragma once

#include "shared/ThemeColors.h"

#include <QPalette>

namespace Host {

// Text that reports a problem (a device that cannot be configured, a write that would fail):
// red, readable as body text (4.5:1) on `background`.
inline QColor problemColor(const QPalette &palette, QPalette::ColorRole background = QPalette::Base)
{
    return MKorvane::ReadableTint(0, palette.color(background), palette.color(QPalette::Text), 4.5);
}

// A mark that draws the eye to a field (a value off the input type's default): orange, as
// distinct from its background as a graphic must be (3:1).
inline QColor markColor(const QPalette &palette, QPalette::ColorRole background = QPalette::Window)
{
    return MKorvane::ReadableTint(30, palette.color(background), palette.color(QPalette::Text), 3.0);
}

} // namespace Host
