// SPDX-License-Identifier: MIT
// Fuzzes the message builder. The input is a template and up to three parameters,
// separated by NUL bytes. Building never blocks (the message box answers at once), only
// the builder's own two boxes may show, and without parameters the template comes back
// as it is.
#include "shared/Seams.h"
#include "shared/Strings.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdlib>

namespace {

int boxes = 0;

int answerAtOnce(const QString &, int style, const QString &title)
{
    if (style != MKorvane::vbCritical
        || (title != QLatin1String("Messages GetStrings") && title != QLatin1String("GetIndexOrder")))
        std::abort();
    ++boxes;
    return MKorvane::vbOK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool installed = [] {
        MKorvane::setMessageBoxHandler(&answerAtOnce);
        return true;
    }();
    Q_UNUSED(installed)

    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const QString message = QString::fromUtf8(parts.first());
    QVariantList params;
    for (qsizetype i = 1; i < parts.size() && params.size() < 3; ++i)
        params.append(QString::fromUtf8(parts.at(i)));

    boxes = 0;
    const QString result = MKorvane::GetStrings(message, params);
    if (params.isEmpty() && (result != message || boxes != 0))
        std::abort();
    // One box for the builder, at most one more for the placeholder number that broke it.
    if (boxes > 2)
        std::abort();
    return 0;
}
