// SPDX-License-Identifier: MIT
// The hardware control's reactions to the user: the transfer-table editor, the multi-level
// value across interpretations and key forwarding to the host.
#include "tst_hardware_harness.h"

#include "device/DeviceAccess.h"

#include <QAbstractItemView>

using namespace HardwareTest;

class tst_hardware_events : public QObject
{
    Q_OBJECT

private slots:
    // Kilo-ohms are entered in ohms; outputs are checked against the range of the type; the last
    // edit is offered again. OK takes the table, Cancel keeps the device's one or an earlier OK;
    // Cancel too counts as a change.
    void transferTableEditor()
    {
        for (const auto &[buttons, tableWritten] : { std::pair { QStringList { "cmdOK" }, true },
                 { QStringList { "cmdCancel" }, false }, { QStringList { "cmdOK", "cmdCancel" }, true } }) {
            const auto named = TestSupport::failureNamesRow(buttons.join(','));
            Harness h;
            QVERIFY(h.open(1, SnvtTempP, "UCPTinputSignalInterpretation=TRANS_TABLE;UCPTinputSignalType=RESISTANCE"));
            QCOMPARE(h.shown("lblSelectorUnit"), QStringLiteral("K Ohm"));
            QStringList table = h.stored("UCPTtransTable").split(' ');
            QStringList seen; // input label, first output and its tooltip of each session
            for (const QString &button : buttons) {
                h.editTable(button, [&](QDialog &editor) {
                    auto *output = editor.findChild<QLineEdit *>("txtTable_1");
                    seen << editor.findChild<QLabel *>("lblResis")->text() << output->text() << output->toolTip();
                    if (button == "cmdOK")
                        output->setText("7"); // OK after typing 7
                });
            }
            QCOMPARE(h.seams.modalCount(), buttons.size());
            QVERIFY2(seen.value(0).contains("(Ohm)"), qPrintable(seen.value(0)));
            QCOMPARE(seen.value(2), QStringLiteral("Value in [-273.17, 327.66]"));
            QCOMPARE(seen.value(1), table.at(1));
            QCOMPARE(seen.value(4), buttons.size() > 1 ? QStringLiteral("7") : QString());
            QVERIFY(h.control->ValueChanged());
            h.sim->clearCallLog();
            QCOMPARE(h.control->WriteValue(), false);
            table[1] = "7";
            QCOMPARE(h.calls("UCPTtransTable"), tableWritten ? QStringList { table.join(' ') } : QStringList());
            QCOMPARE(h.events, QStringList());
        }
    }

    // On version 1 the multi-level value typed into the offset box stays while the user tries
    // another interpretation: back on MULTI_LEVEL the box shows it again.
    void multiLevelValueKeptAcrossInterpretations()
    {
        QStringList table;
        for (int i = 0; i < 32; ++i)
            table << QString::number(i == 30 ? 3 : i);
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, "UCPTinputSignalInterpretation=MULTI_LEVEL;UCPTtransTable=" + table.join(' ')));
        QCOMPARE(h.shown("txtOff"), QStringLiteral("3"));
        QVERIFY(h.edit("txtOff", "11"));
        QVERIFY(h.choose("LINEAR"));
        QVERIFY(h.choose("MULTI_LEVEL"));
        QCOMPARE(h.shown("txtOff"), QStringLiteral("11"));
    }

    void keyDownOncePerKey()
    {
        Harness h;
        QVERIFY(h.open(1));
        QStringList keys;
        QObject::connect(h.control.get(), &ctlSensorHardware::KeyDown, h.control.get(),
            [&](qint16 &KeyCode, qint16 &Shift) { keys.append(QStringLiteral("%1/%2").arg(KeyCode).arg(Shift)); });
        // F5 is used by no child and travels on to the control; modifier keys go down first and
        // are forwarded as keys of their own (16, 17, 18); the keypad is no part of the shift state.
        const Qt::KeyboardModifiers all
            = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier;
        const QVector<std::tuple<Qt::Key, Qt::KeyboardModifiers, QStringList>> presses
            = { { Qt::Key_F5, Qt::NoModifier, { "116/0" } }, { Qt::Key_A, Qt::ShiftModifier, { "16/1", "65/1" } },
                  { Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier, { "17/2", "18/6", "46/6" } },
                  { Qt::Key_Delete, all, { "16/1", "17/3", "18/7", "46/7" } } };
        for (const char *target : { "cboInput", "cboMax", "cboMin", "cboSignal", "cboTherm", "chkReverse", "cmdTable",
                 "cmdValue", "txtMax", "txtMin", "txtOff", "txtSelector", "txtValue", "" }) {
            QWidget *receiver = *target ? h.widget(target) : h.control.get();
            for (const auto &[key, modifiers, expected] : presses) {
                keys.clear();
                QTest::keyClick(receiver, key, modifiers);
                QCOMPARE(target + (": " + keys.join(' ')), target + (": " + expected.join(' ')));
            }
        }
    }

    void onlyCaptionsTakeTheLanguageFace()
    {
        Harness h;
        QVERIFY(h.open(1));
        const QStringList captions { "Frame1", "cmdValue", "cmdTable", "lblSelectorUnit", "lblSelector", "lblTherm",
            "lblMax", "lblMin", "lblOff", "lblSignal", "lblReverse", "lblCboSignal" };
        const QStringList others { "txtMin", "txtMax", "txtOff", "txtSelector", "txtValue", "cboSignal", "cboInput",
            "cboTherm", "cboMin", "cboMax", "chkReverse", "lblValue", "lblUnitOffset", "lblUnitMinRange",
            "lblUnitMaxRange" };
        // Each widget's face, or `face` for each.
        const auto faces = [&](const QStringList &names, const QString &face = QString()) {
            QStringList result;
            for (const QString &name : names)
                result << name + ": " + (face.isEmpty() ? h.widget(name)->font().family() : face);
            return result;
        };
        const QStringList before = faces(others);

        h.sim->setLanguage(QStringLiteral("de"));
        const QString german = DeviceAccess::languageService().GetFontName();
        QVERIFY(!before.join(' ').contains(german));
        // The lists build their pop-ups only when first opened (building them is most of the
        // cost of building a control), and the pop-ups show the lists' own face.
        const QStringList lists { "cboSignal", "cboInput", "cboTherm", "cboMin", "cboMax" };
        for (const QString &name : lists)
            QVERIFY2(!h.widget(name)->findChild<QAbstractItemView *>(), qPrintable(name));
        h.control->ReInitializeStrings();
        QCOMPARE(faces(captions), faces(captions, german));
        QCOMPARE(faces(others), before);
        QStringList popups;
        for (const QString &name : lists)
            popups << name + ": " + static_cast<QComboBox *>(h.widget(name))->view()->font().family();
        QCOMPARE(popups, faces(lists));
    }
};

QTEST_MAIN(tst_hardware_events)
#include "tst_hardware_events.moc"
