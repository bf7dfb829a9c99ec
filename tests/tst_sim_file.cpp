// SPDX-License-Identifier: MIT
// The database file itself: comments kept in place through a load and a save, the saved
// text in Qt's own layout, load errors that name the place (duplicate keys, what is not
// a UTF-8 regular file, wrong values, generators), a save that fails keeping the old file
// and saying why, save and reload, and links.
#include "device/sim/SimFile.h"
#include "device/sim/SimJsonReader.h"
#include "support/SavedTextOracle.h"
#include "support/SimFixture.h"
#include "support/SimJsonEdit.h"
#include "support/SimTestCase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

#if defined(__has_feature)
constexpr bool UnderAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool UnderAddressSanitizer = false; // the sanitized build is a clang build
#endif
// Time bounds allow for the sanitizer's slowdown.
constexpr qint64 Slowdown = UnderAddressSanitizer ? 4 : 1;

using TestSupport::readFile;
constexpr auto matches = TestSupport::messageMatches;
using TestSupport::replacedAt;
using TestSupport::writeFile;

// Calls `visit` on every object of a value with the object's path, innermost first, and
// gives back the value as the visits left it.
QJsonValue eachObject(
    const QJsonValue &value, const QString &path, const std::function<void(QJsonObject &, const QString &)> &visit)
{
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i)
            array[i] = eachObject(array.at(i), path + QStringLiteral("[%1]").arg(i), visit);
        return array;
    }
    if (!value.isObject())
        return value;
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        it.value() = eachObject(it.value(), path + QLatin1Char('.') + it.key(), visit);
    visit(object, path);
    return object;
}

// Every comment of a document by the path of its object.
QMap<QString, QString> commentsOf(const QByteArray &json)
{
    QMap<QString, QString> comments;
    eachObject(QJsonDocument::fromJson(json).object(), QString(), [&](QJsonObject &object, const QString &path) {
        if (object.contains(QLatin1String("comment")))
            comments.insert(path, object.value(QLatin1String("comment")).toString());
    });
    return comments;
}

// A JSON text as a value; an empty text is undefined (a key to remove).
QJsonValue jsonOf(const QByteArray &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonDocument::fromJson("[" + text + "]").array().at(0);
}

// A device whose names and comments need escapes and text beyond ASCII, whose property
// names sort differently by UTF-16 unit than by code point, with empty lists and numbers
// of every kind Qt writes its own way. (A quote is \u0022 here: moc misreads \" in a raw string.)
const char OddDevice[] = R"({
  "name": "Ger\u00e4t \u00227\u0022 \\ \t\u0001\u001f\u007f \ud83d\ude00 \u2028",
  "comment": "/\b\f\n\r \u00ff\uffff",
  "programId": "9000A53D0A040410", "scope": 3, "commissioned": false, "state": 2,
  "blocks": [
    { "name": "empty", "cps": {}, "nvs": [] },
    { "name": "\u00e9", "comment": "",
      "cps": {
        "comment": "list",
        "\ud83d\ude00": { "type": "SNVT_temp_f", "value": 1e20 },
        "\ue000": { "type": "SNVT_temp_f", "value": 0.1, "comment": "\u0000" },
        "\ufffd": { "type": "SNVT_temp_f", "value": -0.0 },
        "Z": { "type": "SNVT_temp_f", "value": 123456789012345678 },
        "a": { "type": "SNVT_temp_f", "value": 5.0 },
        "commentary": { "type": "SNVT_temp_f", "value": 1e-5 },
        "b": { "type": "SNVT_temp_f", "value": 1e15 },
        "c": { "type": "SNVT_temp_f", "value": 1e16 },
        "d": { "type": "SNVT_temp_f", "value": 0.0001 },
        "k\u0022\\\t\u0001/": { "type": "SNVT_temp_f", "value": -1e-300 }
      },
      "nvs": [
        { "name": "f", "type": "SNVT_temp_f", "value": 1e37, "cps": { "comment": "only a comment" },
          "generator": { "kind": "wave", "period": 1e300, "amplitude": 0.1, "noise": 2.5e-300, "comment": "" } },
        { "name": "s", "type": "SNVT_switch", "value": [50.5, -1], "cps": {} },
        { "name": "o", "type": "SNVT_occupancy", "value": "OC_STANDBY" }
      ] }
  ]
})";

