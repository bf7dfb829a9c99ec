// SPDX-License-Identifier: MIT
// The curve beside the transfer-table cells: it follows the cells as they are typed, in
// the units they show, marks rows whose input does not ascend, whose output is out of range
// and cells that are not numbers, keeps its row numbers clear of the texts of its axes, and
// stays out of the form's way (no focus, no overlap with the cells).
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {

// 32 fields: input r is r, output r is 5 r; then the edits "cell=text".
QStringList tableFields(const QStringList &edits = {})
{
    QStringList fields;
    for (int r = 0; r < 16; ++r)
        fields << QString::number(r) << QString::number(5 * r);
    for (const QString &edit : edits)
        fields[edit.section('=', 0, 0).toInt()] = edit.section('=', 1);
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

class tst_ftable_curve : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { MKorvane::setMesureUnit(0); }
    void marksFollowTheCells_data();
    void marksFollowTheCells();
    void lastInputSharedWithMultiLevel_data();
    void lastInputSharedWithMultiLevel();
    void outputsOutOfRangeMarked_data();
    void outputsOutOfRangeMarked();
    void rowNumbersClearOfAxisTexts_data();
    void rowNumbersClearOfAxisTexts();
};

void tst_ftable_curve::lastInputSharedWithMultiLevel_data()
{
    QTest::addColumn<bool>("shared");
    QTest::newRow("version 1: shared") << true;
    QTest::newRow("version 2: the table's own") << false;
}

// Where row 16's input is also the block's multi-level value, its cell says so and the curve
// rings that point; the cell shows the stored field all the same.
void tst_ftable_curve::lastInputSharedWithMultiLevel()
{
    QFETCH(bool, shared);
    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    QStringList stored;
    for (int r = 0; r < 16; ++r)
        stored << QString::number(r) << QString::number(5 * r);
    fTable form;
    form.setLastInputIsMultiLevel(shared);
    form.setCPTransTableValue(stored.join(' '));
    form.InitForm("SNVT_temp_p#SI", sim->programId(sim.firstDeviceName()), 3, "Input Value", "Output Value");
    auto *lastInput = form.findChild<QLineEdit *>(QStringLiteral("txtTable_30"));
    QCOMPARE(lastInput->text(), QStringLiteral("15"));
    QCOMPARE(lastInput->toolTip(), shared ? QStringLiteral("This input is also the multi-level value.") : QString());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto *curve = form.findChild<TransferCurve *>();
    QCOMPARE(curve->sharedRow(), shared ? 15 : -1);
    QVERIFY(curve->rowsMarked(TransferCurve::Mark::None).contains(15));
    // The ring is drawn: the picture changes when it goes.
    const QImage withMark = curve->grab().toImage();
    curve->setSharedRow(-1);
    QCOMPARE(curve->grab().toImage() != withMark, shared);
}

void tst_ftable_curve::marksFollowTheCells_data()
{
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<QStringList>("edits"); // "cell=text"
    QTest::addColumn<QVector<int>>("notAscending");
    QTest::addColumn<QVector<int>>("notNumeric");

    QTest::newRow("as stored") << 0 << QStringList() << QVector<int>() << QVector<int>();
    QTest::newRow("as stored, US units") << 1 << QStringList() << QVector<int>() << QVector<int>();
    QTest::newRow("descending input and a word")
        << 0 << QStringList { "6=1.5", "11=x" } << QVector<int> { 3 } << QVector<int> { 5 };
    QTest::newRow("same input twice") << 1 << QStringList { "4=1" } << QVector<int> { 2 } << QVector<int>();
    QTest::newRow("empty first input") << 0 << QStringList { "0=" } << QVector<int>() << QVector<int> { 0 };
    // Row 5 is compared with row 4, the row drawn before it, not with the word in row 5.
    QTest::newRow("descending after a word")
        << 0 << QStringList { "8=x", "10=3" } << QVector<int> { 5 } << QVector<int> { 4 };
}

void tst_ftable_curve::marksFollowTheCells()
{
    QFETCH(int, measurementSystem);
    QFETCH(QStringList, edits);
    QFETCH(QVector<int>, notAscending);
    QFETCH(QVector<int>, notNumeric);

    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    MKorvane::setMesureUnit(qint16(measurementSystem));
    QStringList stored;
    for (int r = 0; r < 16; ++r)
        stored << QString::number(r) << QString::number(5 * r);
    fTable form;
    form.setCPTransTableValue(stored.join(' '));
    form.InitForm(measurementSystem ? "SNVT_temp_p#US" : "SNVT_temp_p#SI", sim->programId(sim.firstDeviceName()), 3,
        "Input Value\r\n(Ohm)", "Output Value", false, 0, 100);
    const auto cell = [&](int k) { return form.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k)); };
    for (const QString &edit : std::as_const(edits))
        cell(edit.section('=', 0, 0).toInt())->setText(edit.section('=', 1));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto *curve = form.findChild<TransferCurve *>();
    QVERIFY(curve);
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotAscending), notAscending);
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotNumeric), notNumeric);
    QCOMPARE(curve->inputCaption(), QStringLiteral("Input Value (Ohm)"));

    // The line runs through the numbers the cells show (Fahrenheit in the US system), rows
    // with a word left out.
    QVector<QPointF> shown;
    for (int r = 0; r < 16; ++r) {
        if (!notNumeric.contains(r))
            shown << QPointF(MKorvane::Val(cell(2 * r)->text()), MKorvane::Val(cell(2 * r + 1)->text()));
    }
    QCOMPARE(curve->linePoints(), shown);
    QCOMPARE(shown.last().y(), measurementSystem ? 75 * 9 / 5.0 + 32 : 75.0);

    // Marks are drawn in red, and only when there are marks.
    const QImage picture = curve->grab().toImage();
    QCOMPARE(redPixels(picture, picture.rect()) > 0, !notAscending.isEmpty() || !notNumeric.isEmpty());

    // Beside the cells and buttons, never in the way of the keyboard.
    QCOMPARE(curve->focusPolicy(), Qt::NoFocus);
    QVERIFY(form.rect().contains(curve->geometry()));
    for (const QWidget *widget : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (widget != curve)
            QVERIFY2(!widget->geometry().intersects(curve->geometry()), qPrintable(widget->objectName()));
    }
}

