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
#include "support/SimTestCase.h"
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
QString shownNow(Sim::Network &network, const QString &input, const QString &field, qint16 system = 0)
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

class TestHostPoints : public TestSupport::SimTestCase
{
    Q_OBJECT

    std::unique_ptr<TestSupport::SeamRecorder> seams;
    std::unique_ptr<HostWindow> window;

protected:
    void prepare() override { seams = std::make_unique<TestSupport::SeamRecorder>(); }
    void finish() override
    {
        window.reset();
        seams.reset();
    }
    void openWindow()
    {
        window = std::make_unique<HostWindow>();
        window->setAskWhenLocked(false);
        QVERIFY(window->openDatabase(sim->databasePath()));
    }

private slots:
    void import_data()
    {
        QTest::addColumn<QByteArray>("csv"); // one row; its input and its last column are checked
        QTest::addColumn<QString>("shownAfter"); // in the list's units; empty: the row cannot be applied
        QTest::addColumn<QString>("problem"); // a part of the reason
        const auto row = [](const char *name, const QByteArray &columns, const QByteArray &line, const char *after,
                             const char *problem = "") {
            const QByteArray device = line.startsWith("HWI-") ? QByteArray() : "HWI-Controller 1,";
            QTest::newRow(name) << "device,input,units SI," + columns + "\n" + device + line + "\n"
                                << QString(after) << QString(problem);
        };
        const auto whole = [](const char *name, const char *csv, const char *after) {
            QTest::newRow(name) << QByteArray(csv) << QString(after) << QString();
        };
        whole(
            "text field, SI, CR LF", "device,input,units SI,txtMax\r\nHWI-Controller 1,HwInput[1],SI,90\r\n", "90.000");
        whole("text field, US", "device,input,units US,txtMax\nHWI-Controller 1,HwInput[0],US,140\n", "140.0");
        whole("network side, quoted",
            "device,input,units SI,\"txtHeart\"\n\"HWI-Controller 1\",\"HwInput[4]\",\"SI\",\"120\"\n", "120.0");
        row("list", "cboSignal", "HwInput[6],,MILIAMPS_4_20MA", "MILIAMPS_4_20MA");
        row("check box", "chkReverse", "HwInput[2],SI,no", "no");
        row("enumerated override", "cboOverride", "HwInput[3],SI,OC_OCCUPIED", "OC_OCCUPIED");
        row("unknown device", "txtMax", "HWI-Controller 9,HwInput[1],SI,90", "", "no device");
        row("unknown input", "txtMax", "HwInput[77],SI,90", "", "has no input");
        row("column the input does not have", "txtMax,cboTherm", "HwInput[1],SI,90,NTC_10K_TYPE2", "",
            "has no field cboTherm");
        row("item the list does not offer", "txtMax,cboSignal", "HwInput[1],SI,90,FOO", "", "offers no");
        row("value the control refuses", "txtMax", "HwInput[1],SI,abc", "", "");
        row("row in other units", "txtMax", "HwInput[1],US,90", "", "in US units, the list in SI");
        row("locked name changed", "txtMax,txtHwInputNVName", "HwInput[1],SI,90,nvoX", "", "cannot be edited");
    }
    void import()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, shownAfter);
        QFETCH(QString, problem);
        const PointsList list = parse(csv);
        QCOMPARE(list.rows.size(), 1);
        const QString input = list.rows.first().input;
        const QString field = csv.left(csv.indexOf('\n')).split(',').last().replace('"', "").trimmed();
        const QByteArray before = fileBytes(sim->databasePath());
        const QString shownBefore = shownNow(*sim->network(), input, field, list.measurementSystem);

        const ImportPlan plan = planImport(*sim->network(), list);
        QCOMPARE(plan.inputs.size(), 1);
        QCOMPARE(fileBytes(sim->databasePath()), before); // the preview writes nothing
        const ImportSummary summary = applyImport(*sim->network(), list, plan);
        QCOMPARE(summary.succeeded(), !shownAfter.isEmpty());
        QCOMPARE(summary.inputs.first().state, shownAfter.isEmpty() ? InputResult::NotWritten : InputResult::Written);
        if (shownAfter.isEmpty()) {
            QVERIFY2(!plan.inputs.first().problems.isEmpty() && plan.text().contains(problem), qPrintable(plan.text()));
            QCOMPARE(fileBytes(sim->databasePath()), before);
            QCOMPARE(shownNow(*sim->network(), input, field, list.measurementSystem), shownBefore);
            return;
        }
        QVERIFY2(plan.inputs.first().applicable(), qPrintable(plan.text()));
        QCOMPARE(plan.inputs.first().changes.first().field, field);
        QVERIFY(summary.saved && sim->reload());
        QCOMPARE(shownNow(*sim->network(), input, field, list.measurementSystem), shownAfter);
    }

    // The hardware side is written, the network side fails: the hardware side is put back.
    void failsPartWay()
    {
        const PointsList list = parse("device,input,units SI,txtMax,txtHeart\nHWI-Controller 1,HwInput[4],SI,70,120\n"
                                      "HWI-Controller 1,HwInput[1],SI,90,\n");
        const auto maximum = [this] { return (*sim)->storedCpText(Controller, "HwInput[4]", "SCPTmaxRnge"); };
        const QString maxBefore = maximum();
        const ImportPlan plan = planImport(*sim->network(), list);
        QCOMPARE(plan.applicableCount(), 2);
        // The device fails after the preview, on the network side's heartbeat.
        (*sim)->failOperation(
            QStringLiteral("ConfigProperty.setValueText"), 5, false, QStringLiteral("SCPTmaxSendTime"));
        const ImportSummary summary = applyImport(*sim->network(), list, plan);
        QVERIFY(!summary.succeeded());
        QCOMPARE(summary.inputs.at(0).state, InputResult::NotWritten);
        QVERIFY2(summary.inputs.at(0).restore.contains(QLatin1String("SCPTmaxRnge")), qPrintable(summary.text()));
        QCOMPARE(summary.inputs.at(1).state,
            InputResult::Written); // the other input still is
        (*sim)->clearFaults();
        QVERIFY(summary.saved && sim->reload());
        QCOMPARE(maximum(), maxBefore);
        QCOMPARE(shownNow(*sim->network(), QStringLiteral("HwInput[1]"), QStringLiteral("txtMax")), "90.000");
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
        qint16 system = 0;
        QVERIFY(parseSystemName(units, system));
        const QString path = sim->tempPath() + QStringLiteral("/list.csv");
        QString error;
        QVERIFY2(exportPoints(*sim->network(), system, path, error), qPrintable(error));
        const QByteArray before = fileBytes(sim->databasePath());
        const PointsList list = parse(fileBytes(path));
        QCOMPARE(list.measurementSystem, system);
        QVERIFY(list.rows.size() >= 13);
        const ImportSummary summary = applyImport(*sim->network(), list, planImport(*sim->network(), list));
        QVERIFY2(summary.succeeded(), qPrintable(summary.text()));
        QCOMPARE(summary.count(InputResult::Unchanged), int(list.rows.size()));
        QVERIFY(!summary.wrote);
        QCOMPARE(fileBytes(sim->databasePath()), before);
        // Written again, the list reads back the same.
        QCOMPARE(writePointsCsv(list), fileBytes(path));
        // One cell changed: only its field is listed, not the cells that hold what is shown.
        PointsList one = list;
        one.rows = { list.rows.at(1) };
        one.rows[0].cells[QStringLiteral("txtMax")] = QStringLiteral("90");
        const ImportPlan plan = planImport(*sim->network(), one);
        QVERIFY2(plan.inputs.first().changes.size() == 1, qPrintable(plan.text()));
    }

    // OK, then Edit > Undo last confirm through the menu: the database is as before, byte for byte.
    void undoLastConfirm()
    {
        QStringList shown;
        seams->setModalDriver([&](QDialog &dialog) {
            shown << dialog.objectName();
            dialog.show();
            auto undo = dialog.findChild<QPushButton *>(QStringLiteral("pointsUndo"));
            if (!undo)
                return int(QDialog::Rejected);
            QTest::mouseClick(undo, Qt::LeftButton);
            return dialog.result();
        });
        openWindow();
        QVERIFY(window->saveDatabase()); // the file as the host writes it
        const QByteArray original = fileBytes(sim->databasePath());
        QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[1]")));
        QVERIFY(!window->points()->undoAction()->isEnabled());
        window->page()->findChild<QLineEdit *>(QStringLiteral("txtMax"))->setText(QStringLiteral("80"));
        window->page()->findChild<QLineEdit *>(QStringLiteral("txtHeart"))->setText(QStringLiteral("90"));
        QVERIFY(window->apply());
        QVERIFY(fileBytes(sim->databasePath()) != original);
        QVERIFY(window->points()->canUndo());
        window->points()->undoAction()->trigger();
        QCOMPARE(shown, QStringList { QStringLiteral("pointsUndoQuestion") });
        QCOMPARE(fileBytes(sim->databasePath()), original);
        QVERIFY(!window->points()->canUndo()); // offered once
    }

    // File > Import points list...: only the ticked input is written; File > Export points
    // list... then holds what was just written.
    void importAndExportInWindow()
    {
        const QString path = sim->tempPath() + QStringLiteral("/list.csv");
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(
            "device,input,units SI,txtMax\nHWI-Controller 1,HwInput[1],SI,90\nHWI-Controller 1,HwInput[4],SI,70\n");
        csv.close();
        seams->setModalDriver([&](QDialog &dialog) {
            dialog.show();
            auto tree = dialog.findChild<QTreeWidget *>(QStringLiteral("pointsInputs"));
            auto ticked = dialog.findChild<QPushButton *>(QStringLiteral("pointsApplyTicked"));
            if (!tree || !ticked || tree->topLevelItemCount() != 2)
                return int(QDialog::Rejected);
            tree->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
            QTest::mouseClick(ticked, Qt::LeftButton);
            return dialog.result();
        });
        openWindow();
        window->points()->setFileChooser([&](bool) { return path; });
        window->points()->importAction()->trigger();
        QCOMPARE(seams->modalCount(), 1);
        QVERIFY(sim->reload());
        QCOMPARE(shownNow(*sim->network(), QStringLiteral("HwInput[1]"), QStringLiteral("txtMax")), "90.000");
        QCOMPARE(shownNow(*sim->network(), QStringLiteral("HwInput[4]"), QStringLiteral("txtMax")), "80.0");

        const QString exported = sim->tempPath() + QStringLiteral("/exported.csv");
        window->points()->setFileChooser([&](bool save) { return save ? exported : QString(); });
        window->points()->exportAction()->trigger();
        const PointsList list = parse(fileBytes(exported));
        QCOMPARE(list.rows.size(), 13);
        QCOMPARE(list.rows.at(1).cells.value(QStringLiteral("txtMax")), "90.000");
    }
};

QTEST_MAIN(TestHostPoints)
#include "tst_host_points.moc"
