// SPDX-License-Identifier: MIT
// Copying one input's configuration to others through the defaults mechanism, and
// saving it as a section of a defaults file that the defaults reader reads back.
#include "defaults/CInputDefaultValues.h"
#include "device/sim/SimNetwork.h"
#include "inputtypes/ConfigurationCopy.h"
#include "inputtypes/UserDefaultsFile.h"
#include "support/SimFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QString Source = QStringLiteral("HwInput[1]");
const QStringList Targets = { QStringLiteral("HwInput[20]"), QStringLiteral("HwInput[21]"),
    QStringLiteral("HwInput[22]"), QStringLiteral("HwInput[23]"), QStringLiteral("HwInput[24]") };

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// The copied properties, in name order; those of the variable are marked.
const QStringList Copied = { "SCPTmaxRnge", "SCPTmaxSendTime", "SCPTminRnge", "SCPTminSendTime", "SCPTovrValue",
    "SCPTsndDelta", "UCPTdefaultValue", "UCPThwInOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
    "UCPToffset", "UCPTthermistorType", "UCPTtransTable" };
bool onNv(const QString &cp)
{
    return QStringList { "SCPTmaxSendTime", "SCPTminSendTime", "SCPTovrValue", "SCPTsndDelta", "UCPTdefaultValue" }
        .contains(cp);
}

// A copy of the sample network with five more inputs like the source (linear, percent,
// object version 2), each configured differently from the source.
std::unique_ptr<TestSupport::SimFixture> twinNetwork()
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("network.json"));
    QJsonObject root = readJson(TestSupport::SimFixture::sampleNetworkPath());
    QJsonArray devices = root[QStringLiteral("devices")].toArray();
    QJsonObject device = devices[0].toObject();
    QJsonArray blocks = device[QStringLiteral("blocks")].toArray();
    QJsonObject source;
    for (const QJsonValue &block : std::as_const(blocks)) {
        if (block[QStringLiteral("name")].toString() == Source)
            source = block.toObject();
    }
    for (int i = 0; i < Targets.size(); ++i) {
        QJsonObject block = source;
        block[QStringLiteral("name")] = Targets[i];
        QJsonArray nvs = block[QStringLiteral("nvs")].toArray();
        QJsonObject nv = nvs[0].toObject();
        nv[QStringLiteral("name")] = QStringLiteral("nvoTarget%1").arg(i);
        nv[QStringLiteral("programmaticName")] = QStringLiteral("nvoHwInput[%1]").arg(20 + i);
        nvs[0] = nv;
        block[QStringLiteral("nvs")] = nvs;
        blocks.append(block);
    }
    device[QStringLiteral("blocks")] = blocks;
    devices[0] = device;
    root[QStringLiteral("devices")] = devices;
    QFile file(database);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(root).toJson());
    file.close();
    auto sim = std::make_unique<TestSupport::SimFixture>(database);
    for (int i = 0; sim->isLoaded() && i < Targets.size(); ++i) {
        const QList<QPair<QString, QString>> differences = { { "UCPTinputSignalInterpretation", "TRANS_TABLE" },
            { "UCPTinputSignalType", "VOLTAGE_0_10V" }, { "SCPTmaxRnge", QString::number(40 + i) },
            { "UCPToffset", QString::number(i + 1) }, { "UCPThwInOptions", "1 0 0 0 0 0 0 0" },
            { "UCPTtransTable", "0 0 1 1 2 2 3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 11 11 12 12 13 13 14 14 15 15" },
            { "SCPTovrValue", QString::number(10 + i) }, { "SCPTmaxSendTime", QString::number(120 + i) } };
        for (const auto &[cp, text] : differences)
            (*sim)->setStoredCpText(Controller, Targets[i], cp, text, onNv(cp));
    }
    return sim;
}

} // namespace

