// SPDX-License-Identifier: MIT
// The points list: rows of every field kind typed through the input page, in both unit
// systems, rows that cannot be applied (and why), an input whose write fails part-way
// (all or nothing), an export and import that change nothing, and the undo of the last
// confirm through the window's menu.
#include "points/PointsImport.h"
#include "points/PointsList.h"
#include "report/HostReport.h"
#include "report/ReportFormats.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "window/HostWindow.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Host;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the list shows for one input's field now, read through the controls.
QString shownNow(Sim::Network &network, const QString &input, const QString &field, qint16 system)
{
    NetworkReport report = buildReport(network);
    addShownFields(report, network);
    for (const PointsRow &row : pointsFromReport(report, system).rows) {
        if (row.input == input)
            return row.cells.value(field);
    }
    return QStringLiteral("(no row)");
}

PointsList parse(const QByteArray &csv)
{
    PointsList list;
    QString error;
    if (!readPointsCsv(csv, list, error))
        qWarning("%s", qPrintable(error));
    return list;
}

} // namespace

class TestHostPoints : public QObject
{
    Q_OBJECT

private slots:
    void import_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shownAfter"); // in the list's units; empty: the row cannot be applied
        QTest::addColumn<QString>("problem"); // a part of the reason

        const QByteArray si = "device,input,units SI,";
        const QByteArray us = "device,input,units US,";
        QTest::newRow("text field, SI") << si + "txtMax\r\nHWI-Controller 1,HwInput[1],SI,90\r\n"
                                        << "HwInput[1]"
                                        << "txtMax"
                                        << "90.000" << QString();
        QTest::newRow("text field, US") << us + "txtMax\nHWI-Controller 1,HwInput[0],US,140\n"
                                        << "HwInput[0]"
                                        << "txtMax"
                                        << "140.0" << QString();
        QTest::newRow("list") << si + "cboSignal\nHWI-Controller 1,HwInput[6],,MILIAMPS_4_20MA\n"
                              << "HwInput[6]"
                              << "cboSignal"
                              << "MILIAMPS_4_20MA" << QString();
        QTest::newRow("check box") << si + "chkReverse\nHWI-Controller 1,HwInput[2],SI,no\n"
                                   << "HwInput[2]"
                                   << "chkReverse"
                                   << "no" << QString();
        QTest::newRow("network side, quoted")
            << si + "\"txtHeart\"\n\"HWI-Controller 1\",\"HwInput[4]\",\"SI\",\"120\"\n"
            << "HwInput[4]"
            << "txtHeart"
            << "120.0" << QString();
        QTest::newRow("enumerated override") << si + "cboOverride\nHWI-Controller 1,HwInput[3],SI,OC_OCCUPIED\n"
                                             << "HwInput[3]"
                                             << "cboOverride"
                                             << "OC_OCCUPIED" << QString();
        QTest::newRow("unknown device") << si + "txtMax\nHWI-Controller 9,HwInput[1],SI,90\n"
                                        << "HwInput[1]"
                                        << "txtMax" << QString() << "no device";
        QTest::newRow("unknown input") << si + "txtMax\nHWI-Controller 1,HwInput[77],SI,90\n"
                                       << "HwInput[1]"
                                       << "txtMax" << QString() << "has no input";
        QTest::newRow("column the input does not have")
            << si + "txtMax,cboTherm\nHWI-Controller 1,HwInput[1],SI,90,NTC_10K_TYPE2\n"
            << "HwInput[1]"
            << "txtMax" << QString() << "has no field cboTherm";
        QTest::newRow("item the list does not offer")
            << si + "txtMax,cboSignal\nHWI-Controller 1,HwInput[1],SI,90,FOO\n"
            << "HwInput[1]"
            << "txtMax" << QString() << "offers no";
        QTest::newRow("value the control refuses") << si + "txtMax\nHWI-Controller 1,HwInput[1],SI,abc\n"
                                                   << "HwInput[1]"
                                                   << "txtMax" << QString() << "";
        QTest::newRow("row in other units") << si + "txtMax\nHWI-Controller 1,HwInput[1],US,90\n"
                                            << "HwInput[1]"
                                            << "txtMax" << QString() << "in US units, the list in SI";
        QTest::newRow("locked name changed") << si + "txtMax,txtHwInputNVName\nHWI-Controller 1,HwInput[1],SI,90,nvoX\n"
                                             << "HwInput[1]"
                                             << "txtMax" << QString() << "cannot be edited";
    }

    void import()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, input);
        QFETCH(QString, field);
        QFETCH(QString, shownAfter);
        QFETCH(QString, problem);
        TestSupport::SimFixture sim;
        QVERIFY(sim.isLoaded());
        TestSupport::SeamRecorder seams;
        const PointsList list = parse(csv);
        QCOMPARE(list.rows.size(), 1);
        const QByteArray before = fileBytes(sim.databasePath());
        const QString shownBefore = shownNow(*sim.network(), input, field, list.measurementSystem);

        const ImportPlan plan = planImport(*sim.network(), list);
        QCOMPARE(plan.inputs.size(), 1);
        QCOMPARE(fileBytes(sim.databasePath()), before); // the preview writes nothing
        const ImportSummary summary = applyImport(*sim.network(), list, plan);
        if (shownAfter.isEmpty()) {
            QVERIFY2(!plan.inputs.first().problems.isEmpty(), qPrintable(plan.text()));
            QVERIFY2(plan.text().contains(problem), qPrintable(plan.text()));
            QVERIFY(!summary.succeeded());
            QCOMPARE(summary.inputs.first().state, InputResult::NotWritten);
            QCOMPARE(fileBytes(sim.databasePath()), before);
            QCOMPARE(shownNow(*sim.network(), input, field, list.measurementSystem), shownBefore);
            return;
        }
        QVERIFY2(plan.inputs.first().applicable(), qPrintable(plan.text()));
        QCOMPARE(plan.inputs.first().changes.first().field, field);
        QVERIFY2(summary.succeeded(), qPrintable(summary.text()));
        QCOMPARE(summary.inputs.first().state, InputResult::Written);
        QVERIFY(summary.saved);
        QVERIFY(sim.reload());
        QCOMPARE(shownNow(*sim.network(), input, field, list.measurementSystem), shownAfter);
    }

    // The hardware side is written, the network side fails: the hardware side is put back.
    void failsPartWay()
    {
        TestSupport::SimFixture sim;
        QVERIFY(sim.isLoaded());
        TestSupport::SeamRecorder seams;
        const PointsList list = parse("device,input,units SI,txtMax,txtHeart\nHWI-Controller 1,HwInput[4],SI,70,120\n"
                                      "HWI-Controller 1,HwInput[1],SI,90,\n");
        const QString maxBefore
            = sim->storedCpText(Controller, QStringLiteral("HwInput[4]"), QStringLiteral("SCPTmaxRnge"));
        const ImportPlan plan = planImport(*sim.network(), list);
        QCOMPARE(plan.applicableCount(), 2);
        // The device fails after the preview, on the network side's heartbeat.
        sim->failOperation(QStringLiteral("ConfigProperty.setValueText"), 5, false, QStringLiteral("SCPTmaxSendTime"));
        const ImportSummary summary = applyImport(*sim.network(), list, plan);
        QVERIFY(!summary.succeeded());
        QCOMPARE(summary.inputs.at(0).state, InputResult::NotWritten);
        QVERIFY2(summary.inputs.at(0).restore.contains(QLatin1String("SCPTmaxRnge")), qPrintable(summary.text()));
        QCOMPARE(summary.inputs.at(1).state, InputResult::Written); // the other input still is
        sim->clearFaults();
        QVERIFY(summary.saved);
        QVERIFY(sim.reload());
        QCOMPARE(sim->storedCpText(Controller, QStringLiteral("HwInput[4]"), QStringLiteral("SCPTmaxRnge")), maxBefore);
        QCOMPARE(shownNow(*sim.network(), QStringLiteral("HwInput[1]"), QStringLiteral("txtMax"), 0), "90.000");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("units");
        QTest::newRow("SI") << "SI";
        QTest::newRow("US") << "US";
    }

    // Export, then import the list as it is: nothing is written, the file stays byte for byte.
    void roundTrip()
    {
        QFETCH(QString, units);
        TestSupport::SimFixture sim;
        QVERIFY(sim.isLoaded());
        TestSupport::SeamRecorder seams;
        qint16 system = 0;
        QVERIFY(parseSystemName(units, system));
        const QString path = sim.tempPath() + QStringLiteral("/list.csv");
        QString error;
        QVERIFY2(exportPoints(*sim.network(), system, path, error), qPrintable(error));
        const QByteArray before = fileBytes(sim.databasePath());
        const PointsList list = parse(fileBytes(path));
        QCOMPARE(list.measurementSystem, system);
        QVERIFY(list.rows.size() >= 13);
        const ImportSummary summary = applyImport(*sim.network(), list, planImport(*sim.network(), list));
        QVERIFY2(summary.succeeded(), qPrintable(summary.text()));
        QCOMPARE(summary.count(InputResult::Unchanged), int(list.rows.size()));
        QVERIFY(!summary.wrote);
        QCOMPARE(fileBytes(sim.databasePath()), before);
        // Written again, the list reads back the same.
        QCOMPARE(writePointsCsv(list), fileBytes(path));
    }

    // OK, then Edit > Undo last confirm through the menu: the database is as before, byte for byte.
    void undoLastConfirm()
    {
        TestSupport::SimFixture sim;
        QVERIFY(sim.isLoaded());
        TestSupport::SeamRecorder seams;
        QStringList shown;
        seams.setModalDriver([&](QDialog &dialog) {
            shown << dialog.objectName();
            dialog.show();
            auto undo = dialog.findChild<QPushButton *>(QStringLiteral("pointsUndo"));
            if (!undo)
                return int(QDialog::Rejected);
            QTest::mouseClick(undo, Qt::LeftButton);
            return dialog.result();
        });
        HostWindow window;
        window.setAskWhenLocked(false);
        QVERIFY(window.openDatabase(sim.databasePath()));
        QVERIFY(window.saveDatabase()); // the file as the host writes it
        const QByteArray original = fileBytes(sim.databasePath());
        QVERIFY(window.selectInput(Controller, QStringLiteral("HwInput[1]")));
        QVERIFY(!window.points()->undoAction()->isEnabled());
        auto max = window.page()->findChild<QLineEdit *>(QStringLiteral("txtMax"));
        auto heart = window.page()->findChild<QLineEdit *>(QStringLiteral("txtHeart"));
        max->setText(QStringLiteral("80"));
        heart->setText(QStringLiteral("90"));
        QVERIFY(window.apply());
        QVERIFY(fileBytes(sim.databasePath()) != original);
        QVERIFY(window.points()->canUndo());
        window.points()->undoAction()->trigger();
        QCOMPARE(shown, QStringList { QStringLiteral("pointsUndoQuestion") });
        QCOMPARE(fileBytes(sim.databasePath()), original);
        QVERIFY(!window.points()->canUndo()); // offered once
    }

    // File > Import points list...: only the ticked input is written.
    void importInWindow()
    {
        TestSupport::SimFixture sim;
        QVERIFY(sim.isLoaded());
        TestSupport::SeamRecorder seams;
        const QString path = sim.tempPath() + QStringLiteral("/list.csv");
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(
            "device,input,units SI,txtMax\nHWI-Controller 1,HwInput[1],SI,90\nHWI-Controller 1,HwInput[4],SI,70\n");
        csv.close();
        seams.setModalDriver([&](QDialog &dialog) {
            dialog.show();
            auto tree = dialog.findChild<QTreeWidget *>(QStringLiteral("pointsInputs"));
            auto ticked = dialog.findChild<QPushButton *>(QStringLiteral("pointsApplyTicked"));
            if (!tree || !ticked || tree->topLevelItemCount() != 2)
                return int(QDialog::Rejected);
            tree->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
            QTest::mouseClick(ticked, Qt::LeftButton);
            return dialog.result();
        });
        HostWindow window;
        window.setAskWhenLocked(false);
        QVERIFY(window.openDatabase(sim.databasePath()));
        window.points()->setFileChooser([&](bool) { return path; });
        window.points()->importAction()->trigger();
        QCOMPARE(seams.modalCount(), 1);
        QVERIFY(sim.reload());
        QCOMPARE(shownNow(*sim.network(), QStringLiteral("HwInput[1]"), QStringLiteral("txtMax"), 0), "90.000");
        QCOMPARE(shownNow(*sim.network(), QStringLiteral("HwInput[4]"), QStringLiteral("txtMax"), 0), "80.0");

        // File > Export points list...: the list holds what was just written.
        const QString exported = sim.tempPath() + QStringLiteral("/exported.csv");
        window.points()->setFileChooser([&](bool save) { return save ? exported : QString(); });
        window.points()->exportAction()->trigger();
        const PointsList list = parse(fileBytes(exported));
        QCOMPARE(list.rows.size(), 13);
        QCOMPARE(list.rows.at(1).cells.value(QStringLiteral("txtMax")), "90.000");
    }
};

QTEST_MAIN(TestHostPoints)
#include "tst_host_points.moc"
