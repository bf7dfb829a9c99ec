// SPDX-License-Identifier: MIT
// Virtual-key numbers of key presses: every class of key, with and without typed text.
#include "shared/KeyCodes.h"

#include <QKeyEvent>
#include <QtTest>

class tst_keycodes : public QObject
{
    Q_OBJECT

private slots:
    void virtualKeyCode_data();
    void virtualKeyCode();
};

// Every key class a keyboard produces, with the numbers written out as hosts know them.
void tst_keycodes::virtualKeyCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    const auto add = [](const QString &name, int key, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::newRow(qPrintable(name)) << key << modifiers << code;
    };
    for (int i = 0; i < 26; ++i)
        add(QString(QChar('A' + i)), Qt::Key_A + i, 65 + i);
    for (int i = 0; i < 10; ++i)
        add(QString::number(i), Qt::Key_0 + i, 48 + i);
    // The digit row's shifted symbols give the digits' numbers.
    const QString shifted = QStringLiteral(")!@#$%^&*(");
    for (int i = 0; i < 10; ++i)
        add(shifted.at(i), shifted.at(i).unicode(), 48 + i, Qt::ShiftModifier);
    const QVector<std::tuple<char, char, int>> punctuation = { { ';', ':', 186 }, { '=', '+', 187 }, { ',', '<', 188 },
        { '-', '_', 189 }, { '.', '>', 190 }, { '/', '?', 191 }, { '`', '~', 192 }, { '[', '{', 219 },
        { '\\', '|', 220 }, { ']', '}', 221 }, { '\'', '"', 222 } };
    for (const auto &[plain, shift, code] : punctuation) {
        add(QString(QChar(plain)), plain, code);
        add(QString(QChar(shift)), shift, code, Qt::ShiftModifier);
    }
    for (int i = 0; i < 10; ++i)
        add(QStringLiteral("keypad %1").arg(i), Qt::Key_0 + i, 96 + i, Qt::KeypadModifier);
    const QVector<std::tuple<int, int, QString>> keypad
        = { { Qt::Key_Asterisk, 106, "*" }, { Qt::Key_Plus, 107, "+" }, { Qt::Key_Comma, 108, "separator" },
              { Qt::Key_Minus, 109, "-" }, { Qt::Key_Period, 110, "." }, { Qt::Key_Slash, 111, "/" } };
    for (const auto &[key, code, name] : keypad)
        add("keypad " + name, key, code, Qt::KeypadModifier);
    // With Num Lock off the keypad gives navigation keys, and both Enter keys are one to a host.
    add("keypad Home", Qt::Key_Home, 36, Qt::KeypadModifier);
    add("keypad Delete", Qt::Key_Delete, 46, Qt::KeypadModifier);
    add("keypad Enter", Qt::Key_Enter, 13, Qt::KeypadModifier);
    for (int i = 0; i < 24; ++i)
        add(QStringLiteral("F%1").arg(i + 1), Qt::Key_F1 + i, 112 + i);
    const QVector<std::tuple<int, int, QString>> special = { { Qt::Key_Shift, 16, "Shift" },
        { Qt::Key_Control, 17, "Control" }, { Qt::Key_Alt, 18, "Alt" }, { Qt::Key_Meta, 91, "Windows" },
        { Qt::Key_Super_R, 92, "right Windows" }, { Qt::Key_Menu, 93, "Menu" }, { Qt::Key_Return, 13, "Return" },
        { Qt::Key_Escape, 27, "Escape" }, { Qt::Key_Tab, 9, "Tab" }, { Qt::Key_Backspace, 8, "Backspace" },
        { Qt::Key_Space, 32, "Space" }, { Qt::Key_Pause, 19, "Pause" }, { Qt::Key_CapsLock, 20, "CapsLock" },
        { Qt::Key_NumLock, 144, "NumLock" }, { Qt::Key_ScrollLock, 145, "ScrollLock" }, { Qt::Key_Print, 44, "Print" },
        { Qt::Key_PageUp, 33, "PageUp" }, { Qt::Key_PageDown, 34, "PageDown" }, { Qt::Key_End, 35, "End" },
        { Qt::Key_Home, 36, "Home" }, { Qt::Key_Left, 37, "Left" }, { Qt::Key_Up, 38, "Up" },
        { Qt::Key_Right, 39, "Right" }, { Qt::Key_Down, 40, "Down" }, { Qt::Key_Insert, 45, "Insert" },
        { Qt::Key_Delete, 46, "Delete" }, { Qt::Key_Help, 47, "Help" }, { Qt::Key_VolumeUp, 175, "VolumeUp" } };
    for (const auto &[key, code, name] : special)
        add(name, key, code);
    add(QStringLiteral("Backtab"), Qt::Key_Backtab, 9, Qt::ShiftModifier);
    // Keys without a number of their own stay above 255: characters by their code point.
    add(QStringLiteral("a umlaut"), Qt::Key_Adiaeresis, 256 + 0xC4);
    add(QStringLiteral("CJK character"), 0x9F8D, 32767);
    add(QStringLiteral("dead grave"), Qt::Key_Dead_Grave, 32767);
}

void tst_keycodes::virtualKeyCode()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    // The typed text does not decide: "." from the keypad is still the keypad's key.
    const QKeyEvent typed(QEvent::KeyPress, key, modifiers, key < 0x10000 ? QString(QChar(key)) : QString());
    QCOMPARE(int(MKorvane::VirtualKeyCode(typed)), code);
    QCOMPARE(int(MKorvane::VirtualKeyCode(QKeyEvent(QEvent::KeyPress, key, modifiers))), code);
}

QTEST_MAIN(tst_keycodes)
#include "tst_keycodes.moc"
