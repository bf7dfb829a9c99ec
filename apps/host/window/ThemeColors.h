// SPDX-License-Identifier: MIT
// Colours that say something (a problem, a deviation) taken from the theme: a hue of the
// host's own, at the lightness that keeps it readable on the palette's background, so a
// dark theme gets a light red where a light theme gets a dark one.
#pragma once

#include <QColor>
#include <QPalette>

namespace Host {

// The contrast ratio of two colours as WCAG 2 defines it (1 to 21).
double contrastRatio(const QColor &a, const QColor &b);

// A colour of `hue` (degrees) with at least `ratio` contrast against `background`; the
// palette's text colour where no such colour exists.
QColor readableTint(int hue, const QPalette &palette, QPalette::ColorRole background, double ratio);

// Text that reports a problem (a device that cannot be configured, a write that would fail):
// red, readable as body text (4.5:1) on `background`.
inline QColor problemColor(const QPalette &palette, QPalette::ColorRole background = QPalette::Base)
{
    return readableTint(0, palette, background, 4.5);
}

// A mark that draws the eye to a field (a value off the input type's default): orange, as
// distinct from its background as a graphic must be (3:1).
inline QColor markColor(const QPalette &palette, QPalette::ColorRole background = QPalette::Window)
{
    return readableTint(30, palette, background, 3.0);
}

} // namespace Host
