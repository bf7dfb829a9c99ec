// SPDX-License-Identifier: MIT
// The database reader's JSON: a strict JSON text reads exactly as Qt reads it, a text
// that is not strict JSON is refused with its line, column and what was expected. (The
// paths that messages name are those of tst_sim_file's and tst_sim_malformed's refusals.)
#include "device/sim/SimJsonReader.h"
#include "device/sim/SimNetwork.h"
#include "support/SimJsonEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using Sim::JsonRef;
using Sim::JsonText;

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
};

void TestSimJsonText::readsAsQtDoes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("refusal"); // empty: read as Qt reads it; "*" stands for any text

    const auto row = [](const char *name, const QByteArray &json, const QString &refusal = QString()) {
        QTest::newRow(name) << json << refusal;
    };
    row("keys in any order", R"({"b": 1, "B": 2, "a": {"z": [], "y": {}}, "ab": null, "": true})");
    row("whole numbers", R"({"n": [0, -0, 7, -12, 9007199254740993, 9223372036854775807, -9223372036854775808]})");
    row("beyond 63 bits", R"({"n": [9223372036854775808, 18446744073709551615]})");
    row("fractions and exponents", R"({"n": [0.1, -2.5e-3, 1E5, 1e+2, 1.7976931348623157e308, -0.0, 4.9e-324]})");
    row("fractions that land on 64-bit integers",
        R"({"n": [2.0, 922335477203547751.79, 9007199254740993.0, -9223372036854775808.0, 9.3e18]})");
    row("escapes", R"({"s": "q\" b\\ s\/ \b\f\n\r\t \u00e9\u20AC\u0041 \ud83d\ude00"})");
    row("raw UTF-8", "{\"s\": \"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80\", \"\xC3\xA4\": 1}");
    row("escaped keys", R"j({"x\r\n(%S1%)": "y", "w": 0, "\u00e4": 1})j");
    row("key beyond the first plane", "{\"\xF0\x9F\x98\x80\": 1, \"\xEF\xBC\xA1\": 2}");
    row("nested", R"({"a": [[1, [2, {"b": [false, null, "c"]}]], {}], "d": {"e": {"f": {}}}})");
    row("spaces", " \t\r\n{ \"a\" : [ 1 , 2 ] }\n ");
    row("byte-order mark, which a reader may skip", "\xEF\xBB\xBF{\"a\": 1}");
    // Not strict JSON, though Qt's reader takes some of it: refused, naming the place.
    row("number ending in a point", "{\"a\":\n 1.}", "line 2, column 2 (offset 7): expected a number*");
    row("leading zero", R"({"a": 01})", "line 1, column 7 (offset 6): expected a number*");
    row("too large", R"({"a": 1e400})", "line 1, column 7 (offset 6): expected a number*");
    row("whole number beyond 64 bits", R"({"a": -123456789012345678901234})", "line 1, column 7 *: expected a number*");
    row("control character", "{\"a\": \"x\x01y\"}", "line 1, column 9 (offset 8): a control character in a string*");
    row("lone low surrogate", "{\n\"a\": \"\\udc00\"}", "line 2, column 6 (offset 7): expected a string with valid*");
    row("invalid UTF-8", "{\"a\": \"\xC0\xAF\"}", "line 1, column 8 (offset 7): a byte that begins no UTF-8*");
    row("trailing text", "{\"a\": 1}\nx", "line 2, column 1 (offset 9): expected a value*");
    row("trailing comma", R"({"a": 1,})", "line 1, column * (offset *): expected a value*");
    row("misspelt null", R"({"a": [1, nul]})", "line 1, column 11 (offset 10): expected null");
    row("unterminated", R"({"a": "b)", "line 1, column 7 (offset 6): a string that is never closed*");
    row("truncated", R"({"a": [1, 2)", "line 1, column * (offset *): expected a value*");
    row("top-level array", R"([1])", "(top level): expected an object, found an array");
    row("deep", QByteArray("{\"a\":") + QByteArray(1100, '[') + QByteArray(1100, ']') + "}",
        "line 1, column * (offset *): values nested deeper than 1024 levels");
    row("nothing", "  ", "line 1, column 3 (offset 2): expected an object, found no text");
}

void TestSimJsonText::readsAsQtDoes()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, refusal);
    try {
        const JsonText text(json, QStringLiteral("t.json"));
        QVERIFY2(refusal.isEmpty(), "taken, but not strict JSON");
        QJsonParseError error;
        const QJsonDocument qt = QJsonDocument::fromJson(json, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(written(text.root().toQt().toObject()), written(qt.object()));
        // Members come in the text's order, with their keys.
        QStringList keys;
        text.root().forEach([&](const JsonRef &member) { keys << member.key(); });
        QStringList qtKeys = qt.object().keys();
        keys.sort();
        qtKeys.sort();
        QCOMPARE(keys, qtKeys);
    } catch (const Sim::LoadError &error) {
        QVERIFY2(!refusal.isEmpty() && TestSupport::messageMatches(error.message(), "t.json", refusal),
            qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestSimJsonText)
#include "tst_sim_json_text.moc"
