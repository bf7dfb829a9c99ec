// SPDX-License-Identifier: MIT
// The host's dry runs, offscreen: the preview of pending writes against what OK then
// writes, a write that would fail, the preview dialog of a table change, the marks of
// fields that differ from an input type's defaults, in SI and US, and the question
// "Apply defaults" asks before it writes.
#include "device/sim/SimNetwork.h"
#include "preview/WritePreview.h"
#include "shared/Seams.h"
#include "support/HostTestCase.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/TableRow.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

using namespace Host;
using TestSupport::row;

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

class tst_host_preview : public TestSupport::HostTestCase
{
    Q_OBJECT

    int dialogRows = -1; // rows of the last preview dialog shown

    // Types into a field of the page as a user does: click, select all, type.
    void typeInto(const QString &name, const QString &text)
    {
        auto box = window->page()->findChild<QLineEdit *>(name);
        QVERIFY2(box, qPrintable(name));
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    QByteArray savedFile() const
    {
        QFile file(sim->databasePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

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

public:
    tst_host_preview()
    {
        host.inputDefaults = true;
        host.recordSeams = true;
        host.show = false;
    }

protected:
    void beforeWindow() override
    {
        seams->setModalDriver([this](QDialog &dialog) {
            dialogRows = dialog.findChild<QTableWidget *>(QStringLiteral("hostPreviewTable"))->rowCount();
            return int(QDialog::Rejected);
        });
    }

private slots:
    // A preview changes nothing and lists what OK then writes and saves; a write that would
    // fail is listed as failing, the others as written.
    void previewMatchesWhatOkWrites_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("edits"); // "<field>=<text>;..."
        QTest::addColumn<QString>("faultOn"); // a property whose writes fail; empty: none injected
        QTest::addColumn<QString>("failing"); // empty: the preview succeeds, then OK
        QTest::addColumn<QString>("attempted"); // empty: the text shown, not typed
        QTest::addColumn<QString>("written"); // a property that still changes beside the failing one
        const QString none;
        row("numeric SI", "HwInput[0]", 0, "txtMax=45;txtOver=22.5;txtHeart=120", none, none, none, none);
        row("numeric US", "HwInput[0]", 1, "txtMax=110;txtOff=1.5;txtSend=1.8", none, none, none, none);
        row("enumerated", "HwInput[3]", 0, "cboOverride=OC_OCCUPIED;txtThrottle=5", none, none, none, none);
        row("injected fault", "HwInput[0]", 0, "txtMax=45;txtHeart=120", "SCPTmaxSendTime", "SCPTmaxSendTime", "120",
            "SCPTmaxRnge");
        row("refused minimum", "HwInput[0]", 0, "txtMin=abc;txtHeart=120", none, "SCPTminRnge", "abc",
            "SCPTmaxSendTime");
        // The control writes the minimum with the maximum: its failure is listed though its text did not change.
        row("fault on a value not changed", "HwInput[0]", 0, "txtMax=45", "SCPTminRnge", "SCPTminRnge", none,
            "SCPTmaxRnge");
    }
    void previewMatchesWhatOkWrites()
    {
        QFETCH(QString, input);
        QFETCH(int, units);
        QFETCH(QString, edits);
        QFETCH(QString, faultOn);
        QFETCH(QString, failing);
        QFETCH(QString, attempted);
        QFETCH(QString, written);
        QVERIFY(window->selectInput(Controller, input));
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        Sim::Network &net = *window->network();
        if (!faultOn.isEmpty())
            net.failOperation(QStringLiteral("ConfigProperty.setValueText"), 4242, false, faultOn);
        edit(edits);
        const QByteArray before = net.toJson();
        const QVector<Sim::PropertyReading> readings = net.readings(Controller, input);
        const QStringList shown = controlState(*window->page());

        const qsizetype previewStart = net.callLog().size();
        const PreviewResult result = window->preview();
        const QStringList previewed = writesIn(net.callLog(), previewStart);
        // Nothing happened: the database, both controls and their change flags are as they were;
        // the messages are collected, not shown.
        QCOMPARE(net.toJson(), before);
        QCOMPARE(controlState(*window->page()), shown);
        QVERIFY(window->isWindowModified());
        QCOMPARE(seams->messageCount(), 0);
        QCOMPARE(result.failed(), !failing.isEmpty());
        if (!failing.isEmpty()) {
            const PreviewRow *bad = result.row(failing);
            QVERIFY(bad && bad->failed && !bad->failure.isEmpty() && !result.messages.isEmpty());
            if (!attempted.isEmpty())
                QCOMPARE(bad->newText, attempted);
            QVERIFY(result.row(written) && !result.row(written)->failed);
            return;
        }
        QVERIFY2(result.controlsKept, qPrintable(result.messages.join(QLatin1Char('\n')) + result.error));
        QCOMPARE(dialogRows, int(result.rows.size()));

        // OK makes the same writes and saves exactly what the preview listed.
        const qsizetype okStart = net.callLog().size();
        QVERIFY(window->apply());
        QCOMPARE(writesIn(net.callLog(), okStart), previewed);
        const std::shared_ptr<Sim::Network> saved = Sim::Network::load(sim->databasePath());
        saved->setFormatLocale(qint16(units));
        const QVector<Sim::PropertyReading> after = saved->readings(Controller, input);
        QStringList changed, listed;
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after.at(i).text != readings.at(i).text)
                changed << after.at(i).owner + QLatin1Char('.') + after.at(i).name + QLatin1Char('=')
                        + after.at(i).text;
        }
        for (const PreviewRow &row : result.rows)
            listed << row.owner + QLatin1Char('.') + row.property + QLatin1Char('=') + row.newText;
        QCOMPARE(listed, changed);
        QCOMPARE(listed.size(), edits.count(QLatin1Char('=')));
    }

