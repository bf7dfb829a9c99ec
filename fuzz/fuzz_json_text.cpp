// SPDX-License-Identifier: MIT
// Fuzzes the database reader's own JSON document against Qt's reading: a text it reads
// directly must be one Qt reads to the same object (numbers, strings, key order), and
// a document Qt read must walk back to the same object.
#include "device/sim/SimJsonDom.h"

#include <QJsonDocument>
#include <cstdint>
#include <cstdlib>

namespace {

// Written and read again by Qt, so that key order is the reader's: an object rebuilt by
// insertion orders keys beyond the first plane of Unicode differently.
QByteArray written(const QJsonObject &object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return QJsonDocument::fromJson(text).toJson(QJsonDocument::Compact);
}

// Every value's path is asked for, as an error message would.
void walk(const Sim::JsonRef &value)
{
    (void)value.path();
    for (int i = 0; i < value.size(); ++i)
        walk(value.at(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonParseError error;
    const QJsonDocument qt = QJsonDocument::fromJson(json, &error);
    const bool qtReadsAnObject = error.error == QJsonParseError::NoError && qt.isObject();
    if (const std::unique_ptr<Sim::JsonDom> dom = Sim::JsonDom::parse(json)) {
        if (!qtReadsAnObject || written(dom->root().toQt().toObject()) != written(qt.object()))
            std::abort();
        walk(dom->root());
    }
    if (qtReadsAnObject) {
        const std::unique_ptr<Sim::JsonDom> imported = Sim::JsonDom::fromQt(qt.object());
        if (written(imported->root().toQt().toObject()) != written(qt.object()))
            std::abort();
        walk(imported->root());
    }
    return 0;
}
