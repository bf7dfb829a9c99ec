// SPDX-License-Identifier: MIT
// The transfer-table editor driven through its widgets against the simulated network:
// OK and Cancel, the cell checks and their messages, focus, the clipboard, unit
// conversion in the US system, empty, short and damaged table texts, translated captions.
#include "device/DeviceAccess.h"
#include "hardware/fTable.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

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

} // namespace

class tst_ftable : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        form.reset();
        sim.reset();
    }

    void cellChecks_data();
    void cellChecks();
    void clipboard_data();
    void clipboard();
    void outputsConvertInUsUnits_data();
    void outputsConvertInUsUnits();
    void okWithoutEditKeepsTheStoredTable_data();
    void okWithoutEditKeepsTheStoredTable();
    void storedTableNotWhole_data();
    void storedTableNotWhole();
    void longStoredTableKeepsTheCellsShown();
    void captionsAndFontsFollowTheLanguage();

private:
    // Opens the form with "prev" in every cell before InitForm. The format follows the
    // measurement system: stored values are degrees Celsius, the US format shows Fahrenheit.
    void open(const QString &table, bool tableChanged = false, qint32 fieldType = 3, bool range = false)
    {
        if (!sim)
            sim = std::make_unique<TestSupport::SimFixture>();
        seams.clear();
        form = std::make_unique<fTable>();
        for (int k = 0; k < fTable::CellCount; ++k)
            cell(k)->setText(QStringLiteral("prev"));
        form->setTableChanged(tableChanged);
        form->setCPTransTableValue(table);
        form->InitForm(MKorvane::MesureUnit() ? "SNVT_temp_p#US" : "SNVT_temp_p#SI",
            (*sim)->programId(sim->firstDeviceName()), fieldType, "Input Value", "Output Value", range, 0, 100);
        // Shown non-modally so that focus can be checked.
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
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

    std::unique_ptr<TestSupport::SimFixture> sim;
    TestSupport::SeamRecorder seams;
    std::unique_ptr<fTable> form;
};

void tst_ftable::cellChecks_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<bool>("range");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message"); // empty: the form closes
    QTest::addColumn<int>("focused");

    const QString numeric = QStringLiteral("The value must be numeric.");
    const QString exceed = QStringLiteral("The values can't exceed [0, 100]");
    QTest::newRow("OK, as loaded") << QStringList() << false << false << QString() << -1;
    QTest::newRow("OK, input zero") << QStringList { "6= 0 ", "7=-4.25" } << false << false << QString() << -1;
    QTest::newRow("Cancel after edits") << QStringList { "6=5" } << false << true << QString() << -1;
    QTest::newRow("input minus one") << QStringList { "6=-1" } << false << false
                                     << "Input value must be a positive number." << 6;
    QTest::newRow("output of row 2 before input of row 3")
        << QStringList { "6=x", "5=1x" } << false << false << numeric << 5;
    QTest::newRow("first and last") << QStringList { "31=x", "0=x" } << false << false << numeric << 0;
    QTest::newRow("range, both ends") << QStringList { "1=0", "13=100" } << true << false << QString() << -1;
    // The range message stays the first line; the second names every row out of range.
    QTest::newRow("range, above: row 7 named")
        << QStringList { "13=100.5" } << true << false << exceed + "\r\nRows: 7" << 13;
    QTest::newRow("range, below: row 7 named")
        << QStringList { "13=-0.5" } << true << false << exceed + "\r\nRows: 7" << 13;
    QTest::newRow("range, rows 3 and 16 named, a word passed over")
        << QStringList { "31=1e3", "9=x", "5= -7 " } << true << false << exceed + "\r\nRows: 3, 16" << 5;
    QTest::newRow("range, a word first: no rows") << QStringList { "3=x", "31=101" } << true << false << numeric << 3;
}

