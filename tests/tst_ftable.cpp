// SPDX-License-Identifier: MIT
// The transfer-table editor driven through its widgets against the simulated network:
// loading, OK and Cancel, the checks and their messages, focus, the clipboard, unit
// conversion in the US system, damaged table texts and the translated captions.
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

#include <cmath>
#include <memory>

namespace {

const QString SiFormat = QStringLiteral("SNVT_temp_p#SI");
const QString UsFormat = QStringLiteral("SNVT_temp_p#US");
constexpr qint32 FieldTypeNumeric = 3;
constexpr qint32 FieldTypeEnum = 7;

// 32 fields: input r is r, output r is factor times r.
QString linearTable(int factor = 10)
{
    QStringList fields;
    for (int r = 0; r < 16; ++r)
        fields << QString::number(r) << QString::number(factor * r);
    return fields.join(QLatin1Char(' '));
}

QString withField(const QString &table, int k, const QString &value)
{
    QStringList fields = table.split(QLatin1Char(' '));
    fields[k] = value;
    return fields.join(QLatin1Char(' '));
}

} // namespace

class tst_ftable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okReturnsTheTableUnchanged_data();
    void okReturnsTheTableUnchanged();
    void cancelReturnsTheTableAsLoaded_data();
    void cancelReturnsTheTableAsLoaded();
    void invalidCellBlocksOk_data();
    void invalidCellBlocksOk();
    void firstInvalidCellInRowOrderIsReported_data();
    void firstInvalidCellInRowOrderIsReported();
    void outputRange_data();
    void outputRange();
    void copyThenPasteRestoresTheCells();
    void pasteNeedsExactly32Fields_data();
    void pasteNeedsExactly32Fields();
    void outputsConvertInUsUnits_data();
    void outputsConvertInUsUnits();
    void emptyStoredTable();
    void damagedStoredTableStillOpens_data();
    void damagedStoredTableStillOpens();
    void formatFailureOnOk_data();
    void formatFailureOnOk();
    void captionsAndFontsFollowTheLanguage();
    void tabWalksTheCellsByIndex();

private:
    fTable *open(const QString &table, bool tableChanged = false, const QString &format = SiFormat,
        qint32 fieldType = FieldTypeNumeric, bool range = false, double min = 0, double max = 0);
    QLineEdit *cell(int k) const;
    QStringList cellTexts() const;
    void click(const char *name);
    // The dialog is shown non-modally so that focus can be checked; wait until it is active.
    void showAndActivate();

    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<TestSupport::SeamRecorder> seams;
    std::unique_ptr<fTable> form;
    QString programId;
};

void tst_ftable::init()
{
    sim = std::make_unique<TestSupport::SimFixture>();
    QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
    seams = std::make_unique<TestSupport::SeamRecorder>();
    programId = (*sim)->programId(sim->firstDeviceName());
}

void tst_ftable::cleanup()
{
    form.reset();
    seams.reset();
    sim.reset();
}

fTable *tst_ftable::open(const QString &table, bool tableChanged, const QString &format, qint32 fieldType, bool range,
    double min, double max)
{
    form = std::make_unique<fTable>();
    form->setTableChanged(tableChanged);
    form->setCPTransTableValue(table);
    form->InitForm(format, programId, fieldType, QStringLiteral("Input Value\r\n(Ohm)"),
        QStringLiteral("Output Value\r\n(°C)"), range, min, max);
    showAndActivate();
    return form.get();
}

void tst_ftable::showAndActivate()
{
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

QLineEdit *tst_ftable::cell(int k) const
{
    auto *edit = form->findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k));
    Q_ASSERT(edit);
    return edit;
}

QStringList tst_ftable::cellTexts() const
{
    QStringList texts;
    for (int k = 0; k < fTable::CellCount; ++k)
        texts << cell(k)->text();
    return texts;
}

void tst_ftable::click(const char *name)
{
    auto *button = form->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    button->click();
    QCoreApplication::processEvents();
}

void tst_ftable::okReturnsTheTableUnchanged_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("outputs ten times the inputs") << linearTable(10);
    QTest::newRow("decimals and negative outputs") << withField(withField(linearTable(-3), 3, "-4.25"), 4, "2.5");
}

