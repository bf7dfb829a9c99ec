// SPDX-License-Identifier: MIT
/// @file
/// Key presses as a host of the controls sees them: virtual-key numbers and the shift
/// state, and a relay that raises a control's KeyDown once per key pressed in the
/// control or one of its fields.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace MKorvane {

/// The virtual-key number of a key press, as hosts of such controls know it from Windows:
/// - letters 65-90 and digits 48-57; a symbol is the key that types it on a US keyboard, so the
///   digit row's shifted symbols give the digits' numbers ("!" 49) and the punctuation keys give
///   186-192 and 219-222 with or without Shift (";" and ":" 186, "=" "+" 187, "," "<" 188,
///   "-" "_" 189, "." ">" 190, "/" "?" 191, "`" "~" 192, "[" "{" 219, "\\" "|" 220, "]" "}" 221,
///   "'" and '"' 222);
/// - the keypad: digits 96-105, "*" 106, "+" 107, separator 108, "-" 109, "." 110, "/" 111; with
///   Num Lock off its keys are navigation keys and give their numbers (Home 36 ...);
/// - Backspace 8, Tab 9, Enter 13 (either key), Shift 16, Ctrl 17, Alt 18 (also AltGr), Pause 19,
///   Caps Lock 20, Escape 27, Space 32, Page Up/Down 33/34, End 35, Home 36, arrows 37-40,
///   Print 44, Insert 45, Delete 46, Help 47, the Windows keys 91/92, Menu 93, F1-F24 112-135,
///   Num Lock 144, Scroll Lock 145, and the browser, volume and media keys 166-183.
/// A key without a virtual-key number never gives one of 0-255: a character key gives
/// UnnumberedKeyBase plus its Unicode code point (an upper-case letter for letters), any other
/// key, and a character whose sum would not fit, gives NoVirtualKey.
constexpr qint16 UnnumberedKeyBase = 256;
constexpr qint16 NoVirtualKey = 32767; ///<  The code of a key that has none.
/// The virtual-key number of a key press by the rules above.
VQ_EXPORT qint16 VirtualKeyCode(const QKeyEvent &event);

/// Shift 1, Ctrl 2, Alt 4, added together.
VQ_EXPORT qint16 ShiftState(Qt::KeyboardModifiers modifiers);

/// Watches a control and the fields it names; calls the handler once for every key
/// pressed in any of them. A key that a field leaves unused travels on to the control as
/// the same event, and is not passed on a second time.
class VQ_EXPORT KeyDownRelay : public QObject
{
public:
    /// The host's KeyDown handler; it may change both numbers (the control does not read them back).
    using Handler = std::function<void(qint16 &KeyCode, qint16 &Shift)>;

    /// Watches control and fields (event filters); owned by control (its QObject parent).
    KeyDownRelay(QWidget *control, const QList<QWidget *> &fields, Handler handler);

protected:
    /// Passes key presses on to the handler; never consumes an event.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void forward(const QKeyEvent &event);

    QWidget *m_control;
    Handler m_handler;
    /// The key press last passed on for a field; the mark lasts until the event loop runs again.
    const QEvent *m_forwarded = nullptr;
};

} // namespace MKorvane
