// SPDX-License-Identifier: MIT
// The preview and the copy as script commands, wired to the window's features when the
// build has them (their headers are there) and "not available" otherwise.
#include "ScriptFeatures.h"

#include "window/HostWindow.h"

#if __has_include("preview/WritePreview.h")
#include "preview/WritePreview.h"
#define VQ_SCRIPT_PREVIEW 1
#endif
#if __has_include("inputtypes/ConfigurationCopy.h")
#include "inputtypes/ConfigurationCopy.h"
#define VQ_SCRIPT_COPY 1
#endif

namespace Host {

#ifdef VQ_SCRIPT_PREVIEW
bool hasPreview()
{
    return true;
}

ScriptFeatureResult previewPendingWrites(HostWindow &window)
{
    // The dry run itself, without the window's dialog: a script reads the rows.
    ScriptFeatureResult result;
    const PreviewResult preview = previewWrites(*window.network(), *window.page());
    for (const PreviewRow &row : preview.rows) {
        result.changes << PreviewChange { row.owner, row.property, row.oldText, row.newText, row.unit, row.failed,
            row.failure.isEmpty() ? QStringList() : QStringList { row.failure } };
    }
    result.messages = preview.messages;
    int failing = 0;
    for (const PreviewChange &change : std::as_const(result.changes))
        failing += change.failed ? 1 : 0;
    result.ok = preview.error.isEmpty() && preview.controlsKept;
    result.detail = !preview.error.isEmpty() ? QStringLiteral("no preview: %1").arg(preview.error)
        : !preview.controlsKept
        ? QStringLiteral("the controls changed during the preview")
        : QStringLiteral("%1 changes, %2 of them failing; nothing was written").arg(result.changes.size()).arg(failing);
    return result;
}
#else
bool hasPreview()
{
    return false;
}

ScriptFeatureResult previewPendingWrites(HostWindow &)
{
    return ScriptFeatureResult();
}
#endif

#ifdef VQ_SCRIPT_COPY
bool hasCopy()
{
    return true;
}

ScriptFeatureResult copyToInputs(HostWindow &window, const QList<InputRef> &targets)
{
    ScriptFeatureResult result;
    const CopySummary summary = window.copyToInputs(QVector<InputRef>(targets.begin(), targets.end()));
    const auto listed = [](const QVector<CopyProperty> &properties) {
        QStringList lines;
        for (const CopyProperty &p : properties)
            lines << QStringLiteral("%1: %2").arg(p.property, p.reason);
        return lines;
    };
    for (const CopyTargetResult &one : summary.targets)
        result.targets << CopyTargetOutcome { one.target, one.written, one.reason, one.properties, listed(one.failed),
            one.restored, listed(one.notRestored) };
    result.ok = summary.succeeded();
    result.detail = summary.error.isEmpty()
        ? QStringLiteral("copied to %1 of %2 inputs%3")
              .arg(summary.writtenCount())
              .arg(summary.targets.size())
              .arg(summary.saved ? QStringLiteral(", saved") : QStringLiteral(", not saved"))
        : summary.error;
    return result;
}
#else
bool hasCopy()
{
    return false;
}

ScriptFeatureResult copyToInputs(HostWindow &, const QList<InputRef> &)
{
    return ScriptFeatureResult();
}
#endif

} // namespace Host