void tst_ftable::okReturnsTheTableUnchanged()
{
    QFETCH(QString, table);
    open(table);
    QCOMPARE(cellTexts(), table.split(QLatin1Char(' ')));
    QCOMPARE(cell(1)->toolTip(), QString()); // no range

    click("cmdOK");
    QCOMPARE(seams->messageTexts(), QStringList());
    QCOMPARE(form->TransTableValue(), table);
    QVERIFY(form->OkORCancelClick());
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(form->isHidden());
}

void tst_ftable::cancelReturnsTheTableAsLoaded_data()
{
    QTest::addColumn<bool>("tableChanged");
    QTest::newRow("changed before") << true;
    QTest::newRow("not changed before") << false;
}

void tst_ftable::cancelReturnsTheTableAsLoaded()
{
    QFETCH(bool, tableChanged);
    const QString table = linearTable();
    open(table, tableChanged);
    cell(4)->setText(QStringLiteral("42"));
    cell(5)->setText(QStringLiteral("420"));

    click("cmdCancel");
    QCOMPARE(form->OkORCancelClick(), tableChanged);
    QCOMPARE(form->TransTableValue(), table);
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QVERIFY(form->isHidden());

    // Rows that a failed OK accepted stay in what Cancel hands back; later rows do not.
    open(table, tableChanged);
    cell(0)->setText(QStringLiteral("7"));
    cell(1)->setText(QStringLiteral("70"));
    cell(2)->setText(QStringLiteral("8"));
    cell(3)->setText(QStringLiteral("x"));
    click("cmdOK");
    QCOMPARE(seams->messageCount(), 1);
    click("cmdCancel");
    QCOMPARE(form->OkORCancelClick(), tableChanged);
    QCOMPARE(form->TransTableValue(), withField(withField(withField(table, 0, "7"), 1, "70"), 2, "8"));
}

void tst_ftable::invalidCellBlocksOk_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("input zero") << 6 << "0"
                                << "";
    QTest::newRow("input with blanks around") << 6 << " 5 "
                                              << "";
    QTest::newRow("input minus one") << 6 << "-1"
                                     << "Input value must be a positive number.";
    QTest::newRow("input text") << 6 << "abc"
                                << "The value must be numeric.";
    QTest::newRow("input empty") << 6 << ""
                                 << "The value must be numeric.";
    QTest::newRow("output negative without range") << 7 << "-1"
                                                   << "";
    QTest::newRow("output text") << 7 << "1x"
                                 << "The value must be numeric.";
}

void tst_ftable::invalidCellBlocksOk()
{
    QFETCH(int, k);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QString table = linearTable();
    open(table);
    cell(k)->setText(text);
    click("cmdOK");

    if (message.isEmpty()) {
        QCOMPARE(seams->messageTexts(), QStringList());
        QVERIFY(form->OkORCancelClick());
        QCOMPARE(form->TransTableValue(), withField(table, k, text.trimmed()));
        return;
    }
    QCOMPARE(seams->messageTexts(), QStringList { message });
    QCOMPARE(seams->messages().first().style, 16);
    QCOMPARE(seams->messages().first().title, QStringLiteral("Sensor Configuration"));
    QVERIFY(!form->isHidden());
    QVERIFY(!form->OkORCancelClick());
    QCOMPARE(form->TransTableValue(), QString());
    QCOMPARE(QApplication::focusWidget(), cell(k));
}

void tst_ftable::firstInvalidCellInRowOrderIsReported_data()
{
    QTest::addColumn<QList<int>>("invalid");
    QTest::addColumn<int>("reported");
    QTest::newRow("output of row 2 before input of row 3") << QList<int> { 6, 5 } << 5;
    QTest::newRow("input before output of one row") << QList<int> { 9, 8 } << 8;
    QTest::newRow("last output alone") << QList<int> { 31 } << 31;
    QTest::newRow("first and last") << QList<int> { 31, 0 } << 0;
}