// The sample network whose fourteen transfer tables need `fields` fields each and have no
// value, so that the loader builds their default.
QByteArray tablesWithoutValue(int fields)
{
    QJsonObject root = TestSupport::sampleJson();
    root = replacedAt(root, { "resourceSets", "1", "types", "8", "text", "minFields" }, fields).toObject();
    root = replacedAt(root, { "resourceSets", "1", "types", "8", "text", "maxFields" }, QJsonValue::Undefined)
               .toObject();
    QJsonArray devices = root["devices"].toArray();
    for (int d = 0; d < devices.size(); ++d) {
        const QJsonArray blocks = devices[d].toObject()["blocks"].toArray();
        for (int b = 0; b < blocks.size(); ++b) {
            if (blocks[b].toObject()["cps"].toObject().contains("UCPTtransTable"))
                devices[d] = replacedAt(devices[d], { "blocks", QString::number(b), "cps", "UCPTtransTable" },
                    QJsonObject { { "type", "UCPTtransTable" } });
        }
    }
    root["devices"] = devices;
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// The sample network with a list (types, formats, languages or blocks) made 80001 entries
// longer, the last named as the 18th of them in other letter case.
QByteArray longList(const QString &list)
{
    const QJsonObject root = TestSupport::sampleJson();
    const QStringList path = list == QLatin1String("languages") ? QStringList { list }
        : list == QLatin1String("blocks")
        ? QStringList { "devices", "1", list }
        : QStringList { "resourceSets", list == QLatin1String("types") ? "1" : "0", list };
    QJsonValue at = root;
    for (const QString &step : path)
        at = at.isArray() ? at.toArray().at(step.toInt()) : at.toObject().value(step);
    // Written as text: a QJsonArray grown one entry at a time is slow to build.
    QByteArray entries = QJsonDocument(at.toArray()).toJson(QJsonDocument::Compact);
    entries.chop(1);
    // A block is added without properties and variables: its name is what is checked. Other
    // entries copy the shortest of the list, so that the text stays a few megabytes.
    QJsonObject entry;
    if (list != QLatin1String("blocks")) {
        const QJsonArray all = at.toArray();
        const auto size = [](const QJsonValue &v) { return QJsonDocument(v.toObject()).toJson().size(); };
        entry = std::min_element(all.begin(), all.end(), [&](const QJsonValue &a, const QJsonValue &b) {
            return size(a) < size(b);
        })->toObject();
    }
    entry[list == QLatin1String("languages") ? QStringLiteral("code") : QStringLiteral("name")] = QStringLiteral("@");
    const QByteArray pattern = QJsonDocument(entry).toJson(QJsonDocument::Compact);
    for (int i = 0; i <= 80000; ++i)
        entries += ',' + QByteArray(pattern).replace("@", i < 80000 ? "N" + QByteArray::number(i) : "n17");
    QByteArray json = QJsonDocument(replacedAt(root, path, "@list@").toObject()).toJson(QJsonDocument::Compact);
    return json.replace("\"@list@\"", entries + ']');
}

} // namespace

class TestSimFile : public TestSupport::SimTestCase
{
    Q_OBJECT

private slots:
    void readsAsQtDoes_data();
    void readsAsQtDoes();
    void savedTextIsQtLayout_data();
    void savedTextIsQtLayout();
    void refused_data();
    void refused();
    void failedSaveKeepsWhatWasThere_data();
    void failedSaveKeepsWhatWasThere();
    void saveThroughLinks();
    void generatorMovesTheValue();
    void strayCopiesRemoved_data();
    void strayCopiesRemoved();
};

// A strict JSON text reads exactly as Qt reads it (what is not strict JSON is refused,
// rows of refused()).
void TestSimFile::readsAsQtDoes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("keys in any order") << QByteArray(
        R"({"b": 1, "B": 2, "a": {"z": [], "y": {}}, "ab": null, "": true})");
    QTest::newRow("whole numbers") << QByteArray(
        R"({"n": [0, -0, 7, -12, 9007199254740993, 9223372036854775807, -9223372036854775808]})");
    QTest::newRow("beyond 63 bits") << QByteArray(R"({"n": [9223372036854775808, 18446744073709551615]})");
    QTest::newRow("fractions and exponents")
        << QByteArray(R"({"n": [0.1, -2.5e-3, 1E5, 1e+2, 1.7976931348623157e308, -0.0, 4.9e-324]})");
    QTest::newRow("fractions that land on 64-bit integers")
        << QByteArray(R"({"n": [2.0, 922335477203547751.79, 9007199254740993.0, -9223372036854775808.0, 9.3e18]})");
    QTest::newRow("escapes") << QByteArray(R"({"s": "q\" b\\ s\/ \b\f\n\r\t \u00e9\u20AC\u0041 \ud83d\ude00"})");
    QTest::newRow("raw UTF-8") << QByteArray(
        "{\"s\": \"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80\", \"\xC3\xA4\": 1}");
    QTest::newRow("escaped keys") << QByteArray(R"j({"x\r\n(%S1%)": "y", "w": 0, "\u00e4": 1})j");
    QTest::newRow("key beyond the first plane") << QByteArray("{\"\xF0\x9F\x98\x80\": 1, \"\xEF\xBC\xA1\": 2}");
    QTest::newRow("nested") << QByteArray(R"({"a": [[1, [2, {"b": [false, null, "c"]}]], {}], "d": {"e": {"f": {}}}})");
    QTest::newRow("spaces") << QByteArray(" \t\r\n{ \"a\" : [ 1 , 2 ] }\n ");
    QTest::newRow("byte-order mark, which a reader may skip") << QByteArray("\xEF\xBB\xBF{\"a\": 1}");
}

