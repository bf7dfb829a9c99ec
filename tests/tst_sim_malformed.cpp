// SPDX-License-Identifier: MIT
// Malformed databases made from the sample network: every value of the file, one at a
// time, takes a value of another JSON type (a string becomes a number and an object, a
// number a string and a list, a Boolean a number, a list an object and a number, an
// object a list and a string, and each of them null). Each file is either refused with a
// message that names the file and a place that exists in it, or it loads, saves, loads
// again and saves the same text. No load may take longer than a bound that only a hang
// or runaway work exceeds.
//
// To keep the count near a thousand, a value is taken once per shape of its path and
// JSON type: "devices[].blocks[].cps.SCPTmaxRnge" as a number is tried at its first
// occurrence only, as a string at its first occurrence as a string. Keys of the maps
// (properties, members, display strings) are part of the shape, so each one is tried.
// The documented keys the sample leaves out are added first (Extras below).
#include "support/SimFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

// A hang guard rather than a timing check: the sample loads in milliseconds, and
// AddressSanitizer makes it some four times slower.
constexpr qint64 BoundMs = 5000;

// Documented keys the sample leaves out, added to it: a comment on every kind of object,
// the format locale, a property in the { "type", "value" } form and a variable with a type.
const char *const Commented[] = { "", "system", "catalog", "devices/0", "devices/0/blocks/0", "devices/0/blocks/0/cps",
    "devices/0/blocks/0/nvs/0", "devices/0/blocks/0/nvs/0/generator", "resourceSets/0/formats/0",
    "resourceSets/0/unitTexts", "resourceSets/1/types/0/members", "languages/0", "languages/1/strings" };
const char *const Extras[][2] = { { "system/formatLocale", "1" },
    { "devices/0/blocks/0/cps/UCPTlowLimit", R"({ "type": "SNVT_temp_p", "value": -10 })" },
    { "devices/0/blocks/0/nvs/1", R"({ "name": "nvoExtra", "type": "SNVT_temp_p", "value": 20 })" } };

QJsonValue parsedValue(const QByteArray &text)
{
    return QJsonDocument::fromJson("[" + text + "]").array().at(0);
}

QByteArray textOf(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

// The value with the one at `steps` (from `from` on) replaced; an empty path replaces it all.
QJsonValue replaced(const QJsonValue &value, const QStringList &steps, int from, const QJsonValue &replacement)
{
    if (from == steps.size())
        return replacement;
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        const int at = steps.at(from).toInt();
        const QJsonValue inner
            = replaced(at < array.size() ? array.at(at) : QJsonValue(), steps, from + 1, replacement);
        if (at < array.size())
            array[at] = inner;
        else
            array.append(inner);
        return array;
    }
    QJsonObject object = value.toObject();
    object[steps.at(from)] = replaced(object.value(steps.at(from)), steps, from + 1, replacement);
    return object;
}

QByteArray documentText(const QJsonValue &root)
{
    return root.isObject() ? QJsonDocument(root.toObject()).toJson() : textOf(root);
}

QJsonValue base()
{
    QFile file(TestSupport::SimFixture::sampleNetworkPath());
    QJsonValue root = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    for (const char *object : Commented)
        root = replaced(root, QString::fromLatin1(object).split('/', Qt::SkipEmptyParts) << "comment", 0, "c");
    for (const auto &extra : Extras)
        root = replaced(root, QString::fromLatin1(extra[0]).split('/'), 0, parsedValue(extra[1]));
    return root;
}

const char *typeName(const QJsonValue &value)
{
    static const char *const names[] = { "null", "a Boolean", "a number", "a string", "a list", "an object" };
    return names[qBound(0, int(value.type()), 5)];
}

// What takes the place of a value: values of every other JSON type the list above names.
QList<QJsonValue> wrongValues(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return { 1, QJsonObject(), QJsonValue::Null };
    case QJsonValue::Double:
        return { QString::number(value.toDouble()), QJsonArray { value }, QJsonValue::Null };
    case QJsonValue::Bool:
        return { 1, QJsonValue::Null };
    case QJsonValue::Array:
        return { QJsonObject(), 1, QJsonValue::Null };
    case QJsonValue::Object:
        return { QJsonArray(), QString(), QJsonValue::Null };
    default:
        return {};
    }
}