void tst_ftable::firstInvalidCellInRowOrderIsReported()
{
    QFETCH(QList<int>, invalid);
    QFETCH(int, reported);
    open(linearTable());
    for (int k : invalid)
        cell(k)->setText(QStringLiteral("n/a"));
    // Typing a non-number keeps the focus in that cell.
    QCOMPARE(QApplication::focusWidget(), cell(invalid.last()));

    click("cmdOK");
    QCOMPARE(seams->messageTexts(), QStringList { QStringLiteral("The value must be numeric.") });
    QCOMPARE(QApplication::focusWidget(), cell(reported));
    QVERIFY(cell(reported)->hasFocus());

    // A second OK reports the same cell again: the form stays usable after a failure.
    seams->clear();
    click("cmdOK");
    QCOMPARE(seams->messageCount(), 1);
    QVERIFY(!form->isHidden());
}

void tst_ftable::outputRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("upper end") << "100" << true;
    QTest::newRow("lower end") << "0" << true;
    QTest::newRow("just above") << "100.5" << false;
    QTest::newRow("just below") << "-0.5" << false;
}

void tst_ftable::outputRange()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const QString table = withField(linearTable(1), 13, QStringLiteral("50"));
    open(table, false, SiFormat, FieldTypeNumeric, true, 0, 100);
    for (int k = 0; k < fTable::CellCount; ++k)
        QCOMPARE(cell(k)->toolTip(), k % 2 ? QStringLiteral("Value in [0, 100]") : QString());
    cell(13)->setText(text);
    click("cmdOK");

    QCOMPARE(form->OkORCancelClick(), accepted);
    if (accepted) {
        QCOMPARE(seams->messageTexts(), QStringList());
        QCOMPARE(form->TransTableValue(), withField(table, 13, text));
    } else {
        QCOMPARE(seams->messageTexts(), QStringList { QStringLiteral("The values can't exceed [0, 100]") });
        QCOMPARE(QApplication::focusWidget(), cell(13));
    }
}

void tst_ftable::copyThenPasteRestoresTheCells()
{
    const QString table = withField(linearTable(), 9, QStringLiteral("12.75"));
    open(table);
    click("cmdCopy");
    QCOMPARE(QGuiApplication::clipboard()->text(), table);

    for (int k = 0; k < fTable::CellCount; ++k)
        cell(k)->setText(QStringLiteral("1"));
    click("cmdPaste");
    QCOMPARE(cellTexts(), table.split(QLatin1Char(' ')));
}

void tst_ftable::pasteNeedsExactly32Fields_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("pasted");
    QStringList fields;
    for (int k = 0; k < 33; ++k)
        fields << QString::number(100 + k);
    QTest::newRow("31 fields") << fields.mid(0, 31).join(' ') << false;
    QTest::newRow("33 fields") << fields.join(' ') << false;
    QTest::newRow("32 fields") << fields.mid(0, 32).join(' ') << true;
    QTest::newRow("31 fields and a trailing blank") << fields.mid(0, 31).join(' ') + ' ' << true;
    QTest::newRow("32 fields, one double blank") << fields.mid(0, 31).join(' ').replace("101", " 101") << true;
}

void tst_ftable::pasteNeedsExactly32Fields()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, pasted);
    const QString table = linearTable();
    open(table);
    QGuiApplication::clipboard()->setText(clipboard);
    click("cmdPaste");
    QCOMPARE(cellTexts(), pasted ? clipboard.split(QLatin1Char(' ')) : table.split(QLatin1Char(' ')));
    QCOMPARE(seams->messageCount(), 0);
}

void tst_ftable::outputsConvertInUsUnits_data()
{
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<int>("fieldType");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("converted");
    QTest::newRow("US, numeric kind") << 1 << FieldTypeNumeric << UsFormat << true;
    QTest::newRow("SI, numeric kind") << 0 << FieldTypeNumeric << SiFormat << false;
    QTest::newRow("US, enumeration kind") << 1 << FieldTypeEnum << UsFormat << false;
}

