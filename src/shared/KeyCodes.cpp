// SPDX-License-Identifier: MIT
// Virtual-key numbers of key presses and the relay of key presses to a control's host.
#include "shared/KeyCodes.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace MKorvane {

qint16 VirtualKeyCode(const QKeyEvent &event)
{
    const int key = event.key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Space)
        return qint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return qint16(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return qint16(key & 0x7fff);
    }
}

qint16 ShiftState(Qt::KeyboardModifiers modifiers)
{
    qint16 shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

KeyDownRelay::KeyDownRelay(QWidget *control, const QList<QWidget *> &fields, Handler handler)
    : QObject(control)
    , m_control(control)
    , m_handler(std::move(handler))
{
    for (QWidget *field : fields)
        field->installEventFilter(this);
    control->installEventFilter(this);
}

bool KeyDownRelay::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    if (watched != m_control) {
        forward(static_cast<const QKeyEvent &>(*event));
        m_forwarded = event;
        QTimer::singleShot(0, this, [this] { m_forwarded = nullptr; });
    } else if (event == m_forwarded) {
        m_forwarded = nullptr;
    } else {
        forward(static_cast<const QKeyEvent &>(*event));
    }
    return false;
}

void KeyDownRelay::forward(const QKeyEvent &event)
{
    qint16 KeyCode = VirtualKeyCode(event);
    qint16 Shift = ShiftState(event.modifiers());
    m_handler(KeyCode, Shift);
}

} // namespace MKorvane
