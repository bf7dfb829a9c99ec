// SPDX-License-Identifier: MIT
// The host's input page: both controls on one input, the set-point-offset mode relayed
// from the hardware side to the network side, and OK writing both sides.
#include "InputPage.h"
#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
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

    void aBlockWithoutNetworkVariableIsReported()
    {
        QTemporaryDir folder;
        QFile sample(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(sample.readAll()).object();
        QJsonArray devices = root.value(QStringLiteral("devices")).toArray();
        QJsonObject device = devices.at(0).toObject();
        QJsonArray blocks = device.value(QStringLiteral("blocks")).toArray();
        QJsonObject block = blocks.at(0).toObject();
        block.insert(QStringLiteral("nvs"), QJsonArray());
        block.insert(QStringLiteral("cps"), QJsonObject { { QStringLiteral("SCPTobjMajVer"), 2 } });
        blocks.replace(0, block);
        device.insert(QStringLiteral("blocks"), blocks);
        devices.replace(0, device);
        root.insert(QStringLiteral("devices"), devices);
        QFile copy(folder.filePath(QStringLiteral("network.json")));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QJsonDocument(root).toJson());
        copy.close();
        page.reset();
        sim.reset();
        sim = std::make_unique<TestSupport::SimFixture>(copy.fileName());
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
        page = std::make_unique<Host::InputPage>();

        QSignalSpy messages(page.get(), &Host::InputPage::message);
        QVERIFY(!page->open(network(), Controller, QStringLiteral("HwInput[0]"), QString(), MEASUREMENT_SYSTEM_SI));
        QStringList lines;
        for (const QList<QVariant> &line : messages)
            lines << line.first().toString();
        QVERIFY2(lines.first().startsWith(QStringLiteral("ctlSensorNV cannot show HwInput[0]")),
            qPrintable(lines.join('\n')));
    }

private:
    Sim::Network &network() const { return *sim->operator->(); }

    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<Host::InputPage> page;
};

QTEST_MAIN(tst_host_page)
#include "tst_host_page.moc"
