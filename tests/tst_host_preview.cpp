// SPDX-License-Identifier: MIT
// The host's dry runs, offscreen: the preview of pending writes against what OK then
// writes, a write that would fail, and the marks of fields that differ from an input
// type's defaults, in SI and US.
#include "HostWindow.h"
#include "WritePreview.h"
#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace Host;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

// The writes to properties and to the variable's name in a stretch of the call log, with
// their arguments. (Showing an input sets the variable's format, so that is left out.)
QStringList writesIn(const QVector<Sim::CallRecord> &log, qsizetype from)
{
    QStringList writes;
    for (qsizetype i = from; i < log.size(); ++i) {
        const Sim::CallRecord &call = log.at(i);
        if (call.operation.startsWith(QLatin1String("ConfigProperty.set"))
            || call.operation == QLatin1String("NetworkVariable.setName"))
            writes << call.operation + QLatin1Char('(') + call.arguments.join(QLatin1Char('|')) + QLatin1Char(')');
    }
    return writes;
}

} // namespace

class tst_host_preview : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<TestSupport::SeamRecorder> seams;
    std::unique_ptr<HostWindow> window;
    int dialogRows = -1; // rows of the last preview dialog shown

    void edit(const QString &edits)
    {
        for (const QString &one : edits.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = one.section(QLatin1Char('='), 0, 0);
            const QString text = one.section(QLatin1Char('='), 1);
            if (auto box = window->page()->findChild<QLineEdit *>(name))
                box->setText(text);
            else if (auto combo = window->page()->findChild<QComboBox *>(name))
                combo->setCurrentIndex(combo->findText(text));
            else
                QFAIL(qPrintable(name));
        }
    }

