// SPDX-License-Identifier: MIT
// Copying one input's configuration to others through the defaults mechanism, and
// saving it as a section of a defaults file that the defaults reader reads back.
#include "ConfigurationCopy.h"
#include "CopyToInputsDialog.h"
#include "HostWindow.h"
#include "UserDefaultsFile.h"
#include "defaults/CInputDefaultValues.h"
#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
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

} // namespace

class tst_host_copy : public QObject
{
    Q_OBJECT

private slots:
    void copyReachesEveryTargetAndNothingElse_data()
    {
        QTest::addColumn<QString>("failing"); // a target whose device access fails, or none
        QTest::newRow("five targets") << QString();
        QTest::newRow("one target fails") << QStringLiteral("HwInput[22]");
    }
    void copyReachesEveryTargetAndNothingElse()
    {
        QFETCH(QString, failing);
        // Five more linear inputs of the source's type, each configured differently.
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
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(root).toJson()) > 0);
        file.close();

        TestSupport::SimFixture sim(database);
        QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
        // The copied properties, those of the variable last.
        const QStringList copied = { "UCPTinputSignalInterpretation", "UCPTinputSignalType", "UCPTthermistorType",
            "SCPTminRnge", "SCPTmaxRnge", "UCPTtransTable", "UCPToffset", "UCPThwInOptions", "UCPTdefaultValue",
            "SCPTovrValue", "SCPTsndDelta", "SCPTminSendTime", "SCPTmaxSendTime" };
        const auto onNv = [&](const QString &cp) { return copied.indexOf(cp) >= copied.indexOf("UCPTdefaultValue"); };
        QVector<Host::InputRef> targets;
        for (int i = 0; i < Targets.size(); ++i) {
            targets << Host::InputRef { Controller, Targets[i] };
            const QList<QPair<QString, QString>> differences = { { "UCPTinputSignalInterpretation", "TRANS_TABLE" },
                { "UCPTinputSignalType", "VOLTAGE_0_10V" }, { "SCPTmaxRnge", QString::number(40 + i) },
                { "UCPToffset", QString::number(i + 1) }, { "UCPThwInOptions", "1 0 0 0 0 0 0 0" },
                { "UCPTtransTable", "0 0 1 1 2 2 3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 11 11 12 12 13 13 14 14 15 15" },
                { "SCPTovrValue", QString::number(10 + i) }, { "SCPTmaxSendTime", QString::number(120 + i) } };
            for (const auto &[cp, text] : differences)
                sim->setStoredCpText(Controller, Targets[i], cp, text, onNv(cp));
        }
        QVERIFY(Host::copyTargets(*sim.network(), { Controller, Source }).contains(targets.first()));
        if (!failing.isEmpty())
            sim->failOperation(QStringLiteral("LonMarkObject.ConfigProperties"), 0x80040000 + 4099, false, failing);
        const auto before = Sim::Network::fromJson(sim->toJson(), QStringLiteral("before"));

        const Host::CopySummary summary = Host::copyConfiguration(*sim.network(), { Controller, Source }, targets);

        QVERIFY2(summary.saved, qPrintable(summary.text()));
        QCOMPARE(summary.writtenCount(), failing.isEmpty() ? 5 : 4);
        const auto after = Sim::Network::load(sim.databasePath());
        for (const Host::CopyTargetResult &result : summary.targets) {
            const QString &name = result.target.block;
            QCOMPARE(result.written, name != failing);
            QCOMPARE(result.reason.isEmpty(), name != failing);
            for (const QString &cp : copied) {
                if (name == failing)
                    continue;
                QVERIFY2(after->storedCpText(Controller, name, cp, onNv(cp))
                        == after->storedCpText(Controller, Source, cp, onNv(cp)),
                    qPrintable(name + QLatin1Char(' ') + cp));
                // Put back, so that what is compared below is everything else.
                after->setStoredCpText(
                    Controller, name, cp, before->storedCpText(Controller, name, cp, onNv(cp)), onNv(cp));
            }
        }
        QCOMPARE(after->toJson(), before->toJson());
    }

    void targetsShareProgramIdAndObjectVersion()
    {
        TestSupport::SimFixture sim;
        QStringList offered;
        for (const Host::InputRef &target :
            Host::copyTargets(*sim.network(), { Controller, QStringLiteral("HwInput[0]") }))
            offered << target.block;
        // The version-2 blocks of the configurable controller; the second one is not commissioned.
        QCOMPARE(offered,
            QStringList({ "HwInput[1]", "HwInput[2]", "HwInput[3]", "HwInput[8]", "HwInput[10]", "HwInput[12]" }));
        const Host::CopySummary refused
            = Host::copyConfiguration(*sim.network(), { Controller, QStringLiteral("HwInput[0]") },
                { { Controller, QStringLiteral("HwInput[4]") },
                    { QStringLiteral("HWI-Controller 2"), QStringLiteral("HwInput[0]") } });
        QCOMPARE(refused.writtenCount(), 0);
        QVERIFY(refused.targets[0].reason.contains(QStringLiteral("object version 1")));
        QVERIFY(!refused.targets[1].reason.isEmpty());
    }

    void theWindowCopiesTheTickedInputsWithOneSummary()
    {
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        seams.setModalDriver([](QDialog &dialog) {
            auto copy = qobject_cast<Host::CopyToInputsDialog *>(&dialog);
            // A pressure input takes the valve's range; a switch cannot take a plain number.
            return copy && copy->tick({ Controller, QStringLiteral("HwInput[8]") })
                    && copy->tick({ Controller, QStringLiteral("HwInput[2]") })
                ? int(QDialog::Accepted)
                : int(QDialog::Rejected);
        });
        Host::HostWindow window;
        QVERIFY(window.openDatabase(sim.databasePath()));
        QVERIFY(window.selectInput(Controller, Source));
        QVERIFY(!window.copyToInputs());
        QCOMPARE(seams.modalCount(), 1);
        QCOMPARE(seams.messageCount(), 1);
        QCOMPARE(seams.messages().first().style, 16);
        QVERIFY2(seams.messages().first().text.contains(QStringLiteral("HwInput[8]: written."))
                && seams.messages().first().text.contains(QStringLiteral("HwInput[2]: not written: The text")),
            qPrintable(seams.messages().first().text));
        // Both in their own type's SI unit: the same number, each type formatting it its way.
        const auto saved = Sim::Network::load(sim.databasePath());
        QCOMPARE(
            saved->storedCpText(Controller, QStringLiteral("HwInput[8]"), QStringLiteral("SCPTmaxRnge")).toDouble(),
            saved->storedCpText(Controller, Source, QStringLiteral("SCPTmaxRnge")).toDouble());
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