void TestSimFile::readsAsQtDoes()
{
    QFETCH(QByteArray, json);
    try {
        const Sim::JsonText text(json, QStringLiteral("t.json"));
        const QJsonObject qt = QJsonDocument::fromJson(json).object();
        // Compared as written text: equality of QJsonValue would take 2^63 and 2.0^63 for one number.
        QCOMPARE(QJsonDocument(text.root().toQt().toObject()).toJson(QJsonDocument::Compact),
            QJsonDocument(qt).toJson(QJsonDocument::Compact));
        // Members come in the text's order, with their keys.
        QStringList keys;
        text.root().forEach([&](const Sim::JsonRef &member) { keys << member.key(); });
        QStringList qtKeys = qt.keys();
        keys.sort();
        qtKeys.sort();
        QCOMPARE(keys, qtKeys);
    } catch (const Sim::LoadError &error) {
        QFAIL(qPrintable(error.message()));
    }
}

// Qt itself is the judge: what a QJsonObject tree of the saved text gives back from
// QJsonDocument::toJson is the saved text, key order, indentation, escapes and number
// texts included; every comment stays with its object; and the saved text loads to itself.
void TestSimFile::savedTextIsQtLayout_data()
{
    QTest::addColumn<QByteArray>("database");
    QTest::addColumn<QByteArrayList>("written"); // texts the save must contain

    const QByteArray sample = readFile(TestSupport::SimFixture::sampleNetworkPath());
    QTest::newRow("sample network") << sample << QByteArrayList { "\"value\": 21.5", "\"comment\": \"The input" };
    for (const char *name : { "hardware-structure.json", "mkorvane-network.json", "network-nv.json" })
        QTest::newRow(name) << readFile(TestSupport::SimFixture::testDataPath(QString::fromLatin1(name)))
                            << QByteArrayList();
    // Every object gets a comment of its own: quotes, a backslash, control characters and
    // text beyond ASCII, and one empty comment.
    int objects = 0;
    const QJsonValue commented = eachObject(
        QJsonDocument::fromJson(sample).object(), QString(), [&](QJsonObject &object, const QString &path) {
            object.insert(QStringLiteral("comment"),
                objects++ == 1 ? QString() : path + QStringLiteral(": \"Fühler\" \\ \t\u0001 ° €\nnext line"));
        });
    QTest::newRow("comments everywhere") << QJsonDocument(commented.toObject()).toJson()
                                         << QByteArrayList { "\\\" \\\\ \\t\\u0001 \u00b0 \u20ac\\nnext line\"" };

    QJsonObject odd = QJsonDocument::fromJson(sample).object();
    QJsonArray devices = odd.value(QStringLiteral("devices")).toArray();
    devices.append(QJsonDocument::fromJson(OddDevice).object());
    odd.insert(QStringLiteral("devices"), devices);
    // An enumeration without a format cannot read a member's name from the file: its values
    // are saved as member values, so that the saved file opens again to the same network.
    QByteArray members = sample;
    const char *const values[][2]
        = { { "OC_NUL", "-1" }, { "OC_OCCUPIED", "0" }, { "OC_UNOCCUPIED", "1" }, { "OC_STANDBY", "3" } };
    for (const auto &[name, value] : values)
        members.replace(": \"" + QByteArray(name) + '"', ": " + QByteArray(value));
    QJsonArray formats = QJsonDocument::fromJson(members)["resourceSets"][0]["formats"].toArray();
    for (qsizetype i = formats.size() - 1; i >= 0; --i) {
        if (formats.at(i)["type"].toString() == QLatin1String("SNVT_occupancy"))
            formats.removeAt(i);
    }
    QTest::newRow("enumeration without a format") << QJsonDocument(
        replacedAt(QJsonDocument::fromJson(members).object(), { "resourceSets", "0", "formats" }, formats).toObject())
                                                         .toJson()
                                                  << QByteArrayList { "\"SCPTmaxRnge\": 3," };

    QTest::newRow("odd names, numbers and empty lists")
        << QJsonDocument(odd).toJson(QJsonDocument::Compact)
        << QByteArrayList { "\\t\\u0001\\u001f\x7f \xf0\x9f\x98\x80", "\"empty\"", "1e+20", "123456789012345680",
               "\"value\": 0\n", "1e+300", "2.5e-300", "1e-05", "1000000000000000", "1e+16", "1e-04" };
}