void tst_ftable::cellChecks()
{
    QFETCH(QStringList, edits);
    QFETCH(bool, range);
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    QFETCH(int, focused);
    const QStringList fields = linearFields(1);
    for (bool tableChanged : { false, true }) {
        open(fields.join(' '), tableChanged, 3, range);
        QCOMPARE(cellTexts(), fields);
        QCOMPARE(cell(1)->toolTip(), range ? QStringLiteral("Value in [0, 100]") : QString());
        for (const QString &edit : edits)
            cell(edit.section('=', 0, 0).toInt())->setText(edit.section('=', 1));
        click(cancel ? "cmdCancel" : "cmdOK");

        // Cancel hands back the table as loaded and whether it was changed before.
        QCOMPARE(form->OkORCancelClick(), cancel ? tableChanged : message.isEmpty());
        QCOMPARE(form->isHidden(), message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(seams.messageCount(), 0);
            QCOMPARE(form->TransTableValue(), (cancel ? fields : edited(fields, edits)).join(' '));
            continue;
        }
        QCOMPARE(seams.messageTexts(), QStringList { message });
        QCOMPARE(seams.messages().first().style, 16);
        QCOMPARE(seams.messages().first().title, QStringLiteral("Sensor Configuration"));
        QCOMPARE(QApplication::focusWidget(), cell(focused));
    }
}

void tst_ftable::clipboard_data()
{
    QTest::addColumn<int>("fieldCount"); // 0: what Copy put there
    QTest::newRow("copied") << 0;
    QTest::newRow("31 fields") << 31;
    QTest::newRow("33 fields") << 33;
}

void tst_ftable::clipboard()
{
    QFETCH(int, fieldCount);
    const QStringList fields = edited(linearFields(), { "9=12.75" });
    open(fields.join(' '));
    click("cmdCopy");
    if (fieldCount)
        QGuiApplication::clipboard()->setText(QStringLiteral("5 ").repeated(fieldCount).trimmed());
    for (int k = 0; k < fTable::CellCount; ++k)
        cell(k)->setText(QStringLiteral("1"));
    click("cmdPaste");
    QCOMPARE(cellTexts(), fieldCount ? QStringList(fTable::CellCount, QStringLiteral("1")) : fields);
}

void tst_ftable::outputsConvertInUsUnits_data()
{
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<int>("fieldType");
    QTest::newRow("US, numeric kind") << 1 << 3;
    QTest::newRow("SI, numeric kind") << 0 << 3;
    QTest::newRow("US, enumeration kind") << 1 << 7;
}

void tst_ftable::outputsConvertInUsUnits()
{
    QFETCH(int, measurementSystem);
    QFETCH(int, fieldType);
    const bool converted = measurementSystem == 1 && fieldType == 3;
    sim = std::make_unique<TestSupport::SimFixture>();
    MKorvane::setMesureUnit(qint16(measurementSystem));
    const QStringList stored = linearFields(5);
    open(stored.join(' '), false, fieldType);
    for (int k = 0; k < fTable::CellCount; ++k) {
        const double value = stored.at(k).toDouble();
        QCOMPARE(MKorvane::Val(cell(k)->text()), converted && k % 2 ? value * 9 / 5 + 32 : value);
    }

    // 212 °F is 100 °C; the other outputs go back to what was stored.
    cell(7)->setText(converted ? QStringLiteral("212") : QStringLiteral("100"));
    click("cmdOK");
    const QStringList result = form->TransTableValue().split(' ');
    QCOMPARE(result.size(), fTable::CellCount);
    for (int k = 0; k < fTable::CellCount; ++k)
        QVERIFY2(qAbs(MKorvane::Val(result.at(k)) - (k == 7 ? 100 : stored.at(k).toDouble())) < 1e-6,
            qPrintable(result.at(k)));
}

