// SPDX-License-Identifier: MIT
// Pauses for pending events and paints. The hardware control's pauses let the user see each
// change at once, but never a widget at a place it neither had nor ends in, and a control that
// is not on screen does not pause at all. Both controls, initialised while on screen, process
// no pending events before they are complete: nothing is painted during ZovezuVavevaInit, and
// the next turn of the event loop paints each widget at most once, in its final state.
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include "shared/Seams.h"

#include <QHash>
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

// Paint events of a control and every widget in it.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget *control)
    {
        control->installEventFilter(this);
        for (QWidget *child : control->findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    QHash<const QObject *, int> paints;

    int total() const
    {
        int sum = 0;
        for (int count : paints)
            sum += count;
        return sum;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return QObject::eventFilter(watched, event);
    }
};

// Shows a control and lets it paint; then the pauses of the library really process events.
bool showSettled(QWidget *control)
{
    control->show();
    if (!QTest::qWaitForWindowExposed(control))
        return false;
    QCoreApplication::processEvents();
    MKorvane::setEventProcessor({});
    return true;
}

// Initialises an on-screen control: nothing is painted during the call, and each widget
// that the event loop's next turn paints is painted once.
void checkOnePaint(QWidget *control, const std::function<void()> &init)
{
    PaintLog log(control);
    init();
    QCOMPARE(log.total(), 0);
    for (int turn = 0; turn < 2; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QVERIFY(log.total() > 0);
    for (auto it = log.paints.cbegin(); it != log.paints.cend(); ++it) {
        const auto *widget = static_cast<const QWidget *>(it.key());
        QVERIFY2(it.value() == 1, qPrintable(widget->objectName() + " painted " + QString::number(it.value())));
    }
}

} // namespace

class tst_hardware_pauses : public QObject
{
    Q_OBJECT

private slots:
    // Pauses counted: each with something new on screen since the one before. An empty `chosen`:
    // the shown control is initialised a second time.
    void pausesShowOnlyStartAndEndPlaces()
    {
        for (const auto &[version, stored, chosen, pauses] : { std::tuple { 2, "DIGITAL", "", 0 },
                 { 1, "MULTI_LEVEL", "", 0 }, { 2, "LINEAR", "DIGITAL", 1 }, { 2, "DIGITAL", "LINEAR", 1 },
                 { 1, "LINEAR", "MULTI_LEVEL", 2 }, { 2, "DIGITAL", "STD_THERMISTOR", 1 } }) {
            const auto named
                = TestSupport::failureNamesRow(QStringLiteral("v%1 %2, %3").arg(version).arg(stored, chosen));
            Harness h;
            QVERIFY(h.open(version, SnvtTempP, QStringLiteral("UCPTinputSignalInterpretation=") + stored));
            if (*chosen) // off screen, no change is seen: no pause
                QVERIFY(h.choose(chosen) && h.choose(stored));
            QCOMPARE(h.seams.doEventsCount(), 0);
            h.control->show();
            QVERIFY(QTest::qWaitForWindowExposed(h.control.get()));

            // A widget may appear where it was while hidden before it moves: the layout shows first.
            const QMap<QString, int> before = tops(h, false);
            QVector<QMap<QString, int>> atPauses;
            MKorvane::setEventProcessor([&] { atPauses.append(tops(h)); });
            if (*chosen)
                QVERIFY(h.choose(chosen));
            else
                h.control->ZovezuVavevaInit();
            const QMap<QString, int> after = tops(h);
            for (const QMap<QString, int> &tops : std::as_const(atPauses)) {
                for (auto it = tops.cbegin(); it != tops.cend(); ++it) {
                    const bool known
                        = it.value() == before.value(it.key(), -1) || it.value() == after.value(it.key(), -1);
                    QVERIFY2(
                        known, qPrintable(QStringLiteral("%1 shown at %2 twips").arg(it.key()).arg(it.value() * 15)));
                }
            }
            // A new interpretation changes the screen: the user sees it while the handler runs.
            if (*chosen)
                QCOMPARE(atPauses.value(atPauses.size() - 1), after);
            // A pause with nothing new to show would only let other work run in the middle.
            QCOMPARE(atPauses.size(), pauses);
            QCOMPARE(h.seams.messageTexts(), QStringList());
        }
    }

    // Initialised for the first time, or again (`again`) while shown.
    void hardwareInitPaintsOnce()
    {
        for (const auto &[version, interpretation, again] :
            { std::tuple { 2, "DIGITAL", false }, { 1, "MULTI_LEVEL", false }, { 2, "STD_THERMISTOR", false },
                { 2, "LINEAR", false }, { 2, "DISCONNECTED", false }, { 2, "DIGITAL", true } }) {
            const auto named = TestSupport::failureNamesRow(
                QStringLiteral("v%1 %2 again %3").arg(version).arg(interpretation).arg(again));
            Harness h;
            QVERIFY(h.open(version, SnvtTempP,
                QStringLiteral("UCPTinputSignalInterpretation=%1;UCPTinputSignalType=RESISTANCE").arg(interpretation),
                MEASUREMENT_SYSTEM_SI, QString(), again));
            QVERIFY(showSettled(h.control.get()));
            checkOnePaint(h.control.get(), [&] { h.control->ZovezuVavevaInit(); });
            QCOMPARE(h.shown("cboInput"), QString(interpretation));
            QCOMPARE(h.seams.messageTexts(), QStringList());
        }
    }

    void networkInitPaintsOnce()
    {
        for (const QString &block : { NetworkTest::Temperature, NetworkTest::Occupancy, NetworkTest::Switch }) {
            const auto named = TestSupport::failureNamesRow(block);
            NetworkTest::Harness h;
            h.open();
            QVERIFY(showSettled(h.control.get()));
            checkOnePaint(h.control.get(), [&] {
                h.control->setSystem(h.sim->system());
                h.control->setDeviceObject(h.sim->device(h.device));
                h.control->setDeviceProgID(h.sim->programId(h.device));
                h.control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
                h.control->setNodeObject(h.sim->block(h.device, block));
                h.control->ZovezuVavevaInit();
            });
            QCOMPARE(h.events, QStringList());
        }
    }
};

QTEST_MAIN(tst_hardware_pauses)
#include "tst_hardware_pauses.moc"