void TestSimFile::savedTextIsQtLayout()
{
    QFETCH(QByteArray, database);
    QFETCH(QByteArrayList, written);
    const QString path = sim->tempPath() + QStringLiteral("/database.json");
    QVERIFY(writeFile(path, database));
    Sim::Network::load(path)->save();
    const QByteArray saved = readFile(path);
    QCOMPARE(saved.split('\n'), TestSupport::qtWrittenSave(saved).split('\n')); // names the first line apart
    QCOMPARE(commentsOf(saved), commentsOf(database));
    QCOMPARE(Sim::Network::fromJson(saved, QStringLiteral("saved"))->toJson(), saved);
    for (const QByteArray &text : written)
        QVERIFY2(saved.contains(text), text.constData());
}

void TestSimFile::refused_data()
{
    // What is loaded: "file" (the content as it is), "folder", "fifo", "device", "large",
    // "gone" (no such file), "half" (the sample cut short), "tables" (tablesWithoutValue of
    // the content's number; "tables in little memory" with the address space held to what
    // the process has and 32 MiB), "long" (longList of the content) or a "/"-separated path
    // in the sample whose value the content replaces (or, when empty, removes).
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // the message after "<file>: "; "*": any text; empty: it loads
    const auto row = [](const char *name, const char *kind, const QByteArray &content, const QString &expected) {
        QTest::newRow(name) << kind << content << expected;
    };
    row("duplicate key", "file", "{\n  \"system\": {\n    \"name\": \"a\",\n    \"name\": \"b\"\n  }\n}",
        "line 4, column 5: the key \"name\" appears twice in one object (first on line 3)*");
    row("duplicate key spelt with an escape", "file",
        "{\"devices\": [{\"blocks\": [], \"n\\u0061me\": 1,\n\"name\": 2}]}",
        "line 2, column 1: the key \"name\" appears twice in one object (first on line 1)*");
    // Not strict JSON, though Qt's reader takes some of it: refused, naming the place.
    row("number ending in a point", "file", "{\"a\":\n 1.}", "line 2, column 2 (offset 7): expected a number*");
    row("leading zero", "file", R"({"a": 01})", "line 1, column 7 (offset 6): expected a number*");
    row("too large", "file", R"({"a": 1e400})", "line 1, column 7 (offset 6): expected a number*");
    row("whole number beyond 64 bits", "file", R"({"a": -123456789012345678901234})",
        "line 1, column 7 *: expected a number*");
    row("control character", "file", "{\"a\": \"x\x01y\"}",
        "line 1, column 9 (offset 8): a control character in a string*");
    row("lone low surrogate", "file", "{\n\"a\": \"\\udc00\"}",
        "line 2, column 6 (offset 7): expected a string with valid*");
    row("invalid UTF-8", "file", "{\"a\": \"\xC0\xAF\"}", "line 1, column 8 (offset 7): a byte that begins no UTF-8*");
    row("trailing text", "file", "{\"a\": 1}\nx", "line 2, column 1 (offset 9): expected a value*");
    row("trailing comma", "file", R"({"a": 1,})", "line 1, column * (offset *): expected a value*");
    row("misspelt null", "file", R"({"a": [1, nul]})", "line 1, column 11 (offset 10): expected null");
    row("unterminated", "file", R"({"a": "b)", "line 1, column 7 (offset 6): a string that is never closed*");
    row("truncated", "file", R"({"a": [1, 2)", "line 1, column * (offset *): expected a value*");
    row("top-level array", "file", R"([1])", "(top level): expected an object, found an array");
    row("deep", "file", QByteArray("{\"a\":") + QByteArray(1100, '[') + QByteArray(1100, ']') + "}",
        "line 1, column * (offset *): values nested deeper than 1024 levels");
    row("nothing", "file", "  ", "line 1, column 3 (offset 2): expected an object, found no text");
    row("UTF-16 with a byte-order mark", "file", QByteArray("\xFF\xFE{\0}\0", 6), "the file is UTF-16 text*");
    row("UTF-16 without a mark", "file", QByteArray("\0{\0}", 4), "the file is UTF-16 text*");
    row("UTF-32", "file", QByteArray("{\0\0\0}\0\0\0", 8), "the file is UTF-32 text*");
    const QString zero = QStringLiteral(": a zero byte (NUL), which a text never holds; a network database is UTF-8 "
                                        "text, and a string writes it \\u0000");
    row("binary data", "file",
        QByteArray("\x7f"
                   "ELF\x02\x01\x01\0\0\0",
            10),
        "line 1, column 8 (offset 7)" + zero);
    row("a NUL inside a string", "file", QByteArray("{\n  \"formatVersion\": \"a\0b\"\n}", 28),
        "line 2, column 22 (offset 23)" + zero);
    row("folder", "folder", "", "cannot be read: it is a folder, and a network database is a regular file");
    row("FIFO", "fifo", "", "cannot be read: it is a FIFO (named pipe), and a network database is a regular file");
    row("device", "device", "", "cannot be read: it is a device, and a network database is a regular file");
    row("over the size limit", "large", "",
        "cannot be read: the file holds 67108865 bytes; a network database holds at most 67108864 bytes (64 MiB)");
    row("no such file", "gone", "", "cannot be read: *");
    row("truncated", "half", "", "line *, column * (offset *): *");

    row("wrong type", "devices/0/commissioned", "\"yes\"",
        "devices[0].commissioned: expected true or false, found a string");
    row("missing field", "devices/0/programId", "", "devices[0]: missing \"programId\"");
    row("misspelt key", "devices/0/comissioned", "true", "devices[0].comissioned: unknown key");
    row("version", "formatVersion", "2", "formatVersion: unsupported format version 2; this library reads version 1");
    row("value out of range", "devices/0/blocks/0/cps/SCPTminRnge", "100000",
        "devices[0].blocks[0].cps.SCPTminRnge: 100000 lies outside the range -273.17 to 327.66");
    row("text the format refuses", "devices/0/blocks/2/cps/SCPTminRnge", "\"0.0\"",
        "devices[0].blocks[2].cps.SCPTminRnge: The text '0.0' *: 2 fields are needed*");
    row("short table", "devices/0/blocks/0/cps/UCPTtransTable", "\"1 2 3\"",
        "devices[0].blocks[0].cps.UCPTtransTable: 3 fields where at least 32 are needed");
    row("unknown property", "devices/0/blocks/0/cps/SCPTnothing", "1",
        "devices[0].blocks[0].cps.SCPTnothing: unknown property type 'SCPTnothing'");
    // A property is typed by its own device's program: the same list in a device of another
    // program ID does not take the first device's types.
    row("property of another program", "devices/1",
        R"({ "name": "Other", "programId": "9000A53D0A040411", "scope": 0, "blocks": [{ "name": "b",
             "cps": { "SCPTmaxRnge": 50, "SCPTminRnge": 0, "SCPTobjMajVer": 2, "UCPThwInOptions": "0" } }] })",
        "devices[1].blocks[0].cps.UCPThwInOptions: unknown property type 'UCPThwInOptions'");
    row("unknown nv type", "devices/0/blocks/0/nvs/0/cps/SCPTnvType", "\"90 00 A5 3D 0A 04 04 10 0 7\"",
        "devices[0].blocks[0].nvs[0].value: scope 0 has no network-variable type of index 7");
    row("format of unknown type", "resourceSets/0/formats/0/type", "\"SNVT_nothing\"",
        "resourceSets[0].formats[0].type: no type 'SNVT_nothing' *");
    row("no languages", "languages", "[]", "languages: a list of languages holds at least one language");
    row("more fields than a file holds", "resourceSets/1/types/8/text/minFields", "2147483647",
        "resourceSets[1].types[8].text.minFields: a number of fields lies between 0 and 33554432 (a text of more "
        "fields does not fit in a database of 64 MiB), found 2147483647");
    row("bad format locale", "system/formatLocale", "2", "system.formatLocale: expected 0 (SI) or 1 (US), found 2");
    row("member beyond 32 bits", "resourceSets/0/types/9/members/OC_STANDBY", "1e20",
        "resourceSets[0].types[9].members.OC_STANDBY: a member's value is a whole number*");
    row("bad program ID", "devices/1/programId", "\"90-00\"",
        "devices[1].programId: a program ID is 16 hexadecimal digits, found '90-00'");
    row("scope without a resource set", "devices/0/scope", "7",
        "devices[0].scope: no resource set of scope 7 for program ID 9000A53D0A040410");
    row("large whole number", "devices/0/state", "3000000000",
        "devices[0].state: expected a whole number from -2147483648 to 2147483647, found 3000000000");

    const QString generator = QStringLiteral("devices/0/blocks/%1/nvs/0/generator");
    const QString at = QStringLiteral("devices[0].blocks[%1].nvs[0].generator");
    row("unknown generator kind", qPrintable(generator.arg(0)), R"({ "kind": "ramp", "period": 5, "amplitude": 1 })",
        at.arg(0) + ".kind: the only generator kind is \"wave\", found 'ramp'");
    row("generator without a period", qPrintable(generator.arg(0)),
        R"({ "kind": "wave", "period": 0, "amplitude": 1 })",
        at.arg(0) + ".period: a period is a number of seconds above 0");
    row("generator with negative noise", qPrintable(generator.arg(0)),
        R"({ "kind": "wave", "period": 5, "amplitude": 1, "noise": -1 })",
        at.arg(0) + ": amplitude and noise are numbers of 0 or more");
    row("generator on an enumeration", qPrintable(generator.arg(3)),
        R"({ "kind": "wave", "period": 5, "amplitude": 1 })",
        at.arg(3) + ": only a variable holding one number can have a generator; SNVT_occupancy does not");

    // A short file cannot make the loader build gigabytes: the default texts a load builds
    // are held together to what a database holds, and they are built in one piece. 14 texts
    // of 2n - 1 characters each: 67108846 characters fit, 67108874 do not.
    const QString tooMuch = QStringLiteral(
        "devices[%1].blocks[%2].cps.UCPTtransTable.value: a default text of %3 fields, with the default texts "
        "before it, holds more than 67108864 bytes, more than a database holds; give the value");
    row("a million fields", "tables", "1000000", QString());
    row("as many fields as fit", "tables", "2396745", QString());
    row("one field more", "tables", "2396746", tooMuch.arg(1).arg(0).arg(2396746));
    row("as many fields as a file holds", "tables", "33554432", tooMuch.arg(0).arg(1).arg(33554432));
    // Memory running out is a load error that says so, never a std::bad_alloc.
    row("out of memory", "tables in little memory", "20000000",
        "there is not enough memory to load the * bytes of the database");
    // Names are checked against each other without comparing every pair: 80000 entries of one
    // list load in a moment, and a name used twice is still found (the last; a duplicate
    // before it would give another message, so these rows prove that 80000 names load).
    row("long list of types", "long", "types", "resourceSets[1].types[80012].name: a second type named n17");
    row("long list of formats", "long", "formats", "resourceSets[0].formats[80022].name: a second format named n17");
    row("long list of languages", "long", "languages", "languages[80002].code: a language needs a code of its own");
    row("long list of blocks", "long", "blocks",
        "devices[1].blocks[80001].name: a block needs a name of its own in its device");
}

