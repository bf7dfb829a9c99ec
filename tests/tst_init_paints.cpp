// SPDX-License-Identifier: MIT
// Both controls, initialised while on screen, process no pending events before they are
// complete: nothing is painted during ZovezuVavevaInit, and the next turn of the event
// loop paints each widget at most once, in its final state.
#include "shared/Seams.h"
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include <QHash>

namespace {

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

class tst_init_paints : public QObject
{
    Q_OBJECT

private slots:
    void hardwareControl_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("interpretation");
        QTest::addColumn<bool>("again"); // a second initialisation of the shown control
        QTest::newRow("v2 DIGITAL") << 2 << "DIGITAL" << false;
        QTest::newRow("v1 MULTI_LEVEL") << 1 << "MULTI_LEVEL" << false;
        QTest::newRow("v2 STD_THERMISTOR") << 2 << "STD_THERMISTOR" << false;
        QTest::newRow("v2 LINEAR") << 2 << "LINEAR" << false;
        QTest::newRow("v2 DISCONNECTED") << 2 << "DISCONNECTED" << false;
        QTest::newRow("v2 DIGITAL, initialised again") << 2 << "DIGITAL" << true;
    }

    void hardwareControl()
    {
        QFETCH(int, version);
        QFETCH(QString, interpretation);
        QFETCH(bool, again);
        HardwareTest::Harness h;
        QVERIFY(h.open(version, HardwareTest::SnvtTempP,
            "UCPTinputSignalInterpretation=" + interpretation + ";UCPTinputSignalType=RESISTANCE",
            MEASUREMENT_SYSTEM_SI, QString(), again));
        QVERIFY(showSettled(h.control.get()));
        checkOnePaint(h.control.get(), [&] { h.control->ZovezuVavevaInit(); });
        QCOMPARE(h.shown("cboInput"), interpretation);
        QCOMPARE(h.seams.messageTexts(), QStringList());
    }

    void networkControl_data()
    {
        QTest::addColumn<QString>("block");
        QTest::newRow("temperature") << NetworkTest::Temperature;
        QTest::newRow("enumeration") << NetworkTest::Occupancy;
        QTest::newRow("switch") << NetworkTest::Switch;
    }

    void networkControl()
    {
        QFETCH(QString, block);
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
};

QTEST_MAIN(tst_init_paints)
#include "tst_init_paints.moc"
