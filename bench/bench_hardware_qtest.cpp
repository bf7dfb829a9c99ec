// SPDX-License-Identifier: MIT
// Benchmarks of the hardware control on the sample network (QtTest QBENCHMARK, used
// when Google Benchmark is not installed): the call tables first, then the time of one
// ZovezuVavevaInit and one GetNvTypeFormat per input. Nothing is asserted.
#include "BenchInputs.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/MKorvane.h"

#include <QtTest>

Q_DECLARE_METATYPE(Bench::InputId)

class BenchHardware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVector<Bench::InputCalls> calls;
        for (const Bench::InputId &input : Bench::sampleInputs())
            calls << Bench::countCalls(input);
        Bench::printCallTables(calls);
    }

    void initialise_data() { addInputs(); }
    void initialise()
    {
        QFETCH(Bench::InputId, input);
        Bench::Setup setup(input);
        setup.network->setLogging(false);
        QBENCHMARK
        {
            setup.control->ZovezuVavevaInit();
        }
    }

    void resolveFormat_data() { addInputs(); }
    void resolveFormat()
    {
        QFETCH(Bench::InputId, input);
        const auto network = Bench::freshNetwork();
        network->setLogging(false);
        const auto nv = MKorvane::GetFirstNetworkVariable(network->block(input.device, input.block));
        QBENCHMARK
        {
            DeviceAccess::TypeTreeNodePtr node;
            QString programId, longFormat, unitText, errMsg;
            qint32 typeIndex = 0, baseKind = 0;
            MKorvane::GetNvTypeFormat(
                nv, MEASUREMENT_SYSTEM_SI, node, programId, longFormat, unitText, typeIndex, baseKind, errMsg);
        }
    }

private:
    static void addInputs()
    {
        QTest::addColumn<Bench::InputId>("input");
        for (const Bench::InputId &input : Bench::sampleInputs())
            QTest::newRow(qPrintable(input.label())) << input;
    }
};

int main(int argc, char **argv)
{
    Bench::prepareHeadless();
    QApplication app(argc, argv);
    BenchHardware bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_hardware_qtest.moc"
