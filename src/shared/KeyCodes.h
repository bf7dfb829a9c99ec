// SPDX-License-Identifier: MIT
// Key presses as a host of the controls sees them: virtual-key numbers and the shift
// state, and a relay that raises a control's KeyDown once per key pressed in the
// control or one of its fields.
#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace MKorvane {

// The virtual-key number of a key press.
qint16 VirtualKeyCode(const QKeyEvent &event);

// Shift 1, Ctrl 2, Alt 4, added together.
qint16 ShiftState(Qt::KeyboardModifiers modifiers);

// Watches a control and the fields it names; calls the handler once for every key
// pressed in any of them. A key that a field leaves unused travels on to the control as
// the same event, and is not passed on a second time.
class KeyDownRelay : public QObject
{
public:
    using Handler = std::function<void(qint16 &KeyCode, qint16 &Shift)>;

    KeyDownRelay(QWidget *control, const QList<QWidget *> &fields, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void forward(const QKeyEvent &event);

    QWidget *m_control;
    Handler m_handler;
    // The key press last passed on for a field; the mark lasts until the event loop runs again.
    const QEvent *m_forwarded = nullptr;
};

} // namespace MKorvane
