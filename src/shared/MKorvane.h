// SPDX-License-Identifier: MIT
/// @file
/// The shared module of the library: include this to reach all of it.
#pragma once

#include "shared/Captions.h"
#include "shared/Checked.h"
#include "shared/CpAccess.h"
#include "shared/DeviceState.h"
#include "shared/Enumerations.h"
#include "shared/Formats.h"
#include "shared/KeyCodes.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/ScreenChanges.h"
#include "shared/Seams.h"
#include "shared/Steps.h"
#include "shared/Strings.h"
#include "shared/ThemeColors.h"
#include "shared/Units.h"
#include "shared/WheelGuard.h"
