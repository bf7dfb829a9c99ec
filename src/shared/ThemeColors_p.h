// SPDX-License-Identifier: MIT
// Colours taken from the theme. The controls paint with their palette's roles; where a
// widget shows another role than its own (a locked field on the panel's colour) it keeps
// following that role when the theme changes, and the one colour of their own, the red of
// a problem, takes the lightness that keeps it readable on the palette's background.
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace MKorvane {

// The contrast ratio of two colours as WCAG 2 defines it: 1 (none) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);

// A colour of `hue` (degrees), as near full colour as reaches `ratio` against `background`;
// `fallback` (the palette's text colour) where no lightness does.
QColor ReadableTint(int hue, const QColor &background, const QColor &fallback, double ratio);

// Paints `role` of `field` in the colour `from` has in its parent's palette, now and whenever
// the parent's palette changes; QPalette::NoRole lets the field inherit `role` again.
void TakeParentRole(QWidget *field, QPalette::ColorRole role, QPalette::ColorRole from);

} // namespace MKorvane
