// SPDX-License-Identifier: MIT
// Malformed databases made from the sample network: each value in turn becomes a value
// of another JSON type or null. Each is refused with a message naming the file and a place
// near the change, or loads, saves, loads again and saves the same text; no load passes a
// bound only a hang would pass. A value is tried once per shape of its path and JSON type
// ("devices[].blocks[].cps.SCPTmaxRnge" as a number at its first occurrence only); map keys
// (properties, members, strings) are part of the shape. Keys the sample lacks are added.
#include "support/SimJsonEdit.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

using TestSupport::replacedAt;

// A hang guard: the sample loads in milliseconds, some four times slower under AddressSanitizer.
constexpr qint64 BoundMs = 5000;

// A comment on every kind of object, the locale, a property's object form, a variable's type.
const char *const Commented[] = { "", "system", "catalog", "devices/0", "devices/0/blocks/0", "devices/0/blocks/0/cps",
    "devices/0/blocks/0/nvs/0", "devices/0/blocks/0/nvs/0/generator", "resourceSets/0/formats/0",
    "resourceSets/0/unitTexts", "resourceSets/1/types/0/members", "languages/0", "languages/1/strings" };
const QList<QPair<QString, QJsonValue>> Extras = { { "system/formatLocale", 1 },
    { "devices/0/blocks/0/cps/UCPTlowLimit", QJsonObject { { "type", "SNVT_temp_p" }, { "value", -10 } } },
    { "devices/0/blocks/0/nvs/1", QJsonObject { { "name", "nvoExtra" }, { "type", "SNVT_temp_p" } } } };

QByteArray textOf(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray { value }).toJson(); // "[\n", the value, "\n]\n"
    return list.mid(1, list.size() - 3);
}

// The path of the value after the first `count` steps, as the loader's messages write it.
QString pathOf(QJsonValue value, const QStringList &steps, qsizetype count)
{
    QString path;
    for (qsizetype i = 0; i < count; ++i) {
        const bool inList = value.isArray();
        path += inList ? QLatin1Char('[') + steps.at(i) + QLatin1Char(']')
                       : (path.isEmpty() ? QString() : QStringLiteral(".")) + steps.at(i);
        value = inList ? value.toArray().at(steps.at(i).toInt()) : value.toObject().value(steps.at(i));
    }
    return path;
}

QJsonValue base()
{
    QJsonValue root = TestSupport::sampleJson();
    for (const char *object : Commented)
        root = replacedAt(root, QString::fromLatin1(object).split('/', Qt::SkipEmptyParts) << "comment", "c");
    for (const auto &extra : Extras)
        root = replacedAt(root, extra.first.split('/'), extra.second);
    return root;
}

const char *typeName(const QJsonValue &value)
{
    static const char *const names[] = { "null", "a Boolean", "a number", "a string", "a list", "an object" };
    return names[qBound(0, int(value.type()), 5)];
}

QList<QJsonValue> wrongValues(const QJsonValue &value)
{
    const QHash<int, QList<QJsonValue>> wrong = { { QJsonValue::String, { 1, QJsonObject() } },
        { QJsonValue::Double, { QString::number(value.toDouble()), QJsonArray { value } } },
        { QJsonValue::Bool, { 1 } }, { QJsonValue::Array, { QJsonObject(), 1 } },
        { QJsonValue::Object, { QJsonArray(), QString() } } };
    return wrong.value(value.type()) << QJsonValue::Null;
}

// Calls `visit` on every value with its steps and the shape of its path.
void walk(const QJsonValue &value, const QStringList &steps, const QString &shape,
    const std::function<void(const QJsonValue &, const QStringList &, const QString &)> &visit)
{
    visit(value, steps, shape);
    const QJsonObject object = value.toObject();
    for (qsizetype i = 0; i < value.toArray().size(); ++i)
        walk(value.toArray().at(i), steps + QStringList { QString::number(i) }, shape + "[]", visit);
    for (auto it = object.begin(); it != object.end(); ++it)
        walk(it.value(), steps + QStringList { it.key() }, shape + '.' + it.key(), visit);
}

} // namespace

