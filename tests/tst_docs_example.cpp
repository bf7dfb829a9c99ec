// SPDX-License-Identifier: MIT
// The complete example network of docs/network-database.md, taken from the page itself:
// it loads, and the hardware control works on it as on the sample network (every list
// filled, the unit labels of the input's type, a changed interpretation written).
#include "tst_hardware_harness.h"

#include <QFile>
#include <QRegularExpression>

using namespace HardwareTest;

class tst_docs_example : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The first JSON block after the heading "## A complete example".
        QFile page(QStringLiteral(VQ_DATA_DIR "/../docs/network-database.md"));
        QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
        static const QRegularExpression block(QStringLiteral("\\n## A complete example\\n.*?\\n```json\\n(.*?)\\n```"),
            QRegularExpression::DotMatchesEverythingOption);
        const QByteArray json = block.match(QString::fromUtf8(page.readAll())).captured(1).toUtf8();
        QVERIFY2(!json.isEmpty(), "the page has no complete example");
        QFile file(m_database);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
    }

    // In each measurement system, with the range in the unit of the variable's type.
    void controlWorksOnIt()
    {
        for (const auto &[unit, rangeUnit] :
            { std::pair(qint16(MEASUREMENT_SYSTEM_SI), "°C"), std::pair(qint16(MEASUREMENT_SYSTEM_US), "°F") }) {
            Harness h(m_database);
            QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
            QVERIFY(h.open(2, SnvtTempP, QString(), unit));
            QCOMPARE(h.events + h.seams.messageTexts(), QStringList());
            // Interpretations 0..6 (7), the version-2 thermistor types; a thermistor takes the first signal type.
            QCOMPARE(h.combo("cboInput")->count(), 7);
            QCOMPARE(QStringList({ h.shown("cboSignal"), h.shown("cboInput"), h.shown("cboTherm") }),
                QStringList({ "RESISTANCE", "STD_THERMISTOR", "NTC_10K_TYPE2" }));
            // A linear input offers every signal type (3).
            QVERIFY(h.choose(QStringLiteral("LINEAR")));
            QCOMPARE(h.combo("cboSignal")->count(), 3);
            QCOMPARE(h.shown("lblUnitMinRange") + ' ' + h.shown("lblUnitMaxRange"),
                QString::fromUtf8(rangeUnit) + ' ' + QString::fromUtf8(rangeUnit));
            QVERIFY(!h.shown("txtMax").isEmpty());
            QVERIFY(h.control->ValueChanged());
            QCOMPARE(h.control->WriteValue(), false);
            QCOMPARE(h.events, QStringList());
            QCOMPARE(h.stored(QStringLiteral("UCPTinputSignalInterpretation")), QStringLiteral("LINEAR"));
        }
    }

private:
    QTemporaryDir m_dir;
    const QString m_database = m_dir.filePath(QStringLiteral("example.json"));
};

QTEST_MAIN(tst_docs_example)
#include "tst_docs_example.moc"