class tst_host_copy : public QObject
{
    Q_OBJECT

private slots:
    void copyReachesEveryTargetAndNothingElse_data()
    {
        QTest::addColumn<QString>("failing"); // the target that fails, or none
        QTest::addColumn<QString>("fault"); // "unreachable": its properties cannot be listed; "refused": its maximum
        QTest::newRow("five targets") << QString() << QString();
        QTest::newRow("one target unreachable") << QStringLiteral("HwInput[22]") << QStringLiteral("unreachable");
        // The first target's maximum is refused after six properties were written: they are put back.
        QTest::newRow("one target refuses a property") << QStringLiteral("HwInput[20]") << QStringLiteral("refused");
    }
    void copyReachesEveryTargetAndNothingElse()
    {
        QFETCH(QString, failing);
        QFETCH(QString, fault);
        const auto sim = twinNetwork();
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
        QVector<Host::InputRef> targets;
        for (const QString &target : Targets)
            targets << Host::InputRef { Controller, target };
        if (fault == QLatin1String("unreachable"))
            (*sim)->failOperation(QStringLiteral("LonMarkObject.ConfigProperties"), 0x80040000 + 4099, false, failing);
        else if (fault == QLatin1String("refused"))
            (*sim)->failOperation(QStringLiteral("ConfigProperty.setValueText"), 0x80040000 + 4099, true,
                QStringLiteral("SCPTmaxRnge"), QStringLiteral("link lost"));
        const auto before = Sim::Network::fromJson((*sim)->toJson(), QStringLiteral("before"));

        const Host::CopySummary summary = Host::copyConfiguration(*sim->network(), { Controller, Source }, targets);

        QVERIFY2(summary.saved, qPrintable(summary.text()));
        QCOMPARE(summary.writtenCount(), failing.isEmpty() ? 5 : 4);
        const auto after = Sim::Network::load(sim->databasePath());
        for (const Host::CopyTargetResult &result : summary.targets) {
            const QString &name = result.target.block;
            const QString line = QStringLiteral("%1 / %2: ").arg(Controller, name);
            QCOMPARE(result.written, name != failing);
            QCOMPARE(result.reason.isEmpty(), name != failing);
            if (name == failing)
                continue; // all or nothing: it holds what it held, compared below
            QStringList properties = result.properties;
            properties.sort();
            QCOMPARE(properties, Copied);
            QVERIFY2(summary.text().contains(line + QStringLiteral("written: ") + result.properties.join(", ") + "."),
                qPrintable(summary.text()));
            for (const QString &cp : Copied) {
                QVERIFY2(after->storedCpText(Controller, name, cp, onNv(cp))
                        == after->storedCpText(Controller, Source, cp, onNv(cp)),
                    qPrintable(name + QLatin1Char(' ') + cp));
                // Put back, so that what is compared below is everything else.
                after->setStoredCpText(
                    Controller, name, cp, before->storedCpText(Controller, name, cp, onNv(cp)), onNv(cp));
            }
        }
        QCOMPARE(after->toJson(), before->toJson());
        if (fault == QLatin1String("refused")) {
            // The defaults go on after a refused property; everything they changed went back.
            const Host::CopyTargetResult &refused = summary.targets.first();
            QCOMPARE(refused.failed.size(), 1);
            QCOMPARE(refused.failed.first().property, QStringLiteral("SCPTmaxRnge"));
            QCOMPARE(refused.properties.size(), Copied.size() - 1);
            QVERIFY(refused.notRestored.isEmpty());
            // Only what the copy changed is written back (the twin's minimum equals the source's).
            const QString restored = "UCPThwInOptions, UCPTinputSignalInterpretation, UCPTinputSignalType, UCPToffset, "
                                     "UCPTtransTable, SCPTmaxSendTime, SCPTovrValue";
            QCOMPARE(refused.restored.join(", "), restored);
            QVERIFY2(summary.text().contains(
                         QStringLiteral("%1 / HwInput[20]: not written: failed: SCPTmaxRnge (link lost); put back: %2.")
                             .arg(Controller, restored)),
                qPrintable(summary.text()));
        }
    }

    // Offered are the inputs whose variable has the source's type, on a configurable device
    // with its program ID and a block of its object version; anything else is refused.
    void targetsShareProgramIdObjectVersionAndType()
    {
        const auto sim = twinNetwork();
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
        QStringList offered;
        for (const Host::InputRef &target : Host::copyTargets(*sim->network(), { Controller, Source }))
            offered << target.block;
        QCOMPARE(offered, Targets);
        // In the sample itself no two inputs of a configurable device share type and object version.
        QVERIFY(Host::copyTargets(*sim->network(), { Controller, QStringLiteral("HwInput[0]") }).isEmpty());
        const auto before = (*sim)->toJson();
        const Host::CopySummary refused = Host::copyConfiguration(*sim->network(), { Controller, Source },
            { { Controller, QStringLiteral("HwInput[8]") }, { Controller, QStringLiteral("HwInput[5]") },
                { QStringLiteral("HWI-Controller 2"), QStringLiteral("HwInput[0]") } });
        QCOMPARE(refused.writtenCount(), 0);
        // A percentage is no pressure.
        QVERIFY2(refused.targets[0].reason.startsWith(QStringLiteral("its network variable has another type")),
            qPrintable(refused.targets[0].reason));
        QVERIFY(refused.targets[1].reason.contains(QStringLiteral("object version 1")));
        QVERIFY(!refused.targets[2].reason.isEmpty());
        QCOMPARE((*sim)->toJson(), before);
    }