class TestSimMalformed : public QObject
{
    Q_OBJECT

private slots:
    void loadsOrRefuses_data();
    void loadsOrRefuses();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    int m_tried = 0, m_refused = 0, m_resaved = 0, m_overBound = 0;
};

void TestSimMalformed::loadsOrRefuses_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QJsonValue>("replacement");
    const QJsonValue root = base();
    QVERIFY_THROWS_NO_EXCEPTION(Sim::Network::fromJson(textOf(root), QStringLiteral("base"))); // a good start
    QHash<QString, int> shapes;
    walk(root, {}, QString(), [&](const QJsonValue &value, const QStringList &steps, const QString &shape) {
        if (shapes[shape + ' ' + typeName(value)]++)
            return;
        const QString path = steps.isEmpty() ? QStringLiteral("(top level)") : pathOf(root, steps, steps.size());
        for (const QJsonValue &wrong : wrongValues(value))
            QTest::addRow("%s: %s as %s", qPrintable(QString(path).replace('\r', "\\r").replace('\n', "\\n")),
                typeName(value), typeName(wrong))
                << steps << wrong;
    });
}

void TestSimMalformed::loadsOrRefuses()
{
    QFETCH(QStringList, steps);
    QFETCH(QJsonValue, replacement);
    const QJsonValue root = replacedAt(base(), steps, replacement);
    const QString path = m_dir.filePath(QStringLiteral("variant.json")), first = path + ".1", second = path + ".2";
    QVERIFY(TestSupport::writeFile(path, textOf(root)));
    ++m_tried;
    QElapsedTimer clock;
    const auto inTime = [&] { return clock.elapsed() <= BoundMs || (++m_overBound, false); };
    std::shared_ptr<Sim::Network> network;
    QString message;
    clock.start();
    try {
        network = Sim::Network::load(path);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    }
    QVERIFY2(inTime(), qPrintable(QStringLiteral("the load took %1 ms").arg(clock.elapsed())));
    if (!network) {
        // A line and column, a value that holds the change, or one in the object around its own.
        const QString prefix = path + QStringLiteral(": ");
        const qsizetype near = qMax(qsizetype(0), steps.size() - 2);
        bool named = message.mid(prefix.size()).contains(QRegularExpression(QStringLiteral("^line \\d+, column \\d+ ")))
            || (near == 0 && message.indexOf(QLatin1String(": "), prefix.size()) > prefix.size());
        for (qsizetype k = 0; k <= steps.size(); ++k) {
            const QString place = k ? pathOf(root, steps, k) : QStringLiteral("(top level)");
            const QString rest = message.mid(prefix.size() + place.size());
            named = named
                || (message.startsWith(prefix + place)
                    && (rest.startsWith(QLatin1String(": "))
                        || (k >= near && (rest.startsWith('.') || rest.startsWith('[')))));
        }
        QVERIFY2(named && !message.endsWith(QLatin1String(": ")), qPrintable(message));
        ++m_refused;
        return;
    }
    try {
        network->save(first);
        clock.start();
        Sim::Network::load(first)->save(second);
    } catch (const Sim::LoadError &error) {
        QFAIL(qPrintable(QStringLiteral("taken, but: ") + error.message()));
    }
    QVERIFY2(inTime(), qPrintable(QStringLiteral("the reload took %1 ms").arg(clock.elapsed())));
    QCOMPARE(TestSupport::readFile(second), TestSupport::readFile(first)); // the saved texts, byte for byte
    ++m_resaved;
}

void TestSimMalformed::cleanupTestCase()
{
    qInfo("malformed databases: %d tried, %d refused with a message, %d accepted and re-saved, %d over %lld ms",
        m_tried, m_refused, m_resaved, m_overBound, BoundMs);
}

QTEST_GUILESS_MAIN(TestSimMalformed)
#include "tst_sim_malformed.moc"