void TestSimFile::refused()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QString path = sim->tempPath() + QStringLiteral("/refused.json");
    const bool littleMemory = kind.endsWith(QLatin1String("little memory"));
    if (littleMemory && UnderAddressSanitizer)
        QSKIP("AddressSanitizer reserves its own address space; a limit on it proves nothing here");
    QByteArray json; // a text in memory rather than a file
    if (kind == QLatin1String("file")) {
        QVERIFY(writeFile(path, content));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
        if (!QFileInfo::exists(path))
            QSKIP("no /dev/zero here");
    } else if (kind == QLatin1String("large")) {
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(Sim::Network::MaxFileSize + 1));
    } else if (kind == QLatin1String("gone")) {
        path = sim->tempPath() + QStringLiteral("/gone/network.json");
    } else if (kind.startsWith(QLatin1String("tables"))) {
        json = tablesWithoutValue(content.toInt());
        QVERIFY(json.size() < 100000);
    } else if (kind == QLatin1String("long")) {
        json = longList(QString::fromLatin1(content));
    } else {
        json = readFile(sim->databasePath());
        path = QStringLiteral("sample.json");
        if (kind == QLatin1String("half"))
            json.truncate(json.size() / 2);
        else
            json = QJsonDocument(
                replacedAt(QJsonDocument::fromJson(json).object(), kind.split('/'), jsonOf(content)).toObject())
                       .toJson();
    }
    rlimit saved {};
    QVERIFY(::getrlimit(RLIMIT_AS, &saved) == 0);
    if (littleMemory) { // the first default text alone needs 80 MB
        QFile statm(QStringLiteral("/proc/self/statm"));
        QVERIFY(statm.open(QIODevice::ReadOnly));
        rlimit tight = saved;
        tight.rlim_cur
            = rlim_t(statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE) + (32 << 20));
        QVERIFY(::setrlimit(RLIMIT_AS, &tight) == 0);
    }
    QElapsedTimer clock;
    clock.start();
    std::shared_ptr<Sim::Network> network;
    QString message;
    try {
        network = json.isEmpty() ? Sim::Network::load(path) : Sim::Network::fromJson(json, path);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("std::bad_alloc");
    }
    ::setrlimit(RLIMIT_AS, &saved);
    QVERIFY2(clock.elapsed() < 20000 * Slowdown, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    if (expected.isEmpty()) {
        QVERIFY2(network, qPrintable(message));
        QCOMPARE(
            network->storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("UCPTtransTable")).size(),
            qsizetype(content.toInt()) * 2 - 1);
    } else {
        QVERIFY2(matches(message, path, expected), qPrintable(message));
    }
}

