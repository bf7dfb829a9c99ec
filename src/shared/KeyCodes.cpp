// SPDX-License-Identifier: MIT
// Virtual-key numbers of key presses and the relay of key presses to a control's host.
#include "shared/KeyCodes.h"

#include <QHash>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace MKorvane {
namespace {

// Keys of the main block and the special keys, by their position on a US keyboard: a shifted
// symbol is the key that types it ("!" is the key of "1").
const QHash<int, qint16> &mainKeys()
{
    static const QHash<int, qint16> keys = [] {
        QHash<int, qint16> k;
        for (int key = Qt::Key_0; key <= Qt::Key_9; ++key)
            k.insert(key, qint16(key));
        for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key)
            k.insert(key, qint16(key));
        for (int key = Qt::Key_F1; key <= Qt::Key_F24; ++key)
            k.insert(key, qint16(112 + (key - Qt::Key_F1)));
        const std::initializer_list<std::pair<int, qint16>> pairs = {
            // The digit row's shifted symbols.
            { Qt::Key_ParenRight, 48 },
            { Qt::Key_Exclam, 49 },
            { Qt::Key_At, 50 },
            { Qt::Key_NumberSign, 51 },
            { Qt::Key_Dollar, 52 },
            { Qt::Key_Percent, 53 },
            { Qt::Key_AsciiCircum, 54 },
            { Qt::Key_Ampersand, 55 },
            { Qt::Key_Asterisk, 56 },
            { Qt::Key_ParenLeft, 57 },
            // Punctuation keys, each with its shifted symbol.
            { Qt::Key_Semicolon, 186 },
            { Qt::Key_Colon, 186 },
            { Qt::Key_Equal, 187 },
            { Qt::Key_Plus, 187 },
            { Qt::Key_Comma, 188 },
            { Qt::Key_Less, 188 },
            { Qt::Key_Minus, 189 },
            { Qt::Key_Underscore, 189 },
            { Qt::Key_Period, 190 },
            { Qt::Key_Greater, 190 },
            { Qt::Key_Slash, 191 },
            { Qt::Key_Question, 191 },
            { Qt::Key_QuoteLeft, 192 },
            { Qt::Key_AsciiTilde, 192 },
            { Qt::Key_BracketLeft, 219 },
            { Qt::Key_BraceLeft, 219 },
            { Qt::Key_Backslash, 220 },
            { Qt::Key_Bar, 220 },
            { Qt::Key_BracketRight, 221 },
            { Qt::Key_BraceRight, 221 },
            { Qt::Key_Apostrophe, 222 },
            { Qt::Key_QuoteDbl, 222 },
            // Editing, control and modifier keys.
            { Qt::Key_Cancel, 3 },
            { Qt::Key_Backspace, 8 },
            { Qt::Key_Tab, 9 },
            { Qt::Key_Backtab, 9 },
            { Qt::Key_Clear, 12 },
            { Qt::Key_Return, 13 },
            { Qt::Key_Enter, 13 },
            { Qt::Key_Shift, 16 },
            { Qt::Key_Control, 17 },
            { Qt::Key_Alt, 18 },
            { Qt::Key_AltGr, 18 },
            { Qt::Key_Pause, 19 },
            { Qt::Key_CapsLock, 20 },
            { Qt::Key_Escape, 27 },
            { Qt::Key_Space, 32 },
            { Qt::Key_NumLock, 144 },
            { Qt::Key_ScrollLock, 145 },
            { Qt::Key_Meta, 91 },
            { Qt::Key_Super_L, 91 },
            { Qt::Key_Super_R, 92 },
            { Qt::Key_Menu, 93 },
            { Qt::Key_Sleep, 95 },
            // Navigation, also from the keypad with Num Lock off.
            { Qt::Key_PageUp, 33 },
            { Qt::Key_PageDown, 34 },
            { Qt::Key_End, 35 },
            { Qt::Key_Home, 36 },
            { Qt::Key_Left, 37 },
            { Qt::Key_Up, 38 },
            { Qt::Key_Right, 39 },
            { Qt::Key_Down, 40 },
            { Qt::Key_Select, 41 },
            { Qt::Key_Printer, 42 },
            { Qt::Key_Execute, 43 },
            { Qt::Key_Print, 44 },
            { Qt::Key_SysReq, 44 },
            { Qt::Key_Insert, 45 },
            { Qt::Key_Delete, 46 },
            { Qt::Key_Help, 47 },
            // Browser, volume and media keys.
            { Qt::Key_Back, 166 },
            { Qt::Key_Forward, 167 },
            { Qt::Key_Refresh, 168 },
            { Qt::Key_Stop, 169 },
            { Qt::Key_Search, 170 },
            { Qt::Key_Favorites, 171 },
            { Qt::Key_HomePage, 172 },
            { Qt::Key_VolumeMute, 173 },
            { Qt::Key_VolumeDown, 174 },
            { Qt::Key_VolumeUp, 175 },
            { Qt::Key_MediaNext, 176 },
            { Qt::Key_MediaPrevious, 177 },
            { Qt::Key_MediaStop, 178 },
            { Qt::Key_MediaTogglePlayPause, 179 },
            { Qt::Key_MediaPlay, 179 },
            { Qt::Key_LaunchMail, 180 },
            { Qt::Key_LaunchMedia, 181 },
            { Qt::Key_Launch0, 182 },
            { Qt::Key_Launch1, 183 },
        };
        for (const auto &[key, code] : pairs)
            k.insert(key, code);
        return k;
    }();
    return keys;
}

// Keys that have numbers of their own when they come from the keypad. Navigation keys of the
// keypad (Num Lock off) and its Enter are not here: they keep their main-block numbers.
const QHash<int, qint16> &keypadKeys()
{
    static const QHash<int, qint16> keys = [] {
        QHash<int, qint16> k;
        for (int key = Qt::Key_0; key <= Qt::Key_9; ++key)
            k.insert(key, qint16(96 + (key - Qt::Key_0)));
        k.insert(Qt::Key_Asterisk, 106);
        k.insert(Qt::Key_Plus, 107);
        k.insert(Qt::Key_Comma, 108); // the separator key
        k.insert(Qt::Key_Minus, 109);
        k.insert(Qt::Key_Period, 110);
        k.insert(Qt::Key_Slash, 111);
        return k;
    }();
    return keys;
}

} // namespace

qint16 VirtualKeyCode(const QKeyEvent &event)
{
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        const auto keypad = keypadKeys().constFind(key);
        if (keypad != keypadKeys().constEnd())
            return *keypad;
    }
    const auto main = mainKeys().constFind(key);
    if (main != mainKeys().constEnd())
        return *main;
    // No virtual-key number: above 255, so that no such key is ever taken for one that has a number.
    if (key > 0 && key < NoVirtualKey - UnnumberedKeyBase)
        return qint16(UnnumberedKeyBase + key);
    return NoVirtualKey;
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
