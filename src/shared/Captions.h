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

#include <QList>
#include <QString>

class QLabel;
class QWidget;

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

/// A column of captions with a column of values to its right, as a control's form places
/// them for the English captions. Longer captions move the values right (fitCaptionColumn).
struct CaptionColumn
{
    /// Where the captions end as designed (x in the control, the gap before the values not
    /// included).
    int designEnd = 0;
    /// Where the longest caption shown now ends (x in the control).
    int needed = 0;
    /// Widgets right of the captions, moved by the shift.
    QList<QWidget *> moved;
    /// Widgets that span both columns (a frame, a field under them), widened by the shift.
    QList<QWidget *> widened;
    /// Captions that take the column's new width, from their own x to needed, on a shift.
    QList<QWidget *> captions;
    /// When true, a shorter caption later leaves the column as wide as it became; when
    /// false, the column narrows again, never below its design width.
    bool growOnly = true;
};

/// Moves a control's value column so that its captions fit: by how far @p column.needed
/// passes @p column.designEnd, less the @p growth already applied. On a shift it moves and
/// widens the column's widgets, adds the shift to @p growth, and resizes @p control to its
/// size hint. Returns the shift in pixels (0 when nothing moved).
VQ_EXPORT int fitCaptionColumn(QWidget *control, int &growth, const CaptionColumn &column);

} // namespace MKorvane