void tst_ftable_curve::outputsOutOfRangeMarked_data()
{
    QTest::addColumn<bool>("range"); // [0, 100]
    QTest::addColumn<QStringList>("edits"); // "cell=text", typed
    QTest::addColumn<QVector<int>>("outOfRange");
    QTest::addColumn<QVector<int>>("notAscending"); // whatever their output
    QTest::addColumn<QVector<int>>("notNumeric");

    QTest::newRow("both ends are in range")
        << true << QStringList { "1=0", "31=100" } << QVector<int>() << QVector<int>() << QVector<int>();
    QTest::newRow("below and above") << true << QStringList { "5=-0.5", "31=100.5" } << QVector<int> { 2, 15 }
                                     << QVector<int>() << QVector<int>();
    QTest::newRow("out of range before not ascending")
        << true << QStringList { "6=1", "7=1e3" } << QVector<int> { 3 } << QVector<int> { 3 } << QVector<int>();
    QTest::newRow("a word is not out of range")
        << true << QStringList { "9=x", "11=101" } << QVector<int> { 5 } << QVector<int>() << QVector<int> { 4 };
    QTest::newRow("without a range") << false << QStringList { "31=1000" } << QVector<int>() << QVector<int>()
                                     << QVector<int>();
}

// Outputs outside the range are marked as the user types them, before OK refuses them, and
// the mark goes when the output is typed back into the range.
void tst_ftable_curve::outputsOutOfRangeMarked()
{
    QFETCH(bool, range);
    QFETCH(QStringList, edits);
    QFETCH(QVector<int>, outOfRange);
    QFETCH(QVector<int>, notAscending);
    QFETCH(QVector<int>, notNumeric);

    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    fTable form;
    form.setCPTransTableValue(tableFields().join(' '));
    form.InitForm(
        "SNVT_temp_p#SI", sim->programId(sim.firstDeviceName()), 3, "Input Value", "Output Value", range, 0, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto type = [&](int k, const QString &text) {
        auto *cell = form.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k));
        cell->selectAll();
        QTest::keyClick(cell, Qt::Key_Backspace);
        QTest::keyClicks(cell, text);
        QCOMPARE(cell->text(), text);
    };
    for (const QString &edit : std::as_const(edits))
        type(edit.section('=', 0, 0).toInt(), edit.section('=', 1));

    auto *curve = form.findChild<TransferCurve *>();
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::OutOfRange), outOfRange);
    QVector<int> stillAscending = notAscending;
    stillAscending.removeIf([&](int r) { return outOfRange.contains(r); });
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotAscending), stillAscending);
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotNumeric), notNumeric);
    const QImage picture = curve->grab().toImage();
    QCOMPARE(redPixels(picture, picture.rect()) > 0, !outOfRange.isEmpty() || !notNumeric.isEmpty());

    for (int r : std::as_const(outOfRange))
        type(2 * r + 1, QStringLiteral("50"));
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::OutOfRange), QVector<int>());
    QCOMPARE(curve->rowsMarked(TransferCurve::Mark::NotAscending), notAscending);
}