// Stored values are degrees Celsius; the US format shows degrees Fahrenheit.
void tst_ftable::outputsConvertInUsUnits()
{
    QFETCH(int, measurementSystem);
    QFETCH(int, fieldType);
    QFETCH(QString, format);
    QFETCH(bool, converted);
    MKorvane::setMesureUnit(qint16(measurementSystem));
    const QString table = linearTable(5);
    open(table, false, format, fieldType);
    QCOMPARE(seams->messageTexts(), QStringList());

    const QStringList stored = table.split(QLatin1Char(' '));
    for (int r = 0; r < 16; ++r) {
        QCOMPARE(cell(2 * r)->text(), stored.at(2 * r));
        const double celsius = stored.at(2 * r + 1).toDouble();
        const double shown = MKorvane::Val(cell(2 * r + 1)->text());
        QCOMPARE(shown, converted ? celsius * 9 / 5 + 32 : celsius);
    }

    // 212 °F is 100 °C; the other outputs go back to what was stored.
    cell(7)->setText(converted ? QStringLiteral("212") : QStringLiteral("100"));
    click("cmdOK");
    QCOMPARE(seams->messageTexts(), QStringList());
    const QStringList result = form->TransTableValue().split(QLatin1Char(' '));
    QCOMPARE(result.size(), 32);
    for (int k = 0; k < 32; ++k) {
        if (k % 2 == 0)
            QCOMPARE(result.at(k), stored.at(k));
        else
            QVERIFY2(std::abs(MKorvane::Val(result.at(k)) - (k == 7 ? 100 : stored.at(k).toDouble())) < 1e-6,
                qPrintable(result.at(k)));
    }
}

// An empty stored table opens with empty cells; OK checks 32 empty entries, so the first
// input cell is the one reported. Cancel joins the entries as they stand.
void tst_ftable::emptyStoredTable()
{
    open(QString());
    QCOMPARE(seams->messageTexts(), QStringList());
    QCOMPARE(cellTexts(), QVector<QString>(32).toList());
    click("cmdCancel");
    QCOMPARE(form->TransTableValue(), QString());

    open(QString(), true);
    click("cmdOK");
    QCOMPARE(seams->messageTexts(), QStringList { QStringLiteral("The value must be numeric.") });
    QCOMPARE(QApplication::focusWidget(), cell(0));
    click("cmdCancel");
    QVERIFY(form->OkORCancelClick());
    QCOMPARE(form->TransTableValue(), QString(31, QLatin1Char(' ')));

    open(QString());
    const QStringList fields = linearTable().split(QLatin1Char(' '));
    for (int k = 0; k < 32; ++k)
        cell(k)->setText(fields.at(k));
    click("cmdOK");
    QVERIFY(form->OkORCancelClick());
    QCOMPARE(form->TransTableValue(), linearTable());
}

void tst_ftable::damagedStoredTableStillOpens_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("measurementSystem");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("unfilled");

    const QStringList fields = linearTable().split(QLatin1Char(' '));
    QTest::newRow("30 fields") << fields.mid(0, 30).join(' ') << 0
                               << QStringList { "9  Subscript out of range", "9  Subscript out of range" }
                               << QList<int> { 30, 31 };
    QTest::newRow("text output, SI") << withField(linearTable(), 5, "abc") << 0 << QStringList() << QList<int>();
    QTest::newRow("text output, US") << withField(linearTable(), 5, "abc") << 1 << QStringList { "13  Type mismatch" }
                                     << QList<int> { 5 };
}

void tst_ftable::damagedStoredTableStillOpens()
{
    QFETCH(QString, table);
    QFETCH(int, measurementSystem);
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, unfilled);
    MKorvane::setMesureUnit(qint16(measurementSystem));

    // Cells that cannot be filled keep their previous text.
    form = std::make_unique<fTable>();
    for (int k = 0; k < 32; ++k)
        cell(k)->setText(QStringLiteral("prev"));
    form->setCPTransTableValue(table);
    form->InitForm(measurementSystem ? UsFormat : SiFormat, programId, FieldTypeNumeric, "in", "out");
    showAndActivate();

    QCOMPARE(seams->messageTexts(), messages);
    for (const TestSupport::MessageRecord &shown : seams->messages())
        QCOMPARE(shown.style, 0); // plain box, default title
    for (int k = 0; k < 32; ++k)
        QCOMPARE(cell(k)->text() == QLatin1String("prev"), unfilled.contains(k));

    // A short table still cannot take the rows past its end.
    if (unfilled.contains(31)) {
        seams->clear();
        cell(30)->setText(QStringLiteral("30"));
        cell(31)->setText(QStringLiteral("300"));
        click("cmdOK");
        QCOMPARE(seams->messageTexts(), QStringList { QStringLiteral("Subscript out of range") });
        QVERIFY(!form->isHidden());
    }
}

