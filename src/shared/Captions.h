// SPDX-License-Identifier: MIT
/// @file
/// Captions that grow to their text. Labels are sized at design time for their English
/// caption in "MS Sans Serif"; a translated caption or a fallback face may need more room,
/// so a label grows to its text (never shrinks), keeping its position and height. The text
/// is measured only when the caption or the face changed since the label last grew, and
/// only for a label that is not hidden: a hidden one grows when it is shown. Work that may
/// caption a label several times (a layout) measures it once, at its end (CaptionBatch).
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>

class QLabel;

namespace MKorvane {

/// Sets a label's caption and lets the label grow to it; returns whether the caption changed.
VQ_EXPORT bool setCaption(QLabel *label, const QString &caption);

/// Lets a label grow to the caption it shows, if it is not hidden and its caption or face
/// changed since it last grew (a face set after the caption, for example).
VQ_EXPORT void fitCaption(QLabel *label);

/// Defers the growing of labels captioned during its lifetime to its end, when only those
/// not hidden then grow, each once. Batches nest; the outermost one ends the deferral.
class VQ_EXPORT CaptionBatch
{
public:
    /// Starts deferring (or nests in the batch already open).
    CaptionBatch();
    /// Ends this batch; the outermost one lets the labels captioned meanwhile grow.
    ~CaptionBatch();
    CaptionBatch(const CaptionBatch &) = delete;
    CaptionBatch &operator=(const CaptionBatch &) = delete;
};

} // namespace MKorvane