void tst_ftable::okWithoutEditKeepsTheStoredTable_data()
{
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QStringList>("edits"); // "cell=text", typed before OK
    QTest::addColumn<QStringList>("shown"); // "cell=text" as the form opens
    QTest::addColumn<QStringList>("taken"); // "cell=field" handed back that differ from the stored table
    // Outputs 21.1666666667 °C and 21.5 °C show as 70.1 °F and 70.7 °F in US units, not 70.1000000001.
    QTest::newRow("US") << 1 << false << QStringList() << QStringList { "1=70.1", "3=70.7", "30=15.5" }
                        << QStringList();
    QTest::newRow("US, German") << 1 << true << QStringList() << QStringList { "1=70,1", "3=70,7" } << QStringList();
    QTest::newRow("SI") << 0 << false << QStringList() << QStringList { "1=21.1666666667", "3=21.5" } << QStringList();
    QTest::newRow("SI, German") << 0 << true << QStringList() << QStringList { "1=21.1666666667" } << QStringList();
    // Typed numbers reach the table in the C locale; a changed and restored cell is as stored.
    QTest::newRow("US, German, typed") << 1 << true << QStringList { "1=212", "1=70,1", "3=212", "4=0,5" }
                                       << QStringList() << QStringList { "3=100", "4=0.5" };
    QTest::newRow("SI, German, typed") << 0 << true << QStringList { "3=22,25", "30=15,25" } << QStringList()
                                       << QStringList { "3=22.25", "30=15.25" };
}

// OK without an edit hands back the stored table, whatever the units and the user's locale; a
// cell the user typed into is taken in the device's number format.
void tst_ftable::okWithoutEditKeepsTheStoredTable()
{
    QFETCH(int, measurementSystem);
    QFETCH(bool, german);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, taken);
    const QLocale previous;
    QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale(QLocale::English));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    sim = std::make_unique<TestSupport::SimFixture>();
    MKorvane::setMesureUnit(qint16(measurementSystem));
    QStringList stored = linearFields(5);
    stored[1] = "21.1666666667";
    stored[3] = "21.5";
    stored[5] = "10.50"; // 50.9 °F converts back to 10.5, written without the zero
    stored[30] = "15.5";
    open(stored.join(' '));
    for (const QString &text : shown)
        QCOMPARE(text.section('=', 0, 0) + "=" + cell(text.section('=', 0, 0).toInt())->text(), text);
    for (const QString &edit : edits)
        cell(edit.section('=', 0, 0).toInt())->setText(edit.section('=', 1));
    click("cmdOK");
    QCOMPARE(seams.messageCount(), 0);
    QVERIFY(form->OkORCancelClick());
    QCOMPARE(form->TransTableValue(), edited(stored, taken).join(' '));
}

void tst_ftable::storedTableNotWhole_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("unfilled"); // the first cell that keeps its previous text

    const QStringList fields = linearFields();
    QTest::newRow("empty") << "" << 0 << QStringList() << 0;
    QTest::newRow("31 fields") << fields.mid(0, 31).join(' ') << 0 << QStringList { "9  Subscript out of range" } << 31;
    QTest::newRow("text output, US") << edited(fields, { "5=abc" }).join(' ') << 1
                                     << QStringList { "13  Type mismatch" } << 5;
}

// An empty, short or damaged stored table opens with one plain box per cell it cannot fill,
// and those cells keep their text. OK and Cancel work on 32 entries: the missing ones are
// empty, so OK reports the first unfilled cell and goes through once the user fills it.
void tst_ftable::storedTableNotWhole()
{
    QFETCH(QString, table);
    QFETCH(int, measurementSystem);
    QFETCH(QStringList, boxes);
    QFETCH(int, unfilled);
    sim = std::make_unique<TestSupport::SimFixture>();
    MKorvane::setMesureUnit(qint16(measurementSystem));
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

// Fields beyond the 32 cells are not shown, so OK does not hand them back either: the
// device would refuse the whole table for them.
void tst_ftable::longStoredTableKeepsTheCellsShown()
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
void tst_ftable::captionsAndFontsFollowTheLanguage()
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

QTEST_MAIN(tst_ftable)
#include "tst_ftable.moc"
