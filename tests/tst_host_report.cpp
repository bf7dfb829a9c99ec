// SPDX-License-Identifier: MIT
// The host's headless report on the sample network, the working copy that keeps the
// project's data folder untouched, and the exit status that scripts rely on.
#include "device/sim/SimNetwork.h"
#include "report/HostReport.h"
#include "window/DatabaseLocation.h"
#include "window/HostSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestHostReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("VqZovezuVaveva"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_host_report"));
    }
    void reportText()
    {
        const QString sample = Host::sampleNetworkPath();
        QVERIFY2(!sample.isEmpty(), "the sample network is missing");
        const std::shared_ptr<Sim::Network> network = Sim::Network::load(sample);
        const Host::NetworkReport report = Host::buildReport(*network);
        const QString text = Host::formatReport(report);
        // A temperature input in both systems, a pressure converted to psi, a device that cannot be configured.
        for (const char *lines :
            { "Device \"HWI-Controller 1\" (program ID 9000A53D0A040410, scope 3)\n"
              "  Input \"HwInput[0]\", variable nvoRoomTemp, NV type 105 SNVT_temp_p (base kind 5)\n"
              "      SI: format #9000A53D0A040410[0].SNVT_temp_p#SI, unit \"°C\", value 21.5\n"
              "      US: format #9000A53D0A040410[0].SNVT_temp_p#US (differences SNVT_temp_p#US_diff), unit \"°F\", "
              "value 70.7\n",
                "      US: format #9000A53D0A040410[0].SNVT_press#US, unit \"psi\", value 36.26\n",
                "Device \"HWI-Controller 2\" (program ID 9000A53D0A040410, scope 3)\n"
                "  cannot be configured: The device 'HWI-Controller 2' is not commissioned!\n" })
            QVERIFY2(text.contains(QString::fromUtf8(lines)), qPrintable(text));

        // Every input reads in both systems, each in an absolute format: "#" + program ID + "[" + scope + "]." + name.
        static const QRegularExpression absolute(QStringLiteral("^#[0-9A-Fa-f]{16}\\[\\d+\\]\\.[^.#]+"));
        int inputs = 0;
        for (const Host::DeviceReport &device : report.devices) {
            for (const Host::InputReport &input : device.inputs) {
                ++inputs;
                QVERIFY2(input.error.isEmpty() && !input.si.value.isEmpty() && !input.us.value.isEmpty(),
                    qPrintable(input.block + input.error + input.si.error + input.us.error));
                QVERIFY2(absolute.match(input.si.format).hasMatch() && absolute.match(input.us.format).hasMatch(),
                    qPrintable(input.si.format + " / " + input.us.format));
            }
        }
        QCOMPARE(inputs, 13);
    }
    void workingCopyIsKeptUntilReset()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        const auto contents = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
        };

        QString error;
        const QString copy = Host::workingCopyPath(false, &error);
        QVERIFY2(copy.startsWith(home.path()), qPrintable(copy + error));
        QFile edited(copy);
        QVERIFY(edited.open(QIODevice::WriteOnly | QIODevice::Truncate) && edited.write("{}") == 2);
        edited.close();
        QCOMPARE(Host::workingCopyPath(false, &error), copy);
        QCOMPARE(contents(copy), QByteArray("{}"));
        QCOMPARE(Host::workingCopyPath(true, &error), copy);
        QCOMPARE(contents(copy), contents(Host::sampleNetworkPath()));
    }
    // The callers put the path in front of the error: the error itself must not repeat it.
    void loadErrorNamesTheFileOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("{\n  \"formatVersion\": 2\n}") > 0);
        file.close();
        const Host::OpenResult opened = Host::openNetwork(path, false);
        QVERIFY(!opened.network);
        QCOMPARE(opened.path, path);
        QCOMPARE(
            opened.error, QStringLiteral("formatVersion: unsupported format version 2; this library reads version 1"));
    }
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "db": the database, "png": a picture's path
        QTest::addColumn<QString>("database"); // "sample", "missing", "unsaveable" or a file of tests/data
        QTest::addColumn<bool>("display"); // offscreen, else no display at all
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // on stdout, or for a usage error (2) on stderr
        const auto row
            = [](const char *name, const QStringList &arguments, const char *database, bool display, int status,
                  const char *said) { QTest::newRow(name) << arguments << database << display << status << said; };
        const QStringList report { "--report", "db" }, tour { "--screenshot", "png", "db" };
        row("report", report, "sample", true, 0, "Input \"HwInput[12]\"");
        row("report, no file", report, "missing", true, 1, "");
        row("report, an input that cannot be read", report, "network-nv.json", true, 1, "not readable");
        row("tour", tour, "sample", true, 0, "(written and saved)");
        row("tour, no file", tour, "missing", true, 1, "");
        row("tour, the save fails", tour, "unsaveable", true, 1, "(written, NOT saved)");
        // A mistake in the command line is named and exits 2 before anything runs.
        row("unknown option, no display", { "--bogus" }, "sample", false, 2, "bogus");
        row("unknown option, window", { "--bogus", "db" }, "sample", true, 2, "bogus");
        row("unknown option, report", { "--report", "--bogus", "db" }, "sample", false, 2, "bogus");
        row("format without a value", { "--report", "db", "--format" }, "sample", false, 2, "format");
        row("second database, report", { "--report", "db", "second.json" }, "sample", false, 2, "second.json");
        row("second database, window", { "db", "second.json" }, "sample", true, 2, "second.json");
    }
    // vqhost run as a script runs it: a load, read, write or save that failed gives 1, and
    // nothing unsaved is called saved; a usage error gives 2, and no window opens, no report
    // is printed.
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, database);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, said);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = dir.filePath(QStringLiteral("network.json"));
        if (database == QLatin1String("unsaveable")) {
            // A name at the file system's length limit leaves no room for the temporary file that
            // a save writes beside it: the load works, every save fails (for root as for anyone).
            path = dir.filePath(QString(250, QLatin1Char('n')) + QStringLiteral(".json"));
        }
        if (database != QLatin1String("missing")) {
            const QString source = database == QLatin1String("sample") || database == QLatin1String("unsaveable")
                ? Host::sampleNetworkPath()
                : QStringLiteral(VQ_TEST_DATA_DIR "/") + database;
            QVERIFY(QFile::copy(source, path));
            QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
            // The input types' defaults travel with the database.
            QDir().mkpath(dir.filePath(QStringLiteral("CommonFiles")));
            QFile::copy(QFileInfo(Host::sampleNetworkPath())
                            .dir()
                            .filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini")),
                dir.filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini")));
        }
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^db$")), path);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^png$")), dir.filePath("pictures/host.png"));

        QProcess host;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(QLatin1String(name));
        if (display)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
        host.setProcessEnvironment(environment);
        host.start(QStringLiteral(VQ_HOST_EXECUTABLE), arguments);
        if (!host.waitForFinished(status == 2 ? 20000 : 180000)) { // a window that opened waits for its user
            host.kill();
            host.waitForFinished();
            QFAIL("vqhost did not end");
        }
        const QString out = QString::fromUtf8(host.readAllStandardOutput());
        const QString err = QString::fromUtf8(host.readAllStandardError());
        QVERIFY2(host.exitStatus() == QProcess::NormalExit && host.exitCode() == status,
            qPrintable(QStringLiteral("exit %1: %2").arg(host.exitCode()).arg(out.right(2000) + err)));
        if (status == 2)
            QVERIFY2(out.isEmpty() && err.contains(said) && err.contains(QLatin1String("--help")), qPrintable(err));
        else
            QVERIFY2(out.contains(said), qPrintable(out.right(2000)));
        if (status != 0)
            QVERIFY2(!out.contains(QLatin1String("(written and saved)")) && !out.contains(QLatin1String("(as saved)")),
                qPrintable(out.right(2000)));
    }
};

QTEST_GUILESS_MAIN(TestHostReport)
#include "tst_host_report.moc"