private slots:
    void init()
    {
        sim = std::make_unique<TestSupport::SimFixture>();
        // The input-type defaults travel beside the database.
        QVERIFY(QDir(sim->tempPath()).mkpath(QStringLiteral("CommonFiles")));
        QVERIFY(QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"),
            sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini")));
        seams = std::make_unique<TestSupport::SeamRecorder>();
        seams->setModalDriver([this](QDialog &dialog) {
            dialogRows = dialog.findChild<QTableWidget *>(QStringLiteral("hostPreviewTable"))->rowCount();
            return int(QDialog::Rejected);
        });
        window = std::make_unique<HostWindow>();
        window->setReproducible(true);
        QVERIFY(window->openDatabase(sim->databasePath()));
    }
    void cleanup()
    {
        window.reset();
        seams.reset();
        sim.reset();
    }

    void previewMatchesWhatOkWrites_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("edits"); // "<field>=<text>;..."
        // clang-format off
        QTest::newRow("numeric SI") << "HwInput[0]" << 0 << "txtMax=45;txtOver=22.5;txtHeart=120";
        QTest::newRow("numeric US") << "HwInput[0]" << 1 << "txtMax=110;txtOff=1.5;txtSend=1.8";
        QTest::newRow("enumerated") << "HwInput[3]" << 0 << "cboOverride=OC_OCCUPIED;txtThrottle=5";
        // clang-format on
    }
    void previewMatchesWhatOkWrites()
    {
        QFETCH(QString, input);
        QFETCH(int, units);
        QFETCH(QString, edits);
        QVERIFY(window->selectInput(Controller, input));
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        edit(edits);
        Sim::Network &net = *window->network();
        const QByteArray before = net.toJson();
        const QVector<Sim::PropertyReading> readings = net.readings(Controller, input);
        const QStringList shown = controlState(*window->page());

        const qsizetype previewStart = net.callLog().size();
        const PreviewResult result = window->preview();
        const QStringList previewed = writesIn(net.callLog(), previewStart);
        QVERIFY2(!result.failed(), qPrintable(result.messages.join(QLatin1Char('\n')) + result.error));
        QVERIFY(result.controlsKept);
        QCOMPARE(dialogRows, int(result.rows.size()));
        // Nothing happened: the database, both controls and their change flags are as they were.
        QCOMPARE(net.toJson(), before);
        QCOMPARE(controlState(*window->page()), shown);
        QVERIFY(window->isWindowModified());

        // OK makes the same writes and saves exactly what the preview listed.
        const qsizetype okStart = net.callLog().size();
        QVERIFY(window->apply());
        QCOMPARE(writesIn(net.callLog(), okStart), previewed);
        const std::shared_ptr<Sim::Network> saved = Sim::Network::load(sim->databasePath());
        saved->setFormatLocale(qint16(units));
        const QVector<Sim::PropertyReading> written = saved->readings(Controller, input);
        QStringList changed;
        for (qsizetype i = 0; i < written.size(); ++i) {
            if (written.at(i).text != readings.at(i).text)
                changed << written.at(i).owner + QLatin1Char('.') + written.at(i).name + QLatin1Char('=')
                        + written.at(i).text;
        }
        QStringList listed;
        for (const PreviewRow &row : result.rows)
            listed << row.owner + QLatin1Char('.') + row.property + QLatin1Char('=') + row.newText;
        QCOMPARE(listed, changed);
        QCOMPARE(listed.size(), edits.count(QLatin1Char('=')));
    }

    void failingPropertyIsListed_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("faultOn"); // a property whose writes fail; empty: none injected
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("attempted");
        QTest::addColumn<QString>("written"); // a property that still changes
        // clang-format off
        QTest::newRow("injected fault") << "txtMax=45;txtHeart=120" << "SCPTmaxSendTime" << "SCPTmaxSendTime" << "120" << "SCPTmaxRnge";
        QTest::newRow("refused minimum") << "txtMin=abc;txtHeart=120" << "" << "SCPTminRnge" << "abc" << "SCPTmaxSendTime";
        // clang-format on
    }
    void failingPropertyIsListed()
    {
        QFETCH(QString, edits);
        QFETCH(QString, faultOn);
        QFETCH(QString, failing);
        QFETCH(QString, attempted);
        QFETCH(QString, written);
        Sim::Network &net = *window->network();
        if (!faultOn.isEmpty())
            net.failOperation(QStringLiteral("ConfigProperty.setValueText"), 4242, false, faultOn);
        edit(edits);
        const QByteArray before = net.toJson();
        const QStringList shown = controlState(*window->page());

        const PreviewResult result = window->preview();
        QVERIFY(result.failed());
        const PreviewRow *bad = result.row(failing);
        QVERIFY(bad);
        QVERIFY(bad->failed);
        QVERIFY(!bad->failure.isEmpty());
        QCOMPARE(bad->newText, attempted);
        QVERIFY(result.row(written) && !result.row(written)->failed);
        // The messages are collected, not shown; nothing changed.
        QVERIFY(!result.messages.isEmpty());
        QCOMPARE(seams->messageCount(), 0);
        QCOMPARE(net.toJson(), before);
        QCOMPARE(controlState(*window->page()), shown);
    }

    void deviationMarks_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("units"); // switched to after the marks are set
        // Then typed; "apply": the type's defaults applied instead; "de" first: German.
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("tipOf");
        QTest::addColumn<QString>("tip");
        const QString room = QStringLiteral("ROOM_TEMP_NTC10K");
        const QString button = QStringLiteral("OCCUPANCY_BUTTON");
        const auto row = [](const char *name, const char *input, const QString &type, int units, const char *edits,
                             const QString &marked, const char *tipOf = "", const QString &tip = QString()) {
            QTest::newRow(name) << input << type << units << edits << marked << tipOf << tip;
        };
        const QString numeric = "txtDefault,txtHeart,txtOff,txtOver,txtSend,txtThrottle";
        row("numeric SI", "HwInput[0]", room, 0, "", numeric, "txtOver", "Default for " + room + ": 21.0 °C");
        row("numeric SI edited", "HwInput[0]", room, 0, "txtMax=40;txtHeart=300;txtOver=21",
            "txtDefault,txtMax,txtOff,txtSend,txtThrottle", "txtMax", "Default for " + room + ": 50.0 °C");
        row("numeric US edited", "HwInput[0]", room, 1, "txtOver=69.8;txtMax=100",
            "txtDefault,txtHeart,txtMax,txtOff,txtSend,txtThrottle", "txtMax", "Default for " + room + ": 122.0 °F");
        row("numeric US German", "HwInput[0]", room, 1, "de;txtMax=100",
            "txtDefault,txtHeart,txtMax,txtOff,txtOver,txtSend,txtThrottle", "txtMax",
            "Vorgabe für " + room + ": 122.0 °F");
        row("numeric US applied", "HwInput[0]", room, 1, "apply", "");
        row("enumerated SI", "HwInput[3]", button, 0, "", "cboSignal,txtHeart", "cboSignal",
            "Default for " + button + ": RESISTANCE");
        row("enumerated US edited", "HwInput[3]", button, 1,
            "cboOverride=OC_OCCUPIED;cboSignal=RESISTANCE;txtHeart=600", "cboOverride", "cboOverride",
            "Default for " + button + ": OC_NUL");
    }
    void deviationMarks()
    {
        QFETCH(QString, input);
        QFETCH(QString, type);
        QFETCH(int, units);
        QFETCH(QString, edits);
        QFETCH(QString, marked);
        QFETCH(QString, tipOf);
        QFETCH(QString, tip);
        QVERIFY(window->selectInput(Controller, input));
        auto types = window->findChild<QComboBox *>(QStringLiteral("hostInputType"));
        types->setCurrentIndex(types->findText(type));
        window->setMarkDeviations(true);
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        if (edits.startsWith(QLatin1String("de;"))) {
            window->setLanguage(QStringLiteral("de"));
            edits.remove(0, 3);
        }
        if (edits == QLatin1String("apply"))
            QVERIFY(window->applyDefaults());
        else
            edit(edits);
        QStringList fields;
        for (const DeviationMark &mark : window->deviations()->marks())
            fields << mark.field;
        QCOMPARE(fields.join(QLatin1Char(',')), marked);
        if (tipOf.isEmpty())
            return;
        // The marks are read from the markers, tips included.
        const auto marker = window->page()->findChild<QWidget *>(QStringLiteral("hostDeviation_") + tipOf);
        QVERIFY(marker && !marker->isHidden());
        QCOMPARE(marker->toolTip(), tip);
        window->setMarkDeviations(false);
        QVERIFY(window->deviations()->marks().isEmpty());
    }
};

QTEST_MAIN(tst_host_preview)
#include "tst_host_preview.moc"