    void deviationMarks_data()
    {
        QTest::addColumn<QString>("input"); // HwInput[0] against ROOM_TEMP_NTC10K, else OCCUPANCY_BUTTON
        QTest::addColumn<int>("units"); // switched to after the marks are set
        QTest::addColumn<QString>("edits"); // then typed; "de" first: German
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("tipOf");
        QTest::addColumn<QString>("tip");
        const QString room = QStringLiteral("ROOM_TEMP_NTC10K"), button = QStringLiteral("OCCUPANCY_BUTTON");
        const QString numeric = "txtDefault,txtHeart,txtOff,txtOver,txtSend,txtThrottle";
        // (No marks once the defaults are applied: tst_host_journey.)
        row("numeric SI", "HwInput[0]", 0, "", numeric, "txtOver", "Default for " + room + ": 21.0 °C");
        row("numeric SI edited", "HwInput[0]", 0, "txtMax=40;txtHeart=300;txtOver=21",
            "txtDefault,txtMax,txtOff,txtSend,txtThrottle", "txtMax", "Default for " + room + ": 50.0 °C");
        row("numeric US edited", "HwInput[0]", 1, "txtOver=69.8;txtMax=100",
            "txtDefault,txtHeart,txtMax,txtOff,txtSend,txtThrottle", "txtMax", "Default for " + room + ": 122.0 °F");
        row("numeric US German", "HwInput[0]", 1, "de;txtMax=100",
            "txtDefault,txtHeart,txtMax,txtOff,txtOver,txtSend,txtThrottle", "txtMax",
            "Vorgabe für " + room + ": 122.0 °F");
        row("enumerated SI", "HwInput[3]", 0, "", "cboSignal,txtHeart", "cboSignal",
            "Default for " + button + ": RESISTANCE");
        row("enumerated US edited", "HwInput[3]", 1, "cboOverride=OC_OCCUPIED;cboSignal=RESISTANCE;txtHeart=600",
            "cboOverride", "cboOverride", "Default for " + button + ": OC_NUL");
    }
    void deviationMarks()
    {
        QFETCH(QString, input);
        QFETCH(int, units);
        QFETCH(QString, edits);
        QFETCH(QString, marked);
        QFETCH(QString, tipOf);
        QFETCH(QString, tip);
        const QString type = input == QLatin1String("HwInput[0]") ? "ROOM_TEMP_NTC10K" : "OCCUPANCY_BUTTON";
        QVERIFY(window->selectInput(Controller, input));
        auto types = window->findChild<QComboBox *>(QStringLiteral("hostInputType"));
        types->setCurrentIndex(types->findText(type));
        window->setMarkDeviations(true);
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        if (edits.startsWith(QLatin1String("de;"))) {
            window->setLanguage(QStringLiteral("de"));
            edits.remove(0, 3);
        }
        edit(edits);
        QStringList fields;
        for (const DeviationMark &mark : window->deviations()->marks())
            fields << mark.field;
        QCOMPARE(fields.join(QLatin1Char(',')), marked);
        // The marks are read from the markers, tips included.
        const auto marker = window->page()->findChild<QWidget *>(QStringLiteral("hostDeviation_") + tipOf);
        QVERIFY(marker && !marker->isHidden());
        QCOMPARE(marker->toolTip(), tip);
        // The fields' own tips tell it too, and only while marked (an edit back to the
        // default takes it away).
        QStringList telling;
        for (const QWidget *w : window->page()->findChildren<QWidget *>()) {
            if (!w->objectName().startsWith(QLatin1String("hostDeviation_")) && w->toolTip().contains(type))
                telling << w->objectName();
        }
        telling.sort();
        QCOMPARE(telling.join(QLatin1Char(',')), marked);
        // Hovering the field shows why it is marked, above the field's own tip.
        const auto field = window->page()->findChild<QWidget *>(tipOf);
        QHelpEvent hover(QEvent::ToolTip, field->rect().center(), field->mapToGlobal(field->rect().center()));
        QApplication::sendEvent(field, &hover);
        const QString hovered = QToolTip::text();
        QToolTip::hideText();
        window->setMarkDeviations(false);
        QVERIFY(window->deviations()->marks().isEmpty());
        const QString own = field->toolTip();
        QVERIFY2(!own.isEmpty() && !own.contains(type), qPrintable(own));
        QCOMPARE(hovered, tip + QLatin1Char('\n') + own);
    }

