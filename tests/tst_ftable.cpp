// SPDX-License-Identifier: MIT
// The transfer-table editor driven through its widgets against the simulated network:
// OK and Cancel, the cell checks and their messages, focus, the clipboard, unit
// conversion in the US system, empty, short and damaged table texts, translated captions.
// And the curve beside the cells: it follows the cells as they are typed, in the units they
// show, marks rows whose input does not ascend, whose output is out of range and cells that
// are not numbers, keeps its row numbers clear of the texts of its axes, and stays out of the
// form's way (no focus, no overlap with the cells).
#include "device/DeviceAccess.h"
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/TableRow.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// 32 fields: input r is r, output r is factor times r.
QStringList linearFields(int factor = 10)
{
    QStringList fields;
    for (int r = 0; r < 16; ++r)
        fields << QString::number(r) << QString::number(factor * r);
    return fields;
}

// The fields with edits "k=text" applied.
QStringList edited(QStringList fields, const QStringList &edits)
{
    for (const QString &edit : edits)
        fields[edit.section('=', 0, 0).toInt()] = edit.section('=', 1).trimmed();
    return fields;
}

// Pixels drawn in the marks' red within the area.
int redPixels(const QImage &picture, const QRect &area)
{
    int count = 0;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            count += pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
        }
    }
    return count;
}

} // namespace

class tst_ftable : public QObject
{
    Q_OBJECT

private slots:
    void init() { sim = std::make_unique<TestSupport::SimFixture>(); }
    void cleanup()
    {
        form.reset();
        sim.reset();
        MKorvane::setMesureUnit(0);
        shared = false;
    }

    void cellChecks()
    {
        const QString numeric = QStringLiteral("The value must be numeric.");
        const QString exceed = QStringLiteral("The values can't exceed [0, 100]");
        // The edits, the range, Cancel, the message (empty: the form closes), the cell focused.
        const std::tuple<QStringList, bool, bool, QString, int> rows[] = { { {}, false, false, "", -1 },
            { { "6= 0 ", "7=-4.25" }, false, false, "", -1 }, { { "6=5" }, false, true, "", -1 },
            { { "6=-1" }, false, false, "Input value must be a positive number.", 6 },
            { { "6=x", "5=1x" }, false, false, numeric, 5 }, // the output of row 2 before the input of row 3
            { { "31=x", "0=x" }, false, false, numeric, 0 }, { { "1=0", "13=100" }, true, false, "", -1 },
            // The range message stays the first line; the second names every row out of range.
            { { "13=100.5" }, true, false, exceed + "\r\nRows: 7", 13 },
            { { "13=-0.5" }, true, false, exceed + "\r\nRows: 7", 13 },
            { { "31=1e3", "9=x", "5= -7 " }, true, false, exceed + "\r\nRows: 3, 16", 5 }, // a word passed over
            { { "3=x", "31=101" }, true, false, numeric, 3 } }; // a word first: no rows
        const QStringList fields = linearFields(1);
        for (const auto &[edits, range, cancel, message, focused] : rows) {
            for (bool tableChanged : { false, true }) {
                const auto named = TestSupport::failureNamesRow(edits.join(", ") + (cancel ? ", Cancel" : ""));
                open(fields.join(' '), tableChanged, 3, range);
                QCOMPARE(cellTexts(), fields);
                QCOMPARE(cell(1)->toolTip(), range ? QStringLiteral("Value in [0, 100]") : QString());
                for (const QString &edit : edits)
                    cell(edit.section('=', 0, 0).toInt())->setText(edit.section('=', 1));
                click(cancel ? "cmdCancel" : "cmdOK");
                // Cancel hands back the table as loaded and whether it was changed before.
                QCOMPARE(form->OkORCancelClick(), cancel ? tableChanged : message.isEmpty());
                QCOMPARE(form->isHidden(), message.isEmpty());
                QCOMPARE(seams.messageTexts(), message.isEmpty() ? QStringList() : QStringList { message });
                if (message.isEmpty()) {
                    QCOMPARE(form->TransTableValue(), (cancel ? fields : edited(fields, edits)).join(' '));
                    continue;
                }
                QCOMPARE(seams.messages().first().style, 16);
                QCOMPARE(seams.messages().first().title, QStringLiteral("Sensor Configuration"));
                QCOMPARE(QApplication::focusWidget(), cell(focused));
            }
        }
    }

