// SPDX-License-Identifier: MIT
// The host's input page: both controls on one input, the set-point-offset mode relayed
// from the hardware side to the network side, and a block the network side cannot show.
#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "page/InputPage.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class tst_host_page : public TestSupport::SimTestCase
{
    Q_OBJECT

protected:
    void prepare() override { page = std::make_unique<Host::InputPage>(); }
    void finish() override { page.reset(); }

private slots:
    void setpointOffsetReachesTheNetworkSide_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("chosen"); // interpretation chosen after opening, empty for none
        QTest::addColumn<QString>("format");
        // clang-format off
        QTest::newRow("offset input") << "HwInput[10]" << "" << "SNVT_temp#US_diff";
        QTest::newRow("offset left") << "HwInput[10]" << "LINEAR" << "SNVT_temp#US";
        QTest::newRow("linear input") << "HwInput[4]" << "" << "SNVT_temp_p#US";
        QTest::newRow("offset chosen") << "HwInput[4]" << "SETPOINT_OFFSET" << "SNVT_temp_p#US_diff";
        // clang-format on
    }
    void setpointOffsetReachesTheNetworkSide()
    {
        QFETCH(QString, input);
        QFETCH(QString, chosen);
        QFETCH(QString, format);
        QVERIFY(open(input, MEASUREMENT_SYSTEM_US));
        if (!chosen.isEmpty()) {
            auto interpretation = page->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
            interpretation->setCurrentIndex(interpretation->findText(chosen));
        }
        QCOMPARE(field(page->networkControl(), "txtOver")->toolTip().section(QStringLiteral(": "), 1), format);
    }

    // The network control tells whether it writes the send delta; the page takes its True
    // for "written" exactly where the control wrote everything but that.
    void sendDeltaWrittenAsTheControlSays_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("writes");
        // clang-format off
        QTest::newRow("temperature") << "HwInput[0]" << true;
        QTest::newRow("switch structure") << "HwInput[2]" << true;
        QTest::newRow("enumeration") << "HwInput[3]" << true;
        QTest::newRow("set-point structure") << "HwInput[12]" << false;
        // clang-format on
    }
    void sendDeltaWrittenAsTheControlSays()
    {
        QFETCH(QString, input);
        QFETCH(bool, writes);
        QVERIFY(open(input));
        QCOMPARE(page->networkControl()->WritesSendDelta(), writes);
        QLineEdit *heartbeat = field(page->networkControl(), "txtHeart");
        heartbeat->selectAll();
        QTest::keyClicks(heartbeat, QStringLiteral("30"));
        const qsizetype start = (*sim)->callLog().size();
        const Host::PageOutcome outcome = page->write();
        bool sendDeltaWritten = false;
        for (const Sim::CallRecord &call : (*sim)->callLog().mid(start))
            sendDeltaWritten |= call.operation.startsWith(QLatin1String("ConfigProperty.set"))
                && call.arguments.value(0) == QLatin1String("SCPTsndDelta");
        QCOMPARE(sendDeltaWritten, writes);
        QCOMPARE(outcome.network.state, Host::ControlOutcome::Written);
        QCOMPARE(outcome.network.text().contains(QLatin1String("no send delta")), !writes);
    }

    void aBlockWithoutNetworkVariableIsReported()
    {
        TestSupport::SeamRecorder seams; // the hardware side's boxes are recorded, not shown
        (*sim)->model().device(Controller)->block(QStringLiteral("HwInput[0]"))->nvs.clear();
        QSignalSpy lines(page.get(), &Host::InputPage::message);
        QVERIFY(!open(QStringLiteral("HwInput[0]")));
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.first().first().value<Host::PageMessage>().headline.startsWith(
                     QStringLiteral("Network side, opening HwInput[0]: cannot show the input")),
            qPrintable(lines.first().first().value<Host::PageMessage>().headline));
    }

private:
    const QString Controller = QStringLiteral("HWI-Controller 1");
    std::unique_ptr<Host::InputPage> page;

    bool open(const QString &input, qint16 unit = MEASUREMENT_SYSTEM_SI)
    {
        return page->open(*sim->network(), Controller, input, QString(), unit);
    }
    static QLineEdit *field(QWidget *control, const char *name)
    {
        return control->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
};

QTEST_MAIN(tst_host_page)
#include "tst_host_page.moc"