void tst_ftable_curve::rowNumbersClearOfAxisTexts_data()
{
    QTest::addColumn<QStringList>("edits"); // "cell=text" on the stored table
    QTest::addColumn<bool>("shared"); // row 16's input is the multi-level value
    QTest::addColumn<QVector<int>>("numbered");

    // The range is [0, 100]: row 16 out of range is the highest or lowest point at the right.
    QTest::newRow("row 16 above, top right") << QStringList { "31=1000" } << false << QVector<int> { 15 };
    QTest::newRow("row 16 below, bottom right") << QStringList { "31=-50" } << false << QVector<int> { 15 };
    QTest::newRow("row 1 above, top left") << QStringList { "1=1000" } << false << QVector<int> { 0 };
    QTest::newRow("row 1 below, bottom left") << QStringList { "1=-1000" } << false << QVector<int> { 0 };
    QTest::newRow("rows 1 and 16 out of range, 16 shared")
        << QStringList { "1=-1", "31=101" } << true << QVector<int> { 0, 15 };
    QTest::newRow("row 16 shared, top right") << QStringList() << true << QVector<int> { 15 };
    QTest::newRow("words: crosses in the bottom corners")
        << QStringList { "0=x", "31=y" } << false << QVector<int> { 0, 15 };
    // Rows 2 to 16 share one input: 3 to 16 do not ascend, their numbers crowd one place.
    QVector<int> crowded;
    QStringList sameInputs;
    for (int r = 1; r < 16; ++r) {
        sameInputs << QStringLiteral("%1=5").arg(2 * r);
        if (r > 1)
            crowded << r;
    }
    QTest::newRow("one input for 15 rows") << sameInputs << false << crowded;
}

// The row numbers lie inside the plot, clear of the captions of the axes and the numbers of
// the scales, wherever their point is; the axis texts do not overlap one another either.
void tst_ftable_curve::rowNumbersClearOfAxisTexts()
{
    QFETCH(QStringList, edits);
    QFETCH(bool, shared);
    QFETCH(QVector<int>, numbered);

    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    fTable form;
    form.setLastInputIsMultiLevel(shared);
    form.setCPTransTableValue(tableFields(edits).join(' '));
    form.InitForm("SNVT_temp_p#SI", sim->programId(sim.firstDeviceName()), 3, "Input Value\r\n(Ohm)",
        "Output Value of the sensor in degrees Celsius, a caption as long as the curve is wide", true, 0, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *curve = form.findChild<TransferCurve *>();

    const QVector<QRectF> axisTexts = curve->axisTextRects();
    QCOMPARE(axisTexts.size(), 6);
    for (int a = 0; a < axisTexts.size(); ++a) {
        QVERIFY(!axisTexts.at(a).isEmpty());
        QVERIFY(QRectF(curve->rect()).contains(axisTexts.at(a)));
        for (int b = a + 1; b < axisTexts.size(); ++b)
            QVERIFY2(!axisTexts.at(a).intersects(axisTexts.at(b)), qPrintable(QStringLiteral("%1, %2").arg(a).arg(b)));
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
}

QTEST_MAIN(tst_ftable_curve)
#include "tst_ftable_curve.moc"
