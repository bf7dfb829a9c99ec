// SPDX-License-Identifier: MIT
/// @file
/// Colours that follow the theme: the contrast of two colours, and a colour of a given hue
/// made readable on a palette's background. The controls paint their problem marks with
/// these; a host can paint its own marks the same way, so a dark theme gets a light red
/// where a light theme gets a dark one.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QColor>

namespace MKorvane {

/// The contrast ratio of two colours as WCAG 2 defines it: 1 (none) to 21 (black on white).
VQ_EXPORT double ContrastRatio(const QColor &a, const QColor &b);

/// A colour of `hue` (degrees, 0 to 359), as near full colour as reaches `ratio` of
/// contrast against `background`: darker on a light background, lighter on a dark one.
/// `fallback` (usually the palette's text colour) where no lightness reaches it.
VQ_EXPORT QColor ReadableTint(int hue, const QColor &background, const QColor &fallback, double ratio);

} // namespace MKorvane