    // Paste takes what Copy put there, and only a text of exactly 32 fields.
    void clipboard()
    {
        const QStringList fields = edited(linearFields(), { "9=12.75" });
        for (int fieldCount : { 0, 31, 33 }) {
            open(fields.join(' '));
            click("cmdCopy");
            if (fieldCount)
                QGuiApplication::clipboard()->setText(QStringLiteral("5 ").repeated(fieldCount).trimmed());
            for (int k = 0; k < fTable::CellCount; ++k)
                cell(k)->setText(QStringLiteral("1"));
            click("cmdPaste");
            QCOMPARE(cellTexts(), fieldCount ? QStringList(fTable::CellCount, QStringLiteral("1")) : fields);
        }
    }

    // OK without an edit hands back the stored table, whatever the units and the user's locale; a
    // cell the user typed into is taken in the device's number format.
    void okWithoutEditKeepsTheStoredTable()
    {
        QStringList stored = linearFields(5);
        stored[1] = "21.1666666667";
        stored[3] = "21.5";
        stored[5] = "10.50"; // 50.9 °F converts back to 10.5, written without the zero
        stored[30] = "15.5";
        // The system, the field type (7, an enumeration, is never converted), German, the cells
        // typed before OK, the cells as the form opens and the fields taken that differ from the
        // stored table. Outputs 21.1666666667 °C and 21.5 °C show as 70.1 °F and 70.7 °F, not
        // 70.1000000001. Typed numbers reach the table in the C locale (212 °F is 100 °C); a
        // changed and restored cell is as stored.
        const std::tuple<int, int, bool, QStringList, QStringList, QStringList> rows[] = {
            { 1, 3, false, {}, { "1=70.1", "3=70.7", "30=15.5" }, {} }, { 1, 3, true, {}, { "1=70,1", "3=70,7" }, {} },
            { 0, 3, false, {}, { "1=21.1666666667", "3=21.5" }, {} }, { 0, 3, true, {}, { "1=21.1666666667" }, {} },
            { 1, 3, true, { "1=212", "1=70,1", "3=212", "4=0,5" }, {}, { "3=100", "4=0.5" } },
            { 0, 3, true, { "3=22,25", "30=15,25" }, {}, { "3=22.25", "30=15.25" } },
            { 1, 7, false, { "3=212" }, { "1=21.1666666667", "7=15" }, { "3=212" } }
        };
        const QLocale previous;
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        for (const auto &[system, fieldType, german, edits, shown, taken] : rows) {
            const auto named = TestSupport::failureNamesRow(QStringLiteral("system %1, type %2, German %3, %4")
                                                                .arg(system)
                                                                .arg(fieldType)
                                                                .arg(german)
                                                                .arg(edits.join(", ")));
            QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale(QLocale::English));
            MKorvane::setMesureUnit(qint16(system));
            open(stored.join(' '), false, fieldType);
            for (const QString &text : shown)
                QCOMPARE(text.section('=', 0, 0) + "=" + cell(text.section('=', 0, 0).toInt())->text(), text);
            for (const QString &edit : edits)
                cell(edit.section('=', 0, 0).toInt())->setText(edit.section('=', 1));
            click("cmdOK");
            QCOMPARE(seams.messageCount(), 0);
            QVERIFY(form->OkORCancelClick());
            QCOMPARE(form->TransTableValue(), edited(stored, taken).join(' '));
        }
    }

    // An empty, short or damaged stored table opens with one plain box per cell it cannot fill,
    // and those cells keep their text. OK and Cancel work on 32 entries: the missing ones are
    // empty, so OK reports the first unfilled cell and goes through once the user fills it.
    void storedTableNotWhole()
    {
        const QStringList fields = linearFields();
        // The table, the system, the boxes as it opens, the first cell that keeps its text.
        const std::tuple<QString, int, QStringList, int> rows[]
            = { { "", 0, {}, 0 }, { fields.mid(0, 31).join(' '), 0, { "9  Subscript out of range" }, 31 },
                  { edited(fields, { "5=abc" }).join(' '), 1, { "13  Type mismatch" }, 5 } };
        for (const auto &[table, system, boxes, unfilled] : rows) {
            const auto named = TestSupport::failureNamesRow(table);
            MKorvane::setMesureUnit(qint16(system));
            QStringList padded = table.isEmpty() ? QStringList() : table.split(' ');
            while (padded.size() < fTable::CellCount)
                padded << QString();
            open(table, true);
            QCOMPARE(seams.messageTexts(), boxes);
            for (const TestSupport::MessageRecord &box : seams.messages())
                QCOMPARE(box.style, 0);
            QCOMPARE(cell(unfilled)->text(), QStringLiteral("prev"));
            click("cmdCancel"); // before OK: the text as loaded
            QCOMPARE(form->TransTableValue(), table);

            open(table, true);
            seams.clear();
            click("cmdOK");
            QCOMPARE(seams.messageTexts(), QStringList { QStringLiteral("The value must be numeric.") });
            QCOMPARE(QApplication::focusWidget(), cell(unfilled));
            for (int k = 0; k < fTable::CellCount; ++k) {
                if (cell(k)->text() == QLatin1String("prev"))
                    cell(k)->setText(QString::number(k));
            }
            seams.clear();
            click("cmdOK");
            QCOMPARE(seams.messageCount(), 0);
            QVERIFY(form->OkORCancelClick());
            QCOMPARE(form->TransTableValue().split(' ').size(), fTable::CellCount);

            open(table, true);
            click("cmdOK");
            click("cmdCancel");
            QCOMPARE(form->TransTableValue(), padded.join(' '));
        }
    }

    // Fields beyond the 32 cells are not shown, so OK does not hand them back either: the
    // device would refuse the whole table for them.
    void longStoredTableKeepsTheCellsShown()
    {
        const QStringList fields = linearFields();
        open((fields + QStringList { "16", "abc" }).join(' '));
        click("cmdOK");
        QCOMPARE(seams.messageCount(), 0);
        QVERIFY(form->OkORCancelClick());
        QCOMPARE(form->TransTableValue(), fields.join(' '));
    }

    // In German only the form, OK, Cancel and the input header take the language's face; the
    // cells, the clipboard buttons and the output header keep the design's.
    void captionsAndFontsFollowTheLanguage()
    {
        open(linearFields().join(' '));
        auto *ok = form->findChild<QPushButton *>("cmdOK");
        auto *cancel = form->findChild<QPushButton *>("cmdCancel");
        auto *input = form->findChild<QLabel *>("lblResis");
        const auto captions = [&] {
            return QStringList { form->windowTitle(), ok->text(), cancel->text(), input->text() };
        };
        QCOMPARE(captions(), QStringList({ "Transtable", "&OK", "&Cancel", "Input Value" }));

        (*sim)->setLanguage(QStringLiteral("de"));
        const auto strings = DeviceAccess::languageService().GetApplicationStrings(MKorvane::ApplicationName);
        const QString font = DeviceAccess::languageService().GetFontName();
        const QString design = QApplication::font().family();
        QVERIFY(font != design && strings->Item(QStringLiteral("TRANSTABLE")) != "Transtable");
        form->ReInitializeStrings();
        QCOMPARE(captions(),
            QStringList({ strings->Item(QStringLiteral("TRANSTABLE")), strings->Item(QStringLiteral("&OK")),
                strings->Item(QStringLiteral("&CANCEL")), "Input Value" }));
        QCOMPARE(form->findChild<QPushButton *>("cmdCopy")->text(), QStringLiteral("Copy Table"));
        QStringList faces, expected;
        QList<QWidget *> widgets = form->findChildren<QWidget *>();
        for (QWidget *widget : widgets << form.get()) {
            const bool named = widget == form.get() || widget == ok || widget == cancel || widget == input;
            faces << widget->objectName() + ": " + widget->font().family();
            expected << widget->objectName() + ": " + (named ? font : design);
        }
        QVERIFY(faces.size() > fTable::CellCount + 6);
        QCOMPARE(faces, expected);
    }

    // The marks follow the cells as the user types; an output typed back into the range loses its
    // mark, and the line runs through the numbers the cells show (Fahrenheit in the US system).
    void curveMarksFollowTheCells()
    {
        using Rows = QVector<int>;
        // The system, a range [0, 100], the cells typed, the rows out of range, not ascending
        // (whatever their output) and not numeric.
        const std::tuple<int, bool, QStringList, Rows, Rows, Rows> rows[] = { { 0, false, {}, {}, {}, {} },
            { 1, false, {}, {}, {}, {} }, { 0, false, { "6=1.5", "11=x" }, {}, { 3 }, { 5 } },
            { 1, false, { "4=1" }, {}, { 2 }, {} }, // the same input twice
            { 0, false, { "0=" }, {}, {}, { 0 } },
            // Row 5 is compared with row 4, the row drawn before it, not with the word in row 5.
            { 0, false, { "8=x", "10=3" }, {}, { 5 }, { 4 } },
            { 0, true, { "1=0", "31=100" }, {}, {}, {} }, // both ends are in range
            { 0, true, { "5=-0.5", "31=100.5" }, { 2, 15 }, {}, {} },
            { 0, true, { "6=1", "7=1e3" }, { 3 }, { 3 }, {} }, // out of range before not ascending
            { 0, true, { "9=x", "11=101" }, { 5 }, {}, { 4 } }, // a word is not out of range
            { 0, false, { "31=1000" }, {}, {}, {} } };
        for (const auto &[system, range, edits, outOfRange, notAscending, notNumeric] : rows) {
            const auto named = TestSupport::failureNamesRow(QString::number(system) + ": " + edits.join(", "));
            MKorvane::setMesureUnit(qint16(system));
            open(linearFields(5).join(' '), false, 3, range);
            for (const QString &edit : edits)
                type(edit.section('=', 0, 0).toInt(), edit.section('=', 1));
            QCOMPARE(curve->rowsMarked(TransferCurve::Mark::OutOfRange), outOfRange);
            Rows stillAscending = notAscending;
            stillAscending.removeIf([&outOfRange = outOfRange](int r) { return outOfRange.contains(r); });
            QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotAscending), stillAscending);
            QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotNumeric), notNumeric);
            QVector<QPointF> shown;
            for (int r = 0; r < 16; ++r) {
                if (!notNumeric.contains(r))
                    shown << QPointF(MKorvane::Val(cell(2 * r)->text()), MKorvane::Val(cell(2 * r + 1)->text()));
            }
            QCOMPARE(curve->linePoints(), shown);
            QCOMPARE(MKorvane::Val(cell(31)->text()) == 75 * 9 / 5.0 + 32, system == 1);
            // Marks are drawn in red, and only when there are marks.
            const QImage picture = curve->grab().toImage();
            QCOMPARE(redPixels(picture, picture.rect()) > 0, !(outOfRange + stillAscending + notNumeric).isEmpty());
            for (int r : outOfRange)
                type(2 * r + 1, QStringLiteral("50"));
            QCOMPARE(curve->rowsMarked(TransferCurve::Mark::OutOfRange), Rows());
            QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotAscending), notAscending);
        }
    }

    // The row numbers lie inside the plot, clear of the captions of the axes and the numbers of
    // the scales, wherever their point is; the axis texts do not overlap one another either. Where
    // row 16's input is also the block's multi-level value, its cell says so and the curve rings
    // that point.
    void curveRowNumbersClearOfAxisTexts()
    {
        // Rows 2 to 16 share one input: 3 to 16 do not ascend, their numbers crowd one place.
        QVector<int> crowded;
        QStringList sameInputs;
        for (int r = 1; r < 16; ++r) {
            sameInputs << QStringLiteral("%1=5").arg(2 * r);
            if (r > 1)
                crowded << r;
        }
        // The cells edited, row 16's input shared, the rows numbered. The range is [0, 100]: row
        // 16 out of range is the highest or lowest point at the right, row 1 at the left.
        const std::tuple<QStringList, bool, QVector<int>> rows[]
            = { { { "31=1000" }, false, { 15 } }, { { "31=-50" }, false, { 15 } }, { { "1=1000" }, false, { 0 } },
                  { { "1=-1000" }, false, { 0 } }, { { "1=-1", "31=101" }, true, { 0, 15 } }, { {}, true, { 15 } },
                  { { "0=x", "31=y" }, false, { 0, 15 } }, // words: crosses in the bottom corners
                  { sameInputs, false, crowded } };
        for (const auto &[edits, sharedInput, numbered] : rows) {
            const auto named = TestSupport::failureNamesRow(edits.join(", "));
            shared = sharedInput;
            open(edited(linearFields(5), edits).join(' '), false, 3, true, "Input Value\r\n(Ohm)",
                "Output Value of the sensor in degrees Celsius, a caption as long as the curve is wide");
            QCOMPARE(curve->inputCaption(), QStringLiteral("Input Value (Ohm)"));
            const QVector<QRectF> axisTexts = curve->axisTextRects();
            QCOMPARE(axisTexts.size(), 6);
            for (int a = 0; a < axisTexts.size(); ++a) {
                QVERIFY(!axisTexts.at(a).isEmpty());
                QVERIFY(QRectF(curve->rect()).contains(axisTexts.at(a)));
                for (int b = a + 1; b < axisTexts.size(); ++b)
                    QVERIFY2(!axisTexts.at(a).intersects(axisTexts.at(b)),
                        qPrintable(QStringLiteral("%1, %2").arg(a).arg(b)));
            }
            const QMap<int, QRectF> labels = curve->rowLabelRects();
            QCOMPARE(labels.keys().toVector(), numbered);
            const QImage picture = curve->grab().toImage();
            for (auto label = labels.begin(); label != labels.end(); ++label) {
                const QString row = QString::number(label.key() + 1);
                QVERIFY2(QRectF(curve->rect()).contains(*label), qPrintable(row));
                for (const QRectF &text : axisTexts)
                    QVERIFY2(!label->intersects(text), qPrintable(row));
                // Red numbers are painted where they are said to be.
                if (curve->marks().at(label.key()) != TransferCurve::Mark::None)
                    QVERIFY2(redPixels(picture, label->toRect().adjusted(2, 2, -2, -2)) > 0, qPrintable(row));
            }
            QCOMPARE(
                cell(30)->toolTip(), shared ? QStringLiteral("This input is also the multi-level value.") : QString());
            QCOMPARE(curve->sharedRow(), shared ? 15 : -1);
            // The ring around an unmarked point is drawn: the picture changes when it goes.
            const bool ringed = shared && curve->marks().at(15) == TransferCurve::Mark::None;
            curve->setSharedRow(-1);
            QCOMPARE(curve->grab().toImage() != picture, ringed);
        }
        // Beside the cells and buttons, never in the way of the keyboard.
        QCOMPARE(curve->focusPolicy(), Qt::NoFocus);
        QVERIFY(form->rect().contains(curve->geometry()));
        for (const QWidget *widget : form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (widget != curve)
                QVERIFY2(!widget->geometry().intersects(curve->geometry()), qPrintable(widget->objectName()));
        }
    }

