// SPDX-License-Identifier: MIT
// The round trip a commissioning engineer relies on: open an input of the sample network on
// the host's page, change one field (or none), confirm as the window does (write, then save
// when anything was written), reload the database and open the input again. The field shows
// what was typed, in the units shown, and no other property of the database changed. Every
// input, in SI and in US units (measurement system and the database's format locale, as the
// host sets them), with the display strings and the number format of English and German.
#include "device/sim/SimNetwork.h"
#include "page/InputPage.h"
#include "shared/ProcessStateTesting.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

// The editable fields of both controls, with the properties of the block ("cps.X") or of its
// network variable ("nv.X", "nv.name") that a change of the field may store.
const QMap<QString, QStringList> &fields()
{
    static const QMap<QString, QStringList> all = {
        // The signal list follows the interpretation: a thermistor offers one signal type.
        { "cboInput", { "cps.UCPTinputSignalInterpretation", "cps.UCPTinputSignalType" } },
        { "cboSignal", { "cps.UCPTinputSignalType" } },
        { "cboTherm", { "cps.UCPTthermistorType" } },
        { "txtMin", { "cps.SCPTminRnge" } },
        { "cboMin", { "cps.SCPTminRnge" } },
        { "txtMax", { "cps.SCPTmaxRnge" } },
        { "cboMax", { "cps.SCPTmaxRnge" } },
        // The offset box shows the multi-level value (field 30 of the table) on version-1 blocks.
        { "txtOff", { "cps.UCPToffset", "cps.SCPToffset", "cps.UCPTtransTable" } },
        { "txtSelector", { "cps.UCPTstepLevel" } },
        { "chkReverse", { "cps.UCPThwInOptions", "cps.UCPTioOptions" } },
        { "txtDefault", { "nv.UCPTdefaultValue" } },
        { "cboDefault", { "nv.UCPTdefaultValue" } },
        { "txtOver", { "nv.SCPTovrValue" } },
        { "cboOverride", { "nv.SCPTovrValue" } },
        { "txtSend", { "nv.SCPTsndDelta" } },
        { "txtThrottle", { "nv.SCPTminSendTime" } },
        { "txtHeart", { "nv.SCPTmaxSendTime" } },
        { "txtHwInputNVName", { "nv.name" } },
    };
    return all;
}

// What differs between two saved databases, as paths ("HWI-Controller 1/HwInput[3].cps.SCPTminRnge").
// Array members with a name are named by it; the host's own settings (language, units) are not
// the user's data and are left out.
void differences(const QJsonValue &a, const QJsonValue &b, const QString &path, QStringList &out)
{
    if (a.isObject() && b.isObject()) {
        const QJsonObject x = a.toObject(), y = b.toObject();
        QStringList keys = x.keys() + y.keys();
        keys.removeDuplicates();
        for (const QString &key : keys) {
            if ((path.isEmpty() && key == QLatin1String("language"))
                || (path == QLatin1String("system") && key == QLatin1String("formatLocale")))
                continue;
            const QString inner = key == QLatin1String("devices") || key == QLatin1String("blocks")
                ? path
                : (path.isEmpty() ? key : path + QLatin1Char('.') + key);
            differences(x.value(key), y.value(key), inner, out);
        }
    } else if (a.isArray() && b.isArray() && a.toArray().size() == b.toArray().size()) {
        const QJsonArray x = a.toArray(), y = b.toArray();
        for (qsizetype i = 0; i < x.size(); ++i) {
            const QString name = x.at(i).toObject().value(QStringLiteral("name")).toString();
            const bool named = !name.isEmpty() && !path.endsWith(QLatin1String("nvs"));
            differences(x.at(i), y.at(i),
                named ? (path.isEmpty() ? name : path + QLatin1Char('/') + name)
                      : path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']'),
                out);
        }
    } else if (a != b) {
        out << path;
    }
}