    // The preview of a transfer-table change: at the size the dialog opens in (on a
    // 1024x768 screen at most) every column is in view and the 32 numbers wrap in theirs,
    // whole; the variable is named as the page shows it.
    void previewOfATableFits_data()
    {
        QTest::addColumn<QString>("language");
        row("en", "en");
        row("de", "de");
    }
    void previewOfATableFits()
    {
        QFETCH(QString, language);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->setLanguage(language);
        auto interpretation = window->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        interpretation->setFocus();
        QTest::keyClicks(interpretation, QStringLiteral("TRANS_"));
        QCOMPARE(interpretation->currentText(), QStringLiteral("TRANS_TABLE"));

        QStringList problems, labels;
        QString tableAfter;
        seams->setModalDriver([&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("hostPreviewDialog")) {
                // The table editor: one output typed, OK.
                auto cell = dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_7"));
                cell->selectAll();
                QTest::keyClicks(cell, QStringLiteral("35"));
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
                return dialog.result();
            }
            dialog.show();
            QCoreApplication::processEvents();
            if (dialog.frameGeometry().width() > 1024 || dialog.frameGeometry().height() > 768)
                problems << QStringLiteral("opens at %1 pixels wide").arg(dialog.frameGeometry().width());
            auto table = dialog.findChild<QTableWidget *>(QStringLiteral("hostPreviewTable"));
            const QHeaderView *header = table->horizontalHeader();
            for (int c = 0; c < table->columnCount(); ++c) {
                if (header->isSectionHidden(c) || header->sectionViewportPosition(c) < 0
                    || header->sectionViewportPosition(c) + header->sectionSize(c) > table->viewport()->width())
                    problems << QStringLiteral("not wholly in view: ") + table->horizontalHeaderItem(c)->text();
            }
            if (table->horizontalScrollBar()->maximum() > 0)
                problems << QStringLiteral("scrolls");
            const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
            for (int r = 0; r < table->rowCount(); ++r) {
                labels << table->item(r, 0)->text();
                if (!labels.last().endsWith(QLatin1String("UCPTtransTable")))
                    continue;
                tableAfter = table->item(r, 2)->text();
                const int needed = table->fontMetrics()
                                       .boundingRect(QRect(0, 0, header->sectionSize(2) - margin, 10000),
                                           Qt::TextWordWrap, tableAfter)
                                       .height();
                if (table->rowHeight(r) < needed)
                    problems << QStringLiteral("table row %1 high, needs %2").arg(table->rowHeight(r)).arg(needed);
            }
            dialog.hide();
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(
            window->hardwareControl()->findChild<QPushButton *>(QStringLiteral("cmdTable")), Qt::LeftButton);
        typeInto(QStringLiteral("txtHeart"), QStringLiteral("120"));
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("hostPreview")), Qt::LeftButton);

        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY2(tableAfter.startsWith(QLatin1String("0 0 1 10 2 20 3 35 4 40")), qPrintable(tableAfter));
        QVERIFY2(labels.contains(QStringLiteral("nvoRoomTemp.SCPTmaxSendTime"))
                && !labels.join(QLatin1Char(',')).contains(QLatin1String("nvoHwInput")),
            qPrintable(labels.join(QLatin1Char(','))));
    }

    // "Apply defaults" first lists what would change, in the units shown, the variable's
    // new name included, and writes only on Yes; when nothing would change it says so.
    void applyDefaultsAsksFirst_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("answer"); // the button clicked or the key typed in the question
        QTest::addColumn<QStringList>("listed"); // lines of the question, among others
        QTest::addColumn<QString>("maximum"); // SCPTmaxRnge in the database afterwards (SI)
        QTest::addColumn<bool>("edited"); // a heartbeat typed first, discarded when asked
        const QString arrow = QString::fromUtf8(" \u2192 ");
        const QStringList si = { "HwInput[0].UCPTthermistorType: NTC_10K_TYPE2" + arrow + "PT1000",
            "HwInput[0].SCPTmaxRnge: 50.0 °C" + arrow + "120.0 °C",
            "Variable name: nvoRoomTemp" + arrow + "nvoHwInput[0]",
            "nvoRoomTemp.SCPTmaxSendTime: 60.0 sec" + arrow + "300.0 sec" };
        const QStringList us = { "HwInput[0].SCPTmaxRnge: 122.0 °F" + arrow + "248.0 °F",
            "nvoRoomTemp.SCPTovrValue: 70.7 °F" + arrow + "113.0 °F",
            "Variable name: nvoRoomTemp" + arrow + "nvoHwInput[0]" };
        row("SI yes", 0, "hostDefaultsYes", si, "120.0", false);
        row("US yes", 1, "hostDefaultsYes", us, "120.0", false);
        row("US escape", 1, "Esc", us, "50.0", false);
        row("SI edited, discarded, no", 0, "hostDefaultsNo", si, "50.0", true);
    }
    void applyDefaultsAsksFirst()
    {
        QFETCH(int, units);
        QFETCH(QString, answer);
        QFETCH(QStringList, listed);
        QFETCH(QString, maximum);
        QFETCH(bool, edited);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        const auto types = window->findChild<QComboBox *>(QStringLiteral("hostInputType"));
        types->setFocus();
        QTest::keyClicks(types, QStringLiteral("SUPPLY"));
        QCOMPARE(types->currentText(), QStringLiteral("SUPPLY_TEMP_PT1000"));
        const QByteArray file = savedFile();
        const QByteArray held = window->network()->toJson();
        const QStringList shown = controlState(*window->page());
        QStringList unsaved; // the question is reset on the way out (HostTestCase)
        setUnsavedQuestion([&unsaved](QWidget *, const QString &what) {
            unsaved << what;
            return UnsavedAnswer::Discard;
        });
        if (edited) {
            typeInto(QStringLiteral("txtHeart"), QStringLiteral("120"));
            QVERIFY(window->isWindowModified());
        }
        const auto applyButton = window->findChild<QPushButton *>(QStringLiteral("hostApplyDefaults"));

        QString asked;
        bool heldWhileAsked = false;
        seams->setModalDriver([&](QDialog &dialog) {
            auto box = qobject_cast<QMessageBox *>(&dialog);
            if (!box)
                return int(QDialog::Rejected);
            asked = box->text() + QLatin1Char('\n') + box->informativeText();
            heldWhileAsked = window->network()->toJson() == held && savedFile() == file;
            box->show();
            if (answer == QLatin1String("Esc"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                QTest::mouseClick(box->findChild<QPushButton *>(answer), Qt::LeftButton);
            return box->result();
        });
        QTest::mouseClick(applyButton, Qt::LeftButton);
        QCOMPARE(unsaved.size(), edited ? 1 : 0);
        QCOMPARE(seams->modalCount(), 1);
        QVERIFY(heldWhileAsked); // nothing was written before the answer
        QVERIFY2(asked.startsWith(QStringLiteral("Apply the defaults of SUPPLY_TEMP_PT1000 to HwInput[0]?")),
            qPrintable(asked));
        for (const QString &line : listed)
            QVERIFY2(
                asked.split(QLatin1Char('\n')).contains(line), qPrintable(line + QStringLiteral("\nin\n") + asked));
        QVERIFY2(!asked.contains(QLatin1String("SCPTsndDelta")), qPrintable(asked)); // the same before and after

        const auto stored = [this](const QString &cp) {
            return Sim::Network::load(sim->databasePath())->storedCpText(Controller, QStringLiteral("HwInput[0]"), cp);
        };
        QCOMPARE(stored(QStringLiteral("SCPTmaxRnge")), maximum);
        if (answer != QLatin1String("hostDefaultsYes")) {
            // Nothing changed: file, network and page are as they were (discarded edits gone).
            QCOMPARE(savedFile(), file);
            QCOMPARE(window->network()->toJson(), held);
            QCOMPARE(controlState(*window->page()), shown);
            QVERIFY(!window->isWindowModified());
            QCOMPARE(seams->messageCount(), 0);
            return;
        }
        QCOMPARE(stored(QStringLiteral("UCPTthermistorType")), QStringLiteral("PT1000"));
        QCOMPARE(window->networkControl()->findChild<QLineEdit *>(QStringLiteral("txtHwInputNVName"))->text(),
            QStringLiteral("nvoHwInput[0]"));
        QVERIFY(!window->isWindowModified());

        // Again: nothing would change; it says so, asks nothing and writes nothing.
        const QByteArray applied = savedFile();
        const int saves = window->savesDone();
        seams->clear();
        QTest::mouseClick(applyButton, Qt::LeftButton);
        QCOMPARE(seams->modalCount(), 0);
        QCOMPARE(seams->messageCount(), 1);
        QCOMPARE(seams->messages().first().style, MKorvane::vbInformation);
        QCOMPARE(seams->messages().first().text,
            QStringLiteral(
                "The defaults of SUPPLY_TEMP_PT1000 would change nothing on HwInput[0]; nothing was written."));
        QCOMPARE(window->savesDone(), saves);
        QCOMPARE(savedFile(), applied);
    }
};

QTEST_MAIN(tst_host_preview)
#include "tst_host_preview.moc"