void TestSimFile::failedSaveKeepsWhatWasThere_data()
{
    QTest::addColumn<QString>("target"); // file, fifo, link to fifo or folder
    QTest::addColumn<int>("systemError"); // injected; -1: a file-size limit fails the write after the first bytes
    QTest::addColumn<QByteArray>("text"); // what is written; empty: a save of the network
    QTest::addColumn<QString>("expected"); // the message after "<target>: "; "*" stands for any text
    const auto row
        = [](const char *name, const char *target, int systemError, const QByteArray &text, const QString &expected) {
              QTest::newRow(name) << target << systemError << text << QStringLiteral("cannot be written: ") + expected;
          };
    row("full disk", "file", ENOSPC, {}, "the disk is full (no space left on the device)");
    row("quota", "file", EDQUOT, {}, "the disk quota is used up");
    // Qt has no words of its own for a failed flush: the system's are taken.
    row("input/output", "file", EIO, {}, qt_error_string(EIO));
    // A real refusal half-way through, for root as for anyone.
    row("file-size limit", "file", -1, {}, qt_error_string(EFBIG));
    // Indenting the text on a save makes it larger than the file it was loaded from.
    const QByteArray valid = readFile(TestSupport::SimFixture::sampleNetworkPath());
    row("over the size limit", "file", 0, valid + QByteArray(Sim::Network::MaxFileSize + 1 - valid.size(), '\n'),
        "the text to save holds 67108865 bytes; a network database holds at most 67108864 bytes (64 MiB)");
    row("a text that would not open again", "file", 0, "{\n  \"formatVersion\": 1\n}\n",
        "the saved text would not open again: (top level): missing \"resourceSets\"");
    row("not JSON", "file", 0, "{", "the saved text would not open again: line 1, column 2*");
    const QString special = QStringLiteral("it is %1, and a network database is saved only as a regular file");
    row("onto a FIFO", "fifo", 0, {}, special.arg(QStringLiteral("a FIFO (named pipe)")));
    row("onto a link to a FIFO", "link to fifo", 0, {}, special.arg(QStringLiteral("a FIFO (named pipe)")));
    row("onto a folder", "folder", 0, {}, special.arg(QStringLiteral("a folder")));
}