    void sectionIsAddedOrReplacedAndReadsBack_data()
    {
        QTest::addColumn<QString>("file"); // what the file holds before
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value"); // of SCPTmaxRnge
        QTest::addColumn<QString>("expected"); // the file after, or empty when refused
        const QString other = QStringLiteral("; head\n[Other]\nSCPTminRnge = 1\n");
        const QString head = "; Input defaults saved by vqhost. One section per input type; keys are the\n"
                             "; property names of the hardware input and of its network variable.\n\n";
        const QString room = "[Room]\nSCPTminRnge = 0\nSCPTmaxRnge = 40\n";
        // clang-format off
        QTest::newRow("new file") << QString() << "Room" << "40" << head + room;
        QTest::newRow("added") << other << "Room" << "40" << other + "\n" + room;
        QTest::newRow("replaced, comments kept") << "[room]\n; mine\nSCPTmaxRnge = 9\nUCPToffset = 2\n\n" + other << "Room" << "40" << "[room]\n; mine\nSCPTminRnge = 0\nSCPTmaxRnge = 40\n\n" + other;
        QTest::newRow("cleaned on reading") << other << "Room" << "40 (x)" << QString();
        QTest::newRow("beyond the reader's buffer") << other << "Room" << QString(480, QLatin1Char('1')) << QString();
        QTest::newRow("not a section name") << other << "Ro]om" << "40" << QString();
        // The reader refuses a whole file holding a control character, or one too large to be a defaults file.
        QTest::newRow("bell in a value") << other << "Room" << "40\a" << QString();
        QTest::newRow("NUL in a value") << other << "Room" << QStringLiteral("40") + QChar(0) << QString();
        QTest::newRow("file grown too large") << "; " + QString(4 * 1024 * 1024 - 40, QLatin1Char('x')) + "\n" + other << "Room" << "40" << QString();
        // clang-format on
    }
    void sectionIsAddedOrReplacedAndReadsBack()
    {
        QFETCH(QString, file);
        QFETCH(QString, section);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini"));
        if (!file.isEmpty()) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("CommonFiles"))));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file.toUtf8());
        }
        QString error;
        const bool written = Host::writeDefaultsSection(path, section,
            { { QStringLiteral("SCPTminRnge"), QStringLiteral("0") }, { QStringLiteral("SCPTmaxRnge"), value } },
            error);
        QCOMPARE(written, !expected.isEmpty());
        QCOMPARE(error.isEmpty(), written);
        QFile f(path);
        const QString now = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        QCOMPARE(now, written ? expected : file);
    }

    void savedInputTypeAppliesThroughTheDefaults_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        // clang-format off
        QTest::newRow("set-point offset onto a thermistor") << "HwInput[10]" << "HwInput[0]";
        QTest::newRow("six-field structure onto itself") << "HwInput[12]" << "HwInput[12]";
        QTest::newRow("version 1, multi-level") << "HwInput[7]" << "HwInput[7]";
        // clang-format on
    }
    void savedInputTypeAppliesThroughTheDefaults()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        TestSupport::SimFixture sim;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini"));
        QString error;
        // Only the device's input types name sections the defaults reader reads ("NONE" is value 0).
        QVERIFY(!Host::saveAsInputType(*sim.network(), { Controller, source }, QStringLiteral("NONE"), file, error));
        QVERIFY(!error.isEmpty() && !QFile::exists(file));
        error.clear();
        QVERIFY2(Host::saveAsInputType(
                     *sim.network(), { Controller, source }, QStringLiteral("Room_Temp_NTC10k"), file, error),
            qPrintable(error));
        const Host::InputConfiguration saved = Host::readInputConfiguration(*sim.network(), { Controller, source });
        sim->setStoredCpText(Controller, target, QStringLiteral("UCPTinputSignalType"), QStringLiteral("RESISTANCE"));
        sim->setStoredCpText(Controller, target, QStringLiteral("SCPTmaxSendTime"), QStringLiteral("99"), true);
        CInputDefaultValues defaults;
        QString folder = dir.filePath(QStringLiteral("Plugin"));
        QVERIFY(defaults.ChargeInputDefaultValues(
            folder, sim->programId(Controller), sim->scope(Controller), 19, 1, 255, error));
        defaults.setHardwareInputObject(sim->block(Controller, target));
        QVERIFY2(defaults.WriteDefaultValues(QStringLiteral("ROOM_TEMP_NTC10K"), QString(), error) && error.isEmpty(),
            qPrintable(error));
        QCOMPARE(Host::readInputConfiguration(*sim.network(), { Controller, target }).entries, saved.entries);
    }
};

QTEST_MAIN(tst_host_copy)
#include "tst_host_copy.moc"
