// SPDX-License-Identifier: MIT
// The sample network as the network-variable control meets it: every input's variable
// carries its five properties, readable in the default format of either locale and in
// every format the control reads or writes them with; every input looks like a real one.
#include "shared/MKorvane.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QTest>

#include <algorithm>

using namespace DeviceAccess;

namespace {

} // namespace

class TestSampleNetwork : public TestSupport::SimTestCase
{
    Q_OBJECT

private slots:
    void eachInput_data();
    void eachInput();
};

// One row per block of the sample and measurement system.
void TestSampleNetwork::eachInput_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("system");
    TestSupport::SimFixture sample;
    QVERIFY(sample.isLoaded());
    for (const QString &device : sample->deviceNames()) {
        for (const QString &block : sample->blockNames(device)) {
            for (qint16 system : { 0, 1 })
                QTest::addRow("%s/%s/%s", qPrintable(device), qPrintable(block), system ? "US" : "SI")
                    << device << block << system;
        }
    }
}

void TestSampleNetwork::eachInput()
{
    QFETCH(QString, device);
    QFETCH(QString, block);
    QFETCH(qint16, system);
    // What an engineer expects of an input: a thermistor is a resistance input, and that is
    // the one signal type the control offers it (the first of the enumeration); default and
    // override lie in the range; a transfer table's inputs ascend.
    const auto stored
        = [&](const char *cp, bool nvCp = false) { return (*sim)->storedCpText(device, block, cp, nvCp); };

    if (stored("UCPTinputSignalInterpretation") == QLatin1String("STD_THERMISTOR")) {
        const EnumCollectionPtr types
            = typeService().GetEnumCollection((*sim)->programId(device), (*sim)->scope(device), 16, 0, 2);
        QVERIFY(types && types->Count() > 0);
        QCOMPARE(stored("UCPTinputSignalType"), QStringLiteral("RESISTANCE"));
        QCOMPARE(types->Item(1)->Name(), QStringLiteral("RESISTANCE"));
    }

    const QStringList range { stored("SCPTminRnge"), stored("SCPTmaxRnge") };
    const QStringList values { stored("SCPTovrValue", true), stored("UCPTdefaultValue", true) };
    if (std::all_of(range.begin(), range.end(), MKorvane::IsNumeric)) {
        QVERIFY(MKorvane::Val(range[0]) < MKorvane::Val(range[1]));
        for (const QString &value : values) {
            if (MKorvane::IsNumeric(value))
                QVERIFY2(
                    MKorvane::Val(range[0]) <= MKorvane::Val(value) && MKorvane::Val(value) <= MKorvane::Val(range[1]),
                    qPrintable(value + " outside " + range.join("..")));
        }
    }

    const QStringList table = stored("UCPTtransTable").split(' ', Qt::SkipEmptyParts);
    QCOMPARE(table.size(), 32);
    for (int r = 1; r < 16; ++r)
        QVERIFY2(MKorvane::Val(table[2 * r - 2]) < MKorvane::Val(table[2 * r]), qPrintable(table.join(' ')));

    (*sim)->setFormatLocale(system);
    const NetworkVariablePtr nv = MKorvane::GetFirstNetworkVariable((*sim)->block(device, block));
    // What the control derives from the variable's type in this measurement system.
    TypeTreeNodePtr node;
    QString programId, longFormat, unit, errMsg, nvFormat, deltaFormat;
    qint32 typeIndex = -1, baseKind = 0;
    QVERIFY(MKorvane::GetNvTypeFormat(nv, system, node, programId, longFormat, unit, typeIndex, baseKind, errMsg));
    MKorvane::AdjustFormatForUnits(longFormat, system, deltaFormat, nvFormat, errMsg);
    QVERIFY2(errMsg.isEmpty(), qPrintable(errMsg));

    // The five properties -> the formats each is read or written with besides its default one.
    const bool isEnum = baseKind == BaseKindEnumeration;
    const QStringList value = isEnum ? QStringList { nvFormat } : QStringList { nvFormat, deltaFormat };
    const QMap<QString, QStringList> formats { { "SCPTovrValue", value }, { "UCPTdefaultValue", value },
        { "SCPTsndDelta", { isEnum ? QStringLiteral("UCPTsignedShort") : deltaFormat } },
        { "SCPTminSendTime", { "SCPTminSendTime" } }, { "SCPTmaxSendTime", { "SCPTmaxSendTime" } } };
    const ConfigPropertiesPtr cps = nv->ConfigProperties();
    for (const QString &name : formats.keys()) {
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

QTEST_GUILESS_MAIN(TestSampleNetwork)
#include "tst_sample_network.moc"
