// SPDX-License-Identifier: MIT
// The database reader's own JSON document: what it reads directly must read exactly as
// Qt reads it, what it hands to Qt must be what Qt decides differently about, and the
// places it names in messages must be the paths of the values.
#include "device/sim/SimJsonDom.h"
#include "device/sim/SimNetwork.h"
#include "support/SimFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using Sim::JsonDom;

namespace {

// Compared as written text: equality of QJsonValue would take 2^63 and 2.0^63 for one number.
QByteArray written(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

class TestSimJsonText : public QObject
{
    Q_OBJECT

private slots:
    void readsAsQtDoes_data();
    void readsAsQtDoes();
    void pathsName();
    void qtDecidesTheRestOfTheDatabase_data();
    void qtDecidesTheRestOfTheDatabase();
};

void TestSimJsonText::readsAsQtDoes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("direct"); // read without Qt

    const auto row
        = [](const char *name, const QByteArray &json, bool direct) { QTest::newRow(name) << json << direct; };
    row("keys in Qt's order", R"({"b": 1, "B": 2, "a": {"z": [], "y": {}}, "ab": null, "": true})", true);
    row("whole numbers", R"({"n": [0, -0, 7, -12, 9007199254740993, 9223372036854775807, -9223372036854775808]})",
        true);
    row("beyond 64 bits", R"({"n": [9223372036854775808, -123456789012345678901234]})", true);
    row("fractions and exponents", R"({"n": [0.1, -2.5e-3, 1E5, 1e+2, 1.7976931348623157e308, -0.0]})", true);
    row("fractions that land on 64-bit integers",
        R"({"n": [2.0, 922335477203547751.79, 9007199254740993.0, -9223372036854775808.0, 9.3e18]})", true);
    row("escapes", R"({"s": "q\" b\\ s\/ \b\f\n\r\t \u00e9\u20AC\u0041"})", true);
    row("raw UTF-8", "{\"s\": \"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80\", \"\xC3\xA4\": 1}", true);
    row("escaped keys", R"({"a\nb": 1, "a\u0041": 2, "aA": 3})", false); // "aA" twice once unescaped
    row("escaped key, no repeat", R"j({"x\r\n(%S1%)": "y", "w": 0})j", true);
    row("nested", R"({"a": [[1, [2, {"b": [false, null, "c"]}]], {}], "d": {"e": {"f": {}}}})", true);
    row("spaces", " \t\r\n{ \"a\" : [ 1 , 2 ] }\n ", true);
    // Texts Qt reads differently from plain JSON, or refuses: Qt decides.
    row("byte-order mark", "\xEF\xBB\xBF{\"a\": 1}", false);
    row("number ending in a point", R"({"a": 1.})", false);
    row("control character", "{\"a\": \"x\x01y\"}", false);
    row("lone low surrogate", R"({"a": "\udc00"})", false); // has no UTF-8 form
    row("surrogate pair", R"({"a": "\ud83d\ude00"})", false);
    row("escaped zero", R"({"a": "\u0000"})", false);
    row("repeated key", R"({"a": 1, "b": 2, "a": 3})", false);
    row("key beyond the first plane", "{\"\xF0\x9F\x98\x80\": 1, \"\xEF\xBC\xA1\": 2}", false);
    row("too large", R"({"a": 1e400})", false);
    row("smallest numbers", R"({"a": 4.9e-324})", false);
    row("invalid UTF-8", "{\"a\": \"\xC0\xAF\"}", false);
    row("noncharacter", "{\"a\": \"\xEF\xBF\xBF\"}", false);
    row("trailing text", R"({"a": 1} x)", false);
    row("top-level array", R"([1])", false);
    row("leading zero", R"({"a": 01})", false);
    row("unterminated", R"({"a": "b)", false);
    row("deep", QByteArray("{\"a\":") + QByteArray(300, '[') + QByteArray(300, ']') + "}", false);
}

void TestSimJsonText::readsAsQtDoes()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, direct);
    const std::unique_ptr<JsonDom> dom = JsonDom::parse(json);
    QCOMPARE(bool(dom), direct);
    if (!dom)
        return;
    QJsonParseError error;
    const QJsonDocument qt = QJsonDocument::fromJson(json, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject ours = dom->root().toQt().toObject();
    QCOMPARE(written(ours), written(qt.object()));
    // A document Qt read walks the same way.
    QCOMPARE(written(JsonDom::fromQt(qt.object())->root().toQt().toObject()), written(qt.object()));
    // Members come in Qt's order, with their keys.
    const QJsonObject object = qt.object();
    QCOMPARE(dom->root().size(), int(object.size()));
    int i = 0;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it, ++i)
        QCOMPARE(dom->root().at(i).key(), it.key());
}

void TestSimJsonText::pathsName()
{
    const QByteArray json = R"({"devices": [{"name": "A"}, {"blocks": [{"cps": {"SCPTx": {"v": 1}}}]}]})";
    for (const auto &dom : { JsonDom::parse(json), JsonDom::fromQt(QJsonDocument::fromJson(json).object()) }) {
        QVERIFY(dom);
        const Sim::JsonRef root = dom->root();
        const Sim::JsonRef cp = root.value("devices").at(1).value("blocks").at(0).value("cps").value("SCPTx");
        QCOMPARE(root.path(), QString());
        QCOMPARE(root.value("devices").at(0).value("name").path(), QStringLiteral("devices[0].name"));
        QCOMPARE(cp.path(), QStringLiteral("devices[1].blocks[0].cps.SCPTx"));
        QCOMPARE(cp.value("value").path(), QStringLiteral("devices[1].blocks[0].cps.SCPTx.value"));
        QVERIFY(cp.value("value").isUndefined());
        QCOMPARE(cp.value("v").toDouble(), 1.0);
        QCOMPARE(root.value("devices").at(5).typeName(), QStringLiteral("nothing"));
    }
}

// A database that needs Qt's reading loads as its plain form does.
void TestSimJsonText::qtDecidesTheRestOfTheDatabase_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("comment"); // the top level's comment, as written

    QTest::newRow("plain") << QByteArray() << QByteArray(R"("caf\u00e9 \"1\"")");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") << QByteArray(R"("caf\u00e9 \"1\"")");
    QTest::newRow("surrogate pair") << QByteArray() << QByteArray(R"("caf\u00e9 \"1\" \ud83d\ude00")");
}

void TestSimJsonText::qtDecidesTheRestOfTheDatabase()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, comment);
    QFile file(TestSupport::SimFixture::sampleNetworkPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject sample = QJsonDocument::fromJson(file.readAll()).object();
    sample.remove(QStringLiteral("comment"));
    const QByteArray rest = QJsonDocument(sample).toJson();
    QJsonObject plain = sample;
    plain.insert(QStringLiteral("comment"), QJsonDocument::fromJson("[" + comment + "]").array().at(0));
    const QByteArray expected
        = Sim::Network::fromJson(QJsonDocument(plain).toJson(), QStringLiteral("plain"))->toJson();

    const QByteArray text = prefix + "{\"comment\": " + comment + "," + rest.mid(rest.indexOf('{') + 1);
    QCOMPARE(Sim::Network::fromJson(text, QStringLiteral("text"))->toJson(), expected);
}

QTEST_GUILESS_MAIN(TestSimJsonText)
#include "tst_sim_json_text.moc"
