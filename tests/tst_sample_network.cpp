// SPDX-License-Identifier: MIT
// The sample network as the network-variable control meets it: every input's variable
// carries its five properties, readable in the default format of either locale and in
// every format the control reads or writes them with; the sample offers each kind of
// variable the control treats differently; structures convert field by field.
#include "shared/MKorvane.h"
#include "support/SimFixture.h"

#include <QTest>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QStringList FiveProperties
    = { "SCPTovrValue", "UCPTdefaultValue", "SCPTsndDelta", "SCPTminSendTime", "SCPTmaxSendTime" };

// What the control derives from the variable's type in one measurement system.
struct Resolved
{
    bool ok = false;
    QString errMsg, nvFormat, deltaFormat;
    qint32 typeIndex = -1, baseKind = 0;
};

Resolved resolve(const NetworkVariablePtr &nv, qint16 system)
{
    Resolved r;
    TypeTreeNodePtr node;
    QString programId, longFormat, unit;
    r.ok = MKorvane::GetNvTypeFormat(nv, system, node, programId, longFormat, unit, r.typeIndex, r.baseKind, r.errMsg);
    MKorvane::AdjustFormatForUnits(longFormat, system, r.deltaFormat, r.nvFormat, r.errMsg);
    return r;
}

} // namespace

class TestSampleNetwork : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sim = std::make_unique<TestSupport::SimFixture>();
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
    }
    void cleanup() { sim.reset(); }

    void networkSideReads_data();
    void networkSideReads();
    void sampleOffersEveryKindOfVariable();
    void structureFieldsConvert_data();
    void structureFieldsConvert();

private:
    NetworkVariablePtr variable(const QString &device, const QString &block)
    {
        return MKorvane::GetFirstNetworkVariable((*sim)->block(device, block));
    }
    std::unique_ptr<TestSupport::SimFixture> sim;
};

void TestSampleNetwork::networkSideReads_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("system");
    TestSupport::SimFixture sample;
    QVERIFY(sample.isLoaded());
    for (const QString &device : sample->deviceNames()) {
        for (const QString &block : sample->blockNames(device)) {
            for (qint16 system : { qint16(0), qint16(1) }) {
                QTest::addRow("%s/%s/%s", qPrintable(device), qPrintable(block), system ? "US" : "SI")
                    << device << block << system;
            }
        }
    }
}

void TestSampleNetwork::networkSideReads()
{
    QFETCH(QString, device);
    QFETCH(QString, block);
    QFETCH(qint16, system);
    (*sim)->setFormatLocale(system);
    const NetworkVariablePtr nv = variable(device, block);
    const Resolved type = resolve(nv, system);
    QVERIFY2(type.ok && type.errMsg.isEmpty(), qPrintable(type.errMsg));
    const bool isEnum = type.baseKind == BaseKindEnumeration;

    // Property -> the formats it is read or written with besides its default one.
    const QMap<QString, QStringList> formats {
        { "SCPTovrValue", isEnum ? QStringList { type.nvFormat } : QStringList { type.nvFormat, type.deltaFormat } },
        { "UCPTdefaultValue",
            isEnum ? QStringList { type.nvFormat } : QStringList { type.nvFormat, type.deltaFormat } },
        { "SCPTsndDelta", { isEnum ? QStringLiteral("UCPTsignedShort") : type.deltaFormat } },
        { "SCPTminSendTime", { "SCPTminSendTime" } },
        { "SCPTmaxSendTime", { "SCPTmaxSendTime" } },
    };
    const ConfigPropertiesPtr cps = nv->ConfigProperties();
    for (const QString &name : FiveProperties) {
        for (const QString &format : QStringList { QString() } + formats.value(name)) {
            QString text;
            const bool read = MKorvane::tryStep(
                [&] {
                    const ConfigPropertyPtr cp = cps->Item(name);
                    cp->setFormat(format);
                    text = cp->ValueText();
                    cp->setValueText(text); // what the control shows it can write back
                    cp->setFormat(QString());
                },
                [&](qint32, const QString &description) { text = description; });
            QVERIFY2(read && !text.trimmed().isEmpty(), qPrintable(name + " in '" + format + "': " + text));
        }
    }
}

void TestSampleNetwork::sampleOffersEveryKindOfVariable()
{
    bool enumerated = false, switchType = false, otherStructure = false, usTemperatureDelta = false;
    for (const QString &device : (*sim)->deviceNames()) {
        for (const QString &block : (*sim)->blockNames(device)) {
            const NetworkVariablePtr nv = variable(device, block);
            QVERIFY2(nv->Name() != nv->ProgrammaticName(), qPrintable(device + "/" + block));
            const Resolved us = resolve(nv, MEASUREMENT_SYSTEM_US);
            enumerated |= us.baseKind == BaseKindEnumeration;
            switchType |= us.baseKind == BaseKindStructure && us.typeIndex == 95;
            otherStructure |= MKorvane::IsUnsupportedStructure(us.baseKind, us.typeIndex);
            usTemperatureDelta
                |= us.nvFormat.endsWith("SNVT_temp_p#US") && us.deltaFormat.endsWith("SNVT_temp_p#US_diff");
        }
    }
    QVERIFY(enumerated);
    QVERIFY(switchType);
    QVERIFY(otherStructure);
    QVERIFY(usTemperatureDelta);
}

void TestSampleNetwork::structureFieldsConvert_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("stored"); // SI default text after the write

    QTest::newRow("setpoints SI") << "HwInput[12]"
                                  << "SNVT_temp_setpt#SI"
                                  << "23.0 25.0 27.0 20.0 18.0 15.0"
                                  << "22 24 26 20 18 16"
                                  << "22.0 24.0 26.0 20.0 18.0 16.0";
    QTest::newRow("setpoints US") << "HwInput[12]"
                                  << "SNVT_temp_setpt#US"
                                  << "73.4 77.0 80.6 68.0 64.4 59.0"
                                  << "68 68 77 50 50 32"
                                  << "20.0 20.0 25.0 10.0 10.0 0.0";
    QTest::newRow("switch keeps its fields") << "HwInput[2]"
                                             << "SNVT_switch"
                                             << "100.0 1"
                                             << "50.5 1"
                                             << "50.5 1";
}

void TestSampleNetwork::structureFieldsConvert()
{
    QFETCH(QString, block);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    QFETCH(QString, written);
    QFETCH(QString, stored);

    const ConfigPropertyPtr cp = variable(Controller, block)->ConfigProperties()->Item("SCPTovrValue");
    cp->setFormat(format);
    QCOMPARE(cp->ValueText(), shown);
    cp->setValueText(written);
    QCOMPARE((*sim)->storedCpText(Controller, block, "SCPTovrValue", true), stored);
}

QTEST_GUILESS_MAIN(TestSampleNetwork)
#include "tst_sample_network.moc"
