// SPDX-License-Identifier: MIT
// The host's input page: both controls on one input, the set-point-offset mode relayed
// from the hardware side to the network side, and OK writing both sides.
#include "InputPage.h"
#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

QString formatShown(const ctlSensorNV *control)
{
    return control->findChild<QLineEdit *>(QStringLiteral("txtOver"))->toolTip().section(QStringLiteral(": "), 1);
}

} // namespace

class tst_host_page : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sim = std::make_unique<TestSupport::SimFixture>(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
        page = std::make_unique<Host::InputPage>();
    }
    void cleanup()
    {
        page.reset();
        sim.reset();
    }

    void setpointOffsetReachesTheNetworkSide_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("chosen"); // interpretation chosen after opening, empty for none
        QTest::addColumn<QString>("format");

        QTest::newRow("offset input") << "HwInput[10]"
                                      << ""
                                      << "SNVT_temp#US_diff";
        QTest::newRow("offset left") << "HwInput[10]"
                                     << "LINEAR"
                                     << "SNVT_temp#US";
        QTest::newRow("linear input") << "HwInput[4]"
                                      << ""
                                      << "SNVT_temp_p#US";
        QTest::newRow("offset chosen") << "HwInput[4]"
                                       << "SETPOINT_OFFSET"
                                       << "SNVT_temp_p#US_diff";
    }
    void setpointOffsetReachesTheNetworkSide()
    {
        QFETCH(QString, input);
        QFETCH(QString, chosen);
        QFETCH(QString, format);

        QVERIFY(page->open(network(), Controller, input, QString(), MEASUREMENT_SYSTEM_US));
        if (!chosen.isEmpty()) {
            auto interpretation = page->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
            interpretation->setCurrentIndex(interpretation->findText(chosen));
        }
        QCOMPARE(formatShown(page->networkControl()), format);
    }

    void okWritesBothSides()
    {
        QSignalSpy messages(page.get(), &Host::InputPage::message);
        QVERIFY(page->open(network(), Controller, QStringLiteral("HwInput[0]"), QString(), MEASUREMENT_SYSTEM_SI));
        QVERIFY(!page->valueChanged());
        page->hardwareControl()->findChild<QLineEdit *>(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        page->networkControl()->findChild<QLineEdit *>(QStringLiteral("txtHeart"))->setText(QStringLiteral("120"));
        QVERIFY(page->valueChanged());

        QVERIFY(page->write());
        QCOMPARE(network().storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("UCPToffset")), "1.5");
        QCOMPARE(
            network().storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTmaxSendTime"), true),
            "120.0");
        QCOMPARE(messages.count(), 0);
    }

    void aRefusedWriteIsReportedAndCounts()
    {
        QSignalSpy messages(page.get(), &Host::InputPage::message);
        QVERIFY(page->open(network(), Controller, QStringLiteral("HwInput[0]"), QString(), MEASUREMENT_SYSTEM_SI));
        page->networkControl()->findChild<QLineEdit *>(QStringLiteral("txtHeart"))->setText(QStringLiteral("often"));

        QVERIFY(!page->write());
        QCOMPARE(messages.count(), 1);
        QVERIFY2(
            messages.first().first().toString().startsWith(QStringLiteral("[Network Variable ReadValues, style 16]")),
            qPrintable(messages.first().first().toString()));
    }

private:
    Sim::Network &network() const { return *sim->operator->(); }

    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<Host::InputPage> page;
};

QTEST_MAIN(tst_host_page)
#include "tst_host_page.moc"
