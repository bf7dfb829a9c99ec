// SPDX-License-Identifier: MIT
// The hardware control's pauses for pending events: the user sees each change at once,
// but never a widget at a place it neither had nor ends in, and a control that is not
// on screen does not pause at all.
#include "tst_hardware_harness.h"

#include "shared/Seams.h"

#include <QMap>

using namespace HardwareTest;

namespace {

const QStringList placed = { "lblOff", "txtOff", "lblUnitOffset", "lblMax", "txtMax", "cboMax", "lblMin", "txtMin",
    "cboMin", "lblSelector", "txtSelector", "lblSelectorUnit", "lblTherm", "cboTherm", "cmdTable", "lblUnitMinRange" };

// Tops (in pixels) of the placed widgets, of those on screen or of all.
QMap<QString, int> tops(const Harness &h, bool shownOnly = true)
{
    QMap<QString, int> result;
    for (const QString &name : placed) {
        if (!shownOnly || h.widget(name)->isVisible())
            result.insert(name, h.widget(name)->y());
    }
    return result;
}

} // namespace

class tst_hardware_pauses : public QObject
{
    Q_OBJECT

private slots:
    void pausesShowOnlyStartAndEndPlaces_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen"); // empty: initialise the shown control a second time
        QTest::addColumn<int>("pauses"); // each with something new on screen since the one before

        const auto row = [](int version, const char *stored, const char *chosen, int pauses) {
            QTest::addRow("v%d %s, %s", version, stored, *chosen ? chosen : "initialised again")
                << version << stored << chosen << pauses;
        };
        row(2, "DIGITAL", "", 0);
        row(1, "MULTI_LEVEL", "", 0);
        row(2, "LINEAR", "DIGITAL", 1);
        row(2, "DIGITAL", "LINEAR", 1);
        row(1, "LINEAR", "MULTI_LEVEL", 2);
        row(2, "DIGITAL", "STD_THERMISTOR", 1);
    }

    void pausesShowOnlyStartAndEndPlaces()
    {
        QFETCH(int, version);
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        QFETCH(int, pauses);
        Harness h;
        QVERIFY(h.open(version, SnvtTempP, "UCPTinputSignalInterpretation=" + stored));
        if (!chosen.isEmpty()) // off screen, no change is seen: no pause
            QVERIFY(h.choose(chosen) && h.choose(stored));
        QCOMPARE(h.seams.doEventsCount(), 0);
        h.control->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.control.get()));

        // A widget may appear where it was while hidden before it moves: the layout shows first.
        const QMap<QString, int> before = tops(h, false);
        QVector<QMap<QString, int>> atPauses;
        MKorvane::setEventProcessor([&] { atPauses.append(tops(h)); });
        if (chosen.isEmpty())
            h.control->ZovezuVavevaInit();
        else
            QVERIFY(h.choose(chosen));
        const QMap<QString, int> after = tops(h);

        for (const QMap<QString, int> &tops : std::as_const(atPauses)) {
            for (auto it = tops.cbegin(); it != tops.cend(); ++it) {
                const bool known = it.value() == before.value(it.key(), -1) || it.value() == after.value(it.key(), -1);
                QVERIFY2(known, qPrintable(QStringLiteral("%1 shown at %2 twips").arg(it.key()).arg(it.value() * 15)));
            }
        }
        if (!chosen.isEmpty()) {
            // A new interpretation changes the screen: the user sees it while the handler runs.
            QVERIFY(!atPauses.isEmpty());
            QCOMPARE(atPauses.last(), after);
        }
        // A pause with nothing new to show would only let other work run in the middle.
        QCOMPARE(atPauses.size(), pauses);
        QCOMPARE(h.seams.messageTexts(), QStringList());
    }
};

QTEST_MAIN(tst_hardware_pauses)
#include "tst_hardware_pauses.moc"
