// SPDX-License-Identifier: MIT
/// @file
/// The mouse wheel changes a value only in the widget that has the focus: scrolling a page
/// over a list or a spin box the user has not clicked leaves its value alone and scrolls
/// the page instead.
#pragma once

#include "vqzovezuvaveva_export.h"

class QWidget;

namespace MKorvane {

/// Gives every list and spin box inside the form (the form itself included) the strong focus
/// policy (Tab and click, not the wheel, give them the focus) and passes a wheel turn over
/// such a widget without the focus on to the widget's parent. Widgets added to the form later
/// are not covered: call it again after adding them.
VQ_EXPORT void GuardWheel(QWidget *form);

} // namespace MKorvane