// Calls `visit` on every value with its steps, its path as the loader writes it, and its shape.
using Visit = std::function<void(const QJsonValue &, const QStringList &, const QString &, const QString &)>;
void walk(
    const QJsonValue &value, const QStringList &steps, const QString &path, const QString &shape, const Visit &visit)
{
    visit(value, steps, path, shape);
    const QString dot = path.isEmpty() ? QString() : QStringLiteral(".");
    if (value.isArray()) {
        for (int i = 0; i < value.toArray().size(); ++i)
            walk(value.toArray().at(i), steps + QStringList { QString::number(i) },
                path + QStringLiteral("[%1]").arg(i), shape + QStringLiteral("[]"), visit);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            walk(it.value(), steps + QStringList { it.key() }, path + dot + it.key(),
                shape + QLatin1Char('.') + it.key(), visit);
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSimMalformed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsOrRefuses_data();
    void loadsOrRefuses();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    int m_tried = 0, m_refused = 0, m_resaved = 0, m_overBound = 0;
};

void TestSimMalformed::initTestCase()
{
    QVERIFY(m_dir.isValid());
    try { // the file the variants start from is a good one
        Sim::Network::fromJson(documentText(base()), QStringLiteral("base"));
    } catch (const Sim::LoadError &error) {
        QFAIL(qPrintable(error.message()));
    }
}

void TestSimMalformed::loadsOrRefuses_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("replacement");
    QSet<QString> shapes;
    walk(base(), {}, QString(), QString(),
        [&](const QJsonValue &value, const QStringList &steps, const QString &path, const QString &shape) {
            const qsizetype known = shapes.size();
            if (shapes.insert(shape + QLatin1Char(' ') + QLatin1String(typeName(value))), shapes.size() == known)
                return;
            for (const QJsonValue &wrong : wrongValues(value))
                QTest::addRow("%s: %s as %s",
                    path.isEmpty() ? "(top level)"
                                   : qPrintable(QString(path).replace('\r', "\\r").replace('\n', "\\n")),
                    typeName(value), typeName(wrong))
                    << steps << textOf(wrong);
        });
}

// Refused with the file and a place in it, or loaded, saved and saved again the same.
void TestSimMalformed::loadsOrRefuses()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, replacement);
    const QJsonValue root = replaced(base(), steps, 0, parsedValue(replacement));
    const QString path = m_dir.filePath(QStringLiteral("variant.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(documentText(root)) > 0);
    file.close();
    ++m_tried;
    QElapsedTimer clock;
    clock.start();
    std::shared_ptr<Sim::Network> network;
    QString message;
    try {
        network = Sim::Network::load(path);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    }
    const qint64 elapsed = clock.elapsed();
    m_overBound += elapsed > BoundMs;
    QVERIFY2(elapsed <= BoundMs, qPrintable(QStringLiteral("the load took %1 ms").arg(elapsed)));
    if (!network) {
        // The place is a value of the file, a key missing from an object of it, or a line and column.
        const QString prefix = path + QStringLiteral(": ");
        bool named = QRegularExpression(QStringLiteral("^line \\d+, column \\d+ .*: ."))
                         .match(message.mid(prefix.size()))
                         .hasMatch();
        walk(root, {}, QString(), QString(), [&](const QJsonValue &, const QStringList &, QString at, const QString &) {
            at = at.isEmpty() ? QStringLiteral("(top level)") : at;
            if (!message.startsWith(prefix + at))
                return;
            const QString rest = message.mid(prefix.size() + at.size());
            const qsizetype end = rest.indexOf(QLatin1String(": "));
            named = named
                || (end >= 0 && rest.size() > end + 2
                    && (end == 0 || (rest.startsWith('.') && !rest.left(end).contains('['))));
        });
        QVERIFY2(message.startsWith(prefix) && named, qPrintable(message));
        ++m_refused;
        return;
    }
    const QString first = m_dir.filePath(QStringLiteral("first.json"));
    const QString second = m_dir.filePath(QStringLiteral("second.json"));
    try {
        network->save(first);
        clock.start();
        Sim::Network::load(first)->save(second);
    } catch (const Sim::LoadError &error) {
        QFAIL(qPrintable(QStringLiteral("taken, but: ") + error.message()));
    }
    m_overBound += clock.elapsed() > BoundMs;
    QVERIFY2(clock.elapsed() <= BoundMs, qPrintable(QStringLiteral("the reload took %1 ms").arg(clock.elapsed())));
    QVERIFY(!readAll(first).isEmpty());
    QCOMPARE(readAll(second), readAll(first));
    ++m_resaved;
}

void TestSimMalformed::cleanupTestCase()
{
    qInfo("malformed databases: %d tried, %d refused with a message, %d accepted and re-saved, %d over the "
          "%lld ms bound",
        m_tried, m_refused, m_resaved, m_overBound, BoundMs);
}

QTEST_GUILESS_MAIN(TestSimMalformed)
#include "tst_sim_malformed.moc"
