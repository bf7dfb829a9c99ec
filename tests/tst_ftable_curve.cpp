// SPDX-License-Identifier: MIT
// The curve beside the transfer-table cells: it follows the cells as they are typed, in
// the units they show, marks rows whose input does not ascend and cells that are not
// numbers, and stays out of the form's way (no focus, no overlap with the cells).
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QLineEdit>
#include <QtTest>

#include <memory>

class tst_ftable_curve : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { MKorvane::setMesureUnit(0); }
    void marksFollowTheCells_data();
    void marksFollowTheCells();
    void lastInputSharedWithMultiLevel_data();
    void lastInputSharedWithMultiLevel();
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
    bool red = false;
    for (int y = 0; y < picture.height() && !red; ++y) {
        for (int x = 0; x < picture.width() && !red; ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            red = pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
        }
    }
    QCOMPARE(red, !notAscending.isEmpty() || !notNumeric.isEmpty());

    // Beside the cells and buttons, never in the way of the keyboard.
    QCOMPARE(curve->focusPolicy(), Qt::NoFocus);
    QVERIFY(form.rect().contains(curve->geometry()));
    for (const QWidget *widget : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (widget != curve)
            QVERIFY2(!widget->geometry().intersects(curve->geometry()), qPrintable(widget->objectName()));
    }
}

QTEST_MAIN(tst_ftable_curve)
#include "tst_ftable_curve.moc"
