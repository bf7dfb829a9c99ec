// SPDX-License-Identifier: MIT
/// @file
/// Pauses for pending events only where the user would see something new: a control
/// notes what changed on screen since its last pause (widgets shown, hidden, moved or
/// resized, texts and selections changed) and lets the toolkit process pending events
/// only when there is something to show. A control that is not on screen never pauses.
///
/// Where a pause still processes events: only between the steps of a handler of the
/// user's own choice (a new interpretation or signal type), so that the finished layout is
/// on screen while the device is read for it. While a control initialises, reads its
/// values or applies a layout it holds its pauses (Hold): no pending event is processed,
/// nothing half-done is painted, and the control paints once, in its final state, when the
/// host's event loop next runs. A handler that such work raises (a list given its stored
/// item) runs under the same hold.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QHash>
#include <QObject>
#include <QWidget>
#include <initializer_list>

class QComboBox;

namespace MKorvane {

/// What changed on screen since a control's last pause for pending events (see above).
class VQ_EXPORT ScreenChanges : public QObject
{
public:
    /// A record with nothing pending; owned by its parent (the control).
    explicit ScreenChanges(QObject *parent = nullptr);

    /// Watches widgets: their geometry and visibility, and the text or selection of text
    /// boxes, lists and check boxes. Watch before connecting the control's own handlers,
    /// so that a handler's first pause already knows of the change that raised it.
    void watch(std::initializer_list<QWidget *> widgets);

    /// A change of `widget` that no watched signal reports (a label's caption, or what a
    /// host did in reply to an event): it counts when the widget is on screen.
    void note(const QWidget *widget);

    /// Lets the toolkit process pending events (DoEvents) when something changed on
    /// screen since the last pause and no hold is active; returns whether it paused.
    /// Changes made under a hold stay noted for the first pause after it.
    bool pause();

    /// Holds every pause of `changes` for its lifetime; holds nest.
    class Hold
    {
    public:
        /// Starts holding the pauses of `changes`, which must outlive the hold.
        explicit Hold(ScreenChanges *changes)
            : m_changes(changes)
        {
            ++m_changes->m_holds;
        }
        ~Hold() { --m_changes->m_holds; }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        ScreenChanges *m_changes;
    };

    /// Whether something changed on screen since the last pause.
    bool pending() const { return m_pending; }

protected:
    /// Notes moves, resizes, shows and hides of watched widgets; never consumes an event.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectionChanged(QComboBox *combo);

    bool m_pending = false;
    int m_holds = 0;
    /// The text each list showed at the last pause: a list rebuilt and given its item
    /// back shows nothing new.
    QHash<const QComboBox *, QString> m_listTexts;
};

} // namespace MKorvane