QJsonValue readDatabase(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// A new valid value shown the way the field shows its value: the same decimals and decimal
// separator, one step down from values of at least one step, else one step up; for a structure
// the first field moves; a name gets another last letter. The step is one unit in SI; in US
// units it is nine: the device keeps a temperature in steps of 0.1 K, which a whole number of
// degrees Fahrenheit (0.56 K) does not always hit, while 9 °F (5 K) does.
QString anotherValue(const QString &shown, bool isName, double step)
{
    if (isName) {
        QString name = shown;
        const QChar last = name.isEmpty() ? QChar() : name.back();
        name.chop(1);
        return name + (last == QLatin1Char('X') ? QLatin1Char('Y') : QLatin1Char('X'));
    }
    QStringList parts = shown.trimmed().split(QLatin1Char(' '));
    QString number = parts.value(0);
    const qsizetype separator = std::max(number.indexOf(QLatin1Char('.')), number.indexOf(QLatin1Char(',')));
    const int decimals = separator < 0 ? 0 : int(number.size() - separator - 1);
    const QChar sign = separator < 0 ? QLatin1Char('.') : number.at(separator);
    bool ok = false;
    const double value = QString(number).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        return QString();
    number = QString::number(value >= step ? value - step : value + step, 'f', decimals);
    if (number.startsWith(QLatin1Char('-')) && number.toDouble() == 0)
        number.remove(0, 1);
    parts[0] = number.replace(QLatin1Char('.'), sign);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class tst_host_round_trip : public QObject
{
    Q_OBJECT

private slots:
    // The sample as the host saves it: every row starts from a copy of it, so that the
    // comparison starts from the saved layout without a save and a load per row.
    void initTestCase()
    {
        QVERIFY(savedSampleDir.isValid());
        TestSupport::SimFixture first;
        QVERIFY2(first.isLoaded(), qPrintable(first.errorString()));
        first->save();
        savedSample = savedSampleDir.filePath(QStringLiteral("sample-network.json"));
        QVERIFY(QFile::copy(first.databasePath(), savedSample));
    }
    void cleanup()
    {
        page.reset();
        sim.reset();
        seams.clear();
        QLocale::setDefault(QLocale::c());
    }

    // One row per input, unit system and language with no edit, with the table editor
    // closed with OK, and with each visible editable field changed.
    void oneEditStoresThatAndNothingElse_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("fieldName"); // empty: no edit; "cmdTable": the table editor's OK
        for (int i = 0; i <= 12; ++i) {
            const QString input = QStringLiteral("HwInput[%1]").arg(i);
            QStringList shown { QString(), QStringLiteral("cmdTable") };
            QVERIFY(openFresh(input, MEASUREMENT_SYSTEM_SI, QStringLiteral("en")));
            for (const QString &name : fields().keys()) {
                QWidget *widget = page->findChild<QWidget *>(name);
                if (widget && widget->isVisibleTo(page.get()) && widget->isEnabled() && isEditable(widget))
                    shown << name;
            }
            cleanup();
            for (int unit : { MEASUREMENT_SYSTEM_SI, MEASUREMENT_SYSTEM_US }) {
                for (const QString &language : { QStringLiteral("en"), QStringLiteral("de") }) {
                    for (const QString &field : std::as_const(shown))
                        QTest::addRow("%s %s %s %s", qPrintable(input), unit ? "US" : "SI", qPrintable(language),
                            field.isEmpty() ? "no edit" : qPrintable(field))
                            << input << unit << language << field;
                }
            }
        }
    }
    void oneEditStoresThatAndNothingElse()
    {
        QFETCH(QString, input);
        QFETCH(int, unit);
        QFETCH(QString, language);
        QFETCH(QString, fieldName);
        QVERIFY(openFresh(input, unit, language));
        const bool field = fields().contains(fieldName);
        QStringList allowed = fields().value(fieldName);
        QString typed;
        if (field) {
            QWidget *widget = page->findChild<QWidget *>(fieldName);
            QVERIFY(widget);
            typed = edit(widget);
            QVERIFY2(!typed.isEmpty(), qPrintable(fieldName + ": no other value to give"));
        } else if (!fieldName.isEmpty()) {
            auto table = page->hardwareControl()->findChild<QAbstractButton *>(QStringLiteral("cmdTable"));
            if (table->isHidden()) {
                // Inputs without a table get one by choosing the table interpretation.
                auto interpretation = page->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
                const int index = interpretation->findText(QStringLiteral("TRANS_TABLE"));
                if (index < 0)
                    QSKIP("no table interpretation offered");
                interpretation->setCurrentIndex(index);
                allowed << QStringLiteral("cps.UCPTinputSignalInterpretation");
            }
            QVERIFY(!table->isHidden());
            int result = -1;
            seams.setModalDriver([&result](QDialog &editor) {
                QTest::mouseClick(editor.findChild<QAbstractButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
                return result = editor.result();
            });
            QTest::mouseClick(table, Qt::LeftButton);
            QVERIFY2(result == QDialog::Accepted, qPrintable(seams.messageTexts().join(" / ")));
        }

        QStringList changed;
        QVERIFY(confirmAndCompare(changed));
        const QString prefix = Controller + QLatin1Char('/') + input + QLatin1Char('.');
        QStringList unexpected;
        for (const QString &path : std::as_const(changed)) {
            QString local = path.mid(prefix.size());
            local.replace(QLatin1String("nvs[0].cps."), QLatin1String("nv.")).replace(QLatin1String("nvs[0]."), "nv.");
            local.remove(QRegularExpression(QStringLiteral("\\[\\d+\\]$"))); // a field of a structure
            if (!path.startsWith(prefix) || !allowed.contains(local))
                unexpected << path;
        }
        QVERIFY2(unexpected.isEmpty(), qPrintable(QStringLiteral("also changed: ") + unexpected.join(", ")));
        if (!field)
            return;
        QVERIFY2(!changed.isEmpty(), qPrintable(fieldName + QStringLiteral(" = ") + typed + ": nothing stored"));

        // Reopened in the same units, the field shows what was typed.
        QVERIFY(reopen(input, unit));
        const QString shown = shownText(page->findChild<QWidget *>(fieldName));
        if (unit == MEASUREMENT_SYSTEM_US && sameWithinLastDecimal(shown, typed))
            return; // the device keeps SI steps, which a US number may fall between
        QCOMPARE(shown, typed);
    }

private:
    QTemporaryDir savedSampleDir;
    QString savedSample;
    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<Host::InputPage> page;
    TestSupport::SeamRecorder seams;
    QString m_language;
    int m_unit = MEASUREMENT_SYSTEM_SI;

    // A list with one item offers nothing else to choose.
    static bool isEditable(QWidget *widget)
    {
        if (auto line = qobject_cast<QLineEdit *>(widget))
            return !line->isReadOnly();
        if (auto combo = qobject_cast<QComboBox *>(widget))
            return combo->count() > 1;
        return true;
    }

    bool openFresh(const QString &input, int unit, const QString &language)
    {
        sim = std::make_unique<TestSupport::SimFixture>(savedSample);
        m_language = language;
        m_unit = unit;
        return sim->isLoaded() && open(input, unit);
    }

    // Loads the database file again and opens the input as the host does.
    bool reopen(const QString &input, int unit)
    {
        page.reset();
        return sim->reload() && open(input, unit);
    }

    bool open(const QString &input, int unit)
    {
        QLocale::setDefault(QLocale(m_language == QLatin1String("de") ? QLocale::German : QLocale::English));
        (*sim)->setLanguage(m_language);
        (*sim)->setFormatLocale(qint16(unit));
        page = std::make_unique<Host::InputPage>();
        page->show();
        return page->open(*sim->network(), Controller, input, QString(), qint16(unit));
    }

    // Confirms as the window does and lists what the saved database then holds differently.
    bool confirmAndCompare(QStringList &changed)
    {
        const QJsonValue before = readDatabase(sim->databasePath());
        const Host::PageOutcome outcome = page->write();
        if (outcome.failed()) {
            qWarning("not written: %s / %s", qPrintable(outcome.hardware.text()), qPrintable(outcome.network.text()));
            return false;
        }
        if (outcome.anythingWritten())
            (*sim)->save();
        differences(before, readDatabase(sim->databasePath()), QString(), changed);
        return true;
    }

    // Two numbers shown with the same decimals that differ by at most one step of the last one.
    static bool sameWithinLastDecimal(const QString &a, const QString &b)
    {
        const qsizetype point = std::max(a.indexOf(QLatin1Char('.')), a.indexOf(QLatin1Char(',')));
        if (point < 0 || a.size() != b.size())
            return false;
        bool okA = false, okB = false;
        const double x = QString(a).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&okA);
        const double y = QString(b).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&okB);
        return okA && okB && std::abs(x - y) <= 1.001 * std::pow(10.0, -double(a.size() - point - 1));
    }

    static QString shownText(QWidget *widget)
    {
        if (auto line = qobject_cast<QLineEdit *>(widget))
            return line->text();
        if (auto combo = qobject_cast<QComboBox *>(widget))
            return combo->currentText();
        if (auto check = qobject_cast<QCheckBox *>(widget))
            return check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
        return QString();
    }

    // Changes the field as a user does and returns what it then shows.
    QString edit(QWidget *widget)
    {
        if (auto line = qobject_cast<QLineEdit *>(widget)) {
            const QString typed = anotherValue(line->text(), widget->objectName() == QLatin1String("txtHwInputNVName"),
                m_unit == MEASUREMENT_SYSTEM_US ? 9 : 1);
            if (typed.isEmpty())
                return QString();
            line->selectAll();
            QTest::keyClick(line, Qt::Key_Delete);
            QTest::keyClicks(line, typed);
            return line->text();
        }
        if (auto combo = qobject_cast<QComboBox *>(widget)) {
            if (combo->count() < 2)
                return QString();
            const bool last = combo->currentIndex() + 1 >= combo->count();
            QTest::keyClick(combo, last ? Qt::Key_Up : Qt::Key_Down);
            return combo->currentText();
        }
        if (auto check = qobject_cast<QCheckBox *>(widget)) {
            QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
            return shownText(check);
        }
        return QString();
    }
};

QTEST_MAIN(tst_host_round_trip)
#include "tst_host_round_trip.moc"
