// SPDX-License-Identifier: MIT
// The host's headless report on the sample network, and the working copy that keeps
// the project's data folder untouched.
#include "DatabaseLocation.h"
#include "HostReport.h"
#include "device/sim/SimNetwork.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestHostReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void temperatureInputReadsInBothSystems();
    void configurableInputsHaveAbsoluteFormats_data();
    void configurableInputsHaveAbsoluteFormats();
    void deviceThatCannotBeConfiguredSaysWhy();
    void workingCopyIsKeptUntilReset();

private:
    std::shared_ptr<Sim::Network> m_network;
    Host::NetworkReport m_report;
};

void TestHostReport::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("VqZovezuVaveva"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_host_report"));
    const QString sample = Host::sampleNetworkPath();
    QVERIFY2(!sample.isEmpty(), "the sample network is missing");
    m_network = Sim::Network::load(sample);
    m_report = Host::buildReport(*m_network);
    QVERIFY(!m_report.devices.isEmpty());
}

void TestHostReport::temperatureInputReadsInBothSystems()
{
    const Host::InputReport *temperature = nullptr;
    for (const Host::DeviceReport &device : std::as_const(m_report.devices)) {
        for (const Host::InputReport &input : device.inputs) {
            if (input.typeName == QLatin1String("SNVT_temp_p") && input.error.isEmpty())
                temperature = &input;
        }
    }
    QVERIFY2(temperature, "the sample network has no readable SNVT_temp_p input");
    QVERIFY2(temperature->si.error.isEmpty(), qPrintable(temperature->si.error));
    QVERIFY2(temperature->us.error.isEmpty(), qPrintable(temperature->us.error));

    QVERIFY(temperature->si.format.endsWith(QLatin1String("SNVT_temp_p#SI")));
    QVERIFY(temperature->us.format.endsWith(QLatin1String("SNVT_temp_p#US")));
    QVERIFY(temperature->us.diffFormat.endsWith(QLatin1String("SNVT_temp_p#US_diff")));
    QVERIFY(!temperature->si.unit.isEmpty());
    QVERIFY(temperature->si.unit != temperature->us.unit);

    bool siOk = false;
    bool usOk = false;
    const double celsius = temperature->si.value.toDouble(&siOk);
    const double fahrenheit = temperature->us.value.toDouble(&usOk);
    QVERIFY2(siOk && usOk, qPrintable(temperature->si.value + QLatin1String(" / ") + temperature->us.value));
    // Both texts are rounded to the format's precision; allow for that.
    QVERIFY2(qAbs(fahrenheit - (celsius * 9.0 / 5.0 + 32.0)) < 0.1,
        qPrintable(temperature->si.value + QLatin1String(" / ") + temperature->us.value));
}

void TestHostReport::configurableInputsHaveAbsoluteFormats_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("block");
    for (const Host::DeviceReport &device : std::as_const(m_report.devices)) {
        for (const Host::InputReport &input : device.inputs)
            QTest::newRow(qPrintable(device.name + QLatin1Char('/') + input.block)) << device.name << input.block;
    }
}

void TestHostReport::configurableInputsHaveAbsoluteFormats()
{
    QFETCH(QString, device);
    QFETCH(QString, block);
    const Host::InputReport *input = m_report.input(device, block);
    QVERIFY(input);
    QVERIFY2(input->error.isEmpty(), qPrintable(input->error));
    // "#" + program ID + "[" + scope + "]." in front of the format's own name.
    static const QRegularExpression absolute(QStringLiteral("^#[0-9A-Fa-f]{16}\\[\\d+\\]\\.[^.#]+"));
    QVERIFY2(absolute.match(input->si.format).hasMatch(), qPrintable(input->si.format));
    QVERIFY2(absolute.match(input->us.format).hasMatch(), qPrintable(input->us.format));
    QVERIFY2(!input->si.value.isEmpty(), qPrintable(input->si.error));
}

void TestHostReport::deviceThatCannotBeConfiguredSaysWhy()
{
    int unconfigurable = 0;
    for (const Host::DeviceReport &device : std::as_const(m_report.devices)) {
        if (device.configurable)
            continue;
        ++unconfigurable;
        QVERIFY(device.inputs.isEmpty());
        QVERIFY2(
            device.reason.contains(QLatin1Char('\'') + device.name + QLatin1Char('\'')), qPrintable(device.reason));
        QVERIFY(Host::formatReport(m_report).contains(device.reason));
    }
    QVERIFY2(unconfigurable > 0, "the sample network should show a device that cannot be configured");
}

void TestHostReport::workingCopyIsKeptUntilReset()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());

    QString error;
    const QString copy = Host::workingCopyPath(false, &error);
    QVERIFY2(!copy.isEmpty(), qPrintable(error));
    QVERIFY(copy.startsWith(home.path()));
    QFile sample(Host::sampleNetworkPath());
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray original = sample.readAll();

    QFile edited(copy);
    QVERIFY(edited.open(QIODevice::WriteOnly | QIODevice::Truncate));
    edited.write("{}");
    edited.close();
    QCOMPARE(Host::workingCopyPath(false, &error), copy);
    QVERIFY(edited.open(QIODevice::ReadOnly));
    QCOMPARE(edited.readAll(), QByteArray("{}"));
    edited.close();

    QCOMPARE(Host::workingCopyPath(true, &error), copy);
    QVERIFY(edited.open(QIODevice::ReadOnly));
    QCOMPARE(edited.readAll(), original);
}

QTEST_GUILESS_MAIN(TestHostReport)
#include "tst_host_report.moc"