void tst_ftable::formatFailureOnOk_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("5030 above the base is passed over") << DeviceAccess::DeviceError::QuietNumber5030 << true;
    QTest::newRow("1026 above the base is reported") << DeviceAccess::DeviceError::QuietNumber1026 << false;
    QTest::newRow("any other is reported") << DeviceAccess::DeviceError::ObjectErrorBase + 17 << false;
}

void tst_ftable::formatFailureOnOk()
{
    QFETCH(qint32, number);
    QFETCH(bool, accepted);
    open(linearTable());
    (*sim)->failOperation(
        QStringLiteral("FormatService.GetFormat"), number, false, QString(), QStringLiteral("format trouble"));
    click("cmdOK");
    QCOMPARE(form->OkORCancelClick(), accepted);
    QCOMPARE(seams->messageTexts(), accepted ? QStringList() : QStringList { QStringLiteral("format trouble") });
    if (accepted)
        QCOMPARE(form->TransTableValue(), linearTable());
}

void tst_ftable::captionsAndFontsFollowTheLanguage()
{
    open(linearTable());
    auto *ok = form->findChild<QPushButton *>("cmdOK");
    auto *cancel = form->findChild<QPushButton *>("cmdCancel");
    auto *inputHeader = form->findChild<QLabel *>("lblResis");
    QCOMPARE(form->windowTitle(), QStringLiteral("Transtable"));
    QCOMPARE(ok->text(), QStringLiteral("&OK"));
    QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));

    (*sim)->setLanguage(QStringLiteral("de"));
    auto &language = DeviceAccess::languageService();
    const auto strings = language.GetApplicationStrings(MKorvane::ApplicationName);
    const QString font = language.GetFontName();
    const QString title = strings->Item(QStringLiteral("TRANSTABLE"));
    QVERIFY(title != QStringLiteral("Transtable"));
    QVERIFY(font != form->font().family());

    form->ReInitializeStrings();
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(ok->text(), strings->Item(QStringLiteral("&OK")));
    QCOMPARE(cancel->text(), strings->Item(QStringLiteral("&CANCEL")));
    for (QWidget *widget : { static_cast<QWidget *>(form.get()), static_cast<QWidget *>(ok),
             static_cast<QWidget *>(cancel), static_cast<QWidget *>(inputHeader) })
        QCOMPARE(widget->font().family(), font);
    // The other captions stay as designed or as InitForm set them.
    QCOMPARE(form->findChild<QPushButton *>("cmdCopy")->text(), QStringLiteral("Copy Table"));
    QCOMPARE(form->findChild<QPushButton *>("cmdPaste")->text(), QStringLiteral("Paste Table"));
    QCOMPARE(inputHeader->text(), QStringLiteral("Input Value\r\n(Ohm)"));

    // Messages and their title come from the same table.
    cell(2)->setText(QStringLiteral("-1"));
    click("cmdOK");
    QCOMPARE(seams->messageCount(), 1);
    QCOMPARE(seams->messages().first().text, strings->Item(QStringLiteral("INPUT VALUE MUST BE A POSITIVE NUMBER.")));
    QCOMPARE(seams->messages().first().title, strings->Item(QStringLiteral("SENSOR CONFIGURATION")));
}

void tst_ftable::tabWalksTheCellsByIndex()
{
    open(linearTable());
    cell(0)->setFocus();
    for (int k = 1; k < fTable::CellCount; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cell(k));
    }
}

QTEST_MAIN(tst_ftable)
#include "tst_ftable.moc"
