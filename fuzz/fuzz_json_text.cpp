// SPDX-License-Identifier: MIT
// Fuzzes the database reader's JSON (simdjson, strict JSON) against Qt's reader. On a
// text both take, the reader takes the same keys, strings and numbers in the same order
// (members compared in key order, as Qt keeps them); an object whose key repeats is one
// the reader refuses. A text only one of them takes is refused by the other: by the
// reader with its line, column and a reason; of the texts Qt refuses, the reader takes
// only numbers Qt's double cannot hold.
#include "device/sim/SimJsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// What the reader takes: every key, string and number in order; false at a repeated key.
bool same(const Sim::JsonRef &ours, const QJsonValue &qt)
{
    if (ours.isObject()) {
        if (!qt.isObject())
            return false;
        std::vector<Sim::JsonRef> members;
        ours.forEach([&](const Sim::JsonRef &member) { members.push_back(member); });
        std::stable_sort(members.begin(), members.end(),
            [](const Sim::JsonRef &a, const Sim::JsonRef &b) { return a.keyBytes() < b.keyBytes(); });
        for (size_t i = 1; i < members.size(); ++i) {
            if (members[i].keyBytes() == members[i - 1].keyBytes())
                std::abort(); // the caller checks repeated keys first
        }
        const QJsonObject object = qt.toObject();
        if (size_t(object.size()) != members.size())
            return false;
        size_t i = 0;
        for (auto it = object.constBegin(); it != object.constEnd(); ++it, ++i) {
            if (members[i].key() != it.key() || !same(members[i], it.value()))
                return false;
        }
        return true;
    }
    if (ours.isArray()) {
        const QJsonArray array = qt.toArray();
        if (!qt.isArray() || size_t(array.size()) != ours.size())
            return false;
        bool equal = true;
        qsizetype i = 0;
        ours.forEach([&](const Sim::JsonRef &element) { equal = equal && same(element, array.at(i++)); });
        return equal;
    }
    if (ours.isString())
        return qt.isString() && ours.toString() == qt.toString();
    if (ours.isDouble())
        return qt.isDouble() && ours.toDouble() == qt.toDouble();
    if (ours.isBool())
        return qt.isBool() && ours.toBool() == qt.toBool();
    return ours.isNull() && qt.isNull();
}

// True when some object of the value repeats a key.
bool repeatsAKey(const Sim::JsonRef &value)
{
    bool repeats = false;
    if (value.isObject()) {
        std::vector<std::string_view> keys;
        value.forEach([&](const Sim::JsonRef &member) { keys.push_back(member.keyBytes()); });
        std::sort(keys.begin(), keys.end());
        repeats = std::adjacent_find(keys.begin(), keys.end()) != keys.end();
    }
    value.forEach([&](const Sim::JsonRef &inner) { repeats = repeats || repeatsAKey(inner); });
    return repeats;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonParseError error;
    const QJsonDocument qt = QJsonDocument::fromJson(json, &error);
    const bool qtTakes = error.error == QJsonParseError::NoError && qt.isObject();
    static const QRegularExpression placed(
        QStringLiteral("^fuzz: (line \\d+, column \\d+ \\(offset \\d+\\)|\\(top level\\)|"
                       "the file is UTF-)[^\\n]*: \\S"));
    try {
        const Sim::JsonText text(json, QStringLiteral("fuzz"));
        // Qt's reader refuses a number its double cannot hold (4.9e-325, which strict JSON
        // allows and the reader takes as 0); any other text it refuses is not strict JSON.
        if (!qtTakes && error.error != QJsonParseError::IllegalNumber)
            std::abort();
        if (!qtTakes)
            return 0;
        if (repeatsAKey(text.root())) {
            // The reader refuses the object, naming the key's line.
            try {
                Sim::Reader(text, QStringLiteral("fuzz")).keptAsRead(text.root());
            } catch (const Sim::LoadError &refusal) {
                if (!refusal.message().contains(QLatin1String("appears twice")))
                    std::abort();
                return 0;
            }
            std::abort();
        }
        if (!same(text.root(), qt.object()))
            std::abort();
        (void)text.root().pathFrom(text.root());
    } catch (const Sim::LoadError &refusal) {
        if (!placed.match(refusal.message()).hasMatch())
            std::abort();
    }
    return 0;
}
