// SPDX-License-Identifier: MIT
// Colours taken from the theme. The controls paint with their palette's roles; where a
// widget shows another role than its own (a locked field on the panel's colour) it keeps
// following that role when the theme changes.
#pragma once

#include "shared/ThemeColors.h"

#include <QPalette>

class QWidget;

namespace MKorvane {

// Paints `role` of `field` in the colour `from` has in its parent's palette, now and whenever
// the parent's palette changes; QPalette::NoRole lets the field inherit `role` again.
void TakeParentRole(QWidget *field, QPalette::ColorRole role, QPalette::ColorRole from);

} // namespace MKorvane
