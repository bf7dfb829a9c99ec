// SPDX-License-Identifier: MIT
// A save killed halfway never tears the database: a helper process saves a large network
// over and over, switching between two variants, and is killed (SIGKILL) at a random moment,
// many times; every time, the file loads and holds the one variant or the other, byte for byte.
#include "helpers/SaveLoopEdit.h"
#include "support/SimJsonEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// The sample network with its devices repeated under new names: a file of some hundred
// kilobytes, so that a save takes long enough to be caught halfway.
QByteArray largeNetwork(int copies)
{
    QJsonObject root = TestSupport::sampleJson();
    QJsonArray repeated;
    for (int copy = 0; copy < copies; ++copy) {
        for (const QJsonValue &value : root.value(QStringLiteral("devices")).toArray()) {
            QJsonObject device = value.toObject();
            device[QStringLiteral("name")]
                = device[QStringLiteral("name")].toString() + QStringLiteral(" #%1").arg(copy);
            repeated.append(device);
        }
    }
    root[QStringLiteral("devices")] = repeated;
    return QJsonDocument(root).toJson();
}

} // namespace

class TestSaveInterrupted : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesOldOrNewFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("network.json"));

        // The two files a save may leave, from the edit itself.
        std::shared_ptr<Sim::Network> network = Sim::Network::fromJson(largeNetwork(10), QStringLiteral("large"));
        QByteArray variants[2];
        for (int variant : { 1, 0 }) {
            SaveLoop::applyVariant(*network, variant);
            variants[variant] = network->toJson();
        }
        QVERIFY(variants[0] != variants[1]);
        network->save(path); // the helper starts from variant 0
        network.reset();
        QVERIFY2(variants[0].size() > 150000, QByteArray::number(variants[0].size()));

        constexpr int Kills = 25;
        int midSave = 0;
        int seen[2] = { 0, 0 };
        for (int kill = 0; kill < Kills; ++kill) {
            QProcess helper;
            helper.start(QStringLiteral(VQ_SAVE_LOOP), { path });
            QVERIFY2(helper.waitForStarted(), qPrintable(helper.errorString()));
            // Let it start one to three saves, then kill it a random moment later: often in
            // the middle of the save, at times between two.
            const int saves = QRandomGenerator::global()->bounded(1, 4);
            QByteArray progress;
            while (progress.count('s') < saves) {
                QVERIFY2(helper.waitForReadyRead(30000), helper.readAllStandardError().constData());
                progress += helper.readAllStandardOutput();
            }
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            helper.kill();
            QVERIFY(helper.waitForFinished(30000));
            QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
            progress += helper.readAllStandardOutput();
            if (progress.endsWith('s'))
                ++midSave;

            const QByteArray saved = TestSupport::readFile(path);
            const int variant = saved == variants[0] ? 0 : saved == variants[1] ? 1 : -1;
            QVERIFY2(variant >= 0,
                qPrintable(
                    QStringLiteral("kill %1 left %2 bytes that are neither variant").arg(kill).arg(saved.size())));
            ++seen[variant];
            try {
                Sim::Network::load(path);
            } catch (const Sim::LoadError &error) {
                QFAIL(qPrintable(error.message()));
            }
        }
        qInfo("%d kills, %d of them in the middle of a save; the file held variant 0 %d times, variant 1 %d times",
            Kills, midSave, seen[0], seen[1]);
        // Without kills in the middle of a save the test would prove nothing.
        QVERIFY(midSave > 0);
    }
};

QTEST_GUILESS_MAIN(TestSaveInterrupted)
#include "tst_save_interrupted.moc"
