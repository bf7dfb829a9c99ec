// SPDX-License-Identifier: MIT
// Watching an input in the host window, offscreen and with a short interval: the trend
// gathers readings of a moving value in the input's unit, and stops when the input or
// the units change or the window hides.
#include "device/sim/SimNetwork.h"
#include "support/HostTestCase.h"
#include "support/SimFixture.h"
#include "watch/LiveTrend.h"
#include "window/HostWindow.h"

#include <QPushButton>
#include <QTest>

using namespace Host;

class tst_host_trend : public TestSupport::HostTestCase
{
    Q_OBJECT

    const QString Controller = QStringLiteral("HWI-Controller 1");
    double seconds = 0;

    QPushButton *watchButton() const { return window->findChild<QPushButton *>(QStringLiteral("hostWatch")); }

protected:
    void afterWindow() override
    {
        // Every reading of the network's clock is seven seconds on: the wave moves between readings.
        seconds = 0;
        window->network()->setClock([this] { return seconds += 7; });
        window->trend()->setInterval(20);
    }

private slots:
    void watchDrawsTheMovingValue()
    {
        QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[0]")));
        watchButton()->click();
        QVERIFY(window->watching());
        QVERIFY(window->trend()->isVisible());
        QTRY_VERIFY(window->trend()->view()->readings().size() >= 3);
        const QVector<QPointF> readings = window->trend()->view()->readings();
        QSet<double> values;
        for (const QPointF &reading : readings) {
            QVERIFY2(reading.y() > 19.9 && reading.y() < 23.1, qPrintable(QString::number(reading.y())));
            values.insert(reading.y());
        }
        QVERIFY(values.size() >= 2); // it moves
        QVERIFY(readings.last().x() > readings.first().x());
        QCOMPARE(window->trend()->view()->unit(), QStringLiteral("°C"));
        QVERIFY(!window->trend()->view()->grab().isNull()); // paints without a fault
    }

    void watchingStops_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("another input") << "input";
        QTest::newRow("other units") << "units";
        QTest::newRow("window hidden") << "hide";
        QTest::newRow("button") << "button";
    }
    void watchingStops()
    {
        QFETCH(QString, how);
        QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[5]")));
        window->setWatching(true);
        QTRY_VERIFY(!window->trend()->view()->readings().isEmpty());
        if (how == QLatin1String("input"))
            QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[1]")));
        else if (how == QLatin1String("units"))
            QVERIFY(window->setMeasurementSystem(1));
        else if (how == QLatin1String("hide"))
            window->hide();
        else
            watchButton()->click();
        QVERIFY(!window->watching());
        QVERIFY(!watchButton()->isChecked());
        QVERIFY(window->trend()->isHidden());
        const int count = window->trend()->view()->readings().size();
        QTest::qWait(100); // five intervals
        QCOMPARE(window->trend()->view()->readings().size(), count);
    }
};

QTEST_MAIN(tst_host_trend)
#include "tst_host_trend.moc"
