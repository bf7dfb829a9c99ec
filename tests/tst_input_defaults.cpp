// SPDX-License-Identifier: MIT
// CInputDefaultValues against the simulated network: where the defaults file is looked
// for, what its sections load as, and what writing an input type does to the database.
#include "defaults/CInputDefaultValues.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"
#include "support/TableRow.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace DeviceAccess;
using TestSupport::row;

namespace {

constexpr qint32 InputModels = 19; // the sample's input-type enumeration
const QString Injected = QStringLiteral("Injected");
const QString Device = QStringLiteral("HWI-Controller 1");

// Lines "K10=aaa...", "K11=bbb..." of 24 characters each, and their entries.
QByteArray lines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += 'K' + QByteArray::number(i + 10) + '=' + QByteArray(20, char('a' + i)) + '\n';
    return text;
}

QStringList keys(int count)
{
    return QString::fromLatin1(lines(count)).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestInputDefaults : public TestSupport::SimTestCase
{
    Q_OBJECT

protected:
    void prepare() override
    {
        QDir(sim->tempPath()).mkdir(QStringLiteral("CommonFiles"));
        defaults = CInputDefaultValues();
    }

private:
    QString iniPath() const { return sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini"); }
    // Writes the defaults file; by default a copy of tests/data/defaults/InputDefaultValues.ini.
    bool store(const QByteArray &bytes = QByteArray())
    {
        QFile file(iniPath());
        if (bytes.isNull())
            return QFile::copy(TestSupport::SimFixture::testDataPath("defaults/InputDefaultValues.ini"), iniPath());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    bool charge(QString &errMsg, QString path = QString(), QString *built = nullptr)
    {
        QString &filePath = built ? *built : path;
        filePath = path.isEmpty() ? sim->tempPath() + QStringLiteral("/Plugin") : path;
        return defaults.ChargeInputDefaultValues(
            filePath, (*sim)->programId(Device), (*sim)->scope(Device), InputModels, 0, 7, errMsg);
    }
    // The writes of the call log as "property@format=value", format as set at the write.
    QStringList writes() const
    {
        QStringList result;
        QHash<QString, QString> format;
        for (const Sim::CallRecord &call : (*sim)->callLog()) {
            const QString cp = call.arguments.value(0), text = call.arguments.value(1);
            if (call.operation == QLatin1String("ConfigProperty.setFormat"))
                format[cp] = text;
            else if (call.operation == QLatin1String("ConfigProperty.setValueText"))
                result << cp + '@' + format.value(cp) + '=' + text;
        }
        return result;
    }

    CInputDefaultValues defaults;

private slots:

    // A first load of a good file, then the file changed and the folder given: where the file
    // is looked for, the exact line when it is not there, and the table left as it was.
    void locate_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("given"); // %T: the test's folder, which holds CommonFiles
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("errMsg");
        const QString ini = "CommonFiles/InputDefaultValues.ini", winIni = "CommonFiles\\InputDefaultValues.ini";
        const QString notFound = "InputDefaultValuesFileExist : Couldn't find the input default values file.";
        const QString noCut = "InputDefaultValuesFileExist : Invalid procedure call or argument";
        row("slash", "", "%T/Plugin", "%T/" + ini, "");
        row("backslash", "", "C:\\LNS\\Plugins\\Korvane", "C:\\LNS\\Plugins\\" + winIni, notFound);
        row("trailing, mixed", "", "C:/LNS\\Plugins\\", "C:/LNS\\" + winIni, notFound);
        row("no separator", "", "Plugins", "Plugins", noCut);
        row("missing", "remove", "%T/Plugin", "%T/" + ini, notFound);
        row("0 bytes", "remove empty", "%T/Plugin", "%T/" + ini, notFound);
        row("a folder of that name", "remove folder", "%T/Plugin", "%T/" + ini, notFound);
        row("no enumeration", "catalog", "%T/Plugin", "%T/" + ini, "Cannot open DRF catalog!");
        row("no file, no enumeration: both told", "remove catalog", "%T/Plugin", "%T/" + ini,
            notFound + "\r\nCannot open DRF catalog!");
    }

    void locate()
    {
        QFETCH(QString, change);
        QFETCH(QString, given);
        QFETCH(QString, built);
        QFETCH(QString, errMsg);
        QString err;
        QVERIFY(store() && charge(err));
        const InputDefaultTablePtr before = defaults.GetInputDefault();
        QVERIFY(!change.contains("remove") || QFile::remove(iniPath()));
        QVERIFY(
            change.contains("empty") ? store(QByteArray("")) : !change.contains("folder") || QDir().mkdir(iniPath()));
        (*sim)->setCatalogAvailable(!change.contains("catalog"));
        QString path;
        err = QStringLiteral("earlier");
        QCOMPARE(charge(err, given.replace("%T", sim->tempPath()), &path), errMsg.isEmpty());
        QCOMPARE(path, built.replace("%T", sim->tempPath()));
        QCOMPARE(err, errMsg.isEmpty() ? "earlier" : "earlier\r\n" + errMsg);
        QCOMPARE(defaults.GetInputDefault() == before, !errMsg.isEmpty());
        QCOMPARE(defaults.GetInputDefault()->Item("ROOM_TEMP_NTC10K")->Count(), 11);
    }

    void sections_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("entries"); // "key=value" of CO2_0_10V, all the table holds
        QTest::addColumn<QString>("errMsg");
        row("cleaning",
            QByteArray("[CO2_0_10V]\nA = 25 °C ; comment\nB = (10 s)\nC = Sensors\nD = 25 (°C)\n"
                       "E = x=y=z\nF = 21.5\t°C ; tab\nG = 800 ppm\nH = 10 (s\nI = 5 sec\n"
                       "J = -1 - 2 s\nM = x1 s\nN = 21 °C SUPPLY\n; K = 1\nL =\nO = a) (b)\nP = a) (b\nQ = (c) d)\n"),
            QStringList { "A=25", "B=10", "C=Sensors", "D=°C", "E=x=y=z", "F=21.5", "G=800", "H=10 (s", "I=5",
                "J=-1 - 2", "M=x1 s", "N=21 °C SUPPLY", "L=", "O=b", "P=a) (b", "Q=c" },
            "");
        row("Western code page, CRLF", QByteArray("[co2_0_10v]\r\nA=21.5 \260C\r\n"), QStringList { "A=21.5" }, "");
        row("UTF-8 BOM, blanks, lower-case name", QByteArray("\xEF\xBB\xBF  [ co2_0_10v ] trailing\n\t A = 21.5 °C \n"),
            QStringList { "A=21.5" }, "");
        row("value 0, a foreign section, a repeated one",
            QByteArray("[NONE]\nA=1\n[Heat_Meter]\nA=2\n[Co2_0_10V]\nA=3\n[CO2_0_10V]\nA=4\n"), QStringList { "A=3" },
            "");
        row("duplicate key", QByteArray("[Co2_0_10V]\nA=1\nB=2\na=3\nC=4\n"), QStringList { "A=1", "B=2" },
            "This key is already associated with an element of this collection (the key \"a\" appears twice in the "
            "section [CO2_0_10V] of %1)");
        // 19 lines of 24 characters and their NULs take 475 of the 498 characters that arrive.
        const QByteArray head = "[Co2_0_10V]\n";
        row("fits exactly", head + lines(19) + "Z=" + QByteArray(21, 'z') + '\n',
            keys(19) + QStringList { "Z=" + QString(21, 'z') }, "");
        row("crossing line cut", head + lines(19) + "Z=" + QByteArray(22, 'z') + "\nY=1\n",
            keys(19) + QStringList { "Z=" + QString(21, 'z') }, "");
        row("comments count too", head + QByteArray(24, ';') + '\n' + lines(19) + "Z=1\n",
            keys(18) + QStringList { "K28=" + QString(19, 's') }, "");
        row("100 KB line", head + "A=" + QByteArray(100 * 1024, '7') + "\nB=1\n",
            QStringList { "A=" + QString(496, '7') }, "");
        row("embedded NUL", "[Co2_0_10V]\nA=1" + QByteArray(1, 0) + "\nB=2\n", QStringList(),
            QStringLiteral("LoadDefaults : The file %1 is not a text file."));
        row("too large", head + "A=1\n" + QByteArray(ProfileFile::MaxFileSize, ' '), QStringList(),
            "LoadDefaults : The file %1 is larger than 4194304 bytes.");
    }

    void sections()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, entries);
        QFETCH(QString, errMsg);
        QVERIFY(store(ini));
        QString err;
        QVERIFY(charge(err));
        QCOMPARE(err, errMsg.replace("%1", iniPath()));
        const InputDefaultTablePtr table = defaults.GetInputDefault();
        QCOMPARE(table->Count(), entries.isEmpty() ? 0 : 1);
        for (const QString &entry : entries)
            QCOMPARE(table->Item("CO2_0_10V")->Item(entry.section('=', 0, 0)), entry.section('=', 1));
        QCOMPARE(entries.isEmpty() ? 0 : table->Item("CO2_0_10V")->Count(), entries.size());
    }

    // WriteDefaultValues (inputType) or WriteSignalInperpretationCP ("signal:" and the value) on
    // HwInput[0], with one operation failing: what is written in which format, what the saved
    // database holds, and the network variable's name.
    void write_data()
    {
        QTest::addColumn<QString>("inputType");
        // "operation" or "operation/object name", then "#n" for error number ObjectErrorBase + n (else 7)
        QTest::addColumn<QString>("failing");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("errMsg"); // it held "earlier" before
        QTest::addColumn<QStringList>("written"); // "property@format=value"
        QTest::addColumn<QString>("stored"); // "nv:" for the variable's properties
        QTest::addColumn<QString>("nvName");
        const QStringList hardware { "SCPTmaxRnge@=40", "SCPTminRnge@=-10",
            "UCPTinputSignalInterpretation@UCPTinputSignalInterpretation=LINEAR",
            "UCPTinputSignalType@UCPTinputSignalType=MILIAMPS_4_20MA", "UCPToffset@UCPToffset=1.5" };
        const QStringList network { "SCPTmaxSendTime@SCPTmaxSendTime=120", "SCPTminSendTime@SCPTminSendTime=5",
            "SCPTovrValue@=19", "SCPTsndDelta@=0.2", "UCPTdefaultValue@=18" };
        const QString all = "SCPTminRnge=-10;SCPTmaxRnge=40;UCPTinputSignalInterpretation=LINEAR;UCPToffset=1.5;"
                            "nv:SCPTovrValue=19;nv:UCPTdefaultValue=18;nv:SCPTsndDelta=0.2;nv:SCPTmaxSendTime=120";
        const QString none
            = "SCPTminRnge=0;SCPTmaxRnge=50;UCPTinputSignalInterpretation=STD_THERMISTOR;nv:SCPTovrValue=21.5";
        const QString was = "earlier\r\n",
                      unknown = was + "WriteDefaultValues : Couldn't find the default values for %1 in the Ini file.";
        const QString room = "ROOM_TEMP_NTC10K", renamed = "nvoHwInput[0]", kept = "nvoRoomTemp";
        const QStringList linear { "UCPTinputSignalInterpretation@UCPTinputSignalInterpretation=LINEAR" };
        row("exact name", room, "", true, "earlier", hardware + network, all, renamed);
        row("lower case, blanks", "  room_temp_ntc10k ", "", true, "earlier", hardware + network, all, renamed);
        row("one property refused", room, "ConfigProperty.setValueText/SCPTminRnge", true, was + Injected,
            hardware + network, "SCPTminRnge=0;SCPTmaxRnge=40;nv:SCPTovrValue=19", renamed);
        row("block's properties unavailable", room, "LonMarkObject.ConfigProperties", true,
            was + "WriteHardwareCPs : " + Injected, network, "SCPTminRnge=0;nv:SCPTovrValue=19", renamed);
        row("variable's property unreadable", room, "ConfigProperty.Name/SCPTovrValue", true,
            was + "WriteNetworkCPs : " + Injected, hardware + network.mid(0, 2) + network.mid(3),
            "SCPTmaxRnge=40;nv:SCPTovrValue=21.5", renamed);
        row("renaming refused", room, "NetworkVariable.setName", false, was + Injected, hardware + network, all, kept);
        // A quiet number means the device took the name as it is: the write succeeded (the
        // other quiet number: tst_fault_sweep).
        row("renaming answers quiet 5030", room, "NetworkVariable.setName#5030", true, "earlier", hardware + network,
            all, kept);
        row("unknown type", "Heat_Meter", "", false, unknown.arg("Heat_Meter"), QStringList(), none, kept);
        row("type of value 0", "NONE", "", false, unknown.arg("NONE"), QStringList(), none, kept);
        row("signal, empty", "signal:", "", false, "earlier", QStringList(), none, kept);
        row("signal", "signal:LINEAR", "", true, "earlier", linear, "UCPTinputSignalInterpretation=LINEAR", kept);
        row("signal property not found: the text replaced", "signal:LINEAR", "ConfigProperties.Item", false, Injected,
            QStringList(), none, kept);
        row("signal, block unavailable", "signal:LINEAR", "LonMarkObject.ConfigProperties", false,
            was + "WriteSignalInperpretationCP : " + Injected, QStringList(), none, kept);
    }

    void write()
    {
        QFETCH(QString, inputType);
        QFETCH(QString, failing);
        QFETCH(bool, result);
        QFETCH(QString, errMsg);
        QFETCH(QStringList, written);
        QFETCH(QString, stored);
        QFETCH(QString, nvName);
        QString err;
        QVERIFY(store() && charge(err));
        defaults.setHardwareInputObject((*sim)->block(Device, "HwInput[0]"));
        (*sim)->clearCallLog();
        if (!failing.isEmpty()) {
            const QString target = failing.section('#', 0, 0);
            const qint32 number
                = DeviceError::ObjectErrorBase + (failing.contains('#') ? failing.section('#', 1).toInt() : 7);
            (*sim)->failOperation(target.section('/', 0, 0), number, false, target.section('/', 1), Injected);
        }
        err = QStringLiteral("earlier");
        if (inputType.startsWith("signal:")) {
            QCOMPARE(defaults.WriteSignalInperpretationCP(inputType.mid(7), err), result);
            QCOMPARE((*sim)->callCount() == 0, inputType == "signal:");
        } else {
            QCOMPARE(defaults.WriteDefaultValues(inputType, "5.0", err), result);
            QCOMPARE((*sim)->callCount("NetworkVariable.setName"), written.isEmpty() ? 0 : 1);
        }
        QCOMPARE(err, errMsg);
        QCOMPARE(writes(), written);
        (*sim)->clearFaults();
        (*sim)->save();
        QVERIFY(sim->reload());
        for (const QString &cp : stored.split(';')) {
            const bool nv = cp.startsWith("nv:");
            const QString value = (*sim)->storedCpText(Device, "HwInput[0]", cp.section('=', 0, 0).mid(nv ? 3 : 0), nv);
            bool number = false;
            const double n = value.toDouble(&number);
            QCOMPARE(number ? QString::number(n) : value, cp.section('=', 1));
        }
        QCOMPARE((*sim)->block(Device, "HwInput[0]")->NetworkVariables()->Item(1)->Name(), nvName);
    }

    // The shipped file: every section loads whole and writes cleanly to an input of its kind.
    void sampleFile_data()
    {
        QTest::addColumn<QString>("inputType");
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("writes"); // all the section names but the other object version's offset
        row("NTC room sensor", "ROOM_TEMP_NTC10K", "HwInput[0]", 11);
        row("PT1000", "SUPPLY_TEMP_PT1000", "HwInput[4]", 11);
        row("humidity", "HUMIDITY_0_10V", "HwInput[5]", 10);
        row("pressure", "PRESSURE_4_20MA", "HwInput[8]", 10);
        row("CO2", "CO2_0_10V", "HwInput[9]", 10);
        row("window contact", "WINDOW_CONTACT", "HwInput[2]", 10);
        row("occupancy button", "OCCUPANCY_BUTTON", "HwInput[3]", 9);
    }

    void sampleFile()
    {
        QFETCH(QString, inputType);
        QFETCH(QString, block);
        QFETCH(int, writes);
        QString err;
        QVERIFY(charge(err, QStringLiteral(VQ_DATA_DIR "/Plugin")) && err.isEmpty());
        QCOMPARE(defaults.GetInputDefault()->Count(), 7);
        defaults.setHardwareInputObject((*sim)->block(Device, block));
        (*sim)->clearCallLog();
        QVERIFY(defaults.WriteDefaultValues(inputType, QString(), err) && err.isEmpty());
        QCOMPARE(this->writes().size(), writes);
    }

    // The defaults file is read like every file the library is given: a FIFO is not waited
    // on, and the reason is given (the other kinds of file: tst_sim_file).
    void fifoIsNotWaitedOn()
    {
        QVERIFY(::mkfifo(QFile::encodeName(iniPath()).constData(), 0600) == 0);
        const ProfileFile file(iniPath());
        QCOMPARE(file.errorString(),
            QStringLiteral("The file %1 cannot be read: it is a FIFO (named pipe), not a regular file.")
                .arg(iniPath()));
        QCOMPARE(file.status(), ProfileFile::Status::Unreadable);
    }
};

QTEST_GUILESS_MAIN(TestInputDefaults)
#include "tst_input_defaults.moc"
