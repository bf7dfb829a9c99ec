// SPDX-License-Identifier: MIT
// The preview and the copy as script commands. Wire each function to the window's
// feature here and set available; the runner prints changes and targets as they come.
#include "ScriptFeatures.h"

#include "HostWindow.h"

namespace Host {

ScriptFeatureResult previewPendingWrites(HostWindow &window)
{
    Q_UNUSED(window)
    return ScriptFeatureResult();
}

ScriptFeatureResult copyToInputs(HostWindow &window, const QList<InputRef> &targets)
{
    Q_UNUSED(window)
    Q_UNUSED(targets)
    return ScriptFeatureResult();
}

} // namespace Host