// The disk refuses the write, or the save would be larger than a database may be, would
// not open again, or would turn a FIFO or a folder into a regular file: what was there
// stays as it was, nothing is left beside it, and the message says why. The next save
// writes the network's text, which loads back to the same network (a renamed variable,
// the full stored precision, the format locale).
void TestSimFile::failedSaveKeepsWhatWasThere()
{
    QFETCH(QString, target);
    QFETCH(int, systemError);
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    (*sim)->block(Controller, QStringLiteral("HwInput[2]"))->NetworkVariables()->Item(1)->setName("nvoDoorContact");
    (*sim)->setStoredCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"), "-3.75");
    (*sim)->setFormatLocale(1);
    const QByteArray before = (*sim)->toJson();
    const QDir dir(sim->tempPath());
    QString path = sim->databasePath();
    const QString fifo = dir.filePath(QStringLiteral("pipe.json"));
    if (target.endsWith(QLatin1String("fifo")))
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    if (target == QLatin1String("fifo")) {
        path = fifo;
    } else if (target == QLatin1String("link to fifo")) {
        path = dir.filePath(QStringLiteral("link.json"));
        QVERIFY(QFile::link(fifo, path));
    } else if (target == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("folder.json"));
        QVERIFY(dir.mkdir(QStringLiteral("folder.json")));
    }
    // Never read what is not a regular file: a FIFO would wait for a writer.
    const QByteArray old = target == QLatin1String("file") ? readFile(path) : QByteArray();
    QVERIFY(old != before);
    struct stat status[2] = {};
    QVERIFY(::lstat(QFile::encodeName(path).constData(), &status[0]) == 0);
    const QStringList filesBefore = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (systemError > 0)
        Sim::FileTesting::failNextWrite(systemError);
    else if (systemError < 0)
        setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        if (text.isEmpty())
            (*sim)->save(path);
        else
            Sim::writeDatabaseFile(path, text);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY2(matches(message, path, expected), qPrintable(message));
    QVERIFY(::lstat(QFile::encodeName(path).constData(), &status[1]) == 0);
    QCOMPARE(status[1].st_mode, status[0].st_mode);
    QCOMPARE(status[1].st_ino, status[0].st_ino);
    QCOMPARE(target == QLatin1String("file") ? readFile(path) : QByteArray(), old);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), filesBefore);

    (*sim)->save(); // the failure was for one save only
    QCOMPARE(readFile(sim->databasePath()), before);
    QVERIFY2(sim->reload(), qPrintable(sim->errorString()));
    QCOMPARE((*sim)->formatLocale(), qint16(1));
    QCOMPARE((*sim)->toJson(), before);
    QVERIFY_THROWS_EXCEPTION(Sim::LoadError, Sim::Network::fromJson(before, QStringLiteral("memory"))->save());
}