private:
    // Opens the form with "prev" in every cell before InitForm. The format follows the
    // measurement system: stored values are degrees Celsius, the US format shows Fahrenheit.
    void open(const QString &table, bool tableChanged = false, qint32 fieldType = 3, bool range = false,
        const QString &input = "Input Value", const QString &output = "Output Value")
    {
        seams.clear();
        form = std::make_unique<fTable>();
        for (int k = 0; k < fTable::CellCount; ++k)
            cell(k)->setText(QStringLiteral("prev"));
        form->setTableChanged(tableChanged);
        form->setLastInputIsMultiLevel(shared);
        form->setCPTransTableValue(table);
        form->InitForm(MKorvane::MesureUnit() ? "SNVT_temp_p#US" : "SNVT_temp_p#SI",
            (*sim)->programId(sim->firstDeviceName()), fieldType, input, output, range, 0, 100);
        // Shown non-modally so that focus can be checked.
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        curve = form->findChild<TransferCurve *>();
        QVERIFY(curve);
    }
    QLineEdit *cell(int k) const { return form->findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k)); }
    QStringList cellTexts() const
    {
        QStringList texts;
        for (int k = 0; k < fTable::CellCount; ++k)
            texts << cell(k)->text();
        return texts;
    }
    void click(const char *name)
    {
        form->findChild<QPushButton *>(QLatin1String(name))->click();
        QCoreApplication::processEvents();
    }
    // Types the text into the cell as a user does.
    void type(int k, const QString &text)
    {
        cell(k)->selectAll();
        QTest::keyClick(cell(k), Qt::Key_Backspace);
        QTest::keyClicks(cell(k), text);
        QCOMPARE(cell(k)->text(), text);
    }

    std::unique_ptr<TestSupport::SimFixture> sim;
    TestSupport::SeamRecorder seams;
    std::unique_ptr<fTable> form;
    TransferCurve *curve = nullptr;
    bool shared = false; // row 16's input is the multi-level value
};

QTEST_MAIN(tst_ftable)
#include "tst_ftable.moc"
