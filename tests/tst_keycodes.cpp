// SPDX-License-Identifier: MIT
// Virtual-key numbers of key presses: every class of key, with and without typed text. The
// ranges are walked whole; of the named keys each class has a few, with the numbers written
// out as hosts know them.
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

void tst_keycodes::virtualKeyCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    const auto add = [](const QString &name, int key, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::newRow(qPrintable(name)) << key << modifiers << code;
    };
    // The digit row's shifted symbols give the digits' numbers.
    const QString shifted = QStringLiteral(")!@#$%^&*(");
    for (int i = 0; i < 10; ++i) {
        add(QString::number(i), Qt::Key_0 + i, 48 + i);
        add(shifted.at(i), shifted.at(i).unicode(), 48 + i, Qt::ShiftModifier);
        add(QStringLiteral("keypad %1").arg(i), Qt::Key_0 + i, 96 + i, Qt::KeypadModifier);
    }
    for (int i = 0; i < 26; ++i)
        add(QString(QChar('A' + i)), Qt::Key_A + i, 65 + i);
    for (int i = 0; i < 24; ++i)
        add(QStringLiteral("F%1").arg(i + 1), Qt::Key_F1 + i, 112 + i);
    // Punctuation keys with their shifted symbols, the keypad's own keys; with Num Lock off the
    // keypad gives navigation keys, and both Enter keys are one to a host.
    const QVector<std::tuple<int, int, const char *, Qt::KeyboardModifiers>> named = {
        { ';', 186, ";", Qt::NoModifier }, { ':', 186, ":", Qt::ShiftModifier }, { '/', 191, "/", Qt::NoModifier },
        { '?', 191, "?", Qt::ShiftModifier }, { '\'', 222, "'", Qt::NoModifier }, { '"', 222, "\"", Qt::ShiftModifier },
        { Qt::Key_Asterisk, 106, "keypad *", Qt::KeypadModifier },
        { Qt::Key_Comma, 108, "keypad separator", Qt::KeypadModifier },
        { Qt::Key_Slash, 111, "keypad /", Qt::KeypadModifier }, { Qt::Key_Home, 36, "keypad Home", Qt::KeypadModifier },
        { Qt::Key_Enter, 13, "keypad Enter", Qt::KeypadModifier }, { Qt::Key_Home, 36, "Home", Qt::NoModifier },
        { Qt::Key_Return, 13, "Return", Qt::NoModifier }, { Qt::Key_Shift, 16, "Shift", Qt::NoModifier },
        { Qt::Key_Meta, 91, "Windows", Qt::NoModifier }, { Qt::Key_Super_R, 92, "right Windows", Qt::NoModifier },
        { Qt::Key_Print, 44, "Print", Qt::NoModifier }, { Qt::Key_Help, 47, "Help", Qt::NoModifier },
        { Qt::Key_VolumeUp, 175, "VolumeUp", Qt::NoModifier }, { Qt::Key_Backtab, 9, "Backtab", Qt::ShiftModifier },
        // Keys without a number of their own stay above 255: characters by their code point.
        { Qt::Key_Adiaeresis, 256 + 0xC4, "a umlaut", Qt::NoModifier }, { 0x9F8D, 32767, "CJK", Qt::NoModifier },
        { Qt::Key_Dead_Grave, 32767, "dead grave", Qt::NoModifier }
    };
    for (const auto &[key, code, name, modifiers] : named)
        add(QLatin1String(name), key, code, modifiers);
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