// A symbolic link stays a link to the file that gets the new content, with its
// permissions; a hard link keeps the old content (the saved name gets a new file).
void TestSimFile::saveThroughLinks()
{
    const QDir dir(sim->tempPath());
    const QString real = dir.filePath(QStringLiteral("real.json"));
    const QString symbolic = dir.filePath(QStringLiteral("symbolic.json"));
    const QString hard = dir.filePath(QStringLiteral("hard.json"));
    const QByteArray old = readFile(sim->databasePath());
    QVERIFY(writeFile(real, old));
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(real, symbolic));
    QVERIFY(::link(QFile::encodeName(real).constData(), QFile::encodeName(hard).constData()) == 0);

    const auto network = Sim::Network::load(symbolic);
    network->setStoredCpText(
        Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"), QStringLiteral("-3.5"));
    network->save();

    QVERIFY(QFileInfo(symbolic).isSymLink());
    QCOMPARE(readFile(real), network->toJson());
    QVERIFY(readFile(real) != old);
    QCOMPARE(QFile::permissions(real),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    QCOMPARE(readFile(hard), old);
}

// The sample's room temperature waves by 1.5 K with 0.1 K of noise around 21.5 °C.
void TestSimFile::generatorMovesTheValue()
{
    const DeviceAccess::NetworkVariablePtr nv
        = (*sim)->block(Controller, QStringLiteral("HwInput[0]"))->NetworkVariables()->Item(1);
    const auto reading = [&] { return nv->ValueText().toDouble(); };
    const QByteArray saved = sim->network()->toJson();
    QCOMPARE(reading(), 21.5); // a clock nobody started stands at 0
    double seconds = 15.2; // a quarter period: the top of the wave
    sim->network()->setClock([&] { return seconds; });
    const double top = reading();
    QVERIFY2(top > 22.8 && top < 23.1, qPrintable(QString::number(top)));
    seconds = 15.9; // the same second: the same noise
    QVERIFY(qAbs(reading() - top) < 0.01);
    seconds = 45.2; // the bottom
    const double bottom = reading();
    QVERIFY2(bottom > 19.9 && bottom < 20.2, qPrintable(QString::number(bottom)));
    // Moving is reading, not writing: the database keeps the value and the generator.
    QCOMPARE(sim->network()->toJson(), saved);
}

void TestSimFile::strayCopiesRemoved_data()
{
    QTest::addColumn<QString>("suffix"); // after the database's file name
    QTest::addColumn<QByteArray>("text"); // empty: the text a save of the database writes
    QTest::addColumn<int>("age"); // seconds since it was last written
    QTest::addColumn<bool>("throughLink"); // the database is opened through a symbolic link
    QTest::addColumn<bool>("removed");
    const QByteArray saved;
    const QByteArray sample = readFile(TestSupport::SimFixture::sampleNetworkPath());
    const int old = 3600;
    QTest::newRow("left by a killed save") << ".qWzTbK" << saved << old << false << true;
    QTest::newRow("beside the file a link leads to") << ".AbCdEf" << saved << old << true << true;
    QTest::newRow("a save in progress") << ".qWzTbK" << saved << 10 << false << false;
    QTest::newRow("a name of the user's") << ".backup" << saved << old << false << false;
    QTest::newRow("capitals alone") << ".BACKUP" << saved << old << false << false;
    QTest::newRow("a digit") << ".qWz7bK" << saved << old << false << false;
    QTest::newRow("five letters") << ".qWzTb" << saved << old << false << false;
    QTest::newRow("another file's copy") << "x.qWzTbK" << saved << old << false << false;
    QTest::newRow("not a saved text") << ".qWzTbK" << QByteArray("notes\n") << old << false << false;
    QTest::newRow("a database not saved here") << ".qWzTbK" << sample << old << false << false;
}

// A save killed after its text was written beside the file but before the rename leaves a
// full copy under the file's name, a dot and six letters; the next open removes it, and
// nothing else.
void TestSimFile::strayCopiesRemoved()
{
    QFETCH(QString, suffix);
    QFETCH(QByteArray, text);
    QFETCH(int, age);
    QFETCH(bool, throughLink);
    QFETCH(bool, removed);
    const QString stray = sim->databasePath() + suffix;
    QVERIFY(writeFile(stray, text.isEmpty() ? sim->network()->toJson() : text));
    const struct timeval times[2] = { { ::time(nullptr) - age, 0 }, { ::time(nullptr) - age, 0 } };
    QVERIFY(::utimes(QFile::encodeName(stray).constData(), times) == 0);
    QString opened = sim->databasePath();
    if (throughLink) {
        QVERIFY(QDir().mkpath(sim->tempPath() + QStringLiteral("/elsewhere")));
        opened = sim->tempPath() + QStringLiteral("/elsewhere/link.json");
        QVERIFY(QFile::link(sim->databasePath(), opened));
    }
    try {
        Sim::Network::load(opened);
    } catch (const Sim::LoadError &error) {
        QFAIL(qPrintable(error.message()));
    }
    QCOMPARE(QFileInfo::exists(stray), !removed);
    QVERIFY(QFileInfo::exists(sim->databasePath()));
}

QTEST_GUILESS_MAIN(TestSimFile)
#include "tst_sim_file.moc"
